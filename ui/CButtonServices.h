#pragma once
// What buttons, links and sliders ask of the platform and of the layers beside them: sounds, the
// cursor, the pointer, named commands, the browser, the current mode's game clock and floating tips. The defaults reach
// the platform singletons (the game, audio and input when they exist); the cursor and the
// floating tips do nothing until the subsystems that draw them install services that reach them.
// Tests install a fake that records the calls and drives the game clock.
#include "core/CString.h"
#include "core/Vector2.h"

#include <cstdint>

class CBase;

class CButtonServices
{
  public:
    CButtonServices() = default;
    virtual ~CButtonServices() = default;
    CButtonServices(const CButtonServices&) = delete;
    CButtonServices& operator=(const CButtonServices&) = delete;

    // The installed services, or the defaults; never null.
    static CButtonServices& Get();
    // Installs services (null: back to the defaults); the caller keeps ownership and uninstalls
    // them before they die. Returns the previous ones (null when none were installed).
    static CButtonServices* Install(CButtonServices* services);

    // Plays a named sound effect (CAudio), when audio exists.
    virtual void PlaySound(const char* name);
    // Posts a named command with an argument to the current mode (CGame; both cut to 13
    // characters there).
    virtual void PostMessage(const char* name, const char* argument);
    // Opens a web address in the platform's browser (CDirectJ), when the platform exists.
    virtual void LaunchBrowser(const char* url);
    // The current mode's game clock in ms (CGame::GetTime); it stands still while paused.
    virtual int32_t GetGameTime();
    // The pointer in logical screen pixels (CInput); the origin without input.
    virtual Vector2<float> GetPointerPosition();
    // Shows the named cursor for ms milliseconds. No cursor by default.
    virtual void SetCursor(const char* name, int32_t ms) {}
    // Draws the cursor's press marker once at that point (screen pixels). Nothing by default.
    virtual void SetMarkerPosition(const Vector2<float>& point) {}
    // Whether the cursor's last draw showed a pending press marker. True by default: without a
    // cursor there is no marker to wait for.
    virtual bool IsMarkerShown() { return true; }
    // A floating tip with its top left at position (view units of the whole-screen view),
    // size in those units. Returns the floater, which owns itself (buttons only link to it), or
    // null when none was made (the default).
    virtual CBase* ShowTip(const CString& text, const Vector2<float>& position, float size)
    {
        return nullptr;
    }
    // Keeps a floater of ShowTip alive a little longer / fades it out at once.
    virtual void RefreshTip(CBase* floater) {}
    virtual void FinishTip(CBase* floater) {}
};
