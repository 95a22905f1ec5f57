#include "scene/CParticleSparkle.h"

#include "Graphics/CMaterialSet.h"
#include "core/CXmlNode.h"
#include "core/ReadColourAttribute.h"
#include "core/TextFields.h"
#include "scene/ParticleKindMap.h"
#include "scene/SineWaves.h"

#include <cmath>

namespace
{
CRef<CParticle> MakeSparkle()
{
    return MakeRef<CParticleSparkle>();
}

const bool s_registered = ParticleKindMap::Register("Sparkle", &MakeSparkle);

double Radians(double degrees)
{
    return degrees * M_PI / 180.0;
}
} // namespace

CParticleSparkle::CParticleSparkle()
{
    m_batch.SetQuadRect(0, Vector4<float>(0.0f, 0.0f, 0.0f, 0.0f));
}

void CParticleSparkle::Load(const CXmlNode& element)
{
    float xy[2] = {};
    ParseFloatFields(element.GetAttribute("position").c_str(), xy, 2);
    position = Vector2<float>(xy[0], xy[1]);

    const float r = float(ParseFloat(element.GetAttribute("radius").c_str()));
    m_batch.SetQuadRect(0, Vector4<float>(-r, -r, r, r));
    m_batch.SetMaterial(CMaterialSet::Instance()->Find(element.GetAttribute("material")));
    m_batch.SetQuadUv(0, 0, ReadColourAttribute(&element, "uvs", Vector4<float>(0.0f, 0.0f, 1.0f, 1.0f)));

    m_waves = ReadSineWaves(element, "frequency");

    float threshold[2] = {};
    ParseFloatFields(element.GetAttribute("threshold").c_str(), threshold, 2);
    m_threshold = Vector2<float>(threshold[0], threshold[1]);
}

void CParticleSparkle::Draw(int32_t now)
{
    if (Animate(now))
        m_batch.Draw();
}

float CParticleSparkle::Wave(int32_t now) const
{
    return SineWaveProduct(m_waves, now);
}

float CParticleSparkle::AlphaOf(float v) const
{
    const float low = m_threshold.x;
    const float high = m_threshold.y;
    // Equal thresholds would divide by zero: they make a step instead.
    const float a = high == low ? (v > low ? 1.0f : 0.0f) : (v - low) / (high - low);
    if (!(a > 0.0f))
        return 0.0f;
    return a > 1.0f ? 1.0f : a;
}

bool CParticleSparkle::Animate(int32_t now)
{
    const float v = Wave(now);
    const float a = AlphaOf(v);
    if (!(a > 0.0f))
        return false;
    m_batch.translation.x = position.x;
    m_batch.translation.y = position.y;
    m_batch.SetColour(Vector4<float>(a, a, a, a));
    m_batch.rotation = float(15.0 * std::sin(Radians(180.0 * v)));
    return true;
}
