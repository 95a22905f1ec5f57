#include "core/CRules.h"
#include "core/CSingleton.h"
#include "core/HashString.h"
#include "platform/CControl.h"
#include "platform/CControls.h"
#include "platform/CGame.h"
#include "platform/CMode.h"
#include "platform/InputEvent.h"
#include "support/AppFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace
{
using Log = std::vector<std::string>;
Log s_log;

// A control that writes every handler call as "tag:handler" and answers as told (by default as
// CControl's own default would). A hook runs inside every call, for controls that misbehave.
class Probe : public CControl
{
  public:
    explicit Probe(std::string tag) : m_tag(std::move(tag)) {}

    bool AcceptsPress(const InputEvent& e) override { return Call("accepts", e, CControl::AcceptsPress(e)); }
    bool OnMove(const InputEvent& e) override { return Call("move", e, CControl::OnMove(e)); }
    bool OnClick(const InputEvent& e) override { return Call("click", e, CControl::OnClick(e)); }
    bool OnRightClick(const InputEvent& e) override
    {
        return Call("rightclick", e, CControl::OnRightClick(e));
    }
    bool OnRelease(const InputEvent& e) override { return Call("release", e, CControl::OnRelease(e)); }
    bool OnRightRelease(const InputEvent& e) override
    {
        return Call("rightrelease", e, CControl::OnRightRelease(e));
    }
    bool OnPress(const InputEvent& e) override { return Call("press", e, CControl::OnPress(e)); }
    bool OnRightPress(const InputEvent& e) override
    {
        return Call("rightpress", e, CControl::OnRightPress(e));
    }
    bool OnWheelDown(const InputEvent& e) override { return Call("wheeldown", e, CControl::OnWheelDown(e)); }
    bool OnWheelUp(const InputEvent& e) override { return Call("wheelup", e, CControl::OnWheelUp(e)); }
    bool OnDragBegin(const InputEvent& e) override
    {
        return Call("dragbegin@" + std::to_string(int(e.position.x)) + "," +
                        std::to_string(int(e.position.y)) + "/" + std::to_string(e.held),
                    e, CControl::OnDragBegin(e));
    }
    bool OnDragEnd(const InputEvent& e) override { return Call("dragend", e, CControl::OnDragEnd(e)); }
    bool OnDragCancel(const InputEvent& e) override
    {
        return Call("dragcancel", e, CControl::OnDragCancel(e));
    }
    bool OnKey(const InputEvent& e) override { return Call("key", e, CControl::OnKey(e)); }
    bool OnMessage(const InputEvent& e) override
    {
        return Call(std::string("message ") + e.name + "(" + e.argument + ")", e, CControl::OnMessage(e));
    }

    // Answers by handler name (the part before any "@" or " "); unlisted ones keep the default.
    std::map<std::string, bool> m_answers;
    std::function<void(const std::string& handler)> m_hook;

  private:
    bool Call(const std::string& handler, const InputEvent&, bool fallback)
    {
        s_log.push_back(m_tag + ":" + handler);
        const std::string key = handler.substr(0, handler.find_first_of("@ "));
        const auto found = m_answers.find(key);
        const bool answer = found != m_answers.end() ? found->second : fallback;
        if (m_hook)
            m_hook(key); // may destroy this control: nothing of it is touched afterwards
        return answer;
    }

    std::string m_tag;
};

// A mode that owns controls, as panes and skeletons are owned by what their mode holds.
class OwningMode : public CMode
{
  public:
    explicit OwningMode(const char* name) : CMode(name) {}
    ~OwningMode() override { s_log.push_back("mode gone"); }
    std::vector<std::unique_ptr<Probe>> m_controls;
};

CRef<CMode> MakeOwning(const char* name)
{
    return MakeRef<OwningMode>(CString::ToLower(name).c_str());
}
const bool s_factory = (CMode::RegisterFactory("ctl_owning", &MakeOwning), true);

InputEvent Down(float x, float y, uint8_t held, uint8_t changed)
{
    return InputEvent::Pointer(InputEvent::kButtonDown, Vector2<float>(x, y), held, changed);
}
InputEvent Up(float x, float y, uint8_t held, uint8_t changed)
{
    return InputEvent::Pointer(InputEvent::kButtonUp, Vector2<float>(x, y), held, changed);
}
InputEvent Move(float x, float y, uint8_t held)
{
    return InputEvent::Pointer(InputEvent::kMotion, Vector2<float>(x, y), held, 0);
}
InputEvent KeyDown(uint32_t key)
{
    return InputEvent::Key(true, key, 0, uint16_t(key));
}

class ControlsTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        s_log.clear();
        CControl::ResetDragState();
        m_app.WriteData("rules.xml", "<rules><ui dragdistancemin=\"10\" /></rules>");
        ASSERT_TRUE(CRules::Instance()->Load());
        CSingleton<CGame>::Toggle(false);
        m_game = CGame::Instance();
    }
    void TearDown() override
    {
        CSingleton<CGame>::Toggle(false);
        CControl::ResetDragState();
    }

    void WriteOrder(const std::vector<std::string>& ids)
    {
        std::string text = "<game><draw><pass id=\"ui\"/></draw><control>";
        for (const std::string& id : ids)
            text += "<group id=\"" + id + "\"/>";
        m_app.WriteData("game.xml", text + "</control></game>");
    }
    // Posts the records to the current scope and dispatches them; returns what was logged.
    Log Run(const std::vector<InputEvent>& records)
    {
        s_log.clear();
        for (const InputEvent& record : records)
            m_game->PostEvent(record);
        m_game->ProcessEvents();
        return s_log;
    }

    AppFolder m_app;
    CGame* m_game = nullptr;
};

