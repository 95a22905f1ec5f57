// The frog on its own, headless: the species with its body pieces, the update's blinking, ribbit,
// off-screen pause and lily-pad spring on a hand-driven clock, the fidget weight, where the
// pieces lie between the joints in every drawing mode, and what rides on them: the tongue that
// catches the fly, the eyes, the feet with their toes and the spots.
#include "Graphics/CMaterialSet.h"
#include "Graphics/CTextureSet.h"
#include "core/Angle.h"
#include "core/CRules.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/MathConstants.h"
#include "core/Random.h"
#include "creatures/CFly.h"
#include "creatures/CFrog.h"
#include "creatures/CFrogServices.h"
#include "creatures/CSkeleton.h"
#include "creatures/CSkeletonServices.h"
#include "creatures/FastAngle.h"
#include "platform/CGame.h"
#include "platform/PlatformHooks.h"
#include "puzzle/CMoveMap.h"
#include "support/AppFolder.h"
#include "support/FakeClock.h"
#include "support/TestScopes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace
{
constexpr uint32_t kTickMs = 20;

const char* const kRules = "<rules>\n"
                           "  <interval animation=\"20\"/>\n"
                           "  <frog blinkperiod=\"2\" ribbitperiod=\"5,3\" heldheight=\"0.3\" landingrate=\"0.5\"\n"
                           "        lungedistance=\"0.3\" lungetime=\"0.4\" tonguethrow=\"0.2\" tonguestick=\"0.1\"\n"
                           "        tonguestretch=\"0.3\" tonguesnap=\"0.2\" tonguepullback=\"0.5\" tonguewidth=\"0.05\"\n"
                           "        fidgetoffset=\"0\" fidgetperiod=\"1\"/>\n"
                           "  <graphics shadowbias=\"0.05\"/>\n"
                           "  <leaf springcap=\"0.5\" springdamp=\"0.5\" springenable=\"true\" springmass=\"2\"/>\n"
                           "  <puzzle closeenough=\"0.25\" pickdistancemax=\"0.8\" pickdistancemin=\"0.8\"\n"
                           "          pickdistanceramp=\"0.5\" snapbackdistance=\"0.3\" snapdistance=\"0.6\"\n"
                           "          targetspeedlimit=\"8\"/>\n"
                           "</rules>\n";

// Hands on (3,3), (4,3), feet on (3,5), (4,5).
const char* const kHome = "54533433";

class FakeSkeletonServices : public CSkeletonServices
{
  public:
    FakeSkeletonServices() : m_previous(CSkeletonServices::Install(this)) {}
    ~FakeSkeletonServices() override { CSkeletonServices::Install(m_previous); }

    void PlaySound(const char* name) override { sounds.push_back(name); }
    bool IsButtonDown(uint8_t mask) override { return true; }
    Vector2<float> GetPointerViewPosition() override { return pointer; }
    void CancelGesture() override {}

    Vector2<float> pointer;
    std::vector<std::string> sounds;

  private:
    CSkeletonServices* m_previous;
};

class FakeFrogServices : public CFrogServices
{
  public:
    FakeFrogServices() : m_previous(CFrogServices::Install(this)) {}
    ~FakeFrogServices() override { CFrogServices::Install(m_previous); }

    bool GetBoardOffset(Vector2<float>& offset) override
    {
        offset = board;
        return pond;
    }
    Vector3<float> GetLightVector() override { return light; }

    bool pond = true;
    Vector2<float> board;
    Vector3<float> light{0.0f, 0.0f, -1.0f};

  private:
    CFrogServices* m_previous;
};

// The game exists before the test's scopes replace its scheduler look-ups.
struct FreshGame
{
    FreshGame()
    {
        CSingleton<CGame>::Toggle(false);
        CGame::Instance();
    }
    ~FreshGame() { CSingleton<CGame>::Toggle(false); }
};

Pose PoseOf(const char* text)
{
    Pose pose;
    Pose::FromText(text, pose);
    return pose;
}

void ExpectNear(const Vector2<float>& actual, const Vector2<float>& expected, float tolerance = 1e-4f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
}

class FrogTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        s_frames = 0;
        PlatformHooks hooks;
        hooks.frameCount = [] { return s_frames; };
        m_previousHooks = PlatformHooks::Install(hooks);
        GlobalRandom().Seed(5);
        m_folder.WriteData("rules.xml", kRules);
        mkdir(m_folder.PathOf("data/species").c_str(), 0700);
        m_folder.WriteData("species/d-azureus.xml",
                           TempFolder::ReadFile(std::string(FROG_SOURCE_DIR) + "/data/species/d-azureus.xml"));
        CRules::Instance()->Load();
    }
    void TearDown() override
    {
        CSingleton<CFrog>::Toggle(false);
        CSingleton<CMoveMap>::Toggle(false);
        CSingleton<CMaterialSet>::Toggle(false);
        CSingleton<CTextureSet>::Toggle(false);
        PlatformHooks::Install(m_previousHooks);
    }

    // The frog standing at home, its species loaded.
    CFrog* Frog()
    {
        CFrog* frog = CFrog::Instance();
        frog->LoadSpecies("d-azureus");
        frog->GetSkeleton()->SetPose(PoseOf(kHome));
        return frog;
    }
    void Frames(int count)
    {
        for (int i = 0; i < count; ++i)
        {
            m_clock.Advance(kTickMs);
            m_scopes.Update();
        }
    }
    static int32_t Now() { return CFrog::GetGameTime(); }

    static inline int32_t s_frames = 0;
    FakeClock m_clock;
    FreshGame m_game;
    TestScopes m_scopes;
    AppFolder m_folder;
    FakeSkeletonServices m_sound;
    FakeFrogServices m_pond;
    PlatformHooks m_previousHooks;
};
} // namespace

