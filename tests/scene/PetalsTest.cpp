// The win's petal shower on a hand-driven clock: its document, the gun's thump and throw, the
// fall and relaunch of petals, the finger's push, the taps it swallows and Stop.
#include "core/CRules.h"
#include "core/Random.h"
#include "platform/InputEvent.h"
#include "scene/CPetals.h"
#include "SceneFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace
{
// What the shower did through its hooks, and the world it sees.
struct ShowerLog
{
    static inline int32_t now = 0;
    static inline PetalWorld world;
    static inline std::vector<std::string> sounds;
    static inline std::vector<std::string> commands;
    static inline std::vector<std::string> overlay;

    static int32_t Now() { return now; }
    static void Sense(PetalWorld& w) { w = world; }
    static void Play(const char* name) { sounds.push_back(name); }
    static void Post(const char* name) { commands.push_back(name); }
    static void Overlay(bool shown, float amount, float seconds)
    {
        overlay.push_back(shown ? "blur " + std::to_string(int(amount * 10)) + " " + std::to_string(int(seconds * 10))
                                : "off");
    }
    static int Count(const std::vector<std::string>& list, const char* name)
    {
        int n = 0;
        for (const std::string& entry : list)
            n += entry == name ? 1 : 0;
        return n;
    }
};

constexpr const char* kTwoLooks =
    "<petals><shower count=\"5\" gravity=\"3\" friction=\"1.5\" maxnudge=\"3\"/>"
    "<petal material=\"petals\" uvs=\"0,0,0.5,0.5\" glow=\"petalglow\" glowuvs=\"0.5,0.5,1,1\" glowscale=\"3\" "
    "radius=\"0.1,0.3\"/>"
    "<petal material=\"petals\" uvs=\"0.5,0,1,0.5\" radius=\"0.2\"/>"
    "<interaction mouse=\"\"/></petals>";

class PetalsTest : public SceneTest
{
  protected:
    PetalsTest()
    {
        GlobalRandom().Seed(7);
        // Any shower made before (another test's) left the physics of its document.
        CPetal::SetPhysics(CPetal::Physics());
        ShowerLog::now = 1000;
        ShowerLog::world = PetalWorld();
        ShowerLog::world.view = Vector4<float>(0.0f, 0.0f, 8.0f, 8.0f);
        ShowerLog::world.frameDelta = 0.02f;
        ShowerLog::sounds.clear();
        ShowerLog::commands.clear();
        ShowerLog::overlay.clear();
        m_previousHooks = CPetals::SetHooks(
            {&ShowerLog::Now, &ShowerLog::Sense, &ShowerLog::Play, &ShowerLog::Post, &ShowerLog::Overlay});
        WriteRules("2");
    }
    ~PetalsTest() override
    {
        CSingleton<CPetals>::Toggle(false);
        CPetals::SetHooks(m_previousHooks);
        CPetal::SetPhysics(CPetal::Physics());
    }

    void WriteRules(const char* blur)
    {
        m_folder.WriteData("rules.xml", std::string("<rules><interval animation=\"20\"/><petals thumpdelay=\"0.3\" "
                                                    "bluramount=\"") +
                                            blur + "\" blurduration=\"1.5\"/></rules>");
        CRules::Instance()->Load();
    }
    CPetals* Make(const char* document)
    {
        m_folder.WriteData("petals.xml", document);
        return CPetals::Instance();
    }
    // Ticks of dt seconds, the clock advancing with them.
    static void Run(CPetals* petals, int ticks, float dt = 0.02f)
    {
        for (int i = 0; i < ticks; ++i)
        {
            ShowerLog::now += int32_t(dt * 1000.0f);
            ShowerLog::world.now = ShowerLog::now;
            petals->OnSchedule(dt);
        }
    }
    static bool InArena(const CPetal& petal)
    {
        const Vector3<float>& p = petal.GetPosition();
        return p.x >= -0.5f && p.x < 8.5f && p.y >= -0.5f && p.y < 8.5f;
    }

    CPetals::Hooks m_previousHooks{};
};
} // namespace

