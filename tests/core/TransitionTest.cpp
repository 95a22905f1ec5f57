#include "core/Ease.h"
#include "core/Stopwatch.h"
#include "core/Transition.h"
#include "support/FakeClock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace
{
TEST(TransitionTest, RunsBothWaysWithoutJumps)
{
    FakeClock clock;
    clock.Set(10000);
    Transition fade(2.0f);
    EXPECT_FLOAT_EQ(fade.Value(), 0.0f); // built finished towards 0
    EXPECT_FALSE(fade.IsRunning());

    fade.SetDirection(1.0f);
    EXPECT_TRUE(fade.IsRunning());
    clock.Advance(500);
    EXPECT_FLOAT_EQ(fade.Value(), 0.25f);
    EXPECT_FLOAT_EQ(fade.SmoothValue(), 0.15625f);
    fade.SetDirection(1.0f); // same direction: nothing changes
    EXPECT_FLOAT_EQ(fade.Value(), 0.25f);

    fade.Toggle(); // continues from 0.25 back towards 0
    EXPECT_FLOAT_EQ(fade.GetDirection(), 0.0f);
    EXPECT_FLOAT_EQ(fade.Value(), 0.25f);
    clock.Advance(250);
    EXPECT_FLOAT_EQ(fade.Value(), 0.125f);
    clock.Advance(250);
    EXPECT_FLOAT_EQ(fade.Value(), 0.0f);
    clock.Advance(5000);
    EXPECT_FLOAT_EQ(fade.Value(), 0.0f);
    EXPECT_FALSE(fade.IsRunning());

    fade.SnapTo(1.0f);
    EXPECT_FLOAT_EQ(fade.Value(), 1.0f);
    EXPECT_FLOAT_EQ(fade.SmoothValue(), 1.0f);

    // Across the platform tick's wrap.
    clock.Set(0xFFFFFF00u);
    fade.SnapTo(0.0f);
    fade.SetDirection(1.0f);
    clock.Advance(0x200);
    EXPECT_FLOAT_EQ(fade.Value(), 512.0f / 2000.0f);
}

TEST(TransitionTest, ZeroOrBadDurationStandsAtItsEnd)
{
    FakeClock clock;
    for (float seconds : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN()})
    {
        Transition instant(seconds);
        EXPECT_FLOAT_EQ(instant.Value(), 0.0f);
        instant.SetDirection(1.0f); // asked at the very instant it starts
        EXPECT_FLOAT_EQ(instant.Value(), 1.0f);
        EXPECT_FLOAT_EQ(instant.SmoothValue(), 1.0f);
        EXPECT_FALSE(instant.IsRunning());
        instant.Toggle();
        EXPECT_FLOAT_EQ(instant.Value(), 0.0f);
        EXPECT_FLOAT_EQ(instant.SmoothValue(), 0.0f);
    }
}

TEST(TransitionTest, FollowsAnOutsideDurationAndCopiesKeepTheirOwn)
{
    FakeClock clock;
    float tuned = 1.0f; // a tuning value that a reload may change
    Transition followed(&tuned);
    followed.SetDirection(1.0f);
    clock.Advance(500);
    EXPECT_FLOAT_EQ(followed.Value(), 0.5f);
    tuned = 2.0f;
    EXPECT_FLOAT_EQ(followed.Value(), 0.25f);
    Transition followedCopy(followed);
    tuned = 4.0f;
    EXPECT_FLOAT_EQ(followedCopy.Value(), 0.125f);

    auto original = std::make_unique<Transition>(1.0f);
    original->SetDirection(1.0f);
    Transition copy(*original);
    Transition assigned(5.0f);
    assigned = *original;
    original.reset(); // the copies must not read the dead original's duration
    clock.Advance(250);
    EXPECT_FLOAT_EQ(copy.GetDuration(), 1.0f);
    EXPECT_FLOAT_EQ(copy.Value(), 0.25f);
    EXPECT_FLOAT_EQ(assigned.Value(), 0.25f);
    assigned.SetDuration(0.5f);
    EXPECT_FLOAT_EQ(assigned.Value(), 0.5f);
    EXPECT_FLOAT_EQ(copy.Value(), 0.25f);
}

TEST(TransitionTest, StopwatchMeasuresThePlatformClock)
{
    FakeClock clock;
    clock.Set(700);
    Stopwatch watch;
    clock.Advance(1234);
    EXPECT_EQ(watch.ElapsedMs(), 1234);
    EXPECT_FLOAT_EQ(watch.ElapsedSeconds(), 1.234f);
    watch.Reset();
    EXPECT_EQ(watch.ElapsedMs(), 0);
    clock.Set(0xFFFFFFF0u);
    watch.Reset();
    clock.Advance(0x20);
    EXPECT_EQ(watch.ElapsedMs(), 0x20);
}

TEST(EaseTest, CurvesClampAndMeetAtTheMiddle)
{
    EXPECT_FLOAT_EQ(Ease(0, 0.25f), 0.125f);
    EXPECT_FLOAT_EQ(Ease(0, 0.5f), 0.5f);
    EXPECT_FLOAT_EQ(Ease(0, 0.75f), 0.875f);
    EXPECT_FLOAT_EQ(Ease(1, 0.5f), 0.5f);
    EXPECT_NEAR(Ease(1, 0.25f), (1.0f - std::cos(0.25f * 3.14159265f)) * 0.5f, 1e-6f);
    EXPECT_FLOAT_EQ(Ease(7, 0.3f), 0.3f);
    for (int type : {0, 1, 7})
    {
        EXPECT_FLOAT_EQ(Ease(type, -0.5f), 0.0f);
        EXPECT_FLOAT_EQ(Ease(type, 0.0f), 0.0f);
        EXPECT_FLOAT_EQ(Ease(type, 1.0f), 1.0f);
        EXPECT_FLOAT_EQ(Ease(type, 3.0f), 1.0f);
        EXPECT_FLOAT_EQ(Ease(type, std::numeric_limits<float>::quiet_NaN()), 0.0f);
    }

    EXPECT_FLOAT_EQ(EasePulse(1, 0.5f), 1.0f);
    EXPECT_NEAR(EasePulse(1, 0.25f), 0.5f, 1e-6f);
    EXPECT_NEAR(EasePulse(1, 0.999f), 0.0f, 1e-4f);
    EXPECT_FLOAT_EQ(EasePulse(1, 1.0f), 1.0f); // the clamp comes first
    EXPECT_FLOAT_EQ(EasePulse(1, 0.0f), 0.0f);
    EXPECT_FLOAT_EQ(EasePulse(0, 0.4f), 0.4f);
}
} // namespace
