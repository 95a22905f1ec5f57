#include "creatures/CLigament.h"

#include "core/Angle.h"
#include "creatures/CSkeleton.h"
#include "creatures/FastAngle.h"

namespace
{
constexpr float kSettled = 1e-5f;

Vector2<float> Rotate(const Vector2<float>& v, float radians)
{
    float c, s;
    HalfTangentCosSin(radians, c, s);
    return Vector2<float>(v.x * c - v.y * s, v.x * s + v.y * c);
}
} // namespace

bool CLigament::Solve(CSkeleton& skeleton) const
{
    CJoint* joints[3] = {skeleton.GetJoint(one), skeleton.GetJoint(two), skeleton.GetJoint(pivot)};
    const Vector2<float> p = joints[2]->position;
    Vector2<float> armOne = joints[0]->position - p;
    const Vector2<float> armTwo = joints[1]->position - p;
    const float theta = FastAngle(armOne, armTwo);
    if (theta >= minAngle - kEpsilon && theta <= maxAngle + kEpsilon)
        return false;
    const float lengthOne = armOne.Normalise();
    const float lengthTwo = armTwo.Length();
    if (!(lengthOne > 1e-6f) || !(lengthTwo > 1e-6f))
        return false;
    const float limit = theta < minAngle - kEpsilon ? minAngle : maxAngle;

    const float middle = theta + (limit - theta) * 0.5f;
    const Vector2<float> towardsTwo = Rotate(armOne, middle);
    Vector2<float> moved[3] = {p + Rotate(towardsTwo, -limit) * lengthOne, p + towardsTwo * lengthTwo, p};
    const Vector2<float> drift =
        ((joints[0]->position - moved[0]) + (joints[1]->position - moved[1])) * (1.0f / 3.0f);
    const int32_t indices[3] = {one, two, pivot};
    for (int i = 0; i < 3; ++i)
    {
        moved[i] += drift;
        const Vector2<float> off = moved[i] - joints[i]->position;
        if (Dot(off, off) > kSettled)
        {
            joints[i]->position = moved[i];
            skeleton.PushJoint(indices[i]);
        }
    }
    return true;
}
