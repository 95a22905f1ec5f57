#pragma once
// One image of a slider's knob; the knob shows the image that matches the value.
#include "Graphics/CMaterial.h"
#include "core/CRef.h"
#include "core/MathConstants.h"
#include "core/Vector4.h"

struct SliderKnob
{
    CRef<CMaterial> material;
    Vector4<float> uvs{0.0f, 0.0f, 1.0f, 1.0f};
    // Size factor of the image for the hover test and the hover growth.
    float active = 1.0f;
};
