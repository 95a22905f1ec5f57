#include "platform/CGame.h"
#include "platform/CMode.h"
#include "platform/CStartup.h"
#include "puzzle/PlayFixture.h"

#include <gtest/gtest.h>

namespace
{
class StartupTest : public PlayFixture
{
  protected:
    void TearDown() override
    {
        Quit();
        PlayFixture::TearDown();
    }

    // Main's start: the game, then the start-up sequence last.
    void Launch()
    {
        Start();
        CSingleton<CGame>::Instance();
        CSingleton<CStartup>::Instance();
    }
    // Main's end: the shutdown broadcast and the modes, then the global services.
    void Quit()
    {
        if (CGame* game = CGame::Peek())
            game->PopAllModes();
        CSingleton<CStartup>::Toggle(false);
        CSingleton<CGame>::Toggle(false);
    }
    static CString CurrentMode()
    {
        const CMode* mode = CGame::Instance()->GetCurrentMode();
        return mode ? mode->GetName() : CString();
    }
};

TEST_F(StartupTest, FirstRunPlaysTheFirstPuzzleAndQuittingInPlayResumesIt)
{
    Launch();
    EXPECT_EQ("maingame", CurrentMode());
    ASSERT_NE(nullptr, CPuzzle::Peek());
    EXPECT_EQ("puzzle1000", CPuzzle::Peek()->GetName());
    EXPECT_EQ("puzzle1000", Preference("currentpuzzle"));
    EXPECT_EQ(1u, CPuzzle::Peek()->GetHistory().size());

    // One move, then quit during play: the state stays for the next start.
    EXPECT_TRUE(CPuzzle::Peek()->LandPose(PlayData::Step(1)));
    Quit();
    Restart();
    EXPECT_EQ("puzzle1000", Preference("currentpuzzle"));
    EXPECT_FALSE(Preference("currenthistory").empty());
}

TEST_F(StartupTest, NamedCommandsReachThePuzzleInPlay)
{
    m_folder.WriteFile("data/game.xml", "<game><control><puzzle id=\"puzzle\"/></control></game>\n");
    Launch();
    ASSERT_TRUE(CPuzzle::Peek()->LandPose(PlayData::Step(1)));
    CGame::Instance()->PostCommand("_reset");
    CGame::Instance()->ProcessEvents();
    EXPECT_EQ(PlayData::Step(0), CPuzzle::Peek()->GetCurrentPose());
}

TEST_F(StartupTest, ResumesASavedPuzzleWithItsHistoryUnlessItHasATutorial)
{
    // A tutorial shows its moves from home, so its puzzle starts there again.
    const struct
    {
        bool tutorial;
        int pose;
    } cases[] = {{false, 2}, {true, 0}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.tutorial ? "with a tutorial" : "without a tutorial");
        Start();
        std::string puzzle = PlayData::TinyPuzzle("Second hop");
        if (c.tutorial)
            puzzle.replace(puzzle.find("<hint "), 6, "<hint instructions=\"tutorial/t\" ");
        m_folder.WriteFile("data/puzzle/puzzle1001.xml", puzzle);
        CPreferences::Instance()->SetString("currentpuzzle", "puzzle1001");
        CPreferences::Instance()->SetString("currenthistory", std::string(PlayData::kSteps[0]) + "," +
                                                                  PlayData::kSteps[1] + "," + PlayData::kSteps[2]);
        CSingleton<CGame>::Instance();
        CSingleton<CStartup>::Instance();
        EXPECT_EQ("maingame", CurrentMode());
        ASSERT_NE(nullptr, CPuzzle::Peek());
        EXPECT_EQ(PlayData::Step(c.pose), CPuzzle::Peek()->GetCurrentPose());
        Quit();
        Restart();
    }
}

TEST_F(StartupTest, LeavingFromTheFrontEndStartsThereNextTime)
{
    Launch();
    CGame::Instance()->PopMode(); // back to the front end: the puzzle ends
    EXPECT_EQ("frontend", CurrentMode());
    EXPECT_EQ(nullptr, CPuzzle::Peek());
    Quit();
    Restart();
    EXPECT_EQ("", Preference("currentpuzzle"));
    EXPECT_EQ("", Preference("currenthistory"));

    // Present but empty counts as absent: without a result for the first puzzle the player
    // returns to it; with one the front end stays.
    CSingleton<CGame>::Instance();
    CSingleton<CStartup>::Instance();
    EXPECT_EQ("maingame", CurrentMode());
    ASSERT_NE(nullptr, CPuzzle::Peek());
    EXPECT_EQ("puzzle1000", CPuzzle::Peek()->GetName());
    CGame::Instance()->PopMode();
    CPreferences::Instance()->SetString("puzzle1000", "3,1.000000,20.000000,0,0");
    Quit();
    Restart();
    CSingleton<CGame>::Instance();
    CSingleton<CStartup>::Instance();
    EXPECT_EQ("frontend", CurrentMode());
    EXPECT_EQ(nullptr, CPuzzle::Peek());
}

TEST_F(StartupTest, APuzzleThatCannotLoadLeavesTheFrontEnd)
{
    Start();
    CPreferences::Instance()->SetString("currentpuzzle", "puzzle4321");
    CSingleton<CGame>::Instance();
    CSingleton<CStartup>::Instance();
    EXPECT_EQ("frontend", CurrentMode());
}
} // namespace
