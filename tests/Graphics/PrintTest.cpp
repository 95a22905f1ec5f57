// Text blocks without a display: placement, alignment, scale, colours, glow copies and page runs,
// brought up to date by Prepare as a draw would.
#include "FontFixture.h"
#include "Graphics/CMaterial.h"
#include "Graphics/CPrint.h"

namespace
{

class PrintTest : public FontFixture
{
  protected:
    CRef<CTexture> Page(const char* name) { return CTextureSet::Instance()->Get(name); }

    // One glyph half a unit wide and a line high at the pen, advancing half a unit.
    static void AddBox(CPrint& print, CTexture* page, const Matrix3* shear = nullptr)
    {
        print.AddGlyph(Vector4<float>(0.0f, 0.0f, 0.5f, 0.25f), Vector4<float>(0.0f, 0.0f, 0.5f, 0.5f), page,
                       0.5f, shear);
    }
};

TEST_F(PrintTest, AlignsAndScalesTheAnchor)
{
    CRef<CPrint> print = CPrint::Create(0.25f, 0.2f);
    CRef<CTexture> page = Page("page");
    AddBox(*print, page.Get());
    EXPECT_FLOAT_EQ(0.5f, print->GetExtent().x);

    print->SetSize(10.0f);
    EXPECT_FLOAT_EQ(40.0f, print->GetScale());
    EXPECT_FLOAT_EQ(40.0f, print->GetTextBatches()[0].scale.x);
    print->SetPosition(Vector2<float>(300.0f, 100.0f));
    print->SetAlign(CPrint::kAlignRight);
    ASSERT_TRUE(print->Prepare());
    const QuadBatch& batch = print->GetTextBatches()[0];
    EXPECT_FLOAT_EQ(280.0f, batch.translation.x);
    EXPECT_FLOAT_EQ(98.0f, batch.translation.y) << "baseline alignment: up by (0.25 - 0.2) x 40";

    print->SetAlign(CPrint::kAlignCentre);
    print->SetVerticalAlign(CPrint::kAnchorLine);
    print->Prepare();
    EXPECT_FLOAT_EQ(290.0f, batch.translation.x);
    EXPECT_FLOAT_EQ(90.0f, batch.translation.y);
    print->SetVerticalAlign(CPrint::kAnchorAsIs);
    print->Prepare();
    EXPECT_FLOAT_EQ(100.0f, batch.translation.y);

    // A new size moves a right or centred anchor too.
    print->SetSize(20.0f);
    print->Prepare();
    EXPECT_FLOAT_EQ(280.0f, batch.translation.x);
    EXPECT_FLOAT_EQ(80.0f, batch.scale.y);

    // Without a line height (a font that failed) the scale is 0, not infinite.
    CRef<CPrint> flat = CPrint::Create(0.0f, 0.0f);
    flat->SetSize(12.0f);
    EXPECT_EQ(0.0f, flat->GetScale());
    EXPECT_FALSE(flat->Prepare()) << "nothing to draw";
}

TEST_F(PrintTest, OpacityAndGlowSetTheAlphas)
{
    CRef<CPrint> print = CPrint::Create(0.25f, 0.2f);
    CRef<CTexture> page = Page("page");
    // Without text a glow is ignored.
    print->SetGlow(Vector4<float>(0, 1, 0, 1), CPrint::kGlowShapes);
    EXPECT_EQ(0.0f, print->GetGlowColour().w);

    AddBox(*print, page.Get());
    AddBox(*print, page.Get());
    print->SetColour(Vector4<float>(1, 0, 0, 1));
    print->SetOpacity(0.5f);
    print->Prepare();
    EXPECT_FLOAT_EQ(0.5f, print->GetTextBatches()[0].GetColour().w);
    ASSERT_EQ(1u, print->GetGlowBatches().size()) << "a transparent copy stands by";
    EXPECT_EQ(0.0f, print->GetGlowBatches()[0].GetColour().w);

    print->SetGlow(Vector4<float>(0, 1, 0, 1), CPrint::kGlowShapes);
    print->Prepare();
    EXPECT_FLOAT_EQ(0.25f, print->GetTextBatches()[0].GetColour().w) << "opacity counts twice under a glow";
    const QuadBatch& glow = print->GetGlowBatches()[0];
    EXPECT_EQ(Vector4<float>(0, 1, 0, 0.5f), glow.GetColour());
    EXPECT_EQ(print->GetTextBatches()[0].material.Get(), glow.material.Get())
        << "the glyph shapes themselves";
    EXPECT_EQ(2u, glow.GetQuadCount());

    // A glow that goes drops its copies and gives the text its plain alpha back.
    print->SetGlow(Vector4<float>(0, 1, 0, 0), CPrint::kGlowShapes);
    EXPECT_TRUE(print->GetGlowBatches().empty());
    print->Prepare();
    EXPECT_FLOAT_EQ(0.5f, print->GetTextBatches()[0].GetColour().w);
    ASSERT_EQ(1u, print->GetGlowBatches().size()) << "made again, drawn transparent";
    EXPECT_EQ(0.0f, print->GetGlowBatches()[0].GetColour().w);
}

TEST_F(PrintTest, BlobGlowCentresTheBlobOnEachGlyph)
{
    CRef<CPrint> print = CPrint::Create(0.25f, 0.2f);
    CRef<CTexture> page = Page("page");
    CRef<CTexture> blobPage = Page("blobs");
    const Vector4<float> blob(0.75f, 0.75f, 1.0f, 1.0f);
    print->SetGlowGlyph(blob, blobPage);
    AddBox(*print, page.Get());
    print->SetGlow(Vector4<float>(1, 1, 0, 1), CPrint::kGlowBlob);
    ASSERT_TRUE(print->Prepare());

    const QuadBatch& glow = print->GetGlowBatches()[0];
    ASSERT_TRUE(glow.material);
    EXPECT_EQ("_a_blobs", glow.material->GetName());
    EXPECT_EQ(blobPage.Get(), glow.material->GetTexture(0).Get());
    EXPECT_EQ(GLenum(GL_ONE), glow.material->GetBlendDestination());
    EXPECT_FALSE(glow.material->GetDepthWrite());
    // A 0.5 x 0.25 glyph centred at (0.25, 0.125): half sizes 1.2 (0.4 + 0.05) and 1.2 (0.2 + 0.1).
    const Vector4<float> rect = glow.GetQuadRect(0);
    EXPECT_FLOAT_EQ(0.25f - 0.54f, rect.x);
    EXPECT_FLOAT_EQ(0.125f - 0.36f, rect.y);
    EXPECT_FLOAT_EQ(0.25f + 0.54f, rect.z);
    EXPECT_FLOAT_EQ(0.125f + 0.36f, rect.w);
    EXPECT_EQ(blob, glow.GetQuadUv(0, 0));
    // The text keeps its own quad.
    EXPECT_FLOAT_EQ(0.5f, print->GetTextBatches()[0].GetQuadRect(0).z);

    // Another mode discards the copies; they come back as glyph shapes.
    print->SetGlow(Vector4<float>(1, 1, 0, 1), CPrint::kGlowShapes);
    EXPECT_TRUE(print->GetGlowBatches().empty());
    print->Prepare();
    EXPECT_EQ(print->GetTextBatches()[0].material.Get(), print->GetGlowBatches()[0].material.Get());
}

TEST_F(PrintTest, EachRunOfOnePageIsOneBatch)
{
    CRef<CPrint> print = CPrint::Create(0.25f, 0.2f);
    CRef<CTexture> one = Page("one");
    CRef<CTexture> two = Page("two");
    AddBox(*print, one.Get());
    AddBox(*print, one.Get());
    AddBox(*print, two.Get());
    print->NewLine();
    AddBox(*print, one.Get());
    const std::vector<QuadBatch>& batches = print->GetTextBatches();
    ASSERT_EQ(3u, batches.size());
    EXPECT_EQ(2u, batches[0].GetQuadCount());
    EXPECT_EQ(1u, batches[1].GetQuadCount());
    EXPECT_EQ("m_one", batches[0].material->GetName());
    EXPECT_EQ("m_two", batches[1].material->GetName());
    EXPECT_EQ(batches[0].material.Get(), batches[2].material.Get());
    EXPECT_EQ(one.Get(), batches[0].material->GetTexture(0).Get());
    EXPECT_EQ(uint32_t(TextureUnit::kTrilinear), batches[0].material->GetUnits()[0].filter);
    EXPECT_FALSE(batches[0].material->GetDepthWrite());

    // The new line started at the left, one line down.
    EXPECT_FLOAT_EQ(0.0f, batches[2].GetQuadRect(0).x);
    EXPECT_FLOAT_EQ(0.25f, batches[2].GetQuadRect(0).y);
    EXPECT_FLOAT_EQ(1.5f, print->GetExtent().x);
    EXPECT_FLOAT_EQ(0.5f, print->GetExtent().y);

    // Setting the same size twice changes nothing.
    print->SetSize(5.0f);
    print->Prepare();
    const float scale = batches[0].scale.x;
    print->SetSize(5.0f);
    EXPECT_EQ(scale, batches[0].scale.x);
}

} // namespace
