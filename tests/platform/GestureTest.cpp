#include "core/CRules.h"
#include "core/CSingleton.h"
#include "platform/CControls.h"
#include "platform/CGame.h"
#include "platform/CGesture.h"
#include "platform/InputEvent.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
using Log = std::vector<std::string>;
Log s_log;
using Points = std::vector<Vector2<float>>;

// Sits behind the recogniser and notes what it lets through.
class Listener : public CControl
{
  public:
    bool AcceptsPress(const InputEvent&) override { return true; }
    bool OnPress(const InputEvent&) override { return Note("press"); }
    bool OnMove(const InputEvent&) override { return Note("move"); }
    bool OnRelease(const InputEvent&) override { return Note("release"); }
    bool OnMessage(const InputEvent& event) override
    {
        return Note(std::string(event.name) + "(" + event.argument + ")");
    }

  private:
    static bool Note(const std::string& line)
    {
        s_log.push_back(line);
        return false;
    }
};

std::string Rules(const char* swipeLength, const char* swipeAspect)
{
    return std::string("<rules><gesture feedbackspeed=\"2\" modalborder=\"4,6,8,10\" swipeaspect=\"") +
           swipeAspect + "\" swipelength=\"" + swipeLength + "\"/><ui dragdistancemin=\"1000\"/></rules>";
}

// The recogniser on a 320x480 platform layer (fake system), with a listener after it.
class GestureTest : public PlatformTest
{
  protected:
    void SetUp() override
    {
        // Nothing an earlier test in this process left (a file system on another folder).
        CSingletonBase::StopScope(HashString("nuke"));
        // The recogniser alone: no trail or sound that the scene or audio installed.
        m_previousHooks = CGesture::SetFeedbackHooks(CGesture::FeedbackHooks());
        PlatformTest::SetUp();
        CControl::ResetDragState();
        s_log.clear();
        m_folder.WriteFile("data/game.xml",
                           "<game><control><group id=\"gesture\"/><group id=\"after\"/></control></game>");
        UseRules("50", "2");
        ASSERT_TRUE(Layer()->IsReady());
        m_game = CGame::Instance();
        m_listener.Register("global", "after");
        m_gesture = CGesture::Instance();
    }
    void TearDown() override
    {
        CControl::ResetDragState();
        PlatformTest::TearDown();
        CGesture::SetFeedbackHooks(m_previousHooks);
    }

    CGesture::FeedbackHooks m_previousHooks;

    void UseRules(const char* swipeLength, const char* swipeAspect)
    {
        m_folder.WriteFile("data/rules.xml", Rules(swipeLength, swipeAspect));
        ASSERT_TRUE(CRules::Instance()->Load());
    }
    // One left-button touch through the points; what got past the recogniser.
    Log Touch(const Points& points)
    {
        s_log.clear();
        m_game->PostEvent(InputEvent::Pointer(InputEvent::kButtonDown, points.front(), 1, 1));
        for (size_t i = 1; i + 1 < points.size(); ++i)
            m_game->PostEvent(InputEvent::Pointer(InputEvent::kMotion, points[i], 1, 0));
        m_game->PostEvent(InputEvent::Pointer(InputEvent::kButtonUp, points.back(), 0, 1));
        m_game->ProcessEvents();
        return s_log;
    }
    // The "_gesture" argument a touch posted, or "" for none.
    std::string Swipe(const Points& points)
    {
        for (const std::string& line : Touch(points))
            if (line.rfind("_gesture(", 0) == 0)
                return line.substr(9, line.size() - 10);
        return "";
    }

    CGame* m_game = nullptr;
    CGesture* m_gesture = nullptr;
    Listener m_listener;
};

