#pragma once
// The few platform-layer calls the game model makes (frame begin, buffer swap, frame mark,
// frame count), as hooks the platform layer installs at start-up, so that the game, its
// modes and drawing lists run in tests without SDL or GL. Uninstalled hooks do nothing:
// no frame begins (nothing is drawn or swapped) and the frame count reads 0.
#include <cstdint>

struct PlatformHooks
{
    bool (*beginFrame)() = nullptr;   // clears and starts a frame; false while there is no video
    void (*swapBuffers)() = nullptr;  // shows the frame drawn
    void (*setFrameMark)() = nullptr; // marks the frame count for whoever waits for it
    int32_t (*frameCount)() = nullptr;

    // Installs hooks (an unset member calls nothing); returns the previous ones so that a
    // test can put them back.
    static PlatformHooks Install(const PlatformHooks& hooks);
    static const PlatformHooks& Installed();

    static bool BeginFrame();
    static void SwapBuffers();
    static void SetFrameMark();
    static int32_t GetFrameCount();
};
