#pragma once
// A counted object called back at an interval by a scope's scheduler, with the
// game time (seconds) elapsed since its last call. The scheduler holds it only
// weakly: an object that dies, or clears its active flag, is simply not called again.
#include "core/CBase.h"
#include "core/ScheduleSlot.h"

#include <cstdint>

class CScheduler;

class CScheduled : public CBase
{
public:
    // Asks to be called every `intervalMs` on the scheduler of the game's current
    // scope; the first call comes at a random point within one interval. Scheduling
    // again only changes the interval. Returns the scheduler, or null when there is
    // no current scope (the object is then not scheduled).
    CScheduler* Schedule(int32_t intervalMs);
    // The same on the scheduler of the named scope ("global" lives for the whole run).
    CScheduler* ScheduleIn(const char* scopeName, int32_t intervalMs);

    // Called at most once per frame while active; `dt` is the scope's game time
    // since the last call in seconds, at most twice the interval.
    virtual void OnSchedule(float dt) = 0;

    // Stops the calls until the object is scheduled again.
    void Unschedule() { m_slot.active = false; }
    bool IsActive() const { return m_slot.active; }
    int32_t GetInterval() const { return m_slot.interval; }
    // Scheduler clock (ms) of the next call.
    int32_t GetNextDue() const { return m_slot.nextDue; }

protected:
    // Moves the next call to the given scheduler clock (ms); a time already
    // passed calls the object in the next update.
    void SetNextDue(int32_t clockMs) { m_slot.nextDue = clockMs; }

private:
    friend class CScheduler;

    ScheduleSlot m_slot;
};
