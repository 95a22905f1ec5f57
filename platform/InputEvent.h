#pragma once
// One entry of a mode's input queue: a pointer change, a key, or a named command. A plain
// value copied into and out of queues. Invariant: name and argument are always NUL-terminated
// and hold at most kTextLength characters.
#include "core/Vector2.h"

#include <cstdint>

struct InputEvent
{
    enum Kind : uint32_t
    {
        kMotion = 0,
        kButtonDown = 1,
        kButtonUp = 2,
        kKeyDown = 3,
        kKeyUp = 4,
        kCommand = 5,
    };

    // Button mask bits (SDL button numbers 1..5).
    static constexpr uint8_t kLeft = 1;
    static constexpr uint8_t kMiddle = 2;
    static constexpr uint8_t kRight = 4;
    static constexpr uint8_t kWheelUp = 8;
    static constexpr uint8_t kWheelDown = 16;

    // The mask bit of an SDL button number 1..5; 0 for any other number.
    static constexpr uint8_t ButtonMask(uint8_t button)
    {
        return button >= 1 && button <= 5 ? uint8_t(1u << (button - 1)) : 0;
    }

    // Longest command name or argument, in characters; longer texts are cut.
    static constexpr int kTextLength = 13;

    // A pointer record: position in logical screen pixels, the buttons held after it and the
    // one that changed (0 for motion).
    static InputEvent Pointer(Kind kind, const Vector2<float>& position, uint8_t held, uint8_t changed);
    // A key record: SDL key symbol, modifier bits, and the character of a key down (0 for up).
    static InputEvent Key(bool down, uint32_t key, uint32_t modifiers, uint16_t unicode);
    // A named command; null texts read as "", texts are cut to kTextLength characters.
    static InputEvent Command(const char* name, const char* argument);

    uint32_t kind = kMotion;
    Vector2<float> position; // kinds 0-2, logical pixels
    uint8_t held = 0;        // kinds 0-2: buttons held after the event
    uint8_t changed = 0;     // kinds 1-2: the button that went down or up
    uint32_t key = 0;        // kinds 3-4: SDL key symbol
    uint32_t modifiers = 0;  // kinds 3-4: SDL KMOD bits
    uint16_t unicode = 0;    // kind 3
    char name[kTextLength + 1] = {};
    char argument[kTextLength + 1] = {};
};
