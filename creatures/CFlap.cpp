#include "creatures/CFlap.h"

#include "Graphics/CGraphics.h"
#include "Graphics/CMaterialSet.h"
#include "core/CRule.h"
#include "core/CXmlNode.h"
#include "core/ContentLimits.h"
#include "core/MathConstants.h"
#include "core/ParseBool.h"
#include "core/TextFields.h"
#include "creatures/CFly.h"
#include "creatures/CFrogServices.h"
#include "creatures/CSkeleton.h"
#include "creatures/FastAngle.h"
#include "creatures/PartAttributes.h"

#include <cmath>

namespace
{
CRule<float> s_shadowBias("graphics/shadowbias"); // board cells


int32_t ReadJoint(const CXmlNode& pin)
{
    return ParseInt(pin.GetAttribute("joint").c_str());
}
} // namespace

CFlap::~CFlap()
{
    // The rest of the chain goes piece by piece: a long chain must not recurse.
    std::unique_ptr<CFlap> rest = std::move(next);
    while (rest)
        rest = std::move(rest->next);
}

void CFlap::Load(CXmlNode& node)
{
    CXmlNode* data = node.GetName() == "flap" ? node.NextSiblingNamed("flap") : FirstChildNamed(node, "flap");
    // The chain is loaded piece by piece, without recursion; a piece that stops early ends it.
    int32_t count = 1;
    for (CFlap* piece = this; data && piece->LoadPiece(*data); piece = piece->next.get())
    {
        data = data->NextSiblingNamed("flap");
        if (!data)
            break;
        if (count == kMaxChain)
        {
            ReportContentOnce("species", "body/flaps/" + node.GetName(),
                              CString::Format("more than %d pieces in a chain, the rest left out", kMaxChain));
            break;
        }
        ++count;
        piece->next = std::make_unique<CFlap>();
    }
}

bool CFlap::LoadPiece(CXmlNode& data)
{
    crop = ReadPairAttribute(data, "crop", Vector2<float>(1.0f, 1.0f));
    breathe = ReadPairAttribute(data, "breathe", Vector2<float>(1.0f, 1.0f));
    breathDuration = float(ParseFloat(data.GetAttribute("breathduration").c_str()));

    CXmlNode* first = FirstChildNamed(data, "pin");
    if (!first)
        return false;
    firstJoint = ReadJoint(*first);
    firstUv = ReadPairAttribute(*first, "uv", Vector2<float>());
    CXmlNode* second = first->NextSiblingNamed("pin");
    if (!second)
        return false;
    secondJoint = ReadJoint(*second);
    secondUv = ReadPairAttribute(*second, "uv", Vector2<float>());
    CXmlNode* material = second->NextSiblingNamed("material");
    if (!material)
        return false;
    uvOffset = ReadPairAttribute(*material, "off", Vector2<float>());
    const bool mirror = ParseBool(material->GetAttribute("mirror").c_str());

    quadRect = Vector4<float>(-firstUv.x, -firstUv.y, crop.x - firstUv.x, crop.y - firstUv.y);
    Vector4<float> uv(uvOffset.x, uvOffset.y, uvOffset.x + crop.x, uvOffset.y + crop.y);
    if (mirror)
        std::swap(uv.x, uv.z);
    const Vector3<float> normal(0.0f, 0.0f, mirror ? -1.0f : 1.0f);

    CMaterialSet* materials = CMaterialSet::Instance();
    mainBatch.Clear();
    mainBatch.SetMaterial(materials->Find(material->GetAttribute("main")));
    mainBatch.SetQuadRect(0, quadRect);
    mainBatch.SetQuadUv(0, 0, uv);
    mainBatch.SetQuadUv(0, 1, uv);
    mainBatch.normal = normal;
    shadowBatch.Clear();
    shadowBatch.SetMaterial(materials->Find(material->GetAttribute("shadow")));
    shadowBatch.SetQuadRect(0, quadRect);
    shadowBatch.SetQuadUv(0, 0, uv);
    shadowBatch.normal = normal;
    widthScale = -1.0f;
    pinDistance = (firstUv - secondUv).Length();

    blobs.clear();
    eyes.clear();
    tongue.Reset();
    for (CXmlNode* child = data.FirstChild(); child; child = child->NextSibling())
    {
        if (child->GetName() == "blob")
        {
            CBlob blob;
            if (blob.Load(*child))
                blobs.push_back(blob);
        }
        else if (child->GetName() == "eye")
        {
            eyes.emplace_back();
            eyes.back().Load(*child);
        }
        else if (child->GetName() == "tongue" && !tongue)
            tongue = CTongue::Create(*child);
    }

    return true;
}

void CFlap::Draw(const CSkeleton& skeleton, int32_t mode, const Vector3<float>& offset, Vector4<float>* bounds,
                 int32_t now, CFly* fly)
{
    // Last piece first, so the first lies on top; walked without recursion.
    std::vector<CFlap*> chain;
    for (CFlap* piece = this; piece; piece = piece->next.get())
        chain.push_back(piece);
    for (auto piece = chain.rbegin(); piece != chain.rend(); ++piece)
        (*piece)->DrawPiece(skeleton, mode, offset, bounds, now, fly);
}

