#include "scene/CSceneHooks.h"

#include "creatures/CFly.h"
#include "creatures/CFrog.h"
#include "ui/CPaneOverlay.h"

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
    m_previousFrogServices = CFrogServices::Install(&m_services);
    m_previousSpring = CLayer::SetSpringSource(&CFrog::SpringOfFrog);
    m_previousShadow = CLayerBoard::SetShadowDrawer(&CFrog::DrawShadowOfFrog);
    m_previousFlyLoader = CLayerBoard::SetFlyLoader(&CFly::LoadOnBoard);
    m_previousPaneOpener = CLayerSmallFront::SetPaneOpener(&CPaneOverlay::OpenWithCallback);
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
    if (&CFrogServices::Get() == &m_services)
        CFrogServices::Install(m_previousFrogServices);
    const CLayer::SpringSource spring = CLayer::SetSpringSource(m_previousSpring);
    if (spring != &CFrog::SpringOfFrog)
        CLayer::SetSpringSource(spring);
    const CLayerBoard::ShadowDrawer shadow = CLayerBoard::SetShadowDrawer(m_previousShadow);
    if (shadow != &CFrog::DrawShadowOfFrog)
        CLayerBoard::SetShadowDrawer(shadow);
    const CLayerBoard::FlyLoader flyLoader = CLayerBoard::SetFlyLoader(m_previousFlyLoader);
    if (flyLoader != &CFly::LoadOnBoard)
        CLayerBoard::SetFlyLoader(flyLoader);
    const CLayerSmallFront::PaneOpener opener = CLayerSmallFront::SetPaneOpener(m_previousPaneOpener);
    if (opener != &CPaneOverlay::OpenWithCallback)
        CLayerSmallFront::SetPaneOpener(opener);
}
