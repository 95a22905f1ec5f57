#include "Graphics/CMaterialSet.h"
#include "Graphics/CTextureSet.h"
#include "core/Random.h"
#include "scene/CLoading.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <random>

namespace
{
class LoadingTest : public PlatformTest
{
  protected:
    void PushEvents(int count, PlatformEvent::Kind kind = PlatformEvent::kMouseButtonDown)
    {
        PlatformEvent event;
        event.kind = kind;
        for (int i = 0; i < count; ++i)
            s_backend->events.push_back(event);
    }
};

// Stands for a group's member: the registry steps the loading screen after each one.
class LoadingTestMember : public CBase, public CSingleton<LoadingTestMember>
{
};
REGISTER_SINGLETON(LoadingTestMember, "loadingtest", 50);

void NoHook() {}
} // namespace

TEST(LoadingDroplets, TheRowFillsLeftToRightThenEmptiesFromTheLeft)
{
    // Steps taken before a frame: that frame shows droplets [first, end); full at sixteen, gone
    // from thirty-two on.
    const int32_t steps[] = {0, 1, 5, 16, 17, 31, 32, 100};
    const int32_t first[] = {0, 0, 0, 0, 1, 15, 16, 84};
    const int32_t end[] = {0, 1, 5, 16, 16, 16, 16, 16};
    for (size_t k = 0; k < sizeof steps / sizeof steps[0]; ++k)
    {
        EXPECT_EQ(CLoading::FirstDroplet(steps[k]), first[k]) << steps[k];
        EXPECT_EQ(CLoading::EndDroplet(steps[k]), end[k]) << steps[k];
    }
}

TEST(LoadingDroplets, EachDropletHasItsFrameAndAFixedPlace)
{
    GlobalRandom().Seed(99);
    const uint32_t expectedGlobal = Random(GlobalRandom()).Next();

    for (int32_t i = 0; i < CLoading::kRowLength; ++i)
    {
        const CLoading::DropletQuad quad = CLoading::MakeDroplet(i);
        EXPECT_EQ(quad.frame, (117 * i) % 8);
        EXPECT_NEAR(quad.offset.x, -0.8f + 1.6f * float(i) / 15.0f, 1e-6f);
        // The first word of the standard MT19937 seeded with 16 i, as a fraction of 2^32.
        std::mt19937 reference(uint32_t(16 * i));
        const double r = double(reference()) / 4294967296.0;
        EXPECT_NEAR(quad.offset.y, float(r * 0.13 - 0.66), 1e-6f) << i;
        EXPECT_GE(quad.offset.y, -0.66f);
        EXPECT_LT(quad.offset.y, -0.53f);
        // Same place every time.
        EXPECT_EQ(CLoading::MakeDroplet(i).offset.y, quad.offset.y);
        EXPECT_NEAR(quad.corners[0].x, quad.offset.x - 0.15f, 1e-6f);
        EXPECT_NEAR(quad.corners[0].y, quad.offset.y - 0.1f, 1e-6f);
        EXPECT_NEAR(quad.corners[3].x, quad.offset.x + 0.15f, 1e-6f);
        EXPECT_NEAR(quad.corners[3].y, quad.offset.y + 0.1f, 1e-6f);
    }

    // Frame 5 (droplet 1): second column, lower row of the sheet's lower half; corners in strip
    // order: (left, top), (right, top), (left, bottom), (right, bottom).
    const CLoading::DropletQuad one = CLoading::MakeDroplet(1);
    ASSERT_EQ(one.frame, 5);
    const float u[4] = {0.25f, 0.5f, 0.25f, 0.5f};
    const float v[4] = {0.75f, 0.75f, 1.0f, 1.0f};
    for (int c = 0; c < 4; ++c)
    {
        EXPECT_FLOAT_EQ(one.uvs[c].x, u[c]) << c;
        EXPECT_FLOAT_EQ(one.uvs[c].y, v[c]) << c;
    }
    EXPECT_FLOAT_EQ(CLoading::MakeDroplet(0).uvs[0].y, 0.5f);

    // The game's generator was neither reseeded nor advanced.
    EXPECT_EQ(GlobalRandom().Next(), expectedGlobal);
}

