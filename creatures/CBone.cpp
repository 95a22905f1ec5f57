#include "creatures/CBone.h"

#include "creatures/CSkeleton.h"

#include <cmath>

namespace
{
// Squared lengths (board cells^2) below which a correction is not worth making.
constexpr float kSettled = 1e-5f;
} // namespace

int32_t CBone::Other(int32_t joint) const
{
    if (joint == one)
        return two;
    if (joint == two)
        return one;
    return -1;
}

bool CBone::Solve(CSkeleton& skeleton) const
{
    CJoint& a = *skeleton.GetJoint(one);
    CJoint& b = *skeleton.GetJoint(two);
    const Vector2<float> ab = b.position - a.position;
    const float d2 = Dot(ab, ab);
    if (std::fabs(d2 - restLengthSquared) <= kSettled)
        return false;
    const float dist = std::sqrt(d2);
    // Coincident ends give no direction to push along.
    if (!(dist > 1e-6f))
        return false;
    Vector2<float> c = ab * ((dist - restLength) / dist);
    if (!a.pinned)
    {
        if (!b.pinned)
            c *= 0.5f;
        if (Dot(c, c) > kSettled)
        {
            a.position += c;
            skeleton.PushJoint(one);
        }
        if (b.pinned)
            return true;
    }
    else if (b.pinned)
        return true;
    if (Dot(c, c) > kSettled)
    {
        b.position -= c;
        skeleton.PushJoint(two);
    }
    return true;
}
