#include "Graphics/CPrint.h"

#include "Graphics/CMaterial.h"
#include "Graphics/CMaterialSet.h"
#include "core/CPreference.h"
#include "platform/PlatformHooks.h"

#include <algorithm>
#include <cmath>

namespace
{
// Kept for the settings file; the text transitions that would read it are not this block's.
CPreference<bool> s_fontTransitions("fonttransitions", true);

// How far a blob glyph reaches beyond the glyph it lights, as a factor of the glyph's size.
constexpr float kGlowReach = 1.2f;
} // namespace

CRef<CPrint> CPrint::Create(float lineHeight, float base)
{
    return CRef<CPrint>::Adopt(new CPrint(lineHeight, base));
}

CPrint::CPrint(float lineHeight, float base) : m_lineHeight(lineHeight), m_base(base) {}

void CPrint::SetPosition(const Vector2<float>& position)
{
    if (position == m_position)
        return;
    m_position = position;
    m_layoutDirty = true;
}

void CPrint::SetAlign(uint32_t align)
{
    if (align == m_align)
        return;
    m_align = align;
    m_layoutDirty = true;
}

void CPrint::SetVerticalAlign(uint32_t align)
{
    if (align == m_verticalAlign)
        return;
    m_verticalAlign = align;
    m_layoutDirty = true;
}

void CPrint::SetSize(float size)
{
    // A font that failed to load has no line height: it draws and measures nothing, without NaN.
    const float scale = m_lineHeight > 0.0f ? size / m_lineHeight : 0.0f;
    if (scale == m_scale)
        return;
    m_scale = scale;
    for (QuadBatch& batch : m_textBatches)
        batch.scale = Vector2<float>(scale, scale);
    for (QuadBatch& batch : m_glowBatches)
        batch.scale = Vector2<float>(scale, scale);
    // The alignment offsets are in view units and grow with the scale.
    m_layoutDirty = true;
}

void CPrint::SetColour(const Vector4<float>& colour)
{
    if (colour == m_colour)
        return;
    m_colour = colour;
    m_coloursDirty = true;
}

void CPrint::SetOpacity(float opacity)
{
    if (opacity == m_opacity)
        return;
    m_opacity = opacity;
    m_coloursDirty = true;
}

void CPrint::SetGlow(const Vector4<float>& colour, uint32_t mode)
{
    if (m_textBatches.empty())
        return;
    if (mode != m_glowMode)
    {
        m_coloursDirty = true;
        m_glowMode = mode;
        m_glowBatches.clear();
    }
    if (colour.w <= 0.0f)
    {
        // The text alpha depends on whether a glow shows, so a glow that goes must recolour it.
        if (colour != m_glowColour)
            m_coloursDirty = true;
        m_glowColour = colour;
        m_glowBatches.clear();
        return;
    }
    if (colour != m_glowColour || m_glowBatches.empty())
        m_coloursDirty = true;
    m_glowColour = colour;
}

void CPrint::SetGlowGlyph(const Vector4<float>& rect, const CRef<CTexture>& texture)
{
    m_glowGlyphRect = rect;
    m_glowGlyphTexture = texture;
}

void CPrint::NewLine()
{
    m_pen.x = 0.0f;
    m_pen.y += m_lineHeight;
}

void CPrint::AddGlyph(const Vector4<float>& quad, const Vector4<float>& uv, CTexture* page, float advance,
                      const Matrix3* shear)
{
    if (m_textBatches.empty() || page != m_pageTexture.Get())
    {
        CRef<CMaterial> material =
            CMaterialSet::Instance()->Find("m_" + (page ? page->GetName() : CString()));
        material->SetTexture(0, CRef<CTexture>(page));
        material->SetFilter(0, TextureUnit::kTrilinear);
        material->SetDepthWrite(false);
        QuadBatch& batch = m_textBatches.emplace_back();
        batch.SetMaterial(material);
        batch.scale = Vector2<float>(m_scale, m_scale);
        m_pageTexture.Set(page);
        m_layoutDirty = true;
        m_coloursDirty = true;
    }
    // Glow copies are made from whole text batches: a grown batch needs a new copy.
    if (!m_glowBatches.empty())
    {
        m_glowBatches.clear();
        m_coloursDirty = true;
    }
    QuadBatch& batch = m_textBatches.back();
    batch.AddQuad(Vector4<float>(quad.x + m_pen.x, quad.y + m_pen.y, quad.z + m_pen.x, quad.w + m_pen.y), uv,
                  kWhite);
    if (shear)
        batch.TransformQuad(batch.GetQuadCount() - 1, *shear);
    m_pen.x += advance;
    m_extent.x = std::max(m_extent.x, m_pen.x);
    m_extent.y = std::max(m_extent.y, m_pen.y + m_lineHeight);
}

