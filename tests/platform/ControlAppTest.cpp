#include "core/CPreferences.h"
#include "core/CResizes.h"
#include "core/CSingleton.h"
#include "platform/CControlApp.h"
#include "platform/CControlFrontEnd.h"
#include "platform/CControls.h"
#include "platform/CGame.h"
#include "platform/CKeyboard.h"
#include "platform/InputEvent.h"
#include "support/AppFolder.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
using Log = std::vector<std::string>;
Log s_log;

// Hears every command that reaches its group, consuming none.
class Listener : public CControl
{
  public:
    bool OnMessage(const InputEvent& event) override
    {
        s_log.push_back(std::string(event.name) +
                        (*event.argument ? std::string("(") + event.argument + ")" : ""));
        return false;
    }
};

class ResizeSpy : public CResizes
{
  public:
    void Invalidate() override { s_log.push_back("invalidate"); }
};

constexpr uint32_t kEsc = 27;
constexpr uint32_t kLShift = 0x0001, kRShift = 0x0002, kLCtrl = 0x0040, kCapsLock = 0x2000, kNumLock = 0x1000;

const char* kGameOrder = "<game><control><group id=\"app\"/><group id=\"after\"/></control></game>";

CControlApp::CommandHooks SpyHooks()
{
    CControlApp::CommandHooks hooks;
    hooks.toggleConsole = [] { s_log.push_back("console"); };
    hooks.reloadMaterials = [] {
        s_log.push_back("materials, volume " +
                        std::string(CPreferences::Instance()->GetString("musicvolume")));
    };
    hooks.rotateTo = [](float degrees) { s_log.push_back("rotate " + std::to_string(int(degrees))); };
    hooks.setActiveById = [](const char* id, bool active)
    { s_log.push_back(std::string(id) + (active ? " on" : " off")); };
    return hooks;
}

class ControlAppTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        s_log.clear();
        m_app.WriteData("game.xml", kGameOrder);
        m_app.WriteData("keyboard.xml", "<keyboard>"
                                        "<_quit key=\"esc\" modifiers=\"shift\"/>"
                                        "<jump key=\"j\"/>"
                                        "<_mute key=\"m\"/>"
                                        "<second key=\"j\"/>"
                                        "<nothing key=\"nosuchkey\"/>"
                                        "<ctrlj key=\"j\" modifiers=\"ctrl,alt\"/>"
                                        "</keyboard>");
        m_previousHooks = CControlApp::SetCommandHooks(SpyHooks());
        CSingleton<CGame>::Toggle(false);
        m_game = CGame::Instance();
        m_listener.Register("global", "after");
    }
    void TearDown() override
    {
        CSingleton<CControlApp>::Toggle(false);
        CSingleton<CGame>::Toggle(false);
        CControlApp::SetCommandHooks(m_previousHooks);
    }

    CControlApp* App() { return CControlApp::Instance(); }
    // What reached the listener (and the hooks) for a key down with these modifiers.
    Log Press(uint32_t key, uint32_t modifiers)
    {
        App();
        s_log.clear();
        m_game->PostEvent(InputEvent::Key(true, key, modifiers, uint16_t(key)));
        m_game->ProcessEvents();
        return s_log;
    }
    // Whether the command was consumed before the listener, which comes after "app".
    bool Consumed(const char* name)
    {
        App();
        s_log.clear();
        m_game->PostMessage(name, "");
        m_game->ProcessEvents();
        for (const std::string& line : s_log)
            if (line == name)
                return false;
        return true;
    }

    AppFolder m_app;
    CGame* m_game = nullptr;
    Listener m_listener;
    CControlApp::CommandHooks m_previousHooks;
};