TEST_F(FrogTest, SpeciesLoadsItsSkeletonBodyPiecesAndRibbit)
{
    CFrog* frog = CFrog::Instance();
    EXPECT_EQ(frog->GetSpecies(), CString("d-azureus"));
    // Asked for its skeleton, the frog loads its default species.
    const CSkeleton* skeleton = frog->GetSkeleton();
    ASSERT_NE(skeleton, nullptr);
    EXPECT_EQ(skeleton->GetJointCount(), 14u);
    EXPECT_EQ(frog->GetRibbitSound(), CString("ribbit"));

    // Legs, arms, then the trunk on top: chains of 3, 3, 2, 2, 2 pieces.
    const std::vector<CFlap>& flaps = frog->GetFlaps();
    ASSERT_EQ(flaps.size(), 5u);
    const int32_t lengths[] = {3, 3, 2, 2, 2};
    for (size_t i = 0; i < flaps.size(); ++i)
        EXPECT_EQ(flaps[i].CountChain(), lengths[i]) << i;

    // The head on top of the torso, pinned neck on the chest and snout on the head joint.
    const CFlap& head = flaps[4];
    EXPECT_EQ(head.firstJoint, 5);
    EXPECT_EQ(head.secondJoint, 7);
    ExpectNear(head.crop, {0.25f, 0.25f});
    ExpectNear(head.firstUv, {0.125f, 0.2109375f});
    EXPECT_FLOAT_EQ(head.pinDistance, 0.171875f);
    EXPECT_EQ(head.quadRect, Vector4<float>(-0.125f, -0.2109375f, 0.125f, 0.0390625f));
    EXPECT_EQ(head.mainBatch.GetQuadUv(0, 0), Vector4<float>(0.375f, 0.0f, 0.625f, 0.25f));
    EXPECT_EQ(head.mainBatch.normal, Vector3<float>(0.0f, 0.0f, 1.0f));
    EXPECT_EQ(head.widthScale, -1.0f);
    ASSERT_TRUE(head.next);
    EXPECT_EQ(head.next->secondJoint, 6);
    EXPECT_FLOAT_EQ(head.next->breathDuration, 0.7f);
    ExpectNear(head.next->breathe, {1.14f, 1.04f});

    // The right leg mirrors the left one's thigh: u swapped, the normal turned over.
    const Vector4<float> left = flaps[0].mainBatch.GetQuadUv(0, 0);
    const Vector4<float> right = flaps[1].mainBatch.GetQuadUv(0, 0);
    EXPECT_EQ(right, Vector4<float>(left.z, left.y, left.x, left.w));
    EXPECT_EQ(flaps[1].mainBatch.normal, Vector3<float>(0.0f, 0.0f, -1.0f));
    EXPECT_EQ(flaps[1].shadowBatch.GetQuadUv(0, 0), right);
    for (const CFlap& chain : flaps)
        for (const CFlap* piece = &chain; piece; piece = piece->next.get())
            EXPECT_TRUE(piece->Draws());
}

TEST_F(FrogTest, PiecesReadUntilTheirPinsAndMaterialRunOut)
{
    CXmlDocument document;
    ASSERT_TRUE(document.Parse("<flaps>"
                               "<one><flap crop=\"0.5\"><pin joint=\"1\" uv=\"0.1,0.2\"/><pin joint=\"2\" uv=\"0.1\"/>"
                               "<material off=\"0.5,0.25\" main=\"frogbody\"/></flap></one>"
                               "<three><flap><pin/><pin joint=\"1\" uv=\"0,1\"/><material/></flap>"
                               "<flap><pin/><pin joint=\"2\" uv=\"0,1\"/><material/></flap>"
                               "<flap><pin/><pin joint=\"3\" uv=\"0,1\"/><material/></flap></three>"
                               "<short><flap crop=\"0.3,0.4\" breathe=\"1.2\" breathduration=\"0.5\">"
                               "<pin joint=\"3\"/><material/></flap><flap/></short>"
                               "<unordered><flap><pin/><material/><pin/></flap></unordered>"
                               "<samepins><flap><pin uv=\"0.2\"/><pin uv=\"0.2\"/><material/></flap></samepins>"
                               "</flaps>",
                               false));
    std::vector<CFlap> flaps(5);
    CXmlNode* group = document.GetRoot()->FirstChild();
    for (CFlap& flap : flaps)
    {
        flap.Load(*group);
        group = group->NextSibling();
    }

    EXPECT_EQ(flaps[0].CountChain(), 1);
    ExpectNear(flaps[0].crop, {0.5f, 0.5f});
    ExpectNear(flaps[0].secondUv, {0.1f, 0.1f});
    ExpectNear(flaps[0].uvOffset, {0.5f, 0.25f});
    EXPECT_NEAR(flaps[0].pinDistance, 0.1f, 1e-6f);
    EXPECT_TRUE(flaps[0].Draws());

    // Three flaps are one chain in document order, each piece with its own pins; a missing
    // material name still finds a material.
    ASSERT_EQ(flaps[1].CountChain(), 3);
    EXPECT_EQ(flaps[1].secondJoint, 1);
    EXPECT_EQ(flaps[1].next->secondJoint, 2);
    EXPECT_EQ(flaps[1].next->next->secondJoint, 3);
    EXPECT_TRUE(flaps[1].next->next->Draws());
    EXPECT_TRUE(flaps[1].mainBatch.material);

    // One pin: crop and breathing, but no material, no pin distance and no rest of the chain.
    ExpectNear(flaps[2].crop, {0.3f, 0.4f});
    ExpectNear(flaps[2].breathe, {1.2f, 1.2f});
    EXPECT_EQ(flaps[2].firstJoint, 3);
    EXPECT_EQ(flaps[2].secondJoint, -1);
    EXPECT_FALSE(flaps[2].Draws());
    EXPECT_FALSE(flaps[2].next);
    EXPECT_FALSE(flaps[2].mainBatch.material);

    // The material must follow the second pin; two pins on one point give no scale at all.
    EXPECT_EQ(flaps[3].secondJoint, 0);
    EXPECT_FALSE(flaps[3].Draws());
    EXPECT_FALSE(flaps[4].Draws());
    CRef<CSkeleton> skeleton = CSkeleton::Create("species/d-azureus");
    CFlap::Placement placement;
    EXPECT_FALSE(flaps[4].Place(*skeleton, CFlap::kPlain, Vector3<float>(), 0, placement));
}

