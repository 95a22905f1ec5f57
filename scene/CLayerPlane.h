#pragma once
// The layer kind "Plane": one textured quad placed by the base layer's "placement" and "fit" and
// drawn at the layer's offset (fit "exact": in screen pixels, where no offset applies). A plane
// without "material" draws nothing. "effectaffect" names another layer of the pond that reacts
// (CLayer::Affect) each time the plane has drawn, so the board's pulse follows the plane.
#include "core/CRef.h"
#include "scene/CEffectAffect.h"
#include "scene/CLayer.h"

class CLayerPlane : public CLayer
{
  public:
    CLayerPlane();

    static CRef<CLayer> Make();

    // The common attributes, then "effectaffect" (a new link replaces the old one).
    void Load(CXmlNode& element) override;
    // Places again (the sway and spring move every frame), draws the quad, then runs the effect
    // link.
    void Draw() override;

    // The effect link, or null without "effectaffect".
    CEffectAffect* GetEffect() const { return m_effect.Get(); }

  private:
    CRef<CEffectAffect> m_effect;
};
