// The layers that put buttons and panes into a pond, without a context: the front end's board of
// puzzles (where the icons lie, how the records colour them, how the board scrolls, what a tap
// and a drag do), a row of buttons, and a pane.
#include "Graphics/CScreenFlip.h"
#include "SceneFixture.h"
#include "platform/CControl.h"
#include "platform/CView.h"
#include "platform/InputEvent.h"
#include "puzzle/CPuzzles.h"
#include "scene/CLayerButtons.h"
#include "scene/CLayerSmallFront.h"
#include "scene/CLayerText.h"
#include "ui/ButtonFixture.h"
#include "ui/CButtons.h"
#include "ui/CDivPane.h"

#include <cmath>

namespace
{

class FrontLayersTest : public SceneTest
{
  protected:
    FrontLayersTest()
    {
        CSingleton<CPuzzles>::Toggle(false);
        CSingleton<CButtons>::Toggle(false);
        CControl::ResetDragState();
        m_previousServices = CButtonServices::Install(&m_services);
        CScreenFlip::PaneHooks hooks;
        hooks.create = &OpenPane;
        m_previousPaneHooks = CScreenFlip::SetPaneHooks(hooks);
        s_opened.clear();
        // 320 x 480 pixels over (-1, -3.25, 9, 13.5): 35.6 pixels a unit.
        CView::SetScreen(Vector2<int32_t>(320, 480), 0.0f, Vector4<float>(-1, -1, 9, 9), 0.0f, 0.0f);
        m_folder.WriteData("rules.xml", R"(<rules><interval animation="20"/>
            <ui growtransitionduration="0.2" tooltipdelay="1" tooltipsize="0.4"/></rules>)");
        CRules::Instance()->Load();
        m_folder.WriteData("buttons.xml", R"(<buttons><lily radius="0.4"><frames>
            <f0/><f1/><f2/><f3/><f4/><f5/><f6/><f7/><f8/><f9/><f10/><f11/><f12/><f13/><f14/><f15/></frames>
            <state><active frame="1"/><pressed frame="2"/></state><state><active frame="15"/></state>
            </lily></buttons>)");
        mkdir(m_folder.PathOf("data/puzzle").c_str(), 0755);
        for (const char* name :
             {"puzzle1000", "puzzle1002", "puzzle1003", "puzzle1004", "puzzle1005", "puzzle1006"})
            m_folder.WriteData(std::string("puzzle/") + name + ".xml", "<puzzle/>");
    }
    ~FrontLayersTest() override
    {
        m_pond.Reset();
        CSingleton<CScreenFlip>::Toggle(false);
        CScreenFlip::SetPaneHooks(m_previousPaneHooks);
        CButtonServices::Install(m_previousServices);
        CSingleton<CButtons>::Toggle(false);
        CSingleton<CPuzzles>::Toggle(false);
        s_pane.Reset();
    }

    // A pond of one board; heighty "0.5" gives every icon that height, no jitter.
    CLayerSmallFront* MakeBoard(const std::string& attributes, const std::string& preferences = "")
    {
        // Released first: releasing saves what is pending over the file.
        CSingleton<CPreferences>::Toggle(false);
        m_folder.WriteApp("preferences.xml", "<preferences " + preferences + "/>");
        m_pond = MakePond(R"(<layer type="SmallFront" name="board" heighty="0.5" )" + attributes +
                          R"(><button type="lily" action="puzzleinfo"/></layer>)");
        return dynamic_cast<CLayerSmallFront*>(m_pond->FindLayer("board"));
    }
    // The grow-in ends and the icons count as drawn, so that they take taps.
    void GrowIn(CLayerSmallFront& board)
    {
        m_services.gameTime += 5000;
        m_clock.Advance(100);
        for (size_t i = 0; i < board.GetIconCount(); ++i)
            board.GetIcon(i).MarkDrawn();
        board.Update(0.02f);
    }
    static bool Offer(CLayerSmallFront& board, InputEvent::Kind kind, float x, float y, uint8_t held,
                      uint8_t changed)
    {
        return board.HandleEvent(InputEvent::Pointer(kind, Vector2<float>(x, y), held, changed));
    }
    // The screen pixel of a view point (no nudge).
    static Vector2<float> Pixel(const Vector2<float>& point)
    {
        return CView::GetScreenView().ViewToScreen(point);
    }