TEST_F(FrogTest, ALongChainLoadsUpToItsBoundAndGoesWithoutRecursion)
{
    CString text = "<flaps><long>";
    for (int i = 0; i < 30000; ++i)
        text += "<flap><pin/><pin joint=\"1\" uv=\"0,1\"/><material/></flap>";
    CXmlDocument document;
    ASSERT_TRUE(document.Parse(text + "</long></flaps>", false));
    CFlap chain;
    chain.Load(*document.GetRoot()->FirstChild());
    EXPECT_EQ(chain.CountChain(), CFlap::kMaxChain);

    // However it was built, a chain far longer than the stack could unwind is destroyed.
    auto built = std::make_unique<CFlap>();
    CFlap* last = built.get();
    for (int i = 0; i < 500000; ++i)
        last = (last->next = std::make_unique<CFlap>()).get();
    EXPECT_EQ(built->CountChain(), 500001);
    built.reset();
}

TEST_F(FrogTest, ASpeciesLoadReplacesTheSkeletonAndOnlyTheSectionsItHas)
{
    CFrog* frog = CFrog::Instance();
    // A first species that cannot be read still leaves a skeleton, empty.
    frog->LoadSpecies("missing");
    ASSERT_NE(frog->GetSkeleton(), nullptr);
    EXPECT_EQ(frog->GetSkeleton()->GetJointCount(), 0u);
    EXPECT_TRUE(frog->GetFlaps().empty());

    frog->LoadSpecies("d-azureus");
    const size_t feet = frog->GetFeet().size();
    EXPECT_EQ(frog->GetFlaps().size(), 5u);
    ASSERT_GT(feet, 0u);
    // Another that cannot be read replaces the skeleton and keeps the body pieces, which find no
    // joint of the empty skeleton: the frog draws and updates without them.
    frog->LoadSpecies("missing");
    EXPECT_EQ(frog->GetSpecies(), CString("missing"));
    EXPECT_EQ(frog->GetSkeleton()->GetJointCount(), 0u);
    EXPECT_EQ(frog->GetFlaps().size(), 5u);
    EXPECT_EQ(frog->GetFeet().size(), feet);
    EXPECT_EQ(frog->GetRibbitSound(), CString("ribbit"));
    Frames(3);
    frog->DrawShadow(Vector3<float>(), nullptr);

    // Without "body", or without "flaps" in it, the pieces and the ribbit stay as they were.
    const std::string azureus =
        TempFolder::ReadFile(std::string(FROG_SOURCE_DIR) + "/data/species/d-azureus.xml");
    const std::string skeletonOnly = azureus.substr(0, azureus.find("<body>"));
    m_folder.WriteData("species/bare.xml", skeletonOnly + "</species>\n");
    m_folder.WriteData("species/flapless.xml", skeletonOnly + "<body><feet/></body></species>\n");
    for (const char* species : {"bare", "flapless"})
    {
        frog->LoadSpecies(species);
        EXPECT_EQ(frog->GetSkeleton()->GetJointCount(), 14u) << species;
        EXPECT_EQ(frog->GetFlaps().size(), 5u) << species;
        EXPECT_EQ(frog->GetFeet().size(), feet) << species;
        EXPECT_EQ(frog->GetRibbitSound(), CString("ribbit")) << species;
    }

    // Flaps without feet: new flaps, the feet stay, and no ribbit whatever "sound" says.
    m_folder.WriteData("species/footless.xml", skeletonOnly +
                                                   "<body><flaps><g><flap/></g></flaps></body>"
                                                   "<sound><ribbit sound=\"croak\"/></sound></species>\n");
    frog->LoadSpecies("footless");
    EXPECT_EQ(frog->GetFlaps().size(), 1u);
    EXPECT_EQ(frog->GetFeet().size(), feet);
    EXPECT_TRUE(frog->GetRibbitSound().empty());
    // With feet and no "ribbit", no ribbit either.
    m_folder.WriteData("species/silent.xml", skeletonOnly + "<body><flaps/><feet/></body></species>\n");
    frog->LoadSpecies("d-azureus");
    frog->LoadSpecies("silent");
    EXPECT_TRUE(frog->GetFlaps().empty());
    EXPECT_TRUE(frog->GetFeet().empty());
    EXPECT_TRUE(frog->GetRibbitSound().empty());
}

