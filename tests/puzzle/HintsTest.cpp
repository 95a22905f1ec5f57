// The hints: the route along the authored solution and back through the history, the shipped
// puzzles' routes from anywhere play can reach, and the button's availability, fade and presses.
#include "puzzle/CHintServices.h"
#include "puzzle/CHints.h"
#include "puzzle/MoveMapFixture.h"
#include "puzzle/PlayFixture.h"
#include "puzzle/PuzzleDescription.h"
#include "tools/CPuzzleGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

namespace
{
// Limbs hop one cell at most, so a limb two cells from every step's cell is off the solution.
void MakeOneCellMap(CMoveMap& map)
{
    MoveMapRules rules;
    rules.hop = 1;
    map.EditEntries() = GenerateMoveMap(rules);
}

// The pose with limb (0 left hand .. 3 right foot) on cell.
Pose With(Pose pose, int limb, int x, int y)
{
    return Pose::SetCell(pose, limb, Vector2<int>(x, y));
}

// Hands on row 2, feet on row 4; the authored solution is the right hand's hop.
const Pose kHome = With(With(With(With(Pose(), 0, 2, 2), 1, 3, 2), 2, 2, 4), 3, 3, 4);
const Pose kGoal = With(kHome, 1, 4, 2);

std::vector<Pose> Route(const CMoveMap& map, const std::vector<Pose>& steps, const std::vector<Pose>& history)
{
    CHints::Board board;
    board.steps = &steps;
    board.history = &history;
    board.map = &map;
    board.current = history.back();
    board.goal = steps.back();
    return CHints::BuildPath(board);
}
} // namespace

TEST(HintsRoute, FollowsTheSolutionAndRejoinsItThroughTheHistory)
{
    CMoveMap map;
    MakeOneCellMap(map);
    const std::vector<Pose> steps = {kHome, kGoal};
    const Pose left1 = With(kHome, 0, 1, 2), left2 = With(kHome, 0, 0, 2);
    const Pose footOut = With(left2, 2, 1, 4), away = With(left2, 3, 4, 4);
    struct Case
    {
        const char* what;
        std::vector<Pose> history;
        std::vector<Pose> route;
    } cases[] = {
        {"on the solution", {kHome}, {kGoal}},
        {"one hop off joins the solution", {kHome, left1}, {kHome, kGoal}},
        // Two cells off: no hop reaches a step, so the route goes back the way the player came.
        {"back through the history", {kHome, left1, left2}, {left1, kHome, kGoal}},
        // The detour and the loop of the history are cut short by a direct hop.
        {"a shortcut past the detour",
         {kHome, left1, left2, footOut, left2, away},
         {With(away, 0, 1, 2), left1, kHome, kGoal}},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(Route(map, steps, c.history), c.route) << c.what;
        EXPECT_EQ(CHints::NextStep({&steps, &c.history, &map, c.history.back(), kGoal}, kHome), kGoal) << c.what;
    }
    const std::vector<Pose> none;
    EXPECT_EQ(CHints::NextStep({&none, &none, &map, kHome, kGoal}, kHome), CHints::kNoHint);
    EXPECT_EQ(CHints::NextStep({&steps, &none, &map, kHome, kGoal}, kGoal), CHints::kNoHint);
    // A solution that is no chain of hops is never shown.
    const std::vector<Pose> broken = {kHome, With(kGoal, 1, 6, 2)};
    EXPECT_TRUE(Route(map, broken, {kHome}).empty());
}

TEST(HintsRoute, FindsTheFirstLimbThatStartsAWholeChainOfDirectHops)
{
    CMoveMap map;
    MakeOneCellMap(map);
    // Either hand may go first; the lower index wins.
    EXPECT_EQ(CHints::FindMovableLimb(map, kHome, With(kGoal, 0, 1, 2)), 0);
    EXPECT_EQ(CHints::FindMovableLimb(map, kHome, kGoal), 1);
    // Two cells is no hop, and an equal pose needs no limb.
    EXPECT_EQ(CHints::FindMovableLimb(map, kHome, With(kHome, 0, 0, 2)), CHints::kNoLimb);
    EXPECT_EQ(CHints::FindMovableLimb(map, kHome, kHome), CHints::kNoLimb);

    // The key pose ends the longest hop; a one-pose route is its own key.
    const std::vector<Pose> route = {With(kHome, 0, 1, 2), With(With(kHome, 0, 1, 2), 3, 5, 4), kGoal};
    EXPECT_EQ(CHints::KeyPose(route), route[1]);
    EXPECT_EQ(CHints::KeyPose({kGoal}), kGoal);
}

