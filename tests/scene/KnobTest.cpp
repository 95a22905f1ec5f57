// Knobs without a context: what a "knob" element gives, the shown/faded look, and when a limb
// knob's fizz runs.
#include "ParticleFixture.h"

#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "platform/PlatformHooks.h"
#include "scene/CKnob.h"

namespace
{
int32_t s_frame = 0;
Vector2<float> s_joint;
bool s_held = false;
bool s_hasJoint = true;

bool ProbeLimb(int32_t limb, Vector2<float>* position, bool* held)
{
    if (!s_hasJoint || limb != 3)
        return false;
    *position = s_joint;
    *held = s_held;
    return true;
}

class KnobTest : public ParticleFixture
{
  protected:
    void SetUp() override
    {
        ParticleFixture::SetUp();
        WriteParticles(
            "<fizz><spawn frequency=\"10\"/><animation><key tick=\"100\" a=\"1\"/></animation></fizz>"
            "<sparks><spawn frequency=\"10\"/></sparks>");
        PlatformHooks hooks;
        hooks.frameCount = [] { return s_frame; };
        m_hooks = PlatformHooks::Install(hooks);
        m_probe = CKnob::SetLimbProbe(&ProbeLimb);
        s_frame = 100;
        s_joint = Vector2<float>();
        s_held = false;
        s_hasJoint = true;
    }
    void TearDown() override
    {
        CKnob::SetLimbProbe(m_probe);
        PlatformHooks::Install(m_hooks);
        ParticleFixture::TearDown();
    }

    static CRef<CKnob> Knob(const char* text)
    {
        CXmlDocument document;
        EXPECT_TRUE(document.Parse(text, false)) << text;
        return CKnob::Create(*document.GetRoot());
    }

    PlatformHooks m_hooks;
    CKnob::LimbProbe m_probe = nullptr;
};
} // namespace

TEST_F(KnobTest, TheElementGivesTypeLimbLookAndEffect)
{
    CRef<CKnob> drop = Knob("<knob radius=\"0.4\" uvs=\"0,0,0.25\" angle=\"30\"/>");
    EXPECT_EQ(drop->GetType(), "drop");
    EXPECT_EQ(drop->GetLimb(), -1);
    EXPECT_EQ(drop->GetEffect(), nullptr);
    EXPECT_FALSE(drop->IsActive());
    EXPECT_EQ(drop->GetQuad().GetQuadRect(0), Vector4<float>(-0.4f, -0.4f, 0.4f, 0.4f));
    EXPECT_EQ(drop->GetQuad().GetQuadUv(0, 0), Vector4<float>(0, 0, 0.25f, 0.25f));
    EXPECT_EQ(drop->GetQuad().rotation, 30.0f);
    EXPECT_EQ(drop->GetLod(), 0.0f);
    EXPECT_EQ(drop->GetFadeLod(), 1.0f);
    EXPECT_EQ(drop->GetColour(), Vector4<float>(1, 1, 1, 1));

    EXPECT_EQ(CKnob::LimbOfType("handln"), 0);
    EXPECT_EQ(CKnob::LimbOfType("HANDR"), 1);
    EXPECT_EQ(CKnob::LimbOfType("footlw"), 2);
    EXPECT_EQ(CKnob::LimbOfType("Footr"), 3);
    EXPECT_EQ(CKnob::LimbOfType("foot"), -1);
    EXPECT_EQ(CKnob::LimbOfType("handsome"), -1);

    // A limb knob runs in "maingame" with the fizz it names, or "fizz".
    CRef<CKnob> foot = Knob("<knob type=\"Footr\" fade=\"#80808080\"/>");
    EXPECT_EQ(foot->GetLimb(), 3);
    EXPECT_TRUE(m_game->GetScope("maingame").GetScheduler().IsScheduled(foot.Get()));
    ASSERT_NE(foot->GetEffect(), nullptr);
    EXPECT_EQ(foot->GetEffect()->GetName(), "fizz");
    EXPECT_NEAR(foot->GetFade().w, 128.0f / 255.0f, 1e-6f);
    CRef<CKnob> sparky = Knob("<knob type=\"handln\" fizz=\"sparks\"/>");
    EXPECT_EQ(sparky->GetEffect()->GetName(), "sparks");
}

TEST_F(KnobTest, TheShownFractionBlendsColourAndSharpness)
{
    CRef<CKnob> knob =
        Knob("<knob type=\"footrs\" colour=\"1,0.5,0,1\" fade=\"0,0.5,1,0.2\" lod=\"-0.5\" fadelod=\"2\"/>");
    EXPECT_EQ(knob->Place(Vector2<float>(3, 4), 1.0f), -0.5f);
    EXPECT_EQ(knob->GetQuad().GetColour(), Vector4<float>(1, 0.5f, 0, 1));
    EXPECT_EQ(knob->GetQuad().translation.x, 3.0f);
    EXPECT_EQ(knob->GetQuad().translation.y, 4.0f);
    EXPECT_EQ(knob->GetEffect()->GetBatch().translation.x, 3.0f);
    EXPECT_EQ(knob->GetEffect()->GetBatch().translation.y, 4.0f);
    EXPECT_EQ(knob->Place(Vector2<float>(0, 0), 0.0f), 2.0f);
    EXPECT_EQ(knob->GetQuad().GetColour(), Vector4<float>(0, 0.5f, 1, 0.2f));
    EXPECT_FLOAT_EQ(knob->Place(Vector2<float>(0, 0), 0.5f), 0.75f);
    const Vector4<float> half = knob->GetQuad().GetColour();
    EXPECT_FLOAT_EQ(half.x, 0.5f);
    EXPECT_FLOAT_EQ(half.z, 0.5f);
    EXPECT_FLOAT_EQ(half.w, 0.6f);
}

TEST_F(KnobTest, TheFizzRunsWhileItsLimbIsHeldOrNearAndTheKnobIsShown)
{
    CRef<CKnob> knob = Knob("<knob type=\"footrn\"/>");
    CParticles* fizz = knob->GetEffect();
    s_held = true;
    knob->Update(0.02f);
    EXPECT_FALSE(fizz->IsEmitting()) << "never drawn: not on the board";

    knob->Place(Vector2<float>(0, 0), 1.0f);
    knob->Update(0.02f);
    EXPECT_TRUE(fizz->IsEmitting()) << "held";
    s_held = false;
    s_joint = Vector2<float>(0.1f, 0);
    knob->Update(0.02f);
    EXPECT_FALSE(fizz->IsEmitting()) << "0.1 away is not near";
    s_joint = Vector2<float>(0, -0.099f);
    knob->Update(0.02f);
    EXPECT_TRUE(fizz->IsEmitting());

    // Without the joint nothing changes; without the probe neither.
    s_hasJoint = false;
    s_joint = Vector2<float>(5, 5);
    knob->Update(0.02f);
    EXPECT_TRUE(fizz->IsEmitting());
    s_hasJoint = true;

    // Undrawn for 7 frames it keeps fizzing; at 8 it stops.
    s_frame += 7;
    s_joint = Vector2<float>(0, 0);
    knob->Update(0.02f);
    EXPECT_TRUE(fizz->IsEmitting());
    s_frame += 1;
    knob->Update(0.02f);
    EXPECT_FALSE(fizz->IsEmitting());

    // A drop knob has nothing to switch.
    CRef<CKnob> drop = Knob("<knob type=\"drop\"/>");
    drop->Place(Vector2<float>(2, 2), 1.0f);
    drop->Update(0.02f);
    EXPECT_EQ(drop->GetEffect(), nullptr);
}
