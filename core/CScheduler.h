#pragma once
// A scope's game clock and the objects called back on it. The clock (ms) follows
// the platform's frame clock but advances at most 100 ms per frame, scaled by the
// speed, and stands still while paused; so pausing a mode freezes everything
// scheduled in it. Invariants: each object has at most one entry per scheduler,
// is called at most once per Update, and the pause count is never negative.
#include "core/CBase.h"
#include "core/CLink.h"
#include "core/CRef.h"

#include <cstdint>
#include <list>

class CScheduled;
class CUpdate;

class CScheduler : public CBase
{
public:
    // The game owns one scheduler per scope and installs these look-ups; tests
    // install their own. Both give null until installed.
    using ScopeProvider = CScheduler* (*)(uint32_t scopeHash);
    using CurrentProvider = CScheduler* (*)();
    // Each returns the provider it replaces, so that a test can put it back.
    static ScopeProvider SetScopeProvider(ScopeProvider provider);
    static CurrentProvider SetCurrentProvider(CurrentProvider provider);
    // The scheduler of a scope by name (HashString) or hash, or null.
    static CScheduler* ForScope(const char* scopeName);
    static CScheduler* ForScope(uint32_t scopeHash);
    // The scheduler of the game's current scope, or null.
    static CScheduler* Current();
    // Makes a scoped pause (CPause) of a scheduler; the platform installs it. Returns the
    // factory it replaces.
    using PauseFactory = CRef<CBase> (*)(CScheduler* scheduler);
    static PauseFactory SetPauseFactory(PauseFactory factory);

    // Bounds of the tuning value "interval/animation" (ms) for every rule that reads it: longer
    // would stand animations still, and callers may double it without overflow.
    static constexpr int32_t kMinAnimationIntervalMs = 0;
    static constexpr int32_t kMaxAnimationIntervalMs = 1000;

    CScheduler() = default;

    // Calls the object every `intervalMs` (negative counts as 0: every frame). The
    // first call is due at a random clock within one interval, so that objects of
    // equal intervals spread over frames. An object already here keeps its entry
    // and place; only its interval and next due change. Null is ignored.
    void Schedule(CScheduled* object, int32_t intervalMs);
    void ScheduleUpdate(CUpdate* object, int32_t intervalMs);
    // Whether the object will be called: it has an entry and is active.
    bool IsScheduled(const CScheduled* object) const;
    bool IsScheduled(const CUpdate* object) const;

    // Nests: the scheduler runs again when every pause has ended. Resuming never
    // adds the paused span to the clock; an unmatched resume is ignored.
    void Pause(bool on);
    bool IsPaused() const { return m_pauseCount > 0; }
    // A pause of this scheduler that lasts while the reference lives; null (nothing paused)
    // until the pause factory is installed.
    CRef<CBase> CreatePause();
    int32_t GetPauseCount() const { return m_pauseCount; }

    // Game-clock milliseconds per platform millisecond; 1 at construction.
    void SetSpeed(float speed) { m_speed = speed; }
    float GetSpeed() const { return m_speed; }
    // The game clock in milliseconds; starts at 0.
    int32_t GetClock() const { return m_clock; }

    // Moves the clock by the platform time since the last reading (at most 100 ms,
    // times the speed, never backwards). Returns the step in ms.
    int32_t AdvanceClock();
    // Once per frame: advances the clock and calls every due object, in list
    // order; a called object moves to the end of its list (round robin). Does
    // nothing while paused or when called from inside its own callbacks.
    void Update();
    bool IsUpdating() const { return m_updating; }

private:
    template <typename T>
    struct Entry
    {
        CLink<T> object;
        uint32_t firedPass = 0; // the Update in which it was last called
    };

    template <typename T>
    static void Add(std::list<Entry<T>>& list, T* object, int32_t intervalMs, int32_t clock);
    template <typename T>
    static bool Holds(const std::list<Entry<T>>& list, const T* object);
    // Calls the first due object of the list; false when none is due.
    template <typename T, typename Call>
    bool FireNextDue(std::list<Entry<T>>& list, Call call);

    float m_speed = 1.0f;
    std::list<Entry<CScheduled>> m_scheduled; // a list, so that moving an entry to the end never allocates
    std::list<Entry<CUpdate>> m_updates;
    int32_t m_clock = 0;          // game ms
    uint32_t m_lastReading = 0;   // platform ms
    int32_t m_pauseCount = 0;
    int32_t m_step = 0;           // game ms the clock moved in the current Update
    uint32_t m_pass = 0;          // counts Updates, to call each object once per Update
    bool m_updating = false;
};
