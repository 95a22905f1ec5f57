#pragma once
// What the hardware offers that material data depends on: how many texture units a material may
// fill, the capability terms its variants test, the wrap mode "clamp" stands for. Read live from
// the renderer, or from a stand-in that tests install, so that materials parse without a context.
#include <GLES/gl.h>
#include <cstdint>

struct MaterialCaps
{
    // Units a material, a quad batch's uv sets or a texture unit index may use. At least 1: every
    // GL has unit 0, even before the context tells how many more there are.
    uint32_t textureUnits = 1;
    bool renderToTexture = true;
    GLenum clampMode = GL_CLAMP_TO_EDGE;

    // The stand-in when one is installed; otherwise CGraphics' unit count and COpenGL's answers
    // (neither is created here).
    static MaterialCaps Current();
    // Installs caps (the caller keeps it alive) in place of the live values; null removes it.
    static void SetOverride(const MaterialCaps* caps);

    // Whether every comma-separated capability term of list passes on these caps ("" passes).
    bool Check(const char* list) const;
};
