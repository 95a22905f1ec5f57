#pragma once
// One animation frame of a button: a one-quad batch about the button's centre and how the frame
// is shown. A button walks its frames one by one towards the frame of its current look.
#include "Graphics/QuadBatch.h"
#include "core/Vector4.h"

#include <cstdint>

struct ButtonFrame
{
    QuadBatch batch;
    Vector4<float> uvs{0.0f, 0.0f, 1.0f, 1.0f}; // left, top, right, bottom
    int32_t duration = 33;                      // ms the frame is shown while walking past it
    float throb = 0.0f;                         // cycles per second between colour1 and colour2
    Vector4<float> colour1{1.0f, 1.0f, 1.0f, 1.0f};
    Vector4<float> colour2{1.0f, 1.0f, 1.0f, 1.0f};
};
