#include "core/Stopwatch.h"

#include "core/CClock.h"

Stopwatch::Stopwatch() : m_stamp(CClock::Now())
{
}

void Stopwatch::Reset()
{
    m_stamp = CClock::Now();
}

int32_t Stopwatch::ElapsedMs() const
{
    return CClock::Since(m_stamp);
}

float Stopwatch::ElapsedSeconds() const
{
    return float(ElapsedMs()) * 0.001f;
}
