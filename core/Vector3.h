#pragma once
// Three components (x, y, z): positions, translations and axes in 3-D, in the
// caller's units. No invariant: any values, including the "unset" marker.
#include <cmath>
#include <type_traits>

template <typename T> struct Vector3
{
    T x;
    T y;
    T z;

    constexpr Vector3() : x(), y(), z() {}
    constexpr Vector3(T x_, T y_, T z_) : x(x_), y(y_), z(z_) {}
    // Explicit, so that a float value never truncates to an int one by accident.
    template <typename U> constexpr explicit Vector3(const Vector3<U>& v) : x(T(v.x)), y(T(v.y)), z(T(v.z)) {}

    constexpr Vector3& operator+=(const Vector3& v)
    {
        x += v.x;
        y += v.y;
        z += v.z;
        return *this;
    }
    constexpr Vector3& operator-=(const Vector3& v)
    {
        x -= v.x;
        y -= v.y;
        z -= v.z;
        return *this;
    }
    constexpr Vector3& operator*=(const Vector3& v)
    {
        x *= v.x;
        y *= v.y;
        z *= v.z;
        return *this;
    }
    constexpr Vector3& operator/=(const Vector3& v)
    {
        x /= v.x;
        y /= v.y;
        z /= v.z;
        return *this;
    }
    constexpr Vector3& operator*=(T s)
    {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }
    constexpr Vector3& operator/=(T s)
    {
        x /= s;
        y /= s;
        z /= s;
        return *this;
    }

    // Computed in double so that large components do not overflow.
    float Length() const { return float(std::sqrt(double(x) * x + double(y) * y + double(z) * z)); }
    // Float vectors only: scales to unit length and returns the former length. A zero
    // (or infinite) vector is left as it is and gives 0, so callers never see NaN.
    float Normalise()
    {
        static_assert(std::is_floating_point<T>::value, "Normalise needs a float vector");
        const double length = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
        if (!(length > 0.0) || std::isinf(length))
            return 0.0f;
        x = T(x / length);
        y = T(y / length);
        z = T(z / length);
        return float(length);
    }
};

template <typename T> constexpr Vector3<T> operator-(const Vector3<T>& v)
{
    return Vector3<T>(-v.x, -v.y, -v.z);
}
template <typename T> constexpr Vector3<T> operator+(Vector3<T> a, const Vector3<T>& b)
{
    return a += b;
}
template <typename T> constexpr Vector3<T> operator-(Vector3<T> a, const Vector3<T>& b)
{
    return a -= b;
}
template <typename T> constexpr Vector3<T> operator*(Vector3<T> a, const Vector3<T>& b)
{
    return a *= b;
}
template <typename T> constexpr Vector3<T> operator/(Vector3<T> a, const Vector3<T>& b)
{
    return a /= b;
}
template <typename T> constexpr Vector3<T> operator*(Vector3<T> a, T s)
{
    return a *= s;
}
template <typename T> constexpr Vector3<T> operator*(T s, Vector3<T> a)
{
    return a *= s;
}
template <typename T> constexpr Vector3<T> operator/(Vector3<T> a, T s)
{
    return a /= s;
}
template <typename T> constexpr bool operator==(const Vector3<T>& a, const Vector3<T>& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z;
}
template <typename T> constexpr bool operator!=(const Vector3<T>& a, const Vector3<T>& b)
{
    return !(a == b);
}
template <typename T> constexpr T Dot(const Vector3<T>& a, const Vector3<T>& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
