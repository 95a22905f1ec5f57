#pragma once
// Four components (x, y, z, w). Colours are Vector4<float> (red, green, blue, alpha
// in 0..1) or Vector4<int> (0..255); rectangles are (x0, y0, x1, y1). No invariant.
#include <cmath>
#include <type_traits>

template <typename T> struct Vector4
{
    T x;
    T y;
    T z;
    T w;

    constexpr Vector4() : x(), y(), z(), w() {}
    constexpr Vector4(T x_, T y_, T z_, T w_) : x(x_), y(y_), z(z_), w(w_) {}
    // Explicit, so that a float value never truncates to an int one by accident.
    template <typename U>
    constexpr explicit Vector4(const Vector4<U>& v) : x(T(v.x)), y(T(v.y)), z(T(v.z)), w(T(v.w))
    {
    }

    constexpr Vector4& operator+=(const Vector4& v)
    {
        x += v.x;
        y += v.y;
        z += v.z;
        w += v.w;
        return *this;
    }
    constexpr Vector4& operator-=(const Vector4& v)
    {
        x -= v.x;
        y -= v.y;
        z -= v.z;
        w -= v.w;
        return *this;
    }
    constexpr Vector4& operator*=(const Vector4& v)
    {
        x *= v.x;
        y *= v.y;
        z *= v.z;
        w *= v.w;
        return *this;
    }
    constexpr Vector4& operator/=(const Vector4& v)
    {
        x /= v.x;
        y /= v.y;
        z /= v.z;
        w /= v.w;
        return *this;
    }
    constexpr Vector4& operator*=(T s)
    {
        x *= s;
        y *= s;
        z *= s;
        w *= s;
        return *this;
    }
    constexpr Vector4& operator/=(T s)
    {
        x /= s;
        y /= s;
        z /= s;
        w /= s;
        return *this;
    }

    // Computed in double so that large components do not overflow.
    float Length() const
    {
        return float(std::sqrt(double(x) * x + double(y) * y + double(z) * z + double(w) * w));
    }
    // Float vectors only: scales to unit length and returns the former length. A zero
    // (or infinite) vector is left as it is and gives 0, so callers never see NaN.
    float Normalise()
    {
        static_assert(std::is_floating_point<T>::value, "Normalise needs a float vector");
        const double length = std::sqrt(double(x) * x + double(y) * y + double(z) * z + double(w) * w);
        if (!(length > 0.0) || std::isinf(length))
            return 0.0f;
        x = T(x / length);
        y = T(y / length);
        z = T(z / length);
        w = T(w / length);
        return float(length);
    }
};

template <typename T> constexpr Vector4<T> operator-(const Vector4<T>& v)
{
    return Vector4<T>(-v.x, -v.y, -v.z, -v.w);
}
template <typename T> constexpr Vector4<T> operator+(Vector4<T> a, const Vector4<T>& b)
{
    return a += b;
}
template <typename T> constexpr Vector4<T> operator-(Vector4<T> a, const Vector4<T>& b)
{
    return a -= b;
}
template <typename T> constexpr Vector4<T> operator*(Vector4<T> a, const Vector4<T>& b)
{
    return a *= b;
}
template <typename T> constexpr Vector4<T> operator/(Vector4<T> a, const Vector4<T>& b)
{
    return a /= b;
}
template <typename T> constexpr Vector4<T> operator*(Vector4<T> a, T s)
{
    return a *= s;
}
template <typename T> constexpr Vector4<T> operator*(T s, Vector4<T> a)
{
    return a *= s;
}
template <typename T> constexpr Vector4<T> operator/(Vector4<T> a, T s)
{
    return a /= s;
}
template <typename T> constexpr bool operator==(const Vector4<T>& a, const Vector4<T>& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z && a.w == b.w;
}
template <typename T> constexpr bool operator!=(const Vector4<T>& a, const Vector4<T>& b)
{
    return !(a == b);
}
template <typename T> constexpr T Dot(const Vector4<T>& a, const Vector4<T>& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
}
