#pragma once
// The platform's frame clock as the model sees it: the millisecond tick of the
// current frame. The model never reads a real clock; the platform layer installs
// its source at start-up and tests install a fake one. Reads 0 until a source is set.
#include <cstdint>

class CClock
{
public:
    using Source = uint32_t (*)();

    // Installs the tick source (the platform's tick of the frame, ms); null
    // returns to a clock that reads 0.
    static void SetSource(Source source);
    static Source GetSource();

    // The frame tick in milliseconds.
    static uint32_t Now();

    // Milliseconds from `since` to `until`, wrap-safe (the tick wraps after
    // 49.7 days); negative when `since` lies ahead of `until`.
    static int32_t Difference(uint32_t since, uint32_t until)
    {
        return int32_t(until - since);
    }

    // Milliseconds from `since` to now, wrap-safe.
    static int32_t Since(uint32_t since) { return Difference(since, Now()); }
};
