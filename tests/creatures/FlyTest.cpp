// The fly on the board: loading its description, where it rests and starts, flying in and landing
// on a hand-driven clock, its weighted actions on a seeded generator, and shying from the frog.
#include "Graphics/CMaterialSet.h"
#include "Graphics/CTextureSet.h"
#include "Graphics/MaterialCaps.h"
#include "core/CRules.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/Random.h"
#include "creatures/CFly.h"
#include "platform/CGame.h"
#include "support/AppFolder.h"
#include "support/TestScopes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

namespace
{
const char* const kFly = R"(<fly material="fly" scale="0.3" restdistance="1.5" glow="2" glowcolour="1,1,0.5,1"
     shadow="0,0,0,0.5">
  <frames>
    <rest uvs="0,0,.5,.5"/>
    <fly1 uvs="9"/>
    <fly2 uvs="0,.5,.5,1"/>
    <walk uvs="#FF8000"/>
    <fly1 uvs=".5,0,1,.5"/>
  </frames>
  <actions>
    <hop weight="2"><step frame="walk" time="0.25"/><step frame="rest" time="-1" rotate="15"/></hop>
    <preen weight="0.5"><step frame="nothere"/></preen>
    <preen weight="3"><step frame="walk" time="0.1"/></preen>
  </actions>
</fly>)";

int32_t s_now = 0;
FrogSight s_frog;

int32_t Clock()
{
    return s_now;
}

void Look(FrogSight& sight)
{
    sight = s_frog;
}

// A pose from four (x, y) cells in limb order.
Pose PoseOf(int lx, int ly, int rx, int ry, int fx, int fy, int gx, int gy)
{
    Pose pose;
    pose = Pose::SetCell(pose, 0, {lx, ly});
    pose = Pose::SetCell(pose, 1, {rx, ry});
    pose = Pose::SetCell(pose, 2, {fx, fy});
    return Pose::SetCell(pose, 3, {gx, gy});
}

const Vector4<float> kBoardView{-0.5f, -0.5f, 8.0f, 8.0f};

class FlyTest : public testing::Test
{
  protected:
    FlyTest()
    {
        m_caps.textureUnits = 2;
        MaterialCaps::SetOverride(&m_caps);
        m_folder.WriteData("rules.xml", "<rules><interval animation=\"20\"/></rules>");
        m_folder.WriteData("materials.xml", "<materials><default alphathreshold=\"0\"/></materials>");
        CRules::Instance()->Load();
        s_now = 1000;
        s_frog = FrogSight();
        m_random.Seed(1234);
        fly = CFly::Instance();
        fly->SetClock(&Clock);
        fly->SetRandom(&m_random);
        fly->SetFrogLook(&Look);
    }
    ~FlyTest() override
    {
        CSingleton<CFly>::Toggle(false);
        CSingleton<CGame>::Toggle(false);
        CSingleton<CMaterialSet>::Toggle(false);
        CSingleton<CTextureSet>::Toggle(false);
        MaterialCaps::SetOverride(nullptr);
    }

    void Load(const char* text = kFly)
    {
        CXmlDocument document;
        ASSERT_TRUE(document.Parse(text, false));
        CFly::LoadOnBoard(*document.GetRoot());
        // Goal: hands on row 2, feet on row 4, facing up; home four rows further down.
        fly->PlaceForGoal(PoseOf(3, 2, 4, 2, 3, 4, 4, 4), PoseOf(3, 5, 4, 5, 3, 7, 4, 7), kBoardView);
    }
    // One tick of 20 ms.
    void Tick(int times = 1)
    {
        for (int i = 0; i < times; ++i)
        {
            s_now += 20;
            fly->Update(0.02f);
        }
    }
    // A fly resting on its rest point with no action playing, the frog's head straight behind it.
    void Rest()
    {
        fly->JumpToRest();
        s_frog.present = true;
        s_frog.head = fly->GetRestPoint() + Vector2<float>(0.0f, 3.0f);
    }

