// Bitmap fonts without a display: reading the description, metrics and kerning, UTF-8, laying
// strings out into blocks, the block cache and the font registry.
#include "FontFixture.h"
#include "Graphics/CFont.h"
#include "Graphics/CFoundry.h"
#include "core/HashString.h"
#include "platform/PlatformHooks.h"
#include "support/TestScopes.h"

#include <GLES/gl.h>

namespace
{

constexpr float kW = 256.0f;
constexpr float kH = 128.0f;

// Capitals A-Z as 12 x 20 boxes advancing 14 pixels, a space, a 'Q' on a page that does not
// exist, a kerning for "AV" only, and a later 'Z' that replaces the first.
std::string
TestFont(const std::string& common = R"(<common lineHeight="32" base="26" scaleW="256" scaleH="128"/>)")
{
    std::string text = "<?xml version=\"1.0\"?>\n<font>\n<info face=\"Test\"/>\n" + common +
                       "\n<pages><page id=\"0\" file=\"test_0.png\"/></pages>\n<chars>\n";
    for (int c = 'A'; c <= 'Z'; ++c)
    {
        const int i = c - 'A';
        text += c == 'Q' ? FontFixture::Char(c, 0, 0, 12, 20, 1, 6, 14, 5)
                         : FontFixture::Char(c, (i % 16) * 16, (i / 16) * 32, 12, 20, 1, 6, 14);
    }
    text += FontFixture::Char(' ', 0, 0, 0, 0, 0, 0, 8);
    text += FontFixture::Char('Z', 200, 100, 10, 10, 0, 0, 20);
    text += "</chars>\n<kernings><kerning first=\"65\" second=\"86\" amount=\"-2\"/></kernings>\n</font>\n";
    return text;
}

class FontTest : public FontFixture
{
  protected:
    CRef<CFont> Load(uint32_t style = CFont::kPlain) { return CFoundry::Instance()->GetFont("test", style); }
};

// The frame count as the platform layer would report it.
class FrameCount
{
  public:
    FrameCount()
    {
        PlatformHooks hooks;
        hooks.frameCount = [] { return s_frame; };
        m_previous = PlatformHooks::Install(hooks);
    }
    ~FrameCount() { PlatformHooks::Install(m_previous); }
    void Set(int32_t frame) { s_frame = frame; }

