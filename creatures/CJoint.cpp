#include "creatures/CJoint.h"

void CJoint::ShiftHistory()
{
    older = previous;
    previous = position;
}

float CJoint::GetDistance(int limb) const
{
    if (limb < 0 || size_t(limb) >= distances.size())
        return kNoPath;
    return distances[size_t(limb)];
}

void CJoint::SetDistance(int limb, float length)
{
    if (limb < 0)
        return;
    if (size_t(limb) >= distances.size())
        distances.resize(size_t(limb) + 1, kNoPath);
    distances[size_t(limb)] = length;
}

void CJoint::LimitInertia()
{
    const Vector2<float> prediction = previous + (previous - older) * 0.9f;
    Vector2<float> step = position - prediction;
    if (Dot(step, step) <= accelerationSquared)
        return;
    step.Normalise();
    position = prediction + step * acceleration;
}

bool CJoint::PullToAnchor(float threshold)
{
    if (!pinned)
        return false;
    const Vector2<float> off = position - anchor;
    if (Dot(off, off) < threshold * threshold)
        return false;
    position = (position + anchor) * 0.5f;
    return true;
}
