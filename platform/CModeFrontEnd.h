#pragma once
// The puzzle chooser's mode ("frontend"). While active it holds the menu pond and plays its
// music, and tells its own scope's controls "_activate" and "_deactivate".
// The pond and the music live in code above this layer, which installs them as hooks; without
// hooks there is no pond and no music.
#include "core/CBase.h"
#include "core/CRef.h"
#include "platform/CControl.h"
#include "platform/CMode.h"

struct InputEvent;

class CModeFrontEnd : public CMode, public CControl
{
  public:
    // Makes the named pond (the menu is "menu"); never null once installed.
    using PondFactory = CRef<CBase> (*)(const char* pondName);
    // Plays the pond's music; null plays none.
    using MusicPlayer = void (*)(CBase* pond);
    struct MenuHooks
    {
        PondFactory makePond = nullptr;
        MusicPlayer playMusic = nullptr;
    };
    // Returns the previous hooks so that a test can put them back.
    static MenuHooks SetMenuHooks(const MenuHooks& hooks);

    // Joins the group "frontend" of the scope "frontend".
    explicit CModeFrontEnd(const char* name);

    // Frame mark, menu pond (made once), "_activate" to its own controls, the pond's music.
    void Activate() override;
    // "_deactivate" to its own controls, music off.
    void Deactivate() override;
    // "refresh" drops the pond (remade at once while active). Always false: the record goes
    // on to other controls.
    bool OnMessage(const InputEvent& event) override;

    bool IsActive() const { return m_active; }
    CBase* GetMenuPond() const { return m_menuPond.Get(); }

  private:
    void MakeMenuPond();

    CRef<CBase> m_menuPond;
    bool m_active = false;
};
