#include "Graphics/LodBiasScope.h"

#include "Graphics/COpenGL.h"

LodBiasScope::LodBiasScope(float bias)
{
    COpenGL* gl = COpenGL::Instance();
    if (bias == gl->GetLodBias())
        return;
    m_saved = true;
    m_previous = gl->GetLodBias();
    gl->SetLodBias(bias);
}

LodBiasScope::~LodBiasScope()
{
    // Peek: the scope may end after the renderer's group stopped.
    COpenGL* gl = COpenGL::Peek();
    if (m_saved && gl != nullptr)
        gl->SetLodBias(m_previous);
}
