#include "platform/CSdlBackend.h"

#include <SDL/SDL.h>
#include <SDL/SDL_syswm.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace
{
// Set by the termination signals and never cleared; the pump reads it each turn. Nothing else is
// safe to do in a signal handler.
volatile std::sig_atomic_t s_quitSignalled = 0;
CPlatformBackend::EventFilter s_filter = nullptr;

void OnTerminationSignal(int)
{
    s_quitSignalled = 1;
}

void InstallSignalHandlers()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    struct sigaction action = {};
    action.sa_handler = &OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

void Translate(const SDL_Event& in, PlatformEvent* out)
{
    *out = PlatformEvent();
    switch (in.type)
    {
    case SDL_ACTIVEEVENT:
        out->kind = PlatformEvent::kActive;
        out->gain = in.active.gain;
        out->state = in.active.state;
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        out->kind = in.type == SDL_KEYDOWN ? PlatformEvent::kKeyDown : PlatformEvent::kKeyUp;
        out->key = int32_t(in.key.keysym.sym);
        out->unicode = in.key.keysym.unicode;
        out->modifiers = uint16_t(in.key.keysym.mod);
        break;
    case SDL_MOUSEMOTION:
        out->kind = PlatformEvent::kMouseMotion;
        out->x = in.motion.x;
        out->y = in.motion.y;
        out->buttonState = in.motion.state;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        out->kind = in.type == SDL_MOUSEBUTTONDOWN ? PlatformEvent::kMouseButtonDown : PlatformEvent::kMouseButtonUp;
        out->x = in.button.x;
        out->y = in.button.y;
        out->button = in.button.button;
        break;
    case SDL_QUIT:
        out->kind = PlatformEvent::kQuit;
        break;
    case SDL_VIDEORESIZE:
        out->kind = PlatformEvent::kVideoResize;
        out->width = in.resize.w;
        out->height = in.resize.h;
        break;
    case SDL_VIDEOEXPOSE:
        out->kind = PlatformEvent::kVideoExpose;
        break;
    default:
        break;
    }
}

int SDLCALL FilterTrampoline(const SDL_Event* event)
{
    if (s_filter && event)
    {
        PlatformEvent translated;
        Translate(*event, &translated);
        s_filter(translated);
    }
    return 1;
}
}

void CSdlBackend::CatchTermination()
{
    InstallSignalHandlers();
}

CSdlBackend::CSdlBackend(CEglContext::ReleaseHook releaseHook)
{
    m_context.SetReleaseHook(releaseHook);
}

CSdlBackend::~CSdlBackend()
{
    Stop();
}

bool CSdlBackend::Start()
{
    // Before SDL_Init, so that SDL keeps its hands off them and a termination ends the loop in order.
    InstallSignalHandlers();
    // SDL's own renderer must stay off the GL stack: the ES context is ours.
    setenv("SDL_RENDER_DRIVER", "software", 1);
    // The ES context is made on SDL's X11 window, so no other video driver can work; without this,
    // SDL would try others first and leave their complaints on standard error. A choice made in
    // the environment stands.
    setenv("SDL_VIDEODRIVER", "x11", 0);
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE) < 0)
        return Fail("cannot start SDL");
    m_started = true;
    // Audio apart: over SDL2 one failing subsystem fails the whole SDL_Init, and a machine
    // without a sound device must still show the game.
    SDL_InitSubSystem(SDL_INIT_AUDIO);
    SDL_EnableUNICODE(1);
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    return true;
}

void CSdlBackend::SetCaption(const char* text)
{
    SDL_WM_SetCaption(text ? text : "", nullptr);
}

void CSdlBackend::SetEventFilter(EventFilter filter)
{
    s_filter = filter;
    SDL_SetEventFilter(filter ? &FilterTrampoline : nullptr);
}

bool CSdlBackend::SetVideoMode(Vector2<int>* size)
{
    if (!m_started)
        return Fail("cannot set the video mode: SDL is not started");
    // The surface of a new mode may be a new window, on which the old context cannot draw.
    m_context.Release();
    // Without SDL_OPENGL: SDL would make a desktop GL context; the ES one comes from EGL.
    SDL_Surface* surface = SDL_SetVideoMode(0, 0, 0, SDL_SWSURFACE);
    if (!surface)
        return Fail("cannot set the video mode");
    CEglContext::Attributes attributes;
    attributes.depthSize = 8;
    attributes.doubleBuffer = true;
    if (!m_context.CreateForSdlWindow(attributes))
    {
        snprintf(m_failure, sizeof(m_failure), "cannot make an OpenGL ES 1.1 context: %s", m_context.GetFailure());
        return false;
    }
    if (size)
        *size = Vector2<int>(surface->w, surface->h);
    return true;
}

void CSdlBackend::SwapBuffers()
{
    m_context.SwapBuffers();
}

uint32_t CSdlBackend::GetTicks()
{
    return SDL_GetTicks();
}

void CSdlBackend::Delay(uint32_t milliseconds)
{
    SDL_Delay(milliseconds);
}

bool CSdlBackend::PollEvent(PlatformEvent* event)
{
    if (!m_started)
        return false;
    SDL_Event raw;
    if (!SDL_PollEvent(&raw))
        return false;
    // SDL stamps a button with the last position a motion told it, so a press without motion
    // before it (a tap right after start, as on a touch screen) would land where the pointer was
    // last seen. The X server's own record of the press, which SDL hands over just before its
    // button event, has the true position.
    if (raw.type == SDL_SYSWMEVENT)
    {
        const SDL_SysWMmsg* message = raw.syswm.msg;
        if (message && message->subsystem == SDL_SYSWM_X11 &&
            (message->event.xevent.type == ButtonPress || message->event.xevent.type == ButtonRelease))
        {
            m_buttonPosition = Vector2<int>(message->event.xevent.xbutton.x, message->event.xevent.xbutton.y);
            m_buttonPositionKnown = true;
        }
    }
    Translate(raw, event);
    if (event->kind == PlatformEvent::kMouseButtonDown || event->kind == PlatformEvent::kMouseButtonUp)
    {
        if (m_buttonPositionKnown)
        {
            event->x = m_buttonPosition.x;
            event->y = m_buttonPosition.y;
        }
        m_buttonPositionKnown = false;
    }
    return true;
}

bool CSdlBackend::IsQuitRequested() const
{
    return s_quitSignalled != 0;
}

bool CSdlBackend::IsAppActive()
{
    return m_started && (SDL_GetAppState() & SDL_APPACTIVE) != 0;
}

void CSdlBackend::Stop()
{
    m_context.Release();
    if (m_started)
    {
        SDL_SetEventFilter(nullptr);
        s_filter = nullptr;
        SDL_Quit();
        m_started = false;
    }
}

bool CSdlBackend::Fail(const char* what)
{
    const char* reason = SDL_GetError();
    if (reason && *reason)
        snprintf(m_failure, sizeof(m_failure), "%s: %s", what, reason);
    else
        snprintf(m_failure, sizeof(m_failure), "%s", what);
    return false;
}
