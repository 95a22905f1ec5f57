#include "platform/CControl.h"

#include "core/CRule.h"
#include "platform/CControls.h"
#include "platform/CGame.h"
#include "platform/InputEvent.h"

namespace
{
// Logical pixels the pointer must travel from the press before a drag is offered.
CRule<float> s_dragDistanceMin("ui/dragdistancemin");
} // namespace

bool CControl::HandleEvent(const InputEvent& event)
{
    switch (event.kind)
    {
    case InputEvent::kMotion:
    {
        if (event.held != s_lastHeld)
        {
            if (s_draggingButton != 0)
            {
                OnDragCancel(event);
                s_draggingButton = 0;
            }
            s_lastHeld = event.held;
        }
        if (s_draggingButton == 0)
            CheckDragStart(event);
        return OnMove(event);
    }
    case InputEvent::kButtonDown:
    {
        if (!AcceptsPress(event))
            return false;
        bool result = false;
        if (s_draggingButton != 0)
        {
            result = OnDragCancel(event);
            s_draggingButton = 0;
        }
        // Every handler is called; a consumed press does not hide the other button's.
        if (event.changed & InputEvent::kLeft)
            result = OnPress(event) || result;
        if (event.changed & InputEvent::kRight)
            result = OnRightPress(event) || result;
        s_pressPosition = event.position;
        return result;
    }
    case InputEvent::kButtonUp:
    {
        const uint8_t changed = event.changed;
        bool result = false;
        if (s_draggingButton == 0)
        {
            if (changed & InputEvent::kWheelUp)
                result = OnWheelUp(event);
            if (changed & InputEvent::kWheelDown)
                result = OnWheelDown(event) || result;
            if (changed & InputEvent::kLeft)
                result = OnClick(event) || result;
            if (changed & InputEvent::kRight)
                result = OnRightClick(event) || result;
        }
        else if (changed & s_draggingButton)
        {
            result = OnDragEnd(event);
        }
        else if (changed != 0)
        {
            result = OnDragCancel(event);
        }
        // The drag state is not changed here, so that every control offered the record sees the
        // same drag.
        if (changed & InputEvent::kLeft)
            result = OnRelease(event) || result;
        if (changed & InputEvent::kRight)
            result = OnRightRelease(event) || result;
        return result;
    }
    case InputEvent::kKeyDown:
        return OnKey(event);
    case InputEvent::kCommand:
        return OnMessage(event);
    default:
        return false; // key ups and unknown kinds reach no handler
    }
}

bool CControl::AcceptsPress(const InputEvent&)
{
    return m_modal;
}

bool CControl::OnMove(const InputEvent&)
{
    return m_modal;
}

bool CControl::OnClick(const InputEvent&)
{
    return m_modal;
}

bool CControl::OnRightClick(const InputEvent&)
{
    return m_modal;
}

bool CControl::OnRelease(const InputEvent&)
{
    return m_modal;
}

bool CControl::OnRightRelease(const InputEvent&)
{
    return m_modal;
}

bool CControl::OnPress(const InputEvent&)
{
    return m_modal;
}

bool CControl::OnRightPress(const InputEvent&)
{
    return m_modal;
}

bool CControl::OnWheelDown(const InputEvent&)
{
    return m_modal;
}

bool CControl::OnWheelUp(const InputEvent&)
{
    return m_modal;
}

bool CControl::OnDragBegin(const InputEvent&)
{
    return m_modal;
}

bool CControl::OnDragEnd(const InputEvent&)
{
    return m_modal;
}

bool CControl::OnDragCancel(const InputEvent&)
{
    return m_modal;
}

bool CControl::OnKey(const InputEvent&)
{
    return m_modal;
}

bool CControl::OnMessage(const InputEvent& event)
{
    return m_modal && event.name[0] != '_';
}

void CControl::Register(const char* scopeName, const char* groupName)
{
    CGame::Instance()->GetScope(scopeName).GetControls().Add(this, groupName);
}

void CControl::RegisterInCurrentScope(const char* groupName)
{
    CGame::Instance()->GetCurrentScope().GetControls().Add(this, groupName);
}

void CControl::Unregister()
{
    m_backLinks.ResetLinks();
}

void CControl::ResetDragState()
{
    s_lastHeld = 0;
    s_draggingButton = 0;
    s_pressPosition = Vector2<float>();
}

void CControl::CheckDragStart(const InputEvent& event)
{
    if (s_lastHeld != InputEvent::kLeft && s_lastHeld != InputEvent::kRight)
        return;
    const float dx = event.position.x - s_pressPosition.x;
    const float dy = event.position.y - s_pressPosition.y;
    const float minimum = s_dragDistanceMin.Get();
    if (minimum * minimum > dx * dx + dy * dy)
        return;
    const InputEvent begin =
        InputEvent::Pointer(InputEvent::kMotion, s_pressPosition, s_lastHeld, s_lastHeld);
    if (OnDragBegin(begin))
        s_draggingButton = s_lastHeld;
}

void CControl::AfterRecord()
{
    // Only motion updates the last held mask, and motion with no button held never reaches the
    // queue: a drag outlives its release, and the next accepted press cancels it.
    s_draggingButton &= s_lastHeld;
}
