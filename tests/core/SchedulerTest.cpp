#include "core/CRef.h"
#include "core/CScheduled.h"
#include "core/CScheduler.h"
#include "core/CUpdate.h"
#include "core/Random.h"
#include "support/FakeClock.h"
#include "support/TestScopes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{
// Records every call; an optional action runs inside the call.
class Probe : public CScheduled
{
public:
    explicit Probe(std::vector<std::string>* order = nullptr, std::string name = "") : m_order(order), m_name(name) {}
    void OnSchedule(float dt) override
    {
        m_dts.push_back(dt);
        if (m_order)
            m_order->push_back(m_name);
        if (m_action)
            m_action();
    }
    std::vector<float> m_dts;
    std::function<void()> m_action;
    std::vector<std::string>* m_order;
    std::string m_name;
};

class UpdateProbe final : public CUpdate
{
public:
    void Update(float dt) override
    {
        m_dts.push_back(dt);
        if (m_action)
            m_action();
    }
    std::vector<float> m_dts;
    std::function<void()> m_action;
};

class SchedulerTest : public ::testing::Test
{
protected:
    SchedulerTest() { GlobalRandom().Seed(7); }
    // One frame of `ms` platform milliseconds.
    void Frame(uint32_t ms)
    {
        m_clock.Advance(ms);
        m_scheduler->Update();
    }

    FakeClock m_clock;
    CRef<CScheduler> m_scheduler = MakeRef<CScheduler>();
};

TEST_F(SchedulerTest, ClockFollowsThePlatformCappedAndScaled)
{
    Frame(0);
    EXPECT_EQ(m_scheduler->GetClock(), 0);
    Frame(500); // a long frame counts as 100 ms
    EXPECT_EQ(m_scheduler->GetClock(), 100);
    m_scheduler->SetSpeed(0.5f);
    Frame(30);
    EXPECT_EQ(m_scheduler->GetClock(), 115);
    m_scheduler->SetSpeed(2.0f);
    Frame(100);
    EXPECT_EQ(m_scheduler->GetClock(), 315);
    Frame(250); // capped before scaling
    EXPECT_EQ(m_scheduler->GetClock(), 515);
    m_clock.Set(m_clock.Now() - 50); // a platform clock that steps back moves nothing
    m_scheduler->Update();
    EXPECT_EQ(m_scheduler->GetClock(), 515);
    m_scheduler->SetSpeed(1.0f);
    m_clock.Set(0xFFFFFFF0u); // lies behind the last reading in wrapped terms: no step
    m_scheduler->Update();
    EXPECT_EQ(m_scheduler->GetClock(), 515);
    Frame(0x20); // across the platform tick's wrap
    EXPECT_EQ(m_scheduler->GetClock(), 515 + 0x20);
}

TEST_F(SchedulerTest, PauseFreezesNestsAndNeverGoesNegative)
{
    CRef<Probe> probe = MakeRef<Probe>();
    m_scheduler->Schedule(probe.Get(), 0);
    Frame(50);
    ASSERT_EQ(m_scheduler->GetClock(), 50);
    ASSERT_EQ(probe->m_dts.size(), 1u);

    m_scheduler->Pause(true);
    m_scheduler->Pause(true);
    Frame(50);
    m_scheduler->Pause(false);
    Frame(50);
    EXPECT_TRUE(m_scheduler->IsPaused());
    EXPECT_EQ(m_scheduler->GetClock(), 50);
    EXPECT_EQ(probe->m_dts.size(), 1u);

    m_scheduler->Pause(false);
    Frame(30); // continues from where it stopped: the paused span is not added
    EXPECT_EQ(m_scheduler->GetClock(), 80);
    ASSERT_EQ(probe->m_dts.size(), 2u);
    EXPECT_FLOAT_EQ(probe->m_dts[1], 0.03f);

    // Unmatched resumes are ignored, so the next pause still pauses.
    m_scheduler->Pause(false);
    m_scheduler->Pause(false);
    EXPECT_EQ(m_scheduler->GetPauseCount(), 0);
    m_scheduler->Pause(true);
    EXPECT_TRUE(m_scheduler->IsPaused());
    Frame(30);
    EXPECT_EQ(m_scheduler->GetClock(), 80);
}

