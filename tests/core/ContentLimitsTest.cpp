#include "core/ContentLimits.h"
#include "core/CRule.h"
#include "core/CRules.h"
#include "support/AppFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(ContentLimitsTest, ValuesOutsideTheirBoundsAreClampedAndReportedOncePerFileAndKey)
{
    struct Case
    {
        int32_t value, expected;
        const char* key;
        const char* line; // the one line expected on stderr, or "" for none
    } cases[] = {
        {40, 40, "a/inside", ""},
        {0, 0, "a/atminimum", ""},
        {std::numeric_limits<int32_t>::max(), 1000, "a/huge",
         "frogpond: test.xml: a/huge: 2147483647 is outside 0..1000, 1000 used\n"},
        {-5, 0, "a/negative", "frogpond: test.xml: a/negative: -5 is outside 0..1000, 0 used\n"},
        {5000, 1000, "a/huge", ""}, // the same key again: clamped, not reported again
    };
    for (const Case& c : cases)
    {
        testing::internal::CaptureStderr();
        EXPECT_EQ(BoundCount(c.value, 0, 1000, "test.xml", c.key), c.expected) << c.key;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.line) << c.key;
    }
    testing::internal::CaptureStderr();
    EXPECT_EQ(BoundValue(std::nan(""), 0.0, 60.0, "test.xml", "b/nan"), 0.0);
    EXPECT_EQ(BoundValue(1e300, 0.0, 60.0, "other.xml", "b/nan"), 60.0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "frogpond: test.xml: b/nan: nan is outside 0..60, 0 used\n"
              "frogpond: other.xml: b/nan: 1e+300 is outside 0..60, 60 used\n");
}

TEST(ContentLimitsTest, SecondsBecomeMillisecondsWithinADay)
{
    const double nan = std::nan(""), infinity = std::numeric_limits<double>::infinity();
    struct Case
    {
        double seconds;
        int32_t cut, nearest, signedCut;
    } cases[] = {{0.2, 200, 200, 200},
                 {double(0.7f), 699, 700, 699},
                 {0.0006, 0, 1, 0},
                 {-0.25, 0, 0, -250},
                 {double(-0.7f), 0, 0, -699},
                 {-3.0, 0, 0, -3000},
                 {nan, 0, 0, 0},
                 {1e39, 86400000, 86400000, 86400000},
                 {-1e39, 0, 0, -86400000},
                 {infinity, 86400000, 86400000, 86400000},
                 {-infinity, 0, 0, -86400000}};
    for (const Case& c : cases)
    {
        EXPECT_EQ(SecondsToMs(c.seconds), c.cut) << c.seconds;
        EXPECT_EQ(SecondsToNearestMs(c.seconds), c.nearest) << c.seconds;
        EXPECT_EQ(SignedSecondsToMs(c.seconds), c.signedCut) << c.seconds;
    }

    testing::internal::CaptureStderr();
    EXPECT_EQ(BoundSeconds(1e30, "a.xml", "s/delay"), double(kMaxContentSeconds));
    EXPECT_EQ(BoundSeconds(-1.0, "a.xml", "s/other"), 0.0);
    EXPECT_EQ(BoundSeconds(2.5, "a.xml", "s/fine"), 2.5);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "frogpond: a.xml: s/delay: 1e+30 is outside 0..86400, 86400 used\n"
              "frogpond: a.xml: s/other: -1 is outside 0..86400, 0 used\n");
}

TEST(ContentLimitsTest, BoundedRulesKeepEveryComponentWithinTheirBounds)
{
    AppFolder app;
    app.WriteData("rules.xml", R"(<rules>
  <limits interval="99999999999" pair="-3,70" seconds="1e39" fine="12" />
</rules>)");
    CRule<int> interval("limits/interval", 0, 1000), fine("limits/fine", 0, 1000);
    CRule<Vector2<int>> pair("limits/pair", Vector2<int>(0, 0), Vector2<int>(16, 16));
    CRule<float> seconds("limits/seconds", 0.0f, 60.0f);
    testing::internal::CaptureStderr();
    CSingleton<CRules>::Instance()->Load();
    const std::string lines = testing::internal::GetCapturedStderr();
    EXPECT_EQ(interval.Get(), 1000);
    EXPECT_EQ(fine.Get(), 12);
    EXPECT_EQ(pair.Get(), Vector2<int>(0, 16));
    EXPECT_EQ(seconds.Get(), 60.0f);
    EXPECT_NE(lines.find("rules.xml: limits/interval: 2147483647 is outside 0..1000"), std::string::npos)
        << lines;
    EXPECT_NE(lines.find("rules.xml: limits/seconds: inf is outside 0..60"), std::string::npos) << lines;
    EXPECT_EQ(lines.find("limits/fine"), std::string::npos) << lines;
}
