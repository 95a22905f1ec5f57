#pragma once
// One pool slot of a particle system and the particle in it. Slot i owns quad i of the system's
// batch. A particle animates from the start values at segment start to the targets at segment end,
// then enters its next key; it is unborn while the scope clock is before segment start.
#include "core/Vector2.h"
#include "core/Vector4.h"

#include <cstdint>

struct ParticleSlot
{
    int32_t index = 0;
    float drag = 0.0f; // velocity lost per second, as a fraction
    Vector2<float> position;
    Vector2<float> velocity;  // drawing units per second
    int32_t segmentStart = 0; // ms of the scope clock
    Vector4<float> startColour;
    float startRadius = 0.0f;
    int32_t startFrame = 0;
    int32_t segmentEnd = 0; // ms of the scope clock
    Vector4<float> targetColour;
    float targetRadius = 0.0f;
    int32_t targetFrame = 0;
    bool alive = false;
    uint32_t nextKey = 0; // the key entered next
};