    TestScopes m_scopes;
    AppFolder m_folder;
    MaterialCaps m_caps;
    Random m_random;
    CFly* fly = nullptr;
};

TEST_F(FlyTest, LoadsFramesActionsAndColours)
{
    Load();
    EXPECT_EQ(CFly::kLoaded, fly->GetState());
    EXPECT_FLOAT_EQ(1.5f, fly->GetRestDistance());
    EXPECT_EQ(Vector4<float>(0.0f, 0.0f, 0.5f, 0.5f), fly->GetRestFrame());
    // Every frame named "fly..." is a flight frame, in document order, even a repeated name.
    ASSERT_EQ(3u, fly->GetFlightFrames().size());
    EXPECT_EQ(Vector4<float>(9.0f, 9.0f, 9.0f, 9.0f), fly->GetFlightFrames()[0]);
    EXPECT_EQ(Vector4<float>(0.5f, 0.0f, 1.0f, 0.5f), fly->GetFlightFrames()[2]);

    // Name order; a repeated action replaces the earlier one; the later "fly1" is the named one.
    const auto& actions = fly->GetActions();
    ASSERT_EQ(2u, actions.size());
    EXPECT_EQ("hop", actions.begin()->first);
    const FlyAction& preen = actions.at("preen");
    EXPECT_FLOAT_EQ(3.0f, preen.weight);
    ASSERT_EQ(1u, preen.steps.size());
    EXPECT_EQ(100, preen.steps[0].time);
    const FlyAction& step = actions.at("hop");
    ASSERT_EQ(2u, step.steps.size());
    EXPECT_EQ(250, step.steps[0].time);
    EXPECT_NEAR(1.0f, step.steps[0].uv.x, 1e-6f); // "#FF8000"
    EXPECT_NEAR(128.0f / 255.0f, step.steps[0].uv.y, 1e-6f);
    EXPECT_EQ(0, step.steps[1].time); // a negative time is taken as none
    EXPECT_FLOAT_EQ(15.0f, step.steps[1].rotate);

    // Sprites: the body shows the rest frame; the shadow copies it in its own colour; the glow
    // starts invisible at scale times glow.
    EXPECT_EQ(fly->GetRestFrame(), fly->GetBody().GetQuadUv(0, 0));
    EXPECT_EQ(Vector4<float>(-1.0f, -1.0f, 1.0f, 1.0f), fly->GetBody().GetQuadRect(0));
    EXPECT_EQ(Vector2<float>(0.3f, 0.3f), fly->GetBody().scale);
    EXPECT_EQ(fly->GetRestFrame(), fly->GetShadow().GetQuadUv(0, 0));
    EXPECT_EQ(Vector4<float>(0.0f, 0.0f, 0.0f, 0.5f), fly->GetShadow().GetColour());
    EXPECT_EQ(Vector4<float>(), fly->GetGlow().GetColour());
    EXPECT_NEAR(0.6f, fly->GetGlow().scale.x, 1e-6f);
    EXPECT_EQ(1000 + CFly::kFirstActionDelay, fly->GetNextStepTime());

    // The defaults: no glow (scale 0), an unknown rest frame gives the empty rect.
    Load("<fly><frames><fly1/></frames></fly>");
    EXPECT_FLOAT_EQ(1.0f, fly->GetRestDistance());
    EXPECT_EQ(Vector4<float>(), fly->GetRestFrame());
    EXPECT_EQ(Vector4<float>(0.0f, 0.0f, 1.0f, 1.0f), fly->GetFlightFrames().at(0));
    EXPECT_EQ(0.0f, fly->GetGlow().scale.x);
    EXPECT_TRUE(fly->GetActions().empty());
}

