#pragma once
// The platform layer: starts SDL and the video mode, paces and pumps one frame per turn, turns
// touch, key and focus events into input records for the game, keeps the frame clock, screen size
// and rotation, clears and shows frames. Everything runs on the main thread. Invariant: video
// ready goes true at the first successful mode set and never back; running goes false only on a
// quit (window closed, SIGTERM/SIGINT, RequestQuit).
#include "core/CSingleton.h"
#include "core/CString.h"
#include "platform/CDirectJCommon.h"
#include "platform/CPlatformBackend.h"

#include <cstdint>
#include <memory>

class CXmlNode;

class CDirectJ : public CDirectJCommon, public CSingleton<CDirectJ>
{
  public:
    // Makes the platform services when the layer is created; the default makes the SDL ones.
    using BackendFactory = std::unique_ptr<CPlatformBackend> (*)();

    // Tests install a stand-in before the layer is created; null puts the SDL factory back.
    // Returns the previous factory.
    static BackendFactory SetBackendFactory(BackendFactory factory);

    ~CDirectJ() override;

    // Starts SDL (caption, resize filter, video mode) and reads the clear values. Failures are
    // kept, not fatal: IsReady() stays false and GetFailure() says why.
    void Init() override;

    // One turn: waits until at least 25 ms have passed since the previous turn, then dispatches
    // the game's queued input before the first poll and after every handled event. Returns false
    // once the program should end.
    bool Pump();
    // Ends the main loop after the current turn (the "_quit" command); the shutdown that follows
    // is the same as for a closed window.
    void RequestQuit() { m_running = false; }

    // Opens the window at the native size (the requested size only decides whether anything is
    // done once video is ready: the unset size or the current size change nothing).
    void SetVideoMode(bool windowed, const Vector2<int>& size);
    // Stores the window size (pixels), recomputes what depends on it, then tells every CResizes.
    void SetScreenSize(const Vector2<int>& size);
    // Degrees; snapped to the nearest multiple of 90 in 0..360.
    void SetRotation(float degrees);
    // The window size as the game sees it: width and height swapped at 90 and 270 degrees.
    Vector2<int> GetLogicalSize() const;
    // Window pixels to logical pixels under the current rotation.
    Vector2<float> ScreenToLogical(const Vector2<float>& point) const;
    // From the event filter: a new size is taken and drawn at once.
    void OnResize(const Vector2<int>& size);
    // Installed as the system's event filter; keeps every event queued (returns 1).
    static int EventFilter(const PlatformEvent& event);

    // A GL state cache exists and a video mode is set.
    bool IsReady() const;
    // Starts a frame: frame delta and rate from the tick, cache invalidated, screen cleared. False
    // (nothing done) before a video mode is set.
    bool BeginFrame();
    // Shows the frame drawn since BeginFrame.
    void SwapBuffers();
    // Drops every pending event unhandled (the loading screen swallows input); a quit among them
    // still ends the main loop at its first turn.
    void DiscardEvents();
    bool IsAppActive();
    void Delay(uint32_t milliseconds);
    // The time stamp of the current frame, milliseconds since SDL started.
    uint32_t GetTicks() const { return m_tick; }
    void SetFrameMark() { m_frameMark = m_frameCount + 10; }
    void LaunchBrowser(const char* url);
    // Every comma field of list passes the GL capability test; empty or null passes.
    bool CheckCaps(const CString& list) const;
    bool IsCursorEnabled() const { return true; }
    bool IsCursorVisible() const { return true; }
    void ShowSystemCursor(bool) {}

    // The scale textures are made at for the logical screen: 1 / (1024 / (m + m / 2) + 1), m the
    // larger logical side, integer divisions.
    float GetTextureScale() const { return m_textureScale; }
    // Why the layer is not ready, as one line for the fatal path; "" when nothing failed.
    const char* GetFailure() const { return m_failure.c_str(); }
    CPlatformBackend* GetBackend() const { return m_backend.get(); }

    // The GL context's release hook: runs with the context still current, so every holder of GL
    // objects drops them (CResizes::Invalidate) and the state cache goes quiet before it is gone.
    static void ReleaseGlObjectsHook();

    // The pure rules, shared by the layer and its tests.
    // Milliseconds to sleep so that turns are 25 ms apart: 0 when the turn is late, never more
    // than 25. Wrap-safe.
    static int32_t PacingWait(uint32_t lastPumpTick, uint32_t tick);
    // Seconds of a frame that took elapsed milliseconds (signed, wrap-safe): 0.001 under 2 ms,
    // 0.1 from 100 ms on.
    static float FrameDeltaFor(int32_t elapsed);
    static float SnapRotation(float degrees);
    static Vector2<int> LogicalSizeFor(const Vector2<int>& windowSize, float rotation);
    static Vector2<float> ScreenToLogical(const Vector2<float>& point, const Vector2<int>& windowSize, float rotation);
    // previous when the larger side is not positive (no division by zero on a degenerate size).
    static float TextureScaleFor(const Vector2<int>& logicalSize, float previous);
    // "ui/clearcolour" and "ui/cleardepth" of a rules root; null root: no document.
    static Vector4<float> ReadClearColour(const CXmlNode* rulesRoot);
    static float ReadClearDepth(const CXmlNode* rulesRoot);

  private:
    friend class CSingleton<CDirectJ>;
    CDirectJ();

    void HandleEvent(const PlatformEvent& event);
    void HandleMouse(const PlatformEvent& event);
    void ReadClearValues();
    static uint32_t ReadFrameTick();
    static bool BeginFrameHook();
    static void SwapBuffersHook();
    static void SetFrameMarkHook();
    static int32_t FrameCountHook();

    std::unique_ptr<CPlatformBackend> m_backend;
    CString m_failure;
    uint32_t m_lastPumpTick = 0;
    bool m_pumped = false;
    float m_textureScale = 1.0f;
};
