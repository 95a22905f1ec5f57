// The frog's soft body: loading the species document's skeleton, the two constraints, the relax
// with its budget, the tick on a scope's scheduler, and poses and rest shapes on the real thing.
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "creatures/CSkeleton.h"
#include "creatures/FastAngle.h"
#include "platform/CGame.h"
#include "puzzle/CMoveMap.h"
#include "support/AppFolder.h"
#include "support/FakeClock.h"
#include "support/TempFolder.h"
#include "support/TestScopes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace
{
constexpr float kPi = 3.14159265f;

// Five joints: two hands, two feet around a body, with a neck and a tail for the heading.
const char* const kSmallFrog = R"(<species>
  <fix scale="2"/>
  <joint restposition="-1,-1,0" draggable="true" id="0"/>
  <joint restposition="1,-1" draggable="1" id="1" acceleration="0.5"/>
  <joint restposition="-1,1,0.25" draggable="TRUE"/>
  <joint restposition="1,1,0" draggable="true" id="3"/>
  <joint restposition="0" torso="front"/>
  <joint restposition="0,-0.5,0.5" torso="back"/>
  <joint restposition="2" torso="Front"/>
  <joint restposition=""/>
  <bone one="4" two="0"/>
  <bone one="4" two="1"/>
  <bone one="4" two="2"/>
  <bone one="4" two="3"/>
  <bone one="4" two="5"/>
  <bone one="4" two="99"/>
  <bone one="3" two="3"/>
  <ligament pivot="4" one="0" two="1"/>
  <ligament pivot="4" one="2" two="3" min="-45" max="135"/>
  <ligament pivot="4" one="0" two="5" rigid="true"/>
  <ligament pivot="4" one="4" two="5"/>
  <ligament pivot="-1" one="0" two="5"/>
  <home foot0="1,2" foot1="3" foot3=""/>
</species>)";

CRef<CSkeleton> FromText(const std::string& text)
{
    CXmlDocument document;
    EXPECT_TRUE(document.Parse(text, false));
    CRef<CSkeleton> skeleton = MakeRef<CSkeleton>();
    skeleton->LoadDocument(document.GetRoot());
    return skeleton;
}

CRef<CSkeleton> Azureus()
{
    return FromText(TempFolder::ReadFile(std::string(FROG_SOURCE_DIR) + "/data/species/d-azureus.xml"));
}

Pose PoseOf(const char* text)
{
    Pose pose;
    Pose::FromText(text, pose);
    return pose;
}

// The worst bone, as |length - rest length| in board cells.
float WorstBone(const CSkeleton& skeleton)
{
    float worst = 0.0f;
    for (const CBone& bone : skeleton.GetBones())
    {
        const float length = (skeleton.GetJointPosition(unsigned(bone.one)) -
                               skeleton.GetJointPosition(unsigned(bone.two))).Length();
        worst = std::max(worst, std::fabs(length - bone.restLength));
    }
    return worst;
}

// The worst ligament, as radians outside its limits.
float WorstLigament(const CSkeleton& skeleton)
{
    float worst = 0.0f;
    for (const CLigament& ligament : skeleton.GetLigaments())
    {
        const Vector2<float> pivot = skeleton.GetJointPosition(unsigned(ligament.pivot));
        const float angle = FastAngle(skeleton.GetJointPosition(unsigned(ligament.one)) - pivot,
                                      skeleton.GetJointPosition(unsigned(ligament.two)) - pivot);
        worst = std::max({worst, ligament.minAngle - angle, angle - ligament.maxAngle});
    }
    return worst;
}

void ExpectNear(const Vector2<float>& actual, const Vector2<float>& expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
}
} // namespace

TEST(Skeleton, FastAngleFollowsAtan2AllRound)
{
    for (int degrees = -179; degrees <= 180; degrees += 7)
    {
        const float radians = float(degrees) * kPi / 180.0f;
        EXPECT_NEAR(FastAtan2(std::sin(radians), std::cos(radians)), std::atan2(std::sin(radians), std::cos(radians)),
                    0.006f)
            << degrees;
        // The same angle between two arms, turned to start anywhere, and wrapped up from -pi/2.
        const Vector2<float> one(std::cos(1.0f), std::sin(1.0f));
        const Vector2<float> two(std::cos(1.0f + radians), std::sin(1.0f + radians));
        const float expected = radians < -kPi / 2 ? radians + 2 * kPi : radians;
        EXPECT_NEAR(FastAngle(one, two), expected, 0.006f) << degrees;
    }
    // Straight arms read pi on both sides of zero, never 0.
    EXPECT_FLOAT_EQ(FastAngle({0.0f, -1.0f}, {0.0f, 1.0f}), kPi);
    EXPECT_FLOAT_EQ(FastAtan2(-0.0f, -1.0f), kPi);
    EXPECT_FLOAT_EQ(FastAngle({1.0f, 0.0f}, {0.0f, 1.0f}), kPi / 2);
    EXPECT_FLOAT_EQ(FastAtan2(0.0f, 0.0f), 0.0f);
}