TEST_F(SchedulerTest, ElapsedTimeIsCappedAtTwiceTheInterval)
{
    CRef<Probe> hundred = MakeRef<Probe>();
    m_scheduler->Schedule(hundred.Get(), 100);
    Frame(100); // first due within one interval of clock 0
    ASSERT_EQ(hundred->m_dts.size(), 1u);
    EXPECT_FLOAT_EQ(hundred->m_dts[0], 0.1f);
    Frame(100);
    ASSERT_EQ(hundred->m_dts.size(), 2u);
    EXPECT_FLOAT_EQ(hundred->m_dts[1], 0.1f);

    CRef<Probe> twenty = MakeRef<Probe>();
    m_scheduler->Schedule(twenty.Get(), 20);
    Frame(500); // clamped to 100 ms: five intervals, one call, dt 2 x 20 ms
    ASSERT_EQ(twenty->m_dts.size(), 1u);
    EXPECT_FLOAT_EQ(twenty->m_dts[0], 0.04f);
}

TEST_F(SchedulerTest, IntervalZeroRunsEveryFrameWithTheFrameTime)
{
    Frame(100);
    Frame(100); // the clock is well past 0 when the object arrives
    CRef<Probe> probe = MakeRef<Probe>();
    m_scheduler->Schedule(probe.Get(), 0);
    EXPECT_EQ(probe->GetNextDue(), m_scheduler->GetClock());
    Frame(30);
    Frame(16);
    m_scheduler->SetSpeed(2.0f);
    Frame(16);
    ASSERT_EQ(probe->m_dts.size(), 3u);
    EXPECT_FLOAT_EQ(probe->m_dts[0], 0.03f); // not 0, not the whole clock
    EXPECT_FLOAT_EQ(probe->m_dts[1], 0.016f);
    EXPECT_FLOAT_EQ(probe->m_dts[2], 0.032f);

    CRef<Probe> negative = MakeRef<Probe>();
    m_scheduler->Schedule(negative.Get(), -5);
    EXPECT_EQ(negative->GetInterval(), 0);
    Frame(10);
    EXPECT_EQ(negative->m_dts.size(), 1u);
}

TEST_F(SchedulerTest, FirstCallsSpreadOverOneInterval)
{
    Frame(40);
    std::vector<CRef<Probe>> probes;
    bool spread = false;
    for (int i = 0; i < 50; ++i)
    {
        probes.push_back(MakeRef<Probe>());
        m_scheduler->Schedule(probes.back().Get(), 100);
        EXPECT_GE(probes.back()->GetNextDue(), 40);
        EXPECT_LE(probes.back()->GetNextDue(), 140);
        spread |= probes.back()->GetNextDue() != probes.front()->GetNextDue();
    }
    EXPECT_TRUE(spread);
    // A huge interval must not overflow the jitter.
    CRef<Probe> huge = MakeRef<Probe>();
    m_scheduler->Schedule(huge.Get(), INT32_MAX);
    EXPECT_TRUE(m_scheduler->IsScheduled(huge.Get()));
}

TEST_F(SchedulerTest, EachObjectOnceFrameInRoundRobinWithOneEntry)
{
    std::vector<std::string> order;
    CRef<Probe> a = MakeRef<Probe>(&order, "a");
    CRef<Probe> b = MakeRef<Probe>(&order, "b");
    CRef<Probe> c = MakeRef<Probe>(&order, "c");
    for (Probe* p : {a.Get(), b.Get(), c.Get()})
        m_scheduler->Schedule(p, 0);
    // Scheduling again keeps one entry and only changes the interval.
    m_scheduler->Schedule(a.Get(), 0);
    m_scheduler->Schedule(a.Get(), 0);
    // One that asks to be due again at once still runs once per frame.
    b->m_action = [&] { m_scheduler->Schedule(b.Get(), 0); };
    Frame(16);
    Frame(16);
    EXPECT_EQ(order, (std::vector<std::string>{"a", "b", "c", "a", "b", "c"}));
    EXPECT_TRUE(m_scheduler->IsScheduled(a.Get()));

    // Unscheduled objects are not called and not reported.
    a->Unschedule();
    EXPECT_FALSE(m_scheduler->IsScheduled(a.Get()));
    order.clear();
    Frame(16);
    EXPECT_EQ(order, (std::vector<std::string>{"b", "c"}));
    m_scheduler->Schedule(a.Get(), 0);
    order.clear();
    Frame(16);
    EXPECT_EQ(order, (std::vector<std::string>{"b", "c", "a"}));
}

