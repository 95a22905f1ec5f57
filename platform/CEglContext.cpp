#include "platform/CEglContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <SDL/SDL.h>
#include <SDL/SDL_syswm.h>
#include <cstring>

namespace
{

// A whole word of the space-separated EGL client extension list.
bool HasClientExtension(const char* name)
{
    const char* list = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (list == nullptr)
        return false;
    const size_t length = std::strlen(name);
    for (const char* p = std::strstr(list, name); p != nullptr; p = std::strstr(p + 1, name))
    {
        const bool starts = p == list || p[-1] == ' ';
        const bool ends = p[length] == '\0' || p[length] == ' ';
        if (starts && ends)
            return true;
    }
    return false;
}

EGLDisplay GetPlatformDisplay(EGLenum platform, void* nativeDisplay)
{
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr)
        return EGL_NO_DISPLAY;
    return getPlatformDisplay(platform, nativeDisplay, nullptr);
}

EGLint ConfigValue(EGLDisplay display, EGLConfig config, EGLint attribute)
{
    EGLint value = 0;
    eglGetConfigAttrib(display, config, attribute, &value);
    return value;
}

// Lower is better: exact 8-bit RGB and the asked alpha first (an X window of depth 24 takes no
// 32-bit visual), then the smallest depth buffer that satisfies the request.
int ConfigCost(EGLDisplay display, EGLConfig config, const CEglContext::Attributes& attributes)
{
    int cost = 0;
    if (ConfigValue(display, config, EGL_RED_SIZE) != 8 ||
        ConfigValue(display, config, EGL_GREEN_SIZE) != 8 || ConfigValue(display, config, EGL_BLUE_SIZE) != 8)
        cost += 1000;
    if (ConfigValue(display, config, EGL_ALPHA_SIZE) != attributes.alphaSize)
        cost += 100;
    cost += ConfigValue(display, config, EGL_DEPTH_SIZE) - attributes.depthSize;
    cost += ConfigValue(display, config, EGL_STENCIL_SIZE) > 0 ? 1 : 0;
    return cost;
}

} // namespace

CEglContext::~CEglContext()
{
    Release();
}

bool CEglContext::CreateForSdlWindow(const Attributes& attributes)
{
    Release();
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) <= 0 || info.subsystem != SDL_SYSWM_X11 || info.info.x11.display == nullptr)
        return Fail("SDL has no X11 window");

    // The explicit platform keeps EGL_PLATFORM in the environment from steering an X11 display
    // elsewhere; older EGLs only infer the platform from the pointer.
    EGLDisplay display = EGL_NO_DISPLAY;
    if (HasClientExtension("EGL_KHR_platform_x11") || HasClientExtension("EGL_EXT_platform_x11"))
        display = GetPlatformDisplay(EGL_PLATFORM_X11_KHR, info.info.x11.display);
    if (display == EGL_NO_DISPLAY)
        display = eglGetDisplay(static_cast<EGLNativeDisplayType>(info.info.x11.display));
    if (display == EGL_NO_DISPLAY)
        return Fail("eglGetDisplay");
    return Create(display, false, 0, 0, info.info.x11.window, attributes);
}

bool CEglContext::CreatePbuffer(int width, int height, const Attributes& attributes)
{
    Release();
    if (width <= 0 || height <= 0)
        return Fail("pbuffer size");
    if (!HasClientExtension("EGL_MESA_platform_surfaceless"))
        return Fail("EGL_MESA_platform_surfaceless");
    EGLDisplay display = GetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY);
    if (display == EGL_NO_DISPLAY)
        return Fail("eglGetPlatformDisplayEXT");
    return Create(display, true, width, height, 0, attributes);
}

void CEglContext::SwapBuffers()
{
    if (IsCreated())
        eglSwapBuffers(m_display, m_surface);
}

void CEglContext::GetSurfaceSize(int* width, int* height) const
{
    EGLint w = 0;
    EGLint h = 0;
    if (IsCreated())
    {
        eglQuerySurface(m_display, m_surface, EGL_WIDTH, &w);
        eglQuerySurface(m_display, m_surface, EGL_HEIGHT, &h);
    }
    *width = w;
    *height = h;
}

