#include "ui/CDivButton.h"

#include "Graphics/LodBiasScope.h"
#include "core/CPreference.h"
#include "core/CXmlNode.h"
#include "platform/CInput.h"
#include "platform/InputEvent.h"

namespace
{
[[maybe_unused]] const bool s_registered = (CDiv::RegisterTag("Button", &CDivButton::Create), true);

CPreference<float> s_shadowQuality("shadowquality", 0.75f);

// How often the affected node follows the button's state (ms).
constexpr int32_t kAffectsIntervalMs = 50;
// The shadow pass lies this many em (times the scale) left and down of the button.
constexpr float kShadowShiftX = -3.0f;
constexpr float kShadowShiftY = 4.5f;
constexpr float kShadowLodBias = 1.0f;

Vector4<float> Brightened(Vector4<float> c)
{
    c.x = (c.x - 0.5f) * 1.5f + 0.5f;
    c.y = (c.y - 0.5f) * 1.5f + 0.5f;
    c.z = (c.z - 0.5f) * 1.5f + 0.5f;
    return c;
}
} // namespace

CDivButton::CDivButton() : CDiv("button")
{
    m_box = false;
    m_inline = true;
    Schedule(kAffectsIntervalMs);
}

CRef<CDiv> CDivButton::Create()
{
    return CRef<CDiv>::Adopt(new CDivButton());
}

void CDivButton::Load(CXmlNode* element)
{
    CDiv::Load(element);
    if (!element)
        return;
    m_button.Load(*element);
    // The node's flow places the button; measured from a view's edge it would be hit under the
    // whole-screen view where it was drawn under the pane's.
    m_button.ClearAnchors();
    m_affects = element->GetAttribute("affects");
    AddHandlerBits(kHandlesEvent | kHandlesMotion | kHandlesPress | kHandlesRelease);
}

CRef<CDivLine> CDivButton::Layout(CRef<CDivLine> line)
{
    const float zoom = GetScale() / kEmPerUnit;
    m_button.zoom = zoom;
    const Vector2<float>& radius = m_button.GetRadius();
    m_computedSize = Vector2<float>(2.0f * zoom * radius.x, 2.0f * zoom * radius.y);
    return CDiv::Layout(line);
}

void CDivButton::Draw()
{
    CDiv::Draw();
    const float scale = GetScale();
    const Vector2<float>& radius = m_button.GetRadius();
    const Vector2<float> centre = m_position + m_button.zoom * radius;
    m_button.SetScreenPosition(centre);
    m_button.zoom = scale / kEmPerUnit;

    const CInput* input = CInput::Peek();
    m_button.OnMotion(GetTouchPosition(), input && input->IsButtonDown(InputEvent::kLeft));

    if (s_shadowQuality > 0.0f && m_shadowColour != kUnsetVector4f && m_shadowColour.w > 0.0f)
    {
        const LodBiasScope bias(kShadowLodBias);
        const Vector4<float> colour = m_button.colour;
        m_button.colour = m_shadowColour;
        m_button.SetScreenPosition(centre + Vector2<float>(kShadowShiftX * scale, kShadowShiftY * scale));
        m_button.Animate();
        m_button.Draw();
        m_button.colour = colour;
        m_button.SetScreenPosition(centre);
        m_button.Animate();
    }
    m_button.Draw();
}

bool CDivButton::TakesInput() const
{
    for (const CDiv* node = this; node; node = node->GetParent())
        if (!node->IsActive() || !node->IsEnabled())
            return false;
    return true;
}

bool CDivButton::OnEvent(const InputEvent& event)
{
    const bool matched = TakesInput() && m_button.OnShortcut(event.name);
    UpdateAffects();
    return matched;
}

bool CDivButton::OnMotion(const InputEvent& event)
{
    m_button.OnMotion(event.position, (event.held & InputEvent::kLeft) != 0);
    UpdateAffects();
    return false;
}

bool CDivButton::OnPress(const InputEvent& event)
{
    return TakesInput() && m_button.OnPress(event.position);
}

bool CDivButton::OnRelease(const InputEvent& event)
{
    if (TakesInput())
        return m_button.OnRelease(event.position);
    // A press held over a node that has since gone inactive ends without a click.
    if (m_button.IsHeld())
        m_button.OnMotion(event.position, false);
    return false;
}

void CDivButton::Update(float)
{
    UpdateAffects();
}

void CDivButton::UpdateAffects()
{
    const uint32_t state = m_button.GetState();
    if (m_affects.empty() || state == m_lastState)
        return;
    m_lastState = state;
    const CLink<CDiv> root = GetRoot();
    if (!root)
        return;
    const CLink<CDiv> target = root->FindById(m_affects, 0);
    CDiv* node = target.Get();
    if (!node)
        return;
    if (m_baseColour == kUnsetVector4f)
    {
        m_baseColour = node->GetColour();
        m_baseShadowColour = node->GetShadowColour();
    }
    Vector4<float> colour = m_baseColour;
    Vector4<float> shadow = m_baseShadowColour;
    if (state == CButton::kHover)
    {
        colour = Brightened(colour);
        shadow = Brightened(shadow);
    }
    else if (state == CButton::kInactive)
    {
        colour.w *= 0.25f;
        shadow.w *= 0.25f;
    }
    node->SetColour(colour);
    node->SetShadowColour(shadow);
}
