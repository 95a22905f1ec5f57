#include "core/Matrix2.h"

#include "core/Angle.h"

Matrix2::Matrix2() : m{1.0f, 0.0f, 0.0f, 1.0f} {}

Matrix2 Matrix2::Rotation(float radians)
{
    float c, s;
    HalfTangentCosSin(radians, c, s);
    Matrix2 r;
    r.m[0] = c;
    r.m[1] = s;
    r.m[2] = -s;
    r.m[3] = c;
    return r;
}

Matrix2& Matrix2::operator*=(const Matrix2& b)
{
    const Matrix2 a = *this;
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j)
            m[2 * i + j] = a.m[2 * i] * b.m[j] + a.m[2 * i + 1] * b.m[2 + j];
    return *this;
}

void Matrix2::Rotate(float radians)
{
    *this *= Rotation(radians);
}

Vector2<float> Matrix2::Transform(const Vector2<float>& v) const
{
    return Vector2<float>(m[0] * v.x + m[2] * v.y, m[1] * v.x + m[3] * v.y);
}
