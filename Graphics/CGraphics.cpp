#include "Graphics/CGraphics.h"

#include "core/CPreferences.h"

#include "Graphics/CMaterial.h"
#include "Graphics/CMaterialSet.h"
#include "Graphics/COpenGL.h"
#include "Graphics/CTexture.h"
#include "Graphics/CTextureSet.h"
#include "Graphics/GlExtensions.h"
#include "core/CPreferences.h"
#include "core/MathConstants.h"
#include "core/Matrix4.h"
#include "platform/CEglContext.h"
#include "platform/CView.h"

#include <GLES/glext.h>
#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>

REGISTER_SINGLETON(CGraphics, "hanging", 50);

namespace
{

// Values no GL state takes, so the first setter after an invalidation always reaches GL.
constexpr GLenum kUnknownEnum = 65535;
constexpr uint8_t kUnknownFlag = 0xAA;
constexpr uint32_t kUnknownFramebuffer = 0xFFFFFFFF;
constexpr float kUnknownFloat = -1.0f;
constexpr float kUnknownMatrixElement = 2147483648.0f;

// Packs count RGBA pixels in place down to the channels of format; returns the format the
// pixels now have (GL_RGBA for a format it does not know).
GLenum CompactPixels(uint8_t* pixels, size_t count, GLenum format)
{
    std::vector<int> kept;
    switch (format)
    {
    case GL_ALPHA:
        kept = {3};
        break;
    case GL_RGB:
        kept = {0, 1, 2};
        break;
    case GL_LUMINANCE:
        kept = {1};
        break;
    case GL_LUMINANCE_ALPHA:
        kept = {0, 3};
        break;
    default:
        return GL_RGBA;
    }
    uint8_t* out = pixels;
    for (size_t i = 0; i < count; ++i)
        for (int channel : kept)
            *out++ = pixels[i * 4 + size_t(channel)];
    return format;
}

void Forget(CGraphics::UnitState& unit)
{
    unit.texture = nullptr;
    unit.textureKnown = false;
    // One impossible element is enough to make the bytewise comparison fail.
    unit.matrix[0] = kUnknownMatrixElement;
    unit.minFilter = kUnknownEnum;
    unit.wrap = 0;
    unit.envMode = 0;
    std::fill(unit.envColour, unit.envColour + 4, kUnknownFloat);
    unit.combineRgb = 0;
    std::fill(unit.sourceRgb, unit.sourceRgb + 3, 0);
    std::fill(unit.operandRgb, unit.operandRgb + 2, 0);
    unit.rgbScale = kUnknownFloat;
    unit.combineAlpha = 0;
    std::fill(unit.sourceAlpha, unit.sourceAlpha + 3, 0);
    std::fill(unit.operandAlpha, unit.operandAlpha + 2, 0);
    unit.alphaScale = kUnknownFloat;
}

void SendEnum(GLenum name, GLenum wanted, GLenum& record)
{
    if (wanted == record)
        return;
    glTexEnvi(GL_TEXTURE_ENV, name, static_cast<GLint>(wanted));
    record = wanted;
}

void SendFloat(GLenum name, float wanted, float& record)
{
    if (wanted == record)
        return;
    glTexEnvf(GL_TEXTURE_ENV, name, wanted);
    record = wanted;
}

// The corners of the rectangle spanned by a and b, in turn around it from a, at z 0.
template <typename T> void RectVertices(const Vector2<T>& a, const Vector2<T>& b, std::vector<T>& vertices)
{
    vertices = {a.x, a.y, T(0), b.x, a.y, T(0), b.x, b.y, T(0), a.x, b.y, T(0)};
}

} // namespace

void CGraphics::Init()
{
    m_initialised = true;
    InvalidateState();
    // "fullscreen" is written as "false" when absent so that the store records it; it changes
    // nothing, the video mode is always the device's own size. The platform sets the video mode
    // itself and then calls InitState: doing it from here would re-enter the platform's set-up.
    CSingleton<CPreferences>::Instance()->GetBool("fullscreen", false);
}

