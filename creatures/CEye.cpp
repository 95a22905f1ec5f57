#include "creatures/CEye.h"

#include "Graphics/CGraphics.h"
#include "Graphics/CMaterial.h"
#include "Graphics/CMaterialSet.h"
#include "core/Angle.h"
#include "core/CXmlNode.h"
#include "core/Ease.h"
#include "core/MathConstants.h"
#include "creatures/FastAngle.h"
#include "creatures/PartAttributes.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr const char* kSpriteNames[CEye::kSpriteCount] = {"eyeball", "eyelid", "highlight"};

// Heading of the direction from one board point to another: 0 up the board, 90 to the right.
float HeadingBetween(const Vector2<float>& from, const Vector2<float>& to)
{
    return FastHeading(to - from);
}

bool HasPicture(const CRef<CMaterial>& material)
{
    return material && !material->IsNullStyle();
}
} // namespace

void CEye::Load(CXmlNode& element)
{
    centre = ReadPairAttribute(element, "uv", Vector2<float>());
    // An eye with no resting direction looks up its picture rather than dividing by zero.
    look = ReadPairAttribute(element, "look", Vector2<float>());
    if (look.Normalise() <= 0.0f)
        look = Vector2<float>(0.0f, -1.0f);
    strain = ReadFloatAttribute(element, "strain");
    flexibility = ReadFloatAttribute(element, "flexibility");
    blinkDelay = ReadMillisecondsAttribute(element, "blinkdelay");
    blinkDuration = ReadFloatAttribute(element, "blinkduration");

    CMaterialSet* set = CMaterialSet::Instance();
    for (int32_t i = 0; i < kSpriteCount; ++i)
    {
        materials[i].Reset();
        uvs[i] = Vector4<float>(0.0f, 0.0f, 1.0f, 1.0f);
        CXmlNode* sprite = FirstChildNamed(element, kSpriteNames[i]);
        if (!sprite)
            continue;
        materials[i] = set->Find(sprite->GetAttribute("material"));
        uvs[i] = ReadRectAttribute(*sprite, "uvs");
        if (i == kEyeball)
            eyeballScale = ReadFloatAttribute(*sprite, "scale");
        else if (i == kHighlight)
            highlightScale = ReadFloatAttribute(*sprite, "scale");
    }
}

void CEye::Blink(int32_t now)
{
    blinkStart = now + blinkDelay;
}

float CEye::GetOpenness(int32_t now) const
{
    const int64_t t = int64_t(now) - int64_t(blinkStart);
    if (t < 0)
        return 1.0f;
    const float seconds = float(t) * 0.001f;
    if (seconds >= blinkDuration)
        return 1.0f;
    float u = seconds / (blinkDuration * 0.5f);
    if (u > 1.0f)
        u = 2.0f - u;
    return 1.0f - Ease(0, u);
}

float CEye::LookTowards(const Vector2<float>& p0, float a, const Vector2<float>& target, float& k) const
{
    float r = WrapAngle(HeadingBetween(p0, target) - a);
    k = 1.0f;
    // Behind the eye it follows the mirrored angle, squinting down to half as the target goes
    // right behind.
    if (r > 90.0f)
    {
        k = ((180.0f - r) / 90.0f + 1.0f) * 0.5f;
        r = 180.0f - r;
    }
    else if (r < -90.0f)
    {
        k = ((-180.0f - r) / -90.0f + 1.0f) * 0.5f;
        r = -180.0f - r;
    }
    return std::clamp(r, -strain, strain);
}

void CEye::Place(const Matrix3& transform, const Vector2<float>* fly, int32_t now,
                 Quad quads[kSpriteCount]) const
{
    const Vector2<float> p0 = transform.TransformPoint(centre);
    const Vector2<float> p1 = transform.TransformPoint(centre + look);
    const float size = (p1 - p0).Length();
    const float a = HeadingBetween(p0, p1);
    float k = 1.0f;
    const float r = fly ? LookTowards(p0, a, *fly, k) : 0.0f;
    const float open = GetOpenness(now) * k;

    for (int32_t i = 0; i < kSpriteCount; ++i)
    {
        quads[i] = Quad();
        quads[i].position = p0;
    }
    if (HasPicture(materials[kEyeball]))
    {
        const float s = eyeballScale * size * 0.5f;
        const Vector4<float>& uv = uvs[kEyeball];
        const float hx = (uv.z - uv.x) * s, hy = (uv.w - uv.y) * s;
        const Vector4<float> rect(-hx, -hy * open, hx, hy);
        quads[kEyeball] = {true, p0, rect, a + r};
        // The lid sits upright whatever the eye does; an eye without one shows the bare ball.
        quads[kEyelid] = {HasPicture(materials[kEyelid]), p0, rect, 0.0f};
    }
    if (HasPicture(materials[kHighlight]))
    {
        const float s = highlightScale * size * 0.5f;
        const Vector4<float>& uv = uvs[kHighlight];
        const float hx = (uv.z - uv.x) * s, hy = (uv.w - uv.y) * s;
        quads[kHighlight] = {true, p0, Vector4<float>(-hx, -hy * ((1.0f - open) * 0.75f + 1.0f), hx, hy),
                             a + flexibility * r};
    }
}

void CEye::Draw(const Matrix3& transform, const Vector2<float>* fly, int32_t now) const
{
    CGraphics* graphics = CGraphics::Peek();
    if (!graphics || !graphics->IsLive())
        return;
    Quad quads[kSpriteCount];
    Place(transform, fly, now, quads);
    for (int32_t i = 0; i < kSpriteCount; ++i)
        if (quads[i].shown)
            graphics->DrawQuad(materials[i], quads[i].position, quads[i].rect, kColour, uvs[i],
                               quads[i].rotation);
}
