#pragma once
// The game: one Scope per mode name (controls, scheduler and drawing list, made on first use,
// so that anything can register with a mode before the mode exists) and the stack of active
// modes, whose top is the current mode. main drives it once per turn (ProcessEvents, Update,
// Draw); the platform layer posts input through it.
// Invariants: scopes live as long as the game; the current scope id names the top mode (0 with
// an empty stack); a mode popped while an event is handled, a scheduler runs or a frame is
// drawn is destroyed only once that handler, run or frame has ended, never inside it.
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CSingleton.h"
#include "platform/CMode.h"
#include "platform/Scope.h"

#include <cstdint>
#include <map>
#include <vector>

class CScheduled;
class CUpdate;
struct InputEvent;

class CGame : public CBase, public CSingleton<CGame>
{
  public:
    ~CGame() override;
    // Installs the scheduler look-ups (CScheduled::ScheduleIn and friends) and makes the
    // "global" scope's services, so that global drawings and controls always have a list.
    void Init() override;

    // Find or create; the reference stays valid as long as the game.
    Scope& GetScope(uint32_t scopeId);
    Scope& GetScope(const char* scopeName);
    Scope& GetGlobalScope();
    // The scope of the current mode; with no mode, the scope of id 0.
    Scope& GetCurrentScope();
    uint32_t GetCurrentScopeId() const { return m_currentScopeId; }
    // The mode on top of the stack, or null.
    CMode* GetCurrentMode() const;
    int32_t GetModeCount() const { return int32_t(m_stack.size()); }

    // Enters the named mode: makes it current (creating its mode object, and so starting its
    // group, when it has none), deactivates the old top, which stays on the stack, then pushes
    // and activates it. Entering the mode already on top does nothing.
    void PushMode(const char* name);
    // Leaves the top mode: deactivates it, drops it from the stack (releasing it, which stops
    // its group once nothing else holds it) and activates the mode beneath.
    void PopMode();
    // Shutdown only: broadcasts CShutdown, then releases every mode from the top down without
    // activating any; the current scope id becomes 0.
    void PopAllModes();
    // Pops until the mode of scopeId is current; nothing when it is not on the stack.
    void PopToMode(uint32_t scopeId);

    // Registration by scope name, the scope made when absent.
    void Schedule(const char* scopeName, CScheduled* object, int32_t intervalMs);
    void ScheduleUpdate(const char* scopeName, CUpdate* object, int32_t intervalMs);

    // Input goes to the current scope's queue; ProcessEvents dispatches that queue.
    void PostEvent(const InputEvent& event);
    void PostMessage(const char* name, const char* argument);
    void PostCommand(const char* name);
    void ProcessEvents();

    // Once per turn while the application is active: the "global" scheduler, then the
    // current mode's.
    void Update();
    // Once per turn after Update: the current scope's drawing list (which begins and ends the frame).
    void Draw();
    // The current scope's game clock in ms; it stands still while that scheduler is paused.
    int32_t GetTime();

    // Brackets a handler (one input record, one scheduler run, one frame): a mode popped
    // meanwhile is kept alive until the outermost bracket ends. Nests; every Hold needs one
    // Unhold. Use ModeReleaseHold rather than calling these directly.
    void HoldModeReleases() { ++m_holdDepth; }
    void UnholdModeReleases();
    bool IsHoldingModeReleases() const { return m_holdDepth > 0; }

    static uint32_t GlobalScopeId();

  private:
    friend class CSingleton<CGame>;
    CGame() = default;

    // Drops a popped mode's reference now, or after the hold when one is active.
    void ReleaseMode(CRef<CMode> mode);
    void ReleaseHeldModes();

    static CScheduler* SchedulerOfScope(uint32_t scopeHash);
    static CScheduler* SchedulerOfCurrentScope();

    std::map<uint32_t, Scope> m_scopes;
    std::vector<CRef<CMode>> m_stack;
    // Popped during a hold, released when it ends.
    std::vector<CRef<CMode>> m_heldModes;
    uint32_t m_currentScopeId = 0;
    int32_t m_holdDepth = 0;
    bool m_providersInstalled = false;
};
