#include "ui/CButtonTransitionGrow.h"

#include "core/CRule.h"
#include "core/ContentLimits.h"
#include "core/Ease.h"
#include "ui/CButtonServices.h"

#include <algorithm>

namespace
{
CRule<float> s_duration("ui/growtransitionduration", 0.0f, kMaxContentSeconds); // seconds

// Rows by phase: 0 the grown look, 1 the start look. Rects and uvs are scaled about their
// centres, so the start look is a quarter-height sliver under the centre showing the lower
// half of the picture, with red and blue at 75 %.
constexpr Vector4<float> kRectFactors[2] = {{1.0f, 1.0f, 1.0f, 1.0f}, {1.0f, -0.25f, 1.0f, 1.0f}};
constexpr Vector4<float> kUvFactors[2] = {{1.0f, 1.0f, 1.0f, 1.0f}, {1.0f, 0.0f, 1.0f, 1.0f}};
constexpr Vector4<float> kColourFactors[2] = {{1.0f, 1.0f, 1.0f, 1.0f}, {0.75f, 1.0f, 0.75f, 1.0f}};

// Phases beyond the tables read as the start look.
uint32_t Row(uint32_t phase)
{
    return phase == 0 ? 0 : 1;
}
} // namespace

CRef<CButtonTransition> CButtonTransitionGrow::Create()
{
    return CRef<CButtonTransition>::Adopt(new CButtonTransitionGrow());
}

float CButtonTransitionGrow::BlendAt(int32_t now) const
{
    const float elapsed = float(now - m_startTime) / 1000.0f;
    // A zero or negative duration arrives at once, but not before the start time.
    const float duration = s_duration.Get();
    const float p = duration > 0.0f ? elapsed / duration : (elapsed >= 0.0f ? 1.0f : 0.0f);
    return Ease(0, std::clamp(p, 0.0f, 1.0f));
}

void CButtonTransitionGrow::Apply(CButton& button, Vector4<float>& colour, Vector4<float>& rect,
                                  Vector4<float>& uvs, uint32_t& frame)
{
    Vector4<float> rectFactors = kRectFactors[Row(m_phase)];
    Vector4<float> uvFactors = kUvFactors[Row(m_phase)];
    Vector4<float> colourFactors = kColourFactors[Row(m_phase)];
    if (m_phase != m_targetPhase)
    {
        frame = 0;
        const uint32_t from = Row(m_phase);
        const uint32_t to = Row(m_targetPhase);
        const float e = BlendAt(CButtonServices::Get().GetGameTime());
        if (e >= 1.0f)
        {
            m_phase = m_targetPhase;
            // Arrival at the grown look; the phases are equal from now on, so once per growth.
            if (m_phase == 0)
                CButtonServices::Get().PlaySound("grow-in");
        }
        rectFactors = (1.0f - e) * kRectFactors[from] + e * kRectFactors[to];
        uvFactors = (1.0f - e) * kUvFactors[from] + e * kUvFactors[to];
        colourFactors = (1.0f - e) * kColourFactors[from] + e * kColourFactors[to];
    }
    colour *= colourFactors;
    rect *= rectFactors;
    const float cu = (uvs.x + uvs.z) * 0.5f;
    const float cv = (uvs.y + uvs.w) * 0.5f;
    uvs = Vector4<float>(cu + (uvs.x - cu) * uvFactors.x, cv + (uvs.y - cv) * uvFactors.y,
                         cu + (uvs.z - cu) * uvFactors.z, cv + (uvs.w - cv) * uvFactors.w);
}

bool CButtonTransitionGrow::IsRunning() const
{
    return m_phase != 0 || m_targetPhase != 0;
}
