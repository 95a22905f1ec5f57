// The state cache on a real ES 1.1 context: each value reaches GL once, is kept while the cache
// knows it (GL changed behind its back stays changed), and is sent again after an invalidation.
#include "Graphics/DrawFixture.h"
#include "Graphics/GlExtensions.h"
#include "platform/CView.h"
#include "support/GlFixture.h"

#include <GLES/glext.h>

namespace
{

class CGraphicsGlTest : public GlFixture
{
  protected:
    // A 16 x 16 RGBA texture as colour attachment: a render target with alpha.
    GLuint MakeFramebuffer()
    {
        glGenTextures(1, &m_texture);
        glBindTexture(GL_TEXTURE_2D, m_texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 16, 16, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glBindTexture(GL_TEXTURE_2D, 0);
        GLuint framebuffer = 0;
        GlExtensions::GenFramebuffersOES(1, &framebuffer);
        GlExtensions::BindFramebufferOES(GL_FRAMEBUFFER_OES, framebuffer);
        GlExtensions::FramebufferTexture2DOES(GL_FRAMEBUFFER_OES, GL_COLOR_ATTACHMENT0_OES, GL_TEXTURE_2D,
                                              m_texture, 0);
        EXPECT_EQ(GLenum(GL_FRAMEBUFFER_COMPLETE_OES),
                  GlExtensions::CheckFramebufferStatusOES(GL_FRAMEBUFFER_OES));
        GlExtensions::BindFramebufferOES(GL_FRAMEBUFFER_OES, 0);
        m_framebuffer = framebuffer;
        return framebuffer;
    }

    void TearDown() override
    {
        if (m_framebuffer != 0)
            GlExtensions::DeleteFramebuffersOES(1, &m_framebuffer);
        if (m_texture != 0)
            glDeleteTextures(1, &m_texture);
        GlFixture::TearDown();
    }

    static std::array<GLboolean, 4> GetColourMask()
    {
        std::array<GLboolean, 4> mask{};
        glGetBooleanv(GL_COLOR_WRITEMASK, mask.data());
        return mask;
    }

    static GLint GetTexEnv(GLenum name)
    {
        GLint value = 0;
        glGetTexEnviv(GL_TEXTURE_ENV, name, &value);
        return value;
    }

    GLuint m_framebuffer = 0;
    GLuint m_texture = 0;
};

TEST_F(CGraphicsGlTest, SettersReachGlOnceUntilInvalidated)
{
    m_graphics->SetBlend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    m_graphics->SetDepthFunc(GL_LEQUAL);
    m_graphics->SetDepthMask(false);
    m_graphics->SetAlphaFunc(GL_GREATER, 0.25f);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(GL_SRC_ALPHA, GetInteger(GL_BLEND_SRC));
    EXPECT_EQ(GL_ONE_MINUS_SRC_ALPHA, GetInteger(GL_BLEND_DST));
    EXPECT_EQ(GL_LEQUAL, GetInteger(GL_DEPTH_FUNC));
    EXPECT_EQ(GL_FALSE, GetInteger(GL_DEPTH_WRITEMASK));
    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_EQ(GL_GREATER, GetInteger(GL_ALPHA_TEST_FUNC));
    EXPECT_FLOAT_EQ(0.25f, GetFloat(GL_ALPHA_TEST_REF));

    // Changed behind the cache's back: the same requests do not reach GL.
    glBlendFunc(GL_ONE, GL_ONE);
    glDepthFunc(GL_ALWAYS);
    glDepthMask(GL_TRUE);
    glAlphaFunc(GL_LESS, 0.5f);
    m_graphics->SetBlend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    m_graphics->SetDepthFunc(GL_LEQUAL);
    m_graphics->SetDepthMask(false);
    m_graphics->SetAlphaFunc(GL_GREATER, 0.25f);
    EXPECT_EQ(GL_ONE, GetInteger(GL_BLEND_SRC));
    EXPECT_EQ(GL_ALWAYS, GetInteger(GL_DEPTH_FUNC));
    EXPECT_EQ(GL_TRUE, GetInteger(GL_DEPTH_WRITEMASK));
    EXPECT_EQ(GL_LESS, GetInteger(GL_ALPHA_TEST_FUNC));

    // A new reference alone is a change.
    m_graphics->SetAlphaFunc(GL_GREATER, 0.0f);
    EXPECT_EQ(GL_GREATER, GetInteger(GL_ALPHA_TEST_FUNC));
    EXPECT_FLOAT_EQ(0.0f, GetFloat(GL_ALPHA_TEST_REF));

    m_graphics->InvalidateState();
    m_graphics->SetBlend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    m_graphics->SetDepthFunc(GL_LEQUAL);
    m_graphics->SetDepthMask(false);
    EXPECT_EQ(GL_SRC_ALPHA, GetInteger(GL_BLEND_SRC));
    EXPECT_EQ(GL_LEQUAL, GetInteger(GL_DEPTH_FUNC));
    EXPECT_EQ(GL_FALSE, GetInteger(GL_DEPTH_WRITEMASK));
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST_F(CGraphicsGlTest, NeutralValuesTurnBlendAndAlphaTestOff)
{
    m_graphics->SetBlend(GL_ONE, GL_ZERO);
    m_graphics->SetAlphaFunc(GL_ALWAYS, 0.0f);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));

