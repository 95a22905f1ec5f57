// A pane drawn on a real ES 1.1 context: its backdrop fills the view and its words put the baked
// font's glyphs on the screen, read back.
#include "Graphics/CFoundry.h"
#include "Graphics/DrawFixture.h"
#include "platform/CView.h"
#include "ui/CDivPane.h"

#include <filesystem>

namespace
{
using Pixel = DrawFixture::Pixel;

class PaneGlTest : public DrawFixture
{
  protected:
    void SetUp() override
    {
        DrawFixture::SetUp();
        // One view unit per pixel over the whole pbuffer.
        CView::SetScreen(Vector2<int32_t>(kWidth, kHeight), 0.0f, Vector4<float>(0, 0, kWidth, kHeight), 0.0f,
                         0.0f);
        m_folder.WriteData("materials.xml", "<materials><plain depthset=\"false\"/></materials>");
        std::filesystem::create_directories(m_folder.PathOf("data/fonts"));
        std::filesystem::create_directories(m_folder.PathOf("data/textures"));
        for (const char* file : {"body.fnt", "body_0.png"})
        {
            const std::string baked = std::string(FROG_DATA_DIR) + "/fonts/" + file;
            if (std::filesystem::exists(baked))
                std::filesystem::copy_file(baked, m_folder.PathOf(std::string("data/fonts/") + file));
        }
        CFoundry::Instance();
    }

    void TearDown() override
    {
        CFoundry::Toggle(false);
        DrawFixture::TearDown();
        CView::SetScreen(Vector2<int32_t>(320, 480), 0.0f, Vector4<float>(-1, -1, 9, 9), 0.5f, 0.75f);
    }

    // Pixels whose red is strong and whose green and blue are weak.
    int CountRed() const
    {
        int count = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
            {
                const Pixel p = ReadPixel(x, y);
                count += p[0] > 128 && p[1] < 96 && p[2] < 96;
            }
        return count;
    }
};
} // namespace

TEST_F(PaneGlTest, ABackdropAndAWordDrawPixels)
{
    CRef<CDivPane> backdrop = CDivPane::CreateByName(R"(<pane behind="plain"/>)");
    backdrop->Render();
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    ExpectPixel(Pixel{255, 255, 255, 255}, 3, 3);
    ExpectPixel(Pixel{255, 255, 255, 255}, kWidth - 2, kHeight - 2);

    if (!std::filesystem::exists(m_folder.PathOf("data/fonts/body.fnt")))
        GTEST_SKIP() << "no baked font in " << FROG_DATA_DIR;
    m_graphics->Clear(Vector4<float>(0, 0, 0, 1), 1.0f);
    // At one unit per pixel an em is 0.015 pixels: 1600 em is a 24-pixel line.
    CRef<CDivPane> word = CDivPane::CreateByName(
        R"(<pane style="font-face: body; font-size: 1600; colour: #ff0000; padding: 100;">W</pane>)");
    word->Render();
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    EXPECT_GT(CountRed(), 20) << "the glyph's ink";
    ExpectPixel(Pixel{0, 0, 0, 255}, kWidth - 1, 0);
}
