#include "core/CUpdate.h"

#include "core/CScheduler.h"

CScheduler* CUpdate::Schedule(int32_t intervalMs)
{
    CScheduler* scheduler = CScheduler::Current();
    if (scheduler)
        scheduler->ScheduleUpdate(this, intervalMs);
    return scheduler;
}

CScheduler* CUpdate::ScheduleIn(const char* scopeName, int32_t intervalMs)
{
    CScheduler* scheduler = CScheduler::ForScope(scopeName);
    if (scheduler)
        scheduler->ScheduleUpdate(this, intervalMs);
    return scheduler;
}
