#include "scene/CLoading.h"

#include "Graphics/CGraphics.h"
#include "Graphics/CMaterialSet.h"
#include "Graphics/COpenGL.h"
#include "Graphics/TextureUnit.h"
#include "core/CFileSystem.h"
#include "core/Matrix4.h"
#include "core/Random.h"
#include "core/Vector4.h"
#include "platform/CDirectJ.h"
#include "platform/CView.h"

#include <GLES/gl.h>
#include <algorithm>
#include <vector>

REGISTER_SINGLETON(CLoading, "hanging", 50);

namespace
{
// A 0.3 x 0.2 droplet about its place, in strip order.
constexpr float kDropletCorners[4][2] = {{-0.15f, -0.1f}, {0.15f, -0.1f}, {-0.15f, 0.1f}, {0.15f, 0.1f}};
// The whole screen in clip coordinates, the picture upright (its top row at the top).
const Vector2<float> kScreenCorners[4] = {{-1.0f, -1.0f}, {1.0f, -1.0f}, {-1.0f, 1.0f}, {1.0f, 1.0f}};
const Vector2<float> kScreenUvs[4] = {{0.0f, 1.0f}, {1.0f, 1.0f}, {0.0f, 0.0f}, {1.0f, 0.0f}};
constexpr float kWhiteCorners[16] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
static_assert(sizeof(Vector2<float>) == 2 * sizeof(float), "strips are read as packed float pairs");

void DrawStrip(const Vector2<float>* corners, const Vector2<float>* uvs)
{
    glVertexPointer(2, GL_FLOAT, 0, corners);
    glTexCoordPointer(2, GL_FLOAT, 0, uvs);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

// Loads on first use; a texture whose image is missing or broken is not drawn at all (rather
// than as the untextured white quad GL would give).
bool IsDrawable(CTexture* texture)
{
    if (texture == nullptr)
        return false;
    texture->EnsureLoaded();
    return texture->IsLoaded();
}
} // namespace

CLoading::~CLoading()
{
    End(true);
}

void CLoading::Begin()
{
    CFileSystem::Instance();
    CDirectJ::Instance();
    if (!IsActive())
        m_previousStepHook = CSingletonBase::SetStepHook(&CLoading::StepHook);
    // Textures of their own rather than the texture set's: the set belongs to the group "global",
    // which has not started, and made now it would never schedule its eviction.
    m_picture = CTexture::Create("startup");
    m_dropletSheet = CTexture::Create("droplet");
    m_stepCount = 0;
}

void CLoading::Step()
{
    if (!IsActive())
        return;
    CDirectJ* platform = CDirectJ::Peek();
    DrawOn(platform);
    ++m_stepCount;
    if (platform)
        platform->DiscardEvents();
}

void CLoading::Finish()
{
    End(false);
}

void CLoading::Draw()
{
    DrawOn(CDirectJ::Peek());
}

void CLoading::DrawOn(CDirectJ* platform)
{
    if (!platform || !platform->BeginFrame())
        return;
    CGraphics* graphics = CGraphics::Instance();
    graphics->ClearColour(Vector4<float>(0.0f, 0.0f, 0.0f, 1.0f));
    if (graphics->IsLive())
    {
        const Matrix4 identity;
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(identity.m);
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(identity.m);
        graphics->SetDepthFunc(GL_ALWAYS);
        graphics->SetAlphaFunc(GL_ALWAYS, 0.0f);
        glEnableClientState(GL_VERTEX_ARRAY);
        glClientActiveTexture(GL_TEXTURE0);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_FLOAT, 0, kWhiteCorners);
        DrawPicture();
        DrawDroplets();
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    }
    platform->SwapBuffers();
}

int32_t CLoading::FirstDroplet(int32_t steps)
{
    return std::max(0, steps - kRowLength);
}

int32_t CLoading::EndDroplet(int32_t steps)
{
    return std::min(steps, kRowLength);
}

