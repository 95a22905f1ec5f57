#pragma once
// One event of the platform's queue, translated once from SDL at the edge so that the pump's
// event table can be driven by a stand-in source in tests. Fields not used by a kind stay 0.
#include <cstdint>

struct PlatformEvent
{
    enum Kind
    {
        kOther = 0,      // anything the pump ignores
        kActive,         // focus change: gain, state bits (1 mouse, 2 input, 4 application)
        kKeyDown,        // key, unicode
        kKeyUp,          // key
        kMouseMotion,    // x, y, buttonState (held bits 1, 2, 4, 8, 16)
        kMouseButtonDown, // x, y, button (1..5 for the usual buttons)
        kMouseButtonUp,  // x, y, button
        kQuit,           // window closed, or the process was asked to end
        kVideoResize,    // width, height (pixels)
        kVideoExpose,    // the window needs drawing again
    };

    Kind kind = kOther;
    uint8_t gain = 0;
    uint8_t state = 0;
    int32_t key = 0;
    uint16_t unicode = 0;
    uint16_t modifiers = 0;
    int32_t x = 0; // pixels of the window
    int32_t y = 0;
    uint8_t button = 0;
    uint8_t buttonState = 0;
    int32_t width = 0;
    int32_t height = 0;
};
