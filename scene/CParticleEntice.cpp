#include "scene/CParticleEntice.h"

#include "Graphics/CMaterialSet.h"
#include "core/CRule.h"
#include "core/ContentLimits.h"
#include "core/Ease.h"
#include "core/Random.h"
#include "scene/ParticleKindMap.h"

#include <cmath>

namespace
{
CRule<CString> s_material("particles/entice/material");
CRule<Vector4<float>> s_uvs("particles/entice/uvs");
// Half the sprite's side; a third of it bounds the pulse's offset.
CRule<float> s_radius("particles/entice/radius");
// Seconds, minimum and maximum of a particle's pulse period.
CRule<Vector2<float>> s_period("particles/entice/period", Vector2<float>(0.0f, 0.0f),
                                Vector2<float>(kMaxContentSeconds, kMaxContentSeconds));

CRef<CParticle> MakeEntice()
{
    return MakeRef<CParticleEntice>();
}

const bool s_registered = ParticleKindMap::Register("Entice", &MakeEntice);

double Fraction()
{
    return GlobalRandom().NextFraction();
}

double Radians(double degrees)
{
    return degrees * M_PI / 180.0;
}
} // namespace

CParticleEntice::CParticleEntice() : m_radius(s_radius.Get())
{
    const float r = m_radius;
    m_batch = QuadBatch(Vector2<float>(), Vector4<float>(-r, -r, r, r),
                        CMaterialSet::Instance()->Find(s_material.Get()),
                        Vector4<float>(1.0f, 1.0f, 1.0f, 1.0f), s_uvs.Get(), 0.0f);
    const Vector2<float>& period = s_period.Get();
    m_period = float(period.x + (period.y - period.x) * Fraction());
}

void CParticleEntice::Draw(int32_t now)
{
    if (Animate(now))
        m_batch.Draw();
}

bool CParticleEntice::Animate(int32_t now)
{
    // A period of 0 or less has no pulse: without this, t would be a division by zero.
    if (!(m_period > 0.0f))
        return false;
    if (!m_started)
    {
        m_started = true;
        m_cycleStart = now - SecondsToMs(Fraction() * m_period);
    }
    const double t = double(now - m_cycleStart) * 0.001 / m_period;
    if (t >= 1.0)
    {
        m_cycleStart = now;
        const float r = m_radius / 3.0f;
        if (r > 0.0f)
        {
            const float x = float(-r + 2.0f * r * Fraction());
            m_offset = Vector2<float>(x, float(-r + 2.0f * r * Fraction()));
        }
        else
            m_offset = Vector2<float>(-r, -r);
        m_waiting = false;
        return false;
    }
    const float a = EasePulse(1, float(t));
    if (!(a > 0.0f) || m_waiting)
        return false;
    const Vector2<float> at = position + m_offset;
    m_batch.translation.x = at.x;
    m_batch.translation.y = at.y;
    m_batch.SetColour(Vector4<float>(1.0f, 1.0f, 1.0f, a));
    m_batch.rotation = float(15.0 * std::sin(Radians(360.0 * t)));
    return true;
}
