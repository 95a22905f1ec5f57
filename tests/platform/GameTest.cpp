#include "core/CScheduled.h"
#include "core/CScheduler.h"
#include "core/CShutdown.h"
#include "core/CSingleton.h"
#include "core/HashString.h"
#include "platform/CControls.h"
#include "platform/CDrawings.h"
#include "platform/CGame.h"
#include "platform/CMode.h"
#include "platform/CModeFrontEnd.h"
#include "platform/CModeMainGame.h"
#include "platform/CPause.h"
#include "platform/InputEvent.h"
#include "platform/ModeReleaseHold.h"
#include "support/AppFolder.h"
#include "support/FakeClock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
std::vector<std::string> s_log;

// A mode that writes its activations and its end into the log.
class RecordingMode : public CMode
{
  public:
    explicit RecordingMode(const char* name) : CMode(name) {}
    ~RecordingMode() override { s_log.push_back("end " + GetName()); }
    void Activate() override { s_log.push_back("on " + GetName()); }
    void Deactivate() override { s_log.push_back("off " + GetName()); }
};

CRef<CMode> MakeRecording(const char* name)
{
    const CString lower = CString::ToLower(name);
    return MakeRef<RecordingMode>(lower.c_str());
}

// Test modes "rec_a", "rec_b" and "rec_c"; registered under mixed case on purpose.
const bool s_factories =
    (CMode::RegisterFactory("Rec_A", &MakeRecording), CMode::RegisterFactory("rec_b", &MakeRecording),
     CMode::RegisterFactory("REC_C", &MakeRecording), true);

// The only member of the mode group "rec_b".
class GroupMember : public CBase, public CSingleton<GroupMember>
{
  public:
    GroupMember() { s_log.push_back("start rec_b group"); }
    ~GroupMember() override { s_log.push_back("stop rec_b group"); }
};
REGISTER_SINGLETON(GroupMember, "rec_b", 50);

class Ticker;

// A member of the group "leaver" whose scheduled ticker leaves the mode from its callback and
// then goes on using this object, as a handler that pops its own mode does.
class Leaver : public CBase, public CSingleton<Leaver>
{
  public:
    void Init() override;
    ~Leaver() override { s_log.push_back("stop leaver group"); }

    int32_t m_calls = 0;
    CRef<Ticker> m_ticker;
};
REGISTER_SINGLETON(Leaver, "leaver", 50);

class Ticker : public CScheduled
{
  public:
    explicit Ticker(Leaver* owner) : m_owner(owner) {}
    void OnSchedule(float) override
    {
        CGame::Peek()->PopMode();
        ++m_owner->m_calls; // still alive: the pop takes effect after this run
        s_log.push_back("ticked");
    }

    Leaver* m_owner;
};

void Leaver::Init()
{
    m_ticker = MakeRef<Ticker>(this);
    m_ticker->ScheduleIn("leaver", 0);
}

class Recorder : public CScheduled
{
  public:
    explicit Recorder(const char* tag) : m_tag(tag) {}
    void OnSchedule(float) override { s_log.push_back(m_tag); }
    std::string m_tag;
};

class ShutdownProbe : public CShutdown
{
  public:
    void Shutdown() override { s_log.push_back("shutdown"); }
};

class GameTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        s_log.clear();
        CSingleton<CGame>::Toggle(false);
        m_game = CGame::Instance();
    }
    void TearDown() override
    {
        CSingleton<CGame>::Toggle(false);
        s_log.clear();
    }

    FakeClock m_clock;
    // Events read the tuning values: the stores they bring up keep to a folder of the test's.
    AppFolder m_folder;
    CGame* m_game = nullptr;
};