// From poses that random legal play reaches in every shipped puzzle, a route is empty or a chain
// of legal hops on the puzzle's knobs that ends at the goal.
TEST(HintsContent, EveryShippedPuzzleGivesWholeRoutesFromWherePlayLeads)
{
    CMoveMap map;
    ASSERT_TRUE(map.LoadBinaryFile(FROG_DATA_DIR "/movemap.mvm"));
    const CPuzzleGenerator generator(map);
    std::mt19937 random(17);
    int routes = 0;
    for (const auto& file : std::filesystem::directory_iterator(std::string(FROG_SOURCE_DIR) + "/data/puzzle"))
    {
        PuzzleDescription puzzle;
        ASSERT_TRUE(puzzle.Parse(TempFolder::ReadFile(file.path().string()), "untitled")) << file.path();
        const CPuzzleGenerator::Layout layout = CPuzzleGenerator::LayoutOf(puzzle.knobs);
        for (int walk = 0; walk < 8; ++walk)
        {
            std::vector<Pose> history = {puzzle.home}, moves;
            for (int step = 0; step < 12; ++step)
            {
                generator.GetMoves(layout, history.back(), moves);
                if (moves.empty())
                    break;
                history.push_back(moves[random() % moves.size()]);
                const std::vector<Pose> route = Route(map, puzzle.hintSteps, history);
                Pose from = history.back();
                for (Pose pose : route)
                {
                    generator.GetMoves(layout, from, moves);
                    ASSERT_NE(std::find(moves.begin(), moves.end(), pose), moves.end())
                        << file.path() << ": " << Pose::ToText(from).c_str() << " to " << Pose::ToText(pose).c_str();
                    from = pose;
                }
                if (!route.empty())
                {
                    EXPECT_EQ(route.back(), puzzle.goal) << file.path();
                    ++routes;
                }
            }
        }
    }
    EXPECT_GT(routes, 100) << "most of the time a route is found";
}

TEST(HintsButton, OfferedAfterHalfTheParUndoneOrOneAndAHalfTimesItPlayed)
{
    struct Case
    {
        int32_t undos, moves, par;
        bool offered;
    } cases[] = {{0, 14, 10, false}, {0, 15, 10, true}, {4, 14, 10, false}, {5, 0, 10, true},
                 {0, 0, 0, true},    {1, 4, 3, true},   {0, 4, 3, false}};
    for (const Case& c : cases)
        EXPECT_EQ(CHints::IsOffered(c.undos, c.moves, c.par), c.offered) << c.undos << " " << c.moves << " " << c.par;

    EXPECT_TRUE(CHints::IsInsideButton({0.5f, 0.5f}, {0.5f, 0.625f}, 0.25f));
    EXPECT_FALSE(CHints::IsInsideButton({0.5f, 0.875f}, {0.5f, 0.625f}, 0.25f)) << "the rim is outside";
    EXPECT_EQ(CHints::DrawFactors(2.5f), (std::vector<float>{1.0f, 1.0f, 0.5f}));
    EXPECT_EQ(CHints::DrawFactors(1.0f), (std::vector<float>{1.0f}));
    EXPECT_TRUE(CHints::DrawFactors(0.0f).empty());
    EXPECT_EQ(CHints::DrawFactors(1e30f).size(), 4u) << "a huge alpha draws a few times, and ends";
}

namespace
{
class FakeHintServices : public CHintServices
{
  public:
    FakeHintServices() : m_previous(CHintServices::Install(this)) {}
    ~FakeHintServices() override { CHintServices::Install(m_previous); }

    bool IsTutorialBusy() override { return tutorial; }
    void StartFlip() override { ++flips; }
    void GetLimbPoints(std::vector<Vector2<float>>& points) override { points = limbs; }
    void ShowHint(Pose pose) override { shown.push_back(pose); }

    bool tutorial = false;
    int flips = 0;
    std::vector<Vector2<float>> limbs;
    std::vector<Pose> shown;

  private:
    CHintServices* m_previous;
};

class HintsPlay : public PlayFixture
{
  protected:
    void SetUp() override
    {
        PlayFixture::SetUp();
        Start();
        // The button at (0.5, 1) with radius 0.125, fully shown after 0.4 s.
        WriteRules("<puzzle closeenough=\"0.25\"/><interval animation=\"20\"/>\n"
                   "<hints buttonfade=\"0.4\" buttonmax=\"1\" buttonposition=\"0.5,1\" buttonradius=\"0.125\""
                   " enabled=\"true\" spoonfeed=\"false\"/>");
        m_puzzle = Play("puzzle1000");
        m_hints = CHints::Instance();
    }
    void TearDown() override
    {
        CSingleton<CHints>::Toggle(false);
        PlayFixture::TearDown();
    }

    void WriteRules(const std::string& sections)
    {
        m_folder.WriteFile("data/rules.xml", "<rules>" + sections + "</rules>\n");
        CRules::Instance()->Load();
    }

    CPuzzle* m_puzzle = nullptr;
    CHints* m_hints = nullptr;
    FakeHintServices m_hintServices;
};
} // namespace

