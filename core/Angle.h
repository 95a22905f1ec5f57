#pragma once
// Angle helpers shared by the matrices and by everything that turns.

// Wraps an angle in degrees into [-180, 180): 180 gives -180, 359 gives -1.
float WrapAngle(float degrees);

// Cosine and sine of an angle in radians, formed from t = tan(angle / 2) as
// (1 - t^2) / (1 + t^2) and 2t / (1 + t^2), so that c^2 + s^2 stays 1 to rounding.
void HalfTangentCosSin(float radians, float& c, float& s);
