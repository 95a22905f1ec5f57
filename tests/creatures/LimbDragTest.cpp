// The road of one move on the real frog: a touch near a limb, a drag over ticks of a hand-driven
// clock, the landing that the puzzle records; refused drags, clicks, undo and redo by command and
// by swipe, poses reached limb by limb, and the lunge.
#include "core/CXmlDocument.h"
#include "creatures/CSkeleton.h"
#include "creatures/CSkeletonServices.h"
#include "platform/CGame.h"
#include "platform/CView.h"
#include "platform/InputEvent.h"
#include "puzzle/CMoveMap.h"
#include "puzzle/PlayFixture.h"

#include <string>

using PlayData::Step;

namespace
{
constexpr uint32_t kTickMs = 20;

class FakeSkeletonServices : public CSkeletonServices
{
  public:
    FakeSkeletonServices() : m_previous(CSkeletonServices::Install(this)) {}
    ~FakeSkeletonServices() override { CSkeletonServices::Install(m_previous); }

    void PlaySound(const char* name) override { sounds.push_back(name); }
    bool IsButtonDown(uint8_t mask) override { return (held & mask) != 0; }
    Vector2<float> GetPointerViewPosition() override { return pointer; }
    Vector2<float> GetPointerScreenViewPosition() override { return {0.0f, 2.0f}; }
    void GetScreenViewRect(float& x, float& y, float& width, float& height) override
    {
        x = -1.0f, y = -1.0f, width = 9.0f, height = 13.5f;
    }
    void CancelGesture() override {}
    void PlayGestureFeedback() override { ++feedbacks; }
    void SetPondTargets(const std::vector<Vector2<float>>& cells) override { pondTargets = cells; }
    void ShowTip(const CString& text, const Vector2<float>& at, float size) override
    {
        tips.push_back(text.c_str());
        tipAt = at;
    }

    int Count(const std::string& sound) const
    {
        int n = 0;
        for (const std::string& s : sounds)
            n += s == sound;
        return n;
    }

    uint8_t held = 0;
    Vector2<float> pointer{-100.0f, -100.0f};
    std::vector<std::string> sounds;
    std::vector<Vector2<float>> pondTargets;
    std::vector<std::string> tips;
    Vector2<float> tipAt;
    int feedbacks = 0;

  private:
    CSkeletonServices* m_previous;
};

CRef<CSkeleton> Azureus()
{
    CXmlDocument document;
    EXPECT_TRUE(document.Parse(
        TempFolder::ReadFile(std::string(FROG_SOURCE_DIR) + "/data/species/d-azureus.xml"), false));
    CRef<CSkeleton> skeleton = MakeRef<CSkeleton>();
    skeleton->LoadDocument(document.GetRoot());
    return skeleton;
}

Pose Normalised(Pose pose)
{
    Pose::Normalise(pose);
    return pose;
}

// Hands on (2,5), (3,5), feet on (2,6), (3,6); the left hand hops to (2,3) and back, the right
// hand to (3,3). Rest shapes are the frog's own body relaxed around each pose.
class LimbDragTest : public PlayFixture
{
  protected:
    void SetUp() override
    {
        PlayFixture::SetUp();
        // The skeleton's control makes the game anew, and the skeleton then ticks in its scope.
        CSingleton<CGame>::Toggle(false);
        CControl::ResetDragState();
        Start();
        m_folder.WriteFile(
            "data/rules.xml",
            "<rules>\n"
            "  <interval animation=\"20\"/>\n"
            "  <frog heldheight=\"0.3\" landingrate=\"0.5\" lungedistance=\"0.3\" lungetime=\"0.4\"/>\n"
            "  <puzzle clickrejectdistance=\"10\" clickrejecttime=\"0.2\" closeenough=\"0.25\"\n"
            "          distancemetric=\"0,1,1\" dragfeedbackrange=\"0.6\" pickdistancemax=\"0.8\"\n"
            "          pickdistancemin=\"0.3\" pickdistanceramp=\"0.5\" putdowntimeout=\"1\"\n"
            "          snapbackdistance=\"0.3\" snapdistance=\"0.6\" targetspeedlimit=\"8\"/>\n"
            "  <petals throwdelay=\"1\"/>\n"
            "  <ui floatersize=\"0.5\"/>\n"
            "</rules>\n");
        CRules::Instance()->Load();

        const Pose home = Step(0), up = Step(1), right = Pose::SetCell(home, 1, {3, 3});
        AddPose(home, {{0, {up}}, {1, {right}}});
        AddPose(up, {{0, {home}}});
        AddPose(right, {{1, {home}}});

        m_puzzle = Play("puzzle1000");
        m_skeleton = Azureus();
        m_skeleton->SetMoveMap(&m_map);
        m_skeleton->SetPose(m_puzzle->GetCurrentPose());
    }
    void TearDown() override
    {
        m_skeleton.Reset();
        CSingleton<CGame>::Toggle(false);
        PlayFixture::TearDown();
    }

