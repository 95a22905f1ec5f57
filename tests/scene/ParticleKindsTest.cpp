// Single particles: the kind registry, the sparkle's twinkle and the entice pulse, on a given clock.
#include "ParticleFixture.h"

#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "scene/CParticle.h"
#include "scene/CParticleEntice.h"
#include "scene/CParticleSparkle.h"
#include "scene/ParticleKindMap.h"

#include <cmath>

namespace
{
class ParticleKindsTest : public ParticleFixture
{
  protected:
    static CRef<CParticle> FromXml(const char* text)
    {
        CXmlDocument document;
        EXPECT_TRUE(document.Parse(text, false)) << text;
        return CParticle::CreateFromXml(*document.GetRoot());
    }
    static CRef<CParticleSparkle> Sparkle(const char* text)
    {
        CRef<CParticle> particle = FromXml(text);
        return CRef<CParticleSparkle>(dynamic_cast<CParticleSparkle*>(particle.Get()));
    }
    void EnticeRules(const char* radius, const char* period)
    {
        WriteRules(std::string("<particles><entice material=\"glow\" uvs=\"0,0,0.5\" radius=\"") + radius +
                   "\" period=\"" + period + "\"/></particles>");
    }
};

CRef<CParticle> MakeNothing()
{
    return CRef<CParticle>();
}
} // namespace

TEST_F(ParticleKindsTest, KindsAreFoundByNameInAnyCase)
{
    EXPECT_NE(dynamic_cast<CParticleSparkle*>(CParticle::Create("sparkle").Get()), nullptr);
    EXPECT_NE(dynamic_cast<CParticleSparkle*>(CParticle::Create("SPARKLE").Get()), nullptr);
    EXPECT_NE(dynamic_cast<CParticleEntice*>(CParticle::Create("Entice").Get()), nullptr);
    EXPECT_FALSE(CParticle::Create("Glitter"));
    EXPECT_FALSE(CParticle::Create(""));
    EXPECT_FALSE(FromXml("<particle type=\"Glitter\" position=\"1,2\"/>"));
    EXPECT_FALSE(FromXml("<particle position=\"1,2\"/>"));

    // A second registration replaces the factory.
    const ParticleKindMap::Factory sparkle = ParticleKindMap::Find("Sparkle");
    const int32_t count = ParticleKindMap::Count();
    ParticleKindMap::Register("sparkle", &MakeNothing);
    EXPECT_EQ(ParticleKindMap::Count(), count);
    EXPECT_FALSE(CParticle::Create("Sparkle"));
    ParticleKindMap::Register("Sparkle", sparkle);
    EXPECT_TRUE(CParticle::Create("Sparkle"));
}

TEST_F(ParticleKindsTest, ASparkleTwinklesByItsWavesAndThresholds)
{
    CRef<CParticleSparkle> sparkle = Sparkle(
        "<particle type=\"Sparkle\" position=\"2\" radius=\"0.2\" uvs=\"#ff0000\" frequency=\"0.3,0.7\" "
        "threshold=\"0.25,0.75\"/>");
    ASSERT_TRUE(sparkle);
    EXPECT_EQ(sparkle->position, Vector2<float>(2, 2));
    EXPECT_EQ(sparkle->GetBatch().GetQuadRect(0), Vector4<float>(-0.2f, -0.2f, 0.2f, 0.2f));
    ASSERT_EQ(sparkle->GetWaves().size(), 2u);
    for (const Vector2<float>& wave : sparkle->GetWaves())
    {
        EXPECT_GE(wave.y, 0.0f);
        EXPECT_LT(wave.y, 360.0f);
    }
    EXPECT_NE(sparkle->GetWaves()[0].y, sparkle->GetWaves()[1].y) << "each wave its own phase";

    // The wave is the product of the two, each between 0 and 1.
    const double r = M_PI / 180.0;
    const Vector2<float> a = sparkle->GetWaves()[0], b = sparkle->GetWaves()[1];
    for (int32_t now : {0, 1234, 98765})
    {
        const double expected = (std::sin((a.y + a.x * 360.0 * now / 1000.0) * r) + 1) / 2 *
                                (std::sin((b.y + b.x * 360.0 * now / 1000.0) * r) + 1) / 2;
        EXPECT_NEAR(sparkle->Wave(now), expected, 1e-5);
    }
    EXPECT_EQ(sparkle->AlphaOf(0.25f), 0.0f);
    EXPECT_FLOAT_EQ(sparkle->AlphaOf(0.5f), 0.5f);
    EXPECT_EQ(sparkle->AlphaOf(0.9f), 1.0f);
    EXPECT_EQ(sparkle->AlphaOf(NAN), 0.0f);

    // Equal thresholds make a step; without waves it shows steadily.
    CRef<CParticleSparkle> step = Sparkle("<particle type=\"sparkle\" threshold=\"0.5\"/>");
    EXPECT_EQ(step->AlphaOf(0.5f), 0.0f);
    EXPECT_EQ(step->AlphaOf(0.51f), 1.0f);
    CRef<CParticleSparkle> steady =
        Sparkle("<particle type=\"Sparkle\" position=\"1,3\" threshold=\"0.5,1.5\"/>");
    EXPECT_EQ(steady->Wave(777), 1.0f);
    ASSERT_TRUE(steady->Animate(777));
    EXPECT_EQ(steady->GetBatch().GetColour(), Vector4<float>(0.5f, 0.5f, 0.5f, 0.5f));
    EXPECT_EQ(steady->GetBatch().translation.x, 1.0f);
    EXPECT_EQ(steady->GetBatch().translation.y, 3.0f);
    EXPECT_NEAR(steady->GetBatch().rotation, 0.0f, 1e-5f);
    CRef<CParticleSparkle> dark = Sparkle("<particle type=\"Sparkle\" threshold=\"1\"/>");
    EXPECT_FALSE(dark->Animate(0));
}

