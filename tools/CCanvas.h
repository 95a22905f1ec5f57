#pragma once
// A picture being painted: straight (not premultiplied) RGBA in floats 0..1, row 0 at the top.
// Painting lays colours over what is there (source over), so recipes build pictures in layers.
// Invariant: the pixel vector always holds width x height entries.
#include "core/Vector2.h"
#include "core/Vector4.h"

#include <cstdint>
#include <vector>

class CCanvas
{
  public:
    using Colour = Vector4<float>;

    CCanvas(int32_t width, int32_t height, const Colour& fill);

    int32_t GetWidth() const { return m_width; }
    int32_t GetHeight() const { return m_height; }
    Colour Get(int32_t x, int32_t y) const { return m_pixels[size_t(y) * size_t(m_width) + size_t(x)]; }
    void Set(int32_t x, int32_t y, const Colour& colour)
    {
        m_pixels[size_t(y) * size_t(m_width) + size_t(x)] = colour;
    }

    // Lays colour over the pixel; the colour's alpha is its coverage.
    void Blend(int32_t x, int32_t y, const Colour& colour);

    // Paints the cell (x, y, w, h in pixels, clipped to the canvas) with shade(p, pixel), where p
    // is the pixel centre in cell coordinates (-1 at the cell's left/top edge, +1 at the right/
    // bottom) and pixel is the width of one pixel in those units, for antialiasing. The colour
    // shade returns is laid over what is there.
    template <typename Shade> void PaintCell(int32_t x, int32_t y, int32_t w, int32_t h, Shade shade)
    {
        const float pixel = 2.0f / float(w < h ? w : h);
        for (int32_t py = y < 0 ? 0 : y; py < y + h && py < m_height; ++py)
            for (int32_t px = x < 0 ? 0 : x; px < x + w && px < m_width; ++px)
            {
                const Vector2<float> p((float(px - x) + 0.5f) / float(w) * 2.0f - 1.0f,
                                       (float(py - y) + 0.5f) / float(h) * 2.0f - 1.0f);
                Blend(px, py, shade(p, pixel));
            }
    }

    // Gaussian-like blur of radius pixels (three box passes each way), weighted by alpha so that
    // transparent pixels lend no colour to their neighbours.
    void Blur(float radius);
    // Multiplies every alpha by the factor.
    void ScaleAlpha(float factor);
    // Copies the other canvas over this one at (x, y), source over.
    void Draw(const CCanvas& other, int32_t x, int32_t y);

    // 8-bit bytes, rows top to bottom: RGBA when channels is 4, RGB (alpha dropped) when 3.
    std::vector<uint8_t> ToBytes(int32_t channels) const;

  private:
    int32_t m_width;
    int32_t m_height;
    std::vector<Colour> m_pixels;
};
