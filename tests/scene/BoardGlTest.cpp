// The board layer on a real ES 1.1 context: knobs drawn on the cells of a loaded puzzle over the
// board picture, the frog's shadow passes by quality, and the red pulse.
#include "Graphics/DrawFixture.h"
#include "core/CPreferences.h"
#include "core/CRules.h"
#include "core/CSingleton.h"
#include "platform/CGame.h"
#include "platform/CView.h"
#include "puzzle/CPuzzle.h"
#include "puzzle/CPuzzles.h"
#include "puzzle/CScore.h"
#include "scene/CLayerBoard.h"
#include "support/FakeClock.h"

#include <sys/stat.h>

#include <algorithm>
#include <vector>

namespace
{
using Pixel = DrawFixture::Pixel;

// Knobs on (2,3) (3,3) (1,4) (2,4) (3,4) (4,4) (2,5) (3,5) (2,6) (3,6); the goal puts the hands
// on row 3 and the feet on row 4.
const char* kPuzzle = "<puzzle title=\"Board\"><layout>"
                      "<knob position=\"2,3\"/><knob position=\"3,3\"/><knob position=\"1,4\"/>"
                      "<knob position=\"2,4\"/><knob position=\"3,4\"/><knob position=\"4,4\"/>"
                      "<knob position=\"2,5\"/><knob position=\"3,5\"/><knob position=\"2,6\"/>"
                      "<knob position=\"3,6\"/></layout>"
                      "<home pose=\"63625352\"/><goal pose=\"43423332\"/></puzzle>";

// A blue board over the 8 x 8 cells; red drops and green limb knobs of a third of a cell.
const char* kBoard = R"(<layer type="Board" name="board" material="default" colour="0,0,1,1"
    placement="-0.5,-0.5,8,8" nudgeable="true" shadowmaterial="default" shadowcolour="0,0,0,0.5">
      <knob type="drop" material="default" radius="0.3" colour="1,0,0,1"/>
      <knob type="handln" material="default" radius="0.3" colour="0,1,0,1"/>
      <knob type="handrn" material="default" radius="0.3" colour="0,1,0,1"/>
      <knob type="footln" material="default" radius="0.3" colour="0,1,0,1"/>
      <knob type="footrn" material="default" radius="0.3" colour="0,1,0,1"/>
    </layer>)";

int s_shadowPasses = 0;
bool s_frogOnBoard = true;

// A frog whose shadow covers cell (5, 0) when asked for its bounds.
void CountShadowPass(const Vector3<float>&, Vector4<float>* bounds)
{
    ++s_shadowPasses;
    if (bounds && s_frogOnBoard)
        *bounds = Vector4<float>(std::min(bounds->x, 4.6f), std::min(bounds->y, -0.4f),
                                 std::max(bounds->z, 5.4f), std::max(bounds->w, 0.4f));
}

class BoardGlTest : public DrawFixture
{
  protected:
    void SetUp() override
    {
        DrawFixture::SetUp();
        CSingleton<CGame>::Toggle(false);
        m_folder.WriteData("materials.xml", R"(<materials><default alphathreshold="0"/></materials>)");
        m_folder.WriteData("rules.xml", R"(<rules><interval animation="20"/><puzzle closeenough="0.25"/>
            <graphics softshadows="0.1" knobfadetime="0.2"/></rules>)");
        mkdir(m_folder.PathOf("data/puzzle").c_str(), 0755);
        m_folder.WriteData("puzzle/puzzle1000.xml", kPuzzle);
        CRules::Instance()->Load();
        // Four pixels a cell: cell (x, y) covers pixels 4x .. 4x + 3 from the left and the top.
        CView::SetScreen(Vector2<int32_t>(kWidth, kHeight), 0.0f, Vector4<float>(-0.5f, -0.5f, 8, 8), 0.0f,
                         0.0f);
        CView::GetCurrent().Apply();
        s_shadowPasses = 0;
        s_frogOnBoard = true;
        m_previousShadow = CLayerBoard::SetShadowDrawer(&CountShadowPass);
    }
    void TearDown() override
    {
        m_board.Reset();
        CLayerBoard::SetShadowDrawer(m_previousShadow);
        CSingleton<CPuzzle>::Toggle(false);
        CSingleton<CScore>::Toggle(false);
        CSingleton<CPuzzles>::Toggle(false);
        CSingleton<CGame>::Toggle(false);
        DrawFixture::TearDown();
    }