TEST_F(ParticleKindsTest, AnEnticePulsesOncePerPeriodAtAFreshOffsetAfterItsFirstCycle)
{
    EnticeRules("0.3", "1");
    CParticleEntice entice;
    entice.position = Vector2<float>(4, 5);
    EXPECT_EQ(entice.GetPeriod(), 1.0f);
    EXPECT_EQ(entice.GetBatch().GetQuadRect(0), Vector4<float>(-0.3f, -0.3f, 0.3f, 0.3f));
    EXPECT_EQ(entice.GetBatch().GetQuadUv(0, 0), Vector4<float>(0, 0, 0.5f, 0.5f));

    // The first, partial cycle never shows; it ends within one period.
    int32_t now = 10000;
    bool shown = false;
    while (entice.IsWaiting() && now < 11001)
    {
        shown = shown || entice.Animate(now);
        now += 10;
    }
    EXPECT_FALSE(shown);
    ASSERT_FALSE(entice.IsWaiting());
    const int32_t cycleStart = now - 10;

    // Each later cycle rises and falls once around a point within a third of the radius.
    for (int32_t cycle = 0; cycle < 5; ++cycle)
    {
        const Vector2<float> offset = entice.GetOffset();
        EXPECT_LE(std::fabs(offset.x), 0.1f + 1e-6f);
        EXPECT_LE(std::fabs(offset.y), 0.1f + 1e-6f);
        const int32_t start = cycleStart + cycle * 1000;
        ASSERT_TRUE(entice.Animate(start + 500));
        EXPECT_FLOAT_EQ(entice.GetBatch().GetColour().w, 1.0f);
        EXPECT_FLOAT_EQ(entice.GetBatch().translation.x, 4.0f + offset.x);
        EXPECT_FLOAT_EQ(entice.GetBatch().translation.y, 5.0f + offset.y);
        ASSERT_TRUE(entice.Animate(start + 250));
        EXPECT_NEAR(entice.GetBatch().GetColour().w, 0.5f, 1e-5f);
        EXPECT_NEAR(entice.GetBatch().rotation, 15.0f, 1e-4f);
        EXPECT_FALSE(entice.Animate(start + 1000)) << "the cycle ends undrawn";
        EXPECT_NE(entice.GetOffset(), offset);
    }
}

TEST_F(ParticleKindsTest, EnticePulsesSitOnThePositionWithoutRadiusAndNeverShowWithoutPeriod)
{
    EnticeRules("0", "0.8,1.4");
    CParticleEntice a, b;
    EXPECT_GE(a.GetPeriod(), 0.8f);
    EXPECT_LE(a.GetPeriod(), 1.4f);
    EXPECT_NE(a.GetPeriod(), b.GetPeriod());
    for (int32_t now = 1; now < 5000; now += 20)
        a.Animate(now);
    EXPECT_FALSE(a.IsWaiting());
    EXPECT_EQ(a.GetOffset().x, 0.0f);
    EXPECT_EQ(a.GetOffset().y, 0.0f);

    EnticeRules("0.3", "0");
    CParticleEntice still;
    for (int32_t now = 1; now < 3000; now += 20)
        EXPECT_FALSE(still.Animate(now));
}
