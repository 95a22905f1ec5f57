#pragma once
// Installs a hand-driven platform frame clock for one test and puts the previous
// source back when it dies. Ticks are platform milliseconds, 0 at the start.
#include "core/CClock.h"

#include <cstdint>

class FakeClock
{
public:
    FakeClock() : m_previous(CClock::GetSource())
    {
        s_now = 0;
        CClock::SetSource(&Read);
    }
    ~FakeClock() { CClock::SetSource(m_previous); }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    void Set(uint32_t ms) { s_now = ms; }
    // Wraps past 2^32 like the platform's tick.
    void Advance(uint32_t ms) { s_now += ms; }
    uint32_t Now() const { return s_now; }

private:
    static uint32_t Read() { return s_now; }

    static inline uint32_t s_now = 0;
    CClock::Source m_previous;
};
