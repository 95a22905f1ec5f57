#include "Graphics/GlExtensions.h"

PFNGLISRENDERBUFFEROESPROC GlExtensions::IsRenderbufferOES = nullptr;
PFNGLBINDRENDERBUFFEROESPROC GlExtensions::BindRenderbufferOES = nullptr;
PFNGLDELETERENDERBUFFERSOESPROC GlExtensions::DeleteRenderbuffersOES = nullptr;
PFNGLGENRENDERBUFFERSOESPROC GlExtensions::GenRenderbuffersOES = nullptr;
PFNGLRENDERBUFFERSTORAGEOESPROC GlExtensions::RenderbufferStorageOES = nullptr;
PFNGLISFRAMEBUFFEROESPROC GlExtensions::IsFramebufferOES = nullptr;
PFNGLBINDFRAMEBUFFEROESPROC GlExtensions::BindFramebufferOES = nullptr;
PFNGLDELETEFRAMEBUFFERSOESPROC GlExtensions::DeleteFramebuffersOES = nullptr;
PFNGLGENFRAMEBUFFERSOESPROC GlExtensions::GenFramebuffersOES = nullptr;
PFNGLCHECKFRAMEBUFFERSTATUSOESPROC GlExtensions::CheckFramebufferStatusOES = nullptr;
PFNGLFRAMEBUFFERRENDERBUFFEROESPROC GlExtensions::FramebufferRenderbufferOES = nullptr;
PFNGLFRAMEBUFFERTEXTURE2DOESPROC GlExtensions::FramebufferTexture2DOES = nullptr;
PFNGLGENERATEMIPMAPOESPROC GlExtensions::GenerateMipmapOES = nullptr;

namespace
{

template <typename Function> void Find(Function& target, GlExtensions::Lookup lookup, const char* name)
{
    target = reinterpret_cast<Function>(lookup(name));
}

} // namespace

bool GlExtensions::Load(Lookup lookup)
{
    Find(IsRenderbufferOES, lookup, "glIsRenderbufferOES");
    Find(BindRenderbufferOES, lookup, "glBindRenderbufferOES");
    Find(DeleteRenderbuffersOES, lookup, "glDeleteRenderbuffersOES");
    Find(GenRenderbuffersOES, lookup, "glGenRenderbuffersOES");
    Find(RenderbufferStorageOES, lookup, "glRenderbufferStorageOES");
    Find(IsFramebufferOES, lookup, "glIsFramebufferOES");
    Find(BindFramebufferOES, lookup, "glBindFramebufferOES");
    Find(DeleteFramebuffersOES, lookup, "glDeleteFramebuffersOES");
    Find(GenFramebuffersOES, lookup, "glGenFramebuffersOES");
    Find(CheckFramebufferStatusOES, lookup, "glCheckFramebufferStatusOES");
    Find(FramebufferRenderbufferOES, lookup, "glFramebufferRenderbufferOES");
    Find(FramebufferTexture2DOES, lookup, "glFramebufferTexture2DOES");
    Find(GenerateMipmapOES, lookup, "glGenerateMipmapOES");
    return HasFramebufferObjects();
}

void GlExtensions::Unload()
{
    Load([](const char*) -> void* { return nullptr; });
}

bool GlExtensions::HasFramebufferObjects()
{
    return IsRenderbufferOES != nullptr && BindRenderbufferOES != nullptr &&
           DeleteRenderbuffersOES != nullptr && GenRenderbuffersOES != nullptr &&
           RenderbufferStorageOES != nullptr && IsFramebufferOES != nullptr &&
           BindFramebufferOES != nullptr && DeleteFramebuffersOES != nullptr &&
           GenFramebuffersOES != nullptr && CheckFramebufferStatusOES != nullptr &&
           FramebufferRenderbufferOES != nullptr && FramebufferTexture2DOES != nullptr;
}
