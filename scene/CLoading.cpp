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
#include <cmath>
#include <vector>

REGISTER_SINGLETON(CLoading, "hanging", 50);

namespace
{
// A 0.3 x 0.2 droplet about its place, in strip order.
constexpr float kDropletCorners[4][2] = {{-0.15f, -0.1f}, {0.15f, -0.1f}, {-0.15f, 0.1f}, {0.15f, 0.1f}};
// The whole screen in clip coordinates, the picture upright (its top row at the top).
const Vector2<float> kScreenCorners[4] = {{-1.0f, -1.0f}, {1.0f, -1.0f}, {-1.0f, 1.0f}, {1.0f, 1.0f}};
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
    CDirectJ* platform = CDirectJ::Instance();
    // Only the droplets change from step to step: a window that keeps its pixels across swaps
    // lets a step redraw their band alone.
    m_preservedGeneration = platform->SetSwapPreserved(true) ? CDirectJCommon::GetDisplayGeneration() : -1;
    if (!IsActive())
        m_previousStepHook = CSingletonBase::SetStepHook(&CLoading::StepHook);
    // Textures of their own rather than the texture set's: the set belongs to the group "global",
    // which has not started, and made now it would never schedule its eviction.
    m_picture = CTexture::Create("startup");
    m_dropletSheet = CTexture::Create("droplet");
    m_stepCount = 0;
    m_shownSteps = -1;
}

void CLoading::Step()
{
    if (!IsActive())
        return;
    // A frame that would show what the screen already shows is not drawn again.
    CDirectJ* platform = CDirectJ::Peek();
    const Vector2<int> size = platform ? platform->GetLogicalSize() : Vector2<int>();
    if (m_shownSteps < 0 || !SameRow(m_shownSteps, m_stepCount) || size != m_shownSize)
    {
        // The window still shows the frame before, at the same size: all but the band is right.
        const bool bandOnly = m_shownSteps >= 0 && size == m_shownSize &&
                              m_preservedGeneration == CDirectJCommon::GetDisplayGeneration();
        if (Draw(bandOnly))
        {
            m_shownSteps = m_stepCount;
            m_shownSize = size;
        }
    }
    ++m_stepCount;
    if (platform)
        platform->DiscardEvents();
}

void CLoading::Finish()
{
    End(false);
}

bool CLoading::Draw(bool bandOnly)
{
    CDirectJ* platform = CDirectJ::Peek();
    if (!platform)
        return false;
    // The viewport is the letterboxed screen, which the picture and the droplets fill.
    const CGraphics* cache = CGraphics::Peek();
    const bool live = cache && cache->IsLive();
    GLint viewport[4] = {0, 0, 0, 0};
    if (live)
        glGetIntegerv(GL_VIEWPORT, viewport);
    const bool scissor = bandOnly && live;
    if (scissor)
    {
        // Before the frame begins, so that its clears keep to the band too.
        const Vector4<int32_t> band =
            DropletBand(Vector4<int32_t>(viewport[0], viewport[1], viewport[2], viewport[3]));
        glScissor(band.x, band.y, band.z, band.w);
        glEnable(GL_SCISSOR_TEST);
    }
    const bool began = platform->BeginFrame();
    if (began)
        DrawFrame(*platform, Vector2<int32_t>(viewport[2], viewport[3]));
    // Nothing after this frame may inherit the limit.
    if (scissor)
        glDisable(GL_SCISSOR_TEST);
    if (!began)
        return false;
    platform->SwapBuffers();
    return true;
}

void CLoading::DrawFrame(const CDirectJ& platform, const Vector2<int32_t>& viewportSize)
{
    CGraphics* graphics = CGraphics::Instance();
    const Vector4<float>& clear = platform.GetClearColour();
    graphics->ClearColour(clear.w > 0.0f ? Vector4<float>(clear.x, clear.y, clear.z, 1.0f)
                                         : Vector4<float>(0.0f, 0.0f, 0.0f, 1.0f));
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
        DrawPicture(viewportSize);
        DrawDroplets();
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    }
}