TEST_F(FrogTest, UpdatesBlinkRibbitAndPauseOnTheGameClock)
{
    CFrog* frog = Frog();
    // The first update blinks and ribbits at once: both deadlines start at 0.
    Frames(1);
    int32_t now = Now();
    ASSERT_GT(now, 0);
    EXPECT_EQ(frog->GetBlinkDeadline(), now + 2000);
    // A maximum below the minimum gives the minimum.
    EXPECT_EQ(frog->GetRibbitDeadline(), now + 5000);
    EXPECT_EQ(m_sound.sounds, std::vector<std::string>{"ribbit"});
    EXPECT_EQ(frog->GetFlaps()[4].breathStart, now);
    EXPECT_EQ(frog->GetFlaps()[4].next->breathStart, now);

    // Exactly at the period, the next ribbit.
    const int32_t ribbit = frog->GetRibbitDeadline();
    while (Now() <= ribbit)
        Frames(1);
    EXPECT_EQ(m_sound.sounds.size(), 2u);
    EXPECT_EQ(frog->GetFlaps()[0].breathStart, Now());
    EXPECT_EQ(frog->GetRibbitDeadline(), Now() + 5000);

    // Off the screen for 3 frames or more and still: the timers move with the clock.
    s_frames = 3;
    const int32_t blink = frog->GetBlinkDeadline(), next = frog->GetRibbitDeadline();
    const int32_t start = Now();
    Frames(400);
    EXPECT_EQ(m_sound.sounds.size(), 2u);
    EXPECT_EQ(frog->GetBlinkDeadline() - blink, Now() - start);
    EXPECT_EQ(frog->GetRibbitDeadline() - next, Now() - start);
    // A change of the skeleton wakes it for one full update, which leaves the timers be.
    const int32_t paused = frog->GetBlinkDeadline();
    frog->GetSkeleton()->SetPose(PoseOf(kHome));
    Frames(1);
    EXPECT_EQ(frog->GetBlinkDeadline(), paused);
    Frames(1);
    EXPECT_EQ(frog->GetBlinkDeadline(), paused + int32_t(kTickMs));

    // Without a ribbit sound the frog blinks but never breathes.
    s_frames = 0;
    m_folder.WriteData("species/mute.xml", "<species><joint/><joint/><joint/><joint/><joint/>"
                                           "<body><flaps><g><flap breathduration=\"1\"/></g></flaps></body>"
                                           "</species>");
    frog->LoadSpecies("mute");
    const size_t sounds = m_sound.sounds.size();
    Frames(300);
    EXPECT_EQ(m_sound.sounds.size(), sounds);
    EXPECT_EQ(frog->GetFlaps()[0].breathStart, 0);
    EXPECT_GT(frog->GetBlinkDeadline(), Now());
}

TEST_F(FrogTest, TheLilyPadSpringFollowsTheHeldLimb)
{
    CFrog* frog = Frog();
    CSkeleton* skeleton = frog->GetSkeleton();
    // Nothing held: the spring rests.
    frog->Update(0.02f);
    EXPECT_EQ(frog->GetSpringPosition(), Vector2<float>());

    const Vector2<float> hand = skeleton->GetJointPosition(0);
    ASSERT_TRUE(skeleton->GetDrag().PickJoint(hand));
    m_pond.board = Vector2<float>(1.0f, 0.0f);
    m_sound.pointer = skeleton->GetJointPosition(0) + Vector2<float>(1.0f, 3.0f);
    // The pull (0, 3) is capped to 0.5; mass 2 halves it, damping halves the velocity.
    frog->Update(0.02f);
    ExpectNear(frog->GetSpringPosition(), {0.0f, 0.25f});
    ExpectNear(frog->GetSpringVelocity(), {0.0f, 0.125f});
    EXPECT_EQ(CFrog::SpringOfFrog(), frog->GetSpringPosition());

    // A spring without mass stays where it is rather than dividing by zero.
    m_folder.WriteData("rules.xml", std::string(kRules).replace(std::string(kRules).find("springmass=\"2\""), 14,
                                                                "springmass=\"0\""));
    CRules::Instance()->Load();
    frog->Update(0.02f);
    ExpectNear(frog->GetSpringPosition(), {0.0f, 0.25f});
    EXPECT_FALSE(std::isnan(frog->GetSpringPosition().y));

    // Switched off, likewise.
    m_folder.WriteData("rules.xml", std::string(kRules).replace(std::string(kRules).find("springenable=\"true\""), 19,
                                                                "springenable=\"0\"   "));
    CRules::Instance()->Load();
    frog->Update(0.02f);
    ExpectNear(frog->GetSpringPosition(), {0.0f, 0.25f});
}

