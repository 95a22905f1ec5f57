#pragma once
// The layer kind "Rays": shafts of light (CRay), one per "ray" child, fanning out from their
// origins and breathing with the pond's layer clock, so they freeze while the game is paused.
#include "core/CRef.h"
#include "scene/CLayer.h"
#include "scene/CRay.h"

#include <vector>

class CLayerRays : public CLayer
{
  public:
    CLayerRays();

    static CRef<CLayer> Make();

    // The common attributes, then one ray per "ray" child in document order.
    void Load(CXmlNode& element) override;
    // Every ray at the layer clock, translated by GetSpriteOffset.
    void Draw() override;

    const std::vector<CRef<CRay>>& GetRays() const { return m_rays; }

  private:
    std::vector<CRef<CRay>> m_rays;
};
