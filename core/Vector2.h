#pragma once
// Two components (x, y): points, sizes and offsets in pixels, board cells or view
// units as the caller says. No invariant: any values, including the "unset" marker.
#include <cmath>
#include <type_traits>

template <typename T> struct Vector2
{
    T x;
    T y;

    constexpr Vector2() : x(), y() {}
    constexpr Vector2(T x_, T y_) : x(x_), y(y_) {}
    // Explicit, so that a float value never truncates to an int one by accident.
    template <typename U> constexpr explicit Vector2(const Vector2<U>& v) : x(T(v.x)), y(T(v.y)) {}

    constexpr Vector2& operator+=(const Vector2& v)
    {
        x += v.x;
        y += v.y;
        return *this;
    }
    constexpr Vector2& operator-=(const Vector2& v)
    {
        x -= v.x;
        y -= v.y;
        return *this;
    }
    constexpr Vector2& operator*=(const Vector2& v)
    {
        x *= v.x;
        y *= v.y;
        return *this;
    }
    constexpr Vector2& operator/=(const Vector2& v)
    {
        x /= v.x;
        y /= v.y;
        return *this;
    }
    constexpr Vector2& operator*=(T s)
    {
        x *= s;
        y *= s;
        return *this;
    }
    constexpr Vector2& operator/=(T s)
    {
        x /= s;
        y /= s;
        return *this;
    }

    // Computed in double so that large components do not overflow.
    float Length() const { return float(std::sqrt(double(x) * x + double(y) * y)); }
    // Float vectors only: scales to unit length and returns the former length. A zero
    // (or infinite) vector is left as it is and gives 0, so callers never see NaN.
    float Normalise()
    {
        static_assert(std::is_floating_point<T>::value, "Normalise needs a float vector");
        const double length = std::sqrt(double(x) * x + double(y) * y);
        if (!(length > 0.0) || std::isinf(length))
            return 0.0f;
        x = T(x / length);
        y = T(y / length);
        return float(length);
    }
};

template <typename T> constexpr Vector2<T> operator-(const Vector2<T>& v)
{
    return Vector2<T>(-v.x, -v.y);
}
template <typename T> constexpr Vector2<T> operator+(Vector2<T> a, const Vector2<T>& b)
{
    return a += b;
}
template <typename T> constexpr Vector2<T> operator-(Vector2<T> a, const Vector2<T>& b)
{
    return a -= b;
}
template <typename T> constexpr Vector2<T> operator*(Vector2<T> a, const Vector2<T>& b)
{
    return a *= b;
}
template <typename T> constexpr Vector2<T> operator/(Vector2<T> a, const Vector2<T>& b)
{
    return a /= b;
}
template <typename T> constexpr Vector2<T> operator*(Vector2<T> a, T s)
{
    return a *= s;
}
template <typename T> constexpr Vector2<T> operator*(T s, Vector2<T> a)
{
    return a *= s;
}
template <typename T> constexpr Vector2<T> operator/(Vector2<T> a, T s)
{
    return a /= s;
}
template <typename T> constexpr bool operator==(const Vector2<T>& a, const Vector2<T>& b)
{
    return a.x == b.x && a.y == b.y;
}
template <typename T> constexpr bool operator!=(const Vector2<T>& a, const Vector2<T>& b)
{
    return !(a == b);
}
template <typename T> constexpr T Dot(const Vector2<T>& a, const Vector2<T>& b)
{
    return a.x * b.x + a.y * b.y;
}