TEST_F(ControlsTest, GroupsAreOfferedInDocumentOrderModeScopeBeforeGlobal)
{
    WriteOrder({"front", "back", "front"});
    m_game->PushMode("ctl_plain");
    Probe modeBack("m-back"), globalFront("g-front"), modeFront("m-front"), stray("stray"), other("other");
    modeBack.RegisterInCurrentScope("back");
    globalFront.Register("global", "front");
    modeFront.Register("ctl_plain", "front");
    stray.Register("ctl_plain", "unlisted");
    other.Register("ctl_other", "front"); // another mode's scope is never asked

    // Nobody consumes: every listed group in order, the duplicated id twice, the stray never.
    EXPECT_EQ(Run({KeyDown('a')}),
              (Log{"m-front:key", "g-front:key", "m-back:key", "m-front:key", "g-front:key"}));
    CControls& controls = m_game->GetCurrentScope().GetControls();
    EXPECT_EQ(controls.GetGroupOrder(),
              (std::vector<uint32_t>{HashString("front"), HashString("back"), HashString("front")}));
    EXPECT_TRUE(controls.GetQueue().empty());

    // The first control that accepts consumes; nobody after it hears of the record.
    globalFront.m_answers["key"] = true;
    EXPECT_EQ(Run({KeyDown('b')}), (Log{"m-front:key", "g-front:key"}));
    modeFront.m_answers["key"] = true;
    EXPECT_EQ(Run({KeyDown('c')}), (Log{"m-front:key"}));

    // A key up reaches no handler; a command reaches OnMessage.
    EXPECT_EQ(Run({InputEvent::Key(false, 'c', 0, 0)}), Log{});
    modeFront.m_answers.clear();
    globalFront.m_answers.clear();
    s_log.clear();
    m_game->PostMessage("hello", "x");
    m_game->ProcessEvents();
    EXPECT_EQ(s_log[0], "m-front:message hello(x)");
    EXPECT_EQ(s_log.size(), 5u);

    // Registered twice in one group, a control hears each record twice.
    modeBack.RegisterInCurrentScope("back");
    EXPECT_EQ(controls.CountInGroup("back"), 2);
    EXPECT_EQ(Run({KeyDown('d')}),
              (Log{"m-front:key", "g-front:key", "m-back:key", "m-back:key", "m-front:key", "g-front:key"}));
}