TEST_F(LoadingTest, StepsDrawAndSwallowInputOnlyBetweenBeginAndFinish)
{
    CLoading* loading = CLoading::Instance();
    loading->Step();
    EXPECT_EQ(loading->GetStepCount(), 0);

    loading->Begin();
    ASSERT_NE(s_backend, nullptr);
    ASSERT_TRUE(CDirectJ::Exists());
    EXPECT_TRUE(loading->IsActive());
    PushEvents(3);
    // A group start steps once per member: a frame drawn and shown, the input dropped.
    CSingletonBase::StartScope(HashString("loadingtest"));
    EXPECT_EQ(loading->GetStepCount(), 1);
    EXPECT_EQ(CDirectJ::Peek()->GetFrameCount(), 1);
    EXPECT_EQ(s_backend->swaps, 1);
    EXPECT_TRUE(s_backend->events.empty());
    EXPECT_TRUE(CDirectJ::Peek()->IsRunning());

    loading->Finish();
    EXPECT_FALSE(loading->IsActive());
    PushEvents(2);
    loading->Step();
    CSingletonBase::StopScope(HashString("loadingtest"));
    CSingletonBase::StartScope(HashString("loadingtest"));
    EXPECT_EQ(loading->GetStepCount(), 1);
    EXPECT_EQ(s_backend->swaps, 1);
    EXPECT_EQ(s_backend->events.size(), 2u);
    CSingletonBase::StopScope(HashString("loadingtest"));
}

TEST_F(LoadingTest, EveryStepDrawsAFrame)
{
    // Past the full row and past the empty one alike: no step is left out.
    CLoading* loading = CLoading::Instance();
    loading->Begin();
    for (int i = 0; i < 40; ++i)
    {
        PushEvents(1);
        loading->Step();
        ASSERT_EQ(s_backend->swaps, i + 1);
        EXPECT_TRUE(s_backend->events.empty());
    }
    loading->Finish();
}

TEST_F(LoadingTest, WithoutVideoAStepDrawsNothingButStillSwallowsInput)
{
    s_startWorks = false;
    CLoading* loading = CLoading::Instance();
    loading->Begin();
    PushEvents(2);
    loading->Step();
    EXPECT_EQ(s_backend->swaps, 0);
    EXPECT_TRUE(s_backend->events.empty());
    loading->Finish();
}

TEST_F(LoadingTest, AWindowClosedDuringLoadingEndsTheGameOnceStartUpIsDone)
{
    CLoading* loading = CLoading::Instance();
    loading->Begin();
    PushEvents(1);
    PushEvents(1, PlatformEvent::kQuit);
    PushEvents(1);
    loading->Step();
    EXPECT_TRUE(s_backend->events.empty());
    loading->Finish();
    EXPECT_FALSE(CDirectJ::Peek()->Pump());
}

TEST_F(LoadingTest, FinishHandsThePictureToTheStartupMaterialAndReleasesBoth)
{
    m_folder.WriteFile(
        "data/materials.xml",
        "<materials><startup texture=\"startup\" blend-src=\"one\" blend-dst=\"zero\"/></materials>");
    CLoading* loading = CLoading::Instance();
    loading->Begin();
    const CRef<CTexture> picture = loading->GetPicture();
    const CRef<CTexture> sheet = loading->GetDropletSheet();
    ASSERT_TRUE(picture);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(picture->GetName(), "startup");
    EXPECT_EQ(sheet->GetName(), "droplet");
    // Loading must not bring up the game's texture set before its group starts.
    EXPECT_FALSE(CTextureSet::Exists());

    CMaterialSet::Instance();
    loading->Finish();
    EXPECT_FALSE(loading->IsActive());
    EXPECT_FALSE(loading->GetPicture());
    EXPECT_FALSE(loading->GetDropletSheet());
    const CRef<CMaterial> material = CMaterialSet::Instance()->Find("startup");
    EXPECT_EQ(material->GetTexture(0).Get(), picture.Get());
    EXPECT_EQ(material->GetBlendSource(), GLenum(GL_ONE));
    EXPECT_EQ(picture->GetRefCount(), 2); // this test's and the material's
    EXPECT_EQ(sheet->GetRefCount(), 1);   // this test's alone

    // Finishing again, or stepping after, changes nothing; a new Begin starts afresh.
    loading->Finish();
    EXPECT_EQ(material->GetTexture(0).Get(), picture.Get());
    loading->Begin();
    EXPECT_TRUE(loading->IsActive());
    EXPECT_EQ(loading->GetStepCount(), 0);
    EXPECT_NE(loading->GetPicture().Get(), picture.Get());
    loading->Finish();
}

TEST_F(LoadingTest, EndingTheProgramWhileLoadingMakesNoSingletonAndPutsTheStepBack)
{
    const CSingletonBase::StepHook before = CSingletonBase::SetStepHook(&NoHook);
    CLoading::Instance()->Begin();
    CLoading::Instance()->Begin(); // twice: still one step hook to put back
    CLoading::Toggle(false);
    EXPECT_FALSE(CMaterialSet::Exists());
    EXPECT_EQ(CSingletonBase::SetStepHook(before), &NoHook);
}
