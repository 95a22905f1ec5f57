// The grow transition on a hand-driven game clock: the start look, the eased blend, the arrival
// with its sound, running and reversing, and how a button draws through it.
#include "ui/ButtonFixture.h"
#include "ui/CButtonTransitionGrow.h"

namespace
{

struct Look
{
    Vector4<float> colour{1, 1, 1, 1};
    Vector4<float> rect{-2, -2, 2, 2};
    Vector4<float> uvs{0.5f, 0.0f, 1.0f, 0.5f};
    uint32_t frame = 3;
};

class ButtonTransitionTest : public ButtonTest
{
  protected:
    Look Apply(CButtonTransition& transition)
    {
        Look look;
        transition.Apply(m_button, look.colour, look.rect, look.uvs, look.frame);
        return look;
    }
    CButton m_button;
};

TEST_F(ButtonTransitionTest, GrowingBlendsFromTheStartLookToTheFullLook)
{
    CRef<CButtonTransition> grow = CButtonTransitionGrow::Create();
    EXPECT_TRUE(grow->IsRunning());
    // Not started: the start look, the frame left alone.
    Look look = Apply(*grow);
    EXPECT_EQ(Vector4<float>(0.75f, 1, 0.75f, 1), look.colour);
    EXPECT_EQ(Vector4<float>(-2, 0.5f, 2, 2), look.rect);
    EXPECT_EQ(Vector4<float>(0.5f, 0.25f, 1.0f, 0.5f), look.uvs);
    EXPECT_EQ(3u, look.frame);

    m_services.gameTime = 1000;
    grow->Start(0, 0.2f);
    EXPECT_EQ(1200, grow->GetStartTime());
    look = Apply(*grow); // before its start: still the start look, on frame 0
    EXPECT_EQ(Vector4<float>(0.75f, 1, 0.75f, 1), look.colour);
    EXPECT_EQ(0u, look.frame);

    // A quarter of the 0.5 s: eased to 2 x 0.25^2 = 0.125 of the way.
    m_services.gameTime = 1325;
    look = Apply(*grow);
    EXPECT_FLOAT_EQ(0.75f + 0.25f * 0.125f, look.colour.x);
    EXPECT_FLOAT_EQ(-2.0f * (-0.25f + 1.25f * 0.125f), look.rect.y);
    EXPECT_FLOAT_EQ(0.25f - 0.25f * 0.125f, look.uvs.y);
    EXPECT_TRUE(m_services.sounds.empty());
    // Three quarters: 1 - 2 x 0.25^2.
    m_services.gameTime = 1575;
    EXPECT_FLOAT_EQ(0.75f + 0.25f * 0.875f, Apply(*grow).colour.x);

    m_services.gameTime = 1700;
    look = Apply(*grow);
    EXPECT_EQ(Vector4<float>(1, 1, 1, 1), look.colour);
    EXPECT_EQ(Vector4<float>(-2, -2, 2, 2), look.rect);
    EXPECT_EQ(Vector4<float>(0.5f, 0.0f, 1.0f, 0.5f), look.uvs);
    EXPECT_EQ(std::vector<std::string>{"grow-in"}, m_services.sounds);
    EXPECT_FALSE(grow->IsRunning());
    m_services.gameTime = 5000;
    look = Apply(*grow);
    EXPECT_EQ(3u, look.frame);
    EXPECT_EQ(1u, m_services.sounds.size());

    // Towards the phase it is in: nothing happens and it stays stopped.
    grow->Start(0, 0.0f);
    EXPECT_FALSE(grow->IsRunning());
    EXPECT_EQ(Vector4<float>(1, 1, 1, 1), Apply(*grow).colour);

    // Back towards the start look: the same blend in reverse, silently.
    grow->Start(1, 0.0f);
    EXPECT_TRUE(grow->IsRunning());
    m_services.gameTime = 5125;
    EXPECT_FLOAT_EQ(1.0f - 0.25f * 0.125f, Apply(*grow).colour.x);
    m_services.gameTime = 5500;
    EXPECT_EQ(Vector4<float>(0.75f, 1, 0.75f, 1), Apply(*grow).colour);
    EXPECT_EQ(1u, grow->GetPhase());
    EXPECT_EQ(1u, m_services.sounds.size());
}

TEST_F(ButtonTransitionTest, AButtonDrawsThroughItsTransitionAndWaitsForIt)
{
    CButton b;
    Load(b, R"(<button type="round" position="5,5" action="go" overlaps="false"/>)");
    b.zoom = 2.0f;
    b.transition = CButtonTransitionGrow::Create();
    b.transition->Start(0, 0.0f);
    b.Update();
    // The start look on frame 0: a quarter-height sliver below the centre (in unzoomed units,
    // since the batch scales by the zoom), the lower half of the cell, tinted.
    ASSERT_EQ(0u, b.GetCurrentFrame());
    const QuadBatch& batch = b.GetFrame(0).batch;
    const Vector4<float> rect = batch.GetQuadRect(0);
    EXPECT_FLOAT_EQ(0.125f, rect.y);
    EXPECT_FLOAT_EQ(0.5f, rect.w);
    EXPECT_FLOAT_EQ(0.125f, batch.GetQuadUv(0, 0).y);
    EXPECT_FLOAT_EQ(0.75f, batch.GetColour().x);
    EXPECT_FLOAT_EQ(0.5f, batch.GetColour().w); // the frame's own alpha
    EXPECT_EQ(Vector2<float>(2, 2), batch.scale);
    b.OnPress(Vector2<float>(5, 5));
    EXPECT_FALSE(b.OnRelease(Vector2<float>(5, 5)));

    m_services.gameTime = 500;
    b.Update();
    EXPECT_TRUE(b.IsClickable());
    EXPECT_EQ(std::vector<std::string>{"grow-in"}, m_services.sounds);
    b.OnPress(Vector2<float>(5, 5));
    EXPECT_TRUE(b.OnRelease(Vector2<float>(5, 5)));
}

} // namespace
