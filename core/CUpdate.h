#pragma once
// An uncounted object called back at an interval by a scope's scheduler, for
// classes that cannot be a CScheduled (values, or objects with another owner).
// Schedulers hold it by weak links, so destroying it simply ends the calls.
#include "core/CLinkList.h"
#include "core/ScheduleSlot.h"

#include <cstdint>

class CScheduler;
template <typename>
class CLink;

class CUpdate
{
public:
    CUpdate() = default;
    // Schedulers find the object by its address: it never copies or moves.
    CUpdate(const CUpdate&) = delete;
    CUpdate& operator=(const CUpdate&) = delete;

    // As CScheduled::Schedule and CScheduled::ScheduleIn.
    CScheduler* Schedule(int32_t intervalMs);
    CScheduler* ScheduleIn(const char* scopeName, int32_t intervalMs);

    // Called at most once per frame while active; `dt` in seconds as for CScheduled.
    virtual void Update(float dt) = 0;

    void Unschedule() { m_slot.active = false; }
    bool IsActive() const { return m_slot.active; }
    int32_t GetInterval() const { return m_slot.interval; }
    int32_t GetNextDue() const { return m_slot.nextDue; }

protected:
    // Not virtual: nothing deletes through a CUpdate. The back-link list's
    // destruction empties every weak link to the object.
    ~CUpdate() = default;

private:
    friend class CScheduler;
    template <typename>
    friend class CLink;
    CLinkList& BackLinks() { return m_backLinks; }

    CLinkList m_backLinks;
    ScheduleSlot m_slot;
};
