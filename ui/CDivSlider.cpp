#include "ui/CDivSlider.h"

#include "core/CXmlNode.h"
#include "platform/InputEvent.h"
#include "ui/CDivPane.h"

namespace
{
const bool s_registered = (CDiv::RegisterTag("Slider", &CDivSlider::Create), true);
} // namespace

CDivSlider::CDivSlider() : CDiv("slider")
{
    m_box = false;
    m_inline = true;
}

CRef<CDiv> CDivSlider::Create()
{
    return MakeRef<CDivSlider>();
}

void CDivSlider::Load(CXmlNode* element)
{
    CDiv::Load(element);
    if (!element)
        return;
    m_slider.Load(*element);
    AddHandlerBits(kHandlesMotion | kHandlesDragBegin | kHandlesDragEnd | kHandlesDragCancel);
}

CRef<CDivLine> CDivSlider::Layout(CRef<CDivLine> line)
{
    const float zoom = GetZoom();
    const Vector2<float> track = m_slider.GetSize() * zoom;
    m_margin = Vector2<float>(track.y, track.y);
    m_computedSize = track + m_margin;
    return CDiv::Layout(line);
}

void CDivSlider::Draw()
{
    CDiv::Draw();
    m_slider.FollowPreference();
    m_slider.OnMotion(GetTouchPosition());
    m_slider.SetPosition(m_position + m_margin * 0.5f);
    m_slider.SetScale(GetZoom());
    m_slider.Draw();
}

bool CDivSlider::OnMotion(const InputEvent& event)
{
    m_slider.OnMotion(event.position);
    // While the knob is dragged the motion is the slider's: a control beneath that acts on any
    // drag (the front end's board scrolls) must not move with it.
    return m_slider.IsDragging();
}

bool CDivSlider::OnDragBegin(const InputEvent& event)
{
    // A hidden or disabled slider (a pane still turning in) takes no drag.
    if (!m_active || !m_enabled)
        return false;
    return m_slider.OnDragBegin(event.position);
}

bool CDivSlider::OnDragEnd(const InputEvent& event)
{
    return m_slider.OnDragEnd(event.position);
}

bool CDivSlider::OnDragCancel(const InputEvent& event)
{
    return m_slider.OnDragCancel();
}

float CDivSlider::GetZoom()
{
    return GetScale() / CDivPane::kViewUnitsPerEm;
}
