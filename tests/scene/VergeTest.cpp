// The spiral chooser without a context: the spiral's layout by puzzle number, colours by number
// and by the player's score, the range, and a tap on a puzzle button posting its name.
#include "core/CPreferences.h"
#include "platform/InputEvent.h"
#include "puzzle/CPuzzles.h"
#include "scene/CPond.h"
#include "scene/CVerge.h"
#include "ui/ButtonFixture.h"

#include <cmath>

#include <sys/stat.h>

namespace
{
class VergeTest : public ButtonTest
{
  protected:
    VergeTest()
    {
        ::mkdir(m_folder.PathOf("data/puzzle").c_str(), 0700);
        ::mkdir(m_folder.PathOf("data/pond").c_str(), 0700);
        for (int number : {1, 2, 5})
            m_folder.WriteData(CString::Format("puzzle/puzzle%04d.xml", number),
                               "<puzzle><hint><step/><step/><step/></hint><pond template=\"reeds\"/>"
                               "<frog species=\"d-azureus\"/></puzzle>");
        m_folder.WriteData("pond/plain.xml", "<pond/>");
        CPuzzles::Toggle(false);
    }
    ~VergeTest() override { CPuzzles::Toggle(false); }

    // A chooser over the whole 10 x 15 view, the spiral's centre at (5, 7).
    void Load(CVerge& verge, const char* range, const char* spacing = "0.8", const char* origin = "4,7")
    {
        CXmlDocument document;
        ASSERT_TRUE(document.Parse(CString::Format(R"(<verge name="spiral" side="0,0" material="back">
            <button action="back" type="round" position="1,1"/>
            <puzzles range="%s" buttonspacing="%s" gapspacing="0.4" spiralspacing="1.2" origin="%s">
              <button action="puzzle" type="round" colourrange="0.5,0.2,0.6"/></puzzles></verge>)",
                                                   range, spacing, origin),
                                   false));
        verge.Load(*document.GetRoot());
    }
    // The spiral's angle at a placed button: r = k theta.
    static float ThetaOf(CVerge& verge, size_t i)
    {
        const Vector3<float> at = verge.GetButton(i).GetScreenPosition();
        const Vector2<float> d = Vector2<float>(at.x, at.y) - verge.GetCentre();
        return d.Length() / (1.2f / kTwoPi);
    }
};

TEST_F(VergeTest, PuzzlesLieOutwardAlongTheSpiralWithGapsForMissingNumbers)
{
    CVerge verge;
    Load(verge, "1,9");
    ASSERT_EQ(verge.GetButtonCount(), 4u); // "back" and puzzles 1, 2 and 5
    EXPECT_EQ(CVerge::PuzzleNumber(verge.GetButton(0)), -1);
    EXPECT_EQ(verge.GetButton(3).attributes, "puzzle0005");
    EXPECT_EQ(verge.GetCentre(), Vector2<float>(5.0f, 7.0f));

    // Outward in number order, each in the layout rectangle; the three missing numbers before 5
    // leave a longer stretch of spiral than the one before 2.
    const float t1 = ThetaOf(verge, 1), t2 = ThetaOf(verge, 2), t5 = ThetaOf(verge, 3);
    EXPECT_LT(t1, t2);
    EXPECT_GT(t5 - t2, t2 - t1);
    for (size_t i = 1; i < 4; ++i)
    {
        const Vector3<float> at = verge.GetButton(i).GetScreenPosition();
        EXPECT_TRUE(at.x >= 1.0f && at.x < 9.0f && at.y >= 1.0f && at.y < 14.0f) << i;
    }
    // Colour by number: the first blue-white, the last red-white.
    EXPECT_GT(verge.GetButton(1).colour.z, verge.GetButton(1).colour.x);
    EXPECT_GT(verge.GetButton(3).colour.x, verge.GetButton(3).colour.z);
    EXPECT_EQ(verge.GetColourRange(), Vector4<float>(0.5f, 0.2f, 0.6f, 0.6f));

    // A range of one number, an empty range, and a spiral too short for anything.
    CVerge one, none;
    Load(one, "2,2");
    Load(none, "5,4");
    ASSERT_EQ(one.GetButtonCount(), 2u);
    EXPECT_EQ(one.GetButton(1).attributes, "puzzle0002");
    EXPECT_EQ(none.GetButtonCount(), 1u);
    verge.Layout(Vector4<float>(0.0f, 0.0f, 2.1f, 2.1f));
    EXPECT_EQ(verge.GetButton(3).GetScreenPosition().x, CVerge::kParked);
}

TEST_F(VergeTest, ASpacingThatNeverLeavesAPointOutsideTheViewParksTheButtons)
{
    // The spiral's centre far left of the view: every point of it lies outside.
    for (const char* spacing : {"0", "-0.5", "1e-30", "1e-6"})
    {
        CVerge verge;
        Load(verge, "1,9", spacing, "-40,7");
        ASSERT_EQ(verge.GetButtonCount(), 4u) << spacing;
        for (size_t i = 1; i < 4; ++i)
            EXPECT_EQ(verge.GetButton(i).GetScreenPosition().x, CVerge::kParked) << spacing;
    }
}

TEST_F(VergeTest, SolvedPuzzlesTakeTheirScoreColourAndATapPostsThePuzzle)
{
    CPreferences::Instance()->SetString("puzzle0002", "1,0.000000,12.000000,4,0");
    CVerge verge;
    Load(verge, "1,9");
    // Score 0: half brightness, the least blue.
    const Vector4<float> solved = verge.GetButton(2).colour;
    EXPECT_NEAR(solved.x, 0.5f, 1e-5f);
    EXPECT_NEAR(solved.z, 0.5f * (1.0f - 0.6f), 1e-5f);
    EXPECT_EQ(verge.GetButton(2).stateSet, 1u);
    EXPECT_EQ(verge.GetButton(1).stateSet, 0u);

    // Without a pond, or while it is nudged, touches pass; with one a tap posts the puzzle.
    const Vector3<float> at = verge.GetButton(2).GetScreenPosition();
    const Vector2<float> screen = CView::GetCurrent().ViewToScreen(Vector2<float>(at.x, at.y));
    const InputEvent press = InputEvent::Pointer(InputEvent::kButtonDown, screen, 1, 1);
    const InputEvent release = InputEvent::Pointer(InputEvent::kButtonUp, screen, 0, 1);
    EXPECT_FALSE(verge.OnPress(press));
    CRef<CPond> pond = CPond::Create("plain");
    ASSERT_TRUE(pond);
    verge.SetPond(pond.Get());
    verge.StartGrowIn();
    for (int frame = 0; frame < 100; ++frame) // the buttons grown in, the pond settled
    {
        m_clock.Advance(20);
        m_services.gameTime += 20;
        ++s_frames;
        verge.Update();
        for (size_t i = 0; i < verge.GetButtonCount(); ++i)
            verge.GetButton(i).Animate();
    }
    verge.OnPress(press); // overlapping buttons let a press pass on
    verge.OnRelease(release);
    EXPECT_EQ(m_services.posts, std::vector<std::string>{"puzzle(puzzle0002)"});
}
} // namespace
