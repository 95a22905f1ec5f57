// The board layer without a context: which knob stands on which cell of a loaded puzzle, when the
// knobs are rebuilt, how they dim and fade, and the arithmetic of the soft shadow.
#include "../puzzle/PlayFixture.h"

#include "Graphics/CMaterialSet.h"
#include "Graphics/CTextureSet.h"
#include "core/CXmlNode.h"
#include "core/Random.h"
#include "creatures/EnticeGlowColour.h"
#include "platform/CGame.h"
#include "scene/CLayerBoard.h"

#include <string>
#include <vector>

namespace
{
// Goal: left hand (2,2) two cells above the left foot (2,4); right hand (6,3) two cells east of
// the right foot (4,3). Home on rows 5 and 6.
const char* kCompassPuzzle = "<puzzle title=\"Compass\">\n"
                             "  <layout>\n"
                             "    <knob position=\"2,2\"/><knob position=\"6,3\"/><knob position=\"2,4\"/>\n"
                             "    <knob position=\"4,3\"/><knob position=\"1,5\"/><knob position=\"2,5\"/>\n"
                             "    <knob position=\"1,6\"/><knob position=\"2,6\"/><knob position=\"5,5\"/>\n"
                             "  </layout>\n"
                             "  <home pose=\"62615251\"/>\n"
                             "  <goal pose=\"34423622\"/>\n"
                             "</puzzle>\n";

// Two drops and the limb knobs of both puzzles, except "footre": its goal cell shows nothing.
const char* kBoard = "<layer type=\"board\" name=\"board\" shadowcolour=\"0,0.5,0,0.8\">"
                     "<knob type=\"drop\" radius=\"0.4\"/><knob type=\"drop\" radius=\"0.3\"/>"
                     "<knob type=\"handln\"/><knob type=\"handrn\"/><knob type=\"footln\"/>"
                     "<knob type=\"footrn\"/><knob type=\"handre\"/>"
                     "<fly name=\"first\"/><fly name=\"second\"/>"
                     "</layer>";

std::vector<std::string> s_flies;

class BoardTest : public PlayFixture
{
  protected:
    void SetUp() override
    {
        PlayFixture::SetUp();
        CSingleton<CGame>::Toggle(false);
        GlobalRandom().Seed(77);
        m_folder.WriteFile("data/puzzle/puzzle1002.xml", kCompassPuzzle);
        Start();
        s_flies.clear();
        m_previousFly = CLayerBoard::SetFlyLoader([](const CXmlNode& fly)
                                                  { s_flies.push_back(fly.GetAttribute("name").c_str()); });
    }
    void TearDown() override
    {
        m_board.Reset();
        CLayerBoard::SetFlyLoader(m_previousFly);
        SetEnticeGlowColour(Vector4<float>(1, 1, 1, 1));
        CSingleton<CGame>::Toggle(false);
        CMaterialSet::Toggle(false);
        CTextureSet::Toggle(false);
        PlayFixture::TearDown();
    }

    CLayerBoard* LoadBoard(const char* text)
    {
        CXmlDocument document;
        EXPECT_TRUE(document.Parse(text, false)) << text;
        m_board = CLayer::Create(nullptr, *document.GetRoot());
        return dynamic_cast<CLayerBoard*>(m_board.Get());
    }

    // "type@x,y" for every instance, in order.
    static std::vector<std::string> Placed(const CLayerBoard& board)
    {
        std::vector<std::string> out;
        for (const CLayerBoard::KnobInstance& i : board.GetKnobInstances())
            out.push_back(std::string(i.knob->GetType().c_str()) + "@" + std::to_string(int(i.cell.x)) + "," +
                          std::to_string(int(i.cell.y)));
        return out;
    }

