#pragma once
// The platform services on desktop SDL 1.2 with an OpenGL ES 1.1 context made through EGL on SDL's
// window. Owns the context; one instance at a time, since SDL and the signal handlers are global.
// Invariant: the GL context exists only on a window from the last successful SetVideoMode.
#include "platform/CEglContext.h"
#include "platform/CPlatformBackend.h"

class CSdlBackend : public CPlatformBackend
{
  public:
    // hook runs with the GL context still current whenever the context is taken down (a new video
    // mode, Stop): drop GL objects there.
    explicit CSdlBackend(CEglContext::ReleaseHook releaseHook);
    ~CSdlBackend() override;
    CSdlBackend(const CSdlBackend&) = delete;
    CSdlBackend& operator=(const CSdlBackend&) = delete;

    // SIGTERM and SIGINT from now on only ask the game to end (the pump ends the loop in order).
    // Start does it too; the program does it first thing, so that a termination during the
    // start-up (loading the preferences, the rules) also ends the game in order.
    static void CatchTermination();

    bool Start() override;
    void SetCaption(const char* text) override;
    void SetEventFilter(EventFilter filter) override;
    bool SetVideoMode(Vector2<int>* size) override;
    bool HasGlContext() const override { return m_context.IsCreated(); }
    void SwapBuffers() override;
    uint32_t GetTicks() override;
    void Delay(uint32_t milliseconds) override;
    bool PollEvent(PlatformEvent* event) override;
    bool IsAppActive() override;
    bool IsQuitRequested() const override;
    void Stop() override;
    const char* GetFailure() const override { return m_failure; }

  private:
    bool Fail(const char* what);

    CEglContext m_context;
    bool m_started = false;
    // Where the X server saw the button event that SDL's next button event reports.
    Vector2<int> m_buttonPosition;
    bool m_buttonPositionKnown = false;
    // Room for "<what>: <SDL's or EGL's reason>".
    char m_failure[256] = "";
};
