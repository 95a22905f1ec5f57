#include "platform/CModeFrontEnd.h"

#include "platform/CControls.h"
#include "platform/CGame.h"
#include "platform/InputEvent.h"
#include "platform/PlatformHooks.h"

#include <cstring>
#include <utility>

namespace
{
CModeFrontEnd::MenuHooks s_menuHooks;

CRef<CMode> MakeFrontEnd(const char* name)
{
    const CString lower = CString::ToLower(name);
    return MakeRef<CModeFrontEnd>(lower.c_str());
}

const bool s_registered = (CMode::RegisterFactory("FrontEnd", &MakeFrontEnd), true);

void PostToScope(uint32_t scopeId, const char* command)
{
    if (CGame* game = CGame::Peek())
        game->GetScope(scopeId).GetControls().PostCommand(command);
}
} // namespace

CModeFrontEnd::CModeFrontEnd(const char* name) : CMode(name)
{
    Register("frontend", "frontend");
}

CModeFrontEnd::MenuHooks CModeFrontEnd::SetMenuHooks(const MenuHooks& hooks)
{
    return std::exchange(s_menuHooks, hooks);
}

void CModeFrontEnd::Activate()
{
    m_active = true;
    PlatformHooks::SetFrameMark();
    MakeMenuPond();
    PostToScope(GetScopeId(), "_activate");
    if (m_menuPond && s_menuHooks.playMusic)
        s_menuHooks.playMusic(m_menuPond.Get());
}

void CModeFrontEnd::Deactivate()
{
    PostToScope(GetScopeId(), "_deactivate");
    if (s_menuHooks.playMusic)
        s_menuHooks.playMusic(nullptr);
    m_active = false;
}

bool CModeFrontEnd::OnMessage(const InputEvent& event)
{
    if (strcmp(event.name, "refresh") == 0 && m_menuPond)
    {
        m_menuPond.Reset();
        if (m_active)
            MakeMenuPond();
    }
    return false;
}

void CModeFrontEnd::MakeMenuPond()
{
    if (!m_menuPond && s_menuHooks.makePond)
        m_menuPond = s_menuHooks.makePond("menu");
}
