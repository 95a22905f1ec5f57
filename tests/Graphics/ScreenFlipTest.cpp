// The screen flip's posing maths and its states with a stand-in pane, and the screen rotation's
// easing and requests.
#include "Graphics/CScreenFlip.h"
#include "Graphics/CScreenRotate.h"
#include "core/CScheduler.h"
#include "platform/CGame.h"
#include "platform/CView.h"
#include "platform/InputEvent.h"
#include "support/AppFolder.h"
#include "support/FakePlatform.h"
#include "support/TestScopes.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace
{
struct Case
{
    float t;
    float angle;
    float scale;
};

TEST(ScreenFlipMaths, AngleScaleAndReliefTimeline)
{
    for (const Case& c : {Case{0.0f, 0.0f, 1.0f}, Case{0.5f, -90.0f, 0.55f}, Case{1.0f, -180.0f, 1.0f}})
    {
        EXPECT_NEAR(CScreenFlip::AngleAt(c.t), c.angle, 1e-4f) << c.t;
        EXPECT_NEAR(CScreenFlip::ScaleAt(c.t), c.scale, 1e-4f) << c.t;
    }
    // The outgoing relief is full from t = 0.25 on; the incoming one until 0.75, gone at 1.
    EXPECT_FLOAT_EQ(CScreenFlip::Smooth(4.0f * 0.25f), 1.0f);
    EXPECT_FLOAT_EQ(CScreenFlip::Smooth(4.0f * (1.0f - 0.75f)), 1.0f);
    EXPECT_FLOAT_EQ(CScreenFlip::Smooth(4.0f * (1.0f - 1.0f)), 0.0f);
    EXPECT_FLOAT_EQ(CScreenFlip::Smooth(-3.0f), 0.0f);
}

TEST(ScreenFlipMaths, SpotHeights)
{
    const std::vector<float> round = {0, 0, 10, 0, 0, 4};
    EXPECT_FLOAT_EQ(CScreenFlip::ReliefAt(round, Vector2<float>(5, 0)), 3.0f);
    EXPECT_FLOAT_EQ(CScreenFlip::ReliefAt(round, Vector2<float>(10, 0)), 0.0f);
    const std::vector<float> both = {0, 0, 10, 0, 0, 4, 100, 100, 0, 20, 10, 20};
    EXPECT_FLOAT_EQ(CScreenFlip::ReliefAt(both, Vector2<float>(120, 110)), 20.0f) << "rectangle edge counts";
    EXPECT_FLOAT_EQ(CScreenFlip::ReliefAt(both, Vector2<float>(121, 100)), 0.0f);
    EXPECT_FLOAT_EQ(CScreenFlip::ReliefAt({1, 2, 3}, Vector2<float>(1, 2)), 0.0f) << "a partial record is ignored";
}

TEST(ScreenFlipMaths, CurlBendsOnlyOneSide)
{
    const float n = std::sqrt(5.0f);
    const Vector2<float> d(1 / n, 2 / n);
    // At t = 0 and t = 1 the line passes through the top corner: no vertex of the screen bends.
    for (const Vector3<float>& p : {Vector3<float>(0, 0, 0), Vector3<float>(320, 0, 0), Vector3<float>(320, 480, 5),
                                    Vector3<float>(160, 240, 0)})
    {
        const Vector3<float> q = CScreenFlip::Curl(p, Vector2<float>(320, 0), d);
        EXPECT_EQ(q.x, p.x);
        EXPECT_EQ(q.y, p.y);
        EXPECT_EQ(q.z, p.z);
    }
    // Mid-turn the top right corner wraps round the cylinder: it rises and keeps its distance
    // along the arc.
    const Vector3<float> corner = CScreenFlip::Curl(Vector3<float>(320, 0, 0), Vector2<float>(320, 240), d);
    EXPECT_GT(corner.z, 0.0f);
    EXPECT_FALSE(std::isnan(corner.x));
    // The incoming card mirrors the line: the same corner of its side stays.
    const Vector3<float> left = CScreenFlip::Curl(Vector3<float>(320, 0, 0), Vector2<float>(0, 240), Vector2<float>(-d.x, d.y));
    EXPECT_EQ(left.x, 320.0f);
}

TEST(ScreenFlipMaths, GridStaysWithinTheMesh)
{
    EXPECT_EQ(CScreenFlip::GridSizeFor(Vector2<float>(10, 15)), Vector2<uint32_t>(73, 113));
    EXPECT_EQ(CScreenFlip::GridSizeFor(Vector2<float>(0.2f, 1)), Vector2<uint32_t>(2, 2));
    const Vector2<uint32_t> huge = CScreenFlip::GridSizeFor(Vector2<float>(1e6f, 1e6f));
    EXPECT_LE(huge.x * huge.y, 65536u);
}

// A pane that records what the flip asks of it.
struct PaneLog
{
    static inline int created = 0;
    static inline bool enabled = false;
    static inline int rendered = 0;
    // "missing" names a pane whose document does not load.
    static CRef<CBase> Create(const char* name)
    {
        ++created;
        return std::strcmp(name, "missing") == 0 ? CRef<CBase>() : MakeRef<CBase>();
    }
    static void SetEnabled(CBase*, bool on) { enabled = on; }
    static void Render(CBase*) { ++rendered; }
    static void Emboss(CBase*, std::vector<float>& spots) { spots.insert(spots.end(), {1, 2, 3, 0, 0, 4}); }
};

class ScreenFlipStates : public testing::Test
{
  protected:
    ScreenFlipStates()
    {
        CView::SetScreen(Vector2<int32_t>(320, 480), 0.0f, Vector4<float>(-1, -1, 9, 9), 0.5f, 0.75f);
        CScreenFlip::PaneHooks hooks;
        hooks.create = &PaneLog::Create;
        hooks.setEnabled = &PaneLog::SetEnabled;
        hooks.render = &PaneLog::Render;
        hooks.collectEmboss = &PaneLog::Emboss;
        m_previous = CScreenFlip::SetPaneHooks(hooks);
        PaneLog::created = 0;
        PaneLog::enabled = false;
    }
    ~ScreenFlipStates() override
    {
        CScreenFlip::Toggle(false);
        CScreenRotate::Toggle(false);
        CScreenFlip::SetPaneHooks(m_previous);
    }

    struct Counter : CCallback
    {
        int calls = 0;
        void Invoke() override { ++calls; }
    };

    // Registering a control makes the game, which installs its own scheduler look-ups: it comes
    // first, so that the test's scopes replace them.
    struct GameFirst
    {
        GameFirst() { CGame::Instance(); }
        ~GameFirst() { CSingleton<CGame>::Toggle(false); }
    } m_game;
    TestScopes m_scopes;
    // The flip's materials bring up the file system: its preferences go here, not beside the
    // test executable.
    AppFolder m_folder;
    CScreenFlip::PaneHooks m_previous;
};

TEST_F(ScreenFlipStates, TurnsToThePaneFiresOnceAndTurnsBack)
{
    CScreenFlip* flip = CScreenFlip::Instance();
    CRef<Counter> counter = MakeRef<Counter>();
    CRef<CBase> pane = flip->Begin("ingame", CScreenFlip::kTurnNow);
    flip->SetCallback(counter);
    ASSERT_TRUE(pane.Get());
    EXPECT_EQ(flip->GetNextSpots().size(), 6u) << "the pane's emboss spots go on the incoming side";

    // While the card turns in, the disabled pane takes no touch and no key reaches a binding.
    const InputEvent press = InputEvent::Pointer(InputEvent::kButtonDown, Vector2<float>(10, 10), 1, 1);
    EXPECT_TRUE(flip->HandleEvent(press));
    EXPECT_TRUE(flip->HandleEvent(InputEvent::Key(true, 13, 0, 13)));

    // "cancel" while turning only drops the callback.
    CRef<Counter> dropped = MakeRef<Counter>();
    flip->SetCallback(dropped);
    EXPECT_TRUE(flip->OnMessage(InputEvent::Command("cancel", "")));
    EXPECT_EQ(flip->GetState(), CScreenFlip::kTurningToPane);
    flip->SetCallback(counter);

    // A second flip asked for meanwhile leaves the running one and its pane.
    EXPECT_EQ(flip->Begin("wingame", CScreenFlip::kTurnNow).Get(), pane.Get());
    EXPECT_EQ(PaneLog::created, 1);
    flip->SetCallback(counter);

    flip->Update(10.0f);
    EXPECT_EQ(flip->GetState(), CScreenFlip::kShown);
    EXPECT_TRUE(m_scopes.Mode()->IsPaused()) << "the game underneath stands still";
    EXPECT_FALSE(PaneLog::enabled);
    flip->Update(0.01f);
    flip->Update(0.01f);
    EXPECT_EQ(counter->calls, 1);
    EXPECT_EQ(dropped->calls, 0);
    EXPECT_TRUE(PaneLog::enabled) << "the pane takes input once it is up";
    EXPECT_FALSE(flip->HandleEvent(press)) << "touches go on to the pane";

    flip->SetSideList(0, {5, 5, 5, 0, 0, 1});
    EXPECT_TRUE(flip->OnMessage(InputEvent::Command("cancel", "")));
    EXPECT_FALSE(flip->OnMessage(InputEvent::Command("other", "")));
    EXPECT_EQ(flip->GetState(), CScreenFlip::kTurningBack);
    EXPECT_EQ(flip->GetNextSpots().size(), 6u) << "the sides exchange for the turn back";
    flip->Update(10.0f);
    EXPECT_EQ(flip->GetState(), CScreenFlip::kIdle);
    EXPECT_EQ(flip->GetPane(), nullptr);
    EXPECT_FALSE(flip->IsActive());
    EXPECT_FALSE(flip->CDrawing::IsRegistered());
    EXPECT_FALSE(flip->CControl::IsRegistered());
    EXPECT_FALSE(m_scopes.Mode()->IsPaused()) << "the pause ends with the flip";
}

TEST_F(ScreenFlipStates, PreparedPaneTurnsAwayAndRotationWaits)
{
    CScreenRotate* rotate = CScreenRotate::Instance();
    CScreenFlip::OpenStartPane("title");
    CScreenFlip* flip = CScreenFlip::Instance();
    EXPECT_EQ(flip->GetState(), CScreenFlip::kTurningBack);
    flip->Update(0.001f); // of a turn no shorter than 0.01 s
    EXPECT_FALSE(rotate->IsEnabled()) << "rotations wait while a card turns";
    rotate->RotateTo(450.0f);
    EXPECT_FLOAT_EQ(rotate->GetRequestedAngle(), 90.0f);
    EXPECT_FALSE(rotate->IsRunning());
    flip->Update(10.0f);
    EXPECT_TRUE(rotate->IsEnabled());
}

TEST_F(ScreenFlipStates, AStartPaneThatCannotBeMadeIsReportedAndNotTurned)
{
    testing::internal::CaptureStderr();
    CScreenFlip::OpenStartPane("missing");
    EXPECT_EQ(
        testing::internal::GetCapturedStderr(),
        "frogpond: rules.xml: ui/startpane: the pane \"missing\" cannot be made; no start pane is shown\n");
    CScreenFlip* flip = CScreenFlip::Instance();
    EXPECT_EQ(flip->GetState(), CScreenFlip::kIdle) << "no empty card turns over the screen";
    EXPECT_FALSE(flip->IsActive());
    EXPECT_FALSE(flip->CDrawing::IsRegistered());
    EXPECT_FALSE(flip->CControl::IsRegistered());
    EXPECT_FALSE(m_scopes.Mode()->IsPaused());
}

TEST(ScreenRotateMaths, SwingAndNormalise)
{
    EXPECT_FLOAT_EQ(CScreenRotate::SwingAt(0.0f), 0.0f);
    EXPECT_NEAR(CScreenRotate::SwingAt(0.5f), 1.0f, 1e-6f) << "at half time the angle is the target";
    EXPECT_NEAR(CScreenRotate::SwingAt(1.0f), 1.0f, 1e-6f);
    float peak = 0.0f;
    for (float t = 0.0f; t <= 1.0f; t += 0.01f)
        peak = std::max(peak, CScreenRotate::SwingAt(t));
    EXPECT_NEAR(peak, 1.25f, 0.05f) << "the swing overshoots";
    EXPECT_FLOAT_EQ(CScreenRotate::Normalise(450.0f), 90.0f);
    EXPECT_FLOAT_EQ(CScreenRotate::Normalise(-90.0f), 270.0f);
    EXPECT_FLOAT_EQ(CScreenRotate::Normalise(360.0f), 0.0f);
}
} // namespace

