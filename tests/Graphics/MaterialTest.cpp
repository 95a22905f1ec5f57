// Materials and texture units read from XML text on two-unit hardware, and the set's look-ups,
// all without a GL context.
#include "Graphics/CMaterialSet.h"
#include "Graphics/CTextureSet.h"
#include "Graphics/MaterialCaps.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "support/AppFolder.h"

#include <GLES/glext.h>
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <tuple>

namespace
{

class MaterialTest : public ::testing::Test
{
  protected:
    MaterialTest()
    {
        m_caps.textureUnits = 2;
        MaterialCaps::SetOverride(&m_caps);
    }
    ~MaterialTest() override
    {
        CMaterialSet::Toggle(false);
        CTextureSet::Toggle(false);
        MaterialCaps::SetOverride(nullptr);
    }

    // The root element of text.
    CXmlNode& Parse(const char* text)
    {
        m_document = std::make_unique<CXmlDocument>();
        EXPECT_TRUE(m_document->Parse(text, false)) << text;
        return *m_document->GetRoot();
    }

    TextureUnit ReadUnit(const char* text) { return TextureUnit(Parse(text), m_caps); }

    CRef<CMaterial> ReadMaterial(const char* text) { return CMaterial::Create(Parse(text)); }

    MaterialCaps m_caps;
    AppFolder m_folder;
    std::unique_ptr<CXmlDocument> m_document;
};

// The fields reading can set, compared with the matrix bytewise as the cache compares it.
void ExpectSameUnit(const TextureUnit& a, const TextureUnit& b)
{
    EXPECT_EQ(a.unit, b.unit);
    EXPECT_EQ(a.texture.Get(), b.texture.Get());
    EXPECT_EQ(
        std::make_tuple(a.wrap, a.filter, a.envMode, a.combineRgb, a.combineAlpha, a.rgbScale, a.alphaScale),
        std::make_tuple(b.wrap, b.filter, b.envMode, b.combineRgb, b.combineAlpha, b.rgbScale, b.alphaScale));
    EXPECT_EQ(a.envColour, b.envColour);
    EXPECT_EQ(0, std::memcmp(a.matrix.m, b.matrix.m, sizeof a.matrix.m));
    EXPECT_TRUE(std::equal(a.sourceRgb, a.sourceRgb + 3, b.sourceRgb));
    EXPECT_TRUE(std::equal(a.sourceAlpha, a.sourceAlpha + 3, b.sourceAlpha));
    EXPECT_TRUE(std::equal(a.operandRgb, a.operandRgb + 2, b.operandRgb));
    EXPECT_TRUE(std::equal(a.operandAlpha, a.operandAlpha + 2, b.operandAlpha));
}

TEST_F(MaterialTest, UnitWithoutAttributesIsTheDefaultUnit)
{
    ExpectSameUnit(TextureUnit(), ReadUnit("<textureunit/>"));
    const TextureUnit unit;
    EXPECT_EQ(GLenum(GL_REPEAT), unit.wrap);
    EXPECT_EQ(uint32_t(TextureUnit::kLinear), unit.filter);
    EXPECT_EQ(GLenum(GL_MODULATE), unit.envMode);
    EXPECT_EQ(GLenum(GL_CONSTANT), unit.sourceRgb[2]);
    EXPECT_EQ(GLenum(GL_SRC_ALPHA), unit.operandAlpha[1]);
}

TEST_F(MaterialTest, KeywordsMatchWholeIgnoringCaseAndFallBack)
{
    // One keyword and the fallback of each table.
    EXPECT_EQ(uint32_t(3), TextureUnit::ReadFilter("Trilinear"));
    EXPECT_EQ(uint32_t(2), TextureUnit::ReadFilter("lin"));
    EXPECT_EQ(GLenum(GL_ONE_MINUS_DST_COLOR), TextureUnit::ReadBlendFactor("One_Minus_Dst_Colour"));
    EXPECT_EQ(GLenum(GL_ONE), TextureUnit::ReadBlendFactor("src_alphas"));
    EXPECT_EQ(GLenum(GL_PRIMARY_COLOR), TextureUnit::ReadSource("Color"));
    EXPECT_EQ(GLenum(GL_TEXTURE), TextureUnit::ReadSource("primary"));
    EXPECT_EQ(GLenum(GL_COMBINE), TextureUnit::ReadEnvMode("COMBINE"));
    EXPECT_EQ(GLenum(GL_MODULATE), TextureUnit::ReadEnvMode("multiply"));
    EXPECT_EQ(GLenum(GL_DOT3_RGBA), TextureUnit::ReadCombine("dot3_rgba"));
    EXPECT_EQ(GLenum(GL_MODULATE), TextureUnit::ReadCombine("subtract"));
    EXPECT_EQ(GLenum(GL_LUMINANCE_ALPHA), TextureUnit::ReadFormat("LuminanceAlpha"));
    EXPECT_EQ(GLenum(0), TextureUnit::ReadFormat("bgra"));
    EXPECT_EQ(GLenum(GL_ONE_MINUS_SRC_ALPHA), TextureUnit::ReadOperand("one_minus_src_alpha"));
    EXPECT_EQ(GLenum(GL_SRC_COLOR), TextureUnit::ReadOperand("dst_colour"));

    // "clamp" stands for the clamp mode GL offers; ES has no GL_CLAMP.
    EXPECT_EQ(GLenum(GL_CLAMP_TO_EDGE), TextureUnit::ReadWrap("CLAMP_TO_EDGE", GL_CLAMP_TO_EDGE));
    EXPECT_EQ(GLenum(GL_CLAMP_TO_EDGE), TextureUnit::ReadWrap("clamp", GL_CLAMP_TO_EDGE));
    EXPECT_EQ(GLenum(GL_MIRRORED_REPEAT_OES), TextureUnit::ReadWrap("Mirror", GL_CLAMP_TO_EDGE));
    EXPECT_EQ(GLenum(GL_REPEAT), TextureUnit::ReadWrap("border", GL_CLAMP_TO_EDGE));

    // The attribute is "clamp"; a "wrap" attribute means nothing.
    EXPECT_EQ(GLenum(GL_CLAMP_TO_EDGE), ReadUnit("<u clamp=\"clamp\"/>").wrap);
    EXPECT_EQ(GLenum(GL_REPEAT), ReadUnit("<u wrap=\"clamp\"/>").wrap);
    // An alpha operand GL would refuse is still kept as written.
    EXPECT_EQ(GLenum(GL_ONE_MINUS_SRC_COLOR),
              ReadUnit("<u operand1-alpha=\"one_minus_src_color\"/>").operandAlpha[1]);
}

TEST_F(MaterialTest, UnitReadsCombinerAndColour)
{
    const TextureUnit unit =
        ReadUnit("<u unit=\"1\" mode=\"combine\" colour=\"0.25,0.5,0.75,1\" combine-rgb=\"interpolate\" "
                 "src0-rgb=\"texture\" src1-rgb=\"previous\" src2-rgb=\"colour\" scale-rgb=\"2\" "
                 "combine-alpha=\"replace\" src0-alpha=\"previous\" operand0-rgb=\"src_alpha\" "
                 "scale-alpha=\"4\" filter=\"point\"/>");
    EXPECT_EQ(uint32_t(1), unit.unit);
    EXPECT_EQ(GLenum(GL_COMBINE), unit.envMode);
    EXPECT_EQ(Vector4<float>(0.25f, 0.5f, 0.75f, 1.0f), unit.envColour);
    EXPECT_EQ(GLenum(GL_INTERPOLATE), unit.combineRgb);
    EXPECT_EQ(GLenum(GL_PRIMARY_COLOR), unit.sourceRgb[2]);
    EXPECT_EQ(GLenum(GL_SRC_ALPHA), unit.operandRgb[0]);
    EXPECT_EQ(GLenum(GL_SRC_COLOR), unit.operandRgb[1]);
    EXPECT_EQ(2.0f, unit.rgbScale);
    EXPECT_EQ(GLenum(GL_REPLACE), unit.combineAlpha);
    EXPECT_EQ(GLenum(GL_PREVIOUS), unit.sourceAlpha[0]);
    EXPECT_EQ(4.0f, unit.alphaScale);
    EXPECT_EQ(uint32_t(1), unit.filter);
    // "#" colours: red, green, blue, then alpha from the front pair.
    EXPECT_EQ(Vector4<float>(1.0f, 0.0f, 0.0f, 1.0f), ReadUnit("<u colour=\"#ff0000\"/>").envColour);
}

TEST_F(MaterialTest, UvRectangleBecomesTheTextureMatrix)
{
    const TextureUnit half = ReadUnit("<u uvs=\"0.5,0.5,1,1\"/>");
    const Vector3<float> low = half.matrix.TransformPoint(Vector3<float>(0, 0, 0));
    const Vector3<float> high = half.matrix.TransformPoint(Vector3<float>(1, 1, 0));
    EXPECT_FLOAT_EQ(0.5f, low.x);
    EXPECT_FLOAT_EQ(0.5f, low.y);
    EXPECT_FLOAT_EQ(1.0f, high.x);
    EXPECT_FLOAT_EQ(1.0f, high.y);

    const TextureUnit strip = ReadUnit("<u uvs=\"0,0.25,0.5,0.75\"/>");
    const Vector3<float> middle = strip.matrix.TransformPoint(Vector3<float>(0.5f, 0.5f, 0));
    EXPECT_FLOAT_EQ(0.25f, middle.x);
    EXPECT_FLOAT_EQ(0.5f, middle.y);

    // One number repeats into every field: a rectangle of no size, every uv at (n, n).
    const TextureUnit point = ReadUnit("<u uvs=\"0.3\"/>");
    const Vector3<float> anywhere = point.matrix.TransformPoint(Vector3<float>(0.9f, 0.1f, 0));
    EXPECT_FLOAT_EQ(0.3f, anywhere.x);
    EXPECT_FLOAT_EQ(0.3f, anywhere.y);

    ExpectSameUnit(TextureUnit(), ReadUnit("<u uvs=\"0,0,1,1\"/>"));
}

TEST_F(MaterialTest, UnitAppliesTextureSettingsToTheSharedTexture)
{
    const TextureUnit unit =
        ReadUnit("<u texture=\"leaf\" format=\"alpha\" mipmap=\"false\" compress=\"1\"/>");
    ASSERT_TRUE(unit.texture);
    EXPECT_EQ(CTextureSet::Instance()->Find("leaf"), unit.texture.Get());
    EXPECT_EQ(GLenum(GL_ALPHA), unit.texture->GetFormat());
    EXPECT_FALSE(unit.texture->HasMipmaps());
    EXPECT_EQ(uint32_t(CTexture::kCompressAlways), unit.texture->GetCompression());

    // The last unit naming a texture decides: mipmaps on when absent, compression left alone.
    const TextureUnit again = ReadUnit("<u texture=\"leaf\"/>");
    EXPECT_EQ(unit.texture.Get(), again.texture.Get());
    EXPECT_TRUE(again.texture->HasMipmaps());
    EXPECT_EQ(GLenum(0), again.texture->GetFormat());
    EXPECT_EQ(uint32_t(CTexture::kCompressAlways), again.texture->GetCompression());
    EXPECT_TRUE(ReadUnit("<u texture=\"leaf\" mipmap=\"TRUE\"/>").texture->HasMipmaps());
    EXPECT_FALSE(ReadUnit("<u texture=\"leaf\" mipmap=\"0\"/>").texture->HasMipmaps());

    // Without a texture nothing else is touched.
    const size_t textures = CTextureSet::Instance()->GetCount();
    EXPECT_FALSE(ReadUnit("<u format=\"rgb\" mipmap=\"false\"/>").texture);
    EXPECT_EQ(textures, CTextureSet::Instance()->GetCount());
}

TEST_F(MaterialTest, DocumentAndConstructionDefaultsDiffer)
{
    const CRef<CMaterial> read = ReadMaterial("<plain/>");
    EXPECT_EQ("plain", read->GetName());
    EXPECT_EQ(-1.0f, read->GetAlphaThreshold());
    EXPECT_EQ(GLenum(GL_SRC_ALPHA), read->GetBlendSource());
    EXPECT_EQ(GLenum(GL_ONE_MINUS_SRC_ALPHA), read->GetBlendDestination());
    EXPECT_FALSE(read->GetDepthTest());
    EXPECT_TRUE(read->GetDepthWrite());
    EXPECT_FALSE(read->IsNullStyle());
    // The element itself is the one unit, here without a texture.
    ASSERT_EQ(uint32_t(1), read->GetUnitCount());
    EXPECT_FALSE(read->GetTexture(0));

    const CRef<CMaterial> made = CMaterial::CreateDefault();
    EXPECT_EQ(0.0f, made->GetAlphaThreshold());
    EXPECT_EQ(uint32_t(0), made->GetUnitCount());
    EXPECT_FALSE(made->GetTexture(0));

    const CRef<CMaterial> forTexture = CMaterial::CreateForTexture("bark");
    EXPECT_EQ("bark", forTexture->GetName());
    EXPECT_EQ(0.0f, forTexture->GetAlphaThreshold());
    ASSERT_EQ(uint32_t(1), forTexture->GetUnitCount());
    EXPECT_EQ(CTextureSet::Instance()->Find("bark"), forTexture->GetTexture(0).Get());
}

TEST_F(MaterialTest, MaterialReadsBlendDepthMaskThresholdAndStyle)
{
    const CRef<CMaterial> material =
        ReadMaterial("<m blend-src=\"dst_colour\" blend-dst=\"zero\" depthtest=\"TRUE\" depthset=\"0\" "
                     "colourset=\"1,0\" alphathreshold=\"0.5\"/>");
    EXPECT_EQ(GLenum(GL_DST_COLOR), material->GetBlendSource());
    EXPECT_EQ(GLenum(GL_ZERO), material->GetBlendDestination());
    EXPECT_TRUE(material->GetDepthTest());
    EXPECT_FALSE(material->GetDepthWrite());
    const uint32_t* mask = material->GetColourMask();
    EXPECT_EQ(1u, mask[0]);
    EXPECT_EQ(0u, mask[1]);
    EXPECT_EQ(0u, mask[2]);
    EXPECT_EQ(0u, mask[3]);
    EXPECT_EQ(0.5f, material->GetAlphaThreshold());

    EXPECT_TRUE(ReadMaterial("<m depthtest=\"2\"/>")->GetDepthTest());
    EXPECT_FALSE(ReadMaterial("<m depthtest=\"yes\"/>")->GetDepthTest());
    const CRef<CMaterial> three = ReadMaterial("<m colourset=\"1,1,1\"/>");
    EXPECT_EQ(1u, three->GetColourMask()[3]);
    const CRef<CMaterial> zero = ReadMaterial("<m colourset=\"0\"/>");
    const uint32_t* off = zero->GetColourMask();
    EXPECT_EQ(0u, off[0] | off[1] | off[2] | off[3]);

    // Null style wins over whatever depth and colour writes say.
    const CRef<CMaterial> hidden =
        ReadMaterial("<m style=\"NULL\" depthset=\"true\" colourset=\"1,1,1,1\"/>");
    EXPECT_TRUE(hidden->IsNullStyle());
    EXPECT_FALSE(hidden->GetDepthWrite());
    const uint32_t* none = hidden->GetColourMask();
    EXPECT_EQ(0u, none[0] | none[1] | none[2] | none[3]);
    EXPECT_FALSE(ReadMaterial("<m style=\"solid\"/>")->IsNullStyle());
}

TEST_F(MaterialTest, UnitsGoToTheirIndexWithinTheHardwareUnits)
{
    const CRef<CMaterial> second = ReadMaterial("<m><textureunit unit=\"1\" texture=\"b\"/></m>");
    ASSERT_EQ(uint32_t(2), second->GetUnitCount());
    EXPECT_FALSE(second->GetTexture(0));
    EXPECT_EQ(CTextureSet::Instance()->Find("b"), second->GetTexture(1).Get());

    // Unit 3 does not exist on two-unit hardware, nor does a negative one; a repeated index
    // replaces the earlier unit.
    const CRef<CMaterial> dropped = ReadMaterial(
        "<m><textureunit unit=\"3\" texture=\"c\"/><textureunit texture=\"a\"/>"
        "<textureunit texture=\"d\" filter=\"point\"/><textureunit unit=\"-1\" texture=\"f\"/></m>");
    ASSERT_EQ(uint32_t(1), dropped->GetUnitCount());
    EXPECT_EQ("d", dropped->GetTexture(0)->GetName());
    EXPECT_EQ(uint32_t(1), dropped->GetUnits()[0].filter);

    // SetTexture and SetFilter grow the units, but never past the hardware.
    const CRef<CMaterial> grown = CMaterial::CreateDefault();
    grown->SetTexture(1, CTextureSet::Instance()->Get("e"));
    grown->SetFilter(2, TextureUnit::kTrilinear);
    ASSERT_EQ(uint32_t(2), grown->GetUnitCount());
    EXPECT_EQ("e", grown->GetTexture(1)->GetName());
    grown->SetFilter(0, TextureUnit::kTrilinear);
    EXPECT_EQ(uint32_t(3), grown->GetUnits()[0].filter);
    EXPECT_FALSE(grown->GetTexture(5));
}

TEST_F(MaterialTest, FirstVariantWhoseCapsPassIsRead)
{
    const CRef<CMaterial> chosen = ReadMaterial(
        "<m><variant caps=\"mt9\" blend-src=\"zero\"/><variant caps=\"mt2,!mt3\" blend-src=\"one\"/>"
        "<variant blend-src=\"dst_alpha\"/></m>");
    EXPECT_EQ(uint32_t(1), chosen->GetVariant());
    EXPECT_EQ(GLenum(GL_ONE), chosen->GetBlendSource());

    // No variant passes: the construction values stay (no units, default blend, alpha test 0).
    const CRef<CMaterial> kept =
        ReadMaterial("<m alphathreshold=\"0.7\"><variant caps=\"mt9\" blend-src=\"zero\">"
                     "<textureunit texture=\"x\"/></variant></m>");
    EXPECT_EQ("m", kept->GetName());
    EXPECT_EQ(uint32_t(0), kept->GetUnitCount());
    EXPECT_EQ(GLenum(GL_SRC_ALPHA), kept->GetBlendSource());
    EXPECT_EQ(0.0f, kept->GetAlphaThreshold());

    // A variant holds its own units.
    const CRef<CMaterial> units =
        ReadMaterial("<m><variant caps=\"\"><textureunit texture=\"y\"/></variant></m>");
    EXPECT_EQ("y", units->GetTexture(0)->GetName());
}

TEST_F(MaterialTest, CloneTakesUnitsAndBlendOnly)
{
    const CRef<CMaterial> original = ReadMaterial(
        "<m blend-src=\"one\" blend-dst=\"one\" depthtest=\"1\" alphathreshold=\"0.5\" texture=\"t\"/>");
    const CRef<CMaterial> copy = CMaterial::Clone(*original);
    EXPECT_EQ(original->GetTexture(0).Get(), copy->GetTexture(0).Get());
    EXPECT_EQ(GLenum(GL_ONE), copy->GetBlendSource());
    EXPECT_EQ(GLenum(GL_ONE), copy->GetBlendDestination());
    EXPECT_FALSE(copy->GetDepthTest());
    EXPECT_EQ(0.0f, copy->GetAlphaThreshold());
    EXPECT_TRUE(copy->GetName().empty());
}

TEST_F(MaterialTest, SetNeverFailsALookUp)
{
    m_folder.WriteData("materials.xml", "<materials><glass blend-src=\"one\"/><glass blend-src=\"zero\"/>"
                                        "<null style=\"null\"/>text</materials>");
    CMaterialSet* set = CMaterialSet::Instance();
    EXPECT_EQ(size_t(2), set->GetCount());
    // A later element of the same name wins.
    EXPECT_EQ(GLenum(GL_ZERO), set->Find("glass")->GetBlendSource());
    EXPECT_EQ(set->Find("").Get(), set->Find("null").Get());
    EXPECT_TRUE(set->Find("")->IsNullStyle());

    // A name not held becomes, once, a material showing the texture of that name.
    const CRef<CMaterial> fern = set->Find("fern");
    EXPECT_EQ(fern.Get(), set->Find("fern").Get());
    EXPECT_EQ("fern", fern->GetTexture(0)->GetName());
    EXPECT_EQ(0.0f, fern->GetAlphaThreshold());
    // Names are case-sensitive.
    EXPECT_NE(fern.Get(), set->Find("Fern").Get());

    // No "default" in the document: construction values.
    CMaterial* fallback = set->GetDefault();
    EXPECT_EQ(fallback, set->GetDefault());
    EXPECT_EQ(fallback, set->Find("default").Get());
    EXPECT_EQ(uint32_t(0), fallback->GetUnitCount());
    EXPECT_EQ(0.0f, fallback->GetAlphaThreshold());
}

TEST_F(MaterialTest, MissingDocumentGivesAnEmptySet)
{
    CMaterialSet* set = CMaterialSet::Instance();
    EXPECT_EQ(size_t(0), set->GetCount());
    const CRef<CMaterial> null = set->Find("");
    EXPECT_FALSE(null->IsNullStyle());
    EXPECT_EQ("null", null->GetTexture(0)->GetName());
    EXPECT_EQ(0.0f, set->GetDefault()->GetAlphaThreshold());
}

TEST_F(MaterialTest, ReloadChangesHeldMaterialsInPlace)
{
    m_folder.WriteData("materials.xml", "<materials><a blend-src=\"one\"/><b/></materials>");
    CMaterialSet* set = CMaterialSet::Instance();
    const CRef<CMaterial> a = set->Find("a");
    const CRef<CMaterial> b = set->Find("b");
    m_folder.WriteData("materials.xml", "<materials><a blend-src=\"zero\"/><c/></materials>");
    set->Reload();
    EXPECT_EQ(a.Get(), set->Find("a").Get());
    EXPECT_EQ(GLenum(GL_ZERO), a->GetBlendSource());
    // Gone from the document: kept as it was.
    EXPECT_EQ(b.Get(), set->Find("b").Get());
    EXPECT_EQ(-1.0f, b->GetAlphaThreshold());
    // New in the document: read, not made for a texture.
    EXPECT_EQ(-1.0f, set->Find("c")->GetAlphaThreshold());
}

TEST_F(MaterialTest, ShippedMaterialsRead)
{
    CXmlDocument document;
    ASSERT_TRUE(document.Load(CString(FROG_SOURCE_DIR) + "/data/materials.xml", CFileSystem::kAsPath));
    CMaterialSet* set = CMaterialSet::Instance();
    set->Read(*document.GetRoot(), false);
    // "default" draws as a material made in code would.
    CMaterial* fallback = set->GetDefault();
    EXPECT_EQ(0.0f, fallback->GetAlphaThreshold());
    EXPECT_EQ(GLenum(GL_SRC_ALPHA), fallback->GetBlendSource());
    EXPECT_FALSE(fallback->GetTexture(0));
    EXPECT_TRUE(set->Find("null")->IsNullStyle());
    const CRef<CMaterial> startup = set->Find("startup");
    ASSERT_TRUE(startup->GetTexture(0));
    EXPECT_EQ("startup", startup->GetTexture(0)->GetName());
    EXPECT_FALSE(startup->GetTexture(0)->HasMipmaps());
    EXPECT_EQ(GLenum(GL_ONE), startup->GetBlendSource());
    EXPECT_EQ(GLenum(GL_ZERO), startup->GetBlendDestination());
}

} // namespace
