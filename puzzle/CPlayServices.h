#pragma once
// What puzzle play asks of the frog, the pond, the user-interface tree and the platform, which
// puzzle/ cannot name. Every operation does nothing by default (and answers "none"), so play runs
// headless; the program installs an implementation that reaches the real subsystems, and tests
// install a fake that records the calls. Positions are in board cell units unless named otherwise.
#include "core/CBase.h"
#include "core/CCallback.h"
#include "core/CRef.h"
#include "core/CString.h"
#include "core/Vector2.h"

#include <vector>

class CPlaySkeleton;

class CPlayServices
{
  public:
    CPlayServices() = default;
    virtual ~CPlayServices() = default;
    CPlayServices(const CPlayServices&) = delete;
    CPlayServices& operator=(const CPlayServices&) = delete;

    // The installed services, or the do-nothing ones; never null.
    static CPlayServices& Get();
    // Installs services (null: back to none); the caller keeps ownership and uninstalls them
    // before they die. Returns the previous ones (null when none were installed).
    static CPlayServices* Install(CPlayServices* services);

    // The frog and the fly.
    // The frog's skeleton, loading its species first when none is loaded; null without a frog.
    virtual CPlaySkeleton* GetFrogSkeleton() { return nullptr; }
    virtual void LoadSpecies(const CString& species) {}
    virtual void CatchFly() {}
    virtual void CancelCatch() {}
    // Computes the fly's resting point from the puzzle's goal pose.
    virtual void PlaceFlyForGoal() {}
    virtual void FlyJumpToRest() {}
    virtual bool GetFlyPosition(Vector2<float>& position) { return false; }
    // A floating label that fades in, stays and fades out; size in view units.
    virtual void ShowFloatingText(const CString& text, float size) {}

    // The pond, its effects and the petal shower.
    // Creates the pond "pond/<name>" and makes it current; the puzzle holds the reference.
    virtual CRef<CBase> CreatePond(const CString& name) { return {}; }
    virtual void PlayPondMusic(CBase* pond) {}
    // Re-places every layer of the current pond after the pond position changed.
    virtual void PlacePondLayers() {}
    virtual CRef<CBase> CreateParticles(const char* effect) { return {}; }
    virtual void StartParticlesAt(CBase* particles, const Vector2<float>& position) {}
    // Starts the petal shower (it plays its own sound) / ends it.
    virtual void FirePetals() {}
    virtual void StopPetals() {}
    // Appends the emboss spots of the current pond's "overlay" layer pane, when there is one.
    virtual void AppendOverlayEmboss(std::vector<float>& spots) {}

    // The replay and the tutorial.
    virtual void StopReplay() {}
    virtual void RunTutorial(const CString& name) {}
    // Closes the tutorial's current pane when a tutorial is running.
    virtual void CloseTutorialPane() {}
    // Runs the running tutorial again from its first step; nothing when none runs.
    virtual void RestartTutorial() {}

    // Buttons, the screen flip and its pane.
    virtual void SetButtonEnabled(const char* action, bool enabled) {}
    // Begins a screen flip to the pane of that name at once; loader (may be null) is handed to
    // the flip to load the next puzzle.
    virtual void BeginFlip(const char* pane, CRef<CCallback> loader) {}
    // Starts the screen flip back to the game and gives its next side no emboss spots.
    virtual void FlipToGame() {}
    // Sets the input-active flag of a node of the current flip pane; nothing without a pane.
    virtual void SetFlipNodeActive(const char* id, bool active) {}
    // Re-arms the daisy of the current flip pane's node "daisy", when it is a daisy.
    virtual void RearmFlipDaisy() {}
    // Hands emboss spots (six floats each, screen pixels) to the flip as the side list of side.
    virtual void SetFlipSideList(int side, const std::vector<float>& spots) {}

    // Modes, commands and the board's view.
    virtual bool IsCurrentMode(const char* name) { return false; }
    virtual void PushMode(const char* name) {}
    virtual void PopMode() {}
    // Posts a named command to the current scope.
    virtual void PostCommand(const char* name) {}
    // Re-applies the pond position to the board view: offset := standard offset - position.
    virtual void ApplyBoardView(const Vector2<float>& pondPosition) {}
    // Projects a board point to screen pixels through the current view.
    virtual Vector2<float> BoardToScreen(const Vector2<float>& point) { return point; }
    // The mean of the current view's two scale factors (view units per pixel).
    virtual float GetViewScale() { return 1.0f; }
    // The current view's x plus its width, in screen pixels.
    virtual float GetViewRight() { return 0.0f; }
};