TEST_F(FlyTest, RestsAheadOfTheGoalAndStartsOutsideTheView)
{
    Load();
    // Hands' midpoint (3.5, 2) plus 1.5 cells up the board.
    EXPECT_EQ(Vector2<float>(3.5f, 0.5f), fly->GetRestPoint());
    // From (3.5, 5.5) behind the home hands, back in half cells until out of view, then once more.
    EXPECT_EQ(Vector2<float>(3.5f, 8.0f), fly->position);
    EXPECT_EQ(CFly::kLoaded, fly->GetState());

    // A sideways goal faces along +x; the start lies behind the home pose, off the left edge.
    fly->PlaceForGoal(PoseOf(5, 3, 5, 4, 3, 3, 3, 4), PoseOf(5, 3, 5, 4, 3, 3, 3, 4), kBoardView);
    EXPECT_EQ(Vector2<float>(6.5f, 3.5f), fly->GetRestPoint());
    EXPECT_EQ(Vector2<float>(-1.5f, 3.5f), fly->position);

    // Poses whose hands and feet cancel out face up the board, and a view that holds the start
    // point however far it steps stops the walk.
    const Pose level = PoseOf(2, 2, 4, 2, 4, 2, 2, 2);
    fly->PlaceForGoal(level, level, Vector4<float>(-1e9f, -1e9f, 2e9f, 2e9f));
    EXPECT_EQ(Vector2<float>(3.0f, 0.5f), fly->GetRestPoint());
    EXPECT_TRUE(std::isfinite(fly->position.y));
    EXPECT_FLOAT_EQ(2.0f + 0.5f * 66.0f, fly->position.y);

    fly->JumpToRest();
    EXPECT_EQ(fly->GetRestPoint(), fly->position);
    EXPECT_EQ(0.0f, fly->GetHeight());
    EXPECT_EQ(CFly::kResting, fly->GetState());
}

TEST_F(FlyTest, FliesInAndLandsOnItsRestPoint)
{
    Load();
    Tick();
    EXPECT_EQ(CFly::kFlying, fly->GetState()); // away from its rest point
    EXPECT_EQ(Vector2<float>(), fly->GetVelocity());

    bool flewHigh = false;
    int ticks = 0;
    for (; ticks < 1500 && fly->GetState() == CFly::kFlying; ++ticks)
    {
        Tick();
        EXPECT_LE(fly->GetVelocity().Length(), CFly::kMaxSpeed + 1e-4f);
        flewHigh = flewHigh || fly->GetHeight() > 0.5f;
        // Flying shows the flight frames in turn, the shadow fainter as the fly rises.
        if (fly->GetState() != CFly::kFlying)
            break;
        fly->PlaceSprites();
        EXPECT_NE(fly->GetRestFrame(), fly->GetBody().GetQuadUv(0, 0));
        EXPECT_LE(fly->GetShadow().GetColour().w, 0.5f);
    }
    EXPECT_TRUE(flewHigh);
    ASSERT_EQ(CFly::kResting, fly->GetState()) << "still flying after " << ticks << " ticks";
    EXPECT_EQ(fly->GetRestPoint(), fly->position);
    EXPECT_EQ(0.0f, fly->GetHeight());
    EXPECT_EQ(Vector2<float>(), fly->GetVelocity());
    EXPECT_EQ(fly->GetRestFrame(), fly->GetBody().GetQuadUv(0, 0));
    EXPECT_EQ(Vector4<float>(1.0f, 1.0f, 0.5f, 1.0f), fly->GetGlow().GetColour()); // faded in

    // Resting: the body is lifted up-right, the shadow down-left, the glow on the spot.
    fly->PlaceSprites();
    const Vector2<float> rest = fly->GetRestPoint();
    EXPECT_NEAR(rest.x + 0.02f, fly->GetBody().translation.x, 1e-5f);
    EXPECT_NEAR(rest.y - 0.04f, fly->GetBody().translation.y, 1e-5f);
    EXPECT_NEAR(rest.x - 0.02f, fly->GetShadow().translation.x, 1e-5f);
    EXPECT_EQ(rest.x, fly->GetGlow().translation.x);
    EXPECT_EQ(Vector4<float>(0.0f, 0.0f, 0.0f, 0.5f), fly->GetShadow().GetColour());
}