TEST_F(ControlsTest, RecordsPostedWhileDispatchingFollowInTheSameCall)
{
    WriteOrder({"g"});
    m_game->PushMode("ctl_plain");
    Probe poster("poster");
    poster.RegisterInCurrentScope("g");
    poster.m_hook = [&](const std::string& handler)
    {
        if (handler == "key")
            CGame::Instance()->PostCommand("after");
    };
    s_log.clear();
    m_game->PostEvent(KeyDown('a'));
    m_game->PostCommand("queued");
    m_game->ProcessEvents();
    EXPECT_EQ(s_log, (Log{"poster:key", "poster:message queued()", "poster:message after()"}));
    EXPECT_TRUE(m_game->GetCurrentScope().GetControls().GetQueue().empty());
}

TEST_F(ControlsTest, RecordsAreDroppedWithoutAGlobalQueueOrAnOrder)
{
    // No "game" document: the order stays empty and records go unseen, until it appears.
    m_game->PushMode("ctl_plain");
    Probe control("c");
    control.RegisterInCurrentScope("g");
    EXPECT_EQ(Run({KeyDown('a')}), Log{});
    EXPECT_TRUE(m_game->GetCurrentScope().GetControls().GetGroupOrder().empty());
    WriteOrder({"g"});
    EXPECT_EQ(Run({KeyDown('a')}), Log{"c:key"});

    // No game, so no "global" queue: a queue of its own drops every record unseen.
    CSingleton<CGame>::Toggle(false);
    ASSERT_EQ(CControls::GetGlobal(), nullptr);
    CRef<CControls> lone = MakeRef<CControls>(HashString("ctl_lone"));
    lone->Add(&control, "g");
    lone->PostEvent(KeyDown('a'));
    lone->PostCommand("x");
    s_log.clear();
    lone->ProcessEvents();
    EXPECT_EQ(s_log, Log{});
    EXPECT_TRUE(lone->GetQueue().empty());
    EXPECT_FALSE(lone->Dispatch(KeyDown('b')));
}

TEST_F(ControlsTest, ModalControlsSwallowAllButSystemCommands)
{
    WriteOrder({"modal", "app"});
    m_game->PushMode("ctl_plain");
    Probe modal("modal"), app("app"), plain("plain");
    modal.SetModal(true);
    modal.Register("global", "modal");
    app.Register("global", "app");

    EXPECT_EQ(Run({KeyDown('a')}), Log{"modal:key"});
    EXPECT_EQ(Run({InputEvent::Command("back", "")}), Log{"modal:message back()"});
    EXPECT_EQ(Run({InputEvent::Command("_gesture", "swipeleft")}),
              (Log{"modal:message _gesture(swipeleft)", "app:message _gesture(swipeleft)"}));
    EXPECT_EQ(Run({Down(5, 5, 1, 1)}), (Log{"modal:accepts", "modal:press"}));
    EXPECT_EQ(Run({Up(5, 5, 0, 1)}), (Log{"modal:click", "modal:release"}));
    // A middle press is accepted but nothing answers for it, so it goes on; so does a key up.
    EXPECT_EQ(Run({Down(5, 5, 2, 2)}), (Log{"modal:accepts", "app:accepts"}));
    EXPECT_EQ(Run({InputEvent::Key(false, 'a', 0, 0)}), Log{});

    // Without the modal flag the defaults consume nothing.
    modal.SetModal(false);
    EXPECT_EQ(Run({InputEvent::Command("back", "")}), (Log{"modal:message back()", "app:message back()"}));

    // Names and arguments are cut to 13 characters on the way in.
    plain.Register("global", "app");
    app.m_answers["message"] = true;
    s_log.clear();
    m_game->PostMessage("abcdefghijklmnopqrst", "0123456789abcdefg");
    m_game->ProcessEvents();
    EXPECT_EQ(s_log, (Log{"modal:message abcdefghijklm(0123456789abc)",
                          "app:message abcdefghijklm(0123456789abc)"}));
}

