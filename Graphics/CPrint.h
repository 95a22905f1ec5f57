#pragma once
// One laid-out string of one font: a quad per glyph, in one quad batch per run of glyphs on the
// same page texture, plus optional glow batches drawn behind. Layout is done once by the font, in
// font units (fractions of the page size); placing, aligning, scaling and colouring afterwards
// only set the batches' translation, scale and colour, and only when a dirty flag says so.
// Invariant: the glow batches are empty or exactly one copy per text batch.
#include "Graphics/CTexture.h"
#include "Graphics/QuadBatch.h"
#include "core/CBase.h"
#include "core/CLink.h"
#include "core/CRef.h"
#include "core/MathConstants.h"
#include "core/Vector2.h"
#include "core/Vector4.h"

#include <cstdint>
#include <vector>

class CPrint : public CBase
{
  public:
    enum Align : uint32_t
    {
        kAlignLeft = 0,
        kAlignRight = 1,
        kAlignCentre = 2,
    };
    enum VerticalAlign : uint32_t
    {
        kAnchorBaseline = 0, // the anchor moves up by the part of the line below the baseline
        kAnchorLine = 1,     // the anchor moves up by a whole line
        kAnchorAsIs = 2,     // any other value: no shift
    };
    enum GlowMode : uint32_t
    {
        kGlowShapes = 0, // the glyph shapes themselves, in the glow colour
        kGlowBlob = 1,   // the font's soft blob glyph behind each glyph, added on
    };

    // An empty block for a font whose line height and base (font units) are given.
    static CRef<CPrint> Create(float lineHeight, float base);

    // The anchor in view units; how it relates to the text depends on the alignments.
    void SetPosition(const Vector2<float>& position);
    void SetAlign(uint32_t align);
    void SetVerticalAlign(uint32_t align);
    // Size of a line in view units: scale = size / line height (0 for a font without lines).
    void SetSize(float size);
    void SetColour(const Vector4<float>& colour);
    // Multiplies the alphas of text and glow.
    void SetOpacity(float opacity);
    // Nothing for a block without text. An alpha of 0 or less hides the glow.
    void SetGlow(const Vector4<float>& colour, uint32_t mode);
    // The texture rectangle and page of the font's blob glyph, for glow mode 1.
    void SetGlowGlyph(const Vector4<float>& rect, const CRef<CTexture>& texture);

    // Building, by the font: the pen goes to the start of the next line.
    void NewLine();
    // Adds a glyph at the pen: quad and uv rectangles in font units, the advance moves the pen,
    // and shear (may be null) transforms the new quad. A new page starts a new text batch.
    void AddGlyph(const Vector4<float>& quad, const Vector4<float>& uv, CTexture* page, float advance,
                  const Matrix3* shear);

    // Each does nothing for a block without text; otherwise stamps the frame and draws, Draw the
    // glow and then the text.
    void Draw();
    void DrawText();
    void DrawGlow();
    // Brings placement and colours up to date (drawing does it); false for a block without text.
    bool Prepare();

    const Vector2<float>& GetPosition() const { return m_position; }
    float GetScale() const { return m_scale; }
    // Width and height of the laid-out text in font units; times GetScale in view units.
    const Vector2<float>& GetExtent() const { return m_extent; }
    float GetLineHeight() const { return m_lineHeight; }
    float GetBase() const { return m_base; }
    const Vector4<float>& GetColour() const { return m_colour; }
    float GetOpacity() const { return m_opacity; }
    const Vector4<float>& GetGlowColour() const { return m_glowColour; }
    uint32_t GetGlowMode() const { return m_glowMode; }
    // The frame count of the last draw (0: never drawn).
    uint32_t GetLastDrawn() const { return m_lastDrawn; }
    const std::vector<QuadBatch>& GetTextBatches() const { return m_textBatches; }
    const std::vector<QuadBatch>& GetGlowBatches() const { return m_glowBatches; }

  private:
    CPrint(float lineHeight, float base);

    bool Stamp();
    void UpdateLayout();
    void UpdateColours();
    void MakeGlowBatches();

    // Placement and looks, set by whoever shows the block.
    Vector2<float> m_position{0.0f, 0.0f};
    float m_scale = 1.0f;
    uint32_t m_align = kAlignLeft;
    uint32_t m_verticalAlign = kAnchorBaseline;
    Vector4<float> m_glowGlyphRect{0.0f, 0.0f, 1.0f, 1.0f};
    CRef<CTexture> m_glowGlyphTexture;
    float m_opacity = 1.0f;
    Vector4<float> m_colour = kWhite;
    Vector4<float> m_glowColour{0.0f, 0.0f, 0.0f, 0.0f};
    uint32_t m_glowMode = kGlowShapes;
    uint32_t m_lastDrawn = 0;
    bool m_layoutDirty = true;
    bool m_coloursDirty = true;

    // The layout, in font units, fixed once the font has built the block.
    Vector2<float> m_pen{0.0f, 0.0f};
    Vector2<float> m_extent{0.0f, 0.0f};
    float m_lineHeight;
    float m_base;
    CLink<CTexture> m_pageTexture;

    // Draw caches: the glow copies can be rebuilt from the text batches at any time.
    std::vector<QuadBatch> m_glowBatches;
    std::vector<QuadBatch> m_textBatches;
};