TEST(Skeleton, LoadsEveryElementOfTheSpeciesDocument)
{
    CRef<CSkeleton> skeleton = FromText(kSmallFrog);
    ASSERT_EQ(skeleton->GetJointCount(), 8u);
    EXPECT_EQ(skeleton->GetLimbJointCount(), 4u);

    // Rest positions: a missing y repeats x, a missing z repeats y; all scaled by fix/scale.
    const CJoint& hand = *skeleton->GetJoint(1);
    ExpectNear(hand.position, {2.0f, -2.0f});
    EXPECT_FLOAT_EQ(hand.height, -2.0f);
    const CJoint& single = *skeleton->GetJoint(6);
    ExpectNear(single.position, {4.0f, 4.0f});
    EXPECT_FLOAT_EQ(single.height, 4.0f);
    ExpectNear(skeleton->GetJoint(7)->position, {0.0f, 0.0f});
    EXPECT_FLOAT_EQ(skeleton->GetJoint(2)->height, 0.5f);
    // History and anchor start where the joint stands.
    ExpectNear(hand.previous, hand.position);
    ExpectNear(hand.older, hand.position);
    ExpectNear(hand.anchor, hand.position);

    // Flags, ids and accelerations.
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_TRUE(skeleton->GetJoint(i)->draggable) << i;
        EXPECT_TRUE(skeleton->GetJoint(i)->pinned) << i;
    }
    EXPECT_EQ(skeleton->GetJoint(1)->id, 1);
    EXPECT_EQ(skeleton->GetJoint(2)->id, -1);
    EXPECT_FLOAT_EQ(skeleton->GetJoint(0)->acceleration, 0.04f);
    EXPECT_FLOAT_EQ(hand.acceleration, 0.5f);
    EXPECT_FLOAT_EQ(hand.accelerationSquared, 0.25f);
    EXPECT_TRUE(skeleton->GetJoint(4)->front);
    EXPECT_TRUE(skeleton->GetJoint(5)->back);
    EXPECT_FALSE(skeleton->GetJoint(6)->front) << "torso is matched exactly";
    EXPECT_EQ(skeleton->GetJoint(8), nullptr);

    // Bones: lengths from the rest shape; bad indices and self-bones are dropped.
    ASSERT_EQ(skeleton->GetBones().size(), 5u);
    ASSERT_NE(skeleton->FindBone(0, 4), nullptr);
    EXPECT_FLOAT_EQ(skeleton->FindBone(0, 4)->restLength, std::sqrt(8.0f));
    EXPECT_FLOAT_EQ(skeleton->FindBone(5, 4)->restLengthSquared, 1.0f);
    EXPECT_EQ(skeleton->FindBone(0, 1), nullptr);
    EXPECT_EQ(skeleton->FindBone(4, 4), nullptr);
    EXPECT_EQ(skeleton->GetBones()[0].Other(4), 0);
    EXPECT_EQ(skeleton->GetBones()[0].Other(3), -1);

    // Ligaments: degrees to radians, +-360 by default, rigid at the rest angle.
    ASSERT_EQ(skeleton->GetLigaments().size(), 3u);
    EXPECT_FLOAT_EQ(skeleton->GetLigaments()[0].minAngle, -2 * kPi);
    EXPECT_FLOAT_EQ(skeleton->GetLigaments()[0].maxAngle, 2 * kPi);
    EXPECT_NEAR(skeleton->GetLigaments()[1].minAngle, -kPi / 4, 1e-6f);
    EXPECT_NEAR(skeleton->GetLigaments()[1].maxAngle, 3 * kPi / 4, 1e-6f);
    const CLigament& rigid = skeleton->GetLigaments()[2];
    EXPECT_FLOAT_EQ(rigid.minAngle, rigid.maxAngle);
    EXPECT_NEAR(rigid.minAngle, FastAngle({-2.0f, -2.0f}, {0.0f, -1.0f}), 1e-6f);

    // Per-joint lists in document order.
    EXPECT_EQ(skeleton->GetJointBones(4), (std::vector<uint32_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(skeleton->GetJointBones(0), (std::vector<uint32_t>{0}));
    EXPECT_EQ(skeleton->GetJointLigaments(4), (std::vector<uint32_t>{0, 1, 2}));
    EXPECT_EQ(skeleton->GetJointLigaments(0), (std::vector<uint32_t>{0, 2}));
    EXPECT_TRUE(skeleton->GetJointBones(7).empty());

    // Distance tables: bone-path sums from each limb; no path and past the table read 9999.
    const float leg = std::sqrt(8.0f);
    EXPECT_FLOAT_EQ(skeleton->GetJoint(0)->GetDistance(0), 0.0f);
    EXPECT_FLOAT_EQ(skeleton->GetJoint(4)->GetDistance(0), leg);
    EXPECT_FLOAT_EQ(skeleton->GetJoint(3)->GetDistance(0), 2 * leg);
    EXPECT_FLOAT_EQ(skeleton->GetJoint(5)->GetDistance(2), leg + 1.0f);
    EXPECT_FLOAT_EQ(skeleton->GetJoint(7)->GetDistance(0), CJoint::kNoPath);
    EXPECT_FLOAT_EQ(skeleton->GetJoint(0)->GetDistance(4), CJoint::kNoPath);

    // Home: y repeats x, a missing point is (0, 0).
    ExpectNear(skeleton->GetHome(0), {1.0f, 2.0f});
    ExpectNear(skeleton->GetHome(1), {3.0f, 3.0f});
    ExpectNear(skeleton->GetHome(2), {0.0f, 0.0f});

    // Heading from the back joint to the front one; the head point 0.6 ahead of the front.
    ExpectNear(skeleton->GetHeading(), {0.0f, 1.0f});
    ExpectNear(skeleton->GetHeadPoint(), {0.0f, 0.6f});
    ExpectNear(skeleton->GetBodyPoint(), skeleton->GetHeadPoint());
    // Outward: away from the one neighbour; the body's bones cancel out.
    ExpectNear(skeleton->GetOutwardDirection(0), Vector2<float>(-1.0f, -1.0f) * std::sqrt(0.5f));
    ExpectNear(skeleton->GetOutwardDirection(7), {0.0f, -1.0f});
}

TEST(Skeleton, UnusableDocumentsLeaveAnEmptySkeleton)
{
    const char* const broken[] = {
        // Too few joints for a body joint.
        "<s><joint draggable=\"true\"/><joint draggable=\"true\"/><joint/><joint/></s>",
        // A draggable joint after a body joint: limb i would not be joint i.
        "<s><joint draggable=\"true\"/><joint/><joint draggable=\"true\"/><joint/><joint/></s>",
        // Five limbs.
        "<s><joint draggable=\"1\"/><joint draggable=\"1\"/><joint draggable=\"1\"/><joint draggable=\"1\"/>"
        "<joint draggable=\"1\"/><joint/></s>",
    };
    for (const char* text : broken)
    {
        CRef<CSkeleton> skeleton = FromText(text);
        EXPECT_EQ(skeleton->GetJointCount(), 0u) << text;
        EXPECT_EQ(skeleton->GetLimbJointCount(), 0u) << text;
        // Nothing to do, and nothing breaks.
        EXPECT_TRUE(skeleton->Relax(10, true));
        skeleton->SetPose(PoseOf("63625352"));
        skeleton->Update(0.02f);
        EXPECT_EQ(Pose::FromSkeleton(*skeleton), Pose());
    }
    CRef<CSkeleton> none = MakeRef<CSkeleton>();
    EXPECT_FALSE(none->LoadDocument(nullptr));

    // A whole skeleton that is loaded again over a broken one is emptied first.
    CRef<CSkeleton> skeleton = Azureus();
    ASSERT_EQ(skeleton->GetJointCount(), 14u);
    CXmlDocument document;
    ASSERT_TRUE(document.Parse(broken[0], false));
    EXPECT_FALSE(skeleton->LoadDocument(document.GetRoot()));
    EXPECT_EQ(skeleton->GetJointCount(), 0u);
    EXPECT_TRUE(skeleton->GetBones().empty());
}

TEST(Skeleton, CreateReadsTheSpeciesFromTheDataFolder)
{
    AppFolder folder;
    folder.WriteData("tiny.xml", kSmallFrog);
    CRef<CSkeleton> skeleton = CSkeleton::Create("tiny");
    EXPECT_EQ(skeleton->GetName(), "tiny");
    EXPECT_EQ(skeleton->GetJointCount(), 8u);
    EXPECT_EQ(skeleton->GetRefCount(), 1);

    CRef<CSkeleton> missing = CSkeleton::Create("none");
    EXPECT_EQ(missing->GetName(), "none");
    EXPECT_EQ(missing->GetJointCount(), 0u);
}

TEST(Skeleton, BonesPullBothEndsOrOnlyTheFreeOne)
{
    CRef<CSkeleton> skeleton = FromText(kSmallFrog);
    CJoint& hand = *skeleton->GetJoint(0); // pinned
    CJoint& body = *skeleton->GetJoint(4);
    CJoint& tail = *skeleton->GetJoint(5);
    const CBone& spine = *skeleton->FindBone(4, 5);
    skeleton->ClearQueue();

    // At rest nothing moves.
    EXPECT_FALSE(spine.Solve(*skeleton));
    EXPECT_TRUE(skeleton->GetQueue().empty());

    // Stretched by 1 between two free joints: each takes half.
    tail.position = {0.0f, -2.0f};
    EXPECT_TRUE(spine.Solve(*skeleton));
    ExpectNear(body.position, {0.0f, -0.5f});
    ExpectNear(tail.position, {0.0f, -1.5f});
    EXPECT_EQ(skeleton->GetQueue(), (std::deque<uint32_t>{4, 5}));

    // A pinned end stays and the free one takes the whole correction.
    body.position = {0.0f, 0.0f};
    hand.position = {-4.0f, -4.0f};
    EXPECT_TRUE(skeleton->FindBone(0, 4)->Solve(*skeleton));
    ExpectNear(hand.position, {-4.0f, -4.0f});
    ExpectNear(body.position, {-2.0f, -2.0f});

    // Both ends pinned: nothing moves, though the bone is off.
    skeleton->GetJoint(4)->pinned = 1;
    body.position = {0.0f, 0.0f};
    EXPECT_TRUE(skeleton->FindBone(0, 4)->Solve(*skeleton));
    ExpectNear(body.position, {0.0f, 0.0f});
    ExpectNear(hand.position, {-4.0f, -4.0f});
    skeleton->GetJoint(4)->pinned = 0;

    // Coincident ends have no direction: left alone, no NaN.
    tail.position = body.position;
    EXPECT_FALSE(spine.Solve(*skeleton));
    EXPECT_TRUE(std::isfinite(tail.position.x) && std::isfinite(body.position.x));
}

TEST(Skeleton, LigamentsTurnBothArmsToTheLimitAroundTheCentroid)
{
    CRef<CSkeleton> skeleton = FromText(kSmallFrog);
    const CLigament& feet = skeleton->GetLigaments()[1]; // about 4, from 2 to 3, -45..135 degrees
    CJoint& pivot = *skeleton->GetJoint(4);
    CJoint& one = *skeleton->GetJoint(2);
    CJoint& two = *skeleton->GetJoint(3);
    auto angle = [&] { return FastAngle(one.position - pivot.position, two.position - pivot.position); };

    // Within the limits: nothing.
    one.position = {1.0f, 0.0f};
    two.position = {0.0f, 1.0f};
    EXPECT_FALSE(feet.Solve(*skeleton));

    // Past the maximum (180 degrees): both arms turn, the lengths and the centroid stay.
    one.position = {2.0f, 0.0f};
    two.position = {-1.0f, 0.0f};
    pivot.position = {0.0f, 0.0f};
    const Vector2<float> centroid = (one.position + two.position + pivot.position) / 3.0f;
    EXPECT_TRUE(feet.Solve(*skeleton));
    EXPECT_NEAR(angle(), 3 * kPi / 4, 0.006f);
    ExpectNear((one.position + two.position + pivot.position) / 3.0f, centroid);
    EXPECT_NEAR((one.position - pivot.position).Length(), 2.0f, 1e-4f);
    EXPECT_NEAR((two.position - pivot.position).Length(), 1.0f, 1e-4f);

    // Below the minimum the arms open up to it.
    one.position = {1.0f, 0.0f};
    two.position = {1.0f, -2.0f};
    pivot.position = {0.0f, 0.0f};
    EXPECT_TRUE(feet.Solve(*skeleton));
    EXPECT_NEAR(angle(), -kPi / 4, 0.006f);

    // A ligament without limits never acts; one whose arm has no length is left alone.
    EXPECT_FALSE(skeleton->GetLigaments()[0].Solve(*skeleton));
    one.position = pivot.position;
    EXPECT_FALSE(feet.Solve(*skeleton));
}

TEST(Skeleton, InertiaAndAnchorPull)
{
    CJoint joint;
    joint.older = {0.0f, 0.0f};
    joint.previous = {1.0f, 0.0f};
    // Predicted at 1.9; a jump to 3 is clamped to within 0.04 of the prediction.
    joint.position = {3.0f, 0.0f};
    joint.LimitInertia();
    ExpectNear(joint.position, {1.94f, 0.0f});
    joint.position = {1.92f, 0.01f};
    joint.LimitInertia();
    ExpectNear(joint.position, {1.92f, 0.01f});

    // Only a pinned joint is pulled, and only from the threshold on.
    joint.anchor = {0.0f, 0.0f};
    joint.position = {1.0f, 0.0f};
    EXPECT_FALSE(joint.PullToAnchor(0.05f));
    joint.pinned = 1;
    EXPECT_TRUE(joint.PullToAnchor(0.05f));
    ExpectNear(joint.position, {0.5f, 0.0f});
    joint.position = {0.04f, 0.0f};
    EXPECT_FALSE(joint.PullToAnchor(0.05f));

    joint.SetDistance(2, 1.5f);
    EXPECT_FLOAT_EQ(joint.GetDistance(2), 1.5f);
    EXPECT_FLOAT_EQ(joint.GetDistance(1), CJoint::kNoPath);
}

TEST(Skeleton, RelaxWorksWithinItsBudget)
{
    CRef<CSkeleton> skeleton = Azureus();
    const unsigned count = skeleton->GetJointCount();
    ASSERT_EQ(count, 14u);
    // At rest: one visit per joint settles it; one visit fewer does not.
    EXPECT_FALSE(skeleton->Relax(int(count) - 1, true));
    EXPECT_EQ(skeleton->GetQueue().size(), 1u);
    EXPECT_TRUE(skeleton->Relax(int(count), true));
    EXPECT_TRUE(skeleton->GetQueue().empty());

    // Budget 0: nothing moves, whatever is off.
    skeleton->GetJoint(4)->position += Vector2<float>(0.5f, 0.0f);
    std::vector<CJoint> before = skeleton->GetJoints();
    EXPECT_FALSE(skeleton->Relax(0, false));
    for (unsigned i = 0; i < count; ++i)
        ExpectNear(skeleton->GetJoints()[i].position, before[i].position, 0.0f);
    EXPECT_EQ(skeleton->GetQueue().size(), count);

    // The queue holds each joint once.
    skeleton->PushJoint(3);
    skeleton->PushJoint(99);
    EXPECT_EQ(skeleton->GetQueue().size(), count);
    skeleton->ClearQueue();
    skeleton->PushJoint(3);
    skeleton->PushJoint(3);
    EXPECT_EQ(skeleton->GetQueue(), std::deque<uint32_t>{3});

    // A shove spreads and settles in a bounded number of budgets.
    int relaxes = 1;
    while (!skeleton->Relax(CSkeleton::kTickBudget, false) && relaxes < 50)
        ++relaxes;
    EXPECT_LT(relaxes, 50);
    EXPECT_LT(WorstBone(*skeleton), 0.015f);
    EXPECT_LT(WorstLigament(*skeleton), 0.04f);
}

TEST(Skeleton, AzureusStandsInEveryShippedPoseAndStaysStill)
{
    CRef<CSkeleton> skeleton = Azureus();
    ASSERT_EQ(skeleton->GetLimbJointCount(), 4u);
    // Any two limbs are far enough apart along the bones for the longest hop of the puzzles.
    for (int a = 0; a < 4; ++a)
        for (int b = 0; b < 4; ++b)
            EXPECT_GT(a == b ? 9.0f : skeleton->GetJoint(a)->GetDistance(b), 3.5f) << a << "-" << b;

    CMoveMap empty;
    skeleton->SetMoveMap(&empty);
    for (const char* text : {"63625352", "43423332", "52514341", "63624552", "73514341", "33512322", "55624544",
                             "73726341"})
    {
        const Pose pose = PoseOf(text);
        skeleton->SetPose(pose);
        int relaxes = 1;
        while (!skeleton->Relax(CSkeleton::kTickBudget, false) && relaxes < 200)
            ++relaxes;
        EXPECT_LT(relaxes, 200) << text;
        EXPECT_LT(WorstBone(*skeleton), 0.015f) << text;
        EXPECT_LT(WorstLigament(*skeleton), 0.04f) << text;
        EXPECT_EQ(Pose::FromSkeleton(*skeleton), pose) << text;
        for (int limb = 0; limb < 4; ++limb)
            EXPECT_LT((skeleton->GetJointPosition(unsigned(limb)) - Vector2<float>(Pose::GetCell(pose, limb)))
                          .Length(),
                      0.05f)
                << text << " limb " << limb;

        // Settled, the idle ticks keep it where it is.
        skeleton->ShiftHistory();
        skeleton->ShiftHistory();
        const std::vector<CJoint> settled = skeleton->GetJoints();
        for (int tick = 0; tick < 20; ++tick)
            skeleton->Update(0.016f);
        for (unsigned i = 0; i < skeleton->GetJointCount(); ++i)
            EXPECT_LT((skeleton->GetJoints()[i].position - settled[i].position).Length(), 0.02f) << text << " " << i;
    }
    // The frog faces up the board, its head point ahead of the chest.
    EXPECT_LT(skeleton->GetHeading().y, -0.8f);
    EXPECT_LT(skeleton->GetHeadPoint().y, skeleton->GetJoint(5)->position.y);
}

TEST(Skeleton, TicksOnTheMainGameSchedulerWhileItRuns)
{
    // The skeleton's control makes the game, which installs schedulers of its own: made first,
    // the test's scopes stand in front of them.
    CSingleton<CGame>::Instance();
    FakeClock clock;
    TestScopes scopes;
    CRef<CSkeleton> skeleton = Azureus();
    ASSERT_TRUE(scopes.Mode()->IsScheduled(skeleton.Get()));
    CMoveMap empty;
    skeleton->SetMoveMap(&empty);

    // Put down in a pose the map lacks, the body comes along with the limbs; the ticks then
    // settle it between them.
    skeleton->SetPose(PoseOf("63625352"));
    const Vector2<float> middle(2.5f, 5.5f);
    EXPECT_LT((skeleton->GetJoint(4)->position - middle).Length(), 0.6f);
    skeleton->GetJoint(4)->position += Vector2<float>(0.0f, -0.3f);
    for (int frame = 0; frame < 100; ++frame)
    {
        clock.Advance(16);
        scopes.Update();
    }
    const Vector2<float> body = skeleton->GetJoint(4)->position;
    EXPECT_LT((body - middle).Length(), 0.6f) << body.x << "," << body.y;
    EXPECT_LT(WorstBone(*skeleton), 0.015f);
    EXPECT_LT(WorstLigament(*skeleton), 0.04f);
    EXPECT_EQ(Pose::FromSkeleton(*skeleton), PoseOf("63625352"));

    // Paused, the scope calls nothing: the skeleton holds still even when shoved.
    scopes.Mode()->Pause(true);
    skeleton->GetJoint(4)->position += Vector2<float>(0.3f, 0.0f);
    const Vector2<float> shoved = skeleton->GetJoint(4)->position;
    for (int frame = 0; frame < 10; ++frame)
    {
        clock.Advance(16);
        scopes.Update();
    }
    ExpectNear(skeleton->GetJoint(4)->position, shoved, 0.0f);
    scopes.Mode()->Pause(false);
    for (int frame = 0; frame < 10; ++frame)
    {
        clock.Advance(16);
        scopes.Update();
    }
    EXPECT_NE(skeleton->GetJoint(4)->position.x, shoved.x);

}

TEST(Skeleton, SetPoseRoundTripsThroughPoses)
{
    CRef<CSkeleton> skeleton = Azureus();
    CMoveMap empty;
    skeleton->SetMoveMap(&empty);
    EXPECT_TRUE(skeleton->TakePoseSet());
    EXPECT_FALSE(skeleton->TakePoseSet());
    const uint32_t changes = skeleton->GetChangeCount();

    for (const char* text : {"63625352", "73726362", "55624544"})
    {
        const Pose pose = PoseOf(text);
        skeleton->SetPose(pose);
        EXPECT_EQ(Pose::FromSkeleton(*skeleton), pose) << text;
        EXPECT_EQ(skeleton->GetCurrentPose(), pose);
        EXPECT_TRUE(skeleton->TakePoseSet());
        for (int limb = 0; limb < 4; ++limb)
        {
            const CJoint& joint = *skeleton->GetJoint(limb);
            const Vector2<float> cell(Pose::GetCell(pose, limb));
            ExpectNear(joint.position, cell, 0.0f);
            ExpectNear(joint.anchor, cell, 0.0f);
            // Standing still: no velocity for the inertia to keep.
            ExpectNear(joint.previous, cell, 0.0f);
            ExpectNear(joint.older, cell, 0.0f);
        }
    }
    EXPECT_EQ(skeleton->GetChangeCount(), changes + 3);

    // The same pose read back through the pose's own writer.
    Pose::ApplyToSkeleton(PoseOf("43423332"), *skeleton);
    EXPECT_EQ(Pose::FromSkeleton(*skeleton), PoseOf("43423332"));

    // Nothing was dragged, so there is no last dragged limb; releasing nothing changes nothing.
    int limb = -1;
    Vector2<float> position;
    EXPECT_FALSE(skeleton->GetLastDraggedLimb(limb, position));
    skeleton->ReleaseJoint(Vector2<float>(3.4028235e38f, 3.4028235e38f));
    EXPECT_EQ(skeleton->GetActiveJointIndex(), -1);
}

TEST(Skeleton, TakesTheMoveMapsRestShapes)
{
    CRef<CSkeleton> skeleton = Azureus();
    const unsigned count = skeleton->GetJointCount();
    const Pose home = PoseOf("63625352");
    Pose key = home;
    const Vector2<int> offset = Pose::Normalise(key);

    // One entry: the rest shape of the home pose, moved to the origin, one point per joint.
    CMoveMap map;
    CMoveMap::Entry& entry = map.EditEntries()[key];
    for (unsigned i = 0; i < count; ++i)
        entry.rest.push_back(i < 4 ? Vector2<float>(Pose::GetCell(key, int(i)))
                                   : Vector2<float>(0.5f, 0.5f) + Vector2<float>(float(i) * 0.01f, 0.0f));
    skeleton->SetMoveMap(&map);

    // Setting the pose snaps every joint to the shape, placed where the pose stands, and stops it.
    skeleton->SetPose(home);
    for (unsigned i = 0; i < count; ++i)
    {
        const Vector2<float> expected = entry.rest[i] + Vector2<float>(offset);
        ExpectNear(skeleton->GetJointPosition(i), expected);
        ExpectNear(skeleton->GetJoint(int(i))->older, expected);
    }
    EXPECT_EQ(skeleton->GetQueue().size(), count) << "the snap queues every joint";

    // Idle ticks keep the snapped shape.
    skeleton->Update(0.016f);
    ExpectNear(skeleton->GetJointPosition(7), entry.rest[7] + Vector2<float>(offset));

    // A limb off its knob cell: no snap, and the pose the map lacks applies nothing.
    skeleton->SetJointAnchor(0, skeleton->GetJointAnchor(0) + Vector2<float>(0.3f, 0.0f));
    EXPECT_FALSE(map.SnapToRestPose(*skeleton));
    const Vector2<float> body = skeleton->GetJointPosition(4);
    map.ApplyRestPose(*skeleton, PoseOf("52514341"));
    ExpectNear(skeleton->GetJointPosition(4), body, 0.0f);
    // The blend around the dragged limb's own cell is the pose's own shape.
    skeleton->SetJointPosition(4, {0.0f, 0.0f});
    map.BlendDragPose(*skeleton, home, 0);
    ExpectNear(skeleton->GetJointPosition(4), entry.rest[4] + Vector2<float>(offset));
    // Without the map the snap cannot happen: the limbs still go onto their cells.
    CMoveMap empty;
    skeleton->SetMoveMap(&empty);
    skeleton->SetPose(PoseOf("43423332"));
    EXPECT_EQ(Pose::FromSkeleton(*skeleton), PoseOf("43423332"));
}
