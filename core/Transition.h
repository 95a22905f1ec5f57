#pragma once
// A timed value for visual fades: runs linearly from 0 to 1 (direction 1) or
// from 1 to 0 (direction 0) over a duration in seconds, on the platform's frame
// clock, so that it keeps running while a mode's scheduler is paused.
// Invariant: the value is always finite and in [0, 1]; a duration of zero or
// less stands at its end.
#include <cstdint>

class Transition
{
public:
    // Finished in direction 0 (value 0), with its own duration.
    explicit Transition(float seconds = 0.0f);
    // Finished in direction 0, following a duration kept elsewhere (a tuning
    // value's cached float), so that reloading the rules changes running
    // transitions. The float must outlive the transition.
    explicit Transition(const float* seconds);

    // A copy follows its own duration field when the original did.
    Transition(const Transition& other);
    Transition& operator=(const Transition& other);

    // Linear progress towards the current direction's end.
    float Value() const;
    // The same through smoothstep, s^2 (3 - 2s).
    float SmoothValue() const;
    // True until the value has reached its end.
    bool IsRunning() const;

    // Stands at the end of `direction` (0 or 1) at once.
    void SnapTo(float direction);
    // Turns towards `direction`, continuing from the current value without a jump.
    void SetDirection(float direction);
    // Turns towards the other end: 1 when the direction is 0, else 0.
    void Toggle();

    float GetDirection() const { return m_direction; }
    // Seconds; the followed value when built from one.
    float GetDuration() const { return *m_duration; }
    // Gives the transition its own duration, leaving any followed value.
    void SetDuration(float seconds);

private:
    // (now - start) / duration, unclamped; 1 when the duration is not positive.
    float Progress() const;
    // The platform tick `fraction` of the duration ago.
    uint32_t StartFor(float fraction) const;
    bool Forward() const { return m_direction > 0.5f; }

    const float* m_duration; // seconds: &m_ownDuration or a followed value
    float m_ownDuration;     // seconds
    uint32_t m_start;        // platform ms
    float m_direction;       // 0 or 1
};