void CEglContext::Release()
{
    if (m_display == nullptr)
        return;
    if (m_context != nullptr && m_releaseHook != nullptr)
    {
        eglMakeCurrent(m_display, m_surface, m_surface, m_context);
        m_releaseHook();
    }
    eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (m_context != nullptr)
        eglDestroyContext(m_display, m_context);
    if (m_surface != nullptr)
        eglDestroySurface(m_display, m_surface);
    eglTerminate(m_display);
    eglReleaseThread();
    m_display = nullptr;
    m_surface = nullptr;
    m_context = nullptr;
    m_depthSize = 0;
}

void* CEglContext::GetProcAddress(const char* name)
{
    return reinterpret_cast<void*>(eglGetProcAddress(name));
}

bool CEglContext::Create(void* nativeDisplay, bool pbuffer, int width, int height, unsigned long window,
                         const Attributes& attributes)
{
    EGLDisplay display = nativeDisplay;
    m_display = display;
    if (!eglInitialize(display, nullptr, nullptr))
    {
        m_display = nullptr;
        return Fail("eglInitialize");
    }
    if (!eglBindAPI(EGL_OPENGL_ES_API))
        return Fail("eglBindAPI");

    const EGLint wanted[] = {EGL_SURFACE_TYPE,
                             pbuffer ? EGL_PBUFFER_BIT : EGL_WINDOW_BIT,
                             EGL_RENDERABLE_TYPE,
                             EGL_OPENGL_ES_BIT,
                             EGL_RED_SIZE,
                             5,
                             EGL_GREEN_SIZE,
                             6,
                             EGL_BLUE_SIZE,
                             5,
                             EGL_ALPHA_SIZE,
                             attributes.alphaSize,
                             EGL_DEPTH_SIZE,
                             attributes.depthSize,
                             EGL_NONE};
    EGLConfig configs[64];
    EGLint count = 0;
    if (!eglChooseConfig(display, wanted, configs, 64, &count) || count <= 0)
        return Fail("eglChooseConfig");
    EGLConfig config = configs[0];
    int best = ConfigCost(display, config, attributes);
    for (EGLint i = 1; i < count; ++i)
    {
        const int cost = ConfigCost(display, configs[i], attributes);
        if (cost < best)
        {
            best = cost;
            config = configs[i];
        }
    }
    m_depthSize = ConfigValue(display, config, EGL_DEPTH_SIZE);

    if (pbuffer)
    {
        const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
        m_surface = eglCreatePbufferSurface(display, config, surfaceAttributes);
    }
    else
    {
        // A hint: an implementation may still give a window a back buffer.
        const EGLint surfaceAttributes[] = {
            EGL_RENDER_BUFFER, attributes.doubleBuffer ? EGL_BACK_BUFFER : EGL_SINGLE_BUFFER, EGL_NONE};
        m_surface = eglCreateWindowSurface(display, config, static_cast<EGLNativeWindowType>(window),
                                           surfaceAttributes);
    }
    if (m_surface == EGL_NO_SURFACE)
    {
        m_surface = nullptr;
        return Fail(pbuffer ? "eglCreatePbufferSurface" : "eglCreateWindowSurface");
    }

    const EGLint contextAttributes[] = {EGL_CONTEXT_CLIENT_VERSION, 1, EGL_NONE};
    m_context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    if (m_context == EGL_NO_CONTEXT)
    {
        m_context = nullptr;
        return Fail("eglCreateContext");
    }
    if (!eglMakeCurrent(display, m_surface, m_surface, m_context))
        return Fail("eglMakeCurrent");
    m_failure = "";
    return true;
}

bool CEglContext::Fail(const char* step)
{
    // The hook is for objects made on a working context; a half-made one has none.
    const ReleaseHook hook = m_releaseHook;
    m_releaseHook = nullptr;
    Release();
    m_releaseHook = hook;
    m_failure = step;
    return false;
}