TEST_F(GameTest, ScopesAndTheirServicesAreMadeOnFirstUse)
{
    // The global scope's services exist from the start, so global drawings always have a list.
    Scope& global = m_game->GetGlobalScope();
    EXPECT_NE(global.PeekScheduler(), nullptr);
    EXPECT_NE(global.PeekControls(), nullptr);
    EXPECT_EQ(CDrawings::GetGlobal(), global.PeekDrawings());

    Scope& later = m_game->GetScope("rec_a");
    EXPECT_EQ(later.GetId(), HashString("rec_a"));
    EXPECT_EQ(later.PeekScheduler(), nullptr);
    EXPECT_EQ(later.PeekDrawings(), nullptr);
    EXPECT_EQ(later.PeekControls(), nullptr);
    EXPECT_EQ(later.GetMode(), nullptr);
    CScheduler& scheduler = later.GetScheduler();
    EXPECT_EQ(&later.GetScheduler(), &scheduler);
    EXPECT_EQ(&m_game->GetScope(HashString("rec_a")), &later);

    // Scheduling by scope name reaches the same scheduler, before the mode exists.
    EXPECT_EQ(CScheduler::ForScope("rec_a"), &scheduler);

    // An event posted with no mode waits in the scope of id 0.
    EXPECT_EQ(m_game->GetCurrentScopeId(), 0u);
    m_game->PostMessage("averyveryverylongname", "arg");
    const auto& queue = m_game->GetScope(0u).GetControls().GetQueue();
    ASSERT_EQ(queue.size(), 1u);
    EXPECT_STREQ(queue.front().name, "averyveryvery");
    EXPECT_STREQ(queue.front().argument, "arg");
    m_game->ProcessEvents();
    EXPECT_TRUE(queue.empty());
}

TEST_F(GameTest, FactoriesAreFoundByTheirLowerCaseName)
{
    CRef<CMode> recording = CMode::Create("rec_a");
    EXPECT_NE(dynamic_cast<RecordingMode*>(recording.Get()), nullptr);
    EXPECT_EQ(recording->GetScopeId(), HashString("rec_a"));
    EXPECT_NE(dynamic_cast<RecordingMode*>(CMode::Create("rec_c").Get()), nullptr);

    // Looked up as passed: the registered spelling is not a key.
    CRef<CMode> plain = CMode::Create("Rec_A");
    EXPECT_EQ(dynamic_cast<RecordingMode*>(plain.Get()), nullptr);
    EXPECT_EQ(plain->GetScopeId(), HashString("Rec_A"));
    EXPECT_EQ(dynamic_cast<CModeMainGame*>(CMode::Create("MainGame").Get()), nullptr);
    EXPECT_EQ(dynamic_cast<CModeFrontEnd*>(CMode::Create("FrontEnd").Get()), nullptr);
    EXPECT_EQ(dynamic_cast<RecordingMode*>(CMode::Create("nosuchmode").Get()), nullptr);
}

TEST_F(GameTest, EnteringReenteringAndLeavingActivateInOrder)
{
    m_game->PushMode("rec_a");
    m_game->PushMode("rec_a"); // already on top: nothing
    EXPECT_EQ(s_log, (std::vector<std::string>{"on rec_a"}));

    m_game->PushMode("rec_c");
    EXPECT_EQ(m_game->GetCurrentScopeId(), HashString("rec_c"));
    CMode* a = m_game->GetScope("rec_a").GetMode();
    ASSERT_NE(a, nullptr);

    // A mode beneath the top is pushed again: the same object.
    m_game->PushMode("rec_a");
    EXPECT_EQ(m_game->GetCurrentMode(), a);
    EXPECT_EQ(m_game->GetModeCount(), 3);

    m_game->PopMode();
    m_game->PopMode();
    EXPECT_EQ(m_game->GetCurrentScopeId(), HashString("rec_a"));
    EXPECT_EQ(m_game->GetScope("rec_c").GetMode(), nullptr);
    m_game->PopMode();
    EXPECT_EQ(m_game->GetCurrentScopeId(), 0u);
    m_game->PopMode(); // empty stack: nothing
    EXPECT_EQ(s_log, (std::vector<std::string>{"on rec_a", "off rec_a", "on rec_c", "off rec_c", "on rec_a",
                                               "off rec_a", "on rec_c", "off rec_c", "end rec_c", "on rec_a",
                                               "off rec_a", "end rec_a"}));

    // PopToMode pops down to a mode on the stack and ignores one that is not.
    m_game->PushMode("rec_a");
    m_game->PushMode("rec_c");
    m_game->PushMode("other");
    m_game->PopToMode(HashString("nowhere"));
    EXPECT_EQ(m_game->GetModeCount(), 3);
    m_game->PopToMode(HashString("rec_a"));
    EXPECT_EQ(m_game->GetModeCount(), 1);
    EXPECT_EQ(m_game->GetCurrentScopeId(), HashString("rec_a"));
}

