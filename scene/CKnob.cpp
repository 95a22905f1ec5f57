#include "scene/CKnob.h"

#include "Graphics/CMaterialSet.h"
#include "Graphics/LodBiasScope.h"
#include "core/CRule.h"
#include "core/CScheduler.h"
#include "core/CXmlNode.h"
#include "core/MathConstants.h"
#include "core/ReadColourAttribute.h"
#include "core/TextFields.h"
#include "platform/PlatformHooks.h"

#include <strings.h>

namespace
{
// Milliseconds between updates of everything animated.
CRule<int> s_animationInterval("interval/animation", CScheduler::kMinAnimationIntervalMs,
                               CScheduler::kMaxAnimationIntervalMs);

CKnob::LimbProbe s_limbProbe = nullptr;

// A knob drawn this many frames ago or more is off the board: its fizz stops.
constexpr uint32_t kDrawnFrames = 8;
// Squared board units: a resting limb this near the knob's centre fizzes it.
constexpr float kNearSquared = 0.01f;

// By limb number.
constexpr const char* kLimbTypes[] = {"handl", "handr", "footl", "footr"};

Vector4<float> Lerp(const Vector4<float>& a, const Vector4<float>& b, float t)
{
    return Vector4<float>(a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.z + t * (b.z - a.z),
                          a.w + t * (b.w - a.w));
}
} // namespace

CKnob::LimbProbe CKnob::SetLimbProbe(LimbProbe probe)
{
    const LimbProbe previous = s_limbProbe;
    s_limbProbe = probe;
    return previous;
}

CRef<CKnob> CKnob::Create(const CXmlNode& element)
{
    CRef<CKnob> knob = CRef<CKnob>::Adopt(new CKnob());
    knob->Load(element);
    return knob;
}

void CKnob::Load(const CXmlNode& element)
{
    const float radius = float(ParseFloat(element.GetAttribute("radius").c_str()));
    m_quad.SetQuadRect(0, Vector4<float>(-radius, -radius, radius, radius));
    m_quad.SetMaterial(CMaterialSet::Instance()->Find(element.GetAttribute("material")));
    m_quad.SetQuadUv(0, 0, ReadColourAttribute(&element, "uvs", Vector4<float>(0.0f, 0.0f, 1.0f, 1.0f)));
    m_quad.rotation = float(ParseFloat(element.GetAttribute("angle").c_str()));
    m_lod = float(ParseFloat(element.GetAttribute("lod").c_str()));
    m_fadeLod =
        element.HasAttribute("fadelod") ? float(ParseFloat(element.GetAttribute("fadelod").c_str())) : 1.0f;
    m_colour = ReadColourAttribute(&element, "colour", kWhite);
    m_fade = ReadColourAttribute(&element, "fade", kWhite);
    m_type = element.HasAttribute("type") ? element.GetAttribute("type") : CString("drop");

    m_limb = LimbOfType(m_type);
    if (m_limb < 0)
    {
        Unschedule();
        m_effect.Reset();
        return;
    }
    ScheduleIn("maingame", s_animationInterval.Get());
    m_effect =
        CParticles::Create(element.HasAttribute("fizz") ? element.GetAttribute("fizz") : CString("fizz"));
}

void CKnob::Draw(const Vector2<float>& p, float t)
{
    LodBiasScope bias(Place(p, t));
    m_quad.Draw();
}

float CKnob::Place(const Vector2<float>& p, float t)
{
    if (m_effect)
        m_effect->SetTranslation(p);
    m_quad.translation.x = p.x;
    m_quad.translation.y = p.y;
    m_quad.SetColour(Lerp(m_fade, m_colour, t));
    m_drawnFrame = PlatformHooks::GetFrameCount();
    m_drawn = true;
    return m_fadeLod + t * (m_lod - m_fadeLod);
}

void CKnob::Update(float)
{
    // Unsigned, so that the difference stays right when the frame counter wraps.
    const uint32_t age = uint32_t(PlatformHooks::GetFrameCount()) - uint32_t(m_drawnFrame);
    // A knob never drawn is not on the board, whatever the frame counter says.
    if (!m_drawn || age >= kDrawnFrames)
    {
        if (m_effect)
            m_effect->SetEmitting(false);
        return;
    }
    if (!m_effect || !s_limbProbe)
        return;
    Vector2<float> joint;
    bool held = false;
    if (!s_limbProbe(m_limb, &joint, &held))
        return;
    const Vector2<float> offset = joint - Vector2<float>(m_quad.translation.x, m_quad.translation.y);
    m_effect->SetEmitting(held || Dot(offset, offset) < kNearSquared);
}

int32_t CKnob::LimbOfType(const CString& type)
{
    if (type.size() < 5)
        return -1;
    for (int32_t limb = 0; limb < 4; ++limb)
        if (strncasecmp(type.c_str(), kLimbTypes[limb], 5) == 0)
            return limb;
    return -1;
}
