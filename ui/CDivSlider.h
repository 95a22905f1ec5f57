#pragma once
// The node of a "Slider" element: it places a CSlider in the flow of a pane (the slider's
// template size is in view units, one em being 0.015 of them) with a margin of the node's
// height around it, and hands it the pointer in tree coordinates.
#include "ui/CDiv.h"
#include "ui/CSlider.h"

class CDivSlider : public CDiv
{
  public:
    CDivSlider();
    static CRef<CDiv> Create();

    void Load(CXmlNode* element) override;
    CRef<CDivLine> Layout(CRef<CDivLine> line) override;
    void Draw() override;
    // Taken only while the knob is dragged.
    bool OnMotion(const InputEvent& event) override;
    // Drags begin only on an active, enabled node.
    bool OnDragBegin(const InputEvent& event) override;
    bool OnDragEnd(const InputEvent& event) override;
    bool OnDragCancel(const InputEvent& event) override;

    CSlider& GetSlider() { return m_slider; }
    const Vector2<float>& GetTrackMargin() const { return m_margin; }

  private:
    // Pixels per view unit at the node's scale.
    float GetZoom();

    CSlider m_slider;
    Vector2<float> m_margin; // pixels, around the track
};