CLoading::DropletQuad CLoading::MakeDroplet(int32_t i)
{
    DropletQuad quad;
    quad.frame = (117 * i) % kFrameCount;
    // A generator of its own: the heights repeat in every run, and the game's generator is
    // neither reseeded nor advanced.
    Random heights;
    heights.Seed(uint32_t(16 * i));
    const float r = float(heights.NextFraction());
    quad.offset = Vector2<float>(float(i) / 15.0f * 1.6f - 0.8f, r * 0.13f - 0.66f);
    for (int c = 0; c < 4; ++c)
        quad.corners[c] =
            Vector2<float>(kDropletCorners[c][0] + quad.offset.x, kDropletCorners[c][1] + quad.offset.y);

    // Eight frames in the sheet's lower half, four across and two down.
    const float column = float(quad.frame % 4);
    const float row = float(quad.frame / 4);
    const float uLeft = column / 4.0f;
    const float uRight = (column + 1.0f) / 4.0f;
    const float vTop = 0.5f + row / 4.0f;
    const float vBottom = 0.5f + (row + 1.0f) / 4.0f;
    quad.uvs[0] = Vector2<float>(uLeft, vTop);
    quad.uvs[1] = Vector2<float>(uRight, vTop);
    quad.uvs[2] = Vector2<float>(uLeft, vBottom);
    quad.uvs[3] = Vector2<float>(uRight, vBottom);
    return quad;
}

void CLoading::StepHook()
{
    if (CLoading* loading = Peek())
        loading->Step();
}

void CLoading::End(bool fromDestructor)
{
    if (IsActive())
    {
        // At the program's end the material set may be gone already, and must not be made again.
        CMaterialSet* materials = fromDestructor ? CMaterialSet::Peek() : CMaterialSet::Instance();
        if (materials != nullptr)
            materials->Find("startup")->SetTexture(0, m_picture);
        m_picture = nullptr;
        m_dropletSheet = nullptr;
        CSingletonBase::SetStepHook(m_previousStepHook);
        m_previousStepHook = nullptr;
    }
    if (fromDestructor)
        return;
    // Only with a live context; the game's drawing assumes the state and view it set up.
    const CDirectJ* platform = CDirectJ::Peek();
    CGraphics* graphics = CGraphics::Peek();
    if (platform && platform->IsReady() && graphics && COpenGL::Peek())
    {
        graphics->InitState();
        CView::GetCurrent().Apply();
    }
}

void CLoading::DrawPicture()
{
    if (!IsDrawable(m_picture.Get()))
        return;
    CGraphics* graphics = CGraphics::Instance();
    std::vector<TextureUnit> units(1);
    units[0].texture = m_picture;
    graphics->SetTextureUnits(units);
    graphics->SetBlend(GL_ONE, GL_ZERO);
    DrawStrip(kScreenCorners, kScreenUvs);
}

void CLoading::DrawDroplets()
{
    if (!IsDrawable(m_dropletSheet.Get()))
        return;
    // Where the sheet is mid grey the picture stays as it is: the blend gives twice the product
    // of the two colours, so darker texels darken and lighter ones lighten it.
    CGraphics* graphics = CGraphics::Instance();
    std::vector<TextureUnit> units(1);
    TextureUnit& unit = units[0];
    unit.texture = m_dropletSheet;
    unit.envMode = GL_COMBINE;
    unit.combineRgb = GL_INTERPOLATE;
    unit.sourceRgb[0] = GL_TEXTURE;
    unit.sourceRgb[1] = GL_CONSTANT;
    unit.sourceRgb[2] = GL_PRIMARY_COLOR;
    unit.envColour = Vector4<float>(0.5f, 0.5f, 0.5f, 1.0f);
    graphics->SetTextureUnits(units);
    graphics->SetBlend(GL_DST_COLOR, GL_SRC_COLOR);
    for (int32_t i = FirstDroplet(m_stepCount); i < EndDroplet(m_stepCount); ++i)
    {
        const DropletQuad quad = MakeDroplet(i);
        DrawStrip(quad.corners, quad.uvs);
    }
}
