#include "ui/CSlider.h"

#include "Graphics/CGraphics.h"
#include "Graphics/CMaterialSet.h"
#include "Graphics/LodBiasScope.h"
#include "core/CFileSystem.h"
#include "core/CPreferences.h"
#include "core/CRule.h"
#include "core/CScheduler.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/Colour.h"
#include "core/TextFields.h"
#include "platform/CInput.h"
#include "ui/CButtonServices.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace
{
CRule<int> s_animationInterval("interval/animation", CScheduler::kMinAnimationIntervalMs,
                               CScheduler::kMaxAnimationIntervalMs); // ms

constexpr Vector4<float> kWholeTexture(0.0f, 0.0f, 1.0f, 1.0f);
// The knob's shadow: offset in scale units and opacity; its blur as a texture LOD bias.
constexpr float kShadowOffset = 0.05f;
constexpr float kShadowAlpha = 0.35f;
constexpr float kShadowLodBias = 1.0f;
// A hovered knob grows by (this - its active factor) times kHoverGrowth.
constexpr float kHoverBase = 1.25f;
constexpr float kHoverGrowth = 0.25f;

// Into 0..1; a value that is not a number is in no range and gives 0.
float ClampToUnit(float value)
{
    return value > 0.0f ? std::min(value, 1.0f) : 0.0f;
}

float ParseNumber(const CString& text, float def)
{
    return text.empty() ? def : float(ParseFloat(text.c_str()));
}

void DrawImage(const SliderKnob& knob, const Vector2<float>& centre, const Vector4<float>& rect,
               const Vector4<float>& colour)
{
    CGraphics::Instance()->DrawQuad(knob.material, centre, rect, colour, knob.uvs, 0.0f);
}
} // namespace

void CSlider::Load(const CXmlNode& element)
{
    m_pressPoint = kUnsetVector2f;
    m_hover = false;
    m_knobs.clear();
    const CString& type = element.GetAttribute("type");
    m_action = element.GetAttribute("action");
    m_preference = element.GetAttribute("preference");

    CXmlDocument sliders(MakeString("sliders"), CFileSystem::kInDataFolder);
    CXmlNode* root = sliders.GetRoot();
    CXmlNode* look = root && !type.empty() ? root->FindChild(std::string("/") + type.c_str()) : nullptr;
    if (!look)
        return;
    m_size = ParseFloatPair(look->GetAttribute("size").c_str(), Vector2<float>(256.0f, 32.0f));
    m_trackMaterial = CSingleton<CMaterialSet>::Instance()->Find(look->GetAttribute("material"));
    m_trackUvs = ParseColourText(look->GetAttribute("uvs").c_str(), kWholeTexture);
    if (CXmlNode* knob = look->FindChild("knob"))
    {
        m_knobRadius = ParseNumber(knob->GetAttribute("radius"), 0.5f);
        m_knobOffset = ParseFloatPair(knob->GetAttribute("offset").c_str(), kZeroVector2f);
        for (CXmlNode* image = knob->FirstChild(); image; image = image->NextSibling())
        {
            if (image->GetName() == CXmlNode::kContentName)
                continue;
            SliderKnob& entry = m_knobs.emplace_back();
            entry.material = CSingleton<CMaterialSet>::Instance()->Find(image->GetAttribute("material"));
            entry.uvs = ParseColourText(image->GetAttribute("uvs").c_str(), kWholeTexture);
            entry.active = ParseNumber(image->GetAttribute("active"), 1.0f);
        }
    }

    m_value = 0.5f;
    if (m_preference.empty())
    {
        if (!m_action.empty())
            CButtonServices::Get().PostMessage(m_action.c_str(), "query");
        return;
    }
    const float stored = CPreferences::Instance()->GetFloat(m_preference.c_str(), 0.5f);
    m_value = ClampToUnit(stored);
    // A damaged value ("nan", out of range) is not kept: the store takes the value shown.
    if (!(stored == m_value))
        CPreferences::Instance()->SetFloat(m_preference.c_str(), m_value);
}

void CSlider::SetValue(float value)
{
    value = ClampToUnit(value);
    if (value == m_value)
        return;
    m_value = value;
    if (!m_preference.empty())
        CPreferences::Instance()->SetFloat(m_preference.c_str(), value);
    if (!m_action.empty())
    {
        char argument[32];
        snprintf(argument, sizeof(argument), "%f", double(value));
        CButtonServices::Get().PostMessage(m_action.c_str(), argument);
    }
}

void CSlider::FollowPreference()
{
    if (m_preference.empty() || IsDragging())
        return;
    m_value = ClampToUnit(CPreferences::Instance()->GetFloat(m_preference.c_str(), m_value));
}