    // After an invalidation the disable is sent even though the cache last saw blending off.
    glEnable(GL_BLEND);
    glEnable(GL_ALPHA_TEST);
    m_graphics->InvalidateState();
    m_graphics->SetBlend(GL_ONE, GL_ZERO);
    m_graphics->SetAlphaFunc(GL_ALWAYS, 0.0f);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
}

TEST_F(CGraphicsGlTest, ScreenNeverGetsAlphaWritesFramebuffersDo)
{
    m_graphics->SetColourMask(true, false, true, true);
    EXPECT_EQ((std::array<GLboolean, 4>{GL_TRUE, GL_FALSE, GL_TRUE, GL_FALSE}), GetColourMask());

    const GLuint framebuffer = MakeFramebuffer();
    m_graphics->BindFramebuffer(framebuffer);
    EXPECT_EQ(GLint(framebuffer), GetInteger(GL_FRAMEBUFFER_BINDING_OES));
    EXPECT_EQ(framebuffer, m_graphics->GetFramebuffer());
    m_graphics->SetColourMask(true, false, true, true);
    EXPECT_EQ((std::array<GLboolean, 4>{GL_TRUE, GL_FALSE, GL_TRUE, GL_TRUE}), GetColourMask());

    // Binding it again keeps the cache; another framebuffer drops it.
    glBlendFunc(GL_ONE, GL_ONE);
    m_graphics->SetBlend(GL_DST_COLOR, GL_ZERO);
    glBlendFunc(GL_ONE, GL_ONE);
    m_graphics->BindFramebuffer(framebuffer);
    m_graphics->SetBlend(GL_DST_COLOR, GL_ZERO);
    EXPECT_EQ(GL_ONE, GetInteger(GL_BLEND_SRC));
    m_graphics->BindFramebuffer(0);
    m_graphics->SetBlend(GL_DST_COLOR, GL_ZERO);
    EXPECT_EQ(GL_DST_COLOR, GetInteger(GL_BLEND_SRC));
    EXPECT_EQ(0, GetInteger(GL_FRAMEBUFFER_BINDING_OES));

    // The framebuffer last bound survives the per-frame invalidation, unlike the cache.
    m_graphics->BindFramebuffer(framebuffer);
    m_graphics->InvalidateState();
    EXPECT_EQ(framebuffer, m_graphics->GetFramebuffer());
    m_graphics->BindFramebuffer(0);
}

TEST_F(CGraphicsGlTest, ClearsFillEveryChannelAndLeaveTheScreenMask)
{
    m_graphics->SetColourMask(false, false, false, false);
    m_graphics->SetDepthMask(false);
    m_graphics->Clear(Vector4<float>(1.0f, 0.0f, 1.0f, 1.0f), 0.25f);
    EXPECT_EQ((std::array<uint8_t, 4>{255, 0, 255, 255}), ReadPixel(0, 0));
    EXPECT_EQ((std::array<uint8_t, 4>{255, 0, 255, 255}), ReadPixel(kWidth - 1, kHeight - 1));
    EXPECT_EQ((std::array<GLboolean, 4>{GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE}), GetColourMask());
    EXPECT_EQ(GL_TRUE, GetInteger(GL_DEPTH_WRITEMASK));
    EXPECT_FLOAT_EQ(0.25f, GetFloat(GL_DEPTH_CLEAR_VALUE));

    // The mask after a clear counts as (1, 1, 1, 1): asking for it again sends nothing.
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    m_graphics->SetColourMask(true, true, true, true);
    EXPECT_EQ((std::array<GLboolean, 4>{GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE}), GetColourMask());

    m_graphics->ClearColour(Vector4<float>(0.0f, 1.0f, 0.0f, 1.0f));
    EXPECT_EQ((std::array<uint8_t, 4>{0, 255, 0, 255}), ReadPixel(kWidth / 2, kHeight / 2));
    m_graphics->ClearDepth(0.75f);
    EXPECT_FLOAT_EQ(0.75f, GetFloat(GL_DEPTH_CLEAR_VALUE));
    EXPECT_EQ((std::array<uint8_t, 4>{0, 255, 0, 255}), ReadPixel(kWidth / 2, kHeight / 2));

    // Into a render target, the alpha written by the clear stays writable afterwards.
    m_graphics->BindFramebuffer(MakeFramebuffer());
    m_graphics->ClearColour(Vector4<float>(0.0f, 0.0f, 1.0f, 0.5f));
    const std::array<uint8_t, 4> pixel = ReadPixel(0, 0);
    EXPECT_EQ(255, pixel[2]);
    EXPECT_NEAR(128, pixel[3], 1);
    EXPECT_EQ(GL_TRUE, GetColourMask()[3]);
    m_graphics->BindFramebuffer(0);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST_F(CGraphicsGlTest, InitStatePreparesEveryUnit)
{
    const GLint units = GetInteger(GL_MAX_TEXTURE_UNITS);
    ASSERT_GE(units, 2);
    EXPECT_EQ(uint32_t(units), m_graphics->GetUnitCount());
    for (GLint unit = 0; unit < units; ++unit)
    {
        glActiveTexture(GL_TEXTURE0 + unit);
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)) << unit;
    }
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));

    // The loop above moved the active unit behind the cache's back: invalidating puts unit 0 back.
    m_graphics->InvalidateState();
    EXPECT_EQ(GL_TEXTURE0, GetInteger(GL_ACTIVE_TEXTURE));
    m_graphics->ActivateUnit(1);
    EXPECT_EQ(GL_TEXTURE1, GetInteger(GL_ACTIVE_TEXTURE));
}

