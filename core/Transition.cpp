#include "core/Transition.h"

#include "core/CClock.h"
#include "core/ContentLimits.h"

#include <algorithm>

Transition::Transition(float seconds)
    : m_duration(&m_ownDuration), m_ownDuration(seconds), m_start(0), m_direction(0.0f)
{
    m_start = StartFor(1.0f);
}

Transition::Transition(const float* seconds)
    : m_duration(seconds ? seconds : &m_ownDuration), m_ownDuration(0.0f), m_start(0), m_direction(0.0f)
{
    m_start = StartFor(1.0f);
}

Transition::Transition(const Transition& other)
    : m_duration(other.m_duration == &other.m_ownDuration ? &m_ownDuration : other.m_duration),
      m_ownDuration(other.m_ownDuration), m_start(other.m_start), m_direction(other.m_direction)
{
}

Transition& Transition::operator=(const Transition& other)
{
    if (this != &other)
    {
        m_duration = other.m_duration == &other.m_ownDuration ? &m_ownDuration : other.m_duration;
        m_ownDuration = other.m_ownDuration;
        m_start = other.m_start;
        m_direction = other.m_direction;
    }
    return *this;
}

float Transition::Value() const
{
    const float p = Progress();
    if (p > 1.0f)
        return Forward() ? 1.0f : 0.0f;
    const float clamped = std::max(p, 0.0f);
    return Forward() ? clamped : 1.0f - clamped;
}

float Transition::SmoothValue() const
{
    float s = std::clamp(Progress(), 0.0f, 1.0f);
    if (!Forward())
        s = 1.0f - s;
    return s * s * (3.0f - 2.0f * s);
}

bool Transition::IsRunning() const
{
    return Progress() < 1.0f;
}

void Transition::SnapTo(float direction)
{
    m_direction = direction > 0.5f ? 1.0f : 0.0f;
    m_start = StartFor(1.0f);
}

void Transition::SetDirection(float direction)
{
    const float wanted = direction > 0.5f ? 1.0f : 0.0f;
    if (wanted == m_direction)
        return;
    const float v = Value();
    m_direction = wanted;
    m_start = StartFor(Forward() ? v : 1.0f - v);
}

void Transition::Toggle()
{
    SetDirection(Forward() ? 0.0f : 1.0f);
}

void Transition::SetDuration(float seconds)
{
    m_ownDuration = seconds;
    m_duration = &m_ownDuration;
}

float Transition::Progress() const
{
    const float duration = *m_duration;
    // Not positive (or NaN): the quotient would be infinite or 0/0, so stand at the end.
    if (!(duration > 0.0f))
        return 1.0f;
    return float(CClock::Since(m_start)) / (1000.0f * duration);
}

uint32_t Transition::StartFor(float fraction) const
{
    const float duration = *m_duration;
    // Bounded, so that the wrap-safe difference still reads the offset.
    return CClock::Now() - uint32_t(SecondsToMs(double(duration) * double(fraction)));
}
