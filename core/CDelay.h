#pragma once
// Fires counted callbacks once, a given time from now on the "global" scope's
// game clock (so pausing a mode does not hold them back). Invariant: each pending
// callback is held by one counted reference until it fires or is cancelled;
// callbacks still pending when the delay dies are released without firing.
#include "core/CCallback.h"
#include "core/CLink.h"
#include "core/CRef.h"
#include "core/CScheduled.h"
#include "core/CSingleton.h"

#include <cstdint>
#include <vector>

class CScheduler;

class CDelay : public CScheduled, public CSingleton<CDelay>
{
public:
    // Fires `callback` in the first "global" update at least `seconds` of game
    // time from now (negative counts as 0). A callback added while others fire
    // waits for the next update. A null callback is ignored.
    void Add(float seconds, CRef<CCallback> callback);
    // Drops every pending firing of `callback`, so that one queued by a mode
    // never fires after the mode is gone; safe while callbacks fire. Returns
    // whether any was pending. Call it through Peek(), which never creates.
    bool Cancel(const CCallback* callback);
    bool IsPending(const CCallback* callback) const;
    int GetPendingCount() const { return int(m_entries.size()); }

    // Schedules itself in "global".
    void Init() override;
    void OnSchedule(float dt) override;

private:
    friend class CSingleton<CDelay>;

    struct Entry
    {
        int32_t due;     // "global" game ms
        uint32_t serial; // order of adding, so that a pass fires only what it found
        CRef<CCallback> callback;
    };

    CDelay() = default;

    // The "global" scheduler, scheduling there first when not done yet (null
    // while the game has no "global" scope).
    CScheduler* GlobalScheduler();
    int32_t Now();
    // Next call: the earliest due entry, or the idle period when none is sooner.
    void ScheduleNext();

    std::vector<Entry> m_entries; // in order of adding
    CLink<CScheduler> m_scheduler;
    uint32_t m_nextSerial = 0;
};