TEST_F(GameTest, ModeGroupsStartAndStopWithTheirModes)
{
    // A registration made before the mode exists outlives the mode.
    CRef<Recorder> early = MakeRef<Recorder>("early");
    m_game->Schedule("rec_b", early.Get(), 0);

    m_game->PushMode("rec_a");
    EXPECT_FALSE(GroupMember::Exists());
    m_game->PushMode("rec_b");
    EXPECT_TRUE(GroupMember::Exists());
    m_game->PopMode();
    EXPECT_FALSE(GroupMember::Exists());
    // The new mode (and its group) is made before the old top is deactivated.
    EXPECT_EQ(s_log, (std::vector<std::string>{"on rec_a", "start rec_b group", "off rec_a", "on rec_b",
                                               "off rec_b", "end rec_b", "stop rec_b group", "on rec_a"}));

    m_game->PushMode("rec_b");
    EXPECT_TRUE(GroupMember::Exists());
    s_log.clear();
    m_game->Update();
    EXPECT_EQ(s_log, (std::vector<std::string>{"early"}));

    // Shutdown: the broadcast first, then every mode from the top, none activated again.
    ShutdownProbe probe;
    s_log.clear();
    m_game->PopAllModes();
    EXPECT_EQ(s_log, (std::vector<std::string>{"shutdown", "off rec_b", "end rec_b", "stop rec_b group",
                                               "off rec_a", "end rec_a"}));
    EXPECT_EQ(m_game->GetCurrentScopeId(), 0u);
    EXPECT_EQ(m_game->GetModeCount(), 0);
}

TEST_F(GameTest, UpdateRunsTheGlobalSchedulerThenTheCurrentOnes)
{
    m_game->PushMode("rec_a");
    CRef<Recorder> global = MakeRef<Recorder>("global");
    CRef<Recorder> mode = MakeRef<Recorder>("mode");
    CRef<Recorder> other = MakeRef<Recorder>("other");
    mode->Schedule(0); // the current scope
    global->ScheduleIn("global", 0);
    m_game->Schedule("rec_c", other.Get(), 0); // not current: never runs
    s_log.clear();
    m_clock.Advance(40);
    m_game->Update();
    EXPECT_EQ(s_log, (std::vector<std::string>{"global", "mode"}));
    EXPECT_EQ(m_game->GetTime(), 40);

    // The game time stands still while the mode's scheduler is paused, until every pause ends.
    auto first = MakeRef<CPause>(&m_game->GetCurrentScope().GetScheduler());
    auto second = MakeRef<CPause>(&m_game->GetCurrentScope().GetScheduler());
    EXPECT_TRUE(first->IsPaused());
    m_clock.Advance(40);
    m_game->Update();
    first.Reset();
    m_clock.Advance(40);
    m_game->Update();
    EXPECT_EQ(m_game->GetTime(), 40);
    second.Reset();
    m_clock.Advance(30);
    m_game->Update();
    EXPECT_EQ(m_game->GetTime(), 70);

    // The scheduler makes its pauses through the factory the program installs; none without it.
    CScheduler& scheduler = m_game->GetCurrentScope().GetScheduler();
    EXPECT_FALSE(scheduler.CreatePause());
    const CScheduler::PauseFactory previous = CScheduler::SetPauseFactory(&CPause::Create);
    CRef<CBase> made = scheduler.CreatePause();
    EXPECT_TRUE(scheduler.IsPaused());
    made.Reset();
    EXPECT_FALSE(scheduler.IsPaused());
    CScheduler::SetPauseFactory(previous);

    // A pause of a scheduler that has gone holds nothing and resumes nothing.
    CRef<CScheduler> gone = MakeRef<CScheduler>();
    CPause orphan(gone.Get());
    gone.Reset();
    EXPECT_TRUE(orphan.IsPaused());
}

