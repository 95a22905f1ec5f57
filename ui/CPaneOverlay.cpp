#include "ui/CPaneOverlay.h"

#include "core/CScheduler.h"
#include "platform/InputEvent.h"

#include <cstring>

// Before CStartup (100), which opens the start pane.
REGISTER_SINGLETON(CPaneOverlay, "global", 60);

namespace
{
constexpr const char* kScope = "global";
constexpr const char* kPass = "post";
constexpr const char* kGroup = "modal";
// The command that closes the pane, as it closes the screen flip's.
constexpr const char* kCloseCommand = "cancel";
} // namespace

void CPaneOverlay::Init()
{
    if (m_installed)
        return;
    CDrawing::Register(kScope, kPass);
    CControl::Register(kScope, kGroup);
    m_installed = true;
}

CPaneOverlay::~CPaneOverlay()
{
    if (!m_installed)
        return;
    CDrawing::Unregister(kScope, kPass);
    CControl::Unregister();
}

void CPaneOverlay::Open(const char* name)
{
    m_pane = CDivPane::CreateByName(name);
    m_pane->SetClock(CScheduler::ForScope(kScope));
    m_pane->SetModal(true);
    m_closing = false;
}

void CPaneOverlay::Close()
{
    if (!m_pane || m_closing)
        return;
    m_pane->Show(false);
    m_closing = true;
}

void CPaneOverlay::Draw()
{
    if (!m_pane)
        return;
    m_pane->Render();
    if (m_closing && !m_pane->IsShowing())
    {
        m_pane.Reset();
        m_closing = false;
    }
}

bool CPaneOverlay::HandleEvent(const InputEvent& event)
{
    if (!m_pane || m_closing)
        return false;
    if (event.kind == InputEvent::kCommand && std::strcmp(event.name, kCloseCommand) == 0)
    {
        Close();
        return true;
    }
    if (event.kind == InputEvent::kKeyDown || event.kind == InputEvent::kKeyUp)
        return false;
    return m_pane->HandleEvent(event);
}

void CPaneOverlay::OpenByName(const char* name)
{
    if (CPaneOverlay* overlay = Peek())
        overlay->Open(name);
}