TEST_F(PetalsTest, DocumentFillsTheShowerFromItsLooks)
{
    CPetals* petals = Make(kTwoLooks);
    const std::vector<CPetal>& list = petals->GetPetals();
    ASSERT_EQ(list.size(), 5u);
    EXPECT_TRUE(list[0].HasGlow());
    EXPECT_FLOAT_EQ(list[0].GetGlowScale(), 3.0f);
    EXPECT_EQ(list[0].GetSizeRange(), Vector2<float>(0.1f, 0.3f));
    EXPECT_FALSE(list[1].HasGlow());
    EXPECT_EQ(list[1].GetSizeRange(), Vector2<float>(0.2f, 0.2f));
    EXPECT_EQ(list[0].GetPetalQuad().GetQuadUv(0, 0), Vector4<float>(0.0f, 0.0f, 0.5f, 0.5f));
    EXPECT_EQ(list[1].GetPetalQuad().GetQuadUv(0, 0), Vector4<float>(0.5f, 0.0f, 1.0f, 0.5f));
    for (size_t i = 2; i < list.size(); ++i)
    {
        const float u = list[i].GetPetalQuad().GetQuadUv(0, 0).x;
        EXPECT_TRUE(u == 0.0f || u == 0.5f) << i;
        EXPECT_TRUE(list[i].IsInteractive());
    }
    EXPECT_FLOAT_EQ(CPetal::GetPhysics().gravity, 3.0f);
    EXPECT_FLOAT_EQ(CPetal::GetPhysics().friction, 1.5f);
    EXPECT_FLOAT_EQ(CPetal::GetPhysics().maxNudge, 3.0f);

    // "mouse": false turns the finger off, and no "interaction" element means none.
    m_folder.WriteData("petals.xml", "<petals><shower count=\"1\"/><petal/><interaction mouse=\"false\"/></petals>");
    petals->Load();
    ASSERT_EQ(petals->GetPetals().size(), 1u);
    EXPECT_FALSE(petals->GetPetals()[0].IsInteractive());
    EXPECT_FLOAT_EQ(CPetal::GetPhysics().gravity, 0.0f); // a missing attribute reads as 0
    m_folder.WriteData("petals.xml", "<petals><shower count=\"1\"/><petal/><interaction mouse=\"2\"/></petals>");
    petals->Load();
    EXPECT_TRUE(petals->GetPetals()[0].IsInteractive());
    m_folder.WriteData("petals.xml", "<petals><shower count=\"2\"/><petal/></petals>");
    petals->Load();
    EXPECT_FALSE(petals->GetPetals()[1].IsInteractive());
}

TEST_F(PetalsTest, MissingDocumentStillSoundsBlursAndSwallowsTaps)
{
    CPetals* petals = CPetals::Instance();
    EXPECT_TRUE(petals->GetPetals().empty());
    EXPECT_FLOAT_EQ(CPetal::GetPhysics().gravity, 0.0f);
    EXPECT_FLOAT_EQ(CPetal::GetPhysics().maxNudge, 0.0f);
    petals->Fire();
    EXPECT_EQ(ShowerLog::sounds, std::vector<std::string>{"petal-gun"});
    EXPECT_EQ(ShowerLog::overlay, std::vector<std::string>{"blur 20 15"});
    EXPECT_TRUE(petals->OnClick(InputEvent()));
    Run(petals, 20);
    EXPECT_EQ(ShowerLog::Count(ShowerLog::commands, "petalsthrown"), 1);
}