    // The relaxed body of the frog standing in pose, as a rest shape of the map.
    void AddPose(Pose pose, const std::vector<std::pair<int, std::vector<Pose>>>& hops)
    {
        CRef<CSkeleton> shaper = Azureus();
        const Pose key = Normalised(pose);
        Pose::ApplyToSkeleton(key, *shaper);
        Vector2<float> centre;
        for (unsigned i = 0; i < 4; ++i)
            centre += shaper->GetJointPosition(i) * 0.25f;
        for (unsigned j = 4; j < shaper->GetJointCount(); ++j)
            shaper->SetJointPosition(j, shaper->GetJointPosition(j) + centre);
        for (int i = 0; i < 200 && !shaper->Relax(256, false); ++i)
        {
        }
        CMoveMap::Entry& entry = m_map.EditEntries()[key];
        for (unsigned j = 0; j < shaper->GetJointCount(); ++j)
            entry.rest.push_back(j < 4 ? Vector2<float>(Pose::GetCell(key, int(j)))
                                       : shaper->GetJointPosition(j));
        for (const auto& [limb, targets] : hops)
            for (Pose target : targets)
                entry.targets[limb].push_back(Normalised(target));
    }

    Vector2<float> ToScreen(const Vector2<float>& board) const { return m_view.ViewToScreen(board); }
    bool Send(InputEvent::Kind kind, const Vector2<float>& board)
    {
        m_input.held = kind == InputEvent::kButtonUp ? 0 : InputEvent::kLeft;
        const uint8_t changed = kind == InputEvent::kMotion ? 0 : InputEvent::kLeft;
        return m_skeleton->GetDrag().HandleEvent(
            InputEvent::Pointer(kind, ToScreen(board), m_input.held, changed));
    }
    bool Command(const char* name, const char* argument = "")
    {
        return m_skeleton->GetDrag().HandleEvent(InputEvent::Command(name, argument));
    }
    void Ticks(int count)
    {
        for (int i = 0; i < count; ++i)
        {
            m_clock.Advance(kTickMs);
            // The skeleton registered its control, which made the game: it ticks in the game's scope.
            CGame::Instance()->GetScope("maingame").GetScheduler().Update();
        }
    }
    // Presses the limb's cell, then moves the finger to the point in steps over frames.
    void DragTo(const Vector2<float>& from, const Vector2<float>& to, int frames = 12)
    {
        ASSERT_TRUE(Send(InputEvent::kButtonDown, from));
        for (int i = 1; i <= frames; ++i)
        {
            EXPECT_FALSE(Send(InputEvent::kMotion, from + (to - from) * (float(i) / float(frames))));
            Ticks(1);
        }
    }
    Vector2<float> Limb(unsigned limb) const { return m_skeleton->GetJointPosition(limb); }
    float Distance(const Vector2<float>& a, const Vector2<float>& b) const { return (a - b).Length(); }

    CMoveMap m_map;
    // Board cells -1..8 across a 320 x 480 screen.
    CView m_view{Vector4<int32_t>(0, 0, 320, 480), Vector4<float>(-1.0f, -1.0f, 9.0f, 13.5f)};
    FakeSkeletonServices m_input;
    CPuzzle* m_puzzle = nullptr;
    CRef<CSkeleton> m_skeleton;
};
} // namespace

