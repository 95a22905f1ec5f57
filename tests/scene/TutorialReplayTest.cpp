// The tutorial runner and the replay on a stand-in clock, without a context: a script's steps in
// order, its finger's touches and its end; the replay's button, its rewind and its move-by-move
// walk back to the goal.
#include "Graphics/CScreenFlip.h"
#include "core/CRules.h"
#include "platform/CGame.h"
#include "platform/CInput.h"
#include "platform/InputEvent.h"
#include "puzzle/CHints.h"
#include "puzzle/CPuzzle.h"
#include "puzzle/PlayFixture.h"
#include "scene/CInstructions.h"
#include "scene/CPetals.h"
#include "scene/CReplay.h"

#include <sys/stat.h>

namespace
{
class TutorialReplayTest : public PlayFixture
{
  protected:
    void SetUp() override
    {
        PlayFixture::SetUp();
        ::mkdir(m_folder.PathOf("data/puzzle").c_str(), 0700);
        ::mkdir(m_folder.PathOf("data/tutorial").c_str(), 0700);
        Start();
        m_folder.WriteFile("data/rules.xml",
                           "<rules><interval animation=\"20\"/><puzzle closeenough=\"0.25\" distancemetric=\"0,1,1\"/>"
                           "<replay wipetime=\"1\" crossfadetime=\"1\" begindelay=\"0.5\" continuedelay=\"0.5\""
                           " clickabledelay=\"2\" buttonposition=\"0.5,1.3\" buttonradius=\"0.1\" buttonmax=\"1\""
                           " buttonpress=\"2\" edgeheight=\"20\"/></rules>");
        CRules::Instance()->Load();
    }
    void TearDown() override
    {
        CSingleton<CInstructions>::Toggle(false);
        CScreenFlip::Toggle(false);
        CSingleton<CReplay>::Toggle(false);
        CSingleton<CPetals>::Toggle(false);
        CSingleton<CInput>::Toggle(false);
        CSingleton<CGame>::Toggle(false);
        PlayFixture::TearDown();
    }
    static bool Held() { return CInput::Instance()->IsButtonDown(InputEvent::kLeft); }
    // Frames of the animation interval (20 ms): scheduled objects see at most twice their
    // interval a call, so longer frames would slow their time down.
    void RunFrames(uint32_t ms)
    {
        for (uint32_t t = 0; t < ms; t += 20)
        {
            m_clock.Advance(20);
            m_scopes.Update();
            // Made by the first control to register, the game brings scopes of its own.
            if (CGame* game = CGame::Peek())
                game->Update();
        }
    }
};

TEST_F(TutorialReplayTest, AScriptRunsItsStepsInOrderAndEnds)
{
    m_folder.WriteFile("data/tutorial/t.xml", R"(<t modal="true"><steps>
        <show duration="0.5" finger="1,1,1" fingershow="true"/>
        <next/>
        <wait duration="-1" skippabledelay="0"/>
        <press duration="0.3" finger="1,1,0"/>
        <drag duration="0.3" finger="2,1,0"/>
        <lift duration="0.3" finger="2,1,1" advance="go"/>
        <never duration="5"/>
        </steps></t>)");
    Play("puzzle1000");
    CInstructions* tutorial = CInstructions::Instance();
    tutorial->Start("tutorial/t");
    ASSERT_TRUE(tutorial->IsBusy());
    tutorial->Start("tutorial/other"); // a second start while running changes nothing
    RunFor(100);
    EXPECT_EQ(tutorial->GetTarget(), Vector3<float>(1.0f, 1.0f, 1.0f));
    EXPECT_TRUE(tutorial->IsFingerVisible());
    EXPECT_TRUE(CInput::Instance()->IsPointerInputBlocked()) << "a step that cannot be skipped blocks the player";

    // The first step ends by time; the empty one runs in the same tick; the third waits for a touch.
    RunFor(700);
    EXPECT_EQ(tutorial->GetStepEnd(), 0u);
    EXPECT_FALSE(CInput::IsPointerInputBlocked());
    RunFor(3000);
    EXPECT_EQ(tutorial->GetStepEnd(), 0u) << "no time limit";
    EXPECT_TRUE(tutorial->OnPress(InputEvent::Pointer(InputEvent::kButtonDown, Vector2<float>(), 1, 1)));

    // The finger presses at height 0, drags, and the advance command ends the lift early.
    RunFor(400);
    EXPECT_TRUE(Held());
    RunFor(300);
    EXPECT_TRUE(Held()) << "moving along the glass stays pressed";
    RunFor(300);
    EXPECT_FALSE(Held());
    tutorial->OnMessage(InputEvent::Command("go", ""));
    RunFor(5100);
    EXPECT_FALSE(tutorial->IsBusy());
    EXPECT_FALSE(CInput::IsPointerInputBlocked());

    // A "demo" script is prepared but never runs.
    m_folder.WriteFile("data/demo.xml", "<t><steps><a/></steps></t>");
    tutorial->Start("demo");
    EXPECT_FALSE(tutorial->IsBusy());
}

TEST_F(TutorialReplayTest, AScriptHoldsUnderATurnedOverPaneAndGoesOnWhereItWas)
{
    m_folder.WriteFile("data/tutorial/t.xml", R"(<t modal="true"><steps>
        <press duration="1" finger="1,1,0" fingershow="true"/>
        <wait duration="-1" skippabledelay="0"/>
        </steps></t>)");
    Play("puzzle1000");
    CInstructions* tutorial = CInstructions::Instance();
    tutorial->Start("tutorial/t");
    RunFor(600);
    ASSERT_TRUE(Held());
    ASSERT_TRUE(CInput::IsPointerInputBlocked());

    // The in-game menu turns over: the script's clock stops, and the player's pointer is the
    // menu's, with the finger's press let go.
    CScreenFlip* flip = CScreenFlip::Instance();
    flip->Begin("ingame", CScreenFlip::kTurnNow);
    RunFor(100);
    EXPECT_TRUE(tutorial->IsHeld());
    EXPECT_FALSE(CInput::IsPointerInputBlocked());
    EXPECT_FALSE(Held());
    flip->Update(10.0f);
    RunFor(5000);
    EXPECT_NE(tutorial->GetStepEnd(), 0u) << "the step does not run out behind the menu";
    flip->Flip();
    RunFor(100);
    EXPECT_TRUE(tutorial->IsHeld()) << "held while the card turns back";
    flip->Update(10.0f);
    RunFor(100);

    // Back in play: the step goes on with its press held and the player's pointer blocked, and
    // ends after the rest of its second.
    EXPECT_FALSE(tutorial->IsHeld());
    EXPECT_TRUE(CInput::IsPointerInputBlocked());
    EXPECT_TRUE(Held());
    RunFor(200);
    EXPECT_NE(tutorial->GetStepEnd(), 0u);
    RunFor(400);
    EXPECT_EQ(tutorial->GetStepEnd(), 0u);

    // A step that takes the player's touches gives them to the menu while it is up.
    EXPECT_TRUE(tutorial->AcceptsPress(InputEvent::Pointer(InputEvent::kButtonDown, Vector2<float>(), 1, 1)));
    flip->Begin("ingame", CScreenFlip::kTurnNow);
    RunFor(100);
    EXPECT_FALSE(tutorial->AcceptsPress(InputEvent::Pointer(InputEvent::kButtonDown, Vector2<float>(), 1, 1)));
    EXPECT_FALSE(tutorial->OnPress(InputEvent::Pointer(InputEvent::kButtonDown, Vector2<float>(), 1, 1)));
    EXPECT_TRUE(tutorial->IsBusy()) << "a tap on the menu does not end the step";
}

TEST_F(TutorialReplayTest, ARestartUnderTheMenuRunsTheScriptFromItsFirstStepOnceTheMenuTurnsAway)
{
    m_folder.WriteFile("data/tutorial/t.xml", R"(<t modal="true"><steps>
        <intro duration="0.5"/>
        <press duration="1" finger="1,1,0" fingershow="true"/>
        <wait duration="-1" skippabledelay="0"/>
        </steps></t>)");
    Play("puzzle1000");
    CInstructions* tutorial = CInstructions::Instance();
    tutorial->Restart(); // nothing runs: nothing to start again
    EXPECT_FALSE(tutorial->IsBusy());
    tutorial->Start("tutorial/t");
    RunFor(800);
    ASSERT_TRUE(Held());
    CScreenFlip* flip = CScreenFlip::Instance();
    flip->Begin("ingame", CScreenFlip::kTurnNow);
    RunFor(100);
    flip->Update(10.0f);

    tutorial->Restart();
    EXPECT_TRUE(tutorial->IsBusy());
    EXPECT_TRUE(tutorial->IsHeld());
    EXPECT_FALSE(tutorial->IsFingerVisible());
    RunFor(2000);
    EXPECT_FALSE(tutorial->IsFingerVisible()) << "no step runs behind the menu";
    flip->Flip();
    flip->Update(10.0f);
    RunFor(100);
    EXPECT_FALSE(tutorial->IsHeld());
    EXPECT_FALSE(Held()) << "the old step's press is not carried into the new run";
    RunFor(800);
    EXPECT_TRUE(tutorial->IsFingerVisible());
    EXPECT_TRUE(Held());
}

TEST_F(TutorialReplayTest, TheFingerArcsToOneSideOfItsWay)
{
    const Vector3<float> half = CInstructions::FingerAt(Vector3<float>(), Vector3<float>(1.0f, 0.0f, 0.0f), 0.5f);
    EXPECT_NEAR(half.x, 0.5f, 1e-5f);
    EXPECT_NEAR(half.y, -0.1f, 1e-5f);
    EXPECT_EQ(CInstructions::FingerAt(Vector3<float>(), Vector3<float>(1.0f, 2.0f, 3.0f), 1.0f),
              Vector3<float>(1.0f, 2.0f, 3.0f));
}

TEST_F(TutorialReplayTest, TheReplayRewindsAndWalksTheSolutionBackToTheGoal)
{
    CPuzzle* puzzle = Play("puzzle1000");
    CInput::Instance();
    CReplay* replay = CReplay::Instance();
    replay->OnMessage(InputEvent::Command("petalsthrown", ""));
    EXPECT_EQ(replay->GetState(), CReplay::kIdle) << "not at the goal";
    for (int i = 1; i <= 4; ++i)
        ASSERT_TRUE(puzzle->LandPose(PlayData::Step(i)));
    ASSERT_TRUE(puzzle->IsSolved());

    replay->OnMessage(InputEvent::Command("petalsthrown", ""));
    ASSERT_EQ(replay->GetState(), CReplay::kOffered);
    EXPECT_NEAR(replay->GetFade(), 0.0f, 0.05f);
    RunFrames(1000);
    EXPECT_NEAR(replay->GetFade(), 0.0f, 0.15f) << "dark for the first half of the delay";
    RunFrames(1000);
    EXPECT_NEAR(replay->GetFade(), 1.0f, 1e-5f);
    EXPECT_TRUE(CReplay::IsOnButton(Vector2<float>(160.0f, 416.0f), Vector4<int32_t>(0, 0, 320, 480)));
    EXPECT_FALSE(CReplay::IsOnButton(Vector2<float>(160.0f, 300.0f), Vector4<int32_t>(0, 0, 320, 480)));
    // Letterboxed at 1024 x 768 the viewport starts 224 pixels in: touches count from there, as
    // the button is drawn.
    EXPECT_TRUE(CReplay::IsOnButton(Vector2<float>(512.0f, 749.0f), Vector4<int32_t>(224, 0, 576, 768)));
    EXPECT_FALSE(CReplay::IsOnButton(Vector2<float>(288.0f, 749.0f), Vector4<int32_t>(224, 0, 576, 768)));

    // Pressed with the shower's picture up: home again, the game paused and the player held off.
    CPetals::Instance();
    CPetals::ShowImposter(true, 0.0f, 0.0f);
    replay->OnClick(InputEvent::Pointer(InputEvent::kButtonUp, Vector2<float>(0.5f, 1.3f), 0, 1));
    ASSERT_EQ(replay->GetState(), CReplay::kWaitingForPicture);
    EXPECT_EQ(puzzle->GetCurrentPose(), puzzle->GetHome());
    EXPECT_TRUE(CInput::IsPointerInputBlocked());

    // No frame is drawn here, so no picture comes: the replay goes on without its wipe, and
    // plays the four moves back, one every half second, ending at the goal.
    RunFrames(2700);
    EXPECT_EQ(replay->GetState(), CReplay::kReplaying);
    RunFrames(1000);
    EXPECT_NE(puzzle->GetCurrentPose(), puzzle->GetHome());
    RunFrames(2500);
    EXPECT_EQ(puzzle->GetCurrentPose(), puzzle->GetGoal());
    EXPECT_EQ(replay->GetState(), CReplay::kIdle);
    EXPECT_FALSE(CInput::IsPointerInputBlocked());
}

TEST_F(TutorialReplayTest, AHugeReplayBrightnessIsBoundedAsTheHintButtonsIs)
{
    m_folder.WriteFile("data/rules.xml", "<rules><interval animation=\"20\"/><replay clickabledelay=\"2\""
                                         " buttonmax=\"1e30\"/></rules>");
    CRules::Instance()->Load();
    CPuzzle* puzzle = Play("puzzle1000");
    for (int i = 1; i <= 4; ++i)
        ASSERT_TRUE(puzzle->LandPose(PlayData::Step(i)));
    CReplay* replay = CReplay::Instance();
    replay->OnMessage(InputEvent::Command("petalsthrown", ""));
    RunFrames(2200);
    EXPECT_NEAR(replay->GetFade(), CHints::kMaxButtonAlpha, 1e-3f);
    EXPECT_EQ(CHints::DrawFactors(replay->GetFade()).size(), 4u);
}
} // namespace
