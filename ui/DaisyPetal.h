#pragma once
// One petal of the daisy: its quad in the flower batch, its state and the score threshold at
// which it falls.
#include "core/Vector4.h"

#include <cstdint>

struct DaisyPetal
{
    enum State : uint32_t
    {
        kShown = 0,
        kGone = 1,
        kPopping = 2,
        kDropping = 3,
    };

    uint32_t quad = 0;
    uint32_t state = kShown;
    Vector4<float> rest;   // the quad's rectangle at rest, before its turn (flower diameters)
    float angle = 0.0f;    // radians
    Vector4<float> colour;
    int32_t start = 0;     // ms of the daisy's clock when popping or dropping began
    float threshold = 0.0f; // 0..1: the petal falls once the level is at or below it
};
