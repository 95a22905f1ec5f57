#pragma once
// The layer kind "Plane": one textured quad placed by the base layer's "placement" and "fit" and
// drawn at the layer's offset (fit "exact": in screen pixels, where no offset applies). A plane
// without "material" draws nothing.
#include "scene/CLayer.h"

class CLayerPlane : public CLayer
{
  public:
    CLayerPlane();

    static CRef<CLayer> Make();

    // Places again (the sway and spring move every frame), then draws the quad.
    void Draw() override;
};
