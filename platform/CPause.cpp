#include "platform/CPause.h"

#include "core/CScheduler.h"

CPause::CPause(CScheduler* scheduler) : m_scheduler(scheduler)
{
    if (CScheduler* target = m_scheduler.Get())
    {
        m_paused = true;
        target->Pause(true);
    }
}

CRef<CBase> CPause::Create(CScheduler* scheduler)
{
    return MakeRef<CPause>(scheduler);
}

CPause::~CPause()
{
    if (m_paused)
    {
        m_paused = false;
        if (CScheduler* target = m_scheduler.Get())
            target->Pause(false);
    }
    m_scheduler.Clear();
}
