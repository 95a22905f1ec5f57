#include "creatures/CBlob.h"

#include "Graphics/CGraphics.h"
#include "Graphics/CMaterial.h"
#include "Graphics/CMaterialSet.h"
#include "core/CXmlNode.h"
#include "core/MathConstants.h"
#include "creatures/PartAttributes.h"

#include <string>

namespace
{
// flap, group, "flaps", "body".
constexpr int kLevelsToBody = 4;
} // namespace

bool CBlob::Load(CXmlNode& element)
{
    position = ReadPairAttribute(element, "uv", Vector2<float>());
    scale = ReadFloatAttribute(element, "scale");
    const CString& type = element.GetAttribute("type");

    CXmlNode* body = &element;
    for (int level = 0; level < kLevelsToBody && body; ++level)
        body = body->GetParent();
    if (!body)
        return false;
    CXmlNode* entry = body->FindChild(std::string("blob/") + type + "/material");
    if (!entry)
        return false;
    material = CMaterialSet::Instance()->Find(entry->GetAttribute("name"));
    uv = ReadRectAttribute(*entry, "uvs");
    return material && !material->IsNullStyle();
}

bool CBlob::Place(const Matrix3& transform, Vector2<float>& at, Vector4<float>& rect) const
{
    if (scale == 0.0f)
        return false;
    at = transform.TransformPoint(position);
    const float k = (transform.TransformPoint(position + Vector2<float>(1.0f, 0.0f)) - at).Length();
    const float hx = (uv.z - uv.x) * scale * k * 0.5f;
    const float hy = (uv.w - uv.y) * scale * k * 0.5f;
    rect = Vector4<float>(-hx, -hy, hx, hy);
    return true;
}

void CBlob::Draw(const Matrix3& transform) const
{
    CGraphics* graphics = CGraphics::Peek();
    Vector2<float> at;
    Vector4<float> rect;
    if (!graphics || !graphics->IsLive() || !Place(transform, at, rect))
        return;
    graphics->DrawQuad(material, at, rect, kWhite, uv, 0.0f);
}