TEST_F(LimbDragTest, DragToAReachableKnobLandsTheMove)
{
    const Vector2<float> from(2.0f, 5.0f), to(2.0f, 3.0f);
    // The limb follows at no more than 8 cells a second (plus what its inertia allows).
    ASSERT_TRUE(Send(InputEvent::kButtonDown, from));
    EXPECT_FALSE(Send(InputEvent::kMotion, from + Vector2<float>(0.0f, -1.0f)));
    Ticks(1);
    EXPECT_GT(Distance(Limb(0), from), 0.01f);
    EXPECT_LE(Distance(Limb(0), from), 8.0f * kTickMs / 1000.0f + 0.01f);
    Send(InputEvent::kButtonUp, from + Vector2<float>(0.0f, -1.0f));
    Ticks(60);
    ASSERT_EQ(m_puzzle->GetHistory().size(), 1u);

    m_input.sounds.clear();
    DragTo(from + Vector2<float>(0.1f, 0.1f), to + Vector2<float>(0.1f, 0.2f));
    EXPECT_EQ(m_skeleton->GetGrabbedJoint(), 0);
    EXPECT_EQ(m_input.Count("unstick"), 1);
    // The targets are the landing cells that hold a knob, the own cell first; the pond shows them.
    EXPECT_EQ(m_skeleton->GetDrag().GetTargets(), (std::vector<Vector2<float>>{from, to}));
    EXPECT_EQ(m_input.pondTargets, m_skeleton->GetDrag().GetTargets());
    // The finger near the knob snaps the target onto it; the held limb lifts.
    EXPECT_EQ(m_skeleton->GetDrag().GetTarget(), to);
    EXPECT_GT(m_skeleton->GetHeldHeight(0), 0.0f);

    // Held near the knob it arrives (placed on it once it stalls), and sticks, but a held limb
    // makes no move.
    Ticks(20);
    EXPECT_LT(Distance(Limb(0), to), 0.25f);
    EXPECT_EQ(m_input.Count("stick"), 1);
    EXPECT_EQ(m_puzzle->GetHistory().size(), 1u);

    EXPECT_TRUE(Send(InputEvent::kButtonUp, to + Vector2<float>(0.1f, 0.2f)));
    EXPECT_TRUE(m_input.pondTargets.empty());
    Ticks(3);
    EXPECT_EQ(m_skeleton->GetActiveJointIndex(), -1);
    EXPECT_EQ(m_puzzle->GetCurrentPose(), Step(1));
    EXPECT_EQ(m_puzzle->GetHistory(), (std::vector<Pose>{Step(0), Step(1)}));
    EXPECT_TRUE(m_services.buttons["back"]);
    EXPECT_EQ(Pose::FromSkeleton(*m_skeleton), Step(1));
    // The other limbs never left their knobs.
    EXPECT_LT(Distance(Limb(1), {3.0f, 5.0f}), 0.1f);
    EXPECT_LT(Distance(Limb(2), {2.0f, 6.0f}), 0.1f);
    EXPECT_LT(Distance(Limb(3), {3.0f, 6.0f}), 0.1f);
}