void CGraphics::SetBlend(GLenum source, GLenum destination)
{
    if (!IsLive() || (source == m_blendSource && destination == m_blendDestination))
        return;
    if (source == GL_ONE && destination == GL_ZERO)
        glDisable(GL_BLEND);
    else
    {
        glEnable(GL_BLEND);
        glBlendFunc(source, destination);
    }
    m_blendSource = source;
    m_blendDestination = destination;
}

void CGraphics::SetAlphaFunc(GLenum function, float reference)
{
    if (!IsLive() || (function == m_alphaFunc && reference == m_alphaReference))
        return;
    if (function == GL_ALWAYS)
        glDisable(GL_ALPHA_TEST);
    else
    {
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(function, reference);
    }
    m_alphaFunc = function;
    m_alphaReference = reference;
}

void CGraphics::SetColourMask(bool red, bool green, bool blue, bool alpha)
{
    if (!IsLive() || (m_colourMask[0] == red && m_colourMask[1] == green && m_colourMask[2] == blue &&
                      m_colourMask[3] == alpha))
        return;
    SendColourMask(red, green, blue, alpha);
}

void CGraphics::SetDepthMask(bool write)
{
    if (!IsLive() || m_depthWrite == static_cast<uint8_t>(write))
        return;
    glDepthMask(write ? GL_TRUE : GL_FALSE);
    m_depthWrite = write;
}

void CGraphics::SetDepthFunc(GLenum function)
{
    if (!IsLive() || function == m_depthFunc)
        return;
    glDepthFunc(function);
    m_depthFunc = function;
}

void CGraphics::ActivateUnit(uint32_t unit)
{
    if (!IsLive() || unit == m_activeUnit)
        return;
    glActiveTexture(GL_TEXTURE0 + unit);
    m_activeUnit = unit;
}

void CGraphics::BindFramebuffer(uint32_t framebuffer)
{
    if (!IsLive() || framebuffer == m_boundFramebuffer)
        return;
    InvalidateState();
    if (GlExtensions::BindFramebufferOES != nullptr)
        GlExtensions::BindFramebufferOES(GL_FRAMEBUFFER_OES, framebuffer);
    m_boundFramebuffer = framebuffer;
    m_alphaTarget = framebuffer;
}

void CGraphics::BindTexture(uint32_t unit, CTexture* texture)
{
    if (!IsLive() || unit >= m_units.size())
        return;
    UnitState& record = m_units[unit];
    if (record.textureKnown && record.texture == texture)
        return;
    ActivateUnit(unit);
    BindTextureObject(texture);
    record.texture = texture;
    record.textureKnown = true;
    // Filter and wrap are parameters of the texture object, not of the unit: what the record says
    // about them held for the texture bound before.
    record.minFilter = kUnknownEnum;
    record.wrap = 0;
    m_materialKnown = false;
}

void CGraphics::SetViewport(int32_t x, int32_t y, int32_t width, int32_t height)
{
    m_viewport[0] = x;
    m_viewport[1] = y;
    m_viewport[2] = width;
    m_viewport[3] = height;
    if (IsLive())
        glViewport(x, y, width, height);
}

void CGraphics::ForgetMaterial(const CMaterial* material)
{
    if (m_materialKnown && m_currentMaterial == material)
        m_materialKnown = false;
}

void CGraphics::ForgetTexture(const CTexture* texture)
{
    // Every record: one texture may sit on several units at once.
    for (UnitState& unit : m_units)
    {
        if (unit.textureKnown && unit.texture == texture)
        {
            unit.texture = nullptr;
            unit.textureKnown = false;
            m_materialKnown = false;
        }
    }
}