TEST_F(PetalsTest, GunThumpsThenThrowsOnceFromTheEdges)
{
    CPetals* petals = Make(kTwoLooks);
    petals->Fire();
    EXPECT_TRUE(petals->IsShowering());
    EXPECT_EQ(petals->GetStartTime(), 1300);
    EXPECT_EQ(ShowerLog::sounds, std::vector<std::string>{"petal-gun"});
    EXPECT_EQ(ShowerLog::overlay, std::vector<std::string>{"blur 20 15"});

    Run(petals, 14); // 1280 ms: still waiting
    EXPECT_FALSE(petals->IsThrown());
    for (const CPetal& petal : petals->GetPetals())
        EXPECT_FALSE(petal.IsActive());
    Run(petals, 1);
    ASSERT_TRUE(petals->IsThrown());
    EXPECT_EQ(ShowerLog::commands, std::vector<std::string>{"petalsthrown"});
    for (const CPetal& petal : petals->GetPetals())
    {
        EXPECT_TRUE(petal.IsActive());
        EXPECT_TRUE(InArena(petal));
        // Bursts fly fast and inwards; depth 0.2 to 0.5 maps to z -0.12 to 0.225.
        const Vector3<float> v = petal.GetVelocity();
        EXPECT_GE(std::fabs(v.x) + std::fabs(v.y), 2.0f);
        EXPECT_LE(std::fabs(v.x), 15.001f);
        EXPECT_LE(std::fabs(v.y), 20.001f);
        EXPECT_GE(petal.GetPosition().z, -0.121f);
        EXPECT_LE(petal.GetPosition().z, 0.226f);
    }
    Run(petals, 400);
    EXPECT_EQ(ShowerLog::Count(ShowerLog::commands, "petalsthrown"), 1);

    // Firing again starts the thump over and throws once more.
    petals->Fire();
    EXPECT_FALSE(petals->IsThrown());
    Run(petals, 20);
    EXPECT_EQ(ShowerLog::Count(ShowerLog::commands, "petalsthrown"), 2);
}

TEST_F(PetalsTest, PetalFallsUnderGravityAgainstFriction)
{
    CPetal petal;
    petal.Place(Vector3<float>(4.0f, 4.0f, 0.0f), Vector3<float>(1.0f, 0.0f, 0.0f), 0.02f);
    const float dt = 0.05f;
    PetalWorld world = ShowerLog::world;
    EXPECT_FALSE(petal.Update(dt, world));
    // position += dt v + dt^2 (f G - k v), f = z + 1 = 1.
    EXPECT_NEAR(petal.GetPosition().x, 4.0f + dt * 1.0f - dt * dt * 1.5f, 1e-5f);
    EXPECT_NEAR(petal.GetPosition().y, 4.0f + dt * dt * 3.0f, 1e-5f);
    EXPECT_FLOAT_EQ(petal.GetPreviousPosition().x, 4.0f);

    // A nearer petal falls faster; a step of no time changes nothing.
    CPetal near;
    near.Place(Vector3<float>(4.0f, 4.0f, 0.8f), Vector3<float>(), 0.02f);
    near.Update(dt, world);
    EXPECT_NEAR(near.GetPosition().y, 4.0f + dt * dt * 1.8f * 3.0f, 1e-5f);
    const Vector3<float> before = near.GetPosition();
    near.Update(0.0f, world);
    EXPECT_EQ(near.GetPosition(), before);

    // Leaving the view grown by half a unit ends the flight and sets the relaunch time.
    CPetal gone;
    gone.Place(Vector3<float>(4.0f, 8.49f, 0.0f), Vector3<float>(0.0f, 5.0f, 0.0f), 0.02f);
    world.now = 5000;
    gone.Update(dt, world);
    EXPECT_FALSE(gone.IsActive());
    EXPECT_EQ(gone.GetRelaunchTime(), 5000);
}