TEST_F(CGraphicsGlTest, EmptyUnitGetsTextureZeroModulateAndIdentity)
{
    // Unit 1 left with a texture, a replace environment and a scaled texture matrix.
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glMatrixMode(GL_TEXTURE);
    glScalef(2.0f, 2.0f, 1.0f);
    glMatrixMode(GL_MODELVIEW);
    m_graphics->InvalidateState();

    m_graphics->ApplyUnitState(1, CGraphics::UnitState());
    EXPECT_EQ(GL_TEXTURE1, GetInteger(GL_ACTIVE_TEXTURE));
    EXPECT_EQ(0, GetInteger(GL_TEXTURE_BINDING_2D));
    EXPECT_EQ(GL_MODULATE, GetTexEnv(GL_TEXTURE_ENV_MODE));
    GLfloat matrix[16];
    glGetFloatv(GL_TEXTURE_MATRIX, matrix);
    EXPECT_FLOAT_EQ(1.0f, matrix[0]);
    EXPECT_FLOAT_EQ(1.0f, matrix[5]);

    // Kept: applying it again leaves GL alone.
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    m_graphics->ApplyUnitState(1, CGraphics::UnitState());
    EXPECT_EQ(GLint(texture), GetInteger(GL_TEXTURE_BINDING_2D));
    EXPECT_EQ(GL_REPLACE, GetTexEnv(GL_TEXTURE_ENV_MODE));

    // A unit GL lacks is ignored.
    m_graphics->ApplyUnitState(m_graphics->GetUnitCount(), CGraphics::UnitState());
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    glDeleteTextures(1, &texture);
}