  private:
    static inline int32_t s_frame = 0;
    PlatformHooks m_previous;
};

TEST_F(FontTest, ReadsMetricsGlyphsPagesAndKernings)
{
    WriteFont("test", TestFont());
    CRef<CFont> font = Load();
    EXPECT_FLOAT_EQ(32.0f / kH, font->GetLineHeight());
    EXPECT_FLOAT_EQ(26.0f / kH, font->GetBase());
    EXPECT_EQ(27u, font->GetGlyphCount()) << "26 capitals and a space; the second Z replaces the first";

    const CFont::Glyph* b = font->FindGlyph('B');
    ASSERT_NE(nullptr, b);
    EXPECT_FLOAT_EQ(16.0f / kW, b->uv.x);
    EXPECT_FLOAT_EQ(0.0f, b->uv.y);
    EXPECT_FLOAT_EQ(28.0f / kW, b->uv.z);
    EXPECT_FLOAT_EQ(20.0f / kH, b->uv.w);
    EXPECT_FLOAT_EQ(1.0f / kW, b->quad.x);
    EXPECT_FLOAT_EQ(6.0f / kH, b->quad.y);
    EXPECT_FLOAT_EQ(13.0f / kW, b->quad.z);
    EXPECT_FLOAT_EQ(26.0f / kH, b->quad.w);
    EXPECT_FLOAT_EQ(14.0f / kW, b->advance);
    EXPECT_FLOAT_EQ(20.0f / kW, font->FindGlyph('Z')->advance);
    EXPECT_EQ(nullptr, font->FindGlyph('a'));

    ASSERT_EQ(1u, font->GetPageCount());
    const CRef<CTexture>& page = font->GetPage(0);
    EXPECT_EQ("../fonts/test_0.png", page->GetName());
    EXPECT_EQ(GLenum(GL_ALPHA), page->GetFormat());
    EXPECT_EQ(uint32_t(CTexture::kCompressNever), page->GetCompression());
    EXPECT_TRUE(page->HasMipmaps());

    EXPECT_FLOAT_EQ(-2.0f / kW, font->GetKerning('A', 'V'));
    EXPECT_FLOAT_EQ(0.0f, font->GetKerning('V', 'A'));
    EXPECT_FLOAT_EQ(0.0f, font->GetKerning('A', 'B'));
    // (1 - 26 / 32) x 20.
    EXPECT_FLOAT_EQ(3.75f, font->GetDescent(20.0f));
}

TEST_F(FontTest, AbsentValuesTakeTheirDefaults)
{
    WriteFont("bare",
              "<font><common/><chars><char id=\"65\"/><char id=\"66\" xadvance=\"\"/></chars></font>");
    CRef<CFont> font = CFoundry::Instance()->GetFont("bare", CFont::kPlain);
    EXPECT_FLOAT_EQ(0.25f, font->GetLineHeight());
    EXPECT_FLOAT_EQ(0.125f, font->GetBase());
    ASSERT_NE(nullptr, font->FindGlyph('B'));
    EXPECT_FLOAT_EQ(0.0f, font->FindGlyph('B')->advance);
    EXPECT_EQ(0u, font->GetPageCount());
    // No page: the glyphs exist but lay nothing out.
    EXPECT_TRUE(font->GetPrint("AB", false)->GetTextBatches().empty());

    // A page edge of 0 would make every coordinate infinite: it keeps the default instead.
    WriteFont("zero", "<font><common scaleW=\"0\" scaleH=\"-4\" lineHeight=\"512\"/></font>");
    EXPECT_FLOAT_EQ(0.5f, CFoundry::Instance()->GetFont("zero", CFont::kPlain)->GetLineHeight());
}

TEST_F(FontTest, MissingFontMeasuresNothingWithoutNaN)
{
    CRef<CFont> font = CFoundry::Instance()->GetFont("nowhere", CFont::kPlain);
    ASSERT_TRUE(font);
    EXPECT_EQ(0u, font->GetGlyphCount());
    EXPECT_EQ(0u, font->GetPageCount());
    const Vector2<float> size = font->MeasureText("Hello", 20.0f);
    EXPECT_EQ(0.0f, size.x);
    EXPECT_EQ(0.0f, size.y);
    EXPECT_EQ(0.0f, font->GetDescent(20.0f));
    EXPECT_EQ(0.0f, font->GetPrint("Hello", true)->GetScale());

    WriteFont("broken", "<font><common lineHeight=\"32\"");
    EXPECT_EQ(0.0f, CFoundry::Instance()->GetFont("broken", CFont::kPlain)->GetLineHeight());
}

TEST_F(FontTest, DecodesUtf8)
{
    const auto decodeAll = [](const char* text)
    {
        std::vector<uint32_t> points;
        while (*text != '\0')
            points.push_back(CFont::DecodeUtf8(text));
        return points;
    };
    using Points = std::vector<uint32_t>;
    EXPECT_EQ(Points({'a', 0xE9, 0x416, 0x20AC, 0x1F600}),
              decodeAll("a\xC3\xA9\xD0\x96\xE2\x82\xAC\xF0\x9F\x98\x80"));
    // A cut sequence keeps its bits; the ASCII byte that cut it is the next character.
    EXPECT_EQ(Points({0x82, 'x'}), decodeAll("\xE2\x82x"));
    EXPECT_EQ(Points({0x82}), decodeAll("\xE2\x82"));
    // A stray continuation byte is its low 7 bits (0x80 is 0 yet ends nothing); bytes UTF-8 never
    // uses are replacements.
    EXPECT_EQ(Points({0x00, 'b', 0x29, CFont::kReplacement, CFont::kReplacement, 'c'}),
              decodeAll("\x80"
                        "b\xA9\xF8\xFF"
                        "c"));

    const char* end = "";
    EXPECT_EQ(0u, CFont::DecodeUtf8(end));
    EXPECT_EQ('\0', *end) << "the end is not passed";
    const char* none = nullptr;
    EXPECT_EQ(0u, CFont::DecodeUtf8(none));
}

TEST_F(FontTest, LaysGlyphsOutWithKerningAndLines)
{
    WriteFont("test", TestFont());
    CRef<CFont> font = Load();

    CRef<CPrint> av = font->GetPrint("AV", true);
    ASSERT_EQ(1u, av->GetTextBatches().size());
    const QuadBatch& avBatch = av->GetTextBatches()[0];
    ASSERT_EQ(2u, avBatch.GetQuadCount());
    EXPECT_FLOAT_EQ(1.0f / kW, avBatch.GetQuadRect(0).x);
    EXPECT_FLOAT_EQ(6.0f / kH, avBatch.GetQuadRect(0).y);
    EXPECT_FLOAT_EQ(13.0f / kW, avBatch.GetQuadRect(1).x)
        << "A's advance 14 less the kerning 2, plus V's offset";
    EXPECT_FLOAT_EQ(26.0f / kW, av->GetExtent().x);
    EXPECT_FLOAT_EQ(32.0f / kH, av->GetExtent().y);
    EXPECT_FLOAT_EQ(80.0f / kW, avBatch.GetQuadUv(1, 0).x) << "V, glyph 21, on the second row";

    // The pair in the other order has no kerning.
    EXPECT_FLOAT_EQ(15.0f / kW, font->GetPrint("VA", true)->GetTextBatches()[0].GetQuadRect(1).x);

    // Code points without a glyph, or on a missing page, add nothing and leave the pen.
    CRef<CPrint> gaps = font->GetPrint("A\xC3\xA9Qb B", true);
    EXPECT_EQ(3u, gaps->GetTextBatches()[0].GetQuadCount()) << "A, the space and B";
    EXPECT_FLOAT_EQ(36.0f / kW, gaps->GetExtent().x);

    CRef<CPrint> lines = font->GetPrint("AB\nC", true);
    const QuadBatch& linesBatch = lines->GetTextBatches()[0];
    ASSERT_EQ(3u, linesBatch.GetQuadCount());
    EXPECT_FLOAT_EQ(1.0f / kW, linesBatch.GetQuadRect(2).x);
    EXPECT_FLOAT_EQ((32.0f + 6.0f) / kH, linesBatch.GetQuadRect(2).y);
    EXPECT_FLOAT_EQ(28.0f / kW, lines->GetExtent().x);
    EXPECT_FLOAT_EQ(64.0f / kH, lines->GetExtent().y);

    CRef<CPrint> empty = font->GetPrint("\n", true);
    EXPECT_TRUE(empty->GetTextBatches().empty());
    EXPECT_EQ(0.0f, empty->GetExtent().x);
    EXPECT_EQ(0.0f, empty->GetExtent().y);

    // Measured at a size of 64 view units a line: scale 64 / (32 / 128) = 256.
    const Vector2<float> measured = font->MeasureText("AV", 64.0f);
    EXPECT_FLOAT_EQ(26.0f, measured.x);
    EXPECT_FLOAT_EQ(64.0f, measured.y);
    EXPECT_EQ(0.0f, font->MeasureText("", 64.0f).x);
}

TEST_F(FontTest, ItalicFallsBackToShearedPlainFile)
{
    WriteFont("test", TestFont());
    CRef<CFont> italic = Load(CFont::kItalic);
    EXPECT_EQ(uint32_t(CFont::kOblique), italic->GetStyle());
    EXPECT_EQ(italic.Get(), CFoundry::Instance()->FindFont("test-i"));
    EXPECT_NE(italic.Get(), Load(CFont::kPlain).Get());

    // x' = x - 0.25 y: the top of the quad leans right of its foot (y grows downwards).
    const QuadBatch& batch = italic->GetPrint("A", true)->GetTextBatches()[0];
    const Vector3<float> bottomLeft = batch.GetPositions()[0];
    const Vector3<float> topLeft = batch.GetPositions()[3];
    EXPECT_FLOAT_EQ(1.0f / kW - 0.25f * 26.0f / kH, bottomLeft.x);
    EXPECT_FLOAT_EQ(1.0f / kW - 0.25f * 6.0f / kH, topLeft.x);
    EXPECT_FLOAT_EQ(26.0f / kH, bottomLeft.y);

    // With its own file the italic style reads that, unsheared.
    WriteFont("own", TestFont());
    WriteFont("own-i", TestFont(R"(<common lineHeight="64" base="50" scaleW="256" scaleH="128"/>)"));
    CRef<CFont> own = CFoundry::Instance()->GetFont("own", CFont::kItalic);
    EXPECT_EQ(uint32_t(CFont::kItalic), own->GetStyle());
    EXPECT_FLOAT_EQ(0.5f, own->GetLineHeight());
    EXPECT_FLOAT_EQ(1.0f / kW, own->GetPrint("A", true)->GetTextBatches()[0].GetPositions()[0].x);

    // Bold has no file of its own: it is the plain font.
    EXPECT_EQ(Load(CFont::kPlain).Get(), Load(3).Get());
    CRef<CFont> oblique = Load(CFont::kOblique);
    EXPECT_EQ(oblique.Get(), CFoundry::Instance()->FindFont("test-o"));
    EXPECT_EQ(4u, CFoundry::Instance()->GetCount());
}

TEST_F(FontTest, CacheKeepsOneBlockPerTextEvenWhenHashesCollide)
{
    WriteFont("test", TestFont());
    CRef<CFont> font = Load();
    ASSERT_EQ(HashString("DKOC"), HashString("UWZS")) << "the two texts share a hash";
    CRef<CPrint> first = font->GetPrint("DKOC", true);
    CRef<CPrint> second = font->GetPrint("UWZS", true);
    EXPECT_NE(first.Get(), second.Get());
    EXPECT_FLOAT_EQ(48.0f / kW, first->GetTextBatches()[0].GetQuadUv(0, 0).x) << "D, glyph 3";
    EXPECT_FLOAT_EQ(64.0f / kW, second->GetTextBatches()[0].GetQuadUv(0, 0).x) << "U, glyph 20";
    EXPECT_FLOAT_EQ(32.0f / kH, second->GetTextBatches()[0].GetQuadUv(0, 0).y);
    EXPECT_EQ(first.Get(), font->GetPrint("DKOC", true).Get());
    EXPECT_EQ(2u, font->GetCachedCount());

    // Not kept: the block leaves the cache, the caller's reference holds it.
    CRef<CPrint> once = font->GetPrint("DKOC", false);
    EXPECT_EQ(first.Get(), once.Get());
    EXPECT_EQ(nullptr, font->FindCached("DKOC"));
    EXPECT_NE(first.Get(), font->GetPrint("DKOC", false).Get());

    font->OnResize();
    EXPECT_EQ(0u, font->GetCachedCount());
    font->GetPrint("A", true);
    font->Invalidate();
    EXPECT_EQ(0u, font->GetCachedCount());
    font->GetPrint("A", true);
    CFoundry::Instance()->Invalidate();
    EXPECT_EQ(0u, font->GetCachedCount());
}

TEST_F(FontTest, BlocksNotDrawnFor200FramesAreDropped)
{
    TestScopes scopes;
    FrameCount frames;
    WriteFont("test", TestFont());
    CRef<CFont> font = Load();
    EXPECT_TRUE(font->IsActive()) << "scheduled in the global scope";
    EXPECT_EQ(CFont::kEvictIntervalMs, font->GetInterval());

    CRef<CPrint> block = font->GetPrint("AB", true);
    frames.Set(199);
    font->Update(1.0f);
    EXPECT_EQ(block.Get(), font->FindCached("AB"));
    frames.Set(200);
    font->Update(1.0f);
    EXPECT_EQ(nullptr, font->FindCached("AB"));
    EXPECT_NE(block.Get(), font->GetPrint("AB", true).Get()) << "rebuilt on the next request";
    EXPECT_EQ(2u, block->GetTextBatches()[0].GetQuadCount()) << "the holder's block lives on";
}

} // namespace
