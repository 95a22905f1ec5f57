#pragma once
// An angle limit of the frog's soft body over three joints of the skeleton: the angle at the pivot
// from arm one to arm two (FastAngle, radians, in [-pi/2, 3pi/2)) is kept between min and max.
// Held by value in the skeleton's ligament vector; its indices always name existing joints and
// the pivot differs from both arms.
#include <cstdint>

class CSkeleton;

struct CLigament
{
    // Tolerance of the limits, radians.
    static constexpr float kEpsilon = 0.001f;

    bool Uses(int32_t joint) const { return pivot == joint || one == joint || two == joint; }

    // Turns both arms towards each other by half the excess over the limit it broke, keeping the
    // three joints' centroid; moved joints go onto the work queue. Pinning does not hold against
    // a ligament. False when the angle is within its limits (or an arm has no length).
    bool Solve(CSkeleton& skeleton) const;

    int32_t pivot = 0;
    int32_t one = 0;
    int32_t two = 0;
    float minAngle = 0.0f;
    float maxAngle = 0.0f;
};