TEST_F(FrogTest, FeetFidgetOverAKnobTheHeldLimbMayNotLandOn)
{
    CFrog* frog = Frog();
    CSkeleton* skeleton = frog->GetSkeleton();
    EXPECT_EQ(frog->ComputeFidgetWeight(), 0.0f) << "nothing held";

    // A map that lacks the frog's pose lets the limb land only on its own cell; without a
    // puzzle every cell of the board holds a knob.
    CMoveMap map;
    map.EditEntries()[PoseOf("00102001")];
    skeleton->SetMoveMap(&map);
    skeleton->SetPose(PoseOf(kHome));
    ASSERT_TRUE(skeleton->GetDrag().PickJoint(skeleton->GetJointPosition(0)));

    skeleton->SetJointPosition(0, Vector2<float>(3.0f, 1.0f));
    EXPECT_FLOAT_EQ(frog->ComputeFidgetWeight(), 1.0f);
    skeleton->SetJointPosition(0, Vector2<float>(3.25f, 1.0f));
    EXPECT_FLOAT_EQ(frog->ComputeFidgetWeight(), 0.5f);
    skeleton->SetJointPosition(0, Vector2<float>(3.0f, 1.5f));
    EXPECT_FLOAT_EQ(frog->ComputeFidgetWeight(), 0.0f);
    // Its own cell is a landing cell.
    skeleton->SetJointPosition(0, Vector2<float>(3.0f, 3.0f));
    EXPECT_FLOAT_EQ(frog->ComputeFidgetWeight(), 0.0f);
    skeleton->SetMoveMap(nullptr);
}

TEST_F(FrogTest, PiecesLieBetweenTheirJointsInEveryMode)
{
    CFrog* frog = Frog();
    CSkeleton* skeleton = frog->GetSkeleton();
    std::vector<CFlap>& flaps = frog->GetFlaps();

    // Plain: the transform puts the first pin on its joint and the second on the other.
    for (CFlap& chain : flaps)
        for (CFlap* piece = &chain; piece; piece = piece->next.get())
        {
            CFlap::Placement placement;
            ASSERT_TRUE(piece->Place(*skeleton, CFlap::kPlain, Vector3<float>(), 0, placement));
            const Matrix3 transform = piece->GetTransform(placement);
            const Vector2<float> p1 = skeleton->GetJointPosition(unsigned(piece->firstJoint));
            const Vector2<float> p2 = skeleton->GetJointPosition(unsigned(piece->secondJoint));
            ExpectNear(placement.pin, p1);
            ExpectNear(transform.TransformPoint(piece->firstUv), p1);
            ExpectNear(transform.TransformPoint(piece->secondUv), p2, 0.01f);
            EXPECT_GT(piece->widthScale, 0.0f);
        }

    // The width is fixed by the first draw (by the bone's rest length); the length follows.
    CFlap& thigh = flaps[0];
    const float width = thigh.widthScale;
    EXPECT_NEAR(width, skeleton->FindBone(6, 10)->restLength / thigh.pinDistance, 1e-5f);
    const Vector2<float> hips = skeleton->GetJointPosition(6);
    const Vector2<float> knee = skeleton->GetJointPosition(10);
    skeleton->SetJointPosition(10, hips + (knee - hips) * 2.0f);
    CFlap::Placement stretched;
    ASSERT_TRUE(thigh.Place(*skeleton, CFlap::kPlain, Vector3<float>(), 0, stretched));
    EXPECT_EQ(stretched.widthScale, width);
    EXPECT_NEAR(stretched.lengthScale, 2.0f * (knee - hips).Length() / thigh.pinDistance, 1e-4f);

    // Shadow: each pin cast along the light and the pass's shift by its height plus the bias.
    m_pond.light = Vector3<float>(0.5f, -0.25f, -1.0f);
    const Vector3<float> pass(0.1f, 0.2f, 0.5f);
    const float height = skeleton->GetHeldHeight(6);
    ExpectNear(CFlap::GetPinPosition(*skeleton, 6, CFlap::kShadow, pass),
               hips + (height + 0.05f) * Vector2<float>(0.6f, -0.05f));
    ExpectNear(CFlap::GetPinPosition(*skeleton, 6, CFlap::kGhost, pass), hips);
    ExpectNear(CFlap::GetPinPosition(*skeleton, 99, CFlap::kPlain, pass), Vector2<float>());

    // Shadow and ghost draws grow the bounds around the body; plain draws do not.
    Vector4<float> bounds(kFloatMax, kFloatMax, -kFloatMax, -kFloatMax);
    frog->DrawAt(Vector2<float>());
    EXPECT_EQ(bounds.x, kFloatMax);
    frog->DrawShadow(pass, &bounds);
    for (unsigned j = 0; j < 4; ++j)
    {
        const Vector2<float> limb = skeleton->GetJointPosition(j);
        EXPECT_LT(bounds.x, limb.x);
        EXPECT_LT(bounds.y, limb.y);
        EXPECT_GT(bounds.z, limb.x);
        EXPECT_GT(bounds.w, limb.y);
    }
    // Without a pond nothing is drawn.
    m_pond.pond = false;
    Vector4<float> none(kFloatMax, kFloatMax, -kFloatMax, -kFloatMax);
    frog->DrawShadow(pass, &none);
    EXPECT_EQ(none.x, kFloatMax);
}

