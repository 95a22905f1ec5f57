#pragma once
// A 2-D affine transform, nine floats in OpenGL-style column order (element 3c + r
// is row r of column c): a point maps as x' = m[0] x + m[3] y + m[6],
// y' = m[1] x + m[4] y + m[7]. Identity when built; m[2], m[5] stay 0 and m[8] 1
// under every operation here.
#include "core/Vector2.h"

class Matrix3
{
  public:
    Matrix3();

    static Matrix3 Translation(const Vector2<float>& offset);
    // Counter-clockwise by a positive angle in radians: elements 0, 1, 3, 4 = c, s, -s, c.
    static Matrix3 Rotation(float radians);

    // Composes b after this transform: result[3i + j] = sum over k of this[3i + k] b[3k + j].
    Matrix3& operator*=(const Matrix3& b);

    // Each of these appends a step that applies after the existing transform.
    void Translate(const Vector2<float>& offset);
    // Scales x by factors.x and y by factors.y, translation included.
    void Scale(const Vector2<float>& factors);
    void Rotate(float radians);

    Vector2<float> TransformPoint(const Vector2<float>& p) const;

    float m[9];
};

Matrix3 operator*(Matrix3 a, const Matrix3& b);
