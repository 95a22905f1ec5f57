#pragma once
// A bitmap font read from an XML font description (glyph rectangles on page images, advances,
// kerning pairs) that lays UTF-8 strings out into text blocks and keeps the blocks it built,
// keyed by their text, while they are drawn. Glyph geometry is in units of the page size
// (pixels over the page's width or height), so a block scales to any size by one factor.
// Invariant: every glyph's page index names an existing page, or the glyph is never laid out.
#include "Graphics/CFontMetrics.h"
#include "Graphics/CPrint.h"
#include "Graphics/CTexture.h"
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CResizes.h"
#include "core/CString.h"
#include "core/CUpdate.h"
#include "core/Vector2.h"
#include "core/Vector4.h"

#include <cstdint>
#include <map>
#include <vector>

class CXmlNode;

class CFont : public CFontMetrics, public CUpdate, public CResizes
{
  public:
    enum Style : uint32_t
    {
        kPlain = 0,
        kItalic = 1,  // "<name>-i.fnt" when it exists, else kOblique
        kOblique = 2, // the plain file drawn sheared
    };
    struct Glyph
    {
        Vector4<float> uv;   // (x0, y0, x1, y1) on the page, in page units
        Vector4<float> quad; // (x0, y0, x1, y1) from the pen, y down from the top of the line
        float advance = 0.0f;
        int32_t page = 0;
    };

    // How often unused blocks are looked for, in milliseconds of the "global" scope.
    static constexpr int32_t kEvictIntervalMs = 1019;
    // A block not drawn for this many frames leaves the cache.
    static constexpr int32_t kEvictFrames = 200;
    // The code point whose glyph is the soft blob of glow mode 1.
    static constexpr uint32_t kGlowGlyph = 26;
    // What a lead byte F8-FF, which UTF-8 never uses, decodes to.
    static constexpr uint32_t kReplacement = 0xFFFD;

    // A font loaded from "<data folder>/fonts/<name>.fnt" and scheduled for cache eviction.
    static CRef<CFont> Create(const CString& name, uint32_t style);
    // Reads the font file of name for style (see Style); a missing file leaves no glyphs.
    void Load(const CString& name, uint32_t style);
    // Reads a parsed font description; its page files are taken relative to the fonts folder.
    // False, with nothing read, without a "common" element.
    bool Read(CXmlNode& root);

    // The block of text from the cache, or built and cached. With keep false the block leaves the
    // cache (the caller's reference still holds it). Never null.
    CRef<CPrint> GetPrint(const CString& text, bool keep);
    // The block of text, kept in the cache.
    CRef<CPrint> GetPrint(const CString& text) override { return GetPrint(text, true); }
    // Width and height of text in view units at size (a line's height): (0, 0) for nothing.
    Vector2<float> MeasureText(const CString& text, float size) override;
    // Draws text with the anchor at position (baseline alignment, left).
    void DrawText(const CString& text, const Vector2<float>& position, float size,
                  const Vector4<float>& colour);
    // The part of a line below the baseline at size; 0 for a font without lines.
    float GetDescent(float size) const override;
    // The extra advance (font units) of second after first; 0 for a pair without one.
    float GetKerning(uint32_t first, uint32_t second) const;
    // The code point at text, moving text past it. 0 for a null text or at its end, and also for a
    // sequence whose bits are all 0: test the byte for the end. A stray continuation byte is its
    // low 7 bits; a lead byte F8-FF is one kReplacement.
    static uint32_t DecodeUtf8(const char*& text);

    // Drops the blocks not drawn for kEvictFrames frames.
    void Update(float dt) override;
    // The display changed: every block goes (its batches hold GL-dependent materials and sizes).
    virtual void OnResize();
    virtual void OnInvalidate();
    void Resize() override { OnResize(); }
    void Invalidate() override { OnInvalidate(); }

    float GetLineHeight() const { return m_lineHeight; }
    float GetBase() const { return m_base; }
    uint32_t GetStyle() const { return m_style; }
    size_t GetPageCount() const { return m_pages.size(); }
    const CRef<CTexture>& GetPage(size_t i) const { return m_pages[i]; }
    // The glyph of a code point, or null.
    const Glyph* FindGlyph(uint32_t codePoint) const;
    size_t GetGlyphCount() const { return m_glyphs.size(); }
    size_t GetCachedCount() const { return m_prints.size(); }
    // The cached block of text, or null; never builds.
    CPrint* FindCached(const CString& text) const;

  private:
    CFont() = default;

    CRef<CPrint> Build(const CString& text) const;

    // Fixed at load.
    float m_lineHeight = 0.0f;
    float m_base = 0.0f;
    uint32_t m_style = kPlain;
    std::vector<CRef<CTexture>> m_pages;
    std::map<uint32_t, Glyph> m_glyphs;
    std::map<uint32_t, std::map<uint32_t, float>> m_kernings;

    // Draw cache, keyed by the text itself: two texts with the same hash are still two blocks.
    std::map<CString, CRef<CPrint>> m_prints;
};
