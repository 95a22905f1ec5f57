#pragma once
// The node of a "Daisy" element: it sizes and places a CDaisy in the flow of a pane ("scale" is
// the flower's diameter in view units, one em being 0.015 of them), advances it every 50 ms
// and raises two round emboss spots under it for the screen flip's relief.
#include "core/CUpdate.h"
#include "ui/CDaisy.h"
#include "ui/CDiv.h"

class CDivDaisy : public CDiv, public CUpdate
{
  public:
    // Milliseconds between two updates of the petals.
    static constexpr int32_t kUpdateMs = 50;

    // Scheduled in the current scope.
    CDivDaisy();
    static CRef<CDiv> Create();

    // The common attributes, then "scale" (1 when empty), "shadow" (offset in flower diameters;
    // none when empty) and "hold" (show the score at load and keep it).
    void Load(CXmlNode* element) override;
    CRef<CDivLine> Layout(CRef<CDivLine> line) override;
    void Draw() override;
    void CollectEmboss(std::vector<float>& spots) override;
    void Update(float dt) override;

    // The puzzle's reset: follows the score again from a full flower, updated in the scope
    // "global" so that it goes on while the in-game pane pauses the game.
    void Rearm();

    CDaisy& GetDaisy() { return m_daisy; }
    // The flower's diameter in pixels.
    float GetDiameter();

  private:
    CDaisy m_daisy;
    float m_scale = 1.0f; // diameter in view units at a node scale of one em per 0.015 units
};