    CRef<CLayer> m_board;
    CLayerBoard::FlyLoader m_previousFly = nullptr;
};

TEST_F(BoardTest, LoadingReadsKnobsColoursAndTheFirstFly)
{
    CLayerBoard* board = LoadBoard(kBoard);
    ASSERT_NE(board, nullptr) << "the kind \"Board\" is registered under any case";
    EXPECT_EQ(board->GetClassName(), "CLayerBoard");
    EXPECT_EQ(board->GetKnobSet().size(), 7u);
    EXPECT_EQ(board->GetShadowColour(), Vector4<float>(0, 0.5f, 0, 0.8f));
    EXPECT_TRUE(board->GetShadowQuad().material);
    EXPECT_EQ(GetEnticeGlowColour(), Vector4<float>(0.5f, 0.5f, 0.4f, 1.0f));
    EXPECT_EQ(s_flies, std::vector<std::string>{"first"});
    EXPECT_TRUE(board->GetKnobInstances().empty()) << "built by the first draw";

    board = LoadBoard("<layer type=\"Board\" glowcolour=\"1,0,0,1\" shadowcolour=\"0,0,0,0\"/>");
    EXPECT_EQ(GetEnticeGlowColour(), Vector4<float>(1, 0, 0, 1));
    EXPECT_FALSE(board->GetShadowQuad().material) << "no shadow without alpha";
    EXPECT_EQ(board->GetShadowColour(), Vector4<float>(0, 0, 0, 0));
    board = LoadBoard("<layer type=\"Board\"/>");
    EXPECT_EQ(board->GetShadowColour(), Vector4<float>(0, 0.25f, 0, 0.6f));
}

TEST_F(BoardTest, KnobsStandOnTheLayoutTheGoalAndTheHome)
{
    CLayerBoard* board = LoadBoard(kBoard);
    board->RebuildKnobs();
    EXPECT_TRUE(board->GetKnobInstances().empty()) << "no puzzle, nothing to show";

    CPuzzle* puzzle = Play("puzzle1000");
    board->RebuildKnobs();
    // Unmarked layout knobs first (row by row), then the goal's limb knobs (hands above feet:
    // north), then drops on the home cells.
    const std::vector<std::string> expected = {"drop@1,4",   "drop@4,4",   "handln@2,3", "handrn@3,3",
                                               "footln@2,4", "footrn@3,4", "drop@2,5",   "drop@3,5",
                                               "drop@2,6",   "drop@3,6"};
    EXPECT_EQ(Placed(*board), expected);
    for (const auto& [cell, knob] : puzzle->GetKnobs())
        EXPECT_TRUE(knob.active) << cell.x << "," << cell.y;
    for (const CLayerBoard::KnobInstance& i : board->GetKnobInstances())
    {
        EXPECT_FALSE(i.dimmed);
        EXPECT_EQ(i.fade, 1.0f);
    }

    // Nothing changes until the puzzle loads a layout again: the random drops stay as they are.
    std::vector<CKnob*> before;
    for (const CLayerBoard::KnobInstance& i : board->GetKnobInstances())
        before.push_back(i.knob.Get());
    for (int n = 0; n < 5; ++n)
        board->RebuildKnobs();
    for (size_t n = 0; n < before.size(); ++n)
        EXPECT_EQ(board->GetKnobInstances()[n].knob.Get(), before[n]);

    // A new layout: the left hand two cells above its foot is "n"; the right hand east of its foot
    // makes both right knobs "e". The set has no "footre": that cell stays bare, the rest still show.
    Play("puzzle1002");
    board->RebuildKnobs();
    const std::vector<std::string> compass = {"drop@5,5", "handln@2,2", "handre@6,3", "footln@2,4",
                                              "drop@1,5", "drop@2,5",   "drop@1,6",   "drop@2,6"};
    EXPECT_EQ(Placed(*board), compass);
    EXPECT_EQ(CLayerBoard::CompassLetter({0, 1}), 's');
    EXPECT_EQ(CLayerBoard::CompassLetter({-2, 1}), 'w');
    EXPECT_EQ(CLayerBoard::CompassLetter({1, -1}), 'n') << "a diagonal counts as along";
}

TEST_F(BoardTest, EqualKnobsAreChosenEvenly)
{
    CLayerBoard* board = LoadBoard(kBoard);
    const CKnob* first = board->GetKnobSet()[0].Get();
    int firsts = 0;
    for (int n = 0; n < 4000; ++n)
        firsts += board->PickKnob("drop").Get() == first;
    EXPECT_NEAR(firsts, 2000, 150);
    EXPECT_EQ(board->PickKnob("handln").Get(), board->GetKnobSet()[2].Get());
    EXPECT_FALSE(board->PickKnob("HANDLN")) << "types compare exactly";
    EXPECT_FALSE(board->PickKnob("footre"));
}

TEST_F(BoardTest, KnobsOutOfReachDimAndFadeAtTheConfiguredPace)
{
    m_folder.WriteFile("data/rules.xml",
                       "<rules><interval animation=\"50\"/><graphics knobfadetime=\"0.2\"/></rules>");
    CRules::Instance()->Load();
    Play("puzzle1000");
    CLayerBoard* board = LoadBoard(kBoard);
    board->RebuildKnobs();
    const auto& knobs = board->GetKnobInstances();
    ASSERT_EQ(knobs.size(), 10u);

    // Targets (1,4) and (2,3.5): (2,3) and (2,4) lie exactly half a cell away, so they dim too.
    board->SetTargets({Vector2<float>(1, 4), Vector2<float>(2, 3.5f)});
    EXPECT_FALSE(knobs[0].dimmed);
    EXPECT_TRUE(knobs[1].dimmed);
    EXPECT_TRUE(knobs[2].dimmed);
    EXPECT_TRUE(knobs[4].dimmed);
    board->SetTargets({Vector2<float>(2, 3.49f)});
    EXPECT_FALSE(knobs[2].dimmed);
    EXPECT_TRUE(knobs[0].dimmed);

    // Each update moves a quarter (50 ms of 200 ms), whatever dt says.
    board->Update(10.0f);
    EXPECT_FLOAT_EQ(knobs[0].fade, 0.75f);
    EXPECT_EQ(knobs[2].fade, 1.0f);
    for (int n = 0; n < 5; ++n)
        board->Update(0.0f);
    EXPECT_EQ(knobs[0].fade, 0.0f);
    board->SetTargets({});
    for (const CLayerBoard::KnobInstance& i : knobs)
        EXPECT_FALSE(i.dimmed);
    board->Update(0.0f);
    EXPECT_FLOAT_EQ(knobs[0].fade, 0.25f);

    EXPECT_EQ(CLayerBoard::FadeStep(16, 0.0f), 1.0f) << "no fade time: at once";
    EXPECT_EQ(CLayerBoard::FadeStep(0, 0.0f), 1.0f);
}

TEST_F(BoardTest, ShadowPassesFollowQualityAndSoftness)
{
    EXPECT_TRUE(CLayerBoard::PlanShadow(0.0f, 0.1f).passes.empty());
    EXPECT_TRUE(CLayerBoard::PlanShadow(-1.0f, 0.1f).passes.empty());

    const CLayerBoard::ShadowPlan single = CLayerBoard::PlanShadow(0.5f, 0.1f);
    ASSERT_EQ(single.passes.size(), 1u);
    EXPECT_EQ(single.passes[0].frog, Vector3<float>(0, 0, 0));
    EXPECT_FLOAT_EQ(single.passes[0].quadDepth, 0.1f);
    EXPECT_EQ(single.growth, Vector4<float>(0, 0, 0, 0));
    EXPECT_EQ(CLayerBoard::PlanShadow(0.9f, 0.0f).passes.size(), 1u) << "no softness: one pass";

    const CLayerBoard::ShadowPlan three = CLayerBoard::PlanShadow(0.6f, 0.2f);
    ASSERT_EQ(three.passes.size(), 3u);
    const float s = 0.866f * 0.2f;
    EXPECT_FLOAT_EQ(three.passes[0].frog.y, -s);
    EXPECT_FLOAT_EQ(three.passes[1].frog.x, -0.866f * s);
    EXPECT_FLOAT_EQ(three.passes[2].frog.y, 0.5f * s);
    EXPECT_FLOAT_EQ(three.passes[2].frog.z, 0.55f);
    EXPECT_FLOAT_EQ(three.passes[2].quadDepth, 0.55f);
    EXPECT_FLOAT_EQ(three.growth.y, 0.0f) << "the top stays";
    EXPECT_FLOAT_EQ(three.growth.w, 2.0f * s);
    EXPECT_EQ(CLayerBoard::PlanShadow(0.75f, 0.2f).passes.size(), 3u);

    const CLayerBoard::ShadowPlan five = CLayerBoard::PlanShadow(0.8f, 0.2f);
    ASSERT_EQ(five.passes.size(), 5u);
    EXPECT_EQ(five.passes[0].frog, Vector3<float>(0, 0, 0.85f));
    EXPECT_FLOAT_EQ(five.passes[3].frog.x, -0.1f);
    EXPECT_FLOAT_EQ(five.passes[4].frog.y, 0.2f);
    EXPECT_FLOAT_EQ(five.passes[4].quadDepth, 0.25f);
    EXPECT_EQ(five.growth, Vector4<float>(0.2f, 0.2f, 0.2f, 0.2f));
}

TEST_F(BoardTest, ShadowColourIsSharedOutAmongThePasses)
{
    const Vector4<float> green(0, 0.25f, 0, 0.6f);
    EXPECT_EQ(CLayerBoard::PassColour(green, 1, false), green);
    const Vector4<float> three = CLayerBoard::PassColour(green, 3, false);
    EXPECT_NEAR(three.y, 0.0833f, 1e-4f);
    EXPECT_NEAR(three.w, 0.2f, 1e-6f);
    const Vector4<float> five = CLayerBoard::PassColour(green, 5, false);
    EXPECT_NEAR(five.y, 0.05f, 1e-6f);
    EXPECT_EQ(five.w, 0.125f) << "0.12 raised to the floor";

    // A multiplying shadow: each pass multiplies by the root, so the passes multiply to the whole.
    const Vector4<float> dark(0.125f, 0.5f, 1.0f, 0.6f);
    const Vector4<float> cube = CLayerBoard::PassColour(dark, 3, true);
    EXPECT_NEAR(cube.x, 0.5f, 1e-5f);
    EXPECT_NEAR(cube.y * cube.y * cube.y, 0.5f, 1e-5f);
    EXPECT_NEAR(cube.z, 1.0f, 1e-6f);
    EXPECT_NEAR(CLayerBoard::PassColour(dark, 5, true).w, std::pow(0.6f, 0.2f), 1e-5f);
    EXPECT_EQ(CLayerBoard::PassColour(Vector4<float>(0, 0, 0, 0.05f), 1, false).w, 0.125f);
}

} // namespace
