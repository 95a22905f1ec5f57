#pragma once
// Connects the pond scene to the layers below it for the game's whole run: the front end's menu
// pond and music, the pond and frog services of puzzle play, the frog's view of the pond, its
// lily-pad spring and its shadow on the board, and the board's fly. A member of the group
// "global", made before the start-up sequence enters the front end; what it installed is taken
// back when it ends.
#include "core/CBase.h"
#include "core/CSingleton.h"
#include "platform/CModeFrontEnd.h"
#include "scene/CLayer.h"
#include "scene/CLayerBoard.h"
#include "scene/CLayerSmallFront.h"
#include "scene/CSceneFrogServices.h"

class CPlayServices;

class CSceneHooks : public CBase, public CSingleton<CSceneHooks>
{
  public:
    void Init() override;
    ~CSceneHooks() override;

  private:
    friend class CSingleton<CSceneHooks>;
    CSceneHooks() = default;

    CSceneFrogServices m_services;
    CModeFrontEnd::MenuHooks m_previousMenuHooks;
    CPlayServices* m_previousServices = nullptr;
    CFrogServices* m_previousFrogServices = nullptr;
    CLayer::SpringSource m_previousSpring = nullptr;
    CLayerBoard::ShadowDrawer m_previousShadow = nullptr;
    CLayerBoard::FlyLoader m_previousFlyLoader = nullptr;
    CLayerSmallFront::PaneOpener m_previousPaneOpener = nullptr;
    bool m_installed = false;
};