void CGraphics::ApplyUnitState(uint32_t unit, const UnitState& wanted)
{
    if (!IsLive() || unit >= m_units.size())
        return;
    BindTexture(unit, wanted.texture);
    UnitState& record = m_units[unit];
    ActivateUnit(unit);
    if (wanted.texture != nullptr)
    {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(wanted.minFilter));
        record.minFilter = wanted.minFilter;
        if (wanted.wrap != record.wrap)
        {
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(wanted.wrap));
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(wanted.wrap));
            record.wrap = wanted.wrap;
        }
    }

    SendEnum(GL_TEXTURE_ENV_MODE, wanted.envMode, record.envMode);
    // The combiner only means something in GL_COMBINE mode; elsewhere it is left as it is.
    if (record.envMode == GL_COMBINE)
    {
        if (std::memcmp(wanted.envColour, record.envColour, sizeof record.envColour) != 0)
        {
            glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, wanted.envColour);
            std::memcpy(record.envColour, wanted.envColour, sizeof record.envColour);
        }
        SendEnum(GL_COMBINE_RGB, wanted.combineRgb, record.combineRgb);
        SendEnum(GL_SRC0_RGB, wanted.sourceRgb[0], record.sourceRgb[0]);
        SendEnum(GL_SRC1_RGB, wanted.sourceRgb[1], record.sourceRgb[1]);
        SendEnum(GL_SRC2_RGB, wanted.sourceRgb[2], record.sourceRgb[2]);
        SendEnum(GL_OPERAND0_RGB, wanted.operandRgb[0], record.operandRgb[0]);
        SendEnum(GL_OPERAND1_RGB, wanted.operandRgb[1], record.operandRgb[1]);
        SendFloat(GL_RGB_SCALE, wanted.rgbScale, record.rgbScale);
        SendEnum(GL_COMBINE_ALPHA, wanted.combineAlpha, record.combineAlpha);
        SendEnum(GL_SRC0_ALPHA, wanted.sourceAlpha[0], record.sourceAlpha[0]);
        SendEnum(GL_SRC1_ALPHA, wanted.sourceAlpha[1], record.sourceAlpha[1]);
        SendEnum(GL_SRC2_ALPHA, wanted.sourceAlpha[2], record.sourceAlpha[2]);
        SendEnum(GL_OPERAND0_ALPHA, wanted.operandAlpha[0], record.operandAlpha[0]);
        SendEnum(GL_OPERAND1_ALPHA, wanted.operandAlpha[1], record.operandAlpha[1]);
        SendFloat(GL_ALPHA_SCALE, wanted.alphaScale, record.alphaScale);
    }

    if (std::memcmp(wanted.matrix, record.matrix, sizeof record.matrix) != 0)
    {
        glMatrixMode(GL_TEXTURE);
        glLoadMatrixf(wanted.matrix);
        glMatrixMode(GL_MODELVIEW);
        std::memcpy(record.matrix, wanted.matrix, sizeof record.matrix);
    }
}

GLenum CGraphics::ChooseMinFilter(int32_t filter, bool mipmaps)
{
    switch (filter)
    {
    case 1:
        return mipmaps ? GL_NEAREST_MIPMAP_NEAREST : GL_NEAREST;
    case 2:
        return mipmaps ? GL_LINEAR_MIPMAP_NEAREST : GL_LINEAR;
    case 3:
        return mipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR;
    default:
        return GL_NEAREST;
    }
}

void CGraphics::UnbindTextures()
{
    if (!IsLive())
        return;
    for (uint32_t unit = GetUnitCount(); unit-- > 0;)
        BindTexture(unit, nullptr);
    ActivateUnit(0);
}

void CGraphics::RestoreEnables()
{
    if (!IsLive())
        return;
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
}