TEST_F(ControlAppTest, BindingsAreReadInDocumentOrder)
{
    const std::vector<CControlApp::Binding>& bindings = App()->GetBindings();
    ASSERT_EQ(bindings.size(), 6u);
    EXPECT_EQ(bindings[0].action, "_quit");
    EXPECT_EQ(bindings[0].key, kEsc);
    EXPECT_EQ(bindings[0].modifiers, 0x0003u);
    EXPECT_EQ(bindings[1].key, uint32_t('j'));
    EXPECT_EQ(bindings[1].modifiers, 0u);
    EXPECT_EQ(bindings[4].key, 0u) << "a key name missing from the table";
    EXPECT_EQ(bindings[5].modifiers, 0x03C0u);

    // The app's control answers in "global"/"app"; the front end's never joins a group.
    EXPECT_EQ(m_game->GetScope("global").GetControls().CountInGroup("app"), 1);
    EXPECT_FALSE(CControlFrontEnd::Instance()->IsRegistered());
    CSingleton<CControlFrontEnd>::Toggle(false);

    // Without a document there are no bindings, and keys pass on.
    CSingleton<CControlApp>::Toggle(false);
    m_app.WriteData("keyboard.xml", "not xml <");
    EXPECT_TRUE(App()->GetBindings().empty());
    EXPECT_EQ(Press('j', 0), Log{});
}

TEST_F(ControlAppTest, ModifierGroupsMatchEitherSideAndIgnoreLocks)
{
    // The bound action is posted into the queue and reaches the listener later in the same call.
    EXPECT_EQ(Press('j', 0), Log{"jump"}) << "the first matching binding wins";
    EXPECT_EQ(Press('j', kCapsLock | kNumLock), Log{"jump"});
    EXPECT_EQ(Press('j', kLCtrl), Log{}) << "ctrl held: no binding without ctrl matches";
    EXPECT_EQ(Press('j', kLCtrl | 0x0200), Log{"ctrlj"}) << "right alt stands for alt";
    EXPECT_EQ(Press('j', kLCtrl | 0x0200 | kLShift), Log{});

    // "_quit" with shift fires with either shift and not alone (no platform: nothing else).
    App()->SetBinding(kEsc, 0x0003, "quitting");
    EXPECT_EQ(Press(kEsc, kLShift), Log{"quitting"});
    EXPECT_EQ(Press(kEsc, kRShift), Log{"quitting"});
    EXPECT_EQ(Press(kEsc, 0), Log{});

    EXPECT_TRUE(CControlApp::ModifiersMatch(0x0003, 0x0001 | 0x4000));
    EXPECT_FALSE(CControlApp::ModifiersMatch(0x0C00, 0));
}

TEST_F(ControlAppTest, SetBindingReplacesRemovesOrAppends)
{
    CControlApp* app = App();
    app->SetBinding(kEsc, kRShift, "other"); // same groups as "shift": replaced in place
    EXPECT_EQ(app->GetBindings()[0].action, "other");
    EXPECT_EQ(app->GetBindings().size(), 6u);

    app->SetBinding('j', 0, ""); // removes only the first binding of j without modifiers
    EXPECT_EQ(app->GetBindings().size(), 5u);
    EXPECT_EQ(Press('j', 0), Log{"second"});

    app->SetBinding('z', kLCtrl, "zed");
    ASSERT_EQ(app->GetBindings().size(), 6u);
    EXPECT_EQ(app->GetBindings().back().action, "zed");
    EXPECT_EQ(Press('z', 0x0080), Log{"zed"});

    app->SetBinding('y', 0, ""); // nothing to remove: an empty binding is appended
    EXPECT_EQ(app->GetBindings().size(), 7u);
}

TEST_F(ControlAppTest, CommandNamesAreExact)
{
    EXPECT_TRUE(Consumed("_console"));
    EXPECT_EQ(s_log, Log{"console"});
    EXPECT_TRUE(Consumed("_rot090"));
    EXPECT_EQ(s_log, Log{"rotate 90"});
    EXPECT_TRUE(Consumed("_rot270"));
    EXPECT_EQ(s_log, Log{"rotate 270"});

    EXPECT_FALSE(Consumed("_rot090x"));
    EXPECT_FALSE(Consumed("_Quit"));
    EXPECT_FALSE(Consumed("quit"));
    EXPECT_FALSE(Consumed("_reset")) << "the puzzle's command passes on";

    // Without targets installed, the table's commands are still consumed, and no platform
    // layer means quitting and the full-screen switch change nothing.
    CControlApp::SetCommandHooks(CControlApp::CommandHooks());
    EXPECT_TRUE(Consumed("_console"));
    EXPECT_TRUE(Consumed("_rot000"));
    EXPECT_TRUE(Consumed("_quit"));
    EXPECT_TRUE(Consumed("_fullscreen"));
    EXPECT_EQ(s_log, Log{});
}