TEST_F(FlyTest, TurnsByTheUnwrappedDifferenceAcrossTheBack)
{
    Load("<fly><actions><spin><step rotate=\"-170\"/></spin></actions></fly>");
    fly->PlaceForGoal(PoseOf(3, 2, 4, 2, 3, 4, 4, 4), PoseOf(3, 2, 4, 2, 3, 4, 4, 4), kBoardView);
    Rest();
    s_now += CFly::kFirstActionDelay;
    Tick();
    ASSERT_FLOAT_EQ(-170.0f, fly->GetHeading());

    // The rest point lies at a heading of about 170 degrees: 170 - (-170) is positive, so the fly
    // turns counter-clockwise, the long way round.
    fly->position = fly->GetRestPoint() - 0.5f * Vector2<float>(std::sin(0.1745f * 17.0f), -std::cos(0.1745f * 17.0f));
    Tick(); // takes off
    Tick();
    EXPECT_GT(fly->GetHeading(), -170.0f);
}

TEST_F(FlyTest, ChoosesWeightedActionsAndPausesBetweenThem)
{
    Load();
    Rest();
    // Nothing before the first delay has passed.
    Tick();
    EXPECT_EQ("", fly->GetCurrentAction());

    // Weights 3 ("preen") to 2 ("hop"), on a seeded generator; no frog to turn to.
    s_frog.present = false;
    std::map<std::string, int> chosen;
    for (int i = 0; i < 300; ++i)
    {
        s_now = fly->GetNextStepTime();
        fly->Update(0.02f); // chooses and plays the first step at once
        const std::string name = fly->GetCurrentAction().empty() ? "preen" : fly->GetCurrentAction();
        ++chosen[name];
        if (name == "hop")
        {
            // 250 ms later the second step turns the fly and ends the action; the pause after it
            // is T/2 to T of the last step's time, which is 0 here.
            EXPECT_EQ(1u, fly->GetCurrentStep());
            s_now += 250;
            const float heading = fly->GetHeading();
            fly->Update(0.02f);
            EXPECT_FLOAT_EQ(heading + 15.0f >= 180.0f ? heading - 345.0f : heading + 15.0f, fly->GetHeading());
            EXPECT_EQ("", fly->GetCurrentAction());
            EXPECT_EQ(s_now, fly->GetNextStepTime());
        }
        else
        {
            // "preen" has one step of 100 ms: the pause is 50 to 100 ms.
            EXPECT_GE(fly->GetNextStepTime(), s_now + 50);
            EXPECT_LE(fly->GetNextStepTime(), s_now + 100);
        }
    }
    EXPECT_GT(chosen["preen"], 150);
    EXPECT_LT(chosen["preen"], 210);
    EXPECT_EQ(300, chosen["preen"] + chosen["hop"]);

    // All weights zero: the last action by name, every time.
    Load("<fly><actions><b weight=\"0\"><step/></b><c weight=\"0\"><step/><step/></c><a weight=\"0\"><step/></a></actions></fly>");
    Rest();
    s_now = fly->GetNextStepTime();
    fly->Update(0.02f);
    EXPECT_EQ("c", fly->GetCurrentAction());
    // Steps without a time play one per update.
    fly->Update(0.02f);
    EXPECT_EQ("", fly->GetCurrentAction());
}