void CGraphics::ClearDepth(float depth)
{
    if (!IsLive())
        return;
    SetDepthMask(true);
    glClearDepthf(depth);
    glClear(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

void CGraphics::ClearColour(const Vector4<float>& colour)
{
    if (!IsLive())
        return;
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(colour.x, colour.y, colour.z, colour.w);
    glClear(GL_COLOR_BUFFER_BIT);
    SendColourMask(true, true, true, true);
}

void CGraphics::Clear(const Vector4<float>& colour, float depth)
{
    if (!IsLive())
        return;
    SetDepthMask(true);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(colour.x, colour.y, colour.z, colour.w);
    glClearDepthf(depth);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    SendColourMask(true, true, true, true);
}

void CGraphics::InvalidateState()
{
    for (UnitState& unit : m_units)
        Forget(unit);
    m_materialKnown = false;
    m_currentMaterial = nullptr;
    m_blendSource = kUnknownEnum;
    m_blendDestination = kUnknownEnum;
    m_depthFunc = kUnknownEnum;
    m_alphaFunc = kUnknownEnum;
    m_alphaReference = kUnknownFloat;
    m_depthWrite = kUnknownFlag;
    std::fill(m_colourMask, m_colourMask + 4, kUnknownFlag);
    m_boundFramebuffer = kUnknownFramebuffer;
    if (IsLive())
        glActiveTexture(GL_TEXTURE0);
    m_activeUnit = 0;
}

void CGraphics::InitState()
{
    m_contextReady = true;
    GlExtensions::Load(&CEglContext::GetProcAddress);
    COpenGL::Instance()->Probe();

    GLint units = 0;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
    m_units.assign(static_cast<size_t>(std::max(units, 1)), UnitState());
    for (GLint unit = static_cast<GLint>(m_units.size()); unit-- > 0;)
    {
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
    }
    InvalidateState();
}

void CGraphics::ReleaseState()
{
    m_contextReady = false;
    m_units.clear();
    InvalidateState();
    // A new context starts drawing to its own screen.
    m_alphaTarget = 0;
    GlExtensions::Unload();
}

CRef<CTexture> CGraphics::ReadScreen(const CString& name)
{
    CRef<CTexture> texture = CTextureSet::Instance()->Get(name);
    const Vector2<int32_t> size = CView::GetPhysicalSize();
    if (!IsLive() || size.x < 1 || size.y < 1)
        return texture;
    const size_t count = size_t(size.x) * size_t(size.y);
    std::vector<uint8_t> pixels(count * 4, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, size.x, size.y, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    const GLenum format = CompactPixels(pixels.data(), count, texture->GetFormat());
    // GL reads from the bottom row up; a texture's image starts at its top row.
    const size_t row = size_t(size.x) * size_t(CTexture::ChannelsOf(format));
    for (int32_t y = 0; y < size.y / 2; ++y)
        std::swap_ranges(pixels.begin() + std::ptrdiff_t(row * size_t(y)),
                         pixels.begin() + std::ptrdiff_t(row * size_t(y + 1)),
                         pixels.begin() + std::ptrdiff_t(row * size_t(size.y - 1 - y)));
    texture->Upload(pixels.data(), size, format);

    // The framebuffer holds the physical screen: turn the picture back about its centre. Built
    // on the padding scale alone, so that reading the screen again does not turn it twice.
    Matrix4 uv;
    uv.Translate(Vector3<float>(-0.5f, -0.5f, 0.0f));
    uv.Rotate(-CView::GetPlatformRotation() * kTwoPi / kFullTurnDegrees, kAxisZ);
    uv.Translate(Vector3<float>(0.5f, 0.5f, 0.0f));
    uv *= texture->GetPaddingTransform();
    texture->SetUvTransform(uv);
    InvalidateState();
    return texture;
}

void CGraphics::ExtendBounds(Vector4<float>& box, const Vector2<float>& position, const Vector4<float>& rect)
{
    const float reachX = std::max(-rect.x, rect.z);
    const float reachY = std::max(-rect.y, rect.w);
    const float radius = std::sqrt(reachX * reachX + reachY * reachY);
    box.x = std::min(box.x, position.x - radius);
    box.y = std::min(box.y, position.y - radius);
    box.z = std::max(box.z, position.x + radius);
    box.w = std::max(box.w, position.y + radius);
}

float CGraphics::GetPulse(uint32_t frameTicks)
{
    // The remainder keeps the float argument small: a long run would otherwise lose the period.
    const float phase = static_cast<float>(frameTicks % 1000u) / 1000.0f;
    return (std::sin(kTwoPi * phase) + 1.0f) / 2.0f;
}

void CGraphics::SetMaterial(CMaterial* material)
{
    if (!IsLive())
        return;
    // Null stands for the default material itself, so that a change to the default through its
    // setters is seen like a change to any other material.
    CMaterial* wanted = material != nullptr ? material : CMaterialSet::Instance()->GetDefault();
    if (m_materialKnown && m_currentMaterial == wanted)
        return;
    wanted->Apply();
    // After Apply: binding its textures made the cache forget the material before.
    m_currentMaterial = wanted;
    m_materialKnown = true;
}

void CGraphics::SetTextureUnits(const std::vector<TextureUnit>& units)
{
    if (!IsLive())
        return;
    const uint32_t count = static_cast<uint32_t>(units.size());
    for (uint32_t index = GetUnitCount(); index-- > count;)
        ApplyTextureUnit(index, nullptr);
    for (uint32_t index = count; index-- > 0;)
        ApplyTextureUnit(index, &units[index]);
    ActivateUnit(0);
}

void CGraphics::ApplyTextureUnit(uint32_t index, const TextureUnit* unit)
{
    if (!IsLive() || index >= m_units.size())
        return;
    UnitState wanted;
    if (unit != nullptr)
    {
        CTexture* texture = unit->texture.Get();
        // Bound first: binding loads the texture, and only then is it known whether it has levels.
        BindTexture(index, texture);
        wanted.texture = texture;
        wanted.wrap = unit->wrap;
        if (texture != nullptr)
        {
            wanted.minFilter = ChooseMinFilter(static_cast<int32_t>(unit->filter), texture->HasMipmaps());
            std::memcpy(wanted.matrix, (unit->matrix * texture->GetUvTransform()).m, sizeof wanted.matrix);
        }
        else
            std::memcpy(wanted.matrix, unit->matrix.m, sizeof wanted.matrix);
        wanted.envMode = unit->envMode;
        wanted.envColour[0] = unit->envColour.x;
        wanted.envColour[1] = unit->envColour.y;
        wanted.envColour[2] = unit->envColour.z;
        wanted.envColour[3] = unit->envColour.w;
        wanted.combineRgb = unit->combineRgb;
        std::copy(unit->sourceRgb, unit->sourceRgb + 3, wanted.sourceRgb);
        std::copy(unit->operandRgb, unit->operandRgb + 2, wanted.operandRgb);
        wanted.rgbScale = unit->rgbScale;
        wanted.combineAlpha = unit->combineAlpha;
        std::copy(unit->sourceAlpha, unit->sourceAlpha + 3, wanted.sourceAlpha);
        std::copy(unit->operandAlpha, unit->operandAlpha + 2, wanted.operandAlpha);
        wanted.alphaScale = unit->alphaScale;
    }
    ApplyUnitState(index, wanted);
}

void CGraphics::FillRect(const Vector2<float>& corner0, const Vector2<float>& corner1,
                         const Vector4<float>& colour)
{
    if (!IsLive())
        return;
    SetMaterial(nullptr);
    RectVertices(corner0, corner1, m_floatVertices);
    DrawColoured(GL_TRIANGLE_FAN, GL_FLOAT, m_floatVertices.data(), 4, colour);
}

void CGraphics::FillRectInt(const Vector2<int16_t>& corner0, const Vector2<int16_t>& corner1,
                            const Vector4<float>& colour)
{
    if (!IsLive())
        return;
    SetMaterial(nullptr);
    RectVertices(corner0, corner1, m_shortVertices);
    DrawColoured(GL_TRIANGLE_FAN, GL_SHORT, m_shortVertices.data(), 4, colour);
}

void CGraphics::DrawLine(const Vector2<float>& from, const Vector2<float>& to, const Vector4<float>& colour,
                         float width, bool smooth)
{
    if (!IsLive())
        return;
    SetMaterial(nullptr);
    SetLineSmooth(smooth);
    // The view's vertical units per pixel; an empty viewport has none, and the width stays as given.
    const float unitsPerPixel = CView::GetCurrent().GetUnitsPerPixel().y;
    glLineWidth(unitsPerPixel > 0.0f ? width / unitsPerPixel : width);
    m_floatVertices = {from.x, from.y, 0, to.x, to.y, 0};
    DrawColoured(GL_LINES, GL_FLOAT, m_floatVertices.data(), 2, colour);
}

void CGraphics::DrawLineInt(const Vector2<int16_t>& from, const Vector2<int16_t>& to,
                            const Vector4<float>& colour, float width)
{
    if (!IsLive())
        return;
    SetMaterial(nullptr);
    SetLineSmooth(false);
    glLineWidth(width);
    m_shortVertices = {from.x, from.y, 0, to.x, to.y, 0};
    DrawColoured(GL_LINES, GL_SHORT, m_shortVertices.data(), 2, colour);
}

void CGraphics::DrawRectOutline(const Vector2<float>& corner0, const Vector2<float>& corner1,
                                const Vector4<float>& colour, float width, bool smooth)
{
    if (!IsLive())
        return;
    SetMaterial(nullptr);
    SetLineSmooth(smooth);
    glLineWidth(width);
    RectVertices(corner0, corner1, m_floatVertices);
    DrawColoured(GL_LINE_LOOP, GL_FLOAT, m_floatVertices.data(), 4, colour);
}

void CGraphics::DrawRectOutlineInt(const Vector2<int16_t>& corner0, const Vector2<int16_t>& corner1,
                                   const Vector4<float>& colour, float width, bool smooth)
{
    if (!IsLive())
        return;
    SetMaterial(nullptr);
    SetLineSmooth(smooth);
    glLineWidth(width);
    RectVertices(corner0, corner1, m_shortVertices);
    DrawColoured(GL_LINE_LOOP, GL_SHORT, m_shortVertices.data(), 4, colour);
}

void CGraphics::DrawSquare(const Vector2<float>& centre, float halfSize, const Vector4<float>& colour)
{
    m_scratch.translation.x = centre.x;
    m_scratch.translation.y = centre.y;
    DrawScratch(CRef<CMaterial>(), Vector4<float>(-halfSize, -halfSize, halfSize, halfSize), colour,
                Vector4<float>(0, 0, 1, 1), 0.0f);
}

void CGraphics::DrawQuad(const CRef<CMaterial>& material, const Vector2<float>& position,
                         const Vector4<float>& rect, const Vector4<float>& colour, const Vector4<float>& uv,
                         float rotation)
{
    m_scratch.translation.x = position.x;
    m_scratch.translation.y = position.y;
    DrawScratch(material, rect, colour, uv, rotation);
}

void CGraphics::DrawQuad3D(const CRef<CMaterial>& material, const Vector3<float>& position,
                           const Vector4<float>& rect, const Vector4<float>& colour, const Vector4<float>& uv,
                           float rotation)
{
    m_scratch.translation = position;
    DrawScratch(material, rect, colour, uv, rotation);
}

void CGraphics::BindTextureObject(CTexture* texture)
{
    // A texture binds itself: it loads on demand and records the frame it was drawn in.
    if (texture != nullptr)
        texture->Bind();
    else
        glBindTexture(GL_TEXTURE_2D, 0);
}

void CGraphics::SendColourMask(bool red, bool green, bool blue, bool alpha)
{
    // The screen keeps no alpha: writing it there would only make captures of the screen translucent.
    glColorMask(red, green, blue, alpha && m_alphaTarget != 0);
    m_colourMask[0] = red;
    m_colourMask[1] = green;
    m_colourMask[2] = blue;
    m_colourMask[3] = alpha;
}

void CGraphics::DrawColoured(GLenum mode, GLenum type, const void* vertices, GLsizei count,
                             const Vector4<float>& colour)
{
    m_colours.resize(4 * size_t(count));
    for (size_t v = 0; v < size_t(count); ++v)
        std::copy(&colour.x, &colour.x + 4, m_colours.begin() + 4 * v);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, type, 0, vertices);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, 0, m_colours.data());
    glDrawArrays(mode, 0, count);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void CGraphics::SetLineSmooth(bool smooth)
{
    if (!smooth)
    {
        glDisable(GL_LINE_SMOOTH);
        return;
    }
    glEnable(GL_LINE_SMOOTH);
    SetBlend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
}

void CGraphics::DrawScratch(const CRef<CMaterial>& material, const Vector4<float>& rect,
                            const Vector4<float>& colour, const Vector4<float>& uv, float rotation)
{
    m_scratch.material = material;
    m_scratch.SetQuadCount(1);
    m_scratch.SetQuadRect(0, rect);
    m_scratch.SetColour(colour);
    m_scratch.SetQuadUv(0, 0, uv);
    m_scratch.rotation = rotation;
    m_scratch.scale = Vector2<float>(1.0f, 1.0f);
    m_scratch.Draw();
}
