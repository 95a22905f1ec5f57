#pragma once
// One frame of a fly's resting action: the sprite it shows, how long it lasts and the turn that
// starts it.
#include "core/Vector4.h"

#include <cstdint>

struct FlyStep
{
    Vector4<float> uv;  // the sprite's uv rect (u0, v0, u1, v1)
    int32_t time = 0;   // milliseconds until the next step may play; never negative
    float rotate = 0.0f; // degrees added to the fly's heading when the step plays
};
