#pragma once
// The entry points that the ES 1.1 library does not export (OES framebuffer objects and mipmap
// generation), looked up from the context at run time. Invariant: each pointer is null until Load()
// found it; the renderer tests HasFramebufferObjects() / HasGenerateMipmap() before using them.
#include <GLES/gl.h>
#include <GLES/glext.h>

class GlExtensions
{
  public:
    // Looks up a GL entry point by name; null when unknown.
    using Lookup = void* (*)(const char* name);

    // Fills every pointer through lookup; call with the context current, after each context is
    // made (the addresses may belong to that context's driver). Returns HasFramebufferObjects().
    static bool Load(Lookup lookup);
    // Nulls every pointer, so that nothing calls into a context that is gone.
    static void Unload();

    // True only when every framebuffer and renderbuffer entry point was found.
    static bool HasFramebufferObjects();
    static bool HasGenerateMipmap() { return GenerateMipmapOES != nullptr; }

    static PFNGLISRENDERBUFFEROESPROC IsRenderbufferOES;
    static PFNGLBINDRENDERBUFFEROESPROC BindRenderbufferOES;
    static PFNGLDELETERENDERBUFFERSOESPROC DeleteRenderbuffersOES;
    static PFNGLGENRENDERBUFFERSOESPROC GenRenderbuffersOES;
    static PFNGLRENDERBUFFERSTORAGEOESPROC RenderbufferStorageOES;
    static PFNGLISFRAMEBUFFEROESPROC IsFramebufferOES;
    static PFNGLBINDFRAMEBUFFEROESPROC BindFramebufferOES;
    static PFNGLDELETEFRAMEBUFFERSOESPROC DeleteFramebuffersOES;
    static PFNGLGENFRAMEBUFFERSOESPROC GenFramebuffersOES;
    static PFNGLCHECKFRAMEBUFFERSTATUSOESPROC CheckFramebufferStatusOES;
    static PFNGLFRAMEBUFFERRENDERBUFFEROESPROC FramebufferRenderbufferOES;
    static PFNGLFRAMEBUFFERTEXTURE2DOESPROC FramebufferTexture2DOES;
    static PFNGLGENERATEMIPMAPOESPROC GenerateMipmapOES;
};