namespace
{
class ScreenRotateRequests : public PlatformTest
{
  protected:
    void TearDown() override
    {
        CScreenRotate::Toggle(false);
        CSingleton<CGame>::Toggle(false);
        PlatformTest::TearDown();
    }
};

TEST_F(ScreenRotateRequests, TheShortWayToAnAbsoluteTarget)
{
    Layer()->SetRotation(0.0f);
    CScreenRotate* rotate = CScreenRotate::Instance();
    rotate->RotateTo(0.0f);
    EXPECT_FALSE(rotate->IsRunning()) << "already there";

    rotate->RotateTo(270.0f);
    ASSERT_TRUE(rotate->IsRunning());
    EXPECT_FLOAT_EQ(rotate->GetToAngle(), -90.0f) << "from 0 to 270 turns by -90";
    EXPECT_EQ(rotate->GetToSize(), Vector2<int32_t>(480, 320));
    EXPECT_FLOAT_EQ(Layer()->GetRotation(), 0.0f) << "the platform draws unturned meanwhile";

    // The platform says 0 while it turns; asking for 0 now turns back.
    rotate->RotateTo(0.0f);
    EXPECT_FLOAT_EQ(rotate->GetToAngle(), 0.0f);
    EXPECT_EQ(rotate->GetToSize(), Vector2<int32_t>(320, 480));
    rotate->RotateTo(90.0f);
    rotate->RotateTo(450.0f);
    EXPECT_FLOAT_EQ(rotate->GetToAngle(), 90.0f);
    EXPECT_EQ(rotate->GetToSize(), Vector2<int32_t>(480, 320)) << "two quarter turns in a row: still absolute";
}
} // namespace