    static CRef<CBase> OpenPane(const char* name)
    {
        s_opened.push_back(name);
        s_pane = CDivPane::CreateByName(
            R"(<pane><Div id="best" style="colour: #ffffff; shadow-colour: #000000;">b</Div>
               <Div id="unsolved" style="colour: #204080;">u</Div></pane>)");
        return s_pane;
    }

    RecordingButtonServices m_services;
    CButtonServices* m_previousServices = nullptr;
    CScreenFlip::PaneHooks m_previousPaneHooks;
    CRef<CPond> m_pond;
    static inline std::vector<std::string> s_opened;
    static inline CRef<CDivPane> s_pane;
};

TEST_F(FrontLayersTest, IconsFillTheGridByRowsOrByColumnsAndTheRectangleHoldsThem)
{
    struct Case
    {
        const char* bounds;
        std::vector<Vector2<float>> cells; // grid steps from the origin, in collection order
    };
    const Case cases[] = {
        {"bounds=\"4,3\"", {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {0, 1}, {1, 1}}},
        {"bounds=\"3,4\"", {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {1, 0}, {1, 1}}},
        {"", {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}, {0, 5}}}, // (1, 0): a vertical list
        // No rows: every column holds one icon, rather than the column running on without end.
        {"bounds=\"0\"", {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.bounds);
        CLayerSmallFront* board = MakeBoard(std::string("origin=\"1,2\" grid=\"2,1.5\" ") + c.bounds);
        ASSERT_NE(nullptr, board);
        ASSERT_EQ(6u, board->GetIconCount());
        Vector2<float> low(1e9f, 1e9f), high(-1e9f, -1e9f);
        for (size_t i = 0; i < 6; ++i)
        {
            const Vector3<float> p = board->GetIcon(i).GetScreenPosition();
            EXPECT_NEAR(1.0f + 2.0f * c.cells[i].x, p.x, 1e-4f) << i;
            EXPECT_NEAR(2.0f + 1.5f * c.cells[i].y, p.y, 1e-4f) << i;
            EXPECT_FLOAT_EQ(0.5f, p.z);
            low = Vector2<float>(std::min(low.x, p.x), std::min(low.y, p.y));
            high = Vector2<float>(std::max(high.x, p.x), std::max(high.y, p.y));
        }
        EXPECT_EQ("puzzle1000", board->GetIcon(0).attributes);
        EXPECT_EQ("puzzle1006", board->GetIcon(5).attributes);
        // Half a step beside the icons, three steps above and below.
        ExpectVector(Vector4<float>(low.x - 1.0f, low.y - 4.5f, high.x - low.x + 2.0f, high.y - low.y + 9.0f),
                     board->GetRect());
    }
}

TEST_F(FrontLayersTest, RecordsColourTheIconsByName)
{
    // puzzle1001 has a record but no file: the collection moved on, and nobody takes its colour.
    CLayerSmallFront* board = MakeBoard(
        R"(colournew="0,0,1,1" colourlow="0,0,0,0" colourhigh="1,1,1,1" colourperfect="1,0,0,1")",
        R"(puzzle1000="5,2.000000,10.0,0,0" puzzle1001="5,2.000000,10.0,0,0" )"
        R"(puzzle1002="5,2.000000,10.0,0,1" puzzle1003="5,0.500000,10.0,2,0" puzzle1005="5,-1.0,10.0,0,0")");
    ASSERT_NE(nullptr, board);
    struct Case
    {
        const char* name;
        uint32_t onState;
        Vector4<float> colour;
        uint32_t frameCap;
    };
    const Case cases[] = {
        {"puzzle1000", 1, {1, 0, 0, 1}, UINT32_MAX},     // score 2: rated 1, perfect
        {"puzzle1002", 1, {0.9f, 0.9f, 0.9f, 0.9f}, 13}, // hints used: s = 0.9
        {"puzzle1003", 1, {0.5f, 0.5f, 0.5f, 0.5f}, 11}, // halfway
        {"puzzle1004", 0, {0, 0, 1, 1}, UINT32_MAX},     // new
        {"puzzle1005", 1, {0, 0, 0, 0}, 9},              // a negative score counts as 0
        {"puzzle1006", 0, {0, 0, 1, 1}, UINT32_MAX},
    };
    ASSERT_EQ(std::size(cases), board->GetIconCount());
    for (size_t i = 0; i < board->GetIconCount(); ++i)
    {
        const CButton& icon = board->GetIcon(i);
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(cases[i].name, icon.attributes);
        EXPECT_EQ(cases[i].onState, icon.stateSet);
        EXPECT_TRUE(icon.active); // every puzzle is available
        ExpectVector(cases[i].colour, icon.colour);
        EXPECT_EQ(cases[i].frameCap, icon.frameCap);
    }
}

TEST_F(FrontLayersTest, TheBoardPullsBackLikeARubberBandAndCoastsToAStop)
{
    // One icon per row, far taller than the screen: the nudge may run from -(extent) to 0 in y.
    CLayerSmallFront* board = MakeBoard(R"(origin="4,0" grid="1,10" damping="0.5")");
    ASSERT_NE(nullptr, board);
    const Vector4<float> range = board->GetNudgeRange();
    ASSERT_LT(range.y, range.w);
    const float top = range.w;

    // Dragged 2 units past the top, the board goes 1 past; the pond follows.
    board->SetNudge(Vector2<float>(board->GetNudge().x, top));
    board->SetTarget(Vector2<float>(board->GetNudge().x, top + 2.0f));
    board->Update(0.1f);
    EXPECT_NEAR(top + 1.0f, board->GetNudge().y, 1e-4f);
    EXPECT_NEAR(top + 1.0f, m_pond->GetNudge().y, 1e-4f);
    // No time passing measures no velocity (and no NaN).
    board->Update(0.0f);
    EXPECT_TRUE(std::isfinite(board->GetVelocity().y));

    // Released 1 past while already moving back: the spring's 6 units per second per unit.
    board->SetTarget(kUnsetVector2f);
    board->SetVelocity(Vector2<float>(0.0f, -0.1f));
    board->Update(0.01f);
    EXPECT_NEAR(-6.0f, board->GetVelocity().y, 1e-4f);
    for (int i = 0; i < 400; ++i)
        board->Update(0.02f);
    EXPECT_NEAR(top, board->GetNudge().y, 0.05f);
    EXPECT_EQ(0.0f, board->GetVelocity().y);

    // Inside the range the velocity decays at the damping rate, and stops below a pixel a second.
    board->SetNudge(Vector2<float>(board->GetNudge().x, top - 1.0f));
    board->SetVelocity(Vector2<float>(0.0f, -1.0f));
    board->Update(0.1f);
    EXPECT_NEAR(-1.0f + 0.05f, board->GetVelocity().y, 1e-4f);
    board->SetVelocity(Vector2<float>(0.0f, -0.02f)); // below 9/320 of a unit
    board->Update(0.1f);
    EXPECT_EQ(0.0f, board->GetVelocity().y);
}

TEST_F(FrontLayersTest, ATapOpensThePuzzleAndADragOrALockedIconDoesNot)
{
    CLayerSmallFront* board = MakeBoard(R"(origin="1,1" grid="2,2" bounds="4,1")");
    ASSERT_NE(nullptr, board);
    GrowIn(*board);
    // The icon as the board shows it: a narrow board slides in from the side, so add the nudge.
    const Vector2<float> first = Pixel(Vector2<float>(1, 1) + m_pond->GetNudge());

    // A tap: press and release in place.
    EXPECT_FALSE(
        Offer(*board, InputEvent::kButtonDown, first.x, first.y, InputEvent::kLeft, InputEvent::kLeft));
    EXPECT_TRUE(board->IsPressed());
    Offer(*board, InputEvent::kButtonUp, first.x, first.y, 0, InputEvent::kLeft);
    ASSERT_EQ(1u, m_services.posts.size());
    EXPECT_EQ("puzzleinfo(puzzle1000)", m_services.posts[0]);

    // A drag from the icon clears the press: the release clicks nothing, and the board moved.
    const Vector2<float> before = m_pond->GetNudge();
    Offer(*board, InputEvent::kButtonDown, first.x, first.y, InputEvent::kLeft, InputEvent::kLeft);
    Offer(*board, InputEvent::kMotion, first.x, first.y + 64.0f, InputEvent::kLeft, 0);
    EXPECT_FALSE(board->IsPressed());
    EXPECT_NEAR(before.y + 64.0f * 9.0f / 320.0f, board->GetTarget().y, 1e-4f);
    Offer(*board, InputEvent::kButtonUp, first.x, first.y + 64.0f, 0, InputEvent::kLeft);
    EXPECT_EQ(1u, m_services.posts.size());
    EXPECT_EQ(kUnsetVector2f, board->GetTarget());

    // A locked icon (as an unavailable puzzle's would be) takes no tap.
    board->GetIcon(0).active = false;
    GrowIn(*board);
    const Vector2<float> locked = Pixel(Vector2<float>(1, 1) + m_pond->GetNudge());
    Offer(*board, InputEvent::kButtonDown, locked.x, locked.y, InputEvent::kLeft, InputEvent::kLeft);
    Offer(*board, InputEvent::kButtonUp, locked.x, locked.y, 0, InputEvent::kLeft);
    EXPECT_EQ(1u, m_services.posts.size());
}

TEST_F(FrontLayersTest, APressUnderAPaneOverTheBoardOpensNoPuzzleButADragFromItScrolls)
{
    // A pane over the left half of the screen, as the menu strip lies over the top of the board.
    CSingleton<CPreferences>::Toggle(false);
    m_folder.WriteApp("preferences.xml", "<preferences/>");
    m_pond = MakePond(R"(<layer type="Text" name="menu" origin="top,centre" placement="-4.5,0,4.5,14"><Div>m</Div></layer>
        <layer type="SmallFront" name="board" heighty="0.5" origin="1,1" grid="2,2" bounds="4,1">
        <button type="lily" action="puzzleinfo"/></layer>)");
    CLayerSmallFront* board = dynamic_cast<CLayerSmallFront*>(m_pond->FindLayer("board"));
    CLayer* menu = m_pond->FindLayer("menu");
    ASSERT_NE(nullptr, board);
    ASSERT_TRUE(menu && menu->GetPane());
    menu->GetPane()->Place();
    GrowIn(*board);
    const Vector2<float> covered = Pixel(Vector2<float>(1, 1) + m_pond->GetNudge());
    const Vector2<float> open = Pixel(Vector2<float>(7, 1) + m_pond->GetNudge());
    ASSERT_TRUE(menu->GetPane()->HitTest(covered));
    ASSERT_FALSE(menu->GetPane()->HitTest(open));

    // A tap on the icon under the pane opens nothing; one beside the pane does.
    Offer(*board, InputEvent::kButtonDown, covered.x, covered.y, InputEvent::kLeft, InputEvent::kLeft);
    EXPECT_FALSE(board->IsPressed());
    Offer(*board, InputEvent::kButtonUp, covered.x, covered.y, 0, InputEvent::kLeft);
    EXPECT_TRUE(m_services.posts.empty());
    Offer(*board, InputEvent::kButtonDown, open.x, open.y, InputEvent::kLeft, InputEvent::kLeft);
    Offer(*board, InputEvent::kButtonUp, open.x, open.y, 0, InputEvent::kLeft);
    ASSERT_EQ(1u, m_services.posts.size());
    EXPECT_EQ("puzzleinfo(puzzle1004)", m_services.posts[0]);

    // A drag from under the pane still scrolls the board.
    const Vector2<float> before = m_pond->GetNudge();
    Offer(*board, InputEvent::kButtonDown, covered.x, covered.y, InputEvent::kLeft, InputEvent::kLeft);
    Offer(*board, InputEvent::kMotion, covered.x, covered.y + 64.0f, InputEvent::kLeft, 0);
    EXPECT_NEAR(before.y + 64.0f * 9.0f / 320.0f, board->GetTarget().y, 1e-4f);
    Offer(*board, InputEvent::kButtonUp, covered.x, covered.y + 64.0f, 0, InputEvent::kLeft);
    EXPECT_EQ(1u, m_services.posts.size());

    // A hidden pane covers nothing.
    menu->SetShown(false);
    GrowIn(*board);
    const Vector2<float> uncovered = Pixel(Vector2<float>(1, 1) + m_pond->GetNudge());
    Offer(*board, InputEvent::kButtonDown, uncovered.x, uncovered.y, InputEvent::kLeft, InputEvent::kLeft);
    Offer(*board, InputEvent::kButtonUp, uncovered.x, uncovered.y, 0, InputEvent::kLeft);
    ASSERT_EQ(2u, m_services.posts.size());
    EXPECT_EQ("puzzleinfo(puzzle1000)", m_services.posts[1]);
}

TEST_F(FrontLayersTest, PuzzleInfoFlipsToThePaneWithALoaderAndDimsAnUnsolvedResult)
{
    CLayerSmallFront* board = MakeBoard("", R"(puzzle1002="5,1.000000,10.0,0,0")");
    ASSERT_NE(nullptr, board);
    EXPECT_TRUE(board->HandleEvent(InputEvent::Command("cancel", "")));
    EXPECT_TRUE(s_opened.empty());

    EXPECT_TRUE(board->HandleEvent(InputEvent::Command("puzzleinfo", "puzzle1000")));
    ASSERT_EQ(std::vector<std::string>{"puzzle"}, s_opened);
    const CScreenFlip* flip = CScreenFlip::Peek();
    ASSERT_NE(nullptr, flip);
    EXPECT_EQ(CScreenFlip::kTurningToPane, flip->GetState());
    EXPECT_TRUE(flip->HasCallback()); // the loader, run once the pane is up
    ExpectVector(kZeroVector4f, s_pane->GetById("best")->GetColour());
    ExpectVector(kZeroVector4f, s_pane->GetById("best")->GetShadowColour());
    ExpectVector(Vector4<float>(0x20 / 255.0f, 0x40 / 255.0f, 0x80 / 255.0f, 0.5f),
                 s_pane->GetById("unsolved")->GetColour());

    // A solved puzzle's pane keeps its colours.
    CSingleton<CScreenFlip>::Toggle(false);
    EXPECT_TRUE(board->HandleEvent(InputEvent::Command("puzzleinfo", "puzzle1002")));
    EXPECT_EQ(2u, s_opened.size());
    ExpectVector(kWhite, s_pane->GetById("best")->GetColour());
    EXPECT_FLOAT_EQ(1.0f, s_pane->GetById("unsolved")->GetColour().w);
}

TEST_F(FrontLayersTest, AButtonRowTakesAPressByTheFirstButtonAndIgnoresThePointerWhileNudging)
{
    m_folder.WriteApp("preferences.xml", "<preferences/>");
    m_pond = MakePond(R"(<layer type="Buttons" name="row"><button type="lily" action="a" overlaps="false"
        position="1,1"/><other/><button type="lily" action="b" overlaps="false" position="1.5,1"/></layer>
        <layer type="Text" name="pane"><Div/></layer>)");
    CLayerButtons* row = dynamic_cast<CLayerButtons*>(m_pond->FindLayer("row"));
    ASSERT_NE(nullptr, row);
    ASSERT_EQ(2u, row->GetButtonCount());
    auto tap = [&](const Vector2<float>& at)
    {
        const Vector2<float> p = Pixel(at);
        const bool taken = row->HandleEvent(InputEvent::Pointer(InputEvent::kButtonDown, p, 1, 1));
        row->HandleEvent(InputEvent::Pointer(InputEvent::kButtonUp, p, 0, 1));
        return taken;
    };
    m_clock.Advance(1000);
    EXPECT_TRUE(tap(Vector2<float>(1.25f, 1.0f))); // on both: the first in document order
    EXPECT_EQ(std::vector<std::string>{"a()"}, m_services.posts);

    // Nudged half a cell: for 90 ms the row takes nothing, then it answers where it moved to.
    m_pond->SetNudge(Vector2<float>(0.5f, 0.0f));
    EXPECT_FALSE(tap(Vector2<float>(2.0f, 1.0f)));
    m_clock.Advance(100);
    EXPECT_TRUE(tap(Vector2<float>(2.0f, 1.0f)));
    EXPECT_EQ(2u, m_services.posts.size());
    EXPECT_EQ("b()", m_services.posts[1]);

    // A pane written inside its layer takes input while the layer lives, shown or not.
    CLayer* pane = m_pond->FindLayer("pane");
    ASSERT_NE(nullptr, pane->GetPane());
    pane->SetShown(false);
    EXPECT_TRUE(pane->GetPane()->IsRegistered());
}

} // namespace
