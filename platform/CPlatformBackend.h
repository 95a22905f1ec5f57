#pragma once
// The services the platform layer takes from the system (SDL, the GL context, the clock), behind
// one interface so that pacing, the event table, frame timing and rotation run against a stand-in
// in tests. Invariant: HasGlContext() is true only while a GL context is current on this thread.
#include "core/Vector2.h"
#include "platform/PlatformEvent.h"

#include <cstdint>

class CPlatformBackend
{
  public:
    // Called from inside the system's event pumping for every event before it is queued; the
    // event always stays queued whatever the result.
    using EventFilter = int (*)(const PlatformEvent& event);

    virtual ~CPlatformBackend() = default;

    // Timer and video, then audio on its own, whose failure is tolerated (the game runs silent).
    // False when timer or video cannot start; GetFailure() says why.
    virtual bool Start() = 0;
    virtual void SetCaption(const char* text) = 0;
    virtual void SetEventFilter(EventFilter filter) = 0;
    // Opens (or opens again) the window at the native size with a current GL context, releasing
    // the previous context first. On success size receives the surface size in pixels; on failure
    // nothing is current (a previous context was released) and GetFailure() says why.
    virtual bool SetVideoMode(Vector2<int>* size) = 0;
    virtual bool HasGlContext() const = 0;
    virtual void SwapBuffers() = 0;
    // Milliseconds since Start; wraps after 49.7 days.
    virtual uint32_t GetTicks() = 0;
    virtual void Delay(uint32_t milliseconds) = 0;
    // False when the queue is empty.
    virtual bool PollEvent(PlatformEvent* event) = 0;
    virtual bool IsAppActive() = 0;
    // True once the process was asked to end (SIGTERM, SIGINT); stays true, so no drain loses it.
    virtual bool IsQuitRequested() const = 0;
    // Releases the GL context (its release hook runs while it is still current), then shuts the
    // system services down. Safe without Start and safe twice.
    virtual void Stop() = 0;
    // One short line on the last failure, "" when none.
    virtual const char* GetFailure() const = 0;
};
