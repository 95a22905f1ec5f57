#include "scene/CLoading.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

namespace
{
class LoadingTest : public PlatformTest
{
  protected:
    void PushEvents(int count)
    {
        for (int i = 0; i < count; ++i)
            s_backend->events.push_back(PlatformEvent());
    }
};

// Stands for a group's member: the registry steps the loading screen after each one.
class LoadingTestMember : public CBase, public CSingleton<LoadingTestMember>
{
};
REGISTER_SINGLETON(LoadingTestMember, "loadingtest", 50);
} // namespace

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
