#include "core/Matrix4.h"

#include "core/Angle.h"
#include "core/MathConstants.h"

Matrix4::Matrix4()
    : m{1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f}
{
}

Matrix4 Matrix4::Translation(const Vector3<float>& offset)
{
    Matrix4 r;
    r.m[12] = offset.x;
    r.m[13] = offset.y;
    r.m[14] = offset.z;
    return r;
}

Matrix4 Matrix4::Scaling(float s)
{
    Matrix4 r;
    r.m[0] = s;
    r.m[5] = s;
    r.m[10] = s;
    return r;
}

Matrix4 Matrix4::Rotation(float radians, const Vector3<float>& axis)
{
    Matrix4 r;
    float c, s;
    HalfTangentCosSin(radians, c, s);
    if (axis == kAxisX)
    {
        r.m[5] = c;
        r.m[6] = s;
        r.m[9] = -s;
        r.m[10] = c;
    }
    else if (axis == kAxisY)
    {
        r.m[0] = c;
        r.m[2] = -s;
        r.m[8] = s;
        r.m[10] = c;
    }
    else if (axis == kAxisZ)
    {
        r.m[0] = c;
        r.m[1] = s;
        r.m[4] = -s;
        r.m[5] = c;
    }
    return r;
}

Matrix4& Matrix4::operator*=(const Matrix4& b)
{
    const Matrix4 a = *this;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
        {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += a.m[4 * i + k] * b.m[4 * k + j];
            m[4 * i + j] = sum;
        }
    return *this;
}

void Matrix4::Translate(const Vector3<float>& offset)
{
    *this *= Translation(offset);
}

void Matrix4::Scale(const Vector3<float>& factors)
{
    for (int i = 0; i < 4; ++i)
    {
        m[4 * i] *= factors.x;
        m[4 * i + 1] *= factors.y;
        m[4 * i + 2] *= factors.z;
    }
}

void Matrix4::Rotate(float radians, const Vector3<float>& axis)
{
    *this *= Rotation(radians, axis);
}

Vector3<float> Matrix4::TransformPoint(const Vector3<float>& p) const
{
    return Vector3<float>(m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12],
                          m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
                          m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]);
}

Matrix4 operator*(Matrix4 a, const Matrix4& b)
{
    return a *= b;
}