TEST_F(LimbDragTest, RefusedDragsAndClicksMakeNoMove)
{
    // Towards a knob the move map does not reach: the limb stays inside its landing field and,
    // let go, goes home.
    const Vector2<float> home(2.0f, 5.0f);
    DragTo(home, {3.8f, 4.2f});
    Ticks(10);
    const Vector2<float> target = m_skeleton->GetDrag().GetTarget();
    EXPECT_LT(Distance(target, home), 0.6f);
    EXPECT_TRUE(m_skeleton->GetDrag().IsLandingCell(home));
    EXPECT_FALSE(m_skeleton->GetDrag().IsLandingCell({4.0f, 4.0f}));
    EXPECT_TRUE(Send(InputEvent::kButtonUp, {3.8f, 4.2f}));
    EXPECT_EQ(m_skeleton->GetPendingJoint(), 0);
    EXPECT_EQ(m_skeleton->GetDrag().GetTarget(), home);
    Ticks(30);
    EXPECT_EQ(m_skeleton->GetActiveJointIndex(), -1);
    EXPECT_EQ(m_puzzle->GetHistory(), std::vector<Pose>{Step(0)});
    EXPECT_LT(Distance(Limb(0), home), 0.1f);

    // A click: the limb follows only 0.4 from its cell and goes back; no move.
    ASSERT_TRUE(Send(InputEvent::kButtonDown, home));
    Send(InputEvent::kMotion, home + Vector2<float>(0.0f, -0.1f)); // 3.6 pixels
    Send(InputEvent::kMotion, home + Vector2<float>(0.0f, -0.2f));
    EXPECT_LT(Distance(m_skeleton->GetDrag().GetTarget(), home + Vector2<float>(0.0f, -0.2f)), 1e-5f);
    Ticks(2);
    EXPECT_TRUE(Send(InputEvent::kButtonUp, home + Vector2<float>(0.0f, -0.2f)));
    EXPECT_EQ(m_skeleton->GetDrag().GetTarget(), home);
    Ticks(30);
    EXPECT_EQ(m_puzzle->GetHistory(), std::vector<Pose>{Step(0)});

    // A press away from every limb is not taken.
    EXPECT_FALSE(Send(InputEvent::kButtonDown, {6.0f, 1.0f}));
    EXPECT_FALSE(Send(InputEvent::kButtonUp, {6.0f, 1.0f}));

    // A finger lifted without a release record ends the drag after three ticks.
    ASSERT_TRUE(Send(InputEvent::kButtonDown, home));
    m_input.held = 0;
    Ticks(2);
    EXPECT_EQ(m_skeleton->GetGrabbedJoint(), 0);
    Ticks(1);
    EXPECT_EQ(m_skeleton->GetGrabbedJoint(), -1);

    // Disabled, nothing can be picked.
    Ticks(30);
    m_skeleton->SetDisabled(true);
    EXPECT_FALSE(Send(InputEvent::kButtonDown, home));
    m_skeleton->SetDisabled(false);
    EXPECT_TRUE(Send(InputEvent::kButtonDown, home));
}

TEST_F(LimbDragTest, SwipesAndCommandsUndoAndRedo)
{
    // Nothing to undo: consumed, no tip, no feedback, but the pick radius starts small again.
    EXPECT_TRUE(Command("_gesture", "swipeleft"));
    EXPECT_TRUE(m_input.tips.empty());
    EXPECT_EQ(m_input.feedbacks, 0);
    EXPECT_NEAR(m_skeleton->GetDrag().GetPickRadius(), 0.3f, 1e-4f);
    m_clock.Advance(500);
    EXPECT_NEAR(m_skeleton->GetDrag().GetPickRadius(), 0.8f, 1e-4f);
    EXPECT_FALSE(Command("_gesture", "swipeup"));
    EXPECT_FALSE(Command("_gesture", "swipedown"));
    EXPECT_FALSE(Command("ingame"));

    ASSERT_TRUE(m_puzzle->LandPose(Step(1)));
    m_skeleton->SetPose(Step(1));
    Ticks(5);

    // Undo of a one-limb move: only that limb travels back, then lands on the old pose.
    EXPECT_TRUE(Command("_gesture", "swipeleft"));
    EXPECT_EQ(m_input.tips, std::vector<std::string>{"tip_undo"});
    EXPECT_NEAR(m_input.tipAt.x, -1.0f + 3.0f, 1e-5f);
    EXPECT_NEAR(m_input.tipAt.y, 2.0f - 0.25f, 1e-5f);
    EXPECT_EQ(m_input.feedbacks, 1);
    EXPECT_EQ(m_skeleton->GetPendingJoint(), 0);
    EXPECT_EQ(m_skeleton->GetDrag().GetTarget(), Vector2<float>(2.0f, 5.0f));
    EXPECT_EQ(m_puzzle->GetRedo(), std::vector<Pose>{Step(1)});
    Ticks(40);
    EXPECT_EQ(m_skeleton->GetPendingJoint(), -1);
    EXPECT_EQ(Pose::FromSkeleton(*m_skeleton), Step(0));
    EXPECT_EQ(m_puzzle->GetHistory(), std::vector<Pose>{Step(0)});

    EXPECT_TRUE(Command("_gesture", "swiperight"));
    EXPECT_EQ(m_input.tips.back(), "tip_redo");
    Ticks(40);
    EXPECT_EQ(Pose::FromSkeleton(*m_skeleton), Step(1));
    EXPECT_EQ(m_puzzle->GetHistory(), (std::vector<Pose>{Step(0), Step(1)}));
    EXPECT_TRUE(m_puzzle->GetRedo().empty());

    // "back" while a limb is held drops the drag without a move of its own, then undoes.
    DragTo({3.0f, 5.0f}, {3.0f, 4.0f}, 4);
    ASSERT_EQ(m_skeleton->GetGrabbedJoint(), 1);
    EXPECT_TRUE(Command("back"));
    EXPECT_EQ(m_skeleton->GetGrabbedJoint(), -1);
    EXPECT_TRUE(m_input.pondTargets.empty());
    Send(InputEvent::kButtonUp, {3.0f, 4.0f});
    Ticks(60);
    EXPECT_EQ(m_puzzle->GetHistory(), std::vector<Pose>{Step(0)});
    EXPECT_EQ(Pose::FromSkeleton(*m_skeleton), Step(0));
    EXPECT_TRUE(Command("redo"));
    Ticks(60);
    EXPECT_EQ(m_puzzle->GetCurrentPose(), Step(1));
    EXPECT_EQ(Pose::FromSkeleton(*m_skeleton), Step(1));
}

