// Materials on a real ES 1.1 context: blending and the alpha threshold as pixels show them,
// textures through units, a picture that fails to load, and the cache sending a material once.
#include "DrawFixture.h"
#include "Graphics/CMaterial.h"
#include "Graphics/QuadBatch.h"

namespace
{

using Pixel = DrawFixture::Pixel;

const Pixel kBlack{0, 0, 0, 255};
const Pixel kWhite{255, 255, 255, 255};
const Pixel kRedPixel{255, 0, 0, 255};

class MaterialGlTest : public DrawFixture
{
  protected:
    // One quad over the pixels (x0, y0)-(x1, y1), in colour, with the whole texture.
    void DrawRect(const CRef<CMaterial>& material, float x0, float y0, float x1, float y1,
                  const Vector4<float>& colour)
    {
        QuadBatch batch(Vector3<float>(0, 0, 0), Vector4<float>(x0, y0, x1, y1), material, colour,
                        Vector4<float>(0, 0, 1, 1), 0);
        batch.Draw();
    }

    static GLint GetTexEnv(GLenum name)
    {
        GLint value = 0;
        glGetTexEnviv(GL_TEXTURE_ENV, name, &value);
        return value;
    }
};

TEST_F(MaterialGlTest, BlendingShowsInPixels)
{
    m_graphics->FillRect(Vector2<float>(0, 0), Vector2<float>(32, 32), Vector4<float>(1, 1, 1, 1));
    ExpectPixel(kWhite, 16, 16);

    // The default material blends by source alpha.
    DrawRect(CRef<CMaterial>(), 0, 0, 16, 32, Vector4<float>(1, 0, 0, 0.5f));
    ExpectPixel(Pixel{255, 128, 128, 255}, 8, 16);
    // (one, zero) replaces.
    DrawRect(MakeMaterial(R"(<m blend-src="one" blend-dst="zero"/>)"), 16, 0, 32, 16,
             Vector4<float>(1, 0, 0, 0.5f));
    ExpectPixel(kRedPixel, 24, 8);
    // A multiplying shadow: destination times source colour.
    DrawRect(MakeMaterial(R"(<m blend-src="zero" blend-dst="src_colour"/>)"), 16, 16, 32, 32,
             Vector4<float>(0.5f, 0.25f, 1, 1));
    ExpectPixel(Pixel{128, 64, 255, 255}, 24, 24);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST_F(MaterialGlTest, AlphaThresholdDiscardsPixels)
{
    const CRef<CMaterial> cut = MakeMaterial(R"(<m blend-src="one" blend-dst="zero" alphathreshold="0.5"/>)");
    DrawRect(cut, 0, 0, 16, 16, Vector4<float>(1, 0, 0, 0.4f));
    DrawRect(cut, 16, 0, 32, 16, Vector4<float>(1, 0, 0, 0.6f));
    ExpectPixel(kBlack, 8, 8);
    ExpectPixel(kRedPixel, 24, 8);

    // Made in code: alpha 0 is discarded even without blending; read from a document without a
    // threshold: no alpha test, so the same colour is written.
    const CRef<CMaterial> opaque = CMaterial::CreateDefault();
    opaque->SetBlend(GL_ONE, GL_ZERO);
    DrawRect(opaque, 0, 16, 16, 32, Vector4<float>(1, 1, 1, 0));
    DrawRect(MakeMaterial(R"(<m blend-src="one" blend-dst="zero"/>)"), 16, 16, 32, 32,
             Vector4<float>(1, 1, 1, 0));
    ExpectPixel(kBlack, 8, 24);
    ExpectPixel(kWhite, 24, 24);
}

TEST_F(MaterialGlTest, TextureUnitsShowTheirTexels)
{
    const CRef<CMaterial> tiles =
        MakeMaterial(R"(<m texture="tiles" mipmap="false" filter="point" clamp="clamp"
        alphathreshold="0.5" blend-src="one" blend-dst="zero"/>)");
    // A rectangle of no size at the centre of the bottom right texel: every uv samples it alone.
    const CRef<CMaterial> corner = MakeMaterial(R"(<m texture="tiles" mipmap="false" filter="point"
        uvs="0.75,0.25,0.75,0.25" blend-src="one" blend-dst="zero"/>)");
    MakeTexture("tiles", {Pixel{255, 0, 0, 255}, Pixel{0, 255, 0, 255}, Pixel{0, 0, 255, 0},
                          Pixel{255, 255, 255, 255}});

    // Magnified, texels blend linearly towards their neighbours away from their centres.
    DrawRect(tiles, 0, 0, 32, 32, Vector4<float>(1, 1, 1, 1));
    ExpectPixel(kRedPixel, 8, 8, 20);
    ExpectPixel(Pixel{0, 255, 0, 255}, 24, 8, 20);
    ExpectPixel(kBlack, 8, 24); // alpha 0: discarded
    ExpectPixel(kWhite, 24, 24, 20);

    // Modulated by the vertex colour.
    DrawRect(tiles, 16, 16, 32, 32, Vector4<float>(1, 0.5f, 0, 1));
    ExpectPixel(Pixel{255, 128, 0, 255}, 30, 30, 4);

    DrawRect(corner, 0, 0, 32, 32, Vector4<float>(1, 1, 1, 1));
    ExpectPixel(Pixel{0, 255, 0, 255}, 1, 1);
    ExpectPixel(Pixel{0, 255, 0, 255}, 30, 30);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST_F(MaterialGlTest, PictureThatFailsToLoadDrawsNothing)
{
    m_graphics->FillRect(Vector2<float>(0, 0), Vector2<float>(32, 32), Vector4<float>(0.5f, 0.5f, 0.5f, 1));
    const CRef<CMaterial> missing = CMaterialSet::Instance()->Find("nosuchpicture");
    DrawRect(missing, 0, 0, 32, 32, Vector4<float>(1, 0, 0, 1));
    EXPECT_TRUE(missing->GetTexture(0)->IsFailed());
    ExpectPixel(Pixel{128, 128, 128, 255}, 16, 16);
    // The next material writes again.
    DrawRect(CRef<CMaterial>(), 0, 0, 16, 16, Vector4<float>(1, 0, 0, 1));
    ExpectPixel(kRedPixel, 8, 8);
}

TEST_F(MaterialGlTest, CacheSendsAMaterialOnce)
{
    const CRef<CMaterial> add = MakeMaterial(R"(<m blend-src="one" blend-dst="one" depthtest="true"/>)");
    m_graphics->SetMaterial(add.Get());
    EXPECT_EQ(GL_ONE, GetInteger(GL_BLEND_DST));
    EXPECT_EQ(GL_LEQUAL, GetInteger(GL_DEPTH_FUNC));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));

    // Current: not sent again, whatever GL was told behind the cache.
    glBlendFunc(GL_ZERO, GL_ZERO);
    m_graphics->SetMaterial(add.Get());
    EXPECT_EQ(GL_ZERO, GetInteger(GL_BLEND_DST));
    // A setter makes the same material reach GL again.
    add->SetBlend(GL_SRC_ALPHA, GL_ONE);
    m_graphics->SetMaterial(add.Get());
    EXPECT_EQ(GL_SRC_ALPHA, GetInteger(GL_BLEND_SRC));
    EXPECT_EQ(GL_ONE, GetInteger(GL_BLEND_DST));

    // Null is the default material, applied once.
    m_graphics->SetMaterial(nullptr);
    EXPECT_EQ(GL_ONE_MINUS_SRC_ALPHA, GetInteger(GL_BLEND_DST));
    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
    glBlendFunc(GL_ZERO, GL_ZERO);
    m_graphics->SetMaterial(nullptr);
    m_graphics->SetMaterial(CMaterialSet::Instance()->GetDefault());
    EXPECT_EQ(GL_ZERO, GetInteger(GL_BLEND_DST));
    m_graphics->InvalidateState();
    m_graphics->SetMaterial(nullptr);
    EXPECT_EQ(GL_ONE_MINUS_SRC_ALPHA, GetInteger(GL_BLEND_DST));
}

TEST_F(MaterialGlTest, UnitsBeyondTheMaterialAreReset)
{
    const CRef<CMaterial> two = MakeMaterial(
        R"(<m blend-src="one" blend-dst="zero"><textureunit texture="a" mipmap="false" filter="trilinear"/>
        <textureunit unit="1" texture="b" mipmap="false" mode="combine" combine-rgb="interpolate"
                     src2-rgb="colour" colour="0.5,0.5,0.5,1"/></m>)");
    const CRef<CMaterial> one = MakeMaterial(R"(<m texture="a" mipmap="false"/>)");
    MakeTexture("a",
                {Pixel{255, 0, 0, 255}, Pixel{255, 0, 0, 255}, Pixel{255, 0, 0, 255}, Pixel{255, 0, 0, 255}});
    const CRef<CTexture> b = MakeTexture(
        "b", {Pixel{0, 0, 255, 255}, Pixel{0, 0, 255, 255}, Pixel{0, 0, 255, 255}, Pixel{0, 0, 255, 255}});

    m_graphics->SetMaterial(two.Get());
    // Trilinear without mip levels is plain linear.
    EXPECT_EQ(GL_LINEAR,
              []
              {
                  GLint filter = 0;
                  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
                  return filter;
              }());
    glActiveTexture(GL_TEXTURE1);
    EXPECT_EQ(GL_COMBINE, GetTexEnv(GL_TEXTURE_ENV_MODE));
    EXPECT_EQ(GL_INTERPOLATE, GetTexEnv(GL_COMBINE_RGB));
    EXPECT_EQ(GL_PRIMARY_COLOR, GetTexEnv(GL_SRC2_RGB));
    EXPECT_EQ(GLint(b->GetGlTexture()), GetInteger(GL_TEXTURE_BINDING_2D));
    glActiveTexture(GL_TEXTURE0);

    // Interpolating texture b and the red of unit 0 by the vertex colour's alpha.
    QuadBatch batch(Vector3<float>(0, 0, 0), Vector4<float>(0, 0, 32, 32), two,
                    Vector4<float>(1, 1, 1, 0.25f), Vector4<float>(0, 0, 1, 1), 0);
    batch.Draw();
    ExpectPixel(Pixel{191, 0, 64, 255}, 16, 16, 3);

    m_graphics->SetMaterial(one.Get());
    EXPECT_EQ(0, GetInteger(GL_ACTIVE_TEXTURE) - GL_TEXTURE0);
    glActiveTexture(GL_TEXTURE1);
    EXPECT_EQ(0, GetInteger(GL_TEXTURE_BINDING_2D));
    EXPECT_EQ(GL_MODULATE, GetTexEnv(GL_TEXTURE_ENV_MODE));
    glActiveTexture(GL_TEXTURE0);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

} // namespace
