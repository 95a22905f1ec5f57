#include "scene/CParticle.h"

#include "core/CXmlNode.h"
#include "scene/ParticleKindMap.h"

CRef<CParticle> CParticle::Create(std::string_view kind)
{
    const ParticleKindMap::Factory factory = ParticleKindMap::Find(kind);
    return factory ? factory() : CRef<CParticle>();
}

CRef<CParticle> CParticle::CreateFromXml(const CXmlNode& element)
{
    CRef<CParticle> particle = Create(element.GetAttribute("type"));
    if (particle)
        particle->Load(element);
    return particle;
}

void CParticle::Load(const CXmlNode&) {}