// (A store that never held the volume reads as 0 too, but the audio system's preferences store
// their defaults at load, so that case cannot be set up here.)
TEST_F(ControlAppTest, MuteTogglesBothVolumesByTheMusicVolume)
{
    m_app.WriteApp("preferences.xml", "<preferences musicvolume=\"0.3\" soundvolume=\"0.5\"/>");
    CPreferences* preferences = CPreferences::Instance();
    EXPECT_TRUE(Consumed("_mute"));
    EXPECT_EQ(s_log, (Log{"muteon on", "muteoff off"}));
    EXPECT_EQ(preferences->GetString("musicvolume"), "0.000000");
    EXPECT_EQ(preferences->GetString("soundvolume"), "0.000000");

    Press('m', 0); // the bound key takes the same way
    EXPECT_EQ(s_log, (Log{"muteon off", "muteoff on"}));
    EXPECT_EQ(preferences->GetString("musicvolume"), "0.800000");
    EXPECT_EQ(preferences->GetString("soundvolume"), "0.800000");

    preferences->SetString("musicvolume", "-1");
    EXPECT_TRUE(Consumed("_mute"));
    EXPECT_EQ(preferences->GetString("musicvolume"), "0.800000") << "below 0 counts as silent";
}

TEST_F(ControlAppTest, RefreshInvalidatesReloadsAndKeepsUnsavedPreferences)
{
    m_app.WriteApp("preferences.xml", "<preferences musicvolume=\"0.5\" name=\"old\"/>");
    CPreferences* preferences = CPreferences::Instance();
    ASSERT_EQ(preferences->GetString("name"), "old");
    // A change still waiting for its delayed save, and a file edited behind the store's back.
    preferences->SetString("musicvolume", "0.25");
    ResizeSpy spy;
    EXPECT_TRUE(Consumed("_refresh"));
    EXPECT_EQ(s_log, (Log{"invalidate", "materials, volume 0.25"}));
    EXPECT_EQ(preferences->GetString("musicvolume"), "0.25") << "the pending change is not lost";
    EXPECT_FALSE(preferences->IsDirty());
    EXPECT_NE(m_app.ReadApp("preferences.xml").find("musicvolume=\"0.25\""), std::string::npos);

    m_app.WriteApp("preferences.xml", "<preferences musicvolume=\"0.25\" name=\"new\"/>");
    EXPECT_TRUE(Consumed("_refresh"));
    EXPECT_EQ(preferences->GetString("name"), "new") << "the file is read again";
}

// Quitting and the full-screen switch act on the platform layer.
class ControlAppPlatformTest : public PlatformTest
{
  protected:
    void SetUp() override
    {
        // Nothing an earlier test in this process left (a file system on another folder).
        CSingletonBase::StopScope(HashString("nuke"));
        PlatformTest::SetUp();
    }
};

TEST_F(ControlAppPlatformTest, QuitEndsTheLoopAndFullScreenKeepsTheMode)
{
    m_folder.WriteFile("data/game.xml", kGameOrder);
    m_folder.WriteFile("data/keyboard.xml", "<keyboard><_quit key=\"q\" modifiers=\"ctrl\"/></keyboard>");
    CDirectJ* layer = Layer();
    ASSERT_TRUE(layer->IsReady());
    CControlApp::Instance();
    CGame* game = CGame::Instance();
    const int modeSets = s_backend->modeSets;

    game->PostCommand("_fullscreen");
    EXPECT_TRUE(layer->Pump());
    EXPECT_EQ(s_backend->modeSets, modeSets);
    EXPECT_FALSE(layer->IsWindowed());

    game->PostEvent(InputEvent::Key(true, 'q', 0, 'q'));
    EXPECT_TRUE(layer->Pump()) << "q alone is not bound";
    game->PostEvent(InputEvent::Key(true, 'q', kLCtrl, 'q'));
    EXPECT_FALSE(layer->Pump());
    EXPECT_FALSE(layer->IsRunning());
}
} // namespace
