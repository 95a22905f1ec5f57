#include "creatures/CToe.h"

#include "Graphics/CGraphics.h"
#include "Graphics/CMaterial.h"
#include "Graphics/CMaterialSet.h"
#include "core/CRule.h"
#include "core/CXmlNode.h"
#include "core/Ease.h"
#include "core/ParseBool.h"
#include "creatures/CFrogServices.h"
#include "creatures/FastAngle.h"
#include "creatures/PartAttributes.h"

#include <cmath>
#include <string>

namespace
{
CRule<float> s_shadowBias("graphics/shadowbias"); // board cells
CRule<float> s_heldHeight("frog/heldheight");     // board cells

// The unit direction of a heading (degrees): (0, -1) turned by it.
Vector2<float> DirectionOf(float heading)
{
    const float radians = heading / kDegreesPerRadian;
    return Vector2<float>(std::sin(radians), -std::cos(radians));
}

// Lays a one-quad batch from a foot point out to a tip: the picture's straight part spans the
// two, its round ends (radius, board cells) reach past them. False when there is no length.
bool LaySegment(QuadBatch& batch, const CToe& toe, const Vector2<float>& foot, const Vector2<float>& tip,
                float z)
{
    const Vector2<float> d = foot - tip;
    const float length = d.Length();
    if (!(length > 1e-5f) || !(toe.stretchLength > 0.0f) || !batch.material)
        return false;
    // The batch's y scale stretches the straight part onto the segment; the ends are shortened
    // beforehand by the same factor, so that they stay round.
    const float cap = toe.radius * toe.stretchLength / length;
    batch.SetQuadRect(0, Vector4<float>(-toe.radius, -cap, toe.radius, toe.stretchLength + cap));
    batch.translation = Vector3<float>(foot.x, foot.y, z);
    batch.rotation = FastHeading(d);
    batch.scale = Vector2<float>(1.0f, length / toe.stretchLength);
    return true;
}

void Grow(Vector4<float>* bounds, const Vector2<float>& at, float radius)
{
    if (bounds)
        CGraphics::ExtendBounds(*bounds, at, Vector4<float>(-radius, -radius, radius, radius));
}
} // namespace

void CToe::Load(CXmlNode& toe)
{
    length = ReadFloatAttribute(toe, "length");
    angleDown = ReadFloatAttribute(toe, "angledn");
    angleUp = ReadFloatAttribute(toe, "angleup");
    phase = ReadMillisecondsAttribute(toe, "phase");
    period = ReadFloatAttribute(toe, "period");

    CXmlNode* foot = toe.GetParent();
    CXmlNode* feet = foot ? foot->GetParent() : nullptr;
    CXmlNode* look = feet ? feet->FindChild(std::string("toes/") + toe.GetAttribute("toe")) : nullptr;
    if (!look)
        return;
    radius = ReadFloatAttribute(*look, "radius");
    uv = ReadRectAttribute(*look, "uvs");
    halfWidth = (uv.z - uv.x) * 0.5f;
    stretchLength = (uv.w - uv.y) - 2.0f * halfWidth;
    // The picture's top is the toe's tip, which lies at the far end of the segment.
    const Vector4<float> laid(uv.x, uv.w, uv.z, uv.y);
    CMaterialSet* set = CMaterialSet::Instance();
    mainBatch.Clear();
    mainBatch.SetMaterial(set->Find(look->GetAttribute("material")));
    mainBatch.SetQuadRect(0, Vector4<float>(-1.0f, -1.0f, 1.0f, 1.0f));
    mainBatch.SetQuadUv(0, 0, laid);
    mainBatch.SetColour(kColour);
    shadowBatch.Clear();
    shadowBatch.SetMaterial(set->Find(look->GetAttribute("shadow")));
    shadowBatch.SetQuadRect(0, Vector4<float>(-1.0f, -1.0f, 1.0f, 1.0f));
    shadowBatch.SetQuadUv(0, 0, laid);
    const CString& down = look->GetAttribute("shadowwhendown");
    if (down.empty())
        shadowWhenDown = !mainBatch.material || mainBatch.material->IsNullStyle();
    else
        shadowWhenDown = ParseBool(down.c_str());
}