void CFlap::DrawPiece(const CSkeleton& skeleton, int32_t mode, const Vector3<float>& offset, Vector4<float>* bounds,
                      int32_t now, CFly* fly)
{
    Placement placement;
    if (!Place(skeleton, mode, offset, now, placement))
        return;
    const Vector3<float> at(placement.pin.x, placement.pin.y, offset.z);
    const Vector2<float> scale = placement.Scale();
    // The tongue lies beneath its piece, in every mode.
    const bool riders = mode == kPlain && (!eyes.empty() || !blobs.empty());
    const Matrix3 transform = tongue || riders ? GetTransform(placement) : Matrix3();
    if (tongue)
        tongue->Draw(transform, mode, offset, bounds);
    if (mode == kPlain)
    {
        mainBatch.SetColour(LightColour(CFrogServices::Get().GetLightVector(), placement.angle));
        mainBatch.translation = at;
        mainBatch.rotation = placement.angle;
        mainBatch.scale = scale;
        mainBatch.Draw();
        for (const CBlob& blob : blobs)
            blob.Draw(transform);
        const Vector2<float>* target = fly ? &fly->position : nullptr;
        for (const CEye& eye : eyes)
            eye.Draw(transform, target, now);
        return;
    }
    shadowBatch.translation = at;
    shadowBatch.rotation = placement.angle;
    shadowBatch.scale = scale;
    shadowBatch.Draw();
    if (bounds)
        CGraphics::ExtendBounds(*bounds, placement.pin,
                                Vector4<float>(quadRect.x * scale.x, quadRect.y * scale.y, quadRect.z * scale.x,
                                               quadRect.w * scale.y));
}

bool CFlap::Place(const CSkeleton& skeleton, int32_t mode, const Vector3<float>& offset, int32_t now,
                  Placement& placement)
{
    if (!Draws())
        return false;
    const Vector2<float> p1 = GetPinPosition(skeleton, firstJoint, mode, offset);
    const Vector2<float> p2 = GetPinPosition(skeleton, secondJoint, mode, offset);
    const Vector2<float> d = p1 - p2;
    const Vector2<float> u = firstUv - secondUv;
    const float length = d.Length();
    if (!(widthScale > 0.0f))
    {
        const CBone* bone = skeleton.FindBone(firstJoint, secondJoint);
        widthScale = (bone ? bone->restLength : length) / pinDistance;
    }
    placement.pin = p1;
    placement.widthScale = widthScale;
    placement.lengthScale = length / pinDistance;
    placement.angle = FastAtan2(d.y * u.x - u.y * d.x, d.y * u.y + u.x * d.x) * kDegreesPerRadian;
    placement.breath = GetBreath(now);
    return true;
}

Vector2<float> CFlap::GetPinPosition(const CSkeleton& skeleton, int32_t joint, int32_t mode,
                                     const Vector3<float>& offset)
{
    const CJoint* record = skeleton.GetJoint(joint);
    if (!record)
        return Vector2<float>();
    if (mode != kShadow)
        return record->position;
    const Vector3<float> light = CFrogServices::Get().GetLightVector();
    const float lift = skeleton.GetHeldHeight(joint) + s_shadowBias.Get();
    return record->position + lift * Vector2<float>(light.x + offset.x, light.y + offset.y);
}

Matrix3 CFlap::GetTransform(const Placement& placement) const
{
    Matrix3 transform = Matrix3::Translation(-firstUv);
    transform.Scale(Vector2<float>(placement.widthScale, placement.lengthScale));
    transform.Rotate(placement.angle / kDegreesPerRadian);
    transform.Translate(placement.pin);
    return transform;
}

Vector2<float> CFlap::GetBreath(int32_t now) const
{
    if (!(breathDuration > 0.0f))
        return Vector2<float>(1.0f, 1.0f);
    const float t = float(int64_t(now) - int64_t(breathStart)) * 0.001f / breathDuration;
    if (!(t > 0.0f && t < 1.0f))
        return Vector2<float>(1.0f, 1.0f);
    const float w = (1.0f - std::cos(kTwoPi * t)) * 0.5f;
    return Vector2<float>(1.0f - w + w * breathe.x, 1.0f - w + w * breathe.y);
}

Vector4<float> CFlap::LightColour(const Vector3<float>& light, float angle)
{
    // The picture's "up" runs along its pins, a quarter turn from the board's x axis.
    const float radians = (angle + 90.0f) / kDegreesPerRadian;
    const float c = std::cos(radians), s = std::sin(radians);
    Vector3<float> l(light.x * c - light.y * s, light.x * s + light.y * c, light.z);
    const float squared = l.x * l.x + l.y * l.y + l.z * l.z;
    if (squared >= 1e-20f)
        l = l * (1.0f / std::sqrt(squared));
    else
        l = Vector3<float>(0.0f, 0.0f, -1.0f);
    return Vector4<float>(0.5f - 0.5f * l.x, 0.5f + 0.5f * l.y, 0.5f - 0.5f * l.z, 1.0f);
}

void CFlap::Blink(int32_t now)
{
    for (CFlap* piece = this; piece; piece = piece->next.get())
        for (CEye& eye : piece->eyes)
            eye.Blink(now);
}

void CFlap::Ribbit(int32_t now)
{
    for (CFlap* piece = this; piece; piece = piece->next.get())
        piece->breathStart = now;
}

void CFlap::ThrowTongue(int32_t now)
{
    if (tongue)
        tongue->Throw(now);
}

void CFlap::ResetTongue()
{
    if (tongue)
        tongue->Reset();
}

int32_t CFlap::CountChain() const
{
    int32_t count = 0;
    for (const CFlap* piece = this; piece; piece = piece->next.get())
        ++count;
    return count;
}