TEST_F(ControlsTest, PressMoveReleaseIsAClickOrADrag)
{
    WriteOrder({"g"});
    m_game->PushMode("ctl_plain");
    Probe control("c");
    control.RegisterInCurrentScope("g");
    control.m_answers["accepts"] = true;

    // A small move: press, move, click, release; no drag call.
    EXPECT_EQ(Run({Down(100, 100, 1, 1), Move(105, 105, 1), Up(105, 105, 0, 1)}),
              (Log{"c:accepts", "c:press", "c:move", "c:click", "c:release"}));
    EXPECT_FALSE(CControl::IsDragging());

    // Beyond the distance: the drag is offered at the press position; the release ends it
    // instead of clicking.
    control.m_answers["dragbegin"] = true;
    EXPECT_EQ(Run({Down(100, 100, 1, 1), Move(104, 104, 1), Move(106, 108, 1)}),
              (Log{"c:accepts", "c:press", "c:move", "c:dragbegin@100,100/1", "c:move"}));
    EXPECT_TRUE(CControl::IsDragging());
    EXPECT_EQ(CControl::GetDraggingButton(), InputEvent::kLeft);
    EXPECT_EQ(Run({Move(130, 100, 1), Up(130, 100, 0, 1)}), (Log{"c:move", "c:dragend", "c:release"}));
    // The drag outlives its release until the next accepted press, which cancels it first.
    EXPECT_TRUE(CControl::IsDragging());
    EXPECT_EQ(Run({Down(10, 10, 1, 1), Up(10, 10, 0, 1)}),
              (Log{"c:accepts", "c:dragcancel", "c:press", "c:click", "c:release"}));
    EXPECT_FALSE(CControl::IsDragging());

    // Exactly the minimum distance is enough (a 6-8-10 triangle); a hair less is not.
    EXPECT_EQ(Run({Down(0, 0, 1, 1), Move(5.99f, 8, 1)}), (Log{"c:accepts", "c:press", "c:move"}));
    EXPECT_EQ(Run({Move(6, 8, 1), Up(6, 8, 0, 1)}),
              (Log{"c:dragbegin@0,0/1", "c:move", "c:dragend", "c:release"}));

    // The right button drags too, and clicks with its own handlers.
    EXPECT_EQ(Run({Down(0, 0, 4, 4), Up(0, 0, 0, 4)}),
              (Log{"c:accepts", "c:dragcancel", "c:rightpress", "c:rightclick", "c:rightrelease"}));
    EXPECT_EQ(
        Run({Down(0, 0, 4, 4), Move(0, 50, 4), Up(0, 50, 0, 4)}),
        (Log{"c:accepts", "c:rightpress", "c:dragbegin@0,0/4", "c:move", "c:dragend", "c:rightrelease"}));

    // Wheel steps arrive as their buttons' releases; a wheel button's press is a press like any
    // other, so it cancels the drag left over.
    EXPECT_EQ(Run({Down(0, 0, 8, 8), Up(0, 0, 0, 8), Down(0, 0, 16, 16), Up(0, 0, 0, 16)}),
              (Log{"c:accepts", "c:dragcancel", "c:wheelup", "c:accepts", "c:wheeldown"}));

    // A refused press ends the record's handling and keeps the old press position.
    control.m_answers["accepts"] = false;
    EXPECT_EQ(Run({Down(300, 300, 1, 1)}), (Log{"c:accepts"}));
    EXPECT_EQ(CControl::GetPressPosition().y, 0.0f);
}

