#pragma once
// An OpenGL ES 1.1 context made through EGL, in place of the phone SDL's own ES support: either on
// the X11 window that SDL_SetVideoMode opened (without SDL_OPENGL), or on a pbuffer of Mesa's
// surfaceless platform for tests. Invariant: while IsCreated(), the display, surface and context
// exist and were made current on the creating thread; Release() undoes everything Create*() did.
//
// For the window, the platform sets SDL_RENDER_DRIVER=software before SDL_Init so that SDL's own
// renderer stays off the GL stack.

class CEglContext
{
  public:
    // What the platform asks of the frame buffer; stands for the SDL GL attributes.
    struct Attributes
    {
        int depthSize = 8; // bits; 0 for no depth buffer
        int alphaSize = 0; // bits; the screen keeps no alpha (nothing writes it there)
        bool doubleBuffer = true;
    };

    // Called with the context still current, just before Release() takes it down, so that GL
    // objects (textures, framebuffers) can be deleted while their names still mean something.
    using ReleaseHook = void (*)();

    CEglContext() = default;
    ~CEglContext();
    CEglContext(const CEglContext&) = delete;
    CEglContext& operator=(const CEglContext&) = delete;

    // After a successful SDL_SetVideoMode: an ES 1.1 context on SDL's X11 window, made current.
    // False (and nothing held) when SDL has no X11 window or EGL refuses; GetFailure() says why.
    bool CreateForSdlWindow(const Attributes& attributes);

    // A width x height pixel pbuffer on Mesa's surfaceless platform, made current. Needs no display
    // server. Same failure contract as CreateForSdlWindow.
    bool CreatePbuffer(int width, int height, const Attributes& attributes);

    bool IsCreated() const { return m_context != nullptr; }

    // Shows the frame drawn since the last swap (window); a pbuffer keeps its single buffer.
    void SwapBuffers();

    // The config's real depth bits, which may exceed what was asked.
    int GetDepthSize() const { return m_depthSize; }

    // The surface's size in pixels as EGL reports it; (0, 0) when nothing is created.
    void GetSurfaceSize(int* width, int* height) const;

    // One hook; replacing it drops the old one. Null disables it.
    void SetReleaseHook(ReleaseHook hook) { m_releaseHook = hook; }

    // Runs the release hook (context current), then destroys context, surface and display
    // connection. Safe to call twice; the destructor calls it.
    void Release();

    // A short text naming the step that failed last, for the platform's fatal-path line; "" if none.
    const char* GetFailure() const { return m_failure; }

    // Any GL or EGL entry point by name, for the extensions the ES library does not export.
    // Null when unknown. Meaningful only while a context is current.
    static void* GetProcAddress(const char* name);

  private:
    bool Create(void* display, bool pbuffer, int width, int height, unsigned long window,
                const Attributes& attributes);
    bool Fail(const char* step);

    // EGLDisplay, EGLSurface, EGLContext, kept opaque so that users need no EGL headers.
    void* m_display = nullptr;
    void* m_surface = nullptr;
    void* m_context = nullptr;
    int m_depthSize = 0;
    ReleaseHook m_releaseHook = nullptr;
    const char* m_failure = "";
};