int32_t CLoading::FirstDroplet(int32_t steps)
{
    return std::max(0, steps - kRowLength);
}

int32_t CLoading::EndDroplet(int32_t steps)
{
    return std::min(steps, kRowLength);
}

bool CLoading::SameRow(int32_t stepsA, int32_t stepsB)
{
    const bool emptyA = FirstDroplet(stepsA) >= EndDroplet(stepsA);
    const bool emptyB = FirstDroplet(stepsB) >= EndDroplet(stepsB);
    if (emptyA || emptyB)
        return emptyA && emptyB;
    return FirstDroplet(stepsA) == FirstDroplet(stepsB) && EndDroplet(stepsA) == EndDroplet(stepsB);
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

Vector4<float> CLoading::PictureUvs(const Vector2<int32_t>& viewportSize, const Vector2<int32_t>& pictureSize)
{
    if (viewportSize.x <= 0 || viewportSize.y <= 0 || pictureSize.x <= 0 || pictureSize.y <= 0)
        return Vector4<float>(0.0f, 0.0f, 1.0f, 1.0f);
    // The viewport's width over height, against the picture's: the wider of the two loses its
    // sides, the taller its top and bottom.
    const float ratio = (float(viewportSize.x) * float(pictureSize.y)) / (float(viewportSize.y) * float(pictureSize.x));
    if (ratio < 1.0f)
        return Vector4<float>(0.5f - 0.5f * ratio, 0.0f, 0.5f + 0.5f * ratio, 1.0f);
    const float height = 1.0f / ratio;
    return Vector4<float>(0.0f, 0.5f - 0.5f * height, 1.0f, 0.5f + 0.5f * height);
}

Vector4<int32_t> CLoading::DropletBand(const Vector4<int32_t>& viewport)
{
    Vector2<float> low(1.0f, 1.0f);
    Vector2<float> high(-1.0f, -1.0f);
    for (int32_t i = 0; i < kRowLength; ++i)
        for (const Vector2<float>& corner : MakeDroplet(i).corners)
        {
            low = Vector2<float>(std::min(low.x, corner.x), std::min(low.y, corner.y));
            high = Vector2<float>(std::max(high.x, corner.x), std::max(high.y, corner.y));
        }
    // Clip coordinates to window pixels, as the viewport maps them.
    const auto toPixels = [&viewport](float clip, int32_t origin, int32_t extent)
    { return float(origin) + (clip + 1.0f) * 0.5f * float(extent); };
    const int32_t left = int32_t(std::floor(toPixels(low.x, viewport.x, viewport.z))) - 1;
    const int32_t bottom = int32_t(std::floor(toPixels(low.y, viewport.y, viewport.w))) - 1;
    const int32_t right = int32_t(std::ceil(toPixels(high.x, viewport.x, viewport.z))) + 1;
    const int32_t top = int32_t(std::ceil(toPixels(high.y, viewport.y, viewport.w))) + 1;
    return Vector4<int32_t>(left, bottom, right - left, top - bottom);
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
        // The game redraws the whole window each frame: keeping its pixels would only cost.
        if (m_preservedGeneration >= 0)
            if (CDirectJ* platform = CDirectJ::Peek())
                platform->SetSwapPreserved(false);
        m_preservedGeneration = -1;
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

void CLoading::DrawPicture(const Vector2<int32_t>& viewportSize)
{
    if (!IsDrawable(m_picture.Get()))
        return;
    CGraphics* graphics = CGraphics::Instance();
    std::vector<TextureUnit> units(1);
    units[0].texture = m_picture;
    graphics->SetTextureUnits(units);
    graphics->SetBlend(GL_ONE, GL_ZERO);
    // The picture fills the viewport without being stretched.
    const Vector4<float> part = PictureUvs(viewportSize, m_picture->GetUsedSize());
    // Upright: the picture's top row at the top of the screen.
    const Vector2<float> uvs[4] = {{part.x, part.w}, {part.z, part.w}, {part.x, part.y}, {part.z, part.y}};
    DrawStrip(kScreenCorners, uvs);
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