TEST_F(GestureTest, SwipesAreRecognisedByTheBoxAndTheEnds)
{
    EXPECT_EQ(Swipe({{100, 200}, {140, 202}, {180, 200}}), "swiperight");
    EXPECT_EQ(m_gesture->GetGesture(), "swiperight");
    // The trail runs along the axis at the mean cross-coordinate.
    EXPECT_EQ(m_gesture->GetTrail(), (Points{{100, 200}, {180, 200}}));
    EXPECT_EQ(Swipe({{200, 100}, {200, 300}}), "swipedown");
    EXPECT_EQ(m_gesture->GetTrail(), (Points{{200, 100}, {200, 300}}));
    EXPECT_EQ(Swipe({{200, 300}, {210, 150}}), "swipeup");
    EXPECT_EQ(m_gesture->GetTrail(), (Points{{205, 300}, {205, 150}}));

    // Right and back past the start: the box says horizontal, the ends say left.
    EXPECT_EQ(Swipe({{150, 200}, {250, 200}, {120, 205}}), "swipeleft");
    // A perfectly thin swipe passes any aspect.
    UseRules("50", "1000");
    EXPECT_EQ(Swipe({{100, 200}, {160, 200}}), "swiperight");

    // A 100 by 100 box is vertical, and with an aspect of 2 it is no swipe.
    UseRules("50", "2");
    EXPECT_EQ(Swipe({{100, 100}, {200, 200}}), "");
    EXPECT_EQ(m_gesture->GetGesture(), "");
    EXPECT_TRUE(m_gesture->GetTrail().empty());
    UseRules("50", "0.5");
    EXPECT_EQ(Swipe({{100, 100}, {200, 200}}), "swipedown");

    // The major extent must exceed the length; the aspect must be exceeded too.
    UseRules("50", "2");
    EXPECT_EQ(Swipe({{100, 200}, {150, 200}}), "") << "exactly the length";
    EXPECT_EQ(Swipe({{100, 200}, {160, 230}}), "") << "60 by 30 is exactly the aspect";
    EXPECT_EQ(Swipe({{100, 200}, {160, 229}}), "swiperight");
}

TEST_F(GestureTest, TouchesPassExceptPressesInTheBorderStrips)
{
    EXPECT_EQ(Touch({{100, 200}, {180, 200}, {250, 200}}),
              (Log{"press", "move", "release", "_gesture(swiperight)"}));
    EXPECT_EQ(Touch({{160, 240}, {160, 240}}), (Log{"press", "release"}));

    // Strips: 4 left, 6 top, 8 right, 10 bottom, on the 320x480 logical screen.
    for (const Vector2<float>& edge : Points{{3, 240}, {160, 5}, {313, 240}, {160, 471}})
        EXPECT_EQ(Touch({edge, edge}), Log{"release"}) << edge.x << "," << edge.y;
    for (const Vector2<float>& inside : Points{{4, 240}, {160, 6}, {312, 240}, {160, 470}})
        EXPECT_EQ(Touch({inside, inside}), (Log{"press", "release"})) << inside.x << "," << inside.y;
    // A swipe that starts in a strip is still recognised.
    EXPECT_EQ(Touch({{2, 240}, {100, 240}}), (Log{"release", "_gesture(swiperight)"}));

    // Turned a quarter, the logical screen is 480x320: the strips follow it, not the window.
    Layer()->SetRotation(90);
    EXPECT_EQ(Touch({{313, 240}, {313, 240}}), (Log{"press", "release"}));
    EXPECT_EQ(Touch({{473, 240}, {473, 240}}), Log{"release"});
    EXPECT_EQ(Touch({{200, 311}, {200, 311}}), Log{"release"});
}

TEST_F(GestureTest, CancelledOrAbandonedTouchesPostNothing)
{
    s_log.clear();
    m_game->PostEvent(InputEvent::Pointer(InputEvent::kButtonDown, Vector2<float>(100, 200), 1, 1));
    m_game->PostEvent(InputEvent::Pointer(InputEvent::kMotion, Vector2<float>(200, 200), 1, 0));
    m_game->ProcessEvents();
    EXPECT_TRUE(m_gesture->IsFollowing());
    m_gesture->Cancel();
    EXPECT_FALSE(m_gesture->IsFollowing());
    m_game->PostEvent(InputEvent::Pointer(InputEvent::kButtonUp, Vector2<float>(250, 200), 0, 1));
    m_game->ProcessEvents();
    EXPECT_EQ(s_log, (Log{"press", "move", "release"}));

    // Motion without the left button abandons the swipe.
    s_log.clear();
    m_game->PostEvent(InputEvent::Pointer(InputEvent::kButtonDown, Vector2<float>(100, 200), 1, 1));
    m_game->PostEvent(InputEvent::Pointer(InputEvent::kMotion, Vector2<float>(200, 200), 5, 0));
    m_game->PostEvent(InputEvent::Pointer(InputEvent::kMotion, Vector2<float>(220, 200), 4, 0));
    m_game->PostEvent(InputEvent::Pointer(InputEvent::kButtonUp, Vector2<float>(250, 200), 4, 1));
    m_game->ProcessEvents();
    EXPECT_EQ(m_gesture->GetGesture(), "");

    // A release ends the touch: a further release without a press does not post it again.
    EXPECT_EQ(Swipe({{100, 200}, {200, 200}}), "swiperight");
    s_log.clear();
    m_game->PostEvent(InputEvent::Pointer(InputEvent::kButtonUp, Vector2<float>(200, 200), 0, 1));
    m_game->ProcessEvents();
    EXPECT_EQ(s_log, Log{"release"});
}

