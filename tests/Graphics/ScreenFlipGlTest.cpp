// The screen flip and the screen rotation on a real ES 1.1 context, on a screen taller than wide:
// at each of the four rotations the flip's first frame shows the screen it captured and its last
// turning frame the pane, and no render target is left bound; the rotation's last frame shows
// what drawing at the new rotation shows.
#include "Graphics/CMaterialSet.h"
#include "Graphics/CScreenFlip.h"
#include "Graphics/CScreenRotate.h"
#include "Graphics/CTextureSet.h"
#include "core/HashString.h"
#include "platform/CGame.h"
#include "platform/CView.h"
#include "support/AppFolder.h"
#include "support/GlFixture.h"

#include <GLES/glext.h>

namespace
{
using Pixel = std::array<uint8_t, 4>;

GLint GetFramebufferBinding()
{
    GLint binding = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_OES, &binding);
    return binding;
}
constexpr int kPhysicalWidth = 32;
constexpr int kPhysicalHeight = 48;

class ScreenFlipGlTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_context.CreatePbuffer(kPhysicalWidth, kPhysicalHeight, CEglContext::Attributes()))
            << "no ES 1.1 pbuffer context: " << m_context.GetFailure();
        m_context.SetReleaseHook(
            []
            {
                if (CGraphics* graphics = CGraphics::Peek())
                    graphics->ReleaseState();
            });
        KeepGlDriverLoaded();
        m_graphics = CGraphics::Instance();
        m_graphics->InitState();
        m_folder.WriteData("materials.xml", "<materials/>");
        CScreenFlip::PaneHooks hooks;
        hooks.create = [](const char*) { return MakeRef<CBase>(); };
        hooks.render = [](CBase*) { DrawQuarters(kPaneColours); };
        m_previousHooks = CScreenFlip::SetPaneHooks(hooks);
    }

    void TearDown() override
    {
        CScreenFlip::SetPaneHooks(m_previousHooks);
        CScreenFlip::Toggle(false);
        CSingleton<CGame>::Toggle(false);
        CMaterialSet::Toggle(false);
        CTextureSet::Toggle(false);
        m_context.Release();
        CGraphics::Toggle(false);
        COpenGL::Toggle(false);
        SetScreen(0.0f);
    }

    // The logical screen for a rotation of the physical one.
    static void SetScreen(float rotation)
    {
        const bool quarter = rotation == 90.0f || rotation == 270.0f;
        const Vector2<int32_t> logical = quarter ? Vector2<int32_t>(kPhysicalHeight, kPhysicalWidth)
                                                 : Vector2<int32_t>(kPhysicalWidth, kPhysicalHeight);
        CView::SetScreen(logical, rotation, Vector4<float>(0, 0, float(logical.x), float(logical.y)), 0.0f, 0.0f);
    }

    // Four colours in the quarters of the logical screen: top left, top right, bottom left,
    // bottom right.
    using Quarters = std::array<Vector4<float>, 4>;
    static constexpr Quarters kSceneColours = {Vector4<float>(1, 0, 0, 1), Vector4<float>(0, 1, 0, 1),
                                               Vector4<float>(0, 0, 1, 1), Vector4<float>(1, 1, 1, 1)};
    static constexpr Quarters kPaneColours = {Vector4<float>(1, 1, 0, 1), Vector4<float>(0, 1, 1, 1),
                                              Vector4<float>(1, 0, 1, 1), Vector4<float>(0, 0, 0, 1)};
    static void DrawQuarters(const Quarters& colours)
    {
        CView view(CView::kPixels);
        const float w = float(CView::GetLogicalSize().x);
        const float h = float(CView::GetLogicalSize().y);
        CGraphics* graphics = CGraphics::Instance();
        graphics->FillRect(Vector2<float>(0, 0), Vector2<float>(w / 2, h / 2), colours[0]);
        graphics->FillRect(Vector2<float>(w / 2, 0), Vector2<float>(w, h / 2), colours[1]);
        graphics->FillRect(Vector2<float>(0, h / 2), Vector2<float>(w / 2, h), colours[2]);
        graphics->FillRect(Vector2<float>(w / 2, h / 2), Vector2<float>(w, h), colours[3]);
    }

    // The physical framebuffer at the centres of its quarters.
    std::array<Pixel, 4> ReadQuarters() const
    {
        std::array<Pixel, 4> pixels{};
        int i = 0;
        for (int y : {kPhysicalHeight * 3 / 4, kPhysicalHeight / 4})
            for (int x : {kPhysicalWidth / 4, kPhysicalWidth * 3 / 4})
                glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixels[i++].data());
        return pixels;
    }

    void Clear() { m_graphics->Clear(Vector4<float>(0.2f, 0.2f, 0.2f, 1), 1.0f); }

    static bool Near(const Pixel& a, const Pixel& b)
    {
        for (int i = 0; i < 3; ++i)
            if (std::abs(int(a[i]) - int(b[i])) > 8)
                return false;
        return true;
    }
    static std::string Text(const std::array<Pixel, 4>& pixels)
    {
        std::string text;
        for (const Pixel& p : pixels)
            text += "(" + std::to_string(p[0]) + "," + std::to_string(p[1]) + "," + std::to_string(p[2]) + ") ";
        return text;
    }
    static void ExpectSame(const std::array<Pixel, 4>& expected, const std::array<Pixel, 4>& actual,
                           const std::string& what)
    {
        bool same = true;
        for (int i = 0; i < 4; ++i)
            same = same && Near(expected[i], actual[i]);
        EXPECT_TRUE(same) << what << ": " << Text(actual) << "instead of " << Text(expected);
    }

    CEglContext m_context;
    CGraphics* m_graphics = nullptr;
    AppFolder m_folder;
    CScreenFlip::PaneHooks m_previousHooks;
};

