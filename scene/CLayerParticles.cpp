#include "scene/CLayerParticles.h"

#include "Graphics/MatrixScope.h"
#include "core/CXmlNode.h"
#include "scene/CPond.h"
#include "scene/LayerKindMap.h"

#include <GLES/gl.h>

namespace
{
[[maybe_unused]] const bool s_registered = LayerKindMap::Register("Particles", &CLayerParticles::Make);
}

CLayerParticles::CLayerParticles() : CLayer("CLayerParticles") {}

CRef<CLayer> CLayerParticles::Make()
{
    return MakeRef<CLayerParticles>();
}

void CLayerParticles::Load(CXmlNode& element)
{
    CLayer::Load(element);
    m_particles.clear();
    for (CXmlNode* child = element.FindChild("particle"); child; child = child->NextSiblingNamed("particle"))
        if (CRef<CParticle> particle = CParticle::CreateFromXml(*child))
            m_particles.push_back(std::move(particle));
}

void CLayerParticles::Draw()
{
    const MatrixScope matrix;
    const Vector2<float> offset = GetSpriteOffset();
    glTranslatef(offset.x, offset.y, 0.0f);
    const int32_t now = int32_t(CPond::GetLayerClock());
    for (const CRef<CParticle>& particle : m_particles)
        particle->Draw(now);
}