TEST_F(LimbDragTest, PosesAreReachedLimbByLimb)
{
    // One cell away: only the changed limb travels, the others stay on their knobs.
    const Pose home = Step(0), up = Step(1);
    m_skeleton->MoveToPose(up);
    EXPECT_EQ(m_skeleton->GetPendingJoint(), 0);
    EXPECT_FALSE(m_skeleton->TakePoseSet());
    Ticks(2);
    EXPECT_GT(Distance(Limb(0), {2.0f, 5.0f}), 0.05f);
    EXPECT_GT(Distance(Limb(0), {2.0f, 3.0f}), 0.5f);
    EXPECT_LT(Distance(Limb(1), {3.0f, 5.0f}), 0.1f);
    Ticks(40);
    EXPECT_EQ(Pose::FromSkeleton(*m_skeleton), up);
    EXPECT_EQ(m_puzzle->GetCurrentPose(), up);

    // The same pose again, or two limbs away: set at once.
    m_skeleton->MoveToPose(up);
    EXPECT_EQ(m_skeleton->GetActiveJointIndex(), -1);
    const Pose far = Pose::SetCell(home, 1, {3, 3});
    m_skeleton->MoveToPose(far);
    EXPECT_EQ(m_skeleton->GetActiveJointIndex(), -1);
    EXPECT_EQ(Limb(0), Vector2<float>(2.0f, 5.0f));
    EXPECT_EQ(Limb(1), Vector2<float>(3.0f, 3.0f));
    EXPECT_TRUE(m_skeleton->TakePoseSet());

    // A put-down the puzzle refuses: the frog stands in the puzzle's pose and the limb stays
    // pending, so the time-out tries again; the next pick puts it down for good.
    m_skeleton->MoveToPose(Pose::SetCell(far, 0, {2, 4}));
    ASSERT_EQ(m_skeleton->GetPendingJoint(), 0);
    m_skeleton->GetDrag().PutDownPending();
    EXPECT_EQ(m_skeleton->GetPendingJoint(), 0);
    EXPECT_EQ(m_skeleton->GetCurrentPose(), up);
    EXPECT_EQ(Pose::FromSkeleton(*m_skeleton), up);
    EXPECT_EQ(m_puzzle->GetCurrentPose(), up);
    Ticks(60);
    EXPECT_EQ(m_skeleton->GetPendingJoint(), 0);
    EXPECT_EQ(m_puzzle->GetHistory(), (std::vector<Pose>{home, up}));
    ASSERT_TRUE(Send(InputEvent::kButtonDown, {3.0f, 5.0f}));
    EXPECT_EQ(m_skeleton->GetPendingJoint(), -1);
    EXPECT_EQ(m_skeleton->GetGrabbedJoint(), 1);
}

