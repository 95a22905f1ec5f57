// Pane transitions: how each kind moves a pane's screen rectangle with its show progress.
#include "ui/CPaneTransition.h"
#include "ui/CPaneTransitionPond.h"
#include "platform/CView.h"

#include <cmath>
#include <gtest/gtest.h>

namespace
{
// y after the kind of that name moves the rectangle (x 10, y 100, 200 wide, 50 high) at t.
Vector4<float> Moved(const char* kind, float t)
{
    CPaneTransition::Creator creator = CPaneTransition::FindCreator(kind);
    EXPECT_NE(creator, nullptr) << kind;
    Vector4<float> rect(10, 100, 200, 50);
    if (creator)
        creator()->Apply(rect, t);
    return rect;
}

bool s_hasPond = false;
Vector2<float> s_nudge;
bool FakeNudge(Vector2<float>& nudge)
{
    nudge = s_nudge;
    return s_hasPond;
}
} // namespace

TEST(PaneTransition, KindsMoveTheRectangleWithTheProgress)
{
    // default: s = 1 - t; y -= (y + h) * smoothstep(s).
    EXPECT_FLOAT_EQ(Moved("default", 0.0f).y, -50.0f) << "the bottom edge at the top of the screen";
    EXPECT_FLOAT_EQ(Moved("default", 0.5f).y, 100.0f - 150.0f * 0.5f);
    EXPECT_EQ(Moved("default", 1.0f), Vector4<float>(10, 100, 200, 50));

    EXPECT_FLOAT_EQ(Moved("Jump", 0.0f).y, -50.0f);
    EXPECT_NEAR(Moved("Jump", 0.2f).y, 100.0f, 1e-3f) << "passes its place at t = 0.2";
    EXPECT_NEAR(Moved("Jump", 0.5f).y, 100.0f - 150.0f * std::exp(-3.0f) * std::cos(1.25f * 3.14159265f),
                1e-3f);
    EXPECT_EQ(Moved("Jump", 1.0f), Vector4<float>(10, 100, 200, 50));

    EXPECT_FLOAT_EQ(Moved("Pop", 0.0f).y, 250.0f) << "2y + h: below its place";
    EXPECT_NEAR(Moved("Pop", 1.0f / 3.0f).y, 100.0f, 1e-3f);
    EXPECT_EQ(Moved("Pop", 1.0f), Vector4<float>(10, 100, 200, 50));
    // Only y changes.
    EXPECT_FLOAT_EQ(Moved("Pop", 0.3f).x, 10.0f);
    EXPECT_FLOAT_EQ(Moved("Jump", 0.3f).w, 50.0f);

    // Names match without regard to case; an unknown one has no creator.
    EXPECT_EQ(CPaneTransition::FindCreator("jump"), CPaneTransition::FindCreator("JUMP"));
    EXPECT_EQ(CPaneTransition::FindCreator("pond"), CPaneTransition::FindCreator("Pond"));
    EXPECT_EQ(CPaneTransition::FindCreator("slide"), nullptr);
}

TEST(PaneTransition, PondFollowsTheNudgeWhateverTheProgress)
{
    CView::SetScreen(Vector2<int32_t>(320, 480), 0.0f, Vector4<float>(-1, -1, 9, 9), 0.5f, 0.75f);
    CPaneTransitionPond::NudgeSource previous = CPaneTransitionPond::SetNudgeSource(&FakeNudge);
    s_hasPond = false;
    s_nudge = Vector2<float>(1.0f, 0.0f);
    EXPECT_EQ(Moved("Pond", 0.3f), Vector4<float>(10, 100, 200, 50)) << "no pond: nothing moves";
    s_hasPond = true;
    s_nudge = Vector2<float>();
    EXPECT_EQ(Moved("Pond", 0.3f), Vector4<float>(10, 100, 200, 50));
    // One view unit of nudge is 1 / (units per pixel) pixels; the pane moves 1.5 times that.
    s_nudge = Vector2<float>(1.0f, -0.5f);
    const float pixels = 1.0f / CView::GetScreenView().GetUnitsPerPixel().x;
    for (float t : {0.0f, 1.0f})
    {
        const Vector4<float> moved = Moved("Pond", t);
        EXPECT_NEAR(moved.x, 10.0f + 1.5f * pixels, 1e-3f);
        EXPECT_NEAR(moved.y, 100.0f - 0.75f * pixels, 1e-3f);
    }
    CPaneTransitionPond::SetNudgeSource(previous);
}