TEST_F(FlyTest, TurnsTowardsAFrogAhead)
{
    Load("<fly><actions><turnleft><step rotate=\"10\"/></turnleft><turnright><step rotate=\"-10\"/></turnright>"
         "<idle weight=\"5\"><step time=\"1\"/></idle></actions></fly>");
    Rest();
    s_now += CFly::kFirstActionDelay;
    // Head up and to the right of the fly (which faces up): "turnleft" by the sign of the angle.
    s_frog.head = fly->position + Vector2<float>(1.0f, -2.0f);
    Tick();
    EXPECT_FLOAT_EQ(10.0f, fly->GetHeading());
    EXPECT_GE(fly->GetNextStepTime(), s_now + 400); // a short pause while the frog looks on
    EXPECT_LE(fly->GetNextStepTime(), s_now + 800);
    s_frog.head = fly->position + Vector2<float>(-1.0f, -2.0f);
    s_now = fly->GetNextStepTime();
    fly->Update(0.02f);
    EXPECT_FLOAT_EQ(0.0f, fly->GetHeading());

    // Without turn actions a frog ahead gets a weighted choice, with the short pause.
    Load("<fly><actions><idle><step time=\"5\"/></idle></actions></fly>");
    Rest();
    s_frog.head = fly->position + Vector2<float>(0.0f, -2.0f);
    s_now += CFly::kFirstActionDelay;
    Tick();
    EXPECT_GE(fly->GetNextStepTime(), s_now + 400);
    EXPECT_LE(fly->GetNextStepTime(), s_now + 800);
}

TEST_F(FlyTest, ShiesFromTheFrog)
{
    Load();
    Rest();
    const Vector2<float> rest = fly->GetRestPoint();

    // Pushes: none beyond 0.6 cells, rising to one unit on the point, straight away from it.
    EXPECT_EQ(Vector2<float>(), fly->AvoidPoint(rest + Vector2<float>(0.61f, 0.0f)));
    const Vector2<float> push = fly->AvoidPoint(rest + Vector2<float>(0.3f, 0.0f));
    EXPECT_NEAR(-0.5f, push.x, 1e-5f);
    EXPECT_NEAR(0.0f, push.y, 1e-6f);
    EXPECT_EQ(Vector2<float>(0.0f, 1.0f), fly->AvoidPoint(rest));

    // Any joint within half a cell makes a resting fly take off.
    s_frog.joints = {rest + Vector2<float>(3.0f, 0.0f), rest + Vector2<float>(0.3f, 0.3f)};
    EXPECT_TRUE(fly->IsFrogNear());
    Tick();
    EXPECT_EQ(CFly::kFlying, fly->GetState());

    // A dragged limb just beside the rest point keeps it in the air, pushed away.
    s_frog.joints = {rest + Vector2<float>(0.55f, 0.0f)};
    s_frog.activeJoint = 0;
    Tick(200);
    EXPECT_EQ(CFly::kFlying, fly->GetState());
    EXPECT_LT(fly->position.x, rest.x);
    // Once the limb moves away the fly comes back down.
    s_frog.joints = {rest + Vector2<float>(3.0f, 0.0f)};
    Tick(500);
    EXPECT_EQ(CFly::kResting, fly->GetState());
    EXPECT_EQ(rest, fly->position);
}

TEST_F(FlyTest, IsCaughtAndSetFree)
{
    Load();
    Rest();
    Tick(20); // the glow fades in
    EXPECT_EQ(Vector4<float>(1.0f, 1.0f, 0.5f, 1.0f), fly->GetGlow().GetColour());
    fly->SetFree(true); // not caught: stays put
    EXPECT_EQ(CFly::kResting, fly->GetState());
    fly->SetFree(false);
    EXPECT_EQ(CFly::kCaught, fly->GetState());
    Tick(); // fades out over a quarter second
    EXPECT_NEAR(0.92f, fly->GetGlow().GetColour().w, 1e-5f);
    EXPECT_NEAR(0.46f, fly->GetGlow().GetColour().z, 1e-5f);
    Tick(20);
    EXPECT_EQ(Vector4<float>(), fly->GetGlow().GetColour());
    EXPECT_EQ(fly->GetRestPoint(), fly->position); // caught flies do not move
    fly->DrawBodyAt(Vector2<float>(2.0f, 3.0f));
    EXPECT_EQ(2.0f, fly->GetBody().translation.x);
    fly->SetFree(true);
    EXPECT_EQ(CFly::kFlying, fly->GetState());
}
} // namespace
