#pragma once
// The arctangent approximation t / (1 + 0.28 t^2) that the frog's soft body and its parts turn
// by. Cheaper than atan2 and within about 0.005 radians of it; every caller uses these, so that
// angles captured at load and angles tested later agree.
#include "core/Vector2.h"

// atan2(y, x) in radians, in (-pi, pi]. A straight-back direction (x < 0, y = 0) gives +pi, as
// atan2 does; (0, 0) gives 0.
float FastAtan2(float y, float x);

// The angle in radians from arm one to arm two (both measured from a common pivot), positive
// towards a positive cross product (one.x two.y - one.y two.x), in [-pi/2, 3pi/2): angles below
// -pi/2 are taken a full turn up, so a straight angle reads pi on either side.
float FastAngle(const Vector2<float>& one, const Vector2<float>& two);
