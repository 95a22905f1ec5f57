// The font baker against the game's font reader: what it writes loads, measures and kerns, its pages
// decode as coverage, the same input gives the same bytes, and the default face is one it bakes.
#include "Graphics/CFoundry.h"
#include "Graphics/CMaterialSet.h"
#include "Graphics/CSurface.h"
#include "Graphics/CTextureSet.h"
#include "core/CFileSystem.h"
#include "core/CXmlDocument.h"
#include "core/TextFields.h"
#include "support/AppFolder.h"
#include "tools/CFontBaker.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace
{

const char* const kFaces = "/usr/share/fonts/truetype/dejavu";

class FontBakerTest : public ::testing::Test
{
  protected:
    void TearDown() override
    {
        CFoundry::Toggle(false);
        CMaterialSet::Toggle(false);
        CTextureSet::Toggle(false);
    }

    AppFolder m_folder;
};

TEST_F(FontBakerTest, BakedFontsLoadWithTheirGlyphsKerningAndBlob)
{
    std::filesystem::create_directories(m_folder.PathOf("data/textures"));
    std::string error;
    const std::vector<uint32_t> points = CFontBaker::CodePoints({0x416});
    ASSERT_TRUE(CFontBaker::BakeAll(kFaces, m_folder.PathOf("data/fonts"), points, error)) << error;

    for (const CFontBaker::Face& face : CFontBaker::Faces())
        EXPECT_TRUE(std::filesystem::exists(m_folder.PathOf("data/fonts/" + face.name + ".fnt")))
            << face.name;

    CRef<CFont> body = CFoundry::Instance()->GetFont("body", CFont::kPlain);
    EXPECT_GT(body->GetGlyphCount(), 190u);
    ASSERT_EQ(1u, body->GetPageCount());
    EXPECT_GT(body->GetLineHeight(), body->GetBase());
    EXPECT_GT(body->GetBase(), 0.0f);
    for (uint32_t c : {uint32_t('A'), uint32_t('z'), 0xE9u, 0x416u, 0x2026u, CFont::kReplacement})
        EXPECT_NE(nullptr, body->FindGlyph(c)) << "code point " << c;
    const CFont::Glyph* blob = body->FindGlyph(CFont::kGlowGlyph);
    ASSERT_NE(nullptr, blob);
    EXPECT_EQ(0.0f, blob->advance);
    EXPECT_GT(blob->uv.z - blob->uv.x, 0.0f);
    EXPECT_LT(body->GetKerning('A', 'V'), 0.0f) << "DejaVu kerns AV";

    // A line of text at 20 pixels is about as tall as asked and as wide as its letters.
    const Vector2<float> size = body->MeasureText("Frog Pond", 20.0f);
    EXPECT_FLOAT_EQ(20.0f, size.y);
    EXPECT_GT(size.x, 60.0f);
    EXPECT_LT(size.x, 140.0f);
    const Vector2<float> two = body->MeasureText("Frog\nPond", 20.0f);
    EXPECT_FLOAT_EQ(40.0f, two.y);
    EXPECT_LT(two.x, size.x);

    // The italic variant has its own file; title has none, so it leans the bold one.
    EXPECT_EQ(uint32_t(CFont::kItalic), CFoundry::Instance()->GetFont("body", CFont::kItalic)->GetStyle());
    CRef<CFont> title = CFoundry::Instance()->GetFont("title", CFont::kItalic);
    EXPECT_EQ(uint32_t(CFont::kOblique), title->GetStyle());
    EXPECT_GT(title->GetGlyphCount(), 190u);

    // The page is one channel of coverage, with something under the glyph of 'A'.
    CRef<CSurface> page = CSurface::Create("../fonts/body_0.png", CSurface::kDecode, COpenGL::Compression());
    ASSERT_EQ(CFontBaker::kPageSize, page->GetWidth());
    EXPECT_EQ(1, page->GetChannels());
    const CFont::Glyph* a = body->FindGlyph('A');
    float coverage = 0.0f;
    for (int32_t y = int32_t(a->uv.y * 512); y < int32_t(a->uv.w * 512); ++y)
        for (int32_t x = int32_t(a->uv.x * 512); x < int32_t(a->uv.z * 512); ++x)
            coverage += page->GetPixel(x, y).x;
    EXPECT_GT(coverage, 20.0f);
}

TEST_F(FontBakerTest, SameInputGivesSameBytes)
{
    const CFontBaker::Face face = CFontBaker::Faces().front();
    std::string bytes;
    {
        std::ifstream stream(std::string(kFaces) + "/" + face.file, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    }
    const std::vector<uint32_t> points = CFontBaker::CodePoints({});
    CFontBaker::Output first, second;
    ASSERT_TRUE(CFontBaker::Bake(face, bytes, points, first));
    ASSERT_TRUE(CFontBaker::Bake(face, bytes, points, second));
    EXPECT_EQ(first.description, second.description);
    ASSERT_EQ(first.pages.size(), second.pages.size());
    EXPECT_TRUE(first.pages[0].png == second.pages[0].png);
    // The description parses as one document, and names no character the reader cannot read.
    CXmlDocument document;
    EXPECT_TRUE(document.Parse(first.description, false));
    EXPECT_EQ(std::string::npos, first.description.find("letter="));

    CFontBaker::Output none;
    EXPECT_FALSE(CFontBaker::Bake(face, "not a font", points, none));
    EXPECT_TRUE(none.pages.empty());
}

TEST_F(FontBakerTest, CodePointsCoverTheDictionary)
{
    using Points = std::vector<uint32_t>;
    EXPECT_EQ(Points({0xE9, 0x20AC}),
              CFontBaker::NonAsciiCodePoints("caf\xC3\xA9 \xE2\x82\xAC \xC3\xA9 x\x80"));
    const Points all = CFontBaker::CodePoints({0x416, 'A'});
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end()));
    EXPECT_EQ(all.end(), std::adjacent_find(all.begin(), all.end()));
    EXPECT_TRUE(std::binary_search(all.begin(), all.end(), 0x416u));
    EXPECT_TRUE(std::binary_search(all.begin(), all.end(), uint32_t(' ')));
    EXPECT_FALSE(std::binary_search(all.begin(), all.end(), CFontBaker::kBlobCodePoint)) << "baked apart";

    // The default face of the rules is a font the baker makes.
    CXmlDocument rules;
    ASSERT_TRUE(rules.Load(CString(FROG_SOURCE_DIR) + "/data/rules.xml", CFileSystem::kAsPath));
    const CString face = rules.GetAttribute("default/fontface");
    const std::vector<CFontBaker::Face> faces = CFontBaker::Faces();
    EXPECT_TRUE(
        std::any_of(faces.begin(), faces.end(), [&](const CFontBaker::Face& f) { return f.name == face; }))
        << "default/fontface \"" << face << "\" is not baked";
    EXPECT_GT(ParseInt(rules.GetAttribute("default/fontsize").c_str()), 0);
}

} // namespace