TEST_F(ControlsTest, DragsAreOfferedOnlyForOneOfLeftOrRightAndEndOnAnyChange)
{
    WriteOrder({"g"});
    m_game->PushMode("ctl_plain");
    Probe control("c");
    control.RegisterInCurrentScope("g");
    control.m_answers["accepts"] = true;
    control.m_answers["dragbegin"] = true;

    // Both buttons, or the middle one: no drag.
    EXPECT_EQ(Run({Down(0, 0, 1, 1), Down(0, 0, 5, 4), Move(50, 50, 5)}),
              (Log{"c:accepts", "c:press", "c:accepts", "c:rightpress", "c:move"}));
    Run({Up(50, 50, 4, 1), Up(50, 50, 0, 4)});
    EXPECT_EQ(Run({Down(0, 0, 2, 2), Move(50, 50, 2)}), (Log{"c:accepts", "c:move"}));
    Run({Up(50, 50, 0, 2)});
    EXPECT_FALSE(CControl::IsDragging());

    // During a left drag a right release delivers a cancel, then releases the right button; the
    // left drag goes on, and its own release ends it.
    Run({Down(0, 0, 1, 1), Move(0, 20, 1)});
    ASSERT_TRUE(CControl::IsDragging());
    control.m_answers["accepts"] = false; // the right press goes unaccepted
    EXPECT_EQ(Run({Down(0, 20, 5, 4), Up(0, 20, 1, 4)}),
              (Log{"c:accepts", "c:dragcancel", "c:rightrelease"}));
    EXPECT_EQ(CControl::GetDraggingButton(), InputEvent::kLeft);
    control.m_answers["accepts"] = true;
    EXPECT_EQ(Run({Up(0, 20, 0, 1)}), (Log{"c:dragend", "c:release"}));

    // An accepted press during a drag cancels it before the press.
    Run({Down(0, 0, 1, 1), Move(0, 20, 1)});
    ASSERT_TRUE(CControl::IsDragging());
    EXPECT_EQ(Run({Down(0, 20, 5, 4)}), (Log{"c:accepts", "c:dragcancel", "c:rightpress"}));
    EXPECT_FALSE(CControl::IsDragging());
    Run({Up(0, 20, 1, 4), Up(0, 20, 0, 1)});

    // A motion whose held mask changed cancels too.
    Run({Down(0, 0, 1, 1), Move(0, 20, 1)});
    ASSERT_TRUE(CControl::IsDragging());
    EXPECT_EQ(Run({Move(0, 20, 3)}), (Log{"c:dragcancel", "c:move"}));
    EXPECT_FALSE(CControl::IsDragging());
}

TEST_F(ControlsTest, EveryControlOfferedARecordSeesTheSameDrag)
{
    WriteOrder({"g"});
    m_game->PushMode("ctl_plain");
    Probe first("a"), second("b");
    first.RegisterInCurrentScope("g");
    second.RegisterInCurrentScope("g");
    first.m_answers["accepts"] = true;
    second.m_answers["dragbegin"] = true;
    second.m_answers["move"] = true;
    // The first control takes the press but not the drag, the second takes the drag; the
    // release reaches both as the drag's end.
    EXPECT_EQ(Run({Down(0, 0, 1, 1), Move(0, 30, 1)}),
              (Log{"a:accepts", "a:press", "b:accepts", "a:dragbegin@0,0/1", "a:move", "b:dragbegin@0,0/1",
                   "b:move"}));
    EXPECT_EQ(Run({Up(0, 30, 0, 1)}), (Log{"a:dragend", "a:release", "b:dragend", "b:release"}));
    // The next accepted press cancels the drag at the control that accepted it, and only there.
    first.m_answers["accepts"] = false;
    second.m_answers["accepts"] = true;
    EXPECT_EQ(Run({Down(0, 0, 1, 1)}), (Log{"a:accepts", "b:accepts", "b:dragcancel", "b:press"}));
    EXPECT_FALSE(CControl::IsDragging());
}

