#include "PlayFixture.h"

#include <chrono>

using PlayData::Step;

namespace
{
class SavedStateTest : public PlayFixture
{
  protected:
    // The state a previous run left, with a record of another puzzle beside it.
    void Seed(const std::string& puzzle, const std::string& history)
    {
        m_folder.WriteFile("preferences.xml", "<preferences currenthistory=\"" + history +
                                                  "\" currentpuzzle=\"" + puzzle +
                                                  "\" puzzle0999=\"5,1.500000,20.000000,0,1\" "
                                                  "unlocked=\"1001\"/>\n");
    }
};
} // namespace

TEST_F(SavedStateTest, HistorySurvivesARestart)
{
    Start();
    CPuzzle* puzzle = Play("puzzle1000");
    puzzle->LandPose(Step(1));
    puzzle->LandPose(Step(2));
    // Written to the file at once, not after the delayed save.
    const std::string file = PreferencesFile();
    EXPECT_NE(file.find("currenthistory=\"63625352,63625332,63623332\""), std::string::npos);
    EXPECT_NE(file.find("currentpuzzle=\"puzzle1000\""), std::string::npos);

    Restart();
    puzzle = CPuzzle::Instance();
    ASSERT_TRUE(puzzle->Load(Preference("currentpuzzle")));
    puzzle->RestoreHistory(1);
    EXPECT_EQ(puzzle->GetHistory(), (std::vector<Pose>{Step(0), Step(1), Step(2)}));
    EXPECT_EQ(m_services.skeleton.pose, Step(2));
    EXPECT_TRUE(m_services.buttons["back"]);
    EXPECT_FALSE(m_services.buttons["redo"]);

    // Play begins at the next update: the rating label, once.
    RunFor(200);
    EXPECT_EQ(m_services.Count("floater Easy"), 1);
    RunFor(200);
    EXPECT_EQ(m_services.Count("floater Easy"), 1);
    EXPECT_EQ(puzzle->GetStartTime(), 100u);
}

TEST_F(SavedStateTest, AHistoryThatDoesNotReplayStartsFromHomeAndTouchesNothingElse)
{
    const char* cases[][2] = {
        {"puzzle1000", "63625352,43423332"},          // four limbs at once
        {"puzzle1000", "63625352,63625332,63625331"}, // a good step, then a cell without a knob
        {"puzzle1000", "63625352,63625332,63625353"}, // two limbs on one knob
        {"puzzle1000", "63625352,63625332,6362333"},  // a field of seven characters
        {"puzzle1000", "63625352,63625332,63623392"}, // a cell off the board
        {"puzzle1000", "63625353,63625332"},          // not from the home pose
        {"puzzle1001", "63625352,63625332"},          // another puzzle's history
        {"puzzle1000", ""},                           // nothing saved
    };
    for (const auto& [name, history] : cases)
    {
        Seed(name, history);
        Start();
        CPuzzle* puzzle = CPuzzle::Instance();
        puzzle->Load("puzzle1000");
        puzzle->RestoreHistory(1);
        EXPECT_EQ(puzzle->GetHistory(), std::vector<Pose>{Step(0)}) << history;
        EXPECT_EQ(m_services.skeleton.pose, Step(0));
        EXPECT_FALSE(m_services.buttons["back"]);
        Restart();
        EXPECT_EQ(Preference("currenthistory"), history);
        EXPECT_EQ(Preference("currentpuzzle"), name);
        EXPECT_EQ(Preference("puzzle0999"), "5,1.500000,20.000000,0,1");
        EXPECT_EQ(Preference("unlocked"), "1001");
        StopAll();
    }
    // Flag 0 starts from home whatever was saved.
    Seed("puzzle1000", "63625352,63625332");
    Start();
    CPuzzle::Instance()->Load("puzzle1000");
    CPuzzle::Instance()->RestoreHistory(0);
    EXPECT_EQ(CPuzzle::Instance()->GetHistory(), std::vector<Pose>{Step(0)});
}

TEST_F(SavedStateTest, ASolvedPuzzleSavesTheNextOne)
{
    Start();
    CPuzzle* puzzle = Play("puzzle1000");
    for (int i = 1; i <= 4; ++i)
        puzzle->LandPose(Step(i));
    EXPECT_EQ(Preference("currentpuzzle"), "puzzle1001");
    EXPECT_EQ(Preference("currenthistory"), "");
    // A limb moved back from the goal leaves the goal at the bottom of the redo stack: still solved.
    puzzle->LandPose(Step(3));
    ASSERT_EQ(puzzle->GetRedo(), std::vector<Pose>{Step(4)});
    EXPECT_TRUE(puzzle->IsSolved());
    EXPECT_EQ(Preference("currentpuzzle"), "puzzle1001");
    EXPECT_EQ(Preference("currenthistory"), "");

    // After the last puzzle there is nothing to resume.
    puzzle = Play("puzzle1001");
    for (int i = 1; i <= 4; ++i)
        puzzle->LandPose(Step(i));
    Restart();
    EXPECT_EQ(Preference("currentpuzzle"), "");
    EXPECT_EQ(Preference("currenthistory"), "");
    EXPECT_EQ(CPuzzles::Instance()->GetBestMoves("puzzle1001"), 4);
}

TEST_F(SavedStateTest, AVeryLongHistoryRestoresAtOnce)
{
    // A limb moved back and forth 200000 times: read field by field from the start each time,
    // this took minutes.
    constexpr size_t kMoves = 200000;
    std::string history = Pose::ToText(Step(0));
    for (size_t n = 1; n <= kMoves; ++n)
        history += "," + Pose::ToText(Step(n % 2));
    Seed("puzzle1000", history);
    Start();
    CPuzzle* puzzle = CPuzzle::Instance();
    ASSERT_TRUE(puzzle->Load("puzzle1000"));
    const auto start = std::chrono::steady_clock::now();
    puzzle->RestoreHistory(1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    ASSERT_EQ(puzzle->GetHistory().size(), kMoves + 1);
    EXPECT_EQ(m_services.skeleton.pose, Step(kMoves % 2));
}
