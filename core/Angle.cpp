#include "core/Angle.h"

#include <cmath>

float WrapAngle(float degrees)
{
    const float shifted = degrees + 180.0f;
    return shifted - 360.0f * std::floor(shifted / 360.0f) - 180.0f;
}

void HalfTangentCosSin(float radians, float& c, float& s)
{
    const float t = std::tan(radians * 0.5f);
    const float t2 = t * t;
    c = (1.0f - t2) / (1.0f + t2);
    s = 2.0f * t / (1.0f + t2);
}
