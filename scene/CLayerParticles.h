#pragma once
// The layer kind "Particles": single particle effects (sparkles, entice pulses), one per
// "particle" child, drawn over the scene at the layer's offset with the pond's layer clock.
// Invariant: the list holds no nulls; a child whose "type" names no kind is left out.
#include "core/CRef.h"
#include "scene/CLayer.h"
#include "scene/CParticle.h"

#include <vector>

class CLayerParticles : public CLayer
{
  public:
    CLayerParticles();

    static CRef<CLayer> Make();

    // The common attributes, then one particle per "particle" child in document order.
    void Load(CXmlNode& element) override;
    // Each particle at the layer clock, translated by GetSpriteOffset.
    void Draw() override;

    const std::vector<CRef<CParticle>>& GetParticles() const { return m_particles; }

  private:
    std::vector<CRef<CParticle>> m_particles;
};
