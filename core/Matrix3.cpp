#include "core/Matrix3.h"

#include "core/Angle.h"

Matrix3::Matrix3() : m{1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f} {}

Matrix3 Matrix3::Translation(const Vector2<float>& offset)
{
    Matrix3 r;
    r.m[6] = offset.x;
    r.m[7] = offset.y;
    return r;
}

Matrix3 Matrix3::Rotation(float radians)
{
    float c, s;
    HalfTangentCosSin(radians, c, s);
    Matrix3 r;
    r.m[0] = c;
    r.m[1] = s;
    r.m[3] = -s;
    r.m[4] = c;
    return r;
}

Matrix3& Matrix3::operator*=(const Matrix3& b)
{
    const Matrix3 a = *this;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m[3 * i + j] = a.m[3 * i] * b.m[j] + a.m[3 * i + 1] * b.m[3 + j] + a.m[3 * i + 2] * b.m[6 + j];
    return *this;
}

void Matrix3::Translate(const Vector2<float>& offset)
{
    *this *= Translation(offset);
}

void Matrix3::Scale(const Vector2<float>& factors)
{
    for (int i = 0; i < 3; ++i)
    {
        m[3 * i] *= factors.x;
        m[3 * i + 1] *= factors.y;
    }
}

void Matrix3::Rotate(float radians)
{
    *this *= Rotation(radians);
}

Vector2<float> Matrix3::TransformPoint(const Vector2<float>& p) const
{
    return Vector2<float>(m[0] * p.x + m[3] * p.y + m[6], m[1] * p.x + m[4] * p.y + m[7]);
}

Matrix3 operator*(Matrix3 a, const Matrix3& b)
{
    return a *= b;
}
