// Imposters on a real ES 1.1 context, driven by the game's drawing list: the picture of the scene
// drawn back upright at two rotations, and its blurred copy following the 3 x 3 binomial kernel.
#include "Graphics/CImposter.h"
#include "Graphics/CMaterialSet.h"
#include "Graphics/CTextureSet.h"
#include "platform/CDrawing.h"
#include "platform/CGame.h"
#include "platform/CView.h"
#include "platform/PlatformHooks.h"
#include "support/AppFolder.h"
#include "support/GlFixture.h"

namespace
{
// A white square on black, in logical pixels (y down), drawn in the pass "scene".
class Square : public CDrawing
{
  public:
    explicit Square(const Vector4<float>& rect) : m_rect(rect) { Register("imposter", "scene"); }
    ~Square() override { Unregister("imposter", "scene"); }
    void Draw() override
    {
        ++draws;
        const CView pixels(CView::kPixels);
        CGraphics::Instance()->FillRect(Vector2<float>(m_rect.x, m_rect.y), Vector2<float>(m_rect.z, m_rect.w),
                                        Vector4<float>(1, 1, 1, 1));
    }
    int draws = 0;

  private:
    Vector4<float> m_rect;
};

class ImposterGlTest : public GlFixture
{
  protected:
    void SetUp() override
    {
        GlFixture::SetUp();
        m_app = std::make_unique<AppFolder>();
        m_app->WriteData("game.xml", "<game><draw><pass id=\"preposter\"/><pass id=\"scene\"/>"
                                     "<pass id=\"overlays\"/></draw></game>\n");
        PlatformHooks hooks;
        hooks.beginFrame = [] {
            CGraphics::Instance()->Clear(Vector4<float>(0, 0, 0, 1), 1.0f);
            return true;
        };
        m_hooks = PlatformHooks::Install(hooks);
        m_game = CGame::Instance();
        m_game->PushMode("imposter");
    }
    void TearDown() override
    {
        CSingleton<CGame>::Toggle(false);
        PlatformHooks::Install(m_hooks);
        CMaterialSet::Toggle(false);
        CTextureSet::Toggle(false);
        m_app.reset();
        CView::SetScreen(Vector2<int32_t>(kWidth, kHeight), 0.0f, Vector4<float>(), 0.0f, 0.0f);
        GlFixture::TearDown();
    }

    void Turn(float degrees)
    {
        CView::SetScreen(Vector2<int32_t>(kWidth, kHeight), degrees, Vector4<float>(), 0.0f, 0.0f);
    }
    // The screen's texels of a row, white or not, read in logical pixels.
    std::string Row(int y) const
    {
        std::string row;
        for (int x = 0; x < kWidth; x += 2)
        {
            const Vector2<int32_t> at = LogicalToGl(x, y);
            row += ReadPixel(at.x, at.y)[0] > 128 ? '#' : '.';
        }
        return row;
    }
    // glReadPixels' coordinates of a logical pixel under the platform rotation.
    static Vector2<int32_t> LogicalToGl(int x, int y)
    {
        const int r = int(CView::GetPlatformRotation() / 90.0f) % 4;
        const int n = kWidth - 1;
        const Vector2<int32_t> byTurn[] = {{x, n - y}, {y, x}, {n - x, y}, {n - y, n - x}};
        return byTurn[r];
    }

    std::unique_ptr<AppFolder> m_app;
    PlatformHooks m_hooks;
    CGame* m_game = nullptr;
};
} // namespace

TEST_F(ImposterGlTest, ThePictureStandsUprightInPlaceOfTheSceneAtEachRotation)
{
    Square square(Vector4<float>(4, 2, 12, 8));
    for (float degrees : {0.0f, 90.0f})
    {
        Turn(degrees);
        square.draws = 0;
        m_game->Draw();
        const std::vector<std::string> scene = {Row(1), Row(4), Row(10)};
        EXPECT_EQ(scene[0], "................") << degrees;
        EXPECT_EQ(scene[1], "..####..........") << degrees;

        CRef<CImposter> imposter = CImposter::Create("overlays", "_test");
        m_game->Draw();
        EXPECT_TRUE(imposter->CoversBelow());
        m_game->Draw();
        EXPECT_EQ(square.draws, 2) << "the covered scene is not drawn again";
        EXPECT_EQ((std::vector<std::string>{Row(1), Row(4), Row(10)}), scene) << degrees;
        imposter.Reset();
        CTextureSet::Instance()->Get("_test")->ReleaseGL();
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(ImposterGlTest, TheBlurredCopyFollowsTheBinomialKernel)
{
    Turn(0.0f);
    // One texel of the quarter-size copy: logical pixels 12..15 each way.
    Square square(Vector4<float>(12, 12, 16, 16));
    CRef<CImposter> imposter = CImposter::Create("overlays", "_test");
    imposter->SetBlur(2.0f, 0.0f);
    m_game->Draw();
    ASSERT_TRUE(imposter->HasPicture());
    CRef<CTexture> blurred = CTextureSet::Instance()->Get("_testblur_");
    ASSERT_EQ(blurred->GetWidth(), kWidth / 4);

    // Row 0 of the copy is the top of the screen.
    blurred->BindTarget(CTexture::kRenderTarget);
    const int expected[5][5] = {{0, 0, 0, 0, 0}, {0, 16, 32, 16, 0}, {0, 32, 64, 32, 0}, {0, 16, 32, 16, 0}, {0, 0, 0, 0, 0}};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_NEAR(ReadPixel(x + 1, y + 1)[1], expected[y][x], 3) << "texel " << x + 1 << ", " << y + 1;
    blurred->BindTarget(0);
    EXPECT_EQ(imposter->GetQuad().GetColour().w, 1.0f);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
