// The button record: loading from elements and templates, anchoring, hit tests, the click rules,
// looks with their sounds, the linked preference, frame walking, tips and shortcuts.
#include "core/CPreferences.h"
#include "core/Random.h"
#include "ui/ButtonFixture.h"
#include "ui/CButtonTransitionGrow.h"

#include <set>

namespace
{

TEST_F(ButtonTest, LoadReadsTheElementAndItsTemplate)
{
    CButton b;
    Load(b, R"(<button type="round" action="back" attributes="arg" shortcut="undo,z" preference="p"
               origin="1" position="2" colour="0.5" scale="2" angle="30" tip="tip_undo"/>)");
    EXPECT_EQ("back", b.action);
    EXPECT_EQ("arg", b.attributes);
    EXPECT_EQ("undo,z", b.GetShortcut());
    EXPECT_EQ("p", b.GetPreference());
    EXPECT_TRUE(b.Overlaps());
    EXPECT_TRUE(b.IsAnchoredRight() && b.IsAnchoredBottom());
    EXPECT_EQ(Vector3<float>(2, 2, 2), b.position);
    EXPECT_EQ(Vector4<float>(0.5f, 0.5f, 0.5f, 0.5f), b.colour);
    // Radius times scale; the default hit half size is scaled once more.
    EXPECT_EQ(Vector2<float>(1, 1), b.GetRadius());
    EXPECT_EQ(Vector2<float>(2, 2), b.GetActiveRadius());

    ASSERT_EQ(4u, b.GetFrameCount());
    EXPECT_EQ(Vector4<float>(0, 0, 0.25f, 0.25f), b.GetFrame(0).uvs);
    EXPECT_EQ(100, b.GetFrame(0).duration);
    EXPECT_EQ(30.0f, b.GetFrame(0).batch.rotation);
    ExpectVector(Vector4<float>(-1, -1, 1, 1), b.GetFrame(0).batch.GetQuadRect(0));
    EXPECT_EQ(Vector4<float>(1, 0, 0, 1), b.GetFrame(1).colour1);
    EXPECT_EQ(Vector4<float>(0, 0, 1, 1), b.GetFrame(1).colour2);
    EXPECT_EQ(1.0f, b.GetFrame(1).throb);
    EXPECT_EQ(b.GetFrame(2).colour1, b.GetFrame(2).colour2);
    EXPECT_EQ(33, b.GetFrame(3).duration);
    EXPECT_EQ(Vector4<float>(0, 0, 1, 1), b.GetFrame(3).uvs);
    EXPECT_EQ(kWhite, b.GetFrame(3).colour1);

    ASSERT_EQ(1u, b.GetStateSetCount());
    const ButtonStateSet& set = b.GetStateSet();
    EXPECT_EQ(1u, set.looks[0].frame);
    EXPECT_EQ(2u, set.looks[1].frame);
    EXPECT_EQ("hover", set.looks[1].sound);
    EXPECT_EQ("click", set.looks[2].sound);
    EXPECT_TRUE(set.looks[3].present);

    EXPECT_EQ("Undo it", b.GetTipText());
    EXPECT_FLOAT_EQ(0.4f, b.GetTipSize());
    EXPECT_EQ(Vector2<float>(2.0f, -0.2f), b.GetTipPosition());
    EXPECT_FLOAT_EQ(1.0f, b.GetTipDelay());

    for (const auto& [text, overlaps] : std::vector<std::pair<const char*, bool>>{
             {"false", false}, {"0", false}, {"TRUE", true}, {"2", true}})
    {
        Load(b, std::string("<button type=\"plain\" overlaps=\"") + text + "\"/>");
        EXPECT_EQ(overlaps, b.Overlaps()) << text;
    }
    Load(b, R"(<button type="sized" scale="2" tipposition="3" tipsize="1" tipdelay="0.25"/>)");
    EXPECT_EQ(Vector2<float>(2, 4), b.GetRadius());
    EXPECT_EQ(Vector2<float>(6, 6), b.GetActiveRadius());
    EXPECT_EQ(Vector2<float>(3, 3), b.GetTipPosition());
    EXPECT_EQ(0.25f, b.GetTipDelay());
    Load(b, R"(<button type="big" scale="2"/>)");
    EXPECT_EQ(Vector2<float>(20, 20), b.GetRadius());
    EXPECT_EQ(Vector2<float>(40, 40), b.GetActiveRadius());
}

TEST_F(ButtonTest, WithoutTemplateOrFramesAButtonDrawsNothing)
{
    CButton b;
    Load(b, R"(<button type="round" position="5,5"/>)");
    ASSERT_EQ(4u, b.GetFrameCount());
    for (const char* type : {"", "nosuch"})
    {
        Load(b, std::string(R"(<button position="5,5" tip="tip_undo" type=")") + type + "\"/>");
        EXPECT_EQ(0u, b.GetFrameCount()) << type;
        EXPECT_EQ(Vector2<float>(), b.GetRadius());
        EXPECT_FALSE(b.HitTest(Vector2<float>(5, 5)));
        EXPECT_TRUE(b.GetTipText().empty());
        EXPECT_FALSE(b.GetStateSet().looks[2].present);
    }
    // Without "frames": hit and clicked, never drawn.
    Load(b, R"(<button type="frameless" position="5,5" action="go" overlaps="false"/>)");
    EXPECT_EQ(0u, b.GetFrameCount());
    EXPECT_TRUE(b.HitTest(Vector2<float>(6.9f, 5)));
    EXPECT_TRUE(b.OnPress(Vector2<float>(5, 5)));
    EXPECT_TRUE(b.OnRelease(Vector2<float>(5, 5)));
    EXPECT_EQ(std::vector<std::string>{"go()"}, m_services.posts);
}

TEST_F(ButtonTest, VarianceAddsZeroToItsValue)
{
    GlobalRandom().Seed(7);
    std::set<uint32_t> seen;
    for (int i = 0; i < 60; ++i)
    {
        CButton b;
        Load(b, R"(<button type="varied"/>)");
        seen.insert(b.GetStateSet().looks[0].frame);
        EXPECT_EQ(1u, b.GetStateSet().looks[1].frame); // variance 0
        EXPECT_EQ(1u, b.GetStateSet().looks[2].frame); // negative
    }
    EXPECT_EQ((std::set<uint32_t>{2, 3, 4, 5}), seen);
}

TEST_F(ButtonTest, AnchorsFollowTheEdgesOfTheCurrentView)
{
    CButton right, left;
    Load(right, R"(<button type="plain" origin="1,1" position="1,2,0.5"/>)");
    Load(left, R"(<button type="plain" origin="0,1" position="1,2"/>)");
    right.offset = left.offset = Vector2<float>(0.5f, 0.25f);
    for (const Vector4<float>& rect :
         {Vector4<float>(0, 0, 10, 15), Vector4<float>(-1, -1, 9, 9), Vector4<float>(2, 3, 20, 40)})
    {
        CView view(Vector4<int32_t>(0, 0, 100, 100), rect);
        EXPECT_EQ(Vector3<float>(rect.x + rect.z - 0.5f, rect.y + rect.w - 1.75f, 0.5f),
                  right.GetScreenPosition());
        EXPECT_EQ(Vector3<float>(1.5f, rect.y + rect.w - 1.75f, 2), left.GetScreenPosition()); // z repeats y
        // Hit tests follow the anchored centre.
        const Vector3<float> centre = right.GetScreenPosition();
        EXPECT_TRUE(right.HitTest(Vector2<float>(centre.x + 0.45f, centre.y)));
        EXPECT_FALSE(right.HitTest(Vector2<float>(1.5f, 2.25f)));
    }
    CButton moved;
    Load(moved, R"(<button type="plain" origin="1,1" position="0,0,3"/>)");
    moved.offset = Vector2<float>(1, 1);
    moved.SetScreenPosition(Vector2<float>(3, 4));
    EXPECT_EQ(Vector3<float>(3, 4, 3), moved.GetScreenPosition());
    EXPECT_EQ(Vector3<float>(8, 12, 3), moved.position);
}

TEST_F(ButtonTest, HitTestCoversTheZoomedActiveRectangleAndItsMask)
{
    CButton b;
    Load(b, R"(<button type="sized" position="5,5"/>)"); // active half size 3
    EXPECT_TRUE(b.HitTest(Vector2<float>(2, 2)));
    EXPECT_TRUE(b.HitTest(Vector2<float>(8, 8)));
    EXPECT_FALSE(b.HitTest(Vector2<float>(1.9f, 5)));
    EXPECT_FALSE(b.HitTest(Vector2<float>(5, 8.1f)));
    EXPECT_FALSE(b.HitTest(kUnsetVector2f));
    b.zoom = 0.5f;
    EXPECT_FALSE(b.HitTest(Vector2<float>(3.4f, 5)));
    EXPECT_TRUE(b.HitTest(Vector2<float>(3.6f, 5)));
    b.SetHitMask({{true, false}, {false, true}});
    EXPECT_TRUE(b.HitTest(Vector2<float>(4, 4)));
    EXPECT_FALSE(b.HitTest(Vector2<float>(6, 4)));
    EXPECT_FALSE(b.HitTest(Vector2<float>(4, 6)));
    EXPECT_TRUE(b.HitTest(Vector2<float>(6.5f, 6.5f))); // the far edge stays in the last bit
    b.SetHitMask({{}});
    EXPECT_FALSE(b.HitTest(Vector2<float>(5, 5)));
    // No area is never hit (no division by zero).
    b.SetHitMask({});
    b.zoom = 0.0f;
    EXPECT_FALSE(b.HitTest(Vector2<float>(5, 5)));
}

TEST_F(ButtonTest, AClickIsAPressAndReleaseBothInside)
{
    CButton b;
    Load(b, R"(<button type="plain" position="5,5" action="back" attributes="arg" overlaps="false"/>)");
    const Vector2<float> inside(5.2f, 5), outside(7, 7);
    EXPECT_TRUE(b.OnPress(inside));
    EXPECT_TRUE(b.IsHeld());
    EXPECT_TRUE(b.OnRelease(inside));
    EXPECT_FALSE(b.IsHeld());
    EXPECT_EQ(std::vector<std::string>{"back(arg)"}, m_services.posts);

    EXPECT_FALSE(b.OnPress(outside));
    EXPECT_FALSE(b.OnRelease(inside));
    EXPECT_TRUE(b.OnPress(inside));
    EXPECT_FALSE(b.OnRelease(outside));
    EXPECT_FALSE(b.OnRelease(inside)); // not held any more
    EXPECT_EQ(1u, m_services.posts.size());

    // Overlapping buttons pass the press on, and only the current one clicks.
    b.OnMotion(outside, false); // b lets go of the current-button link
    CButton near, far;
    Load(near, R"(<button type="plain" position="5,5" action="near"/>)");
    Load(far, R"(<button type="plain" position="5.4,5" action="far"/>)");
    const Vector2<float> between(5.1f, 5);
    EXPECT_FALSE(near.OnPress(between));
    EXPECT_FALSE(far.OnPress(between));
    EXPECT_FALSE(far.OnRelease(between));
    EXPECT_TRUE(near.OnRelease(between));
    EXPECT_EQ("near()", m_services.posts.back());
}

TEST_F(ButtonTest, DisabledButtonsIgnoreInput)
{
    CButton b;
    Load(b, R"(<button type="round" position="5,5" action="back" shortcut="u" overlaps="false"/>)");
    const Vector2<float> inside(5, 5);
    CButtons::Instance()->SetEnabled("back", false);
    EXPECT_FALSE(b.IsEnabled());
    EXPECT_TRUE(b.OnPress(inside)); // still over it, so still taken
    EXPECT_FALSE(b.OnRelease(inside));
    EXPECT_EQ(CButton::kInactive, b.GetState());
    EXPECT_FALSE(b.Activate());
    EXPECT_TRUE(b.OnShortcut("u")); // matched, so consumed, but nothing happens
    EXPECT_TRUE(m_services.posts.empty());
    EXPECT_TRUE(m_services.sounds.empty());

    CButtons::Instance()->SetEnabled("back", true);
    b.OnPress(inside);
    EXPECT_TRUE(b.OnRelease(inside));
    b.active = false;
    b.OnPress(inside);
    EXPECT_FALSE(b.OnRelease(inside));
    EXPECT_EQ(CButton::kInactive, b.GetState());

    // A running transition blocks input but not the enabled look.
    b.active = true;
    b.transition = CButtonTransitionGrow::Create();
    EXPECT_TRUE(b.IsEnabled());
    EXPECT_FALSE(b.IsClickable());
    b.OnPress(inside);
    EXPECT_FALSE(b.OnRelease(inside));
    EXPECT_EQ(1u, m_services.posts.size());
}

TEST_F(ButtonTest, OnlyTheButtonNearestThePointerLightsUp)
{
    CButton a, b;
    Load(a, R"(<button type="round" position="5,5"/>)");
    Load(b, R"(<button type="round" position="5.5,5"/>)");
    const Vector2<float> nearA(5.125f, 5);
    for (int frame = 0; frame < 2; ++frame)
    {
        b.OnMotion(nearA, false);
        a.OnMotion(nearA, false);
    }
    EXPECT_EQ(&a, CButton::GetCurrent());
    EXPECT_EQ(&a, CButton::GetNearest());
    EXPECT_EQ(CButton::kHover, a.GetState());
    EXPECT_EQ(CButton::kNormal, b.GetState());

    // Equally far: the holder keeps it.
    const Vector2<float> middle(5.25f, 5);
    b.OnMotion(middle, false);
    a.OnMotion(middle, false);
    b.OnMotion(middle, false);
    EXPECT_EQ(&a, CButton::GetCurrent());
    EXPECT_EQ(&a, CButton::GetNearest());

    // Off both: neither is current or nearest.
    a.OnMotion(Vector2<float>(9, 9), false);
    b.OnMotion(Vector2<float>(9, 9), false);
    EXPECT_EQ(nullptr, CButton::GetCurrent());
    EXPECT_EQ(nullptr, CButton::GetNearest());
    {
        CButton gone;
        Load(gone, R"(<button type="round" position="1,1"/>)");
        gone.OnMotion(Vector2<float>(1, 1), false);
        EXPECT_EQ(&gone, CButton::GetCurrent());
    }
    EXPECT_EQ(nullptr, CButton::GetCurrent());
    EXPECT_EQ(nullptr, CButton::GetNearest());

    // A pair in one place, one hidden (no longer drawn) as the other shows: the hidden one's claim
    // lapses, and the one that shows lights up under the resting pointer.
    CButton hidden, shown;
    Load(hidden, R"(<button type="round" position="1,1"/>)");
    Load(shown, R"(<button type="round" position="1,1"/>)");
    hidden.MarkDrawn();
    hidden.OnMotion(Vector2<float>(1, 1), false);
    for (int frame = 0; frame < 3; ++frame)
    {
        EXPECT_EQ(&hidden, CButton::GetNearest()) << frame;
        ++s_frames;
        shown.MarkDrawn();
        shown.OnMotion(Vector2<float>(1, 1), false);
    }
    EXPECT_EQ(&shown, CButton::GetNearest());
    EXPECT_EQ(&shown, CButton::GetCurrent());
    EXPECT_EQ(CButton::kHover, shown.GetState());
}

TEST_F(ButtonTest, LooksPlayTheirSoundsWhenEntered)
{
    CButton b;
    Load(b, R"(<button type="round" position="5,5" overlaps="false"/>)");
    const Vector2<float> inside(5, 5);
    b.OnMotion(inside, false);
    b.OnMotion(inside, false);
    EXPECT_EQ(CButton::kHover, b.GetState());
    EXPECT_EQ(std::vector<std::string>{"hover"}, m_services.sounds);
    EXPECT_EQ("click 40", m_services.cursors.back()); // twice the animation interval
    b.OnPress(inside);
    b.OnMotion(inside, true);
    EXPECT_EQ(CButton::kPressed, b.GetState());
    b.OnRelease(inside);
    EXPECT_EQ(CButton::kHover, b.GetState());
    EXPECT_EQ((std::vector<std::string>{"hover", "click"}), m_services.sounds);
    // Sliding off while held drops the pressed look; back on shows it again, with its sound.
    b.OnPress(inside);
    EXPECT_EQ(3u, m_services.sounds.size());
    b.OnMotion(Vector2<float>(7, 7), true);
    EXPECT_EQ(CButton::kNormal, b.GetState());
    b.OnMotion(inside, true);
    EXPECT_EQ(CButton::kPressed, b.GetState());
    EXPECT_EQ(4u, m_services.sounds.size());
    // Without a hover look, hovering shows the normal look.
    CButton plain;
    Load(plain, R"(<button type="plain" position="1,1"/>)");
    plain.OnMotion(Vector2<float>(1, 1), false);
    EXPECT_EQ(CButton::kNormal, plain.GetState());
}

TEST_F(ButtonTest, ALinkedPreferenceChoosesTheStateSetAndClicksToggleIt)
{
    CButton b;
    Load(b, R"(<button type="toggle" position="5,5" preference="x" overlaps="false"/>)");
    b.Update();
    EXPECT_EQ("false", CPreferences::Instance()->GetString("x"));
    EXPECT_EQ(0u, b.stateSet);
    b.OnPress(Vector2<float>(5, 5));
    EXPECT_TRUE(b.OnRelease(Vector2<float>(5, 5)));
    EXPECT_EQ("true", CPreferences::Instance()->GetString("x"));
    EXPECT_EQ(1u, b.stateSet);
    CPreferences::Instance()->SetString("x", "0");
    b.Update();
    EXPECT_EQ(0u, b.stateSet);
    // One set only: the preference is toggled but chooses nothing.
    CButton single;
    Load(single, R"(<button type="plain" preference="y" shortcut="s"/>)");
    single.OnShortcut("s");
    EXPECT_EQ("true", CPreferences::Instance()->GetString("y"));
    EXPECT_EQ(0u, single.stateSet);
}

TEST_F(ButtonTest, FramesWalkTowardsTheLookAndBlendTheirColours)
{
    CButton b;
    Load(b, R"(<button type="round" position="5,5" overlaps="false"/>)");
    b.Update();
    EXPECT_EQ(1u, b.GetCurrentFrame()); // the first step is at once
    Run(100, {&b});
    const Vector2<float> inside(5, 5);
    b.OnMotion(inside, false);
    EXPECT_EQ(2u, b.GetCurrentFrame());
    b.OnPress(inside);
    EXPECT_EQ(2u, b.GetCurrentFrame()); // the hover frame lasts 100 ms
    Run(50, {&b});
    EXPECT_EQ(2u, b.GetCurrentFrame());
    // Halfway through it, halfway from its colour (green) to the pressed frame's (white).
    ExpectVector(Vector4<float>(0.5f, 1, 0.5f, 1), b.GetFrame(2).batch.GetColour());
    EXPECT_EQ(Vector3<float>(5, 5, 5), b.GetFrame(2).batch.translation);
    Run(50, {&b});
    EXPECT_EQ(3u, b.GetCurrentFrame());

    // Back to normal: one frame per 100 ms; the normal frame throbs from red to blue once a second.
    b.OnRelease(Vector2<float>(9, 9));
    EXPECT_EQ(3u, b.GetCurrentFrame());
    Run(100, {&b});
    EXPECT_EQ(2u, b.GetCurrentFrame());
    Run(100, {&b});
    EXPECT_EQ(1u, b.GetCurrentFrame());
    m_clock.Set(1250);
    b.Update();
    ExpectVector(Vector4<float>(0, 0, 1, 1), b.GetFrame(1).batch.GetColour());

    // A click jumps to the pressed frame, within the cap; a look beyond the frames stops at the last.
    b.action = "go";
    b.OnPress(inside);
    EXPECT_EQ(2u, b.GetCurrentFrame());
    b.OnRelease(inside);
    EXPECT_EQ(3u, b.GetCurrentFrame());
    b.frameCap = 1;
    b.OnPress(inside);
    b.OnRelease(inside);
    EXPECT_EQ(1u, b.GetCurrentFrame());
    CButton varied;
    Load(varied, R"(<button type="varied" position="3,3"/>)");
    Run(100, {&varied});
    EXPECT_EQ(0u, varied.GetCurrentFrame());
    EXPECT_EQ(Vector3<float>(3, 3, 3), varied.GetFrame(0).batch.translation);
}

TEST_F(ButtonTest, ATipShowsAfterTheDelayAndAClickEndsIt)
{
    CButton b;
    Load(b, R"(<button type="round" position="5,5" tip="tip_undo" action="back" overlaps="false"/>)");
    const Vector2<float> inside(5, 5);
    Run(50, {&b});
    for (int i = 0; i < 99; ++i)
    {
        m_clock.Advance(10);
        b.OnMotion(inside, false);
    }
    EXPECT_TRUE(m_services.tips.empty());
    EXPECT_FALSE(b.IsTipDue());
    m_clock.Advance(20);
    b.OnMotion(inside, false);
    EXPECT_TRUE(b.IsTipDue());
    ASSERT_EQ(1u, m_services.tips.size());
    EXPECT_EQ("Undo it", m_services.tips[0]->text);
    EXPECT_FLOAT_EQ(6.0f, m_services.tips[0]->position.x);
    EXPECT_FLOAT_EQ(4.8f, m_services.tips[0]->position.y);
    EXPECT_FLOAT_EQ(0.4f, m_services.tips[0]->size);
    b.OnMotion(inside, false);
    EXPECT_EQ(1, m_services.tips[0]->refreshes);

    b.OnPress(inside);
    b.OnRelease(inside);
    EXPECT_TRUE(m_services.tips[0]->finished);
    EXPECT_EQ(nullptr, b.GetTipFloater());
    // Not back at once: only after another second over the button.
    for (int i = 0; i < 9; ++i)
    {
        m_clock.Advance(100);
        b.OnMotion(inside, false);
    }
    EXPECT_EQ(1u, m_services.tips.size());
    m_clock.Advance(150);
    b.OnMotion(inside, false);
    EXPECT_EQ(2u, m_services.tips.size());
    b.OnMotion(Vector2<float>(9, 9), false);
    EXPECT_FALSE(b.IsTipShown());
    EXPECT_EQ(0, b.GetHoverTime());
}

TEST_F(ButtonTest, ShortcutsActivateTheButton)
{
    CButton b;
    Load(b, R"(<button type="plain" position="5,5" action="back" attributes="a" shortcut="undo,u"/>)");
    b.Update();
    for (const char* other : {"U", "un", "", "undo,u"})
        EXPECT_FALSE(b.OnShortcut(other)) << other;
    EXPECT_TRUE(b.OnShortcut("u"));
    EXPECT_EQ(std::vector<std::string>{"back(a)"}, m_services.posts);
    EXPECT_EQ(std::vector<std::string>{"click"}, m_services.sounds);
    Run(190, {&b});
    EXPECT_EQ(CButton::kPressed, b.GetState());
    Run(20, {&b});
    EXPECT_EQ(CButton::kNormal, b.GetState());
    EXPECT_TRUE(b.OnShortcut("undo"));
    EXPECT_EQ(2u, m_services.posts.size());
}

TEST_F(ButtonTest, ButtonsNotDrawnLatelySkipTheirLook)
{
    CButton b;
    Load(b, R"(<button type="round" action="back"/>)");
    b.Update();
    EXPECT_EQ(CButton::kNormal, b.GetState());
    s_frames += 3;
    CButtons::Instance()->SetEnabled("back", false);
    b.Update();
    EXPECT_EQ(CButton::kNormal, b.GetState());
    b.MarkDrawn();
    b.Update();
    EXPECT_EQ(CButton::kInactive, b.GetState());
}

} // namespace