TEST_F(HintsPlay, TheButtonFadesInWhenOfferedAndShowsTheKeyThenTheNextPose)
{
    const Vector2<float> centre(0.5f, 1.0f);
    m_hints->OnSchedule(0.2f);
    EXPECT_EQ(m_hints->GetState(), CHints::kHidden) << "par 4: nothing played, nothing undone";
    EXPECT_FALSE(m_hints->OnClick(centre));

    // Two undos are half the par.
    m_puzzle->LandPose(PlayData::Step(1));
    m_puzzle->LandPose(PlayData::Step(2));
    m_puzzle->Undo();
    m_puzzle->Undo();
    m_hints->OnSchedule(0.1f);
    EXPECT_EQ(m_hints->GetState(), CHints::kKeyPose);
    EXPECT_FLOAT_EQ(m_hints->GetAlpha(), 0.25f);
    EXPECT_FALSE(m_hints->OnClick(centre)) << "not above half its alpha yet";
    m_hints->OnSchedule(0.2f);
    EXPECT_FALSE(m_hints->OnClick(centre + Vector2<float>(0.125f, 0.0f))) << "on the rim";

    // Key pose: the end of the route's longest hop, the first of four equal ones after the next.
    EXPECT_TRUE(m_hints->OnClick(centre));
    EXPECT_EQ(m_hints->GetHint(), PlayData::Step(2));
    EXPECT_EQ(m_hintServices.shown, std::vector<Pose>{PlayData::Step(2)});
    // Then the next hop, then nothing.
    EXPECT_TRUE(m_hints->OnClick(centre));
    EXPECT_EQ(m_hints->GetState(), CHints::kNextPose);
    EXPECT_EQ(m_hints->GetHint(), PlayData::Step(1));
    EXPECT_TRUE(m_hints->OnClick(centre));
    EXPECT_FALSE(m_hints->HasHint());
    EXPECT_EQ(m_hints->GetState(), CHints::kKeyPose);
    EXPECT_EQ(m_puzzle->GetHintCount(), 2);

    // Reaching the hinted pose (or any move) takes the hint away; a limb near the button fades it.
    EXPECT_TRUE(m_hints->OnClick(centre));
    m_puzzle->LandPose(PlayData::Step(1));
    m_hintServices.limbs = {centre + Vector2<float>(0.24f, 0.0f)};
    m_hints->OnSchedule(0.2f);
    EXPECT_FALSE(m_hints->HasHint());
    EXPECT_FLOAT_EQ(m_hints->GetAlpha(), 0.25f);
    m_hintServices.tutorial = true;
    m_hints->OnSchedule(0.2f);
    EXPECT_EQ(m_hints->GetState(), CHints::kHidden);
}

TEST_F(HintsPlay, CommandsShowAndClearTheGhost)
{
    EXPECT_TRUE(m_hints->OnMessage("hint"));
    EXPECT_EQ(m_hintServices.flips, 1);
    EXPECT_EQ(m_hints->GetState(), CHints::kKeyPose);
    EXPECT_EQ(m_hints->GetHint(), PlayData::Step(2));
    EXPECT_FALSE(m_hints->OnMessage("_reset")) << "left for the puzzle";
    EXPECT_FALSE(m_hints->HasHint());
    EXPECT_FALSE(m_hints->OnMessage("ingame"));

    // Spoon-feed: the next hop at every change, without a press.
    WriteRules("<hints enabled=\"true\" spoonfeed=\"true\"/>");
    m_hints->OnSchedule(0.1f);
    EXPECT_EQ(m_hints->GetHint(), PlayData::Step(1));
    m_puzzle->LandPose(PlayData::Step(1));
    m_hints->OnSchedule(0.1f);
    EXPECT_EQ(m_hints->GetHint(), PlayData::Step(2));

    // Disabled: nothing shown, the command passes on.
    WriteRules("<hints enabled=\"false\"/>");
    EXPECT_FALSE(m_hints->OnMessage("hint"));
    m_hints->OnSchedule(0.1f);
    EXPECT_FALSE(m_hints->HasHint());
}

TEST_F(HintsPlay, WithoutARouteTheHintIsHomeAndAtHomeNothingIsCounted)
{
    m_folder.WriteFile("data/puzzle/puzzle1002.xml",
                       "<puzzle><layout><knob position=\"2,5\"/><knob position=\"3,5\"/><knob position=\"2,6\"/>"
                       "<knob position=\"3,6\"/><knob position=\"2,4\"/></layout>"
                       "<home pose=\"63625352\"/><goal pose=\"63625342\"/></puzzle>\n");
    m_puzzle = Play("puzzle1002");
    EXPECT_EQ(m_hints->ChooseHint(), CHints::kNoHint);
    EXPECT_EQ(m_puzzle->GetHintCount(), 0);
    m_puzzle->LandPose(Pose(0x63625342u));
    EXPECT_EQ(m_hints->ChooseHint(), m_puzzle->GetHome()) << "sent back to the start";
    EXPECT_EQ(m_puzzle->GetHintCount(), 1);
}
