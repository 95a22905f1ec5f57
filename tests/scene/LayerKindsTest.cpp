// The pond's own layer kinds without a context: particles, petals and rays load their attributes
// and defaults, the plane's effect link finds its layer, and a kind nobody registers is reported.
#include "SceneFixture.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/Random.h"
#include "scene/CLayerParticles.h"
#include "scene/CLayerPetals.h"
#include "scene/CLayerPlane.h"
#include "scene/CLayerRays.h"
#include "scene/CParticleSparkle.h"
#include "scene/CPetals.h"

#include <cmath>

namespace
{

// A layer kind "Affected" that counts the reactions asked of it.
class AffectedLayer : public CLayer
{
  public:
    AffectedLayer() : CLayer("CLayerAffected") {}
    void Affect() override { ++s_affects; }
    void Draw() override {}
    static inline int s_affects = 0;
};
const bool s_affectedKind =
    LayerKindMap::Register("Affected", [] { return CRef<CLayer>(MakeRef<AffectedLayer>()); });

// Petals that sense a fixed world and a silent clock.
const CPetals::Hooks kQuietHooks{[] { return int32_t(0); },
                                 [](PetalWorld& world) { world.view = Vector4<float>(-1, -1, 10, 10); },
                                 [](const char*) {}, [](const char*) {}, [](bool, float, float) {}};

class LayerKindsTest : public SceneTest
{
  protected:
    LayerKindsTest() : m_previousHooks(CPetals::SetHooks(kQuietHooks))
    {
        GlobalRandom().Seed(19);
        AffectedLayer::s_affects = 0;
    }
    ~LayerKindsTest() override { CPetals::SetHooks(m_previousHooks); }

    template <typename Kind> CRef<Kind> Make(const char* text)
    {
        EXPECT_TRUE(m_document.Parse(text, false)) << text;
        CRef<CLayer> layer = CLayer::Create(nullptr, *m_document.GetRoot());
        EXPECT_TRUE(layer) << text;
        return CRef<Kind>(dynamic_cast<Kind*>(layer.Get()));
    }

