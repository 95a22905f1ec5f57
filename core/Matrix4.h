#pragma once
// A 3-D transform as OpenGL expects it: sixteen floats where element 4c + r is row r
// of column c in column-vector terms, the translation in elements 12, 13, 14, ready for
// glLoadMatrixf. Identity when built.
#include "core/Vector3.h"

class Matrix4
{
  public:
    Matrix4();

    static Matrix4 Translation(const Vector3<float>& offset);
    // diag(s, s, s, 1).
    static Matrix4 Scaling(float s);
    // Counter-clockwise by a positive angle in radians about one of the unit axes. The axis is
    // compared exactly with kAxisX, kAxisY and kAxisZ; any other axis (even a scaled one such
    // as (0, 0, 2)) gives the identity.
    static Matrix4 Rotation(float radians, const Vector3<float>& axis);

    // Composes b after this transform: result[4i + j] = sum over k of this[4i + k] b[4k + j],
    // which is b times this in column-vector terms.
    Matrix4& operator*=(const Matrix4& b);

    // Each of these appends a step that applies after the existing transform.
    void Translate(const Vector3<float>& offset);
    // Scales x, y and z of every column by factors.x, .y, .z, translation included.
    void Scale(const Vector3<float>& factors);
    void Rotate(float radians, const Vector3<float>& axis);

    // The point (w = 1) through the transform, as OpenGL would map a vertex.
    Vector3<float> TransformPoint(const Vector3<float>& p) const;

    float m[16];
};

Matrix4 operator*(Matrix4 a, const Matrix4& b);
