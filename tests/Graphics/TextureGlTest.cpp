#include "Graphics/CTexture.h"
#include "Graphics/CTextureSet.h"
#include "Graphics/GlExtensions.h"
#include "Graphics/RenderTargetScope.h"
#include "platform/CDirectJ.h"
#include "platform/PlatformHooks.h"
#include "support/AppFolder.h"
#include "support/FakeClock.h"
#include "support/GlFixture.h"
#include "support/TestImages.h"
#include "support/TestScopes.h"

#include <GLES/glext.h>
#include <sys/stat.h>

namespace
{

int32_t s_frame = 0;
int32_t ReadFrame()
{
    return s_frame;
}

// 3 x 2 RGBA: red, green, blue / white, black, yellow.
std::vector<uint8_t> Pixels()
{
    return {255, 0,   0,   255, 0, 255, 0, 255, 0,   0,   255, 255,
            255, 255, 255, 255, 0, 0,   0, 255, 255, 255, 0,   255};
}

class TextureGlTest : public GlFixture
{
  protected:
    void SetUp() override
    {
        GlFixture::SetUp();
        // As the platform does: every holder of GL objects drops them while the context lives.
        m_context.SetReleaseHook(&CDirectJ::ReleaseGlObjectsHook);
        PlatformHooks hooks;
        hooks.frameCount = &ReadFrame;
        m_previousHooks = PlatformHooks::Install(hooks);
        s_frame = 0;
        ::mkdir(m_app.PathOf("data/textures").c_str(), 0700);
        m_set = CTextureSet::Instance();
    }

    void TearDown() override
    {
        GlFixture::TearDown();
        CTextureSet::Toggle(false);
        PlatformHooks::Install(m_previousHooks);
    }

    void Write(const std::string& name, const std::string& bytes)
    {
        m_app.WriteData("textures/" + name, bytes);
    }

