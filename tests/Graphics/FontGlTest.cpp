// Text drawn on a real ES 1.1 context from a font file and a coverage page, read back.
#include "DrawFixture.h"
#include "Graphics/CFont.h"
#include "Graphics/CFoundry.h"
#include "support/TestImages.h"

#include <filesystem>

namespace
{

using Pixel = DrawFixture::Pixel;

const Pixel kBlack{0, 0, 0, 255};
const Pixel kRed{255, 0, 0, 255};

// A 16 x 16 coverage page: 'A' a full 8 x 8 box, 'B' its left half only, and the blob (26) a
// full box below them. Lines are 8 pixels with the baseline at the bottom.
class FontGlTest : public DrawFixture
{
  protected:
    void SetUp() override
    {
        DrawFixture::SetUp();
        // y down, as the game's views have it; glReadPixels still counts rows from the bottom.
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrthof(0, float(kWidth), float(kHeight), 0, -10, 10);
        glMatrixMode(GL_MODELVIEW);

        std::filesystem::create_directories(m_folder.PathOf("data/fonts"));
        std::filesystem::create_directories(m_folder.PathOf("data/textures"));
        std::vector<uint8_t> coverage(16 * 16, 0);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                if (y < 8 ? x < 12 : x < 8)
                    coverage[size_t(y * 16 + x)] = 255;
        m_folder.WriteData("fonts/boxes_0.png", TestImages::Png(16, 16, 1, coverage));
        m_folder.WriteData("fonts/boxes.fnt",
                           "<font><common lineHeight=\"8\" base=\"8\" scaleW=\"16\" scaleH=\"16\"/>"
                           "<pages><page id=\"0\" file=\"boxes_0.png\"/></pages><chars>"
                           "<char id=\"65\" x=\"0\" y=\"0\" width=\"8\" height=\"8\" xadvance=\"8\"/>"
                           "<char id=\"66\" x=\"8\" y=\"0\" width=\"8\" height=\"8\" xadvance=\"8\"/>"
                           "<char id=\"26\" x=\"0\" y=\"8\" width=\"8\" height=\"8\"/>"
                           "</chars></font>");
    }

    void TearDown() override
    {
        CFoundry::Toggle(false);
        DrawFixture::TearDown();
    }

    // The pixel at x and at row y from the top.
    void ExpectAt(const Pixel& expected, int x, int y) const { ExpectPixel(expected, x, kHeight - 1 - y, 8); }
};

TEST_F(FontGlTest, GlyphsDrawInTheTextColourWhereTheirCoverageIs)
{
    CRef<CFont> font = CFoundry::Instance()->GetFont("boxes", CFont::kPlain);
    // Size 8: one page pixel is one screen pixel; 'A' covers x 4..12, 'B' x 12..20 (ink in 12..16).
    font->DrawText("AB", Vector2<float>(4, 4), 8.0f, Vector4<float>(1, 0, 0, 1));
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    ExpectAt(kRed, 5, 5);
    ExpectAt(kRed, 10, 10);
    ExpectAt(kRed, 14, 8);
    ExpectAt(kBlack, 18, 8); // the right half of B has no coverage
    ExpectAt(kBlack, 8, 14); // below the line
    ExpectAt(kBlack, 2, 8);
    ExpectAt(kBlack, 24, 24);

    // Measured as it was drawn; right-aligned at x 28 the same text ends there.
    const Vector2<float> size = font->MeasureText("AB", 8.0f);
    EXPECT_FLOAT_EQ(16.0f, size.x);
    EXPECT_FLOAT_EQ(8.0f, size.y);
    m_graphics->Clear(Vector4<float>(0, 0, 0, 1), 1.0f);
    CRef<CPrint> print = font->GetPrint("A", true);
    print->SetAlign(CPrint::kAlignRight);
    print->SetVerticalAlign(CPrint::kAnchorLine);
    print->SetPosition(Vector2<float>(28, 28));
    print->SetSize(8.0f);
    print->SetColour(Vector4<float>(1, 0, 0, 1));
    print->Draw();
    ExpectAt(kRed, 24, 24);
    ExpectAt(kBlack, 18, 24);
    ExpectAt(kBlack, 24, 29);
}

TEST_F(FontGlTest, BlobGlowShowsAroundTheGlyphsAndObliqueLeans)
{
    CRef<CFont> font = CFoundry::Instance()->GetFont("boxes", CFont::kPlain);
    CRef<CPrint> print = font->GetPrint("A", true);
    print->SetVerticalAlign(CPrint::kAnchorAsIs);
    print->SetPosition(Vector2<float>(12, 12));
    print->SetSize(8.0f);
    print->SetColour(Vector4<float>(1, 0, 0, 1));
    print->SetGlow(Vector4<float>(0, 1, 0, 1), CPrint::kGlowBlob);
    print->Draw();
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    // The blob reaches 9.6 pixels from the glyph's centre (16, 16); the text lies over it.
    ExpectAt(kRed, 16, 16);
    ExpectAt(Pixel{0, 255, 0, 255}, 9, 16);
    ExpectAt(Pixel{0, 255, 0, 255}, 16, 23);
    ExpectAt(kBlack, 3, 3);

    // Oblique: the top of 'A' moves right by a quarter of its height above the bottom.
    m_graphics->Clear(Vector4<float>(0, 0, 0, 1), 1.0f);
    CRef<CFont> oblique = CFoundry::Instance()->GetFont("boxes", CFont::kOblique);
    oblique->DrawText("A", Vector2<float>(4, 4), 16.0f, Vector4<float>(1, 0, 0, 1));
    // A 16 x 16 box from (4, 4), sheared about the line's top: row 5 spans x 3.75..19.75, row 18
    // spans x 0.5..16.5.
    ExpectAt(kRed, 17, 5);
    ExpectAt(kBlack, 2, 5);
    ExpectAt(kRed, 2, 18);
    ExpectAt(kBlack, 17, 18);
}

} // namespace
