#include "tools/CCanvas.h"

#include <algorithm>
#include <cmath>

CCanvas::CCanvas(int32_t width, int32_t height, const Colour& fill)
    : m_width(width), m_height(height), m_pixels(size_t(width) * size_t(height), fill)
{
}

void CCanvas::Blend(int32_t x, int32_t y, const Colour& colour)
{
    const float a = std::clamp(colour.w, 0.0f, 1.0f);
    if (a <= 0.0f)
        return;
    Colour& dst = m_pixels[size_t(y) * size_t(m_width) + size_t(x)];
    const float out = a + dst.w * (1.0f - a);
    const float keep = dst.w * (1.0f - a);
    dst.x = (colour.x * a + dst.x * keep) / out;
    dst.y = (colour.y * a + dst.y * keep) / out;
    dst.z = (colour.z * a + dst.z * keep) / out;
    dst.w = out;
}

namespace
{
// One box pass along a line of n values spaced by stride, over premultiplied colours.
void BoxLine(Vector4<float>* line, int32_t n, int32_t stride, int32_t r, std::vector<Vector4<float>>& scratch)
{
    scratch.resize(size_t(n));
    Vector4<float> sum;
    const float scale = 1.0f / float(2 * r + 1);
    auto at = [&](int32_t i) { return line[size_t(std::clamp(i, 0, n - 1)) * size_t(stride)]; };
    for (int32_t i = -r; i <= r; ++i)
        sum += at(i);
    for (int32_t i = 0; i < n; ++i)
    {
        scratch[size_t(i)] = sum * scale;
        sum += at(i + r + 1);
        sum -= at(i - r);
    }
    for (int32_t i = 0; i < n; ++i)
        line[size_t(i) * size_t(stride)] = scratch[size_t(i)];
}
} // namespace

void CCanvas::Blur(float radius)
{
    const int32_t r = int32_t(std::lround(radius / 1.7f)); // three passes of radius r spread about 1.7 r
    if (r <= 0)
        return;
    for (Colour& c : m_pixels)
        c = Colour(c.x * c.w, c.y * c.w, c.z * c.w, c.w);
    std::vector<Colour> scratch;
    for (int pass = 0; pass < 3; ++pass)
    {
        for (int32_t y = 0; y < m_height; ++y)
            BoxLine(&m_pixels[size_t(y) * size_t(m_width)], m_width, 1, r, scratch);
        for (int32_t x = 0; x < m_width; ++x)
            BoxLine(&m_pixels[size_t(x)], m_height, m_width, r, scratch);
    }
    for (Colour& c : m_pixels)
        if (c.w > 1e-6f)
            c = Colour(c.x / c.w, c.y / c.w, c.z / c.w, c.w);
        else
            c = Colour(c.x, c.y, c.z, 0.0f);
}

void CCanvas::ScaleAlpha(float factor)
{
    for (Colour& c : m_pixels)
        c.w *= factor;
}

void CCanvas::Draw(const CCanvas& other, int32_t x, int32_t y)
{
    for (int32_t oy = 0; oy < other.m_height; ++oy)
        for (int32_t ox = 0; ox < other.m_width; ++ox)
            if (x + ox >= 0 && x + ox < m_width && y + oy >= 0 && y + oy < m_height)
                Blend(x + ox, y + oy, other.Get(ox, oy));
}

std::vector<uint8_t> CCanvas::ToBytes(int32_t channels) const
{
    std::vector<uint8_t> bytes;
    bytes.reserve(m_pixels.size() * size_t(channels));
    auto byte = [](float v) { return uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
    for (const Colour& c : m_pixels)
    {
        bytes.push_back(byte(c.x));
        bytes.push_back(byte(c.y));
        bytes.push_back(byte(c.z));
        if (channels == 4)
            bytes.push_back(byte(c.w));
    }
    return bytes;
}