    // Draws texture over the whole pbuffer, uv (0, 0) at the top left and uvMax at the bottom right.
    void DrawQuad(CTexture* texture, float uMax, float vMax, GLenum minFilter = GL_NEAREST)
    {
        glViewport(0, 0, kWidth, kHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        m_graphics->BindTexture(0, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GLint(minFilter));
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        const GLfloat vertices[] = {-1, -1, 1, -1, 1, 1, -1, 1};
        const GLfloat uvs[] = {0, vMax, uMax, vMax, uMax, 0, 0, 0};
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glVertexPointer(2, GL_FLOAT, 0, vertices);
        glTexCoordPointer(2, GL_FLOAT, 0, uvs);
        glColor4f(1, 1, 1, 1);
        glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    }

    void ExpectRgb(int x, int y, uint8_t r, uint8_t g, uint8_t b)
    {
        const std::array<uint8_t, 4> pixel = ReadPixel(x, y);
        EXPECT_NEAR(pixel[0], r, 2) << x << "," << y;
        EXPECT_NEAR(pixel[1], g, 2) << x << "," << y;
        EXPECT_NEAR(pixel[2], b, 2) << x << "," << y;
    }

    // Runs the global scope for ms of platform time, 100 ms a frame.
    void RunGlobal(uint32_t ms)
    {
        for (uint32_t t = 0; t < ms; t += 100)
        {
            m_clock.Advance(100);
            m_scopes.Update();
        }
    }

    FakeClock m_clock;
    TestScopes m_scopes;
    AppFolder m_app;
    CTextureSet* m_set = nullptr;
    PlatformHooks m_previousHooks;
};

} // namespace

TEST_F(TextureGlTest, UploadsPaddedImagesAndSamplesThemBack)
{
    Write("pic.png", TestImages::Png(3, 2, 4, Pixels()));
    CRef<CTexture> texture = m_set->Get("pic");
    EXPECT_FLOAT_EQ(texture->GetUvScale().x, 1.0f); // nothing known before the first use
    texture->EnsureLoaded();
    DrawQuad(texture.Get(), texture->GetUvScale().x, texture->GetUvScale().y);
    ASSERT_TRUE(texture->IsLoaded());
    EXPECT_TRUE(texture->IsValid());
    EXPECT_EQ(texture->GetWidth(), 4);
    EXPECT_EQ(texture->GetHeight(), 4);
    EXPECT_FLOAT_EQ(texture->GetUvScale().x, 0.75f);
    EXPECT_FLOAT_EQ(texture->GetUvScale().y, 0.5f);
    EXPECT_EQ(texture->GetMipmaps(), uint32_t(CTexture::kMipmapsOff)); // never set: one level
    ExpectRgb(5, 24, 255, 0, 0);
    ExpectRgb(16, 24, 0, 255, 0);
    ExpectRgb(27, 24, 0, 0, 255);
    ExpectRgb(5, 8, 255, 255, 255);
    ExpectRgb(27, 8, 255, 255, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // Odd-width grey rows load unskewed (tightly packed).
    Write("grey.png", TestImages::Png(3, 1, 1, {0, 128, 255}));
    texture = m_set->Get("grey");
    texture->EnsureLoaded();
    DrawQuad(texture.Get(), texture->GetUvScale().x, texture->GetUvScale().y);
    ExpectRgb(27, 16, 255, 255, 255);
    ExpectRgb(16, 16, 128, 128, 128);

    Write("wide.png", TestImages::Png(300, 200, 1, std::vector<uint8_t>(300 * 200, 7)));
    texture = m_set->Get("wide");
    texture->EnsureLoaded();
    EXPECT_EQ(texture->GetWidth(), 512);
    EXPECT_FLOAT_EQ(texture->GetUvScale().x, 0.5859375f);
    EXPECT_FLOAT_EQ(texture->GetUvScale().y, 0.390625f);

    Write("huge.png", TestImages::Png(2048, 1024, 1, std::vector<uint8_t>(2048 * 1024, 200)));
    texture = m_set->Get("huge");
    texture->EnsureLoaded();
    EXPECT_EQ(texture->GetWidth(), 1024); // halved once to 1024 x 512, then padded
    EXPECT_FLOAT_EQ(texture->GetUvScale().y, 0.5f);
}

TEST_F(TextureGlTest, MipmappedChainsAreCompleteAndFailuresDrawNothing)
{
    std::vector<uint8_t> blue(256 * 64 * 3, 0);
    for (size_t i = 2; i < blue.size(); i += 3)
        blue[i] = 255;
    Write("blue.png", TestImages::Png(256, 64, 3, blue));
    CRef<CTexture> texture = m_set->Get("blue");
    texture->SetMipmaps(true);
    DrawQuad(texture.Get(), 1.0f, 1.0f, GL_LINEAR_MIPMAP_LINEAR); // minified: an incomplete chain draws white
    EXPECT_TRUE(texture->HasMipmaps());
    EXPECT_EQ(texture->GetWidth(), 256);
    ExpectRgb(2, 30, 0, 0, 255);

    CRef<CTexture> missing = m_set->Get("missing");
    m_graphics->BindTexture(1, missing.Get());
    EXPECT_TRUE(missing->IsFailed());
    EXPECT_EQ(GetInteger(GL_TEXTURE_BINDING_2D), 0);
    missing->ReleaseGL();
    EXPECT_FALSE(missing->IsFailed()); // tried again on the next use

    // This context takes no S3TC: the texture is dropped rather than left without an image.
    const std::string block = TestImages::Dxt1Block(0xF800, 0);
    CRef<CTexture> compressed = CTexture::Create("c");
    compressed->UploadCompressed(reinterpret_cast<const uint8_t*>(block.data()), block.size(),
                                 Vector2<int32_t>(4, 4), 0x83F1, 1);
    EXPECT_FALSE(compressed->IsLoaded());
    compressed->UploadCompressed(reinterpret_cast<const uint8_t*>(block.data()), 4, Vector2<int32_t>(4, 4),
                                 0x83F1,
                                 1); // shorter than its first level
    EXPECT_FALSE(compressed->IsLoaded());
    EXPECT_EQ(compressed->GetWidth(), 1);
    compressed->UploadCompressed(reinterpret_cast<const uint8_t*>(block.data()), block.size(),
                                 Vector2<int32_t>(4, 4), GL_RGBA, 1);
    EXPECT_FALSE(compressed->IsLoaded());
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(TextureGlTest, RenderTargetsDrawIntoTheirTextureAndRebuildOnChange)
{
    CRef<CTexture> target = m_set->Get("_target");
    target->SetRenderTarget(CTexture::kRenderTarget);
    target->SetSize(Vector2<int32_t>(20, 12));
    target->SetFormat(GL_RGBA, true);
    {
        RenderTargetScope scope(target, Vector4<float>(0, 0, 20, 12));
        ASSERT_NE(target->GetFramebuffer(), 0u);
        EXPECT_EQ(m_graphics->GetFramebuffer(), target->GetFramebuffer());
        EXPECT_EQ(GlExtensions::CheckFramebufferStatusOES(GL_FRAMEBUFFER_OES),
                  GLenum(GL_FRAMEBUFFER_COMPLETE_OES));
        EXPECT_EQ(GetInteger(GL_VIEWPORT), 0);
        GLint viewport[4] = {};
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], 20);
        EXPECT_EQ(viewport[3], 12);
        m_graphics->Clear(Vector4<float>(1, 0, 0, 1), 1.0f);
    }
    EXPECT_EQ(m_graphics->GetFramebuffer(), 0u);
    EXPECT_EQ(target->GetWidth(), 32);
    EXPECT_FLOAT_EQ(target->GetUvScale().x, 20.0f / 32.0f);
    EXPECT_TRUE(target->HasDepth());
    DrawQuad(target.Get(), target->GetUvScale().x, target->GetUvScale().y);
    ExpectRgb(16, 16, 255, 0, 0);

    // A new size rebuilds the target at its next bind.
    target->SetSize(Vector2<int32_t>(40, 40));
    EXPECT_FALSE(target->IsLoaded());
    target->BindTarget(CTexture::kRenderTarget);
    EXPECT_EQ(target->GetWidth(), 64);
    target->BindTarget(0);
    EXPECT_EQ(m_graphics->GetFramebuffer(), 0u);

    // Double-buffered: drawing goes into the second texture, which the scope's end makes the first.
    CRef<CTexture> flip = m_set->Get("_flip");
    flip->SetRenderTarget(CTexture::kDoubleBuffered);
    flip->SetSize(Vector2<int32_t>(16, 16));
    flip->EnsureLoaded();
    const GLuint front = flip->GetGlTexture();
    const GLuint back = flip->GetSecondTexture();
    ASSERT_NE(front, 0u);
    ASSERT_NE(back, 0u);
    EXPECT_NE(front, back);
    {
        RenderTargetScope scope(flip, Vector4<float>(0, 0, 16, 16), CTexture::kDoubleBuffered);
        m_graphics->Clear(Vector4<float>(0, 1, 0, 1), 1.0f);
    }
    EXPECT_EQ(flip->GetGlTexture(), back);
    EXPECT_EQ(flip->GetSecondTexture(), front);
    DrawQuad(flip.Get(), 1.0f, 1.0f);
    ExpectRgb(16, 16, 0, 255, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(TextureGlTest, UnusedFileTexturesAreReleasedAndReloaded)
{
    Write("pic.png", TestImages::Png(3, 2, 4, Pixels()));
    CRef<CTexture> texture = m_set->Get("pic");
    CRef<CTexture> target = m_set->Get("_target");
    target->SetRenderTarget(CTexture::kRenderTarget);
    s_frame = 10;
    m_graphics->BindTexture(0, texture.Get());
    target->EnsureLoaded();
    ASSERT_TRUE(texture->IsLoaded());
    EXPECT_EQ(texture->GetLastUsed(), 10);

    s_frame = 10 + CTexture::kEvictFrames;
    RunGlobal(2 * CTextureSet::kEvictIntervalMs);
    EXPECT_TRUE(texture->IsLoaded()); // exactly 2000 frames idle is not yet too long

    s_frame += 1;
    RunGlobal(2 * CTextureSet::kEvictIntervalMs);
    EXPECT_FALSE(texture->IsLoaded());
    EXPECT_TRUE(target->IsLoaded()); // render targets are never evicted

    DrawQuad(texture.Get(), texture->GetUvScale().x, texture->GetUvScale().y);
    EXPECT_TRUE(texture->IsLoaded());
    ExpectRgb(16, 24, 0, 255, 0);
}

TEST_F(TextureGlTest, LosingTheContextDropsEveryTexture)
{
    Write("pic.png", TestImages::Png(3, 2, 4, Pixels()));
    CRef<CTexture> own = CTexture::Create("pic"); // outside the set
    CRef<CTexture> shared = m_set->Get("pic");
    own->EnsureLoaded();
    shared->EnsureLoaded();
    ASSERT_TRUE(own->IsLoaded());
    ASSERT_TRUE(shared->IsLoaded());
    m_context.Release();
    EXPECT_FALSE(own->IsLoaded());
    EXPECT_FALSE(shared->IsLoaded());
    EXPECT_FALSE(own->IsFailed());
}
