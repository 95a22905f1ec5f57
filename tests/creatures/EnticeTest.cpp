// The entice effect: particles and glows per target, the glow's fade in and out, and the targets
// following the limb drag's through the pond hook.
#include "Graphics/CMaterialSet.h"
#include "Graphics/CTextureSet.h"
#include "core/CRules.h"
#include "creatures/CEntice.h"
#include "creatures/CEnticeServices.h"
#include "creatures/EnticeGlowColour.h"
#include "platform/CGame.h"
#include "scene/CPond.h"
#include "scene/CSceneCreatureServices.h"
#include "support/AppFolder.h"
#include "support/FakeClock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
class FakeEnticeServices : public CEnticeServices
{
  public:
    FakeEnticeServices() : m_previous(CEnticeServices::Install(this)) {}
    ~FakeEnticeServices() override { CEnticeServices::Install(m_previous); }

    CRef<CBase> MakeParticle(const Vector2<float>& position) override
    {
        made.push_back(position);
        return MakeRef<CBase>();
    }
    void DrawParticle(CBase&, int32_t now) override { drawn.push_back(now); }

    std::vector<Vector2<float>> made;
    std::vector<int32_t> drawn;

  private:
    CEnticeServices* m_previous;
};

class EnticeTest : public testing::Test
{
  protected:
    EnticeTest()
    {
        WriteRules("2,1");
        CSingleton<CGame>::Toggle(false);
        SetEnticeGlowColour(Vector4<float>(1.0f, 1.0f, 1.0f, 1.0f));
        m_entice = CEntice::Instance();
    }
    ~EnticeTest() override
    {
        CSingleton<CEntice>::Toggle(false);
        CSingleton<CGame>::Toggle(false);
        CMaterialSet::Toggle(false);
        CTextureSet::Toggle(false);
        SetEnticeGlowColour(Vector4<float>(1.0f, 1.0f, 1.0f, 1.0f));
    }
    void WriteRules(const std::string& count)
    {
        m_folder.WriteData("rules.xml", "<rules><interval animation=\"20\"/><entice fadein=\"0.5\" "
                                        "radiusout=\"1\" radiusin=\"0.5\" count=\"" +
                                            count + "\"/></rules>");
        CRules::Instance()->Load();
    }

    FakeClock m_clock;
    AppFolder m_folder;
    FakeEnticeServices m_services;
    CEntice* m_entice = nullptr;
    const std::vector<Vector2<float>> m_targets{{1.0f, 2.0f}, {3.0f, 4.0f}};
};
} // namespace

TEST_F(EnticeTest, MakesParticlesAndAGlowPerTarget)
{
    m_entice->SetTargets(m_targets);
    EXPECT_EQ(m_entice->GetOuterCount(), 4u);
    EXPECT_EQ(m_entice->GetInnerCount(), 2u);
    ASSERT_EQ(m_services.made.size(), 6u);
    EXPECT_EQ(m_services.made[0], Vector2<float>(1.0f, 2.0f));
    EXPECT_EQ(m_services.made[5], Vector2<float>(3.0f, 4.0f));
    ASSERT_EQ(m_entice->GetGlows().size(), 2u);
    const QuadBatch& glow = m_entice->GetGlows()[1];
    EXPECT_EQ(glow.translation, Vector3<float>(3.0f, 4.0f, 1.0f));
    EXPECT_EQ(glow.GetQuadRect(0), Vector4<float>(-1.0f, -1.0f, 1.0f, 1.0f));
    EXPECT_EQ(glow.GetColour(), Vector4<float>(0.0f, 0.0f, 0.0f, 0.0f));

    SetEnticeGlowColour(Vector4<float>(1.0f, 0.5f, 0.0f, 0.0f)); // a board without glows
    m_entice->SetTargets(m_targets);
    EXPECT_TRUE(m_entice->GetGlows().empty());
    EXPECT_EQ(m_entice->GetOuterCount(), 4u);
}

