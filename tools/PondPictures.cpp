#include "tools/PondPictures.h"

#include "tools/PaintShapes.h"

#include <algorithm>
#include <cmath>

namespace
{
const Rgba kClear(0.0f, 0.0f, 0.0f, 0.0f);

float Length(const Point& p)
{
    return std::sqrt(p.x * p.x + p.y * p.y);
}

// One picture of size w x h painted cell-wide by shade(p, px), p in -1..1 across the picture.
template <typename Shade> CCanvas PaintWhole(int32_t w, int32_t h, const Rgba& fill, Shade shade)
{
    CCanvas canvas(w, h, fill);
    canvas.PaintCell(0, 0, w, h, shade);
    return canvas;
}

// A soft beam from the top edge down, tinted; the layer's alpha breathes it.
CCanvas PaintBeam(const Rgba& colour)
{
    return PaintWhole(32, 128, kClear,
                      [colour](const Point& p, float)
                      {
                          const float across = std::pow(std::max(0.0f, 1.0f - std::fabs(p.x)), 2.5f);
                          const float along = SmoothStep(-1.0f, -0.8f, p.y) * SmoothStep(1.0f, -0.3f, p.y);
                          return WithCover(colour, across * along * 0.85f);
                      });
}

// A leaf, stem down (towards +y): pointed at the top, a midrib and a little stem.
Rgba LeafAt(int cell, const Point& p, float px)
{
    const Rgba base[4] = {Hex(0x4E9A3A), Hex(0xD8C24A), Hex(0xE07A2E), Hex(0x8A5A30)};
    const Rgba edge[4] = {Hex(0x2F6B26), Hex(0xA8902A), Hex(0xA8471A), Hex(0x5C3A1C)};
    // Two overlapping circles make the pointed blade.
    const float d = std::max(CircleDistance(p, Point(-0.42f, 0.05f), 0.78f),
                             CircleDistance(p, Point(0.42f, 0.05f), 0.78f));
    const float stem = CapsuleDistance(p, Point(0.0f, 0.55f), Point(0.0f, 0.95f), 0.05f, 0.04f);
    Rgba colour = Mix(base[cell], edge[cell], SmoothStep(-0.3f, 0.0f, d));
    colour = Mix(colour, edge[cell], 0.6f * SmoothStep(0.05f, 0.0f, std::fabs(p.x)) * SmoothStep(0.7f, 0.4f, -p.y));
    const float cover = std::max(Coverage(d, px * 1.5f), Coverage(stem, px * 1.5f));
    return WithCover(colour, cover);
}
} // namespace

CCanvas PaintCaustics()
{
    return PaintWhole(256, 256, kClear,
                      [](const Point& p, float)
                      {
                          const float x = (p.x + 1.0f) * 2.5f;
                          const float y = (p.y + 1.0f) * 2.5f;
                          // Ridges where the noise crosses its middle: the web of focused light.
                          const float n = TileFractal(x, y, 5, 3, 733u);
                          const float ridge = std::pow(std::max(0.0f, 1.0f - std::fabs(n - 0.5f) * 12.0f), 2.0f);
                          return WithCover(Rgba(1.0f, 1.0f, 0.95f, 1.0f), 0.65f * ridge);
                      });
}

CCanvas PaintMist()
{
    return PaintWhole(256, 256, kClear,
                      [](const Point& p, float)
                      {
                          const float n = TileFractal((p.x + 1.0f) * 2.0f, (p.y + 1.0f) * 2.0f, 4, 4, 811u);
                          return WithCover(Rgba(1.0f, 1.0f, 1.0f, 1.0f), SmoothStep(0.35f, 0.8f, n) * 0.85f);
                      });
}

CCanvas PaintMoon()
{
    return PaintWhole(128, 128, kClear,
                      [](const Point& p, float px)
                      {
                          const float r = Length(p);
                          const Rgba halo = WithCover(Hex(0xCFE0FF), 0.45f * std::exp(-(r - 0.4f) * 6.0f) *
                                                                          SmoothStep(1.0f, 0.8f, r));
                          if (r > 0.42f)
                              return halo;
                          // Grey seas on the pale disc.
                          const float seas = TileFractal((p.x + 1.0f) * 3.0f, (p.y + 1.0f) * 3.0f, 6, 2, 907u);
                          const Rgba disc = Mix(Hex(0xF4F7FF), Hex(0xB8C2D6), SmoothStep(0.45f, 0.7f, seas));
                          const float cover = Coverage(r - 0.4f, px);
                          return Mix(halo, disc, cover);
                      });
}

CCanvas PaintMoonRay()
{
    return PaintBeam(Hex(0xD6E4FF));
}

CCanvas PaintRaindrop()
{
    return PaintWhole(32, 32, kClear,
                      [](const Point& p, float px)
                      {
                          // A clear bead: a faint body, a brighter rim and a glint, round so that
                          // it reads the same at any turn.
                          const float r = Length(p);
                          float a = Mix(0.25f, 0.8f, SmoothStep(0.4f, 0.8f, r)) * Coverage(r - 0.85f, px * 1.5f);
                          a = std::max(a, Coverage(CircleDistance(p, Point(-0.25f, -0.3f), 0.18f), px * 2.0f));
                          return WithCover(Hex(0xE8F2FF), a);
                      });
}

CCanvas PaintFirefly()
{
    return PaintWhole(32, 32, kClear,
                      [](const Point& p, float)
                      {
                          const float r = Length(p);
                          const float a = std::min(1.0f, std::exp(-r * r * 12.0f) + 0.35f * std::exp(-r * r * 3.0f));
                          return WithCover(Hex(0xD8FF6A), a * SmoothStep(1.0f, 0.85f, r));
                      });
}

CCanvas PaintLeaves()
{
    CCanvas canvas(128, 128, kClear);
    for (int cell = 0; cell < 4; ++cell)
        canvas.PaintCell((cell % 2) * 64, (cell / 2) * 64, 64, 64,
                         [cell](const Point& p, float px) { return LeafAt(cell, p, px); });
    return canvas;
}
