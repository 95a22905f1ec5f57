#include "scene/CRay.h"

#include "Graphics/CGraphics.h"
#include "Graphics/CMaterialSet.h"
#include "core/CXmlNode.h"
#include "core/MathConstants.h"
#include "core/ReadColourAttribute.h"
#include "core/TextFields.h"
#include "scene/RandomRange.h"

#include <algorithm>

CRef<CRay> CRay::Create(const CXmlNode& element)
{
    CRef<CRay> ray = MakeRef<CRay>();
    ray->Load(element);
    return ray;
}

void CRay::Load(const CXmlNode& element)
{
    m_position = ReadFloatRange(element, "position", kZeroVector2f);
    m_material = CMaterialSet::Instance()->Find(element.GetAttribute("material"));
    m_uvs = ReadColourAttribute(&element, "uvs", Vector4<float>(0.0f, 0.0f, 1.0f, 1.0f));
    m_angle = float(ParseFloat(element.GetAttribute("angle").c_str()));
    m_length = float(ParseFloat(element.GetAttribute("length").c_str()));
    m_width = ReadFloatRange(element, "width", kZeroVector2f);
    m_alpha = ReadFloatRange(element, "alpha", kZeroVector2f);
    m_waves = ReadSineWaves(element, "frequency");
}

CRay::Look CRay::LookAt(int32_t now) const
{
    const float k = SineWaveProduct(m_waves, now);
    Look look;
    look.alpha = std::clamp(m_alpha.x + (m_alpha.y - m_alpha.x) * k, 0.0f, 1.0f);
    // Below zero the quad would turn inside out: it is drawn with no width instead.
    look.halfWidth = std::max(m_width.x + (m_width.y - m_width.x) * k, 0.0f);
    return look;
}

void CRay::Draw(int32_t now) const
{
    const Look look = LookAt(now);
    CGraphics::Instance()->DrawQuad(m_material, m_position,
                                    Vector4<float>(-look.halfWidth, 0.0f, look.halfWidth, m_length),
                                    Vector4<float>(1.0f, 1.0f, 1.0f, look.alpha), m_uvs, m_angle);
}