TEST_F(GestureTest, SwipeLengthZeroSwitchesGesturesOff)
{
    EXPECT_TRUE(m_gesture->IsRegistered());
    UseRules("0", "2");
    // Registered before the change: it still hears touches but does nothing with them.
    EXPECT_EQ(Touch({{2, 240}, {200, 240}}), (Log{"press", "release"}));
    EXPECT_FALSE(m_gesture->IsFollowing());

    // Made while the length is 0, it never joins a group.
    CSingleton<CGesture>::Toggle(false);
    EXPECT_FALSE(CGesture::Instance()->IsRegistered());
    EXPECT_EQ(m_game->GetScope("global").GetControls().CountInGroup("gesture"), 0);
}

struct Emitted
{
    Vector2<float> position;
    float delay;
};
std::vector<Emitted> s_emitted;
int s_trailsMade = 0;
int s_capacity = 8;

CGesture::FeedbackHooks FeedbackSpies()
{
    CGesture::FeedbackHooks hooks;
    hooks.makeTrail = []
    {
        ++s_trailsMade;
        return MakeRef<CBase>();
    };
    hooks.capacityOf = [](CBase*) { return s_capacity; };
    hooks.emitAt = [](CBase*, const Vector2<float>& position, float delay) {
        s_emitted.push_back({position, delay});
    };
    hooks.playSound = [](const char* name) { s_log.push_back(std::string("sound ") + name); };
    return hooks;
}

TEST_F(GestureTest, FeedbackEasesParticlesAlongTheSwipeAndPlaysItsSound)
{
    s_emitted.clear();
    s_trailsMade = 0;
    s_capacity = 8;
    m_gesture->PlayFeedback(); // no hooks: nothing, and no harm
    CGesture::SetFeedbackHooks(FeedbackSpies());

    ASSERT_EQ(Swipe({{100, 200}, {300, 200}}), "swiperight");
    s_log.clear();
    m_gesture->PlayFeedback();
    // Half the capacity, from the start towards (not onto) the end, delays eased over
    // 1 / feedbackspeed seconds.
    ASSERT_EQ(s_emitted.size(), 4u);
    const float delays[] = {0.0f, 0.078125f, 0.25f, 0.421875f};
    for (size_t i = 0; i < 4; ++i)
    {
        EXPECT_FLOAT_EQ(s_emitted[i].position.x, 100.0f + 50.0f * float(i));
        EXPECT_FLOAT_EQ(s_emitted[i].position.y, 200.0f);
        EXPECT_FLOAT_EQ(s_emitted[i].delay, delays[i]);
    }
    EXPECT_EQ(s_log, Log{"sound swiperight"});

    // A tiny system still shows one particle; without a speed, every delay is 0.
    s_emitted.clear();
    s_capacity = 1;
    m_folder.WriteFile("data/rules.xml", "<rules><gesture feedbackspeed=\"0\" swipelength=\"50\"/></rules>");
    ASSERT_TRUE(CRules::Instance()->Load());
    m_gesture->PlayFeedback();
    ASSERT_EQ(s_emitted.size(), 1u);
    EXPECT_EQ(s_emitted[0].delay, 0.0f);
    EXPECT_EQ(s_trailsMade, 1) << "the trail is made once";

    // After a touch that was no swipe there is no trail to show.
    s_emitted.clear();
    Touch({{100, 200}, {110, 200}});
    m_gesture->PlayFeedback();
    EXPECT_TRUE(s_emitted.empty());
}
} // namespace