void CPrint::Draw()
{
    if (!Stamp())
        return;
    for (QuadBatch& batch : m_glowBatches)
        batch.Draw();
    for (QuadBatch& batch : m_textBatches)
        batch.Draw();
}

void CPrint::DrawText()
{
    if (!Stamp())
        return;
    for (QuadBatch& batch : m_textBatches)
        batch.Draw();
}

void CPrint::DrawGlow()
{
    if (!Stamp())
        return;
    for (QuadBatch& batch : m_glowBatches)
        batch.Draw();
}

bool CPrint::Prepare()
{
    if (m_textBatches.empty())
        return false;
    if (m_layoutDirty)
        UpdateLayout();
    if (m_coloursDirty)
        UpdateColours();
    return true;
}

bool CPrint::Stamp()
{
    if (m_textBatches.empty())
        return false;
    m_lastDrawn = uint32_t(PlatformHooks::GetFrameCount());
    return Prepare();
}

void CPrint::UpdateLayout()
{
    Vector2<float> anchor = m_position;
    if (m_align == kAlignRight)
        anchor.x -= m_scale * m_extent.x;
    else if (m_align == kAlignCentre)
        anchor.x -= 0.5f * m_scale * m_extent.x;
    if (m_verticalAlign == kAnchorBaseline)
        anchor.y -= (m_lineHeight - m_base) * m_scale;
    else if (m_verticalAlign == kAnchorLine)
        anchor.y -= m_lineHeight * m_scale;
    for (QuadBatch& batch : m_textBatches)
    {
        batch.translation.x = anchor.x;
        batch.translation.y = anchor.y;
    }
    for (QuadBatch& batch : m_glowBatches)
    {
        batch.translation.x = anchor.x;
        batch.translation.y = anchor.y;
    }
    m_layoutDirty = false;
}

void CPrint::UpdateColours()
{
    const float glowAlpha = m_glowColour.w * m_opacity;
    float textAlpha = m_colour.w * m_opacity;
    if (m_glowColour.w > 0.0f)
        textAlpha *= m_opacity;
    if (!m_textBatches.empty() && m_glowBatches.empty())
        MakeGlowBatches();
    const Vector4<float> text(m_colour.x, m_colour.y, m_colour.z, textAlpha);
    const Vector4<float> glow(m_glowColour.x, m_glowColour.y, m_glowColour.z, glowAlpha);
    for (QuadBatch& batch : m_textBatches)
        batch.SetColour(text);
    for (QuadBatch& batch : m_glowBatches)
        batch.SetColour(glow);
    m_coloursDirty = false;
}

void CPrint::MakeGlowBatches()
{
    m_glowBatches = m_textBatches;
    if (m_glowMode != kGlowBlob || !m_glowGlyphTexture)
        return;
    CRef<CMaterial> material = CMaterialSet::Instance()->Find("_a_" + m_glowGlyphTexture->GetName());
    material->SetTexture(0, m_glowGlyphTexture);
    material->SetBlend(GL_SRC_ALPHA, GL_ONE);
    material->SetDepthWrite(false);
    for (QuadBatch& batch : m_glowBatches)
    {
        batch.SetMaterial(material);
        for (uint32_t i = 0; i < batch.GetQuadCount(); ++i)
        {
            const Vector4<float> rect = batch.GetQuadRect(i);
            const float w = std::abs(rect.z - rect.x);
            const float h = std::abs(rect.w - rect.y);
            const float centreX = 0.5f * (rect.x + rect.z);
            const float centreY = 0.5f * (rect.y + rect.w);
            const float halfWidth = kGlowReach * (0.8f * w + 0.2f * h);
            const float halfHeight = kGlowReach * (0.8f * h + 0.2f * w);
            batch.SetQuadRect(i, Vector4<float>(centreX - halfWidth, centreY - halfHeight,
                                                centreX + halfWidth, centreY + halfHeight));
            batch.SetQuadUv(i, 0, m_glowGlyphRect);
        }
    }
}
