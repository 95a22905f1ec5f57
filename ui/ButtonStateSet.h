#pragma once
// The four looks of a button in one set: normal, hover, pressed and inactive, indexed by the
// button's state (0 to 3). A two-set button shows set 0 or 1 by its linked preference.
#include "core/CString.h"

#include <array>
#include <cstdint>

struct ButtonStateLook
{
    uint32_t frame = 0;   // the frame the look walks to
    bool present = false; // the template names this look
    CString sound;        // played when the look is entered; empty for none
};

struct ButtonStateSet
{
    // The element names of the looks, in state order.
    static constexpr const char* kLookNames[4] = {"active", "hover", "pressed", "inactive"};

    std::array<ButtonStateLook, 4> looks;
};
