#include "Graphics/MaterialCaps.h"

#include "Graphics/CGraphics.h"
#include "Graphics/COpenGL.h"

#include <algorithm>

namespace
{
const MaterialCaps* g_override = nullptr;
}

MaterialCaps MaterialCaps::Current()
{
    if (g_override != nullptr)
        return *g_override;
    MaterialCaps caps;
    if (const CGraphics* graphics = CGraphics::Peek())
        caps.textureUnits = std::max<uint32_t>(graphics->GetUnitCount(), 1);
    if (const COpenGL* openGl = COpenGL::Peek())
    {
        caps.renderToTexture = openGl->IsRenderToTexture();
        caps.clampMode = openGl->GetClampMode();
    }
    return caps;
}

void MaterialCaps::SetOverride(const MaterialCaps* caps)
{
    g_override = caps;
}

bool MaterialCaps::Check(const char* list) const
{
    return COpenGL::EvaluateList(list, textureUnits, renderToTexture);
}
