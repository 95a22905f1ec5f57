#pragma once
// The petal shower of a win: Fire sounds the gun, blurs the scene behind an overlay and, after a
// short thump, throws every petal in from the edges; they then fall and drift, are pushed aside
// by a moving finger and are relaunched once they have left the screen, until Stop. While the
// shower runs it swallows taps, and a tap opens the in-game menu ("ingame"). A singleton of the
// group "maingame". Times are ms of the "maingame" game clock unless named in seconds.
// Invariant: "petalsthrown" is posted exactly once per Fire, when the petals are thrown.
#include "Graphics/CImposter.h"
#include "core/CRef.h"
#include "core/CScheduled.h"
#include "core/CSingleton.h"
#include "platform/CControl.h"
#include "platform/CDrawing.h"
#include "scene/CPetal.h"
#include "scene/PetalWorld.h"

#include <cstdint>
#include <vector>

class CPetals : public CScheduled, public CControl, public CDrawing, public CSingleton<CPetals>
{
  public:
    // Where the shower meets the rest of the program; tests install their own.
    struct Hooks
    {
        int32_t (*now)();                // the "maingame" game clock, ms
        void (*sense)(PetalWorld& world); // view, gravity, frame time and pointer (not the clock)
        void (*playSound)(const char* name);
        void (*postCommand)(const char* name);
        // Shows the scene blurred under the shower (amount, over seconds), or takes that away.
        // By default nothing (tests); the program installs ShowImposter.
        void (*setOverlay)(bool shown, float blurAmount, float blurSeconds);
    };
    static const Hooks& GetDefaultHooks();
    // The hooks in use; the ponds' drifting petals sense the world and waft through them too.
    static const Hooks& GetHooks();
    // Returns the previous hooks.
    static Hooks SetHooks(const Hooks& hooks);
    // The overlay of the program: a picture of the scene (texture "_imposter") drawn back in the
    // pass "overlays" under the petals, easing to blurAmount over blurSeconds; taken again after
    // the screen turns, and hidden while it turns. Held by the shower until Stop.
    static void ShowImposter(bool shown, float blurAmount, float blurSeconds);

    // Reads the document "petals" (see Load).
    void Init() override;
    ~CPetals() override;

    // The shower's size, the shared petal physics and the petal looks from the document "petals"
    // of the data folder. A missing document gives no petals and physics of 0.
    void Load();

    // The win: starts (or restarts) the shower; the petals are thrown "petals/thumpdelay"
    // seconds from now.
    void Fire();
    // Ends the shower and takes the overlay away; safe when idle.
    void Stop();

    // One tick (dt seconds) while active: the throw when its time has come, then the petals.
    void OnSchedule(float dt) override;
    // While active every press, click and release is consumed, so nothing beneath sees half a
    // tap; a click posts "ingame".
    bool AcceptsPress(const InputEvent& event) override;
    bool OnPress(const InputEvent& event) override;
    bool OnClick(const InputEvent& event) override;
    bool OnRelease(const InputEvent& event) override;
    // While active: clears depth and draws every active petal over the scene.
    void Draw() override;

    bool IsShowering() const { return m_active; }
    bool IsThrown() const { return m_thrown; }
    bool HasOverlay() const { return m_overlay; }
    int32_t GetStartTime() const { return m_startTime; }
    const std::vector<CPetal>& GetPetals() const { return m_petals; }

  private:
    friend class CSingleton<CPetals>;
    CPetals() = default;

    PetalWorld SenseWorld() const;
    void Throw(const PetalWorld& world);

    // Rules fixed at load: the petals' looks (and, once thrown, their flight).
    std::vector<CPetal> m_petals;

    // Shower state.
    bool m_overlay = false; // the blurred scene is shown under the petals
    CRef<CImposter> m_imposter;
    bool m_active = false;
    bool m_thrown = false;
    int32_t m_startTime = 0;
    bool m_registered = false;
};
