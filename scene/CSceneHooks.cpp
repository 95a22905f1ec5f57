#include "scene/CSceneHooks.h"

// Before CStartup (100), which enters the front end.
REGISTER_SINGLETON(CSceneHooks, "global", 60);

void CSceneHooks::Init()
{
    if (m_installed)
        return;
    CModeFrontEnd::MenuHooks hooks;
    hooks.makePond = &CScenePlayServices::MakePond;
    hooks.playMusic = &CScenePlayServices::PlayMusicOf;
    m_previousMenuHooks = CModeFrontEnd::SetMenuHooks(hooks);
    m_previousServices = CPlayServices::Install(&m_services);
    m_installed = true;
}

CSceneHooks::~CSceneHooks()
{
    if (!m_installed)
        return;
    CModeFrontEnd::SetMenuHooks(m_previousMenuHooks);
    // Only while still installed: whoever replaced the services owns putting them back.
    if (&CPlayServices::Get() == &m_services)
        CPlayServices::Install(m_previousServices);
}
