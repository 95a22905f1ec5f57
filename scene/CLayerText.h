#pragma once
// The layer kind "Text": a user-interface pane in a pond scene, named by "source" or written
// inside the layer element (which is then the pane's root, so its pane attributes sit on the
// layer element). The pane takes input in the group "frontend" of the scope current at load for
// as long as the layer lives, drawn or not. Puzzle ponds name their heads-up pane "overlay".
#include "core/CRef.h"
#include "scene/CLayer.h"
#include "ui/CDivPane.h"

class CLayerText : public CLayer
{
  public:
    CLayerText();
    static CRef<CLayer> Create();

    // The common layer attributes, then the pane: "source" names it (see
    // CDivPane::CreateByName); without one the element itself is the pane.
    void Load(CXmlNode& element) override;
    CDivPane* GetPane() override { return m_pane.Get(); }
    // The pane, while the layer is shown.
    void Draw() override;

  private:
    CRef<CDivPane> m_pane;
};