void CToe::Aim(const Vector2<float>& direction, int32_t newMode, int32_t now)
{
    // An aim that interrupts a swing starts from where the swing has got to.
    if (mode == kSwinging && newMode != kSwinging)
    {
        float lift;
        fromAngle = GetSwingAngle(now, lift);
    }
    toAngle = FastHeading(direction);
    if (fromAngle == kFloatMax)
        fromAngle = toAngle;
    // The short way round.
    if (fromAngle - toAngle > 180.0f)
        fromAngle -= 360.0f;
    else if (fromAngle - toAngle < -180.0f)
        fromAngle += 360.0f;
    if (newMode == kSwinging)
        swingStart = now + phase;
    mode = newMode;
}

float CToe::GetSwingAngle(int32_t now, float& lift) const
{
    lift = 0.0f;
    // A swing that takes no time is over at once.
    const float u = period > 0.0f ? float(int64_t(now) - int64_t(swingStart)) / (1000.0f * period) : 1.0f;
    if (u <= 0.0f)
        return fromAngle;
    if (u >= 1.0f)
        return toAngle;
    lift = (1.0f - std::cos(kTwoPi * u)) * 0.5f * kSwingLift;
    return fromAngle + Ease(0, u) * (toAngle - fromAngle);
}

void CToe::Update(const Vector3<float>& footPoint, const Vector3<float>& base, float hold, int32_t now)
{
    // Never aimed: straight up the board.
    if (toAngle == kFloatMax)
        fromAngle = toAngle = 0.0f;
    float lift;
    if (mode == kSwinging)
    {
        angle = GetSwingAngle(now, lift);
        if (angle == toAngle)
        {
            fromAngle = toAngle;
            mode = kStill;
        }
    }
    else
    {
        angle = toAngle;
        mode = kStill;
        lift = base.z * kSwingLift;
    }
    const float liftRadians = lift / kDegreesPerRadian;
    kneeHeight = base.z + length * std::sin(liftRadians);
    const float heldHeight = s_heldHeight.Get();
    const float bend = heldHeight > 0.0f ? (2.0f * hold + 1.0f) * base.z / heldHeight : 0.0f;
    const float bent = angle + bend * angleUp + (1.0f - bend) * angleDown;
    knee = Vector2<float>(base.x, base.y) + length * std::cos(liftRadians) * DirectionOf(bent);
    foot = footPoint;
    LaySegment(mainBatch, *this, Vector2<float>(foot.x, foot.y), knee, 0.0f);
    shadowVisible = shadowWhenDown || kneeHeight > 0.0f;
}

void CToe::Draw(int32_t pass, const Vector3<float>& offset, Vector4<float>* bounds)
{
    const Vector2<float> at(foot.x, foot.y);
    if (pass == 0)
    {
        if (LaySegment(mainBatch, *this, at, knee, offset.z))
            mainBatch.Draw();
        return;
    }
    if (pass == 1)
    {
        if (!shadowVisible)
            return;
        const Vector3<float> light = CFrogServices::Get().GetLightVector();
        const Vector2<float> cast(light.x + offset.x, light.y + offset.y);
        const Vector2<float> footShadow = at + (s_shadowBias + foot.z) * cast;
        const Vector2<float> kneeShadow = knee + (s_shadowBias + kneeHeight) * cast;
        if (LaySegment(shadowBatch, *this, footShadow, kneeShadow, offset.z))
            shadowBatch.Draw();
        Grow(bounds, kneeShadow, radius);
        Grow(bounds, footShadow, radius);
        return;
    }
    // The ghost lies down along the facing it was handed.
    const Vector2<float> tip =
        at + length * DirectionOf(FastHeading(Vector2<float>(offset.x, offset.y)) + angleDown);
    if (LaySegment(shadowBatch, *this, at, tip, 0.0f))
        shadowBatch.Draw();
    Grow(bounds, tip, radius);
}
