#include "core/CFileSystem.h"
#include "core/CSingleton.h"
#include "core/HashString.h"
#include "platform/CDrawing.h"
#include "platform/CDrawings.h"
#include "platform/CGame.h"
#include "platform/PlatformHooks.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{
std::vector<std::string> s_log;
bool s_videoReady = true;
int32_t s_frames = 0;

const char* PassName(uint32_t id)
{
    for (const char* name : {"back", "middle", "front", "unlisted"})
        if (HashString(name) == id)
            return name;
    return "?";
}

class RecordingDrawing : public CDrawing
{
  public:
    explicit RecordingDrawing(std::string tag, const char* coverPass = nullptr)
        : m_tag(std::move(tag)), m_coverPass(coverPass)
    {
    }
    void Draw() override
    {
        s_log.push_back(m_tag + "@" + PassName(GetPassId()));
        if (m_onDraw)
            m_onDraw();
    }
    void OnHidden() override { s_log.push_back("hidden " + m_tag + "@" + PassName(GetPassId())); }
    bool CoversBelow() override { return m_coverPass && GetPassId() == HashString(m_coverPass); }
    void OnListDestroyed() override { s_log.push_back("list gone " + m_tag); }

    std::string m_tag;
    const char* m_coverPass;
    std::function<void()> m_onDraw;
};

class DrawingsTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        s_log.clear();
        s_videoReady = true;
        s_frames = 0;
        CSingleton<CFileSystem>::Toggle(false);
        m_preferences = CFileSystem::SetPreferencesLoader(nullptr);
        m_rules = CFileSystem::SetRulesLoader(nullptr);
        m_data = m_folder.MakeFolder("data");
        CSingleton<CFileSystem>::Instance()->SetFolders(m_folder.MakeFolder("app") + "/", m_data);
        PlatformHooks hooks;
        hooks.beginFrame = []
        {
            if (s_videoReady)
            {
                ++s_frames;
                s_log.push_back("begin");
            }
            return s_videoReady;
        };
        hooks.swapBuffers = [] { s_log.push_back("swap"); };
        hooks.frameCount = [] { return s_frames; };
        m_hooks = PlatformHooks::Install(hooks);
        CSingleton<CGame>::Toggle(false);
        m_game = CGame::Instance();
    }
    void TearDown() override
    {
        CSingleton<CGame>::Toggle(false);
        PlatformHooks::Install(m_hooks);
        CSingleton<CFileSystem>::Toggle(false);
        CFileSystem::SetPreferencesLoader(m_preferences);
        CFileSystem::SetRulesLoader(m_rules);
    }

    void WriteGame()
    {
        m_folder.WriteFile("data/game.xml",
                           "<game>\n  <draw>\n    <pass id=\"back\"/>\n    <pass id=\"middle\"/>\n"
                           "    <pass/>\n    <pass id=\"front\"/>\n  </draw>\n</game>\n");
    }
    // One frame of the current mode, and what it logged.
    std::vector<std::string> Frame()
    {
        s_log.clear();
        m_game->Draw();
        return s_log;
    }

    TempFolder m_folder;
    std::string m_data;
    CFileSystem::LoadHook m_preferences = nullptr;
    CFileSystem::LoadHook m_rules = nullptr;
    PlatformHooks m_hooks;
    CGame* m_game = nullptr;
};

using Log = std::vector<std::string>;

TEST_F(DrawingsTest, PassesDrawInTheGameDocumentsOrderModeBeforeGlobal)
{
    WriteGame();
    m_game->PushMode("drawtest");
    RecordingDrawing front("mode"), back("mode-back"), unlisted("stray"), globalBack("global"),
        globalMiddle("global-mid");
    front.RegisterInCurrentScope("front");
    unlisted.Register("drawtest", "unlisted");
    globalMiddle.Register("global", "middle");
    globalBack.Register("global", "back");
    back.Register("drawtest", "back");

    EXPECT_EQ(Frame(),
              (Log{"begin", "mode-back@back", "global@back", "global-mid@middle", "mode@front", "swap"}));
    CDrawings& list = m_game->GetCurrentScope().GetDrawings();
    EXPECT_EQ(list.GetPassOrder(),
              (std::vector<uint32_t>{HashString("back"), HashString("middle"), HashString("front")}));
    EXPECT_EQ(list.GetDrawCount(), 1);
    EXPECT_EQ(front.GetFrameStamp(), 1);
    EXPECT_EQ(unlisted.GetFrameStamp(), 0);
    EXPECT_TRUE(unlisted.IsRegistered());

    // A video-less frame draws and swaps nothing, yet counts.
    s_videoReady = false;
    EXPECT_EQ(Frame(), Log{});
    EXPECT_EQ(list.GetDrawCount(), 2);
}