TEST_F(EnticeTest, GlowGrowsInWhileHeldAndShrinksAwayWhenReleased)
{
    m_entice->SetTargets(m_targets);
    m_entice->Update(0.25f); // s from the fade before: 0
    EXPECT_FLOAT_EQ(m_entice->GetFade(), 0.5f);
    EXPECT_FLOAT_EQ(m_entice->GetGlows()[0].scale.x, 1.0f); // radiusout
    m_entice->Update(0.25f);                                // s(0.5) = 0.5
    EXPECT_FLOAT_EQ(m_entice->GetFade(), 1.0f);
    EXPECT_FLOAT_EQ(m_entice->GetGlows()[0].scale.x, 0.75f);
    EXPECT_FLOAT_EQ(m_entice->GetGlows()[0].GetColour().w, 0.5f);
    m_entice->Update(0.25f); // capped at 1
    EXPECT_FLOAT_EQ(m_entice->GetFade(), 1.0f);
    EXPECT_FLOAT_EQ(m_entice->GetGlows()[1].scale.y, 0.5f); // radiusin
    EXPECT_EQ(m_entice->GetGlows()[1].GetColour(), Vector4<float>(1.0f, 1.0f, 1.0f, 1.0f));

    m_entice->SetTargets({}); // particles go at once, glows stay
    EXPECT_EQ(m_entice->GetOuterCount() + m_entice->GetInnerCount(), 0u);
    ASSERT_EQ(m_entice->GetGlows().size(), 2u);
    m_entice->Update(0.25f);
    EXPECT_FLOAT_EQ(m_entice->GetFade(), 0.5f);
    EXPECT_FLOAT_EQ(m_entice->GetGlows()[0].scale.x, 0.5f); // s(1) * radiusin
    m_entice->Update(0.25f);
    EXPECT_TRUE(m_entice->GetGlows().empty());
    m_entice->Update(0.25f); // nothing left to fade
    EXPECT_FLOAT_EQ(m_entice->GetFade(), 0.0f);
}

TEST_F(EnticeTest, NewTargetsReplaceFadingGlowsAtOnce)
{
    m_entice->SetTargets(m_targets);
    m_entice->Update(0.5f);
    m_entice->SetTargets({});
    m_entice->Update(0.1f);
    m_entice->SetTargets({{5.0f, 5.0f}});
    EXPECT_FLOAT_EQ(m_entice->GetFade(), 0.0f);
    ASSERT_EQ(m_entice->GetGlows().size(), 1u);
    EXPECT_EQ(m_entice->GetGlows()[0].translation, Vector3<float>(5.0f, 5.0f, 1.0f));
    EXPECT_EQ(m_entice->GetOuterCount(), 2u);
}

TEST_F(EnticeTest, NoOuterParticlesDropTheGlowsAtTheFirstUpdate)
{
    // An outer count of 0 reads as a released limb: the new glows go, the inner particles stay.
    WriteRules("0,3");
    m_entice->SetTargets(m_targets);
    EXPECT_EQ(m_entice->GetOuterCount(), 0u);
    EXPECT_EQ(m_entice->GetInnerCount(), 6u);
    ASSERT_EQ(m_entice->GetGlows().size(), 2u);
    m_entice->Update(0.25f);
    EXPECT_TRUE(m_entice->GetGlows().empty());
    EXPECT_FLOAT_EQ(m_entice->GetFade(), 0.0f);
    EXPECT_EQ(m_entice->GetInnerCount(), 6u);

    // A fade time of 0 is instant, never a division by zero.
    m_folder.WriteData("rules.xml", "<rules><entice fadein=\"0\" count=\"1\"/></rules>");
    CRules::Instance()->Load();
    m_entice->SetTargets(m_targets);
    EXPECT_EQ(m_entice->GetInnerCount(), 2u); // a missing y repeats x
    m_entice->Update(0.0f);
    EXPECT_FLOAT_EQ(m_entice->GetFade(), 1.0f);
    m_entice->SetTargets({});
    m_entice->Update(0.0f);
    EXPECT_TRUE(m_entice->GetGlows().empty());
}

TEST_F(EnticeTest, FollowsThePondTargetsHook)
{
    const CPond::TargetsHook previous = CPond::SetTargetsHook(&CSceneCreatureServices::SendTargetsToEntice);
    {
        CRef<CPond> pond = MakeRef<CPond>();
        pond->SetTargets(m_targets); // what the limb drag hands the puzzle's pond
        EXPECT_EQ(m_entice->GetOuterCount(), 4u);
        EXPECT_EQ(m_entice->GetGlows()[0].translation, Vector3<float>(1.0f, 2.0f, 1.0f));
        pond->SetTargets({{6.0f, 7.0f}}); // the held limb's reach changed
        ASSERT_EQ(m_entice->GetGlows().size(), 1u);
        EXPECT_EQ(m_entice->GetGlows()[0].translation, Vector3<float>(6.0f, 7.0f, 1.0f));
        pond->SetTargets({});
        EXPECT_EQ(m_entice->GetOuterCount(), 0u);
        EXPECT_EQ(m_entice->GetGlows().size(), 1u);
    }
    CPond::SetTargetsHook(previous);

    // Outside "maingame" the hook brings no effect up.
    CSceneCreatureServices::SendTargetsToEntice(m_targets);
    EXPECT_EQ(m_entice->GetOuterCount(), 4u);
    CSceneCreatureServices::SendTargetsToEntice({});
    EXPECT_EQ(m_entice->GetOuterCount(), 0u);
    CSingleton<CEntice>::Toggle(false);
    CSceneCreatureServices::SendTargetsToEntice(m_targets);
    EXPECT_FALSE(CEntice::Exists());
}
