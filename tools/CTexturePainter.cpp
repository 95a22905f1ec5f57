#include "tools/CTexturePainter.h"

#include "tools/CCanvas.h"
#include "tools/PaintShapes.h"
#include "tools/PondPictures.h"
#include "tools/ReplayPictures.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace
{
constexpr float kPi = 3.14159265f;
const Rgba kClear(0.0f, 0.0f, 0.0f, 0.0f);
const Rgba kWhite(1.0f, 1.0f, 1.0f, 1.0f);

// The pond's palette.
const Rgba kDeepWater = Hex(0x0B3440);
const Rgba kWater = Hex(0x1D6B6B);
const Rgba kShallow = Hex(0x6FC3B0);
const Rgba kPadDark = Hex(0x245C2A);
const Rgba kPad = Hex(0x3F913B);
const Rgba kPadLight = Hex(0x8FD06E);
const Rgba kPink = Hex(0xF49AC1);
const Rgba kPinkLight = Hex(0xFFE6F1);
const Rgba kGold = Hex(0xFFD23F);
const Rgba kFrogDark = Hex(0x17348A);
const Rgba kFrog = Hex(0x2F7BE0);
const Rgba kFrogLight = Hex(0x8CCBFF);
const Rgba kSpot = Hex(0x0A1230);
const Rgba kCream = Hex(0xFFF6DC);

float Length(const Point& p)
{
    return std::hypot(p.x, p.y);
}

Point Rotate(const Point& p, float angle)
{
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    return Point(p.x * c - p.y * s, p.x * s + p.y * c);
}

// Angle difference folded into [0, pi].
float AngleApart(float a, float b)
{
    float d = std::fmod(std::fabs(a - b), 2.0f * kPi);
    return d > kPi ? 2.0f * kPi - d : d;
}

// Pond water at a point given in lattice cells of the noise (period cells repeat).
Rgba WaterAt(float x, float y, int32_t period, uint32_t seed)
{
    const float depth = TileFractal(x, y, period, 4, seed);
    Rgba colour = Mix(kDeepWater, kWater, SmoothStep(0.2f, 0.8f, depth));
    // Caustics: thin bright lines where a second noise crosses its middle.
    const float ridge =
        1.0f - std::fabs(2.0f * TileFractal(x * 2.0f, y * 2.0f, period * 2, 3, seed + 17u) - 1.0f);
    colour = Mix(colour, kShallow, 0.35f * std::pow(ridge, 8.0f));
    return colour;
}

// A lily pad of radius r centred at the origin of p, its notch pointing at the angle notch
// (radians, 0 = right, y down), over the pixel width px. Alpha is the pad's coverage.
Rgba PadAt(const Point& p, float r, float notch, float px, uint32_t seed)
{
    const float radius = Length(p);
    const float angle = std::atan2(p.y, p.x);
    const float apart = AngleApart(angle, notch);
    const float wedge = radius * std::sin(std::min(apart, kPi * 0.5f) - 0.16f);
    // Edges ripple a little, so that pads do not look cut out with compasses.
    const float wobble = 0.015f * std::sin(angle * 7.0f + float(seed)) * r;
    const float d = std::max(radius - r - wobble, -wedge);
    const float cover = Coverage(d, px * 1.2f);
    if (cover <= 0.0f)
        return kClear;
    const float inside = std::clamp(-d / r, 0.0f, 1.0f);
    Rgba colour = Mix(kPadDark, kPad, SmoothStep(0.0f, 0.35f, inside));
    // Light from the upper left.
    colour = Mix(colour, kPadLight, 0.35f * SmoothStep(0.3f, -0.6f, (p.x + p.y) / r) * inside);
    // Radial veins from the notch's root, fading towards the rim.
    const float veins = std::fabs(std::sin((angle - notch) * 9.0f));
    colour =
        Mix(colour, kPadLight, 0.45f * SmoothStep(0.12f, 0.0f, veins) * SmoothStep(1.0f, 0.3f, radius / r));
    colour =
        Mix(colour, kPadDark, 0.25f * TileFractal(p.x / r * 3.0f + 8.0f, p.y / r * 3.0f + 8.0f, 64, 3, seed));
    // A dark rim with a fine light lip.
    colour = Mix(colour, kPadDark, 0.6f * SmoothStep(0.06f, 0.0f, -d / r));
    return WithCover(colour, cover);
}

// A water lily seen from above: petals in two rings around a gold heart; open 0 (a closed bud)
// to 1 (in full bloom). Radius r at full bloom.
Rgba LilyAt(const Point& p, float r, float open, float px)
{
    Rgba out = kClear;
    auto over = [&out](const Rgba& c)
    {
        const float a = c.w + out.w * (1.0f - c.w);
        if (a > 0.0f)
        {
            const float keep = out.w * (1.0f - c.w);
            out = Rgba((c.x * c.w + out.x * keep) / a, (c.y * c.w + out.y * keep) / a,
                       (c.z * c.w + out.z * keep) / a, a);
        }
    };
    if (open < 0.15f)
    {
        // A bud: a pointed green-pink oval that swells as it nears opening.
        const float swell = 0.6f + 2.6f * open;
        const float d = EllipseDistance(p, Point(0, 0), r * 0.16f * swell, r * 0.24f * swell, 0.3f);
        const Rgba bud = Mix(kPink, kPadDark, 0.35f + 0.4f * SmoothStep(-0.3f, 0.3f, p.y / r));
        over(WithCover(bud, Coverage(d, px)));
        return out;
    }
    for (int ring = 0; ring < 2; ++ring)
    {
        const int petals = 8;
        const float spread = ring == 0 ? open : std::max(0.0f, open * 1.2f - 0.2f);
        const float length = r * (ring == 0 ? 0.55f : 0.42f) * (0.5f + 0.5f * spread);
        for (int i = 0; i < petals; ++i)
        {
            const float a = (float(i) + (ring == 0 ? 0.0f : 0.5f)) * 2.0f * kPi / float(petals);
            const Point dir(std::sin(a), -std::cos(a));
            const float reach = length * (0.35f + 0.65f * spread);
            const Point tip(dir.x * reach * 1.6f, dir.y * reach * 1.6f);
            const Point mid(dir.x * reach * 0.8f, dir.y * reach * 0.8f);
            const float d = EllipseDistance(p, mid, length * 0.28f, reach * 0.85f, a);
            const float along =
                std::clamp(Length(Point(p.x - tip.x, p.y - tip.y)) / (reach * 1.6f), 0.0f, 1.0f);
            const Rgba colour =
                Mix(ring == 0 ? kPink : Mix(kPink, kPinkLight, 0.6f), kPinkLight, along * 0.8f);
            over(WithCover(colour, Coverage(d, px)));
        }
    }
    const float heart = CircleDistance(p, Point(0, 0), r * 0.13f * open);
    over(WithCover(Mix(kGold, Hex(0xE8A317), SmoothStep(-r * 0.1f, r * 0.1f, p.x + p.y)),
                   Coverage(heart, px)));
    return out;
}

// A frog's skin from above at a point of a part whose signed distance is d (negative inside)
// and whose half thickness is thick; spots come from the noise seed.
Rgba SkinAt(const Point& p, float d, float thick, float px, uint32_t seed, bool spotted)
{
    const float cover = Coverage(d, px);
    if (cover <= 0.0f)
        return kClear;
    const float dome = std::sqrt(std::clamp(-d / thick, 0.0f, 1.0f));
    Rgba colour = Mix(kFrogDark, kFrog, dome);
    colour = Mix(colour, kFrogLight,
                 0.45f * SmoothStep(0.4f, 1.0f, dome) *
                     SmoothStep(0.5f, -0.5f, (p.x + p.y * 1.5f) / (thick * 2.0f)));
    if (spotted)
    {
        const float n = TileFractal(p.x * 0.045f + 3.0f, p.y * 0.045f + 3.0f, 1024, 3, seed);
        colour = Mix(colour, kSpot, SmoothStep(0.62f, 0.66f, n));
    }
    colour = Mix(colour, kFrogDark, 0.5f * SmoothStep(0.12f, 0.0f, -d / thick));
    return WithCover(colour, cover);
}

// One part of the frog sheet: its rectangle in pixels and how to paint it in pixel coordinates
// relative to the rectangle's top-left corner.
struct FrogPart
{
    const char* name;
    int32_t x, y, w, h;
    std::function<Rgba(const Point&, float)> paint;
};

// The parts of the "frog" sheet (512 x 512). Pins are where the species pins a part to its joints:
// uv = pixel / 512, relative to the part's corner.
//   torso     0,0 192x256      pins (96,40) shoulders, (96,216) hips
//   head      192,0 128x128    pins (64,108) neck, (64,20) snout; eye centres (30,54), (98,54)
//   eyeball   320,0 64x64      looks up; eyelid 384,0 64x64; highlight 448,0 64x64
//   spot      320,64 64x64     a round dark spot; spot2 384,64 64x64 a smaller one
//   toe       448,64 32x96     pad at the top (the toe's tip), stem below
//   tongue    480,64 32x128    root at the top, sticky tip at the bottom
//   upperarm  0,256 64x128     pins (32,20), (32,108)
//   forearm   64,256 64x128    pins (32,20), (32,108)
//   thigh     128,256 96x192   pins (48,28), (48,164)
//   shin      224,256 80x192   pins (40,24), (40,168)
//   palm      304,256 64x64    a webbed palm, fingers up
std::vector<FrogPart> FrogParts()
{
    const float px = 1.0f;
    std::vector<FrogPart> parts;
    parts.push_back({"torso", 0, 0, 192, 256,
                     [px](const Point& p, float)
                     {
                         const float d = CapsuleDistance(p, Point(96, 78), Point(96, 178), 78, 56);
                         return SkinAt(p, d, 70.0f, px, 11u, true);
                     }});
    parts.push_back({"head", 192, 0, 128, 128,
                     [px](const Point& p, float)
                     {
                         const float skull = EllipseDistance(p, Point(64, 70), 56, 44, 0.0f);
                         const float snout = EllipseDistance(p, Point(64, 40), 36, 26, 0.0f);
                         const float d = std::min(skull, snout);
                         Rgba skin = SkinAt(p, d, 44.0f, px, 23u, false);
                         // Dark sockets where the eyes sit, and two nostrils.
                         for (float ex : {30.0f, 98.0f})
                             skin = Mix(skin, Rgba(kSpot.x, kSpot.y, kSpot.z, skin.w),
                                        Coverage(CircleDistance(p, Point(ex, 54), 19), 4.0f));
                         for (float nx : {54.0f, 74.0f})
                             skin = Mix(skin, Rgba(kSpot.x, kSpot.y, kSpot.z, skin.w),
                                        Coverage(CircleDistance(p, Point(nx, 24), 2.5f), px));
                         return skin;
                     }});
    parts.push_back({"eyeball", 320, 0, 64, 64,
                     [px](const Point& p, float)
                     {
                         const float d = CircleDistance(p, Point(32, 32), 27);
                         Rgba eye = Mix(Hex(0x05070F), Hex(0x1E2C55),
                                        SmoothStep(26, 10, Length(Point(p.x - 32, p.y - 26))));
                         eye = Mix(eye, Hex(0x020308), Coverage(CircleDistance(p, Point(32, 22), 9), 2.0f));
                         return WithCover(eye, Coverage(d, px));
                     }});
    parts.push_back({"eyelid", 384, 0, 64, 64,
                     [px](const Point& p, float)
                     {
                         // A rim of skin around the eye, thicker over its top.
                         const float outer = CircleDistance(p, Point(32, 32), 30);
                         const float inner = CircleDistance(p, Point(32, 36), 25);
                         const float d = std::max(outer, -inner);
                         return SkinAt(p, d, 6.0f, px, 5u, false);
                     }});
    parts.push_back({"highlight", 448, 0, 64, 64,
                     [](const Point& p, float)
                     {
                         const float d = EllipseDistance(p, Point(24, 22), 11, 8, -0.6f);
                         return WithCover(kWhite, 0.9f * Coverage(d, 5.0f));
                     }});
    parts.push_back({"spot", 320, 64, 64, 64, [](const Point& p, float) {
                         return WithCover(kSpot, Coverage(CircleDistance(p, Point(32, 32), 24), 3.0f));
                     }});
    parts.push_back({"spot2", 384, 64, 64, 64,
                     [](const Point& p, float)
                     {
                         const float d = EllipseDistance(p, Point(32, 32), 20, 13, 0.5f);
                         return WithCover(kSpot, Coverage(d, 3.0f));
                     }});
    parts.push_back({"toe", 448, 64, 32, 96,
                     [px](const Point& p, float)
                     {
                         const float stem = CapsuleDistance(p, Point(16, 20), Point(16, 84), 6, 8);
                         const float pad = CircleDistance(p, Point(16, 16), 12);
                         return SkinAt(p, std::min(stem, pad), 9.0f, px, 7u, false);
                     }});
    parts.push_back({"tongue", 480, 64, 32, 128,
                     [px](const Point& p, float)
                     {
                         const float strip = CapsuleDistance(p, Point(16, 6), Point(16, 108), 7, 9);
                         const float tip = CircleDistance(p, Point(16, 112), 13);
                         const float d = std::min(strip, tip);
                         Rgba colour =
                             Mix(Hex(0xC2456E), Hex(0xFF9DB8), SmoothStep(8, 0, std::fabs(p.x - 16)));
                         colour = Mix(colour, Hex(0xE8577E), Coverage(tip, 2.0f) * 0.6f);
                         return WithCover(colour, Coverage(d, px));
                     }});
    auto limb = [px](float cx, float top, float bottom, float rTop, float rBottom, uint32_t seed)
    {
        return [=](const Point& p, float)
        {
            const float d = CapsuleDistance(p, Point(cx, top), Point(cx, bottom), rTop, rBottom);
            return SkinAt(p, d, std::max(rTop, rBottom), px, seed, true);
        };
    };
    parts.push_back({"upperarm", 0, 256, 64, 128, limb(32, 22, 106, 20, 15, 31u)});
    parts.push_back({"forearm", 64, 256, 64, 128, limb(32, 22, 106, 16, 12, 37u)});
    parts.push_back({"thigh", 128, 256, 96, 192, limb(48, 34, 160, 34, 22, 41u)});
    parts.push_back({"shin", 224, 256, 80, 192, limb(40, 28, 166, 26, 16, 43u)});
    parts.push_back({"palm", 304, 256, 64, 64,
                     [px](const Point& p, float)
                     {
                         float d = EllipseDistance(p, Point(32, 40), 18, 14, 0.0f);
                         for (int i = 0; i < 4; ++i)
                         {
                             const float a = -0.75f + 0.5f * float(i);
                             const Point tip(32 + 22 * std::sin(a), 40 - 28 * std::cos(a));
                             d = std::min(d, CapsuleDistance(p, Point(32, 40), tip, 6, 4));
                             d = std::min(d, CircleDistance(p, tip, 6.5f));
                         }
                         return SkinAt(p, d, 12.0f, px, 47u, false);
                     }});
    return parts;
}

CCanvas PaintFrog()
{
    CCanvas canvas(512, 512, kClear);
    for (const FrogPart& part : FrogParts())
        for (int32_t y = 0; y < part.h; ++y)
            for (int32_t x = 0; x < part.w; ++x)
                canvas.Blend(part.x + x, part.y + y,
                             part.paint(Point(float(x) + 0.5f, float(y) + 0.5f), 1.0f));
    return canvas;
}

// Dark blurred silhouettes of the frog's parts, at the same places.
CCanvas PaintFrogShadow()
{
    CCanvas canvas = PaintFrog();
    for (int32_t y = 0; y < canvas.GetHeight(); ++y)
        for (int32_t x = 0; x < canvas.GetWidth(); ++x)
            canvas.Set(x, y, Rgba(0.0f, 0.06f, 0.02f, canvas.Get(x, y).w));
    canvas.Blur(5.0f);
    canvas.ScaleAlpha(0.85f);
    return canvas;
}

CCanvas PaintWater()
{
    CCanvas canvas(512, 512, kClear);
    canvas.PaintCell(0, 0, 512, 512,
                     [](const Point& p, float)
                     { return WaterAt((p.x + 1.0f) * 4.0f, (p.y + 1.0f) * 4.0f, 8, 101u); });
    return canvas;
}

CCanvas PaintBoard()
{
    CCanvas canvas(512, 512, kClear);
    canvas.PaintCell(
        0, 0, 512, 512,
        [](const Point& p, float)
        {
            const float x = (p.x + 1.0f) * 6.0f;
            const float y = (p.y + 1.0f) * 6.0f;
            // Sandy shallows with pebbles, under a film of light water.
            Rgba floor = Mix(Hex(0x5E8F6A), Hex(0x8DB58A), TileFractal(x, y, 12, 4, 201u));
            const float cellX = std::floor(x * 1.5f);
            const float cellY = std::floor(y * 1.5f);
            const float jx = Hash01(int32_t(cellX), int32_t(cellY), 7u);
            const float jy = Hash01(int32_t(cellX), int32_t(cellY), 8u);
            const float pebble =
                Length(Point(x * 1.5f - cellX - 0.25f - 0.5f * jx, y * 1.5f - cellY - 0.25f - 0.5f * jy));
            floor = Mix(floor, Hex(0x4C7457),
                        0.5f * SmoothStep(0.24f, 0.16f, pebble) * Hash01(int32_t(cellX), int32_t(cellY), 9u));
            const float ridge = 1.0f - std::fabs(2.0f * TileFractal(x * 0.7f, y * 0.7f, 64, 3, 203u) - 1.0f);
            floor = Mix(floor, Hex(0xD8F5DA), 0.4f * std::pow(ridge, 10.0f));
            // Opaque inside, so the ponds draw no water beneath it; a tenth of the water's mean
            // colour keeps the tone the thin film once let through.
            floor = Mix(floor, Hex(0x1D5A5E), 0.1f);
            const float edge = std::max(std::fabs(p.x), std::fabs(p.y));
            return WithCover(floor, SmoothStep(1.0f, 0.86f, edge));
        });
    return canvas;
}

CCanvas PaintLilyPads()
{
    CCanvas canvas(512, 512, kClear);
    const float notches[4] = {0.6f, 2.4f, -1.2f, 4.0f};
    for (int i = 0; i < 4; ++i)
    {
        const int32_t x = (i % 2) * 256;
        const int32_t y = (i / 2) * 256;
        canvas.PaintCell(x, y, 256, 256,
                         [i, &notches](const Point& p, float px)
                         { return PadAt(p, 0.9f - 0.04f * float(i), notches[i], px, uint32_t(i)); });
        if (i == 3)
            canvas.PaintCell(x, y, 256, 256,
                             [](const Point& p, float px)
                             { return LilyAt(Point(p.x + 0.1f, p.y + 0.1f), 0.7f, 1.0f, px); });
    }
    return canvas;
}

// A print of a frog's hand (four fingers) or foot (five webbed toes), pointing up.
float PrintDistance(const Point& p, bool foot)
{
    const Point palm(0.0f, 0.22f);
    float d = EllipseDistance(p, palm, 0.17f, 0.14f, 0.0f);
    const int fingers = foot ? 5 : 4;
    for (int i = 0; i < fingers; ++i)
    {
        const float a = (float(i) - float(fingers - 1) * 0.5f) * (foot ? 0.36f : 0.42f);
        const float reach = foot ? 0.5f : 0.42f;
        const Point tip(palm.x + reach * std::sin(a), palm.y - reach * std::cos(a));
        d = std::min(d, CapsuleDistance(p, palm, tip, 0.05f, 0.04f));
        d = std::min(d, CircleDistance(p, tip, 0.075f));
    }
    if (foot)
        d = std::min(d, EllipseDistance(p, Point(0.0f, -0.02f), 0.3f, 0.16f, 0.0f)); // the web
    return d;
}

CCanvas PaintKnobs()
{
    CCanvas canvas(256, 256, kClear);
    for (int i = 0; i < 4; ++i)
    {
        const int32_t x = (i % 2) * 128;
        const int32_t y = (i / 2) * 128;
        canvas.PaintCell(
            x, y, 128, 128,
            [i](const Point& p, float px)
            {
                // A soft shadow beneath, then the pad.
                Rgba out = WithCover(Hex(0x04161A),
                                     0.45f * Coverage(CircleDistance(p, Point(0.05f, 0.08f), 0.8f), 0.2f));
                const Rgba pad = PadAt(p, 0.84f, 0.9f + float(i), px, uint32_t(40 + i));
                return pad.w > 0.0f ? Rgba(pad.x, pad.y, pad.z, pad.w + out.w * (1.0f - pad.w)) : out;
            });
        if (i == 1)
            canvas.PaintCell(x, y, 128, 128,
                             [](const Point& p, float px) { return LilyAt(p, 0.62f, 1.0f, px); });
        if (i >= 2)
            canvas.PaintCell(x, y, 128, 128,
                             [i](const Point& p, float px)
                             {
                                 const float d = PrintDistance(Point(p.x, p.y + 0.05f), i == 3);
                                 return WithCover(kCream, 0.92f * Coverage(d, px * 1.5f));
                             });
    }
    return canvas;
}

CCanvas PaintRadial(int32_t size, const std::function<float(float)>& alphaAtRadius, const Rgba& colour)
{
    CCanvas canvas(size, size, kClear);
    canvas.PaintCell(0, 0, size, size,
                     [&](const Point& p, float)
                     { return WithCover(colour, std::clamp(alphaAtRadius(Length(p)), 0.0f, 1.0f)); });
    return canvas;
}

CCanvas PaintSparkle()
{
    CCanvas canvas(64, 64, kClear);
    canvas.PaintCell(0, 0, 64, 64,
                     [](const Point& p, float)
                     {
                         const float r = Length(p);
                         const float arms =
                             std::exp(-std::fabs(p.x) * 14.0f) + std::exp(-std::fabs(p.y) * 14.0f);
                         const float a =
                             std::min(1.0f, arms * SmoothStep(1.0f, 0.0f, r) + std::exp(-r * r * 30.0f));
                         return WithCover(kWhite, a * SmoothStep(1.0f, 0.9f, r));
                     });
    return canvas;
}

CCanvas PaintRay()
{
    CCanvas canvas(64, 256, kClear);
    canvas.PaintCell(0, 0, 64, 256,
                     [](const Point& p, float)
                     {
                         const float across = std::pow(std::max(0.0f, 1.0f - std::fabs(p.x)), 2.0f);
                         const float along = SmoothStep(-1.0f, -0.7f, p.y) * SmoothStep(1.0f, -0.2f, p.y);
                         return WithCover(Hex(0xFFF7D6), across * along * 0.8f);
                     });
    return canvas;
}

// Cells of a sheet: n across, each size pixels, painted by paint(cell index, p, px).
CCanvas PaintSheet(int32_t width, int32_t height, int32_t size,
                   const std::function<Rgba(int, const Point&, float)>& paint)
{
    CCanvas canvas(width, height, kClear);
    const int32_t across = width / size;
    for (int32_t cell = 0; cell < across * (height / size); ++cell)
        canvas.PaintCell((cell % across) * size, (cell / across) * size, size, size,
                         [&](const Point& p, float px) { return paint(int(cell), p, px); });
    return canvas;
}

Rgba FlyAt(int frame, const Point& p, float px)
{
    Rgba out = kClear;
    auto over = [&out](const Rgba& c)
    {
        const float a = c.w + out.w * (1.0f - c.w);
        if (a > 0.0f)
        {
            const float keep = out.w * (1.0f - c.w);
            out = Rgba((c.x * c.w + out.x * keep) / a, (c.y * c.w + out.y * keep) / a,
                       (c.z * c.w + out.z * keep) / a, a);
        }
    };
    const Point mirror(std::fabs(p.x), p.y);
    // Legs, only while standing.
    if (frame == 0 || frame == 3)
        for (int i = 0; i < 3; ++i)
        {
            const float y = -0.12f + 0.14f * float(i) + (frame == 3 ? 0.05f * float(i % 2) : 0.0f);
            const Point knee(0.34f, y - 0.08f + 0.12f * float(i));
            const Point foot(0.42f, y + 0.12f + 0.1f * float(i));
            const float d = std::min(CapsuleDistance(mirror, Point(0.06f, y), knee, 0.025f, 0.02f),
                                     CapsuleDistance(mirror, knee, foot, 0.02f, 0.015f));
            over(WithCover(Hex(0x1A1A1A), Coverage(d, px)));
        }
    // Abdomen and thorax.
    const float abdomen = EllipseDistance(p, Point(0.0f, 0.26f), 0.2f, 0.32f, 0.0f);
    Rgba belly = Mix(Hex(0x4A4F57), Hex(0x1C1F24), 0.5f + 0.5f * std::sin(p.y * 40.0f));
    belly = Mix(belly, Hex(0x7D8690), 0.4f * SmoothStep(0.1f, -0.15f, p.x));
    over(WithCover(belly, Coverage(abdomen, px)));
    const float thorax = EllipseDistance(p, Point(0.0f, -0.1f), 0.2f, 0.18f, 0.0f);
    over(WithCover(Mix(Hex(0x2B2F36), Hex(0x55606B), SmoothStep(0.1f, -0.2f, p.x + p.y)),
                   Coverage(thorax, px)));
    // Wings: folded back over the body at rest, spread out in flight.
    const float spreads[4] = {0.25f, 1.25f, 0.7f, 0.3f};
    const float wingAlpha = frame == 2 ? 0.45f : 0.6f;
    const float a = spreads[frame];
    const Point root(0.05f, -0.08f);
    const Point dir(std::sin(a), std::cos(a));
    const Point centre(root.x + dir.x * 0.36f, root.y + dir.y * 0.36f);
    const float wing = EllipseDistance(mirror, centre, 0.14f, 0.38f, -a);
    const float veins = std::fabs(std::sin((mirror.x - root.x) * 30.0f + (mirror.y - root.y) * 10.0f));
    Rgba membrane = Mix(Hex(0xDDEEFF), Hex(0x8FA6C0), SmoothStep(0.1f, 0.0f, veins) * 0.6f);
    membrane = Mix(membrane, kWhite, 0.5f * SmoothStep(0.0f, -0.08f, wing));
    over(WithCover(membrane, wingAlpha * Coverage(wing, px)));
    // Head with red compound eyes.
    over(WithCover(Hex(0x2B2F36), Coverage(EllipseDistance(p, Point(0.0f, -0.34f), 0.16f, 0.11f, 0.0f), px)));
    const float eye = CircleDistance(mirror, Point(0.1f, -0.36f), 0.1f);
    over(WithCover(Mix(Hex(0x8E1B12), Hex(0xE8503A), SmoothStep(0.06f, -0.06f, p.x * 0.3f + p.y + 0.4f)),
                   Coverage(eye, px)));
    return out;
}

Rgba PetalAt(int cell, const Point& p, float px)
{
    if (cell == 3)
        return WithCover(Hex(0xFFC4DC),
                         std::exp(-Length(p) * Length(p) * 4.0f) * SmoothStep(1.0f, 0.8f, Length(p)));
    const float d = CapsuleDistance(p, Point(0.0f, 0.7f), Point(0.0f, -0.3f), 0.1f, 0.42f);
    const Rgba base[3] = {kPink, Hex(0xFFFFFF), Hex(0xFFE37A)};
    const Rgba tip[3] = {kPinkLight, kPink, Hex(0xFFF6C8)};
    Rgba colour = Mix(base[cell], tip[cell], SmoothStep(0.7f, -0.7f, p.y));
    // A crease down the middle and a soft sheen.
    colour = Mix(colour, Mix(base[cell], Hex(0x9C4A6E), 0.3f),
                 0.35f * SmoothStep(0.05f, 0.0f, std::fabs(p.x)) * SmoothStep(0.75f, 0.0f, p.y));
    colour = Mix(colour, kWhite, 0.3f * SmoothStep(0.2f, -0.3f, p.x + 0.2f) * SmoothStep(-0.1f, -0.4f, d));
    return WithCover(colour, Coverage(d, px));
}

CCanvas PaintBorder()
{
    CCanvas canvas(128, 128, kClear);
    canvas.PaintCell(0, 0, 128, 128,
                     [](const Point& p, float px)
                     {
                         // The open centre reaches 12 pixels into the 32-pixel band, its corners rounded
                         // within the corner squares, so that the stretched edges stay the same along their
                         // length.
                         const float d =
                             RoundBoxDistance(p, Point(0, 0), 44.0f / 64.0f, 44.0f / 64.0f, 12.0f / 64.0f);
                         const Rgba frame = Mix(Hex(0x0F2418), Hex(0x27503A), SmoothStep(-0.3f, 0.0f, -d));
                         if (d > 0.0f)
                         {
                             const Rgba lip = Mix(frame, Hex(0x7FC08A), SmoothStep(0.04f, 0.0f, d) * 0.8f);
                             return WithCover(lip, Coverage(-d, px));
                         }
                         return WithCover(Hex(0x0F2418), 0.45f * SmoothStep(-10.0f / 64.0f, 0.0f, d));
                     });
    return canvas;
}

// An arc of a ring between the angles a0 and a1 (radians, clockwise from up, a0 < a1) with round
// ends, radius r, half thickness w.
float ArcDistance(const Point& p, float r, float w, float a0, float a1)
{
    const float a = std::atan2(p.x, -p.y);
    float best = 1e9f;
    for (float turn : {-2.0f * kPi, 0.0f, 2.0f * kPi})
        if (a + turn >= a0 && a + turn <= a1)
            best = std::fabs(Length(p) - r) - w;
    for (float end : {a0, a1})
        best = std::min(best, CircleDistance(p, Point(r * std::sin(end), -r * std::cos(end)), w));
    return best;
}

// An arrow head at the angle a of a circle of radius r, pointing along the circle clockwise
// (dir 1) or anticlockwise (dir -1).
std::vector<Point> ArrowHead(float r, float a, float dir, float size)
{
    const Point at(r * std::sin(a), -r * std::cos(a));
    const Point along(dir * std::cos(a), dir * std::sin(a));
    const Point out(std::sin(a), -std::cos(a));
    return {Point(at.x + along.x * size * 1.1f, at.y + along.y * size * 1.1f),
            Point(at.x + out.x * size - along.x * size * 0.3f, at.y + out.y * size - along.y * size * 0.3f),
            Point(at.x - out.x * size - along.x * size * 0.3f, at.y - out.y * size - along.y * size * 0.3f)};
}

float IconDistance(int icon, Point p)
{
    switch (icon)
    {
    case 0: // undo: an arc turning anticlockwise, its head at the left
    case 1: // redo: the mirror
    {
        if (icon == 1)
            p.x = -p.x;
        const float arc = ArcDistance(p, 0.32f, 0.07f, -1.6f, 1.9f);
        return std::min(arc, PolygonDistance(p, ArrowHead(0.32f, -1.6f, -1.0f, 0.17f)));
    }
    case 2: // hint: a light bulb
        return std::min({CircleDistance(p, Point(0.0f, -0.12f), 0.27f),
                         PolygonDistance(p, {Point(-0.15f, 0.05f), Point(0.15f, 0.05f), Point(0.1f, 0.24f),
                                             Point(-0.1f, 0.24f)}),
                         RoundBoxDistance(p, Point(0.0f, 0.33f), 0.11f, 0.06f, 0.03f)});
    case 3: // menu: three bars
        return std::min({RoundBoxDistance(p, Point(0.0f, -0.24f), 0.36f, 0.065f, 0.065f),
                         RoundBoxDistance(p, Point(0.0f, 0.0f), 0.36f, 0.065f, 0.065f),
                         RoundBoxDistance(p, Point(0.0f, 0.24f), 0.36f, 0.065f, 0.065f)});
    case 4: // play
        return PolygonDistance(p, {Point(-0.2f, -0.34f), Point(0.36f, 0.0f), Point(-0.2f, 0.34f)}) - 0.03f;
    case 5: // home
        return std::min(PolygonDistance(p, {Point(0.0f, -0.4f), Point(0.4f, -0.02f), Point(-0.4f, -0.02f)}) -
                            0.02f,
                        std::max(RoundBoxDistance(p, Point(0.0f, 0.15f), 0.26f, 0.2f, 0.03f),
                                 -RoundBoxDistance(p, Point(0.0f, 0.25f), 0.07f, 0.12f, 0.02f)));
    case 6: // sound on: a speaker and two waves
    case 7: // sound off: a speaker and a cross
    {
        const Point q(p.x + 0.14f, p.y);
        float d = PolygonDistance(q, {Point(-0.22f, -0.1f), Point(-0.08f, -0.1f), Point(0.1f, -0.28f),
                                      Point(0.1f, 0.28f), Point(-0.08f, 0.1f), Point(-0.22f, 0.1f)}) -
                  0.02f;
        if (icon == 6)
            for (float r : {0.2f, 0.34f})
                d = std::min(d, ArcDistance(Point(q.x - 0.1f, q.y), r, 0.045f, 0.75f, 2.4f));
        else
            for (float s : {-1.0f, 1.0f})
                d = std::min(
                    d, CapsuleDistance(p, Point(0.16f, -0.13f * s), Point(0.4f, 0.13f * s), 0.05f, 0.05f));
        return d;
    }
    case 8: // quit: a cross
        return std::min(CapsuleDistance(p, Point(-0.27f, -0.27f), Point(0.27f, 0.27f), 0.08f, 0.08f),
                        CapsuleDistance(p, Point(0.27f, -0.27f), Point(-0.27f, 0.27f), 0.08f, 0.08f));
    case 9: // settings: a gear
    {
        const float a = std::atan2(p.y, p.x);
        const float r = 0.28f + 0.1f * SmoothStep(-0.3f, 0.3f, std::cos(a * 8.0f));
        return std::max(Length(p) - r, -CircleDistance(p, Point(0, 0), 0.12f));
    }
    case 10: // next
    case 13: // back
    {
        if (icon == 13)
            p.x = -p.x;
        return std::min(CapsuleDistance(p, Point(-0.1f, -0.28f), Point(0.16f, 0.0f), 0.08f, 0.08f),
                        CapsuleDistance(p, Point(0.16f, 0.0f), Point(-0.1f, 0.28f), 0.08f, 0.08f));
    }
    case 11: // reset: a nearly closed circle with its head at the top
        return std::min(ArcDistance(p, 0.3f, 0.07f, 0.5f, 5.6f),
                        PolygonDistance(p, ArrowHead(0.3f, 0.5f, -1.0f, 0.16f)));
    case 12: // ok: a tick
        return std::min(CapsuleDistance(p, Point(-0.3f, 0.0f), Point(-0.08f, 0.24f), 0.08f, 0.08f),
                        CapsuleDistance(p, Point(-0.08f, 0.24f), Point(0.32f, -0.24f), 0.08f, 0.08f));
    default:
        return 1e9f;
    }
}

Rgba ButtonAt(int icon, const Point& p, float px)
{
    if (icon == 15)
    {
        // A glowing ring for hover and highlight looks.
        const float ring = std::fabs(Length(p) - 0.86f);
        return WithCover(kWhite, std::exp(-ring * ring * 180.0f));
    }
    const float face = CircleDistance(p, Point(0, 0), 0.84f);
    const float shadow = CircleDistance(p, Point(0.0f, 0.06f), 0.86f);
    Rgba out = WithCover(Hex(0x02120C), 0.5f * Coverage(shadow, 0.14f));
    if (face < px)
    {
        Rgba colour = Mix(Hex(0x5DB053), Hex(0x22652C), SmoothStep(-0.8f, 0.8f, p.y));
        colour = Mix(colour, Hex(0xB9EFA0), SmoothStep(0.06f, 0.0f, -face) * SmoothStep(0.3f, -0.6f, p.y));
        colour = Mix(colour, Hex(0x174A20), SmoothStep(0.05f, 0.0f, -face) * SmoothStep(-0.3f, 0.6f, p.y));
        const float icon_d = IconDistance(icon, p);
        // The icon sits in a shallow groove: a dark edge below it, then the cream shape.
        colour = Mix(colour, Hex(0x1B4A22), 0.5f * Coverage(IconDistance(icon, Point(p.x, p.y - 0.03f)), px));
        colour = Mix(colour, kCream, Coverage(icon_d, px));
        const float cover = Coverage(face, px);
        out = Rgba(Mix(out.x, colour.x, cover), Mix(out.y, colour.y, cover), Mix(out.z, colour.z, cover),
                   cover + out.w * (1.0f - cover));
    }
    return out;
}

Rgba StarAt(int cell, const Point& p, float px)
{
    const std::vector<Point> corners = StarCorners(Point(0.0f, 0.05f), 0.86f, 0.4f, 5, 0.0f);
    const float d = PolygonDistance(p, corners) - 0.04f;
    if (cell == 0)
    {
        Rgba colour = Mix(Hex(0xFFE98A), Hex(0xF0A020), SmoothStep(-0.6f, 0.7f, p.y + p.x * 0.3f));
        colour = Mix(colour, Hex(0xB86E00), SmoothStep(0.0f, 0.08f, d + 0.08f));
        colour = Mix(colour, kWhite,
                     0.5f * Coverage(EllipseDistance(p, Point(-0.15f, -0.2f), 0.12f, 0.06f, -0.7f), 0.06f));
        return WithCover(colour, Coverage(d, px));
    }
    const float rim = std::fabs(d + 0.05f) - 0.05f;
    const Rgba inside = WithCover(Hex(0x1E3A30), 0.35f * Coverage(d, px));
    const Rgba edge = WithCover(Hex(0xCFE3D0), 0.85f * Coverage(rim, px));
    return edge.w > 0.0f ? Rgba(edge.x, edge.y, edge.z, edge.w + inside.w * (1.0f - edge.w)) : inside;
}

Rgba BloomAt(int frame, const Point& p, float px)
{
    const Rgba pad = PadAt(p, 0.86f, 0.8f, px, 77u);
    const Rgba lily = LilyAt(Point(p.x, p.y + 0.02f), 0.74f, float(frame) / 15.0f, px);
    if (lily.w <= 0.0f)
        return pad;
    const float a = lily.w + pad.w * (1.0f - lily.w);
    const float keep = pad.w * (1.0f - lily.w);
    return Rgba((lily.x * lily.w + pad.x * keep) / a, (lily.y * lily.w + pad.y * keep) / a,
                (lily.z * lily.w + pad.z * keep) / a, a);
}

CCanvas PaintDroplets()
{
    CCanvas canvas(256, 256, Rgba(0.5f, 0.5f, 0.5f, 1.0f));
    for (int k = 0; k < 8; ++k)
    {
        const float size = 0.8f + 0.05f * float((k * 3) % 5);
        const float tilt = 0.18f * float(k % 3 - 1);
        canvas.PaintCell((k % 4) * 64, 128 + (k / 4) * 64, 64, 64,
                         [=](const Point& p0, float px)
                         {
                             // Painted upside down: the loading screen maps a frame's top edge to
                             // the bottom of its droplet, so the point shows at the top on screen.
                             const Point p = Rotate(Point(p0.x, -p0.y - 0.1f), tilt);
                             const float d = CapsuleDistance(p, Point(0.0f, -0.7f * size),
                                                             Point(0.0f, 0.25f * size), 0.04f, 0.5f * size);
                             // Multiplied in twice: below 0.5 darkens, above brightens.
                             float v = Mix(0.34f, 0.46f, SmoothStep(0.0f, -0.15f, d));
                             v = Mix(v, 0.7f,
                                     SmoothStep(0.0f, 0.5f * size, p.y) * SmoothStep(-0.02f, -0.2f, d));
                             v = Mix(v, 0.95f,
                                     Coverage(EllipseDistance(p, Point(-0.16f * size, 0.05f * size),
                                                              0.08f * size, 0.16f * size, 0.3f),
                                              px * 2.0f));
                             return Rgba(v, v, v, Coverage(d, px));
                         });
    }
    return canvas;
}

// A simple blue frog from above for the loading picture, facing up, size s.
Rgba StartupFrogAt(const Point& p, const Point& at, float s, float px)
{
    const Point q((p.x - at.x) / s, (p.y - at.y) / s);
    const Point m(std::fabs(q.x), q.y);
    float limbs = 1e9f;
    limbs = std::min(limbs, CapsuleDistance(m, Point(0.25f, -0.2f), Point(0.55f, -0.35f), 0.1f, 0.08f));
    limbs = std::min(limbs, CapsuleDistance(m, Point(0.55f, -0.35f), Point(0.62f, -0.68f), 0.08f, 0.06f));
    limbs = std::min(limbs, CapsuleDistance(m, Point(0.25f, 0.35f), Point(0.68f, 0.28f), 0.15f, 0.1f));
    limbs = std::min(limbs, CapsuleDistance(m, Point(0.68f, 0.28f), Point(0.62f, 0.72f), 0.1f, 0.07f));
    for (const Point& tip : {Point(0.62f, -0.72f), Point(0.62f, 0.78f)})
        for (int i = -1; i <= 1; ++i)
            limbs = std::min(
                limbs,
                CircleDistance(m, Point(tip.x + 0.09f * float(i), tip.y - 0.05f * float(i != 0)), 0.06f));
    const float body = std::min(CapsuleDistance(q, Point(0.0f, -0.3f), Point(0.0f, 0.3f), 0.4f, 0.32f),
                                EllipseDistance(q, Point(0.0f, -0.55f), 0.36f, 0.28f, 0.0f));
    const float d = std::min(limbs, body) * s;
    Rgba skin = SkinAt(Point(q.x * 200.0f, q.y * 200.0f), d, 0.3f * s, px, 61u, true);
    for (float ex : {-0.3f, 0.3f})
    {
        const float eye = CircleDistance(q, Point(ex, -0.62f), 0.12f) * s;
        skin = Mix(skin, Rgba(0.02f, 0.03f, 0.08f, skin.w), Coverage(eye, px));
        skin = Mix(skin, Rgba(1, 1, 1, skin.w),
                   0.8f * Coverage(CircleDistance(q, Point(ex - 0.04f, -0.66f), 0.035f) * s, px));
    }
    return skin;
}

CCanvas PaintStartup()
{
    // The phone's screen, pixel for pixel: the game pads it to a power of two and stretches it
    // over screens of other shapes.
    CCanvas canvas(320, 480, kClear);
    // Shapes are laid out on the 2:3 portrait screen: x runs from -1 to 1, y from -1.5 to 1.5.
    canvas.PaintCell(
        0, 0, 320, 480,
        [](const Point& cell, float px)
        {
            const Point p(cell.x, cell.y * 1.5f);
            Rgba colour = WaterAt((cell.x + 1.0f) * 3.0f, (cell.y + 1.0f) * 4.5f, 64, 301u);
            // Darker water towards the bottom, where the droplets run.
            colour = Mix(colour, kDeepWater, 0.5f * SmoothStep(0.6f, 1.4f, p.y));
            // Soft light from the upper left.
            colour =
                Mix(colour, kShallow, 0.35f * SmoothStep(1.4f, 0.0f, Length(Point(p.x + 1.0f, p.y + 1.5f))));
            auto over = [&colour](const Rgba& c) { colour = Mix(colour, Rgba(c.x, c.y, c.z, 1.0f), c.w); };
            const struct
            {
                float x, y, r, notch;
            } pads[] = {{-0.75f, -1.15f, 0.5f, 0.4f},
                        {0.85f, -0.6f, 0.42f, 2.6f},
                        {-0.85f, 0.55f, 0.38f, -0.6f},
                        {0.7f, 0.75f, 0.3f, 3.6f},
                        {0.05f, -0.05f, 0.62f, 1.2f}};
            for (const auto& pad : pads)
            {
                over(WithCover(
                    Hex(0x04161A),
                    0.4f * Coverage(CircleDistance(p, Point(pad.x + 0.04f, pad.y + 0.06f), pad.r), 0.08f)));
                over(PadAt(Point(p.x - pad.x, p.y - pad.y), pad.r, pad.notch, px, 5u));
            }
            over(LilyAt(Point(p.x + 0.7f, p.y + 1.1f), 0.3f, 1.0f, px));
            over(LilyAt(Point(p.x - 0.7f, p.y - 0.78f), 0.2f, 0.6f, px));
            over(WithCover(Hex(0x04161A),
                           0.35f *
                               Coverage(EllipseDistance(p, Point(0.08f, 0.02f), 0.45f, 0.5f, 0.0f), 0.1f)));
            over(StartupFrogAt(p, Point(0.05f, -0.08f), 0.55f, px));
            return colour;
        });
    return canvas;
}

CCanvas PaintGlow()
{
    return PaintRadial(
        128, [](float r) { return std::exp(-r * r * 5.0f) * SmoothStep(1.0f, 0.85f, r); }, kWhite);
}

CCanvas PaintBlob()
{
    return PaintRadial(
        64, [](float r) { return SmoothStep(1.0f, 0.45f, r); }, kWhite);
}

CCanvas PaintShadow()
{
    return PaintRadial(
        128, [](float r) { return 0.8f * SmoothStep(1.0f, 0.2f, r); }, Rgba(0.0f, 0.04f, 0.02f, 1.0f));
}

CCanvas PaintRipple()
{
    return PaintRadial(
        128,
        [](float r)
        { return 0.85f * std::exp(-(r - 0.72f) * (r - 0.72f) * 260.0f) * SmoothStep(1.0f, 0.92f, r); },
        kWhite);
}

// A bubble: a faint white body, a brighter rim and a glint, for tinted additive particles.
CCanvas PaintParticle()
{
    CCanvas canvas(64, 64, kClear);
    canvas.PaintCell(
        0, 0, 64, 64,
        [](const Point& p, float px)
        {
            const float r = Length(p);
            float a = Mix(0.3f, 0.9f, SmoothStep(0.5f, 0.82f, r)) * Coverage(r - 0.86f, px * 1.5f);
            a = std::max(
                a, 0.95f * Coverage(EllipseDistance(p, Point(-0.3f, -0.32f), 0.18f, 0.1f, -0.8f), px * 2.0f));
            return WithCover(kWhite, a);
        });
    return canvas;
}

// Light ripples on water, white, tiling both ways; the layer's colour sets their strength.
CCanvas PaintRipples()
{
    CCanvas canvas(256, 256, kClear);
    canvas.PaintCell(0, 0, 256, 256,
                     [](const Point& p, float)
                     {
                         const float x = (p.x + 1.0f) * 3.0f;
                         const float y = (p.y + 1.0f) * 3.0f;
                         // Contour lines of a smooth noise read as rings spreading over the surface.
                         const float level = TileFractal(x, y, 6, 3, 401u) * 7.0f;
                         const float c = level - std::floor(level);
                         return WithCover(kWhite, 0.9f * SmoothStep(0.09f, 0.0f, std::min(c, 1.0f - c)));
                     });
    return canvas;
}

// Reeds leaning in from the bank along the top edge: blades and a few bulrush heads, the bank
// itself a dark shade along the top.
CCanvas PaintReeds()
{
    CCanvas canvas(512, 128, kClear);
    canvas.PaintCell(0, 0, 512, 128,
                     [](const Point& cell, float)
                     { return WithCover(Hex(0x0C2414), 0.8f * SmoothStep(-0.2f, -1.0f, cell.y)); });
    for (int i = 0; i < 34; ++i)
    {
        const float x = (float(i) + 0.5f + 0.6f * (Hash01(i, 0, 501u) - 0.5f)) * 512.0f / 34.0f;
        const float length = Mix(40.0f, 118.0f, Hash01(i, 1, 501u));
        const float lean = 0.5f * (Hash01(i, 2, 501u) - 0.5f);
        const float width = Mix(3.0f, 6.0f, Hash01(i, 3, 501u));
        const Rgba shade = Mix(Hex(0x2E6B2A), Hex(0x86B84A), Hash01(i, 4, 501u));
        const Point root(x, -4.0f);
        const Point tip(x + std::sin(lean) * length, -4.0f + std::cos(lean) * length);
        const bool bulrush = i % 5 == 2;
        for (int32_t py = 0; py < 128; ++py)
            for (int32_t qx = int32_t(std::min(root.x, tip.x)) - 12;
                 qx < int32_t(std::max(root.x, tip.x)) + 12; ++qx)
            {
                if (qx < 0 || qx >= 512)
                    continue;
                const Point p(float(qx) + 0.5f, float(py) + 0.5f);
                const float blade = CapsuleDistance(p, root, tip, width, 0.5f);
                const float side = (p.x - root.x) * std::cos(lean) - (p.y - root.y) * std::sin(lean);
                Rgba colour = Mix(shade, Hex(0x12361A), SmoothStep(-width, width, side) * 0.6f);
                colour = Mix(colour, Hex(0x0C2414), 0.5f * SmoothStep(60.0f, 0.0f, p.y));
                canvas.Blend(qx, py, WithCover(colour, Coverage(blade, 1.0f)));
                if (bulrush)
                {
                    const Point head(root.x + (tip.x - root.x) * 0.75f, root.y + (tip.y - root.y) * 0.75f);
                    const float d = EllipseDistance(p, head, width * 1.8f, 16.0f, -lean);
                    const Rgba brown = Mix(Hex(0x5A3418), Hex(0x9B6A3C), SmoothStep(width, -width, side));
                    canvas.Blend(qx, py, WithCover(brown, Coverage(d, 1.0f)));
                }
            }
    }
    return canvas;
}

CCanvas PaintFly()
{
    return PaintSheet(256, 256, 128, FlyAt);
}

CCanvas PaintPetals()
{
    return PaintSheet(256, 256, 128, PetalAt);
}

CCanvas PaintButtons()
{
    return PaintSheet(512, 512, 128, ButtonAt);
}

CCanvas PaintStars()
{
    return PaintSheet(256, 128, 128, StarAt);
}

CCanvas PaintBloom()
{
    return PaintSheet(512, 512, 128, BloomAt);
}

// The pointer's looks, one a cell: a ring (at rest), the ring filled (pressed), a ring with a
// dot (holding a limb), a struck-through ring (nothing to pick) and the soft touch marker.
Rgba CursorAt(int cell, const Point& p, float px)
{
    const float r = Length(p);
    if (cell == 4)
        return WithCover(kWhite, 0.7f * std::exp(-r * r * 6.0f) * SmoothStep(1.0f, 0.85f, r));
    const float ring = std::fabs(r - 0.62f) - 0.12f;
    const Rgba edge = Hex(0x16301F, 0.85f);
    Rgba out = WithCover(kWhite, 0.9f * Coverage(ring, px));
    // A dark outline keeps the ring readable over pale water and petals.
    out = Mix(WithCover(edge, Coverage(std::fabs(r - 0.62f) - 0.17f, px)), out, out.w);
    if (cell == 1)
        out = Mix(out, Hex(0xFFFFFF, 0.5f), Coverage(r - 0.5f, px) * (1.0f - out.w));
    if (cell == 2)
        out = Mix(out, kWhite, Coverage(r - 0.22f, px));
    if (cell == 3)
    {
        const float slash = CapsuleDistance(p, Point(-0.45f, -0.45f), Point(0.45f, 0.45f), 0.1f, 0.1f);
        out = Mix(out, Hex(0xE0503A), Coverage(slash, px));
    }
    return out;
}

CCanvas PaintCursor()
{
    return PaintSheet(512, 64, 64, CursorAt);
}

// The "slider" sheet (256 x 128): the track along the top half, and below it four knobs, the
// speaker on each sending out one arc more than the one before (volume 0 to full).
CCanvas PaintSlider()
{
    CCanvas canvas(256, 128, kClear);
    canvas.PaintCell(0, 0, 256, 64,
                     [](const Point& p, float px)
                     {
                         // In half-heights of the cell, so that the groove's ends are round.
                         const Point q(p.x * 4.0f, p.y);
                         const float groove = RoundBoxDistance(q, Point(0, 0), 3.7f, 0.3f, 0.3f);
                         const float lip = RoundBoxDistance(q, Point(0, 0.08f), 3.78f, 0.38f, 0.38f);
                         Rgba out = WithCover(Hex(0xB9EFA0, 0.8f), Coverage(lip, px));
                         Rgba fill = Mix(Hex(0x0F2418), Hex(0x27503A), SmoothStep(-0.3f, 0.3f, q.y));
                         fill = Mix(fill, Hex(0x5DB053), 0.35f * SmoothStep(-3.7f, 3.7f, q.x));
                         const float cover = Coverage(groove, px);
                         return Rgba(Mix(out.x, fill.x, cover), Mix(out.y, fill.y, cover), Mix(out.z, fill.z, cover),
                                     cover + out.w * (1.0f - cover));
                     });
    for (int32_t level = 0; level < 4; ++level)
        canvas.PaintCell(level * 64, 64, 64, 64,
                         [level](const Point& p, float px)
                         {
                             const float face = CircleDistance(p, Point(0, 0), 0.9f);
                             Rgba colour = Mix(kCream, Hex(0xD8C99A), SmoothStep(-0.9f, 0.9f, p.y));
                             colour = Mix(colour, Hex(0x8A7A4A), SmoothStep(0.08f, 0.0f, -face));
                             // The speaker: a box and a cone.
                             const Point cone[] = {Point(-0.5f, -0.16f), Point(-0.34f, -0.16f), Point(-0.1f, -0.4f),
                                                   Point(-0.1f, 0.4f), Point(-0.34f, 0.16f), Point(-0.5f, 0.16f)};
                             float symbol = PolygonDistance(p, std::vector<Point>(std::begin(cone), std::end(cone)));
                             for (int arc = 0; arc < level; ++arc)
                             {
                                 const Point d(p.x + 0.1f, p.y);
                                 const float ring = std::fabs(Length(d) - (0.22f + 0.17f * float(arc))) - 0.05f;
                                 // Only the part of the ring in front of the speaker.
                                 const float wedge = std::fabs(d.y) - d.x * 0.9f;
                                 symbol = std::min(symbol, std::max(ring, wedge));
                             }
                             colour = Mix(colour, Hex(0x22652C), Coverage(symbol, px));
                             return WithCover(colour, Coverage(face, px));
                         });
    return canvas;
}

// The "daisy" sheet (256 x 256): two petals standing on their base (64 x 128 cells at the top
// left) and the pollen disc (128 x 128 at the top right).
CCanvas PaintDaisy()
{
    CCanvas canvas(256, 256, kClear);
    for (int32_t variant = 0; variant < 2; ++variant)
        canvas.PaintCell(variant * 64, 0, 64, 128,
                         [variant](const Point& p, float px)
                         {
                             // In half-widths of the cell, so that the petal is not squashed.
                             const Point q(p.x, p.y * 2.0f);
                             const float width = variant == 0 ? 0.78f : 0.66f;
                             const float d = EllipseDistance(q, Point(0.0f, 0.1f), width, 1.8f, 0.0f);
                             Rgba colour = Mix(kWhite, Hex(0xF3EBC8), SmoothStep(0.2f, 1.9f, q.y));
                             // A crease down the middle, fading towards the tip.
                             colour = Mix(colour, Hex(0xD9D2BC),
                                          0.5f * SmoothStep(0.12f, 0.0f, std::fabs(q.x)) * SmoothStep(-1.6f, 0.6f, q.y));
                             return WithCover(colour, Coverage(d, px * 2.0f));
                         });
    canvas.PaintCell(128, 0, 128, 128,
                     [](const Point& p, float px)
                     {
                         const float d = CircleDistance(p, Point(0, 0), 0.9f);
                         Rgba colour = Mix(Hex(0xFFD23A), Hex(0xD9821A), SmoothStep(-0.8f, 0.9f, p.y + p.x * 0.3f));
                         // Florets: a fine speckle, lighter towards the top left.
                         colour = Mix(colour, Hex(0x9A5A10), 0.35f * TileNoise(p.x * 12.0f + 12.0f, p.y * 12.0f + 12.0f, 24, 7u));
                         colour = Mix(colour, Hex(0xFFF2A0), 0.4f * SmoothStep(0.5f, -0.6f, p.x + p.y));
                         return WithCover(colour, Coverage(d, px));
                     });
    return canvas;
}

struct Recipe
{
    const char* name;
    CCanvas (*paint)();
    bool opaque; // whole-screen pictures drawn without blending carry no alpha
};

const Recipe kRecipes[] = {
    {"startup", PaintStartup, true},
    {"droplet", PaintDroplets, true},
    {"water", PaintWater, true},
    {"board", PaintBoard, false},
    {"lilypads", PaintLilyPads, false},
    {"knobs", PaintKnobs, false},
    {"glow", PaintGlow, false},
    {"blob", PaintBlob, false},
    {"shadow", PaintShadow, false},
    {"ripple", PaintRipple, false},
    {"sparkle", PaintSparkle, false},
    {"ray", PaintRay, false},
    {"particle", PaintParticle, false},
    {"ripples", PaintRipples, false},
    {"reeds", PaintReeds, false},
    {"frog", PaintFrog, false},
    {"frog-shadow", PaintFrogShadow, false},
    {"fly", PaintFly, false},
    {"petals", PaintPetals, false},
    {"border", PaintBorder, false},
    {"buttons", PaintButtons, false},
    {"stars", PaintStars, false},
    {"bloom", PaintBloom, false},
    // The tutorial's finger and the replay's buttons and wipe (ReplayPictures.h).
    {"finger", PaintFinger, false},
    {"replay", PaintReplayButton, false},
    {"play", PaintPlayButton, false},
    {"replayedge0", PaintReplayEdgeBelow, false},
    {"replayedge1", PaintReplayEdgeAbove, false},
    {"slider", PaintSlider, false},
    {"daisy", PaintDaisy, false},
    // The ponds' weather and light (PondPictures.h).
    {"caustics", PaintCaustics, false},
    {"mist", PaintMist, false},
    {"moon", PaintMoon, false},
    {"moonray", PaintMoonRay, false},
    {"raindrop", PaintRaindrop, false},
    {"firefly", PaintFirefly, false},
    {"leaves", PaintLeaves, false},
    {"cursor", PaintCursor, false},
};

void AppendBytes(void* context, void* data, int size)
{
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), size_t(size));
}
} // namespace

std::vector<std::string> CTexturePainter::Names()
{
    std::vector<std::string> names;
    for (const Recipe& recipe : kRecipes)
        names.push_back(recipe.name);
    return names;
}

CTexturePainter::Picture CTexturePainter::Paint(const std::string& name)
{
    Picture picture;
    for (const Recipe& recipe : kRecipes)
        if (name == recipe.name)
        {
            const CCanvas canvas = recipe.paint();
            picture.width = canvas.GetWidth();
            picture.height = canvas.GetHeight();
            picture.channels = recipe.opaque ? 3 : 4;
            picture.pixels = canvas.ToBytes(picture.channels);
        }
    return picture;
}

std::string CTexturePainter::EncodePng(const Picture& picture)
{
    std::string bytes;
    if (picture.width <= 0 || picture.height <= 0)
        return bytes;
    stbi_write_png_to_func(AppendBytes, &bytes, picture.width, picture.height, picture.channels,
                           picture.pixels.data(), picture.width * picture.channels);
    return bytes;
}
