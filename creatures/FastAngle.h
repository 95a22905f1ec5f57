#pragma once
// The arctangent approximation t / (1 + 0.28 t^2) that the frog's soft body and its parts turn
// by. Cheaper than atan2 and within about 0.005 radians of it; every caller uses these, so that
// angles captured at load and angles tested later agree.
#include "core/MathConstants.h"
#include "core/Vector2.h"

inline constexpr float kDegreesPerRadian = kFullTurnDegrees / kTwoPi;

// atan2(y, x) in radians, in (-pi, pi]. A straight-back direction (x < 0, y = 0) gives +pi, as
// atan2 does; (0, 0) gives 0.
float FastAtan2(float y, float x);

// The angle in radians from arm one to arm two (both measured from a common pivot), positive
// towards a positive cross product (one.x two.y - one.y two.x), in [-pi/2, 3pi/2): angles below
// -pi/2 are taken a full turn up, so a straight angle reads pi on either side.
float FastAngle(const Vector2<float>& one, const Vector2<float>& two);

// The heading of a direction in degrees, by FastAtan2: 0 up the board (0, -1), 90 for (1, 0);
// in (-180, 180]. A turn by the heading (Matrix3::Rotation) takes (0, -1) onto the direction.
float FastHeading(const Vector2<float>& direction);
