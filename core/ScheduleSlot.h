#pragma once
// The timing fields a scheduler keeps in each object it calls (CScheduled,
// CUpdate). Times are milliseconds of the owning scheduler's clock.
#include <cstdint>

struct ScheduleSlot
{
    int32_t lastFire = 0;  // clock when last called; elapsed time is measured from it
    int32_t nextDue = 0;   // called in the first update whose clock reaches it
    int32_t interval = 100; // ms between calls; 0 means every frame
    bool active = false;   // set by scheduling; cleared, the object is dropped on the next pass
};
