#include "core/CDelay.h"

#include "core/CScheduler.h"
#include "core/ContentLimits.h"

#include <algorithm>

REGISTER_SINGLETON(CDelay, "global", 50);

namespace
{
// Ten hours: with nothing pending the delay only wakes to look again.
constexpr int32_t kIdleMs = 36000000;
}

void CDelay::Add(float seconds, CRef<CCallback> callback)
{
    if (!callback)
        return;
    const int32_t now = Now();
    // Negative, NaN and absurdly long delays are clamped into the clock's range.
    const int32_t due = int32_t(uint32_t(now) + uint32_t(SecondsToMs(seconds)));
    m_entries.push_back(Entry{due, m_nextSerial++, std::move(callback)});
    ScheduleNext();
}

bool CDelay::Cancel(const CCallback* callback)
{
    const auto size = m_entries.size();
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                   [callback](const Entry& entry) { return entry.callback.Get() == callback; }),
                    m_entries.end());
    return m_entries.size() != size;
}

bool CDelay::IsPending(const CCallback* callback) const
{
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [callback](const Entry& entry) { return entry.callback.Get() == callback; });
}

void CDelay::Init()
{
    GlobalScheduler();
}

void CDelay::OnSchedule(float dt)
{
    const int32_t now = Now();
    const uint32_t addedBefore = m_nextSerial;
    // One entry at a time, taken out before it fires: a callback may add, cancel
    // or fire others, and those it adds wait for the next pass.
    for (;;)
    {
        // Stopped from inside a callback: the rest is released unfired with us.
        if (CSingleton<CDelay>::Peek() != this)
            break;
        const auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& entry) {
            return int32_t(entry.serial - addedBefore) < 0 && int32_t(uint32_t(now) - uint32_t(entry.due)) >= 0;
        });
        if (it == m_entries.end())
            break;
        CRef<CCallback> callback = std::move(it->callback);
        m_entries.erase(it);
        callback->Invoke();
    }
    ScheduleNext();
}

CScheduler* CDelay::GlobalScheduler()
{
    if (!m_scheduler)
        m_scheduler.Set(ScheduleIn("global", kIdleMs));
    return m_scheduler.Get();
}

int32_t CDelay::Now()
{
    CScheduler* scheduler = GlobalScheduler();
    return scheduler ? scheduler->GetClock() : 0;
}

void CDelay::ScheduleNext()
{
    const int32_t now = Now();
    int32_t wait = kIdleMs;
    for (const Entry& entry : m_entries)
        wait = std::min(wait, int32_t(uint32_t(entry.due) - uint32_t(now)));
    SetNextDue(int32_t(uint32_t(now) + uint32_t(wait)));
}