TEST_F(ControlsTest, ControlsMayDieOrLeaveWhileARecordIsDispatched)
{
    WriteOrder({"g", "h"});
    m_game->PushMode("ctl_plain");
    auto self = std::make_unique<Probe>("self");
    auto victim = std::make_unique<Probe>("victim");
    Probe killer("killer"), leaver("leaver"), late("late");
    auto newcomer = std::make_unique<Probe>("new");
    killer.RegisterInCurrentScope("g");
    self->RegisterInCurrentScope("g");
    leaver.RegisterInCurrentScope("g");
    victim->RegisterInCurrentScope("g");
    late.Register("global", "h");

    // One kills a later control, one destroys itself, one leaves every group, and a newcomer
    // joins the group being walked: each live entry is offered once, in order.
    killer.m_hook = [&](const std::string&) { victim.reset(); };
    self->m_hook = [&](const std::string&) { self.reset(); };
    leaver.m_hook = [&](const std::string&)
    {
        leaver.Unregister();
        newcomer->RegisterInCurrentScope("g");
    };
    EXPECT_EQ(Run({KeyDown('a')}), (Log{"killer:key", "self:key", "leaver:key", "new:key", "late:key"}));
    EXPECT_FALSE(leaver.IsRegistered());
    EXPECT_EQ(m_game->GetCurrentScope().GetControls().CountInGroup("g"), 2);
    killer.m_hook = nullptr;
    leaver.m_hook = nullptr;
    EXPECT_EQ(Run({KeyDown('b')}), (Log{"killer:key", "new:key", "late:key"}));

    // A nested dispatch of the same queue (a handler passing a record on) may kill a control
    // that the outer walk has yet to reach.
    auto doomed = std::make_unique<Probe>("doomed");
    doomed->RegisterInCurrentScope("g");
    newcomer->m_hook = [&](const std::string& handler)
    {
        if (handler != "key")
            return;
        CGame::Instance()->GetCurrentScope().GetControls().Dispatch(InputEvent::Command("inner", ""));
        doomed.reset();
    };
    EXPECT_EQ(Run({KeyDown('c')}),
              (Log{"killer:key", "new:key", "killer:message inner()", "new:message inner()",
                   "doomed:message inner()", "late:message inner()", "late:key"}));
    newcomer.reset();
    EXPECT_EQ(m_game->GetCurrentScope().GetControls().CountInGroup("g"), 1);
    EXPECT_EQ(Run({KeyDown('d')}), (Log{"killer:key", "late:key"}));
}

TEST_F(ControlsTest, AControlMayLeaveItsModeFromItsOwnHandler)
{
    WriteOrder({"g"});
    m_game->PushMode("ctl_plain");
    m_game->PushMode("ctl_owning");
    auto* mode = static_cast<OwningMode*>(m_game->GetCurrentMode());
    mode->m_controls.push_back(std::make_unique<Probe>("owned"));
    Probe* owned = mode->m_controls.back().get();
    owned->RegisterInCurrentScope("g");
    Probe below("below");
    below.Register("ctl_plain", "g");

    // The handler pops its own mode, which owns it, and then goes on using itself: the mode
    // dies only once the record is done. The next record still in the popped scope's queue is
    // dispatched there, to nobody, since the control is gone.
    owned->m_hook = [owned](const std::string& handler)
    {
        if (handler != "key")
            return;
        CGame::Instance()->PopMode();
        owned->SetModal(true);
    };
    EXPECT_EQ(Run({KeyDown('a'), KeyDown('b')}), (Log{"owned:key", "mode gone"}));
    EXPECT_EQ(m_game->GetCurrentScopeId(), HashString("ctl_plain"));
    EXPECT_EQ(Run({KeyDown('c')}), Log{"below:key"});
}
} // namespace