void CSlider::OnMotion(const Vector2<float>& point)
{
    const CInput* input = CInput::Peek();
    if (input && input->IsButtonDown(1))
    {
        m_hover = false;
        if (!IsDragging())
            return;
        const float dx = point.x - m_pressPoint.x;
        // Past an end the press point stays, so the knob follows again only once the finger is
        // back where it left the track.
        if ((dx < 0.0f && m_value == 0.0f) || (dx > 0.0f && m_value == 1.0f))
            return;
        // A track no longer than its knob has no travel to divide by.
        const float travel = m_scale * m_size.x - m_scale * m_size.y;
        if (!(travel > 0.0f))
            return;
        m_pressPoint.x = point.x;
        SetValue(m_value + dx / travel);
        return;
    }
    m_hover = !m_knobs.empty() && OnKnob(point, m_knobs[GetImageIndex()].active);
    if (m_hover)
        CButtonServices::Get().SetCursor("click", 2 * s_animationInterval.Get());
}

bool CSlider::OnDragBegin(const Vector2<float>& point)
{
    m_hover = false;
    if (m_knobs.empty() || !OnKnob(point, m_knobs[GetImageIndex()].active))
        return false;
    m_pressPoint = point;
    return true;
}

bool CSlider::OnDragEnd(const Vector2<float>& point)
{
    m_hover = false;
    if (!IsDragging())
        return false;
    OnMotion(point);
    m_pressPoint = kUnsetVector2f;
    return true;
}

bool CSlider::OnDragCancel()
{
    m_hover = false;
    if (!IsDragging())
        return false;
    m_pressPoint = kUnsetVector2f;
    return true;
}

void CSlider::Draw()
{
    if (m_knobs.empty())
        return;
    const float s = m_scale;
    CGraphics* graphics = CGraphics::Instance();
    graphics->DrawQuad(m_trackMaterial, m_position, Vector4<float>(0.0f, 0.0f, s * m_size.x, s * m_size.y), kWhite,
                       m_trackUvs, 0.0f);
    const Vector2<float> centre = GetKnobCentre();
    const Vector2<float> shadowCentre = centre + Vector2<float>(-kShadowOffset * s, kShadowOffset * s);
    float r = s * m_knobRadius;
    if (IsDragging())
    {
        uint32_t first = 0, second = 0;
        float weight = 0.0f;
        GetCrossFade(first, second, weight);
        const Vector4<float> rect(-r, -r, r, r);
        {
            LodBiasScope bias(kShadowLodBias);
            DrawImage(m_knobs[first], shadowCentre, rect, Vector4<float>(0, 0, 0, (1.0f - weight) * kShadowAlpha));
            DrawImage(m_knobs[second], shadowCentre, rect, Vector4<float>(0, 0, 0, weight * kShadowAlpha));
        }
        DrawImage(m_knobs[first], centre, rect, kWhite);
        DrawImage(m_knobs[second], centre, rect, Vector4<float>(1, 1, 1, weight));
        return;
    }
    const SliderKnob& knob = m_knobs[GetImageIndex()];
    if (m_hover)
        r *= 1.0f + (kHoverBase - knob.active) * kHoverGrowth;
    const Vector4<float> rect(-r, -r, r, r);
    {
        LodBiasScope bias(kShadowLodBias);
        DrawImage(knob, shadowCentre, rect, Vector4<float>(0, 0, 0, kShadowAlpha));
    }
    DrawImage(knob, centre, rect, kWhite);
}

Vector2<float> CSlider::GetKnobCentre() const
{
    const float s = m_scale;
    const float r = s * m_size.y * 0.5f;
    const float travel = s * m_size.x - 2.0f * r;
    return Vector2<float>(m_position.x + r + s * m_knobOffset.x + m_value * travel,
                          m_position.y + r + s * m_knobOffset.y);
}

uint32_t CSlider::GetImageIndex() const
{
    if (m_knobs.empty())
        return 0;
    const uint32_t last = uint32_t(m_knobs.size() - 1);
    return std::min(uint32_t(m_value * float(last) + 0.5f), last);
}

void CSlider::GetCrossFade(uint32_t& first, uint32_t& second, float& weight) const
{
    const uint32_t last = m_knobs.empty() ? 0 : uint32_t(m_knobs.size() - 1);
    const float x = float(last) * m_value;
    first = std::min(uint32_t(std::floor(x)), last);
    second = std::min(uint32_t(std::ceil(x)), last);
    weight = x - std::floor(x);
}

bool CSlider::OnKnob(const Vector2<float>& point, float factor) const
{
    const float reach = m_scale * m_knobRadius * factor;
    const Vector2<float> d = point - GetKnobCentre();
    return d.x * d.x + d.y * d.y <= reach * reach;
}
