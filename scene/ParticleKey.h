#pragma once
// One step of a particle system's animation: how long it lasts and the colour, radius and frame a
// particle reaches at its end, each as a random range. A minimum below 0 leaves that value as the
// step before left it (every value is -1 unless the "key" element gives it).
#include "core/Vector2.h"

#include <cstdint>

struct ParticleKey
{
    Vector2<int32_t> tick{-1, -1}; // milliseconds; a negative duration is passed at once
    Vector2<float> r{-1.0f, -1.0f};
    Vector2<float> g{-1.0f, -1.0f};
    Vector2<float> b{-1.0f, -1.0f};
    Vector2<float> a{-1.0f, -1.0f};
    Vector2<float> radius{-1.0f, -1.0f}; // half the quad's side, in the system's drawing units
    Vector2<int32_t> frame{-1, -1};      // index into the system's frames
};
