#pragma once
// The node of a pane made from a "Button" element: one button record fitted into the flow
// layout. The node's box is the button's drawn size at the node's scale, the button is drawn at
// the node's place, the node's pointer input drives it, and it can recolour another node of the
// tree by the button's state ("affects"): brighter while hovered, faint while disabled.
// Invariants: the button takes pointer input and shortcuts only while the node and every
// ancestor are active and enabled (a hidden button or a pane that is turning never clicks), and
// it is hit where it was last drawn (anchors mean nothing inside a pane).
#include "core/CUpdate.h"
#include "core/MathConstants.h"
#include "core/Vector4.h"
#include "ui/CButton.h"
#include "ui/CDiv.h"

#include <cstdint>

class CDivButton : public CDiv, public CUpdate
{
  public:
    // The button's zoom is the node's scale over this: one view unit of the button's radius is
    // one em over it, so buttons and text grow together.
    static constexpr float kEmPerUnit = 0.015f;

    // Updates the affected node every 50 ms of the current scope's clock.
    CDivButton();
    static CRef<CDiv> Create();

    // The common node attributes, the button ("button" element attributes and its template),
    // "affects"; the node and its ancestors then handle named events, motion, press and release.
    void Load(CXmlNode* element) override;
    // The box is the button's drawn size at the node's scale, in pixels.
    CRef<CDivLine> Layout(CRef<CDivLine> line) override;
    // The node, then the button at the node's centre with the pointer's hover, after a shadow
    // pass in the node's own shadow colour when "shadowquality" is above 0.
    void Draw() override;

    // The button's shortcuts; true when one matched.
    bool OnEvent(const InputEvent& event) override;
    // Never taken.
    bool OnMotion(const InputEvent& event) override;
    bool OnPress(const InputEvent& event) override;
    // True on a click.
    bool OnRelease(const InputEvent& event) override;

    // The affects update.
    void Update(float dt) override;
    // Recolours the first node whose id is "affects" when the button's state changed: the
    // node's own colours captured at first use, brightened in hover, alpha a quarter when
    // inactive.
    void UpdateAffects();

    CButton& GetButton() { return m_button; }
    const CString& GetAffects() const { return m_affects; }

  private:
    // The node and every ancestor are active and enabled.
    bool TakesInput() const;

    CButton m_button;
    CString m_affects;
    Vector4<float> m_baseColour = kUnsetVector4f;
    Vector4<float> m_baseShadowColour = kUnsetVector4f;
    uint32_t m_lastState = 4; // none applied yet
};
