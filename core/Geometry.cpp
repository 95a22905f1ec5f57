#include "core/Geometry.h"

#include <cmath>

namespace
{
float Cross(const Vector2<float>& u, const Vector2<float>& v)
{
    return u.x * v.y - u.y * v.x;
}
} // namespace

float Cross(const Vector2<float>& a, const Vector2<float>& b, const Vector2<float>& c)
{
    return Cross(b - a, c - a);
}

bool SegmentCrossesLine(const Vector2<float>& a, const Vector2<float>& b, const Vector2<float>& p,
                        const Vector2<float>& q, float* t)
{
    float along = 0.0f;
    if (!IntersectLines(a, b, p, q, &along))
        return false;
    if (t)
        *t = along;
    return along >= 0.0f && along <= 1.0f;
}

bool IntersectLines(const Vector2<float>& a, const Vector2<float>& b, const Vector2<float>& p,
                    const Vector2<float>& q, float* t, float* u)
{
    const Vector2<float> r = b - a;
    const Vector2<float> s = q - p;
    const float denominator = Cross(r, s);
    if (denominator == 0.0f)
        return false;
    const Vector2<float> ap = p - a;
    if (t)
        *t = Cross(ap, s) / denominator;
    if (u)
        *u = Cross(ap, r) / denominator;
    return true;
}

float DistanceToLine(const Vector2<float>& point, const Vector2<float>& linePoint,
                     const Vector2<float>& unitDirection)
{
    return std::fabs(Cross(unitDirection, point - linePoint));
}

float DistanceToLine(const Vector3<float>& point, const Vector3<float>& linePoint,
                     const Vector3<float>& unitDirection)
{
    const Vector3<float> offset = point - linePoint;
    return (offset - unitDirection * Dot(offset, unitDirection)).Length();
}

Vector2<float> ClosestPointOnSegment(const Vector2<float>& a, const Vector2<float>& b,
                                     const Vector2<float>& p, float* along)
{
    Vector2<float> direction = b - a;
    const float length = direction.Normalise();
    const float distance = Dot(p - a, direction);
    // The ends are returned exactly rather than rebuilt from a rounded direction.
    if (!(distance > 0.0f) || length == 0.0f)
    {
        if (along)
            *along = 0.0f;
        return a;
    }
    if (distance >= length)
    {
        if (along)
            *along = length;
        return b;
    }
    if (along)
        *along = distance;
    return a + direction * distance;
}