TEST_F(CGraphicsGlTest, CombinerIsSentOnlyInCombineMode)
{
    CGraphics::UnitState combine;
    combine.envMode = GL_COMBINE;
    combine.combineRgb = GL_INTERPOLATE;
    combine.sourceRgb[2] = GL_PRIMARY_COLOR;
    combine.combineAlpha = GL_REPLACE;
    combine.sourceAlpha[0] = GL_PREVIOUS;
    combine.rgbScale = 2.0f;
    combine.envColour[0] = 0.5f;
    combine.matrix[12] = 0.25f;
    m_graphics->ApplyUnitState(0, combine);
    EXPECT_EQ(GL_COMBINE, GetTexEnv(GL_TEXTURE_ENV_MODE));
    EXPECT_EQ(GL_INTERPOLATE, GetTexEnv(GL_COMBINE_RGB));
    EXPECT_EQ(GL_PRIMARY_COLOR, GetTexEnv(GL_SRC2_RGB));
    EXPECT_EQ(GL_REPLACE, GetTexEnv(GL_COMBINE_ALPHA));
    EXPECT_EQ(GL_PREVIOUS, GetTexEnv(GL_SRC0_ALPHA));
    GLfloat value[4];
    glGetTexEnvfv(GL_TEXTURE_ENV, GL_RGB_SCALE, value);
    EXPECT_FLOAT_EQ(2.0f, value[0]);
    glGetTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, value);
    EXPECT_FLOAT_EQ(0.5f, value[0]);
    GLfloat matrix[16];
    glGetFloatv(GL_TEXTURE_MATRIX, matrix);
    EXPECT_FLOAT_EQ(0.25f, matrix[12]);

    // In modulate mode the combiner's settings are left as GL has them.
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_ADD);
    CGraphics::UnitState modulate = combine;
    modulate.envMode = GL_MODULATE;
    m_graphics->ApplyUnitState(0, modulate);
    EXPECT_EQ(GL_MODULATE, GetTexEnv(GL_TEXTURE_ENV_MODE));
    EXPECT_EQ(GL_ADD, GetTexEnv(GL_COMBINE_RGB));

    // Back to combine: only what the record does not know is sent; after invalidation, all of it.
    m_graphics->ApplyUnitState(0, combine);
    EXPECT_EQ(GL_ADD, GetTexEnv(GL_COMBINE_RGB));
    m_graphics->InvalidateState();
    m_graphics->ApplyUnitState(0, combine);
    EXPECT_EQ(GL_INTERPOLATE, GetTexEnv(GL_COMBINE_RGB));
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST_F(CGraphicsGlTest, UnbindTexturesClearsEveryUnit)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    const uint32_t units = m_graphics->GetUnitCount();
    for (uint32_t unit = 0; unit < units; ++unit)
    {
        glActiveTexture(GL_TEXTURE0 + unit);
        glBindTexture(GL_TEXTURE_2D, texture);
    }
    m_graphics->InvalidateState();
    m_graphics->UnbindTextures();
    EXPECT_EQ(GL_TEXTURE0, GetInteger(GL_ACTIVE_TEXTURE));
    for (uint32_t unit = 0; unit < units; ++unit)
    {
        glActiveTexture(GL_TEXTURE0 + unit);
        EXPECT_EQ(0, GetInteger(GL_TEXTURE_BINDING_2D)) << unit;
    }
    glDeleteTextures(1, &texture);
}

