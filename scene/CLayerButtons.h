#pragma once
// The layer kind "Buttons": a row of button records in a pond scene, drawn and hit-tested at the
// layer's nudge offset, so a nudged pond moves the buttons and their touch areas together. While
// the pond's nudge is changing the buttons neither update nor answer the pointer. A control of
// the group "frontend" of the scope current when it is made.
#include "platform/CControl.h"
#include "scene/CLayer.h"
#include "ui/CButton.h"

#include <memory>
#include <vector>

class CLayerButtons : public CLayer, public CControl
{
  public:
    CLayerButtons();
    ~CLayerButtons() override;
    static CRef<CLayer> Create();

    // The common layer attributes, then one button per "button" child, in order.
    void Load(CXmlNode& element) override;
    void Update(float dt) override;
    void Draw() override;

    bool AcceptsPress(const InputEvent& event) override;
    // Motion and releases reach every button and are never taken; a press is taken by the first
    // button, in document order, that captures it.
    bool OnMove(const InputEvent& event) override;
    bool OnPress(const InputEvent& event) override;
    bool OnRelease(const InputEvent& event) override;

    size_t GetButtonCount() const { return m_buttons.size(); }
    CButton& GetButton(size_t i) const { return *m_buttons[i]; }

  private:
    bool IsPondNudging() const;
    // The event's point on the whole-screen view, less the nudge offset: where the buttons are.
    Vector2<float> ToLayer(const InputEvent& event) const;

    // The links of CButton hold addresses, so each record stays where it is made.
    std::vector<std::unique_ptr<CButton>> m_buttons;
};
