#pragma once
// What a petal's launch and step read of the world around it, gathered once per tick by its
// owner, so that the petal physics itself touches no platform state and replays exactly.
#include "core/Vector2.h"
#include "core/Vector4.h"

#include <cstdint>

struct PetalWorld
{
    // The current view's rectangle (x, y, width, height), view units.
    Vector4<float> view = Vector4<float>(0.0f, 0.0f, 1.0f, 1.0f);
    // The platform's gravity direction, (0, 1) pointing down the screen.
    Vector2<float> gravity = Vector2<float>(0.0f, 1.0f);
    // Seconds the last platform frame took.
    float frameDelta = 0.001f;
    // The clock relaunch times are kept on, ms.
    int32_t now = 0;
    // The pointer in view units, and whether it moved within the last 500 ms.
    Vector2<float> pointer;
    bool pointerMoved = false;
};