TEST_F(GameTest, AModeLeftFromItsOwnCallbackDiesAfterTheCallback)
{
    m_game->PushMode("rec_a");
    m_game->PushMode("leaver");
    ASSERT_TRUE(Leaver::Exists());
    s_log.clear();
    m_clock.Advance(20);
    m_game->Update(); // under AddressSanitizer a destruction inside the callback would show here
    EXPECT_FALSE(Leaver::Exists());
    EXPECT_EQ(s_log, (std::vector<std::string>{"on rec_a", "ticked", "stop leaver group"}));
    EXPECT_EQ(m_game->GetCurrentScopeId(), HashString("rec_a"));

    // The same for a handler: the pop is seen at once, the mode dies when the handler ends.
    m_game->PushMode("rec_b");
    CLink<CMode> popped(m_game->GetCurrentMode());
    {
        ModeReleaseHold handler;
        {
            ModeReleaseHold nested;
            m_game->PopMode();
        }
        EXPECT_EQ(m_game->GetCurrentScopeId(), HashString("rec_a"));
        EXPECT_TRUE(popped);
        EXPECT_TRUE(GroupMember::Exists());
    }
    EXPECT_FALSE(popped);
    EXPECT_FALSE(GroupMember::Exists());

    // Left and entered again within one handler: the mode lives on, never stopped.
    m_game->PushMode("rec_b");
    CLink<CMode> kept(m_game->GetCurrentMode());
    {
        ModeReleaseHold handler;
        m_game->PopMode();
        m_game->PushMode("rec_b");
    }
    EXPECT_EQ(m_game->GetCurrentMode(), kept.Get());
    EXPECT_TRUE(GroupMember::Exists());
}

TEST_F(GameTest, FrontEndTellsItsOwnScopeAndKeepsItsMenuPond)
{
    static int32_t s_ponds = 0;
    static std::vector<CBase*> s_music;
    s_ponds = 0;
    s_music.clear();
    CModeFrontEnd::MenuHooks hooks;
    hooks.makePond = [](const char*)
    {
        ++s_ponds;
        return MakeRef<CBase>();
    };
    hooks.playMusic = [](CBase* pond) { s_music.push_back(pond); };
    const CModeFrontEnd::MenuHooks previous = CModeFrontEnd::SetMenuHooks(hooks);

    CRef<CModeFrontEnd> front = MakeRef<CModeFrontEnd>("fe_test");
    const auto& queue = m_game->GetScope("fe_test").GetControls().GetQueue();
    front->Activate();
    EXPECT_TRUE(front->IsActive());
    ASSERT_NE(front->GetMenuPond(), nullptr);
    front->Deactivate();
    front->Activate(); // the pond is kept
    EXPECT_EQ(s_ponds, 1);
    ASSERT_EQ(queue.size(), 3u);
    EXPECT_STREQ(queue[0].name, "_activate");
    EXPECT_STREQ(queue[1].name, "_deactivate");
    EXPECT_EQ(s_music, (std::vector<CBase*>{front->GetMenuPond(), nullptr, front->GetMenuPond()}));

    // "refresh" remakes the pond while active, and only drops it while not.
    EXPECT_FALSE(front->OnMessage(InputEvent::Command("refresh", "")));
    EXPECT_EQ(s_ponds, 2);
    front->Deactivate();
    front->OnMessage(InputEvent::Command("refresh", ""));
    EXPECT_EQ(front->GetMenuPond(), nullptr);
    front->Activate();
    EXPECT_EQ(s_ponds, 3);

    CModeFrontEnd::SetMenuHooks(previous);
}
} // namespace
