#include "core/CCallback.h"
#include "core/CDelay.h"
#include "core/CRef.h"
#include "core/CSingleton.h"
#include "core/Random.h"
#include "support/FakeClock.h"
#include "support/TestScopes.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{
class LogCallback : public CCallback
{
public:
    LogCallback(std::vector<std::string>& log, std::string name, bool* destroyed = nullptr)
        : m_log(log), m_name(std::move(name)), m_destroyed(destroyed)
    {
    }
    ~LogCallback() override
    {
        if (m_destroyed)
            *m_destroyed = true;
    }
    void Invoke() override
    {
        m_log.push_back(m_name);
        if (m_action)
            m_action();
    }
    std::function<void()> m_action;

private:
    std::vector<std::string>& m_log;
    std::string m_name;
    bool* m_destroyed;
};

class DelayTest : public ::testing::Test
{
protected:
    DelayTest() { GlobalRandom().Seed(3); }
    ~DelayTest() override { CSingleton<CDelay>::Toggle(false); }

    CRef<LogCallback> Make(const std::string& name, bool* destroyed = nullptr)
    {
        return MakeRef<LogCallback>(m_log, name, destroyed);
    }
    // Frames of `ms` until the "global" clock reaches `clock`.
    void RunTo(int32_t clock, uint32_t ms = 100)
    {
        while (m_scopes.Global()->GetClock() < clock)
        {
            m_clock.Advance(ms);
            m_scopes.Update();
        }
    }

    FakeClock m_clock;
    TestScopes m_scopes;
    std::vector<std::string> m_log;
};

TEST_F(DelayTest, FiresOnceOnTheGlobalClockAfterItsDelay)
{
    CDelay* delay = CDelay::Instance();
    EXPECT_TRUE(m_scopes.Global()->IsScheduled(delay));
    delay->Add(0.5f, Make("half"));
    delay->Add(-3.0f, Make("now"));
    delay->Add(0.0f, nullptr);
    EXPECT_EQ(delay->GetPendingCount(), 2);

    // A paused mode does not hold delayed callbacks back.
    m_scopes.Mode()->Pause(true);
    RunTo(400);
    EXPECT_EQ(m_log, (std::vector<std::string>{"now"}));
    RunTo(500);
    EXPECT_EQ(m_log, (std::vector<std::string>{"now", "half"}));
    RunTo(2000);
    EXPECT_EQ(m_log.size(), 2u);
    EXPECT_EQ(delay->GetPendingCount(), 0);
    // Idle, it wakes only after the idle period.
    EXPECT_EQ(delay->GetNextDue(), 500 + 36000000);
}

TEST_F(DelayTest, CancelledCallbacksNeverFire)
{
    CDelay* delay = CDelay::Instance();
    bool destroyed = false;
    CRef<LogCallback> modeCallback = Make("mode", &destroyed);
    delay->Add(0.2f, modeCallback);
    delay->Add(0.4f, modeCallback);
    delay->Add(0.3f, Make("other"));
    EXPECT_TRUE(delay->IsPending(modeCallback.Get()));
    // The mode goes away and takes back what it queued.
    EXPECT_TRUE(CSingleton<CDelay>::Peek()->Cancel(modeCallback.Get()));
    EXPECT_FALSE(delay->Cancel(modeCallback.Get()));
    EXPECT_FALSE(delay->IsPending(modeCallback.Get()));
    modeCallback.Reset();
    EXPECT_TRUE(destroyed); // the delay's references were released
    RunTo(1000);
    EXPECT_EQ(m_log, (std::vector<std::string>{"other"}));
}

TEST_F(DelayTest, CallbacksMayAddAndCancelWhileFiring)
{
    CDelay* delay = CDelay::Instance();
    CRef<LogCallback> first = Make("first");
    CRef<LogCallback> cancelled = Make("cancelled");
    CRef<LogCallback> added = Make("added");
    CRef<LogCallback> repeat = Make("repeat");
    first->m_action = [&] {
        delay->Add(0.0f, added); // waits for the next pass, even though already due
        delay->Cancel(cancelled.Get()); // due in this same pass
    };
    int repeats = 0;
    repeat->m_action = [&] {
        if (++repeats < 3)
            delay->Add(0.0f, repeat); // re-arms itself: once per frame, never in a loop
    };
    delay->Add(0.1f, first);
    delay->Add(0.1f, cancelled);
    delay->Add(0.1f, repeat);
    RunTo(100);
    EXPECT_EQ(m_log, (std::vector<std::string>{"first", "repeat"}));
    RunTo(200, 16);
    EXPECT_EQ(m_log, (std::vector<std::string>{"first", "repeat", "added", "repeat", "repeat"}));
    EXPECT_EQ(delay->GetPendingCount(), 0);
}

TEST_F(DelayTest, PendingCallbacksAreReleasedUnfiredWhenTheDelayEnds)
{
    bool destroyed = false;
    CDelay::Instance()->Add(1.0f, Make("late", &destroyed));
    RunTo(500);
    CSingleton<CDelay>::Toggle(false);
    EXPECT_TRUE(destroyed);
    RunTo(2000);
    EXPECT_TRUE(m_log.empty());
    EXPECT_FALSE(CSingleton<CDelay>::Exists());

    // Without a "global" scope a delay keeps what it is given, unscheduled.
    m_scopes.ReleaseGlobal();
    CDelay* orphan = CDelay::Instance();
    orphan->Add(0.0f, Make("orphan"));
    EXPECT_EQ(orphan->GetPendingCount(), 1);
    EXPECT_FALSE(orphan->IsActive());
}
} // namespace
