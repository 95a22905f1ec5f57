#include "core/CScheduler.h"

#include "core/CClock.h"
#include "core/CRef.h"
#include "core/CScheduled.h"
#include "core/CUpdate.h"
#include "core/HashString.h"
#include "core/Random.h"

#include <algorithm>
#include <utility>

namespace
{
constexpr int32_t kMaxFrameMs = 100;

CScheduler::ScopeProvider s_scopeProvider = nullptr;
CScheduler::CurrentProvider s_currentProvider = nullptr;
CScheduler::PauseFactory s_pauseFactory = nullptr;

// The clock is int32 ms and may wrap after 24.8 days of play: add and compare
// through unsigned differences, which wrap without undefined behaviour.
int32_t WrapAdd(int32_t a, int32_t b)
{
    return int32_t(uint32_t(a) + uint32_t(b));
}

int32_t WrapDiff(int32_t from, int32_t to)
{
    return int32_t(uint32_t(to) - uint32_t(from));
}

void CallScheduled(CScheduled* object, float dt)
{
    CRef<CScheduled> hold(object); // it may release its last other reference while running
    object->OnSchedule(dt);
}

// Uncounted: nothing to hold. The scheduler touches it no more after the call.
void CallUpdate(CUpdate* object, float dt)
{
    object->Update(dt);
}
}

CScheduler::ScopeProvider CScheduler::SetScopeProvider(ScopeProvider provider)
{
    return std::exchange(s_scopeProvider, provider);
}

CScheduler::PauseFactory CScheduler::SetPauseFactory(PauseFactory factory)
{
    return std::exchange(s_pauseFactory, factory);
}

CRef<CBase> CScheduler::CreatePause()
{
    return s_pauseFactory ? s_pauseFactory(this) : CRef<CBase>();
}

CScheduler::CurrentProvider CScheduler::SetCurrentProvider(CurrentProvider provider)
{
    return std::exchange(s_currentProvider, provider);
}

CScheduler* CScheduler::ForScope(const char* scopeName)
{
    return ForScope(HashString(scopeName));
}

CScheduler* CScheduler::ForScope(uint32_t scopeHash)
{
    return s_scopeProvider ? s_scopeProvider(scopeHash) : nullptr;
}

CScheduler* CScheduler::Current()
{
    return s_currentProvider ? s_currentProvider() : nullptr;
}

void CScheduler::Schedule(CScheduled* object, int32_t intervalMs)
{
    if (object)
        Add(m_scheduled, object, intervalMs, m_clock);
}

void CScheduler::ScheduleUpdate(CUpdate* object, int32_t intervalMs)
{
    if (object)
        Add(m_updates, object, intervalMs, m_clock);
}

bool CScheduler::IsScheduled(const CScheduled* object) const
{
    return object && object->IsActive() && Holds(m_scheduled, object);
}

bool CScheduler::IsScheduled(const CUpdate* object) const
{
    return object && object->IsActive() && Holds(m_updates, object);
}

void CScheduler::Pause(bool on)
{
    if (on)
        ++m_pauseCount;
    else if (m_pauseCount > 0)
        --m_pauseCount;
    m_lastReading = CClock::Now();
}

int32_t CScheduler::AdvanceClock()
{
    const uint32_t now = CClock::Now();
    const int32_t delta = std::clamp(CClock::Difference(m_lastReading, now), 0, kMaxFrameMs);
    m_lastReading = now;
    const int32_t step = std::max(0, int32_t(float(delta) * m_speed));
    m_clock = WrapAdd(m_clock, step);
    return step;
}

void CScheduler::Update()
{
    if (m_pauseCount > 0 || m_updating)
        return;
    // A callback may end the scope that owns this scheduler.
    CRef<CScheduler> self(this);
    m_updating = true;
    m_step = AdvanceClock();
    ++m_pass;
    while (FireNextDue(m_scheduled, &CallScheduled))
    {
    }
    while (FireNextDue(m_updates, &CallUpdate))
    {
    }
    m_updating = false;
}

template <typename T>
void CScheduler::Add(std::list<Entry<T>>& list, T* object, int32_t intervalMs, int32_t clock)
{
    const int32_t interval = std::max(0, intervalMs);
    ScheduleSlot& slot = object->m_slot;
    slot.interval = interval;
    // Unsigned, so that an interval of INT32_MAX + 1 cannot overflow.
    const uint32_t jitter = interval > 0 ? GlobalRandom().NextBelow(uint32_t(interval) + 1u) : 0u;
    slot.nextDue = WrapAdd(clock, int32_t(jitter));
    slot.active = true;
    if (!Holds(list, object))
        list.push_back(Entry<T>{CLink<T>(object), 0});
}

template <typename T>
bool CScheduler::Holds(const std::list<Entry<T>>& list, const T* object)
{
    return std::any_of(list.begin(), list.end(),
                       [object](const Entry<T>& entry) { return entry.object.Get() == object; });
}

template <typename T, typename Call>
bool CScheduler::FireNextDue(std::list<Entry<T>>& list, Call call)
{
    // Entries are only erased here; callbacks may append but never erase, so the
    // iterators stay valid. The walk restarts after every call.
    for (auto it = list.begin(); it != list.end();)
    {
        T* object = it->object.Get();
        if (!object || !object->m_slot.active)
        {
            it = list.erase(it);
            continue;
        }
        ScheduleSlot& slot = object->m_slot;
        if (it->firedPass == m_pass || WrapDiff(slot.nextDue, m_clock) < 0)
        {
            ++it;
            continue;
        }
        it->firedPass = m_pass;
        const int32_t elapsed = std::max(0, WrapDiff(slot.lastFire, m_clock));
        slot.lastFire = m_clock;
        slot.nextDue = WrapAdd(slot.nextDue, slot.interval);
        if (WrapDiff(slot.nextDue, m_clock) >= 0)
            slot.nextDue = WrapAdd(m_clock, 1);
        list.splice(list.end(), list, it);
        // Twice the interval bounds a late call; an every-frame object (interval
        // 0) gets this frame's step, never 0 and never the time since it was made.
        const int64_t cap = slot.interval > 0 ? 2 * int64_t(slot.interval) : int64_t(m_step);
        const int64_t dtMs = std::min(int64_t(elapsed), cap);
        call(object, float(dtMs) * 0.001f);
        return true;
    }
    return false;
}
