#include "core/Ease.h"

#include "core/MathConstants.h"

#include <cmath>

float Ease(int type, float t)
{
    if (!(t > 0.0f)) // NaN eases to the start as well
        return 0.0f;
    if (t >= 1.0f)
        return 1.0f;
    switch (type)
    {
    case 0:
        if (t < 0.5f)
            return 2.0f * t * t;
        return 1.0f - 2.0f * (1.0f - t) * (1.0f - t);
    case 1:
        return (1.0f - std::cos(0.5f * kTwoPi * t)) * 0.5f;
    default:
        return t;
    }
}

float EasePulse(int type, float t)
{
    if (!(t > 0.0f))
        return 0.0f;
    if (t >= 1.0f)
        return 1.0f;
    if (type == 1)
        return (1.0f - std::cos(kTwoPi * t)) * 0.5f;
    return t;
}
