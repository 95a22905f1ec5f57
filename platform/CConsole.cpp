#include "platform/CConsole.h"

#include "Graphics/CFoundry.h"
#include "core/CRule.h"
#include "core/Vector4.h"
#include "platform/CView.h"
#include "platform/InputEvent.h"

REGISTER_SINGLETON(CConsole, "hanging", 50);

namespace
{
CRule<CString> s_fontFace("default/fontface");
constexpr const char* kScope = "global";
constexpr const char* kName = "console";
constexpr uint32_t kReturn = 13;
} // namespace

CConsole::~CConsole()
{
    CControl::Unregister();
    if (CDrawing::IsRegistered())
        CDrawing::Unregister(kScope, kName);
}

void CConsole::Toggle()
{
    m_visible = !m_visible;
    if (m_visible)
    {
        CControl::Register(kScope, kName);
        CDrawing::Register(kScope, kName);
    }
    else
    {
        CControl::Unregister();
        CDrawing::Unregister(kScope, kName);
    }
}

bool CConsole::OnKey(const InputEvent& event)
{
    const uint32_t key = event.key;
    const char c = char(key & 0xFF);
    if (key != kReturn && key >= 32 && c != 0)
        m_text += c;
    return true;
}

void CConsole::Draw()
{
    if (!m_font)
        m_font = CFoundry::Instance()->GetFont(s_fontFace, 0);
    if (!m_font)
        return;
    CView pixels(CView::kPixels);
    m_font->DrawText(m_text, Vector2<float>(16.0f, 32.0f), 13.0f, Vector4<float>(0.0f, 0.0f, 0.0f, 1.0f));
}