TEST_F(PetalsTest, DriftingPetalsEnterWhereGravityComesFrom)
{
    CPetal petal;
    PetalWorld world = ShowerLog::world;
    struct Case
    {
        Vector2<float> gravity;
        bool (*inStrip)(const Vector3<float>& p, const Vector3<float>& v);
    };
    const Case cases[] = {
        {{0.0f, 1.0f}, [](const Vector3<float>& p, const Vector3<float>& v) { return p.y <= 0.0f && v.y >= 0.0f; }},
        {{0.0f, -1.0f}, [](const Vector3<float>& p, const Vector3<float>& v) { return p.y >= 8.0f && v.y <= 0.0f; }},
        {{1.0f, 0.0f}, [](const Vector3<float>& p, const Vector3<float>& v) { return p.x <= 0.0f && v.x >= 0.0f; }},
        {{-1.0f, 0.0f}, [](const Vector3<float>& p, const Vector3<float>& v) { return p.x >= 8.0f && v.x <= 0.0f; }},
        {{0.0f, 0.0f}, [](const Vector3<float>& p, const Vector3<float>& v) { return p.y <= 0.0f && v.y >= 0.0f; }},
    };
    for (const Case& c : cases)
    {
        world.gravity = c.gravity;
        for (int i = 0; i < 50; ++i)
        {
            petal.Launch(1.0f, CPetal::kDrift, world);
            EXPECT_TRUE(c.inStrip(petal.GetPosition(), petal.GetVelocity())) << c.gravity.x << "," << c.gravity.y;
            EXPECT_FLOAT_EQ(petal.GetPosition().z, 0.8f);
            EXPECT_LE(petal.GetRelaunchTime(), 10000);
        }
    }
}

TEST_F(PetalsTest, FallenPetalsAreRelaunchedDriftingFromTheTop)
{
    // Seeded before the looks are copied: a look's size range decides whether a launch draws.
    CPetals* petals = Make(kTwoLooks);
    GlobalRandom().Seed(11);
    petals->Load();
    petals->Fire();
    Run(petals, 15);
    ASSERT_TRUE(petals->IsThrown());
    // Long enough for every burst to leave and every relaunch delay (under 5 s) to run out.
    bool sawInactive = false;
    for (int i = 0; i < 800; ++i)
    {
        Run(petals, 1);
        for (const CPetal& petal : petals->GetPetals())
            sawInactive = sawInactive || !petal.IsActive();
    }
    EXPECT_TRUE(sawInactive);
    int drifting = 0;
    for (const CPetal& petal : petals->GetPetals())
        if (petal.IsActive())
        {
            ++drifting;
            EXPECT_TRUE(InArena(petal));
            EXPECT_LT(petal.GetVelocity().Length(), 8.0f); // drifting, no longer a burst
        }
    EXPECT_GT(drifting, 0);

    // Two showers from the same seed fly alike.
    const Vector3<float> first = petals->GetPetals()[3].GetPosition();
    CSingleton<CPetals>::Toggle(false);
    ShowerLog::now = 1000;
    petals = CPetals::Instance();
    GlobalRandom().Seed(11);
    petals->Load();
    petals->Fire();
    Run(petals, 815);
    EXPECT_EQ(petals->GetPetals()[3].GetPosition(), first);
}