    CLayerBoard* MakeBoard()
    {
        CXmlDocument document;
        EXPECT_TRUE(document.Parse(kBoard, false));
        m_board = CLayer::Create(nullptr, *document.GetRoot());
        return dynamic_cast<CLayerBoard*>(m_board.Get());
    }
    static void SetQuality(float quality) { CPreferences::Instance()->SetFloat("shadowquality", quality); }
    // The middle of a cell; glReadPixels counts rows from the bottom.
    Pixel Cell(int x, int y) const { return ReadPixel(4 * x + 2, kHeight - 1 - (4 * y + 2)); }

    FakeClock m_clock;
    CRef<CLayer> m_board;
    CLayerBoard::ShadowDrawer m_previousShadow = nullptr;
};

TEST_F(BoardGlTest, KnobsAreDrawnOnTheirCellsOverTheBoard)
{
    ASSERT_TRUE(CPuzzle::Instance()->Load("puzzle1000"));
    CLayerBoard* board = MakeBoard();
    ASSERT_NE(board, nullptr);
    SetQuality(0.0f);
    board->Draw();

    const Pixel red{255, 0, 0, 255}, green{0, 255, 0, 255}, blue{0, 0, 255, 255};
    for (const auto& cell : {Vector2<int>(1, 4), Vector2<int>(4, 4), Vector2<int>(2, 5), Vector2<int>(3, 6)})
        EXPECT_TRUE(Near(red, Cell(cell.x, cell.y))) << "drop at " << cell.x << "," << cell.y;
    for (const auto& cell : {Vector2<int>(2, 3), Vector2<int>(3, 3), Vector2<int>(2, 4), Vector2<int>(3, 4)})
        EXPECT_TRUE(Near(green, Cell(cell.x, cell.y))) << "goal at " << cell.x << "," << cell.y;
    for (const auto& cell : {Vector2<int>(0, 0), Vector2<int>(5, 4), Vector2<int>(2, 2), Vector2<int>(7, 7)})
        EXPECT_TRUE(Near(blue, Cell(cell.x, cell.y))) << "bare board at " << cell.x << "," << cell.y;
    // The corner of a knob's cell lies outside its third-of-a-cell radius.
    EXPECT_TRUE(Near(blue, ReadPixel(4 * 1, kHeight - 1 - 4 * 4)));
    EXPECT_EQ(s_shadowPasses, 0) << "quality 0: no shadow";
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST_F(BoardGlTest, TheFrogShadowTakesPassesByQualityAndDarkensItsBounds)
{
    ASSERT_TRUE(CPuzzle::Instance()->Load("puzzle1000"));
    CLayerBoard* board = MakeBoard();
    const int expected[] = {0, 1, 3, 5};
    const float qualities[] = {0.0f, 0.5f, 0.6f, 0.8f};
    for (int i = 0; i < 4; ++i)
    {
        SetQuality(qualities[i]);
        s_shadowPasses = 0;
        board->Draw();
        EXPECT_EQ(s_shadowPasses, expected[i]) << "quality " << qualities[i];
    }

    // One pass of half-black over the frog's box: the board beneath shows at half its blue.
    SetQuality(0.5f);
    board->Draw();
    const Pixel shaded = Cell(5, 0);
    EXPECT_NEAR(shaded[2], 128, 3);
    EXPECT_TRUE(Near(Pixel{0, 0, 255, 255}, Cell(6, 0))) << "outside the box";
    EXPECT_TRUE(Near(Pixel{0, 0, 255, 255}, Cell(5, 1)));

    // A frog that draws nothing leaves no shadow quad over the screen.
    s_frogOnBoard = false;
    SetQuality(0.8f);
    board->Draw();
    EXPECT_TRUE(Near(Pixel{0, 0, 255, 255}, Cell(5, 0)));
    EXPECT_TRUE(Near(Pixel{0, 0, 255, 255}, Cell(0, 7)));
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST_F(BoardGlTest, ThePulseWritesOnlyTheRedChannel)
{
    CLayerBoard* board = MakeBoard();
    SetQuality(0.0f);
    board->Draw();
    m_clock.Set(131); // the top of the pulse: red 0.15
    board->Affect();
    const Pixel pulsed = Cell(6, 6);
    EXPECT_NEAR(pulsed[0], 38, 2);
    EXPECT_EQ(pulsed[1], 0);
    EXPECT_EQ(pulsed[2], 255) << "blue kept by the mask";
    EXPECT_EQ(board->GetQuad().GetColour(), Vector4<float>(0, 0, 1, 1)) << "the layer's colour back";
    const uint32_t* mask = board->GetQuad().material->GetColourMask();
    EXPECT_TRUE(mask[0] && mask[1] && mask[2] && mask[3]) << "the material's mask back";
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}
} // namespace
