#include "creatures/EnticeGlowColour.h"

namespace
{
// Constant-initialised, so a static initialiser anywhere may read it.
Vector4<float> s_glowColour{1.0f, 1.0f, 1.0f, 1.0f};
} // namespace

const Vector4<float>& GetEnticeGlowColour()
{
    return s_glowColour;
}

void SetEnticeGlowColour(const Vector4<float>& colour)
{
    s_glowColour = colour;
}
