#include "core/CSingleton.h"
#include "platform/CControls.h"
#include "platform/CGame.h"
#include "platform/CInput.h"
#include "platform/CView.h"
#include "platform/InputEvent.h"
#include "support/FakeClock.h"

#include <gtest/gtest.h>

#include <deque>

namespace
{
class InputTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        CSingleton<CInput>::Toggle(false);
        CSingleton<CGame>::Toggle(false);
        m_input = CInput::Instance();
        m_game = CGame::Instance();
        m_game->PushMode("input_test");
    }
    void TearDown() override
    {
        CSingleton<CInput>::Toggle(false);
        CSingleton<CGame>::Toggle(false);
    }

    // Every record posted so far (nothing dispatches the queue here).
    const std::deque<InputEvent>& Posted() { return m_game->GetCurrentScope().GetControls().GetQueue(); }

    FakeClock m_clock;
    CInput* m_input = nullptr;
    CGame* m_game = nullptr;
};

TEST_F(InputTest, OnlyAMoveOfMoreThanTwoPixelsCountsAsRecentMovement)
{
    m_clock.Set(1000);
    m_input->SetPosition(Vector2<float>(2.0f, 0.0f)); // exactly 2 px from the origin
    EXPECT_EQ(m_input->GetPosition().x, 2.0f);
    m_clock.Set(1600);
    EXPECT_FALSE(m_input->HasMovedRecently()); // the start's move time 0 is long past

    m_input->SetPosition(Vector2<float>(2.01f, 0.0f));
    m_clock.Set(1600 + 499);
    EXPECT_TRUE(m_input->HasMovedRecently());
    m_clock.Set(1600 + 500);
    EXPECT_FALSE(m_input->HasMovedRecently());

    // Small steps that add up are measured from the last counted point, not the last position.
    m_input->SetPosition(Vector2<float>(3.5f, 0.0f));
    m_input->SetPosition(Vector2<float>(4.0f, 0.0f));
    m_clock.Advance(100);
    EXPECT_FALSE(m_input->HasMovedRecently());
    m_input->SetPosition(Vector2<float>(4.1f, 0.0f));
    EXPECT_TRUE(m_input->HasMovedRecently());
}

TEST_F(InputTest, PointerEventsKeepTheStateAndPostRecords)
{
    m_input->OnPointerButton(Vector2<float>(10, 20), 1, true);
    m_input->OnPointerMotion(Vector2<float>(15, 25), 1);
    m_input->OnPointerButton(Vector2<float>(15, 25), 3, true);
    EXPECT_TRUE(m_input->IsButtonDown(InputEvent::kLeft | InputEvent::kMiddle));
    EXPECT_FALSE(m_input->IsButtonDown(InputEvent::kMiddle));
    EXPECT_EQ(m_input->GetHeldButtons(), 5);
    m_input->OnPointerButton(Vector2<float>(16, 26), 1, false);
    m_input->OnPointerButton(Vector2<float>(16, 26), 9, false); // not a button of the mask
    // Hover (no button held) is dropped whole: no record, and the position stays.
    m_input->OnPointerMotion(Vector2<float>(99, 99), 0);
    EXPECT_EQ(m_input->GetPosition().x, 16.0f);
    EXPECT_EQ(m_input->GetHeldButtons(), 0); // the system's state is taken over even so

    const std::deque<InputEvent> posted = Posted();
    ASSERT_EQ(posted.size(), 5u);
    EXPECT_EQ(posted[0].kind, InputEvent::kButtonDown);
    EXPECT_EQ(posted[0].held, 1);
    EXPECT_EQ(posted[0].changed, 1);
    EXPECT_EQ(posted[1].kind, InputEvent::kMotion);
    EXPECT_EQ(posted[1].position.y, 25.0f);
    EXPECT_EQ(posted[1].changed, 0);
    EXPECT_EQ(posted[2].held, 5);
    EXPECT_EQ(posted[2].changed, 4);
    EXPECT_EQ(posted[3].kind, InputEvent::kButtonUp);
    EXPECT_EQ(posted[3].held, 4);
    EXPECT_EQ(posted[4].changed, 0);

    m_input->SetButton(InputEvent::kLeft, true);
    m_input->PostPointerEvent();
    ASSERT_EQ(Posted().size(), 6u);
    const InputEvent& motion = Posted().back();
    EXPECT_EQ(motion.kind, InputEvent::kMotion);
    EXPECT_EQ(motion.held, 1);
    EXPECT_EQ(motion.position.x, 16.0f);
}