TEST_F(SchedulerTest, CallbacksMayCreateAndDestroyObjectsAndTheScheduler)
{
    std::vector<std::string> order;
    CRef<Probe> killer = MakeRef<Probe>(&order, "killer");
    CRef<Probe> victim = MakeRef<Probe>(&order, "victim");
    CRef<Probe> self = MakeRef<Probe>(&order, "self");
    CRef<Probe> born;
    m_scheduler->Schedule(killer.Get(), 0);
    m_scheduler->Schedule(victim.Get(), 0);
    m_scheduler->Schedule(self.Get(), 0);
    killer->m_action = [&] {
        victim.Reset();
        born = MakeRef<Probe>(&order, "born");
        m_scheduler->Schedule(born.Get(), 0); // due now: called in this frame
    };
    self->m_action = [&] { self.Reset(); }; // drops its last outside reference while running
    Frame(16);
    EXPECT_EQ(order, (std::vector<std::string>{"killer", "self", "born"}));
    EXPECT_FALSE(self);

    // A callback that ends the scope owning the scheduler.
    CScheduler* raw = m_scheduler.Get();
    killer->m_action = [&] { m_scheduler.Reset(); };
    order.clear();
    m_clock.Advance(16);
    raw->Update(); // the scheduler lives until its update returns
    EXPECT_EQ(order, (std::vector<std::string>{"killer", "born"}));
}

TEST_F(SchedulerTest, UpdateObjectsFollowTheSameRules)
{
    UpdateProbe kept;
    auto doomed = std::make_unique<UpdateProbe>();
    kept.m_action = [&] { doomed.reset(); };
    m_scheduler->ScheduleUpdate(&kept, 20);
    m_scheduler->ScheduleUpdate(doomed.get(), 0);
    m_scheduler->ScheduleUpdate(&kept, 20);
    EXPECT_TRUE(m_scheduler->IsScheduled(&kept));
    Frame(500);
    ASSERT_EQ(kept.m_dts.size(), 1u);
    EXPECT_FLOAT_EQ(kept.m_dts[0], 0.04f);
    EXPECT_FALSE(doomed); // destroyed before its turn, never called

    kept.Unschedule();
    Frame(100);
    EXPECT_EQ(kept.m_dts.size(), 1u);
    {
        UpdateProbe brief;
        m_scheduler->ScheduleUpdate(&brief, 0);
    } // dies scheduled: its weak entry is dropped
    Frame(100);
    EXPECT_FALSE(m_scheduler->IsScheduled(&kept));
}

TEST_F(SchedulerTest, ObjectsScheduleThroughTheScopeLookups)
{
    CRef<Probe> probe = MakeRef<Probe>();
    UpdateProbe update;
    {
        // Without a game nothing is scheduled.
        EXPECT_EQ(probe->ScheduleIn("global", 10), nullptr);
        EXPECT_EQ(update.Schedule(10), nullptr);
        EXPECT_FALSE(probe->IsActive());
    }
    TestScopes scopes;
    EXPECT_EQ(probe->ScheduleIn("global", 10), scopes.Global());
    EXPECT_TRUE(scopes.Global()->IsScheduled(probe.Get()));
    EXPECT_EQ(probe->Schedule(10), scopes.Mode());
    EXPECT_TRUE(scopes.Mode()->IsScheduled(probe.Get()));
    EXPECT_EQ(update.ScheduleIn("global", 10), scopes.Global());
    EXPECT_EQ(update.Schedule(10), scopes.Mode());
    EXPECT_EQ(probe->ScheduleIn("nowhere", 10), nullptr);

    // Pausing the mode leaves "global" running.
    scopes.Mode()->Pause(true);
    m_clock.Advance(20);
    scopes.Update();
    EXPECT_EQ(scopes.Mode()->GetClock(), 0);
    EXPECT_EQ(scopes.Global()->GetClock(), 20);
}
} // namespace