TEST_F(FrogTest, BreathingAndLightColourOfAPiece)
{
    CFlap piece;
    piece.breathe = Vector2<float>(1.2f, 1.0f);
    EXPECT_EQ(piece.GetBreath(100), Vector2<float>(1.0f, 1.0f)) << "no duration, no breath";
    piece.breathDuration = 0.5f;
    piece.Ribbit(1000);
    EXPECT_EQ(piece.GetBreath(1000), Vector2<float>(1.0f, 1.0f));
    ExpectNear(piece.GetBreath(1125), {1.1f, 1.0f});
    ExpectNear(piece.GetBreath(1250), {1.2f, 1.0f});
    EXPECT_EQ(piece.GetBreath(1500), Vector2<float>(1.0f, 1.0f));

    // The light straight down reads as the flat normal; sideways light turns with the piece.
    const Vector4<float> flat = CFlap::LightColour(Vector3<float>(0.0f, 0.0f, -1.0f), 37.0f);
    EXPECT_NEAR(flat.x, 0.5f, 1e-6f);
    EXPECT_NEAR(flat.y, 0.5f, 1e-6f);
    EXPECT_NEAR(flat.z, 1.0f, 1e-6f);
    const Vector4<float> side = CFlap::LightColour(Vector3<float>(2.0f, 0.0f, 0.0f), -90.0f);
    EXPECT_NEAR(side.x, 0.0f, 1e-6f);
    EXPECT_NEAR(side.y, 0.5f, 1e-6f);
    EXPECT_NEAR(side.z, 0.5f, 1e-6f);
    const Vector4<float> none = CFlap::LightColour(Vector3<float>(), 0.0f);
    EXPECT_EQ(none, Vector4<float>(0.5f, 0.5f, 1.0f, 1.0f));
}

TEST_F(FrogTest, GhostAtAPoseLeavesTheFrogAsItWas)
{
    CFrog* frog = Frog();
    CSkeleton* skeleton = frog->GetSkeleton();
    const Pose elsewhere = PoseOf("11213141");
    Pose key = elsewhere;
    Pose::Normalise(key);
    CMoveMap::Entry& entry = CMoveMap::Instance()->EditEntries()[key];
    for (unsigned j = 0; j < skeleton->GetJointCount(); ++j)
        entry.rest.push_back(Vector2<float>(float(j), 0.0f));
    ASSERT_TRUE(skeleton->TakePoseSet());
    std::vector<Vector2<float>> before;
    for (unsigned j = 0; j < skeleton->GetJointCount(); ++j)
        before.push_back(skeleton->GetJointPosition(j));

    Vector4<float> bounds(kFloatMax, kFloatMax, -kFloatMax, -kFloatMax);
    frog->DrawAtPose(elsewhere, &bounds);
    for (unsigned j = 0; j < skeleton->GetJointCount(); ++j)
        EXPECT_EQ(skeleton->GetJointPosition(j), before[j]) << j;
    EXPECT_LT(bounds.x, bounds.z) << "the ghost grew the bounds";
    EXPECT_FALSE(skeleton->TakePoseSet());

    // The win lunges; a reset ends it.
    frog->CatchFly();
    EXPECT_EQ(skeleton->GetState(), CSkeleton::kLunge);
    frog->CancelCatch();
    EXPECT_EQ(skeleton->GetState(), CSkeleton::kDrag);
}

TEST_F(FrogTest, TheTongueCatchesTheFlyAndSwallowsItOnTheClock)
{
    CFrog* frog = Frog();
    CFly* fly = CFly::Instance();
    fly->PlaceForGoal(PoseOf("33443534"), PoseOf(kHome), Vector4<float>(-0.5f, -0.5f, 8.0f, 8.0f));
    fly->JumpToRest();
    // The tongue rides on the head, the first piece of its chain.
    CTongue* tongue = frog->GetFlaps()[4].tongue.Get();
    ASSERT_NE(tongue, nullptr);

    const int32_t start = Now();
    frog->CatchFly();
    EXPECT_EQ(m_sound.sounds.back(), "slurp");
    EXPECT_EQ(frog->GetSkeleton()->GetState(), CSkeleton::kLunge);
    // Out 0.2 s, stuck 0.1 s, the base pulled 0.5 over 0.3 s, in over 0.2 s.
    struct Moment
    {
        int32_t ms;
        float extension, pull;
        bool caught, active;
    };
    const Moment moments[] = {{100, 0.5f, 0.0f, false, true},  {299, 1.0f, 0.0f, false, true},
                              {300, 1.0f, 0.0f, true, true},   {450, 1.0f, 0.25f, true, true},
                              {700, 0.5f, 0.5f, true, true},   {799, 0.0f, 0.5f, true, true},
                              {800, 0.0f, 0.0f, true, false}};
    for (const Moment& m : moments)
    {
        tongue->Step(start + m.ms);
        EXPECT_NEAR(tongue->GetExtension(), m.extension, 1e-3f) << m.ms;
        EXPECT_NEAR(tongue->GetPull(), m.pull, 1e-3f) << m.ms;
        EXPECT_EQ(tongue->IsCaught(), m.caught) << m.ms;
        EXPECT_EQ(tongue->IsActive(), m.active) << m.ms;
        EXPECT_EQ(fly->GetState(), m.caught ? CFly::kCaught : CFly::kResting) << m.ms;
    }
    EXPECT_EQ(m_sound.sounds.back(), "gnom");

    // Thrown again, it starts over and the catch stays made; a reset frees the fly.
    tongue->Throw(start + 1000);
    tongue->Step(start + 1100);
    EXPECT_NEAR(tongue->GetExtension(), 0.5f, 1e-3f);
    EXPECT_TRUE(tongue->IsCaught());
    frog->CancelCatch();
    EXPECT_FALSE(tongue->IsActive());
    EXPECT_FALSE(tongue->IsCaught());
    EXPECT_EQ(fly->GetState(), CFly::kFlying);

    // The quad reaches from the root towards the fly, +y turned onto the way there; the tip
    // snapping back past the pulled base shows nothing.
    tongue->Throw(start);
    tongue->Step(start + 450);
    const Vector2<float> root(1.0f, 1.0f), target(4.0f, 5.0f);
    const Matrix3 transform = Matrix3::Translation(root - tongue->GetRoot());
    CTongue::Placement placement;
    ASSERT_TRUE(tongue->Place(transform, target, placement));
    ExpectNear(placement.root, root);
    ExpectNear(placement.tip, target);
    EXPECT_NEAR(placement.rect.y, 0.25f, 1e-3f);
    EXPECT_NEAR(placement.rect.w, 5.0f, 1e-3f);
    ExpectNear(Matrix3::Rotation(placement.rotation / kDegreesPerRadian).TransformPoint({0.0f, 1.0f}),
               {0.6f, 0.8f}, 0.01f);
    tongue->Step(start + 250);
    ASSERT_TRUE(tongue->Place(transform, root, placement)) << "on the root it points along +y";
    EXPECT_EQ(placement.rotation, 0.0f);
    tongue->Step(start + 790);
    EXPECT_FALSE(tongue->Place(transform, root + Vector2<float>(0.0f, 0.2f), placement));
    CSingleton<CFly>::Toggle(false);
}

