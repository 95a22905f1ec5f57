#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CSingleton.h"
#include "core/HashString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace
{
std::vector<std::string> s_log;

// A singleton that logs its birth and death; N tells the probes apart.
template <int N> class CProbe : public CBase, public CSingleton<CProbe<N>>
{
  public:
    static inline const char* s_name = "";
    void Init() override
    {
        ++m_inits;
        s_log.push_back(std::string("+") + s_name);
        // Init may ask for its own instance and gets this one.
        EXPECT_EQ(CSingleton<CProbe<N>>::Instance(), this);
    }
    ~CProbe() override { s_log.push_back(std::string("-") + s_name); }
    int m_inits = 0;
};

// Registers probe N under a class name of the test's choosing.
template <int N>
CSingletonBase::Registration Register(const char* className, const char* group, int32_t priority)
{
    CProbe<N>::s_name = className;
    return CSingletonBase::Registration(className, group, priority, &CSingleton<CProbe<N>>::Toggle);
}

void Start(const char* group)
{
    CSingletonBase::StartScope(HashString(group));
}

void Stop(const char* group)
{
    CSingletonBase::StopScope(HashString(group));
}

int s_steps = 0;
void CountStep()
{
    ++s_steps;
}

class CStaticProbe : public CBase, public CSingleton<CStaticProbe>
{
};
REGISTER_SINGLETON(CStaticProbe, "probe-static", 50);

class SingletonTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        s_log.clear();
        s_steps = 0;
        m_oldHook = CSingletonBase::SetStepHook(&CountStep);
    }
    void TearDown() override { CSingletonBase::SetStepHook(m_oldHook); }

    CSingletonBase::StepHook m_oldHook = nullptr;
};
} // namespace

TEST_F(SingletonTest, GroupStartsByPriorityThenNameAndStopsInReverse)
{
    const auto zeta = Register<1>("CZeta", "probe-order", 50);
    const auto last = Register<2>("CStartupLike", "probe-order", 100);
    const auto alpha = Register<3>("CAlpha", "probe-order", 50);
    const auto mid = Register<4>("CMid", "probe-order", 50);
    const auto early = Register<5>("CEarly", "probe-order", -5);
    const auto alphaAgain = Register<3>("CAlpha", "probe-order", 50);
    const auto elsewhere = Register<6>("CAlpha", "probe-order-other", 50);

    Start("probe-order");
    EXPECT_EQ(s_log, (std::vector<std::string>{"+CEarly", "+CAlpha", "+CMid", "+CZeta", "+CStartupLike"}));
    EXPECT_EQ(s_steps, 5);
    EXPECT_FALSE(CProbe<6>::Exists());

    s_log.clear();
    Start("probe-order");
    EXPECT_TRUE(s_log.empty());
    EXPECT_EQ(CProbe<3>::Peek()->m_inits, 1);

    Stop("probe-order");
    EXPECT_EQ(s_log, (std::vector<std::string>{"-CStartupLike", "-CZeta", "-CMid", "-CAlpha", "-CEarly"}));
    EXPECT_FALSE(CProbe<1>::Exists());
    s_log.clear();
    Stop("probe-order");
    Stop("probe-order-other");
    Start("probe-nobody");
    Stop("probe-nobody");
    EXPECT_TRUE(s_log.empty());

    // Without a step hook a group still starts.
    CSingletonBase::SetStepHook(nullptr);
    Start("probe-order-other");
    EXPECT_TRUE(CProbe<6>::Exists());
    Stop("probe-order-other");
    EXPECT_FALSE(CProbe<6>::Exists());
}

TEST_F(SingletonTest, NukeStopsEveryGroupAndKeepsRegistrations)
{
    const auto first = Register<10>("CFirst", "probe-nuke-a", 50);
    const auto second = Register<11>("CSecond", "probe-nuke-a", 60);
    const auto third = Register<12>("CThird", "probe-nuke-b", 50);
    const auto hanging = Register<13>("CHanging", "probe-nuke-hanging", 50);

    Start("probe-nuke-a");
    Start("probe-nuke-b");
    CProbe<13>::Instance();
    Start("probe-static");
    EXPECT_TRUE(CStaticProbe::Exists());
    s_log.clear();

    Stop("nuke");
    std::vector<std::pair<uint32_t, std::vector<std::string>>> groups = {
        {HashString("probe-nuke-a"), {"-CSecond", "-CFirst"}},
        {HashString("probe-nuke-b"), {"-CThird"}},
        {HashString("probe-nuke-hanging"), {"-CHanging"}},
    };
    std::sort(groups.begin(), groups.end());
    std::vector<std::string> expected;
    for (const auto& group : groups)
        expected.insert(expected.end(), group.second.begin(), group.second.end());
    EXPECT_EQ(s_log, expected);
    EXPECT_FALSE(CStaticProbe::Exists());

    s_log.clear();
    Stop("nuke");
    EXPECT_TRUE(s_log.empty());

    // Registrations outlive "nuke", whether static or made afterwards.
    const auto fourth = Register<14>("CFourth", "probe-nuke-a", 50);
    Start("probe-nuke-a");
    EXPECT_EQ(s_log, (std::vector<std::string>{"+CFirst", "+CFourth", "+CSecond"}));
    Start("probe-static");
    EXPECT_TRUE(CStaticProbe::Exists());
    Stop("probe-static");
    s_log.clear();
    Stop("probe-nuke-a");
    EXPECT_EQ(s_log, (std::vector<std::string>{"-CSecond", "-CFourth", "-CFirst"}));
}

TEST_F(SingletonTest, PeekNeverCreatesAndSeesAStoppedSingletonAsGone)
{
    EXPECT_EQ(CProbe<20>::Peek(), nullptr);
    EXPECT_FALSE(CProbe<20>::Exists());
    CProbe<20>::Toggle(false);
    EXPECT_FALSE(CProbe<20>::Exists());

    CProbe<20>::s_name = "CPeeked";
    CProbe<20>* made = CProbe<20>::Instance();
    EXPECT_EQ(CProbe<20>::Peek(), made);
    CProbe<20>::Toggle(true);
    EXPECT_EQ(CProbe<20>::Instance(), made);
    EXPECT_EQ(made->m_inits, 1);
    EXPECT_EQ(made->GetRefCount(), 1);

    // An object that outlives the singleton looks it up without bringing it back,
    // even from inside the singleton's own death.
    class CLateUser : public CBase, public CSingleton<CLateUser>
    {
      public:
        ~CLateUser() override { s_log.push_back(CProbe<20>::Exists() ? "found" : "gone"); }
        void Exit() override { s_log.push_back(Peek() ? "self" : "no self"); }
    };
    CRef<CLateUser> late = MakeRef<CLateUser>();
    CProbe<20>::Toggle(false);
    late.Reset();
    CLateUser::Instance();
    CLateUser::Toggle(false);
    EXPECT_EQ(s_log,
              (std::vector<std::string>{"+CPeeked", "-CPeeked", "no self", "gone", "no self", "gone"}));
    EXPECT_FALSE(CProbe<20>::Exists());
}
