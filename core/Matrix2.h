#pragma once
// A 2x2 linear transform of 2-D vectors, four floats in column order: a vector
// maps as x' = m[0] x + m[2] y, y' = m[1] x + m[3] y. Identity when built.
#include "core/Vector2.h"

class Matrix2
{
  public:
    Matrix2();

    // Counter-clockwise by a positive angle in radians: elements (c, s, -s, c).
    static Matrix2 Rotation(float radians);

    // Composes b after this transform: result[2i + j] = sum over k of this[2i + k] b[2k + j].
    Matrix2& operator*=(const Matrix2& b);
    // Rotates in place: every row (i.e. every column in column-vector terms) is multiplied
    // by the rotation, which applies it after the existing transform.
    void Rotate(float radians);

    Vector2<float> Transform(const Vector2<float>& v) const;

    float m[4];
};