TEST_F(ScreenFlipGlTest, FirstAndLastFramesOfATurnAtEveryRotation)
{
    for (float rotation : {0.0f, 90.0f, 180.0f, 270.0f})
    {
        const std::string at = "at " + std::to_string(int(rotation)) + " degrees";
        SetScreen(rotation);
        Clear();
        DrawQuarters(kSceneColours);
        const std::array<Pixel, 4> screen = ReadQuarters();
        Clear();
        DrawQuarters(kPaneColours);
        const std::array<Pixel, 4> pane = ReadQuarters();

        CScreenFlip* flip = CScreenFlip::Instance();
        flip->Begin("pane", CScreenFlip::kTurnNow);
        Clear();
        flip->DrawPass(HashString("predraw"));
        ASSERT_TRUE(flip->IsCapturing());
        DrawQuarters(kSceneColours);
        flip->DrawPass(HashString("post"));
        EXPECT_EQ(GetFramebufferBinding(), 0) << at;
        ExpectSame(screen, ReadQuarters(), "the first frame shows the screen " + at);

        flip->Update(0.0099f); // of a turn of 0.01 s
        ASSERT_EQ(flip->GetState(), CScreenFlip::kTurningToPane);
        Clear();
        flip->DrawPass(HashString("predraw"));
        EXPECT_FALSE(flip->IsCapturing()) << "one capture a turn";
        flip->DrawPass(HashString("post"));
        ExpectSame(pane, ReadQuarters(), "the last turning frame shows the pane " + at);
        EXPECT_EQ(GetFramebufferBinding(), 0) << at;
        CScreenFlip::Toggle(false);
    }
}

TEST_F(ScreenFlipGlTest, ACaptureInsideTheRotationsGivesItsTargetBack)
{
    SetScreen(0.0f);
    CRef<CTexture> outer = CTextureSet::Instance()->Get("_screenrotate");
    outer->SetRenderTarget(CTexture::kRenderTarget);
    outer->SetFormat(GL_RGB, true);
    outer->SetSize(Vector2<int32_t>(kPhysicalHeight, kPhysicalHeight));
    outer->BindTarget(CTexture::kRenderTarget);
    const GLint rotation = GetFramebufferBinding();
    ASSERT_NE(rotation, 0);

    CScreenFlip* flip = CScreenFlip::Instance();
    flip->Begin("pane", CScreenFlip::kTurnNow);
    flip->DrawPass(HashString("predraw"));
    EXPECT_NE(GetFramebufferBinding(), rotation) << "the flip draws the frame into its own capture";
    DrawQuarters(kSceneColours);
    flip->DrawPass(HashString("post"));
    EXPECT_EQ(GetFramebufferBinding(), rotation) << "the cards land in the rotation's capture";
    outer->BindTarget(0);
    EXPECT_EQ(GetFramebufferBinding(), 0);
}

TEST_F(ScreenFlipGlTest, TheRotationEndsOnTheFrameOfTheNewRotation)
{
    const Vector2<int32_t> window(kPhysicalWidth, kPhysicalHeight);
    for (float rotation : {90.0f, 180.0f, 270.0f})
    {
        SetScreen(rotation);
        Clear();
        DrawQuarters(kSceneColours);
        const std::array<Pixel, 4> expected = ReadQuarters();

        // While it turns the platform draws at rotation 0 on a screen of the current size, into
        // the square capture.
        const Vector2<int32_t> size = CView::GetLogicalSize();
        CView::SetScreen(size, 0.0f, Vector4<float>(0, 0, float(size.x), float(size.y)), 0.0f, 0.0f);
        CRef<CTexture> capture = CTextureSet::Instance()->Get("_screenrotate");
        capture->SetRenderTarget(CTexture::kRenderTarget);
        capture->SetCompression(CTexture::kCompressNever);
        capture->SetFormat(GL_RGB, true);
        capture->SetSize(Vector2<int32_t>(kPhysicalHeight, kPhysicalHeight));
        capture->BindTarget(CTexture::kRenderTarget);
        Clear();
        DrawQuarters(kSceneColours);
        capture->BindTarget(0);
        Clear();
        QuadBatch quad;
        quad.SetMaterial(CMaterialSet::Instance()->Find("_screenrotate"));
        CScreenRotate::DrawCapture(quad, window, size, rotation);
        ExpectSame(expected, ReadQuarters(), "turned by " + std::to_string(int(rotation)));
    }
}
} // namespace
