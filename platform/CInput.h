#pragma once
// The program's memory of the pointer and the keyboard between events: where the pointer is
// (logical screen pixels), which buttons are held, when it last moved, which keys are down,
// and whether pointer input is blocked. The platform's event pump writes it for every pointer
// and key event and it posts the matching input records to the game; everything that needs
// the pointer reads it here. Invariant: held buttons is 0 whenever blocking changes; a key-down
// flag exists for every SDL key symbol below kKeyCount and for none above.
#include "core/CBase.h"
#include "core/CSingleton.h"
#include "core/Vector2.h"

#include <bitset>
#include <cstdint>

class CInput : public CBase, public CSingleton<CInput>
{
  public:
    // SDL 1.2's SDLK_LAST: key symbols from 0 to 322.
    static constexpr uint32_t kKeyCount = 323;
    // The pointer counts as moving when it travelled more than this (pixels) ...
    static constexpr float kMoveDistance = 2.0f;
    // ... and as having moved recently for this long afterwards (milliseconds).
    static constexpr int32_t kRecentMoveMs = 500;

    const Vector2<float>& GetPosition() const { return m_position; }
    // The position in the units of the current view (CView::GetCurrent).
    Vector2<float> GetViewPosition() const;
    // Sets the position from a point in the current view's units.
    void SetViewPosition(const Vector2<float>& point);
    // Stores the position; a move of more than kMoveDistance renews the last move time (the
    // platform's frame tick).
    void SetPosition(const Vector2<float>& position);
    // Moved more than kMoveDistance within the last kRecentMoveMs of frame time.
    bool HasMovedRecently() const;

    // Button masks: 1 left, 2 middle, 4 right, 8 wheel up, 16 wheel down.
    // True when any bit of the mask is held.
    bool IsButtonDown(uint8_t mask) const { return (m_heldButtons & mask) != 0; }
    void SetButton(uint8_t mask, bool down);
    uint8_t GetHeldButtons() const { return m_heldButtons; }

    // The pump's pointer events, in logical pixels. Motion takes the system's whole button
    // state; it is posted (and the position kept) only while a button is held. A button event
    // takes the button's mask bit (0 for a button number outside 1..5).
    void OnPointerMotion(const Vector2<float>& position, uint8_t buttonState);
    void OnPointerButton(const Vector2<float>& position, uint8_t button, bool down);
    // Posts a motion record with the current position and held buttons.
    void PostPointerEvent();

    // The pump's key events: keeps the key-down flag, then posts a key record whose modifiers
    // are built from the keys held after this event (lock keys count while held down).
    // unicode is the character of a key down; a key up posts 0 whatever it is given.
    void OnKey(uint32_t key, uint16_t unicode, bool down);
    // False for symbols of kKeyCount or more.
    bool IsKeyDown(uint32_t key) const { return key < kKeyCount && m_keysDown[key]; }

    // While blocked (the tutorial's and the replay's own finger), the pump drops pointer and
    // focus events; keys still pass. A change of the value forgets the held buttons.
    void SetBlocked(bool blocked);
    bool IsBlocked() const { return m_blocked; }
    // What the pump asks: the instance's blocked flag, false when there is no instance.
    static bool IsPointerInputBlocked();

    // SDL KMOD bits of the modifier keys held in the flags.
    uint32_t GetModifiers() const;

  private:
    friend class CSingleton<CInput>;
    CInput() = default;

    // Input state: the pointer and keys as the last events left them.
    Vector2<float> m_position;
    Vector2<float> m_lastMovedPoint;
    uint32_t m_lastMoveTime = 0; // frame tick, ms
    uint8_t m_heldButtons = 0;
    bool m_blocked = false;
    std::bitset<kKeyCount> m_keysDown;
};
