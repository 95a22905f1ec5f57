#pragma once
// Small 2-D and 3-D helpers on points and lines. Lengths are in the caller's units;
// "unit direction" arguments must already be normalised.
#include "core/Vector2.h"
#include "core/Vector3.h"

// The z of the cross product of (b - a) and (c - a): positive when c lies to the left
// of a->b (counter-clockwise, y up), 0 when the three are collinear.
float Cross(const Vector2<float>& a, const Vector2<float>& b, const Vector2<float>& c);

// Segment a-b against the infinite line through p and q. False when they are parallel
// (denominator exactly 0); otherwise *t (when given) receives the parameter with
// a + t (b - a) on the line, and the result says whether 0 <= t <= 1.
bool SegmentCrossesLine(const Vector2<float>& a, const Vector2<float>& b, const Vector2<float>& p,
                        const Vector2<float>& q, float* t = nullptr);

// The infinite lines through a, b and through p, q. False only when parallel; otherwise
// the meeting point is a + t (b - a) = p + u (q - p), with t and u through the pointers given.
bool IntersectLines(const Vector2<float>& a, const Vector2<float>& b, const Vector2<float>& p,
                    const Vector2<float>& q, float* t = nullptr, float* u = nullptr);

// Distance (never negative) from point to the line through linePoint along unitDirection.
float DistanceToLine(const Vector2<float>& point, const Vector2<float>& linePoint,
                     const Vector2<float>& unitDirection);
float DistanceToLine(const Vector3<float>& point, const Vector3<float>& linePoint,
                     const Vector3<float>& unitDirection);

// The point of segment a-b nearest to p; *along (when given) receives its distance from a,
// clamped to [0, |b - a|]. A segment of zero length gives a and 0.
Vector2<float> ClosestPointOnSegment(const Vector2<float>& a, const Vector2<float>& b,
                                     const Vector2<float>& p, float* along = nullptr);
