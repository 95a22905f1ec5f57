#pragma once
// A time stamp on the platform's frame clock with elapsed-time queries. It runs
// on while any scheduler is paused; measure game time with a scheduler's clock.
#include <cstdint>

class Stopwatch
{
public:
    // Starts at the current frame tick.
    Stopwatch();

    // Restarts at the current frame tick.
    void Reset();

    // Milliseconds since the last reset (wrap-safe).
    int32_t ElapsedMs() const;
    float ElapsedSeconds() const;

private:
    uint32_t m_stamp; // platform ms
};
