#include "Graphics/CGraphics.h"

#include "core/CPreferences.h"

#include "Graphics/COpenGL.h"
#include "Graphics/GlExtensions.h"
#include "core/CPreferences.h"
#include "core/MathConstants.h"
#include "platform/CEglContext.h"

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

void CGraphics::BindTextureObject(CTexture* texture)
{
    // Seam: the texture path lets a texture bind itself here (loading on demand, stamping the frame).
    assert(texture == nullptr && "textures bind through CTexture, which joins with the texture path");
    (void)texture;
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