TEST_F(InputTest, KeysKeepTheirFlagsAndCarryTheModifiersHeld)
{
    m_input->OnKey(304, 0, true); // left shift
    m_input->OnKey('a', 'A', true);
    m_input->OnKey(301, 0, true); // caps lock counts while held
    m_input->OnKey(301, 0, false);
    m_input->OnKey(304, 0, false);
    m_input->OnKey('a', 'a', false);
    m_input->OnKey(400, 7, true); // beyond the flags: posted, never flagged
    EXPECT_FALSE(m_input->IsKeyDown(304));
    EXPECT_FALSE(m_input->IsKeyDown(400));
    EXPECT_FALSE(m_input->IsKeyDown(CInput::kKeyCount));

    const std::deque<InputEvent> posted = Posted();
    ASSERT_EQ(posted.size(), 7u);
    EXPECT_EQ(posted[0].kind, InputEvent::kKeyDown);
    EXPECT_EQ(posted[0].modifiers, 0x0001u);
    EXPECT_EQ(posted[1].key, uint32_t('a'));
    EXPECT_EQ(posted[1].unicode, 'A');
    EXPECT_EQ(posted[1].modifiers, 0x0001u);
    EXPECT_EQ(posted[2].modifiers, 0x2001u);
    EXPECT_EQ(posted[3].kind, InputEvent::kKeyUp);
    EXPECT_EQ(posted[3].modifiers, 0x0001u);
    EXPECT_EQ(posted[4].modifiers, 0u);
    EXPECT_EQ(posted[5].unicode, 0); // a key up carries no character
    EXPECT_EQ(posted[6].key, 400u);

    m_input->OnKey(306, 0, true);
    m_input->OnKey(309, 0, true);
    m_input->OnKey(313, 0, true);
    EXPECT_TRUE(m_input->IsKeyDown(306));
    EXPECT_EQ(m_input->GetModifiers(), 0x0040u | 0x0800u | 0x4000u);
}

TEST_F(InputTest, BlockingForgetsTheHeldButtonsOnlyWhenItChanges)
{
    EXPECT_FALSE(CInput::IsPointerInputBlocked());
    m_input->SetButton(InputEvent::kLeft | InputEvent::kRight, true);
    m_input->SetBlocked(true);
    EXPECT_TRUE(CInput::IsPointerInputBlocked());
    EXPECT_EQ(m_input->GetHeldButtons(), 0);
    m_input->SetButton(InputEvent::kLeft, true); // the tutorial's own finger
    m_input->SetBlocked(true);
    EXPECT_EQ(m_input->GetHeldButtons(), 1);
    m_input->SetBlocked(false);
    EXPECT_FALSE(m_input->IsBlocked());
    EXPECT_EQ(m_input->GetHeldButtons(), 0);

    m_input->SetBlocked(true);
    CSingleton<CInput>::Toggle(false);
    EXPECT_FALSE(CInput::IsPointerInputBlocked()); // no input state: nothing is blocked
}

TEST_F(InputTest, ViewPositionsGoThroughTheCurrentView)
{
    CView board(Vector4<int32_t>(0, 0, 320, 480), Vector4<float>(0, 0, 8, 12));
    m_input->SetPosition(Vector2<float>(160, 240));
    const Vector2<float> inView = m_input->GetViewPosition();
    EXPECT_NEAR(inView.x, 4.0f, 1e-4f);
    EXPECT_NEAR(inView.y, 6.0f, 1e-4f);
    m_input->SetViewPosition(Vector2<float>(2, 3));
    EXPECT_NEAR(m_input->GetPosition().x, 80.0f, 1e-3f);
    EXPECT_NEAR(m_input->GetPosition().y, 120.0f, 1e-3f);
}
} // namespace
