#include "scene/CLoading.h"

#include "Graphics/CGraphics.h"
#include "Graphics/COpenGL.h"
#include "core/CFileSystem.h"
#include "platform/CDirectJ.h"
#include "platform/CView.h"

REGISTER_SINGLETON(CLoading, "hanging", 50);

CLoading::~CLoading()
{
    Finish();
}

void CLoading::Begin()
{
    CFileSystem::Instance();
    CDirectJ::Instance();
    // The pictures "startup" and "droplet" are loaded here once textures exist; without them the
    // screen is the clear alone.
    m_active = true;
    m_stepCount = 0;
    m_previousStepHook = CSingletonBase::SetStepHook(&CLoading::StepHook);
}

void CLoading::Step()
{
    if (!m_active)
        return;
    Draw();
    ++m_stepCount;
    if (CDirectJ* platform = CDirectJ::Peek())
        platform->DiscardEvents();
}

void CLoading::Finish()
{
    if (m_active)
    {
        // The picture passes to the material "startup" and both textures are released here once
        // materials and textures exist.
        m_active = false;
        CSingletonBase::SetStepHook(m_previousStepHook);
        m_previousStepHook = nullptr;
    }
    // Only with a live context: at program end the platform is already gone.
    const CDirectJ* platform = CDirectJ::Peek();
    CGraphics* graphics = CGraphics::Peek();
    if (platform && platform->IsReady() && graphics && COpenGL::Peek())
    {
        graphics->InitState();
        CView::GetCurrent().Apply();
    }
}

void CLoading::Draw()
{
    CDirectJ* platform = CDirectJ::Peek();
    if (!platform || !platform->BeginFrame())
        return;
    CGraphics::Instance()->ClearColour(Vector4<float>(0, 0, 0, 1));
    platform->SwapBuffers();
}

void CLoading::StepHook()
{
    if (CLoading* loading = Peek())
        loading->Step();
}
