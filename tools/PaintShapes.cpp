#include "tools/PaintShapes.h"

#include <algorithm>
#include <cmath>

float Coverage(float d, float width)
{
    return std::clamp(0.5f - d / width, 0.0f, 1.0f);
}

float SmoothStep(float edge0, float edge1, float x)
{
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

float Mix(float a, float b, float t)
{
    return a + (b - a) * t;
}

Rgba Mix(const Rgba& a, const Rgba& b, float t)
{
    return a + (b - a) * t;
}

Rgba WithCover(const Rgba& colour, float coverage)
{
    return Rgba(colour.x, colour.y, colour.z, colour.w * coverage);
}

Rgba Hex(uint32_t rgb, float alpha)
{
    return Rgba(float((rgb >> 16) & 0xFF) / 255.0f, float((rgb >> 8) & 0xFF) / 255.0f,
                float(rgb & 0xFF) / 255.0f, alpha);
}

float CircleDistance(const Point& p, const Point& centre, float radius)
{
    return std::hypot(p.x - centre.x, p.y - centre.y) - radius;
}

float EllipseDistance(const Point& p, const Point& centre, float rx, float ry, float angle)
{
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const float dx = p.x - centre.x;
    const float dy = p.y - centre.y;
    const float x = (dx * c + dy * s) / rx;
    const float y = (-dx * s + dy * c) / ry;
    return (std::hypot(x, y) - 1.0f) * std::min(rx, ry);
}

float CapsuleDistance(const Point& p, const Point& a, const Point& b, float ra, float rb)
{
    const float bx = b.x - a.x;
    const float by = b.y - a.y;
    const float length2 = bx * bx + by * by;
    const float t =
        length2 > 0.0f ? std::clamp(((p.x - a.x) * bx + (p.y - a.y) * by) / length2, 0.0f, 1.0f) : 0.0f;
    return std::hypot(p.x - (a.x + bx * t), p.y - (a.y + by * t)) - Mix(ra, rb, t);
}

float RoundBoxDistance(const Point& p, const Point& centre, float halfWidth, float halfHeight, float radius)
{
    const float qx = std::fabs(p.x - centre.x) - halfWidth + radius;
    const float qy = std::fabs(p.y - centre.y) - halfHeight + radius;
    return std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - radius;
}

float PolygonDistance(const Point& p, const std::vector<Point>& v)
{
    float d2 = (p.x - v[0].x) * (p.x - v[0].x) + (p.y - v[0].y) * (p.y - v[0].y);
    bool inside = false;
    for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i, ++i)
    {
        const float ex = v[j].x - v[i].x;
        const float ey = v[j].y - v[i].y;
        const float wx = p.x - v[i].x;
        const float wy = p.y - v[i].y;
        const float t = std::clamp((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.0f, 1.0f);
        const float bx = wx - ex * t;
        const float by = wy - ey * t;
        d2 = std::min(d2, bx * bx + by * by);
        if ((v[i].y > p.y) != (v[j].y > p.y) && p.x < ex * (p.y - v[i].y) / ey + v[i].x)
            inside = !inside;
    }
    return inside ? -std::sqrt(d2) : std::sqrt(d2);
}

std::vector<Point> StarCorners(const Point& centre, float outer, float inner, int points, float angle)
{
    std::vector<Point> corners;
    for (int i = 0; i < 2 * points; ++i)
    {
        const float a = angle + float(i) * 3.14159265f / float(points);
        const float r = i % 2 == 0 ? outer : inner;
        corners.emplace_back(centre.x + r * std::sin(a), centre.y - r * std::cos(a));
    }
    return corners;
}

float Hash01(int32_t x, int32_t y, uint32_t seed)
{
    uint32_t h = uint32_t(x) * 0x8DA6B343u ^ uint32_t(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return float(h >> 8) / 16777216.0f;
}

float TileNoise(float x, float y, int32_t period, uint32_t seed)
{
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const float tx = SmoothStep(0.0f, 1.0f, x - fx);
    const float ty = SmoothStep(0.0f, 1.0f, y - fy);
    auto wrap = [period](int32_t v) { return ((v % period) + period) % period; };
    const int32_t x0 = wrap(int32_t(fx));
    const int32_t y0 = wrap(int32_t(fy));
    const int32_t x1 = wrap(x0 + 1);
    const int32_t y1 = wrap(y0 + 1);
    return Mix(Mix(Hash01(x0, y0, seed), Hash01(x1, y0, seed), tx),
               Mix(Hash01(x0, y1, seed), Hash01(x1, y1, seed), tx), ty);
}

float TileFractal(float x, float y, int32_t period, int octaves, uint32_t seed)
{
    float sum = 0.0f;
    float weight = 0.5f;
    float total = 0.0f;
    for (int i = 0; i < octaves; ++i)
    {
        sum += weight * TileNoise(x, y, period, seed + uint32_t(i));
        total += weight;
        x *= 2.0f;
        y *= 2.0f;
        period *= 2;
        weight *= 0.5f;
    }
    return sum / total;
}