TEST_F(PetalsTest, FingerPushesPetalsAsideWithinTheNudgeLimit)
{
    CPetals* petals = Make(kTwoLooks);
    CPetal petal = petals->GetPetals()[1]; // interactive, size 0.2 until launched
    PetalWorld world = ShowerLog::world;
    world.pointer = Vector2<float>(4.05f, 4.0f);
    world.pointerMoved = true;
    const float dt = 0.02f;

    petal.Place(Vector3<float>(4.0f, 4.0f, 0.0f), Vector3<float>(), dt);
    EXPECT_TRUE(petal.Update(dt, world)); // pushed 0.15 in one step: far above 3 units/s
    EXPECT_TRUE(petal.IsTouched());
    const Vector3<float>& p = petal.GetPosition();
    EXPECT_NEAR(std::hypot(p.x - 4.05f, p.y - 4.0f), 0.2f, 1e-4f);
    EXPECT_LT(p.x, 4.0f);
    EXPECT_NEAR(Vector2<float>(petal.GetVelocity().x, petal.GetVelocity().y).Length(), 3.0f, 1e-3f);

    // A finger right on the centre pushes without dividing by zero.
    petal.Place(Vector3<float>(4.05f, 4.0f, 0.0f), Vector3<float>(), dt);
    petal.Update(dt, world);
    EXPECT_FALSE(std::isnan(petal.GetPosition().y));
    EXPECT_GT(petal.GetPosition().y, 4.0f);

    // A slow push is not capped and makes no sound; a still finger or a far petal is left alone.
    petal.Place(Vector3<float>(4.0f, 4.24f, 0.0f), Vector3<float>(0.0f, -1.0f, 0.0f), dt);
    world.pointer = Vector2<float>(4.0f, 4.0f);
    EXPECT_FALSE(petal.Update(dt, world));
    world.pointerMoved = false;
    petal.Place(Vector3<float>(4.0f, 4.05f, 0.0f), Vector3<float>(), dt);
    petal.Update(dt, world);
    EXPECT_NEAR(petal.GetPosition().y, 4.05f, 2e-3f); // gravity alone

    // Through the shower, each capped push wafts.
    petals->Fire();
    Run(petals, 15);
    const CPetal& first = petals->GetPetals()[0];
    ShowerLog::world.pointer = Vector2<float>(first.GetPosition().x, first.GetPosition().y);
    ShowerLog::world.pointerMoved = true;
    Run(petals, 1);
    EXPECT_GE(ShowerLog::Count(ShowerLog::sounds, "petal-waft"), 1);
}

TEST_F(PetalsTest, ShowerSwallowsTapsUntilStopped)
{
    CPetals* petals = Make(kTwoLooks);
    InputEvent tap;
    EXPECT_FALSE(petals->OnClick(tap));
    EXPECT_TRUE(ShowerLog::commands.empty());

    petals->Fire();
    EXPECT_TRUE(petals->AcceptsPress(tap));
    EXPECT_TRUE(petals->OnPress(tap));
    EXPECT_TRUE(petals->OnClick(tap));
    EXPECT_TRUE(petals->OnRelease(tap));
    EXPECT_EQ(ShowerLog::commands, std::vector<std::string>{"ingame"});

    Run(petals, 20);
    petals->Stop();
    EXPECT_FALSE(petals->IsShowering());
    EXPECT_FALSE(petals->HasOverlay());
    EXPECT_EQ(ShowerLog::overlay.back(), "off");
    EXPECT_FALSE(petals->OnClick(tap));
    const Vector3<float> still = petals->GetPetals()[0].GetPosition();
    Run(petals, 10);
    EXPECT_EQ(petals->GetPetals()[0].GetPosition(), still);
    petals->Stop(); // idle: nothing more to take away
    EXPECT_EQ(ShowerLog::Count(ShowerLog::overlay, "off"), 1);
}

TEST_F(PetalsTest, NoBlurAmountLeavesTheSceneSharp)
{
    WriteRules("0");
    CPetals* petals = Make(kTwoLooks);
    petals->Fire();
    EXPECT_EQ(ShowerLog::overlay, std::vector<std::string>{"blur 0 0"});
}

TEST_F(PetalsTest, DepthScalesAndPhaseFluttersThePetal)
{
    CPetal petal; // size 0.2, phase 0 until launched
    petal.Place(Vector3<float>(0.0f, 0.0f, -0.35f), Vector3<float>(), 0.02f);
    EXPECT_NEAR(petal.GetRect().w, 0.65f * 0.2f, 1e-6f);
    EXPECT_NEAR(petal.GetRect().z, 0.75f * 0.65f * 0.2f, 1e-6f);
    EXPECT_FLOAT_EQ(petal.GetBrightness(), 0.925f);
    petal.Place(Vector3<float>(0.0f, 0.0f, 0.8f), Vector3<float>(), 0.02f);
    EXPECT_NEAR(petal.GetRect().w, 1.8f * 0.2f, 1e-6f);
    EXPECT_NEAR(petal.GetRect().y, -1.8f * 0.2f, 1e-6f);
}