TEST_F(CGraphicsGlTest, ReleasedStateCallsNoGl)
{
    // The fixture's release hook runs with the context still current, before it goes.
    m_context.Release();
    EXPECT_FALSE(m_context.IsCreated());
    EXPECT_EQ(0u, m_graphics->GetUnitCount());
    EXPECT_FALSE(GlExtensions::HasFramebufferObjects());
    EXPECT_EQ(0u, m_graphics->GetFramebuffer());
    // Without a context these must be no-ops rather than calls into nothing.
    m_graphics->SetBlend(GL_SRC_ALPHA, GL_ONE);
    m_graphics->BindTexture(0, nullptr);
    m_graphics->Clear(Vector4<float>(1, 1, 1, 1), 1.0f);
    m_graphics->InvalidateState();
    EXPECT_TRUE(m_graphics->IsInitialised());

    // A new context brings it back.
    ASSERT_TRUE(m_context.CreatePbuffer(kWidth, kHeight, CEglContext::Attributes()));
    m_graphics->InitState();
    EXPECT_GE(m_graphics->GetUnitCount(), 2u);
    m_graphics->ClearColour(Vector4<float>(0, 0, 1, 1));
    EXPECT_EQ((std::array<uint8_t, 4>{0, 0, 255, 255}), ReadPixel(1, 1));
}

// The screen read back into a texture and drawn over the whole logical screen again.
class ReadScreenGlTest : public DrawFixture
{
  protected:
    void TearDown() override
    {
        CView::SetScreen(Vector2<int32_t>(kWidth, kHeight), 0.0f, Vector4<float>(), 0.0f, 0.0f);
        DrawFixture::TearDown();
    }

    static std::vector<uint8_t> Screen()
    {
        std::vector<uint8_t> pixels(size_t(kWidth * kHeight * 4));
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    void DrawBack(const CRef<CMaterial>& material)
    {
        m_graphics->Clear(Vector4<float>(0, 0, 0, 1), 1.0f);
        const CView pixels(CView::kPixels);
        m_graphics->DrawQuad(material, Vector2<float>(kWidth / 2.0f, kHeight / 2.0f),
                             Vector4<float>(-kWidth / 2.0f, -kHeight / 2.0f, kWidth / 2.0f, kHeight / 2.0f),
                             Vector4<float>(1, 1, 1, 1), Vector4<float>(0, 0, 1, 1), 0.0f);
    }
};

TEST_F(ReadScreenGlTest, TheCopyStandsUprightAtEachRotationInTheTexturesChannels)
{
    const CRef<CMaterial> shown = MakeMaterial("<m texture=\"_shot\" filter=\"point\" mipmap=\"false\"/>");
    for (float degrees : {0.0f, 90.0f, 270.0f})
    {
        CView::SetScreen(Vector2<int32_t>(kWidth, kHeight), degrees, Vector4<float>(), 0.0f, 0.0f);
        m_graphics->Clear(Vector4<float>(0, 0, 0, 1), 1.0f);
        {
            const CView pixels(CView::kPixels);
            m_graphics->FillRect(Vector2<float>(4, 2), Vector2<float>(12, 8),
                                 Vector4<float>(1, 0.5f, 0.25f, 1));
        }
        const std::vector<uint8_t> before = Screen();
        size_t lit = 0;
        for (size_t i = 0; i < before.size(); i += 4)
            lit += before[i] > 128 ? 1 : 0;
        ASSERT_EQ(lit, size_t(8 * 6)) << degrees;
        m_graphics->ReadScreen("_shot");
        DrawBack(shown);
        EXPECT_EQ(Screen(), before) << degrees;
    }

    // A luminance texture keeps the green channel.
    const CRef<CMaterial> grey = MakeMaterial("<m texture=\"_grey\" filter=\"point\" mipmap=\"false\"/>");
    CTextureSet::Instance()->Get("_grey")->SetFormat(GL_LUMINANCE);
    m_graphics->ClearColour(Vector4<float>(1, 0.4f, 0.2f, 1));
    EXPECT_EQ(GLenum(GL_LUMINANCE), m_graphics->ReadScreen("_grey")->GetFormat());
    DrawBack(grey);
    ExpectPixel(Pixel{102, 102, 102, 255}, 5, 5);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

} // namespace