TEST_F(LimbDragTest, ADragCancelIsAlwaysTakenAndLetsGoOfTheLeftButtonsLimb)
{
    // Taken even when nothing is dragged.
    const InputEvent nowhere = InputEvent::Pointer(InputEvent::kButtonDown, ToScreen({0.0f, 0.0f}), 0, 0);
    EXPECT_TRUE(m_skeleton->GetDrag().OnDragCancel(nowhere));
    EXPECT_EQ(m_skeleton->GetActiveJointIndex(), -1);

    // A limb held while another control drags the left button: a right-button release cancels
    // that drag, which lets the limb go towards the release point.
    struct DragTaker : CControl
    {
        bool OnDragBegin(const InputEvent&) override { return true; }
    } taker;
    const Vector2<float> from(2.0f, 5.0f), to(2.0f, 3.0f);
    DragTo(from, to, 8);
    taker.HandleEvent(InputEvent::Pointer(InputEvent::kMotion, ToScreen(to), InputEvent::kLeft, 0));
    ASSERT_EQ(CControl::GetDraggingButton(), InputEvent::kLeft);
    EXPECT_TRUE(m_skeleton->GetDrag().HandleEvent(
        InputEvent::Pointer(InputEvent::kButtonUp, ToScreen(to), InputEvent::kLeft, InputEvent::kRight)));
    EXPECT_EQ(m_skeleton->GetGrabbedJoint(), -1);
    EXPECT_EQ(m_skeleton->GetPendingJoint(), 0);
    EXPECT_EQ(m_skeleton->GetDrag().GetTarget(), to);
    CControl::ResetDragState();
}

TEST_F(LimbDragTest, SettingAPoseDropsALimbInFlight)
{
    // Let go towards a knob, then put on another pose before it lands (as a reset does): the
    // limb's target belongs to the old pose, so it lands no move on the new one.
    const Vector2<float> from(3.0f, 5.0f), to(3.0f, 3.0f);
    DragTo(from, to, 8);
    Send(InputEvent::kButtonUp, to);
    ASSERT_EQ(m_skeleton->GetPendingJoint(), 1);
    m_skeleton->SetPose(Step(1));
    EXPECT_EQ(m_skeleton->GetActiveJointIndex(), -1);
    Ticks(60);
    EXPECT_EQ(Pose::FromSkeleton(*m_skeleton), Step(1));
    EXPECT_EQ(m_puzzle->GetHistory(), std::vector<Pose>{Step(0)});
}

TEST_F(LimbDragTest, LungeGoesOutAndBack)
{
    Ticks(20);
    std::vector<Vector2<float>> start;
    for (unsigned j = 0; j < m_skeleton->GetJointCount(); ++j)
        start.push_back(m_skeleton->GetJointPosition(j));
    const Vector2<float> heading = m_skeleton->GetHeading();
    m_skeleton->StartLunge();
    EXPECT_FALSE(Send(InputEvent::kButtonDown, {2.0f, 5.0f}));
    Ticks(10); // 0.2 s: half of the lunge, the torso furthest out
    const Vector2<float> chest = m_skeleton->GetJointPosition(5) - start[5];
    EXPECT_NEAR(Dot(chest, heading), 0.3f, 0.02f);
    EXPECT_EQ(m_skeleton->GetJointPosition(4), start[4]);
    Ticks(11);
    EXPECT_EQ(m_skeleton->GetState(), CSkeleton::kLungeFinished);
    for (unsigned j = 0; j < m_skeleton->GetJointCount(); ++j)
        EXPECT_LT(Distance(m_skeleton->GetJointPosition(j), start[j]), 1e-5f) << j;
    m_skeleton->EndLunge();
    EXPECT_EQ(m_skeleton->GetState(), CSkeleton::kDrag);
}