TEST_F(FrogTest, EyesBlinkAndTurnTowardsTheFlyWithinTheirStrain)
{
    CEye eye;
    eye.strain = 40.0f;
    // Headings seen from the eye, which rests looking up the board (0 degrees).
    const struct
    {
        float heading, turn, k;
    } looks[] = {{0.0f, 0.0f, 1.0f},   {30.0f, 30.0f, 1.0f},   {-30.0f, -30.0f, 1.0f}, {60.0f, 40.0f, 1.0f},
                 {-60.0f, -40.0f, 1.0f}, {150.0f, 30.0f, 0.667f}, {180.0f, 0.0f, 0.5f}};
    for (const auto& look : looks)
    {
        const float radians = look.heading / kDegreesPerRadian;
        float k = 0.0f;
        const float turn = eye.LookTowards({0.0f, 0.0f}, 0.0f, {std::sin(radians), -std::cos(radians)}, k);
        EXPECT_NEAR(turn, look.turn, 0.5f) << look.heading;
        EXPECT_NEAR(k, look.k, 0.01f) << look.heading;
    }

    // Delay 0.2 s, duration 0.3 s: open, shut at the middle, open again.
    eye.blinkDelay = 200;
    eye.blinkDuration = 0.3f;
    EXPECT_EQ(eye.GetOpenness(0), 1.0f) << "never blinked";
    CXmlDocument damaged;
    ASSERT_TRUE(damaged.Parse("<eye blinkdelay=\"1e30\" look=\"0,0\"/>", false));
    CEye far;
    far.Load(*damaged.GetRoot());
    EXPECT_EQ(far.blinkDelay, 86400000) << "a day at most";
    EXPECT_EQ(far.look, Vector2<float>(0.0f, -1.0f)) << "no look: up the picture";
    eye.Blink(1000);
    for (const auto& [ms, open] : {std::pair{1000, 1.0f}, {1199, 1.0f}, {1275, 0.5f}, {1350, 0.0f}, {1500, 1.0f}})
        EXPECT_NEAR(eye.GetOpenness(ms), open, 1e-3f) << ms;

    // The frog's two eyes turn one way for a fly on its left, the other for one on its right.
    CFrog* frog = Frog();
    CFlap& head = frog->GetFlaps()[4];
    ASSERT_EQ(head.eyes.size(), 2u);
    CFlap::Placement placement;
    ASSERT_TRUE(head.Place(*frog->GetSkeleton(), CFlap::kPlain, Vector3<float>(), 0, placement));
    const Matrix3 transform = head.GetTransform(placement);
    const Vector2<float> snout = frog->GetSkeleton()->GetJointPosition(7);
    for (const CEye& each : head.eyes)
    {
        CEye::Quad left[CEye::kSpriteCount], right[CEye::kSpriteCount];
        const Vector2<float> flyLeft = snout + Vector2<float>(-1.0f, -0.6f);
        const Vector2<float> flyRight = snout + Vector2<float>(1.0f, -0.6f);
        each.Place(transform, &flyLeft, 0, left);
        each.Place(transform, &flyRight, 0, right);
        EXPECT_TRUE(left[CEye::kEyeball].shown && left[CEye::kEyelid].shown && left[CEye::kHighlight].shown);
        EXPECT_LT(WrapAngle(left[CEye::kEyeball].rotation - right[CEye::kEyeball].rotation), -5.0f);
        EXPECT_EQ(left[CEye::kEyelid].rotation, 0.0f);
    }
}

