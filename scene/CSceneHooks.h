#pragma once
// Connects the pond scene to the layers below it for the game's whole run: the front end's menu
// pond and music, and the pond services of puzzle play. A member of the group "global", made
// before the start-up sequence enters the front end; what it installed is taken back when it ends.
#include "core/CBase.h"
#include "core/CSingleton.h"
#include "platform/CModeFrontEnd.h"
#include "scene/CScenePlayServices.h"

class CPlayServices;

class CSceneHooks : public CBase, public CSingleton<CSceneHooks>
{
  public:
    void Init() override;
    ~CSceneHooks() override;

  private:
    friend class CSingleton<CSceneHooks>;
    CSceneHooks() = default;

    CScenePlayServices m_services;
    CModeFrontEnd::MenuHooks m_previousMenuHooks;
    CPlayServices* m_previousServices = nullptr;
    bool m_installed = false;
};
