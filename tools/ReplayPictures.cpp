#include "tools/ReplayPictures.h"

#include "tools/PaintShapes.h"

#include <algorithm>
#include <cmath>

namespace
{
const Rgba kClear(0.0f, 0.0f, 0.0f, 0.0f);
const Rgba kWhite(1.0f, 1.0f, 1.0f, 1.0f);

float Length(const Point& p)
{
    return std::sqrt(p.x * p.x + p.y * p.y);
}

template <typename Shade> CCanvas PaintWhole(int32_t w, int32_t h, Shade shade)
{
    CCanvas canvas(w, h, kClear);
    canvas.PaintCell(0, 0, w, h, shade);
    return canvas;
}

// Lays c over out, as paint does.
void Over(Rgba& out, const Rgba& c)
{
    const float a = c.w + out.w * (1.0f - c.w);
    if (a <= 0.0f)
        return;
    const float keep = out.w * (1.0f - c.w);
    out = Rgba((c.x * c.w + out.x * keep) / a, (c.y * c.w + out.y * keep) / a, (c.z * c.w + out.z * keep) / a, a);
}

// A round button face: a pale disc with a dark rim, the symbol drawn over it by symbol(p, px).
template <typename Symbol> CCanvas PaintButton(Symbol symbol)
{
    return PaintWhole(128, 128,
                      [symbol](const Point& p, float px)
                      {
                          const float r = Length(p);
                          Rgba out = WithCover(Hex(0x0E2A18, 0.55f), Coverage(r - 0.98f, px));
                          Over(out, WithCover(Mix(Hex(0xF7F1D2), Hex(0xCFE3B0), SmoothStep(-0.8f, 0.8f, p.y)),
                                              Coverage(r - 0.88f, px)));
                          Over(out, WithCover(Hex(0x1D4A2C), symbol(p, px)));
                          return out;
                      });
}
} // namespace

CCanvas PaintFinger()
{
    return PaintWhole(64, 128,
                      [](const Point& p, float px)
                      {
                          // p.y runs -1 (tip) to 1 (knuckle), p.x -1..1 across.
                          const float finger = CapsuleDistance(p, Point(0.0f, -0.55f), Point(0.0f, 1.3f), 0.55f, 0.62f);
                          Rgba out = WithCover(Mix(Hex(0xF2C7A5), Hex(0xC98E6B), SmoothStep(-0.6f, 0.7f, p.x)),
                                               Coverage(finger, px));
                          const float nail = EllipseDistance(p, Point(0.0f, -0.6f), 0.34f, 0.3f, 0.0f);
                          Over(out, WithCover(Mix(Hex(0xFBE3D6), Hex(0xE9B9A2), SmoothStep(-0.9f, -0.3f, p.y)),
                                              Coverage(nail, px)));
                          // A crease at the first joint.
                          const float crease = std::fabs(p.y - 0.25f) - 0.015f;
                          Over(out, WithCover(Hex(0xA8694C, 0.5f), Coverage(crease, px) * Coverage(finger + 0.15f, px)));
                          return out;
                      });
}

CCanvas PaintReplayButton()
{
    return PaintButton(
        [](const Point& p, float px)
        {
            // Three quarters of a ring, from the top round to the left, and an arrow head at its end.
            const float r = Length(p);
            const float angle = std::atan2(p.y, p.x);
            const bool open = angle < -1.57f && angle > -2.6f;
            const float ring = open ? 1.0f : std::fabs(r - 0.48f) - 0.08f;
            const float head = PolygonDistance(p, {Point(-0.6f, -0.5f), Point(-0.2f, -0.62f), Point(-0.42f, -0.18f)});
            return std::max(Coverage(ring, px), Coverage(head, px));
        });
}

CCanvas PaintPlayButton()
{
    return PaintButton([](const Point& p, float px)
                       { return Coverage(PolygonDistance(p, {Point(-0.3f, -0.45f), Point(0.5f, 0.0f), Point(-0.3f, 0.45f)}), px); });
}

CCanvas PaintReplayEdgeBelow()
{
    return PaintWhole(8, 32, [](const Point& p, float) { return WithCover(Hex(0x000000), 0.7f * SmoothStep(1.0f, -1.0f, p.y)); });
}

CCanvas PaintReplayEdgeAbove()
{
    return PaintWhole(8, 32, [](const Point& p, float) { return WithCover(kWhite, 0.7f * SmoothStep(-1.0f, 1.0f, p.y)); });
}