    CXmlDocument m_document;
    CPetals::Hooks m_previousHooks;
};

TEST_F(LayerKindsTest, ParticlesLoadTheirKnownKindsInOrder)
{
    CRef<CLayerParticles> layer = Make<CLayerParticles>(R"(<layer type="particles">
        <particle type="Sparkle" position="1,2" radius="0.5"/><particle type="Nonesuch"/>
        <other type="Sparkle"/><particle type="SPARKLE" position="3"/></layer>)");
    ASSERT_TRUE(layer);
    EXPECT_EQ("CLayerParticles", layer->GetClassName());
    ASSERT_EQ(2u, layer->GetParticles().size()) << "the unknown kind and the other element are left out";
    EXPECT_EQ(Vector2<float>(1, 2), layer->GetParticles()[0]->position);
    EXPECT_EQ(Vector2<float>(3, 3), layer->GetParticles()[1]->position);
    EXPECT_TRUE(Make<CLayerParticles>(R"(<layer type="Particles"/>)")->GetParticles().empty());
}

TEST_F(LayerKindsTest, PetalsReadTheirPeriodDepthAndLooks)
{
    m_clock.Set(5000);
    struct Case
    {
        const char* text;
        Vector2<int32_t> period; // ms
        Vector2<float> depth;
        size_t petals;
    } cases[] = {
        {R"(<layer type="Petals"/>)", {1000, 5000}, {0, 1}, 0},
        {R"(<layer type="Petals" period="2" depth="0.5"><petal radius="0.1"/><x/><petal/></layer>)",
         {2000, 2000}, {0.5f, 0.5f}, 2},
        {R"(<layer type="petals" period="0.25,0.5" depth="0.2,0.8"><petal/></layer>)", {250, 500}, {0.2f, 0.8f}, 1},
        // Beyond the longest wait (an hour), below none or not a number, a period is held at the limit.
        {R"(<layer type="Petals" period="-3,1e30"/>)", {0, 3600000}, {0, 1}, 0},
        {R"(<layer type="Petals" period="nan"/>)", {0, 0}, {0, 1}, 0},
    };
    for (const Case& c : cases)
    {
        CRef<CLayerPetals> layer = Make<CLayerPetals>(c.text);
        ASSERT_TRUE(layer) << c.text;
        EXPECT_EQ(c.period, layer->GetPeriod()) << c.text;
        EXPECT_EQ(c.depth, layer->GetDepth()) << c.text;
        EXPECT_EQ(c.petals, layer->GetPetals().size()) << c.text;
        const int32_t wait = CClock::Difference(5000, layer->GetNextRelease());
        EXPECT_GE(wait, c.period.x) << c.text;
        EXPECT_LE(wait, c.period.y) << c.text;
    }
}

TEST_F(LayerKindsTest, PetalsAreReleasedOneAPeriodWhileOneIsFree)
{
    CRef<CLayerPetals> layer =
        Make<CLayerPetals>(R"(<layer type="Petals" period="2" depth="1"><petal radius="0.1"/><petal radius="0.1"/></layer>)");
    ASSERT_TRUE(layer);
    auto active = [&] {
        int n = 0;
        for (const CPetal& petal : layer->GetPetals())
            n += petal.IsActive();
        return n;
    };
    // Released at 2001, 4001; then none is free, so the release waits a period from the last try.
    for (int32_t t = 0; t <= 7000; t += 100)
    {
        m_clock.Set(uint32_t(t));
        layer->Update(0.01f);
        const int expected = t > 4000 ? 2 : t > 2000 ? 1 : 0;
        ASSERT_EQ(expected, active()) << "at " << t << " ms";
    }
    EXPECT_GT(CClock::Difference(7000, layer->GetNextRelease()), 0);

    // Without petals the release time keeps moving ahead.
    CRef<CLayerPetals> bare = Make<CLayerPetals>(R"(<layer type="Petals" period="1"/>)");
    m_clock.Set(20000);
    bare->Update(0.01f);
    EXPECT_EQ(21000u, bare->GetNextRelease());
}

TEST_F(LayerKindsTest, RaysBreatheWithinTheirRanges)
{
    CRef<CLayerRays> layer = Make<CLayerRays>(R"(<layer type="Rays">
        <ray/>
        <ray position="1,2" material="lightray" uvs="0.5" angle="30" length="10" width="0.5,1" alpha="0.25,2"/>
        <ray width="-1,1" alpha="0,1" frequency="0.1,0.37"/><other/></layer>)");
    ASSERT_TRUE(layer);
    ASSERT_EQ(3u, layer->GetRays().size());
    const CRay& plain = *layer->GetRays()[0];
    EXPECT_EQ(Vector2<float>(0, 0), plain.GetPosition());
    EXPECT_EQ(Vector4<float>(0, 0, 1, 1), plain.GetUvs());
    EXPECT_EQ(0.0f, plain.GetLength());
    EXPECT_TRUE(plain.GetWaves().empty());

    // Without waves the ray stays at the top of its ranges; alpha above 1 is drawn at 1.
    const CRay& lit = *layer->GetRays()[1];
    EXPECT_EQ(Vector2<float>(1, 2), lit.GetPosition());
    EXPECT_EQ(Vector4<float>(0.5f, 0.5f, 0.5f, 0.5f), lit.GetUvs());
    EXPECT_EQ(30.0f, lit.GetAngle());
    EXPECT_EQ(10.0f, lit.GetLength());
    for (int32_t t : {0, 1234, 99999})
    {
        EXPECT_EQ(1.0f, lit.LookAt(t).alpha);
        EXPECT_EQ(1.0f, lit.LookAt(t).halfWidth);
    }

    // Two waves: the product of two sines, dark only where one factor reaches 0; a negative
    // width is drawn as none.
    const CRay& breathing = *layer->GetRays()[2];
    ASSERT_EQ(2u, breathing.GetWaves().size());
    for (int32_t t = 0; t < 20000; t += 250)
    {
        double k = 1.0;
        for (const Vector2<float>& wave : breathing.GetWaves())
            k *= (1.0 + std::sin((wave.y + 360.0 * wave.x * t / 1000.0) * M_PI / 180.0)) / 2.0;
        const CRay::Look look = breathing.LookAt(t);
        EXPECT_NEAR(k, look.alpha, 1e-5) << t;
        EXPECT_NEAR(std::max(0.0, 2.0 * k - 1.0), look.halfWidth, 1e-5) << t;
    }
}

TEST_F(LayerKindsTest, ThePlanesEffectLinkFindsItsLayerOnceItIsThere)
{
    CRef<CLayerPlane> plain = Make<CLayerPlane>(R"(<layer type="Plane"/>)");
    EXPECT_EQ(nullptr, plain->GetEffect());

    // A pond without the named layer: nothing happens, and the next call looks again.
    CRef<CPond> pond = MakePond(R"(<layer type="Plane" name="glow" effectaffect="target"/>)");
    CEffectAffect* effect = dynamic_cast<CLayerPlane*>(pond->FindLayer("glow"))->GetEffect();
    ASSERT_NE(nullptr, effect);
    EXPECT_EQ("target", effect->GetTargetName());
    effect->Invoke();
    EXPECT_EQ(nullptr, effect->GetTarget());

    CRef<CPond> other = MakePond(R"(<layer type="Affected" name="target"/><layer type="Affected" name="target"/>)");
    effect->Invoke();
    effect->Invoke();
    EXPECT_EQ(other->FindLayer("target"), effect->GetTarget()) << "the first layer of the name";
    EXPECT_EQ(2, AffectedLayer::s_affects);

    // The link lets go of a layer that dies, and finds the next current pond's.
    other.Reset();
    EXPECT_EQ(nullptr, effect->GetTarget());
    CPond::SetCurrent(pond.Get());
    effect->Invoke();
    EXPECT_EQ(2, AffectedLayer::s_affects);
}

TEST_F(LayerKindsTest, AnUnknownKindIsReportedOnceWithThePondsName)
{
    const std::string text = R"(<pond><treatment><layer type="Plane" name="a"/><layer type="Glimmer" name="b"/>
        <layer name="untyped"/><layer type="Plane" name="c"/></treatment></pond>)";
    WritePond("strange", text);
    testing::internal::CaptureStderr();
    CRef<CPond> pond = CPond::Create("strange");
    pond = CPond::Create("strange");
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_EQ(2u, pond->GetLayers().size()) << "the layers around it still load";
    EXPECT_NE(std::string::npos, report.find("pond/strange: layer type \"Glimmer\": no layer kind"))
        << report;
    EXPECT_NE(std::string::npos, report.find("pond/strange: layer type \"\": no layer kind")) << report;
    size_t lines = 0;
    for (char c : report)
        lines += c == '\n';
    EXPECT_EQ(2u, lines) << "once each, though the pond loaded twice: " << report;
}

} // namespace