TEST_F(DrawingsTest, TheLastCoverHidesEverythingDrawnBeforeIt)
{
    WriteGame();
    m_game->PushMode("drawtest");
    RecordingDrawing early("early"), globalEarly("g-early", "back"), before("before"),
        cover("cover", "middle"), after("after"), globalMiddle("g-mid"), top("top");
    early.Register("drawtest", "back");
    globalEarly.Register("global", "back"); // covers, but a later cover wins
    before.Register("drawtest", "middle");
    cover.Register("drawtest", "middle");
    after.Register("drawtest", "middle");
    globalMiddle.Register("global", "middle");
    top.Register("global", "front");

    EXPECT_EQ(Frame(), (Log{"begin", "hidden early@back", "hidden g-early@back", "hidden before@middle",
                            "cover@middle", "after@middle", "g-mid@middle", "top@front", "swap"}));

    // A cover in the global list of an earlier pass hides the mode's drawings before it.
    cover.Unregister("drawtest", "middle");
    EXPECT_EQ(Frame(), (Log{"begin", "hidden early@back", "g-early@back", "before@middle", "after@middle",
                            "g-mid@middle", "top@front", "swap"}));
}

TEST_F(DrawingsTest, RegistrationsAreCountedAndSurviveChangesWhileDrawing)
{
    WriteGame();
    m_game->PushMode("drawtest");
    RecordingDrawing twice("twice"), self("self"), victim("victim");
    twice.Register("drawtest", "back");
    twice.Register("drawtest", "front");
    EXPECT_EQ(Frame(), (Log{"begin", "twice@back", "twice@front", "swap"}));
    twice.Unregister("drawtest", "back");
    EXPECT_TRUE(twice.IsRegistered());
    twice.Unregister("drawtest", "front");
    EXPECT_FALSE(twice.IsRegistered());

    // While drawing: one drawing leaves, removes the next one, adds a newcomer to a later pass.
    auto newcomer = std::make_unique<RecordingDrawing>("new");
    auto dead = std::make_unique<RecordingDrawing>("dead");
    self.Register("drawtest", "middle");
    victim.Register("drawtest", "middle");
    dead->Register("drawtest", "middle");
    dead.reset(); // dies without unregistering
    self.m_onDraw = [&]
    {
        self.Unregister("drawtest", "middle");
        victim.Unregister("drawtest", "middle");
        newcomer->Register("drawtest", "front");
        newcomer->Register("drawtest", "middle");
    };
    EXPECT_EQ(Frame(), (Log{"begin", "self@middle", "new@middle", "new@front", "swap"}));
    self.m_onDraw = nullptr;
    EXPECT_EQ(m_game->GetCurrentScope().GetDrawings().CountInPass("middle"), 1);
    EXPECT_EQ(Frame(), (Log{"begin", "new@middle", "new@front", "swap"}));

    // The list tells what it still holds when it goes.
    RecordingDrawing kept("kept");
    kept.Register("drawtest", "back");
    s_log.clear();
    CSingleton<CGame>::Toggle(false);
    std::sort(s_log.begin(), s_log.end()); // passes go in no particular order
    EXPECT_EQ(s_log, (Log{"list gone kept", "list gone new", "list gone new"}));
    m_game = CGame::Instance();
}

TEST_F(DrawingsTest, AMissingDocumentOrGlobalListDrawsNothing)
{
    m_game->PushMode("drawtest");
    RecordingDrawing drawing("d");
    drawing.RegisterInCurrentScope("back");
    // No document: the frame is still begun and swapped, and the order read again next time.
    EXPECT_EQ(Frame(), (Log{"begin", "swap"}));
    WriteGame();
    EXPECT_EQ(Frame(), (Log{"begin", "d@back", "swap"}));

    // With no "global" list at all, not even the frame begins.
    CSingleton<CGame>::Toggle(false);
    EXPECT_EQ(CDrawings::GetGlobal(), nullptr);
    CRef<CDrawings> orphan = MakeRef<CDrawings>(HashString("drawtest"));
    orphan->Add(&drawing, "back");
    s_log.clear();
    orphan->Draw();
    EXPECT_EQ(s_log, Log{});
    EXPECT_EQ(orphan->GetDrawCount(), 0);
    orphan.Reset();
    m_game = CGame::Instance();
}
} // namespace