TEST_F(FrogTest, FeetFollowTheirJointAndSwingTheirToes)
{
    CFrog* frog = Frog();
    CSkeleton* skeleton = frog->GetSkeleton();
    // A foot per limb with four fingers or five toes; the looks' own section is no foot.
    std::vector<CFoot>& feet = frog->GetFeet();
    ASSERT_EQ(feet.size(), 4u);
    const size_t toes[] = {4, 4, 5, 5};
    for (size_t i = 0; i < feet.size(); ++i)
        EXPECT_EQ(feet[i].toes.size(), toes[i]) << i;
    EXPECT_TRUE(feet[2].ankle);

    // The first update faces the body's direction; the toes reach out from the anchor.
    Frames(1);
    CFoot& hand = feet[0];
    ExpectNear(hand.facing, hand.GetTargetDirection());
    for (const CToe& toe : hand.toes)
    {
        EXPECT_NEAR((toe.knee - skeleton->GetJointAnchor(0)).Length(), toe.length, 1e-4f);
        EXPECT_FALSE(toe.shadowVisible) << "down on the pad";
    }

    // Moved, the joint takes its toes along; lifted, they bend and cast a shadow.
    ASSERT_TRUE(skeleton->GetDrag().PickJoint(skeleton->GetJointPosition(0)));
    const Vector2<float> moved = skeleton->GetJointPosition(0) + Vector2<float>(-1.0f, 0.5f);
    skeleton->SetJointPosition(0, moved);
    skeleton->SetJointAnchor(0, moved);
    hand.Update(0.0f, Now(), GlobalRandom());
    ExpectNear(hand.facing, hand.GetTargetDirection());
    for (const CToe& toe : hand.toes)
    {
        ExpectNear({toe.foot.x, toe.foot.y}, moved);
        EXPECT_GT(toe.foot.z, 0.0f);
        EXPECT_LT((toe.knee - moved).Length(), toe.length + 1e-4f);
        EXPECT_TRUE(toe.shadowVisible);
    }

    // Resting 90 degrees out of line (offset 0, period 1): after 2 s it jumps 60 +- 10 back
    // towards the body's direction, swinging its toes; in line it never jumps.
    CFoot& foot = feet[2];
    const Vector2<float> target = foot.GetTargetDirection();
    Random random;
    random.Seed(3);
    for (const bool inLine : {false, true})
    {
        foot.facing = inLine ? target : Matrix3::Rotation(kTwoPi / 4.0f).TransformPoint(target);
        const Vector2<float> before = foot.facing;
        foot.fidgetStamp = 10000;
        foot.Update(0.0f, 11990, random);
        EXPECT_EQ(foot.facing, before);
        foot.Update(0.0f, inLine ? 60000 : 12010, random);
        const float cross = target.x * foot.facing.y - target.y * foot.facing.x;
        const float apart = std::fabs(FastAtan2(cross, Dot(target, foot.facing))) * kDegreesPerRadian;
        if (inLine)
            EXPECT_EQ(foot.facing, before);
        else
        {
            EXPECT_GE(apart, 19.5f);
            EXPECT_LE(apart, 40.5f);
            EXPECT_EQ(foot.toes[0].mode, CToe::kSwinging);
        }
    }

    // A toe's first aim sets both ends; from 170 to -170 degrees it swings the short way.
    CToe toe;
    toe.period = 1.0f;
    toe.Aim({std::sin(170.0f / kDegreesPerRadian), -std::cos(170.0f / kDegreesPerRadian)}, CToe::kAimed, 0);
    EXPECT_EQ(toe.fromAngle, toe.toAngle);
    toe.Aim({std::sin(-170.0f / kDegreesPerRadian), -std::cos(-170.0f / kDegreesPerRadian)}, CToe::kSwinging, 0);
    float lift = 0.0f;
    EXPECT_NEAR(std::fabs(toe.GetSwingAngle(500, lift) - toe.toAngle), 10.0f, 0.5f);
    EXPECT_NEAR(lift, CToe::kSwingLift, 1e-3f);
    EXPECT_EQ(toe.GetSwingAngle(1000, lift), toe.toAngle);
}

TEST_F(FrogTest, SpotsComeFromTheirTypeAndKeepTheirSizeUpright)
{
    m_folder.WriteData("materials.xml", "<materials><null style=\"null\"/></materials>");
    CXmlDocument document;
    ASSERT_TRUE(document.Parse("<species><body><flaps><g><flap><pin/><pin uv=\"0,1\"/><material/>"
                               "<blob type=\"spot\" scale=\"0.5\" uv=\"0.5,0.5\"/><blob type=\"nothere\" scale=\"1\"/>"
                               "<blob type=\"plain\" scale=\"1\"/><blob type=\"spot\"/></flap></g></flaps>"
                               "<blob><spot><material name=\"frogbody\" uvs=\"0,0,0.25,0.5\"/></spot>"
                               "<plain><material name=\"null\"/></plain></blob></body></species>",
                               false));
    CFlap flap;
    flap.Load(*document.GetRoot()->FindChild("body/flaps/g"));
    // An unknown type and a "null" material are dropped; a spot without scale stays, unseen.
    ASSERT_EQ(flap.blobs.size(), 2u);
    Vector2<float> at;
    Vector4<float> rect;
    EXPECT_FALSE(flap.blobs[1].Place(Matrix3(), at, rect));
    // Sized by the piece's width alone, never turned.
    Matrix3 transform;
    transform.Scale({2.0f, 5.0f});
    transform.Rotate(1.0f);
    ASSERT_TRUE(flap.blobs[0].Place(transform, at, rect));
    ExpectNear(at, transform.TransformPoint({0.5f, 0.5f}));
    EXPECT_NEAR(rect.x, -0.125f, 1e-5f);
    EXPECT_NEAR(rect.y, -0.25f, 1e-5f);
    EXPECT_NEAR(rect.z, 0.125f, 1e-5f);
    EXPECT_NEAR(rect.w, 0.25f, 1e-5f);
}
