#include "platform/CInput.h"

#include "core/CClock.h"
#include "platform/CGame.h"
#include "platform/CView.h"
#include "platform/InputEvent.h"

REGISTER_SINGLETON(CInput, "global", 50);

namespace
{
// Modifier keys (SDL key symbols) and the KMOD bit each one sets while it is down.
struct ModifierKey
{
    uint32_t key;
    uint32_t bit;
};
constexpr ModifierKey kModifierKeys[] = {
    {304, 0x0001}, // lshift
    {303, 0x0002}, // rshift
    {306, 0x0040}, // lctrl
    {305, 0x0080}, // rctrl
    {308, 0x0100}, // lalt
    {307, 0x0200}, // ralt
    {310, 0x0400}, // lmeta
    {309, 0x0800}, // rmeta
    {300, 0x1000}, // numlock
    {301, 0x2000}, // capslock
    {313, 0x4000}, // mode
};

void Post(const InputEvent& event)
{
    // No game: the program is starting or ending, and nobody listens.
    if (CGame* game = CGame::Peek())
        game->PostEvent(event);
}
} // namespace

Vector2<float> CInput::GetViewPosition() const
{
    return CView::GetCurrent().ScreenToView(m_position);
}

void CInput::SetViewPosition(const Vector2<float>& point)
{
    m_position = CView::GetCurrent().ViewToScreen(point);
}

void CInput::SetPosition(const Vector2<float>& position)
{
    m_position = position;
    const float dx = position.x - m_lastMovedPoint.x;
    const float dy = position.y - m_lastMovedPoint.y;
    if (dx * dx + dy * dy > kMoveDistance * kMoveDistance)
    {
        m_lastMovedPoint = position;
        m_lastMoveTime = CClock::Now();
    }
}

bool CInput::HasMovedRecently() const
{
    return float(CClock::Since(m_lastMoveTime)) < float(kRecentMoveMs);
}

void CInput::SetButton(uint8_t mask, bool down)
{
    m_heldButtons = down ? uint8_t(m_heldButtons | mask) : uint8_t(m_heldButtons & ~mask);
}

void CInput::OnPointerMotion(const Vector2<float>& position, uint8_t buttonState)
{
    m_heldButtons = uint8_t(buttonState & 0x1f);
    // Motion with no button held is hover, which a touch screen never gives: dropped whole.
    if (m_heldButtons == 0)
        return;
    SetPosition(position);
    Post(InputEvent::Pointer(InputEvent::kMotion, position, m_heldButtons, 0));
}

void CInput::OnPointerButton(const Vector2<float>& position, uint8_t button, bool down)
{
    const uint8_t bit = InputEvent::ButtonMask(button);
    SetPosition(position);
    SetButton(bit, down);
    Post(InputEvent::Pointer(down ? InputEvent::kButtonDown : InputEvent::kButtonUp, position, m_heldButtons,
                             bit));
}

void CInput::PostPointerEvent()
{
    Post(InputEvent::Pointer(InputEvent::kMotion, m_position, m_heldButtons, 0));
}

void CInput::OnKey(uint32_t key, uint16_t unicode, bool down)
{
    if (key < kKeyCount)
        m_keysDown[key] = down;
    Post(InputEvent::Key(down, key, GetModifiers(), down ? unicode : 0));
}

void CInput::SetBlocked(bool blocked)
{
    if (blocked == m_blocked)
        return;
    // Whatever was held when the pump stopped (or started) listening will never see its release.
    m_heldButtons = 0;
    m_blocked = blocked;
}

bool CInput::IsPointerInputBlocked()
{
    const CInput* input = Peek();
    return input && input->m_blocked;
}

uint32_t CInput::GetModifiers() const
{
    uint32_t modifiers = 0;
    for (const ModifierKey& modifier : kModifierKeys)
        if (m_keysDown[modifier.key])
            modifiers |= modifier.bit;
    return modifiers;
}
