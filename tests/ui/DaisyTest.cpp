// The daisy: petal thresholds, petals that drop one by one as the score falls and pop back as it
// rises, a held daisy that keeps the score it was loaded with, and the re-arm of a reset.
#include "core/CRules.h"
#include "puzzle/CScore.h"
#include "support/AppFolder.h"
#include "support/TestScopes.h"
#include "ui/CDaisy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace
{
class DaisyTest : public testing::Test
{
  protected:
    DaisyTest()
    {
        m_folder.WriteData("rules.xml", R"(<rules><score default="0.5"/></rules>)");
        m_folder.WriteData("daisy.xml", R"(<daisy material="daisy" droptime="0.5" poptime="0.5"
            dropdelay="0.1" popdelay="0.1"><petals perlayer="6" layers="2" offset="30" dimmest="0.5">
            <p uvs="0,0,0.25,0.5" centre="0.125,0.5"/></petals><pollen/></daisy>)");
        CRules::Instance()->Load();
    }
    ~DaisyTest() override { CScore::Toggle(false); }

    // The score of a puzzle of par 4 played in that many moves, solved.
    static void Score(int32_t moves) { CScore::Instance()->Update(4, moves, 0); }
    static int Shown(const CDaisy& daisy)
    {
        return int(std::count_if(daisy.GetPetals().begin(), daisy.GetPetals().end(),
                                 [](const DaisyPetal& petal) { return petal.state == DaisyPetal::kShown; }));
    }
    static void Run(CDaisy& daisy, int ms)
    {
        for (; ms > 0; ms -= 50)
            daisy.Update(0.05f);
    }

    AppFolder m_folder;
};
} // namespace

TEST_F(DaisyTest, ThePetalCountFollowsTheScore)
{
    CDaisy daisy;
    const std::vector<DaisyPetal>& petals = daisy.GetPetals();
    ASSERT_EQ(petals.size(), 12u);
    EXPECT_EQ(daisy.GetFlower().GetQuadCount(), 13u) << "the pollen over the petals";
    for (size_t i = 0; i < petals.size(); ++i)
    {
        EXPECT_GE(petals[i].threshold, 0.0f);
        EXPECT_LT(petals[i].threshold, 1.0f);
        if (i > 0)
        {
            EXPECT_LE(petals[i - 1].threshold, petals[i].threshold);
        }
    }
    // The back ring takes the dimmest colour, the front one white.
    EXPECT_FLOAT_EQ(daisy.GetFlower().GetQuadColour(0).x, 0.5f);
    EXPECT_FLOAT_EQ(daisy.GetFlower().GetQuadColour(11).x, 1.0f);

    Score(4); // par: 1.0, every petal stays
    Run(daisy, 1000);
    EXPECT_EQ(Shown(daisy), 12);

    Score(6); // 1/3: the petals from 1/3 up fall, the highest threshold first
    daisy.Update(0.05f);
    EXPECT_EQ(petals.back().state, uint32_t(DaisyPetal::kDropping));
    EXPECT_EQ(Shown(daisy), 11) << "one at a time";
    Run(daisy, 3000);
    int expected = 0;
    for (const DaisyPetal& petal : petals)
        expected += petal.threshold < CScore::Instance()->GetScore() ? 1 : 0;
    EXPECT_EQ(Shown(daisy), expected);
    EXPECT_LT(expected, 12);

    Score(4); // back to par: they pop in again, lowest first, each once the one before is in
    daisy.Update(0.05f);
    Run(daisy, 6000);
    EXPECT_EQ(Shown(daisy), 12);
}

TEST_F(DaisyTest, AHeldDaisyKeepsItsScoreUntilRearmed)
{
    Score(8); // 0: every petal gone at once, without a fall
    CDaisy daisy;
    daisy.SetShadowOffset(Vector2<float>(0.05f, 0.05f));
    daisy.SetHold(true);
    EXPECT_EQ(Shown(daisy), 0);
    EXPECT_EQ(daisy.GetShadow().GetQuadCount(), daisy.GetFlower().GetQuadCount());
    Score(4);
    Run(daisy, 2000);
    EXPECT_EQ(Shown(daisy), 0);
    daisy.Rearm();
    Run(daisy, 8000);
    EXPECT_EQ(Shown(daisy), 12);
}

TEST_F(DaisyTest, APopOrDropTimeOfNoneIsInstantAndAnAbsurdOneIsBounded)
{
    for (const char* time : {"0", "-2", "nan", "1e39"})
    {
        m_folder.WriteData("daisy.xml",
                           std::string(R"(<daisy droptime=")") + time + R"(" poptime=")" + time +
                               R"(" dropdelay="0.1" popdelay="0.1"><petals perlayer="6" layers="2">
            <p uvs="0,0,0.25,0.5"/></petals></daisy>)");
        CDaisy daisy;
        Score(8); // 0: every petal falls
        Run(daisy, 3000);
        const bool instant = std::string(time) != "1e39";
        const auto gone =
            std::count_if(daisy.GetPetals().begin(), daisy.GetPetals().end(),
                          [](const DaisyPetal& petal) { return petal.state == DaisyPetal::kGone; });
        EXPECT_EQ(Shown(daisy), 0) << time;
        EXPECT_EQ(gone, instant ? 12 : 0) << time << ": a fall bounded to a day is still falling";
        for (uint32_t i = 0; i < daisy.GetFlower().GetQuadCount(); ++i)
        {
            const Vector4<float> rect = daisy.GetFlower().GetQuadRect(i),
                                 colour = daisy.GetFlower().GetQuadColour(i);
            EXPECT_TRUE(std::isfinite(rect.x + rect.y + rect.z + rect.w + colour.w)) << time << " quad " << i;
        }
        if (!instant)
            continue;
        Score(4);
        Run(daisy, 3000);
        EXPECT_EQ(Shown(daisy), 12) << time;
    }
}
