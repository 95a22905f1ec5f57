#include "creatures/FastAngle.h"

#include "core/MathConstants.h"

namespace
{
constexpr float kPi = kTwoPi * 0.5f;
constexpr float kHalfPi = kTwoPi * 0.25f;
} // namespace

float FastAtan2(float y, float x)
{
    if (x == 0.0f)
        return y > 0.0f ? kHalfPi : (y < 0.0f ? -kHalfPi : 0.0f);
    const float t = y / x;
    if (t * t < 1.0f)
    {
        const float angle = t / (1.0f + 0.28f * t * t);
        if (x > 0.0f)
            return angle;
        // y = 0 behind the pivot is a straight angle, +pi; a sign of 0 would fold it to 0.
        return y >= 0.0f ? angle + kPi : angle - kPi;
    }
    const float angle = kHalfPi - t / (t * t + 0.28f);
    return y < 0.0f ? angle - kPi : angle;
}

float FastAngle(const Vector2<float>& one, const Vector2<float>& two)
{
    const float cross = one.x * two.y - one.y * two.x;
    const float angle = FastAtan2(cross, Dot(one, two));
    return angle < -kHalfPi ? angle + kTwoPi : angle;
}

float FastHeading(const Vector2<float>& direction)
{
    return FastAtan2(direction.x, -direction.y) * kDegreesPerRadian;
}
