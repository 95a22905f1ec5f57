#include "core/CScheduled.h"

#include "core/CScheduler.h"

CScheduler* CScheduled::Schedule(int32_t intervalMs)
{
    CScheduler* scheduler = CScheduler::Current();
    if (scheduler)
        scheduler->Schedule(this, intervalMs);
    return scheduler;
}

CScheduler* CScheduled::ScheduleIn(const char* scopeName, int32_t intervalMs)
{
    CScheduler* scheduler = CScheduler::ForScope(scopeName);
    if (scheduler)
        scheduler->Schedule(this, intervalMs);
    return scheduler;
}
