#include "core/CXmlDocument.h"
#include "platform/CInput.h"
#include "platform/InputEvent.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

namespace
{
PlatformEvent Mouse(PlatformEvent::Kind kind, int x, int y, uint8_t buttonOrState)
{
    PlatformEvent event;
    event.kind = kind;
    event.x = x;
    event.y = y;
    if (kind == PlatformEvent::kMouseMotion)
        event.buttonState = buttonOrState;
    else
        event.button = buttonOrState;
    return event;
}

class DirectJTest : public PlatformTest
{
};
} // namespace

TEST(DirectJRules, PacingWaitsOutTheRestOf25Milliseconds)
{
    EXPECT_EQ(CDirectJ::PacingWait(1000, 1010), 15);
    EXPECT_EQ(CDirectJ::PacingWait(1000, 1040), 0);
    EXPECT_EQ(CDirectJ::PacingWait(1000, 1025), 0);
    EXPECT_EQ(CDirectJ::PacingWait(1000, 1000), 25);
    // Late by far, or across the tick's wrap: never a sleep of days.
    EXPECT_EQ(CDirectJ::PacingWait(0, 0x7fffffffu), 0);
    EXPECT_EQ(CDirectJ::PacingWait(0xfffffff0u, 5), 4);
    // A tick that seems to run backwards waits one turn at most.
    EXPECT_EQ(CDirectJ::PacingWait(1000, 990), 25);
    EXPECT_EQ(CDirectJ::PacingWait(0, 0x80000000u), 25);
}

TEST(DirectJRules, FrameDeltaIsClampedToOneMillisecondAndOneTenth)
{
    EXPECT_FLOAT_EQ(CDirectJ::FrameDeltaFor(1), 0.001f);
    EXPECT_FLOAT_EQ(CDirectJ::FrameDeltaFor(0), 0.001f);
    EXPECT_FLOAT_EQ(CDirectJ::FrameDeltaFor(-30), 0.001f);
    EXPECT_FLOAT_EQ(CDirectJ::FrameDeltaFor(2), 0.002f);
    EXPECT_FLOAT_EQ(CDirectJ::FrameDeltaFor(40), 0.04f);
    EXPECT_FLOAT_EQ(CDirectJ::FrameDeltaFor(99), 0.099f);
    EXPECT_FLOAT_EQ(CDirectJ::FrameDeltaFor(100), 0.1f);
    EXPECT_FLOAT_EQ(CDirectJ::FrameDeltaFor(250), 0.1f);
}

TEST(DirectJRules, RotationSnapsToQuarterTurns)
{
    EXPECT_FLOAT_EQ(CDirectJ::SnapRotation(350), 360);
    EXPECT_FLOAT_EQ(CDirectJ::SnapRotation(-90), 270);
    EXPECT_FLOAT_EQ(CDirectJ::SnapRotation(44), 0);
    EXPECT_FLOAT_EQ(CDirectJ::SnapRotation(45), 90);
    EXPECT_FLOAT_EQ(CDirectJ::SnapRotation(720 + 180), 180);

    const Vector2<int> window(320, 480);
    EXPECT_EQ(CDirectJ::LogicalSizeFor(window, 90), Vector2<int>(480, 320));
    EXPECT_EQ(CDirectJ::LogicalSizeFor(window, 270), Vector2<int>(480, 320));
    EXPECT_EQ(CDirectJ::LogicalSizeFor(window, 180), window);
    EXPECT_EQ(CDirectJ::LogicalSizeFor(window, 360), window);
}

TEST(DirectJRules, TouchMapsThroughTheRotation)
{
    const Vector2<int> window(320, 480);
    const Vector2<float> touch(10, 20);
    EXPECT_EQ(CDirectJ::ScreenToLogical(touch, window, 0), touch);
    EXPECT_EQ(CDirectJ::ScreenToLogical(touch, window, 90), Vector2<float>(460, 10));
    EXPECT_EQ(CDirectJ::ScreenToLogical(touch, window, 180), Vector2<float>(310, 460));
    EXPECT_EQ(CDirectJ::ScreenToLogical(touch, window, 270), Vector2<float>(20, 310));
    EXPECT_EQ(CDirectJ::ScreenToLogical(touch, window, 360), touch);

    EXPECT_EQ(InputEvent::ButtonMask(1), 1);
    EXPECT_EQ(InputEvent::ButtonMask(5), 16);
    EXPECT_EQ(InputEvent::ButtonMask(0), 0);
    EXPECT_EQ(InputEvent::ButtonMask(6), 0);
}

TEST(DirectJRules, TextureScaleAndClearValues)
{
    EXPECT_FLOAT_EQ(CDirectJ::TextureScaleFor(Vector2<int>(320, 480), 1), 0.5f);
    EXPECT_FLOAT_EQ(CDirectJ::TextureScaleFor(Vector2<int>(1024, 768), 1), 1.0f);
    // A degenerate screen keeps the scale instead of dividing by zero.
    EXPECT_FLOAT_EQ(CDirectJ::TextureScaleFor(Vector2<int>(0, 0), 0.25f), 0.25f);

    EXPECT_EQ(CDirectJ::ReadClearColour(nullptr), Vector4<float>(0, 0, 0, 0));
    EXPECT_FLOAT_EQ(CDirectJ::ReadClearDepth(nullptr), 0.0f);
    CXmlDocument document;
    ASSERT_TRUE(document.Parse("<rules><ui/></rules>", false));
    EXPECT_EQ(CDirectJ::ReadClearColour(document.GetRoot()), Vector4<float>(0, 0, 0, 1));
    EXPECT_FLOAT_EQ(CDirectJ::ReadClearDepth(document.GetRoot()), 1.0f);
    ASSERT_TRUE(document.Parse("<rules><ui clearcolour=\"#ff0000\" cleardepth=\"-1\"/></rules>", false));
    EXPECT_EQ(CDirectJ::ReadClearColour(document.GetRoot()), Vector4<float>(1, 0, 0, 1));
    EXPECT_FLOAT_EQ(CDirectJ::ReadClearDepth(document.GetRoot()), -1.0f);
    ASSERT_TRUE(document.Parse("<rules><ui clearcolour=\"0.5,0.25\"/></rules>", false));
    EXPECT_EQ(CDirectJ::ReadClearColour(document.GetRoot()), Vector4<float>(0.5f, 0.25f, 0.25f, 0.25f));
}

TEST_F(DirectJTest, InitSetsTheModeAndReadsTheRules)
{
    CDirectJ* layer = Layer();
    ASSERT_NE(s_backend, nullptr);
    EXPECT_EQ(s_backend->caption, "Frog Pond");
    EXPECT_NE(s_backend->filter, nullptr);
    EXPECT_TRUE(layer->IsReady());
    EXPECT_STREQ(layer->GetFailure(), "");
    EXPECT_EQ(layer->GetWindowSize(), Vector2<int>(320, 480));
    EXPECT_EQ(layer->GetSurfaceSize(), Vector2<int>(320, 480));
    EXPECT_EQ(layer->GetClearColour(), Vector4<float>(0.2f, 0.4f, 0.6f, 1));
    EXPECT_FLOAT_EQ(layer->GetClearDepth(), 0.5f);
    EXPECT_FLOAT_EQ(layer->GetTextureScale(), 0.5f);
    EXPECT_FALSE(layer->IsWindowed());

    // The model's clock and the drawing list's frame hooks reach this layer.
    s_backend->now = 5000;
    layer->Pump();
    EXPECT_EQ(CClock::Now(), layer->GetTicks());
    EXPECT_TRUE(PlatformHooks::BeginFrame());
    PlatformHooks::SwapBuffers();
    EXPECT_EQ(s_backend->swaps, 1);
    EXPECT_EQ(PlatformHooks::GetFrameCount(), 1);
}

TEST_F(DirectJTest, AFailedStartIsReportedNotReady)
{
    s_startWorks = false;
    CDirectJ* layer = Layer();
    EXPECT_FALSE(layer->IsReady());
    EXPECT_EQ(s_backend->modeSets, 0);
    EXPECT_STREQ(layer->GetFailure(), "cannot start SDL: no display");
    // The clear values are still read; no frame begins.
    EXPECT_EQ(layer->GetClearColour(), Vector4<float>(0.2f, 0.4f, 0.6f, 1));
    EXPECT_FALSE(layer->BeginFrame());
    EXPECT_EQ(layer->GetFrameCount(), 0);
}

TEST_F(DirectJTest, PumpPacesTurnsAndTimesFrames)
{
    CDirectJ* layer = Layer();
    s_backend->now = 1000;
    layer->Pump(); // the first turn counts from itself
    ASSERT_EQ(s_backend->delays.size(), 1u);
    EXPECT_EQ(s_backend->delays[0], 25u);
    EXPECT_EQ(layer->GetTicks(), 1025u);

    s_backend->now += 10;
    layer->Pump();
    ASSERT_EQ(s_backend->delays.size(), 2u);
    EXPECT_EQ(s_backend->delays[1], 15u);
    EXPECT_EQ(layer->GetTicks(), 1050u);

    s_backend->now += 40;
    layer->Pump();
    EXPECT_EQ(s_backend->delays.size(), 2u);
    EXPECT_EQ(layer->GetTicks(), 1090u);

    // Frame delta from the frame's tick: 1 ms, then a 250 ms stall.
    ASSERT_TRUE(layer->BeginFrame());
    s_backend->now += 1;
    layer->Pump(); // waits, so the tick moves by the full turn
    ASSERT_TRUE(layer->BeginFrame());
    EXPECT_FLOAT_EQ(layer->GetFrameDelta(), 0.025f);
    s_backend->now += 250;
    layer->Pump();
    ASSERT_TRUE(layer->BeginFrame());
    EXPECT_FLOAT_EQ(layer->GetFrameDelta(), 0.1f);
    ASSERT_TRUE(layer->BeginFrame());
    EXPECT_FLOAT_EQ(layer->GetFrameDelta(), 0.001f);
    EXPECT_EQ(layer->GetFrameCount(), 4);
}

TEST_F(DirectJTest, PointerEventsFollowRotationAndBlocking)
{
    CDirectJ* layer = Layer();
    layer->SetRotation(90);
    EXPECT_FLOAT_EQ(layer->GetRotation(), 90);
    EXPECT_EQ(layer->GetLogicalSize(), Vector2<int>(480, 320));

    // Motion with no button held is dropped: the position does not move.
    s_backend->events.push_back(Mouse(PlatformEvent::kMouseMotion, 10, 20, 0));
    EXPECT_TRUE(layer->Pump());
    EXPECT_EQ(CInput::Instance()->GetPosition(), Vector2<float>(0, 0));

    s_backend->events.push_back(Mouse(PlatformEvent::kMouseButtonDown, 10, 20, 1));
    s_backend->events.push_back(Mouse(PlatformEvent::kMouseButtonDown, 10, 20, 3));
    layer->Pump();
    EXPECT_EQ(CInput::Instance()->GetPosition(), Vector2<float>(460, 10));
    EXPECT_EQ(CInput::Instance()->GetHeldButtons(), 1 | 4);
    s_backend->events.push_back(Mouse(PlatformEvent::kMouseButtonUp, 30, 40, 1));
    layer->Pump();
    EXPECT_EQ(CInput::Instance()->GetHeldButtons(), 4);
    EXPECT_EQ(CInput::Instance()->GetPosition(), Vector2<float>(440, 30));

    // While blocked, pointer events are ignored; keys still pass (nothing to see here without a game).
    CInput::Instance()->SetBlocked(true);
    s_backend->events.push_back(Mouse(PlatformEvent::kMouseMotion, 50, 60, 1));
    layer->Pump();
    EXPECT_EQ(CInput::Instance()->GetPosition(), Vector2<float>(440, 30));
    CInput::Instance()->SetBlocked(false);
    s_backend->events.push_back(Mouse(PlatformEvent::kMouseMotion, 50, 60, 1));
    layer->Pump();
    EXPECT_EQ(CInput::Instance()->GetPosition(), Vector2<float>(420, 50));
    EXPECT_EQ(CInput::Instance()->GetHeldButtons(), 1);
}

TEST_F(DirectJTest, QuitEndsTheLoopAfterTheTurnsEvents)
{
    CDirectJ* layer = Layer();
    PlatformEvent quit;
    quit.kind = PlatformEvent::kQuit;
    s_backend->events.push_back(quit);
    s_backend->events.push_back(Mouse(PlatformEvent::kMouseButtonDown, 1, 2, 1));
    EXPECT_FALSE(layer->Pump());
    EXPECT_TRUE(s_backend->events.empty());
    EXPECT_EQ(CInput::Instance()->GetHeldButtons(), 1);
    EXPECT_FALSE(layer->Pump());
}

TEST_F(DirectJTest, ATerminationRequestEndsTheLoopEvenAfterADrain)
{
    CDirectJ* layer = Layer();
    EXPECT_TRUE(layer->Pump());
    s_backend->quitRequested = true;
    layer->DiscardEvents();
    EXPECT_FALSE(layer->Pump());
}

TEST_F(DirectJTest, ResizesThroughFilterAndQueue)
{
    CDirectJ* layer = Layer();
    const int modeSets = s_backend->modeSets;
    PlatformEvent resize;
    resize.kind = PlatformEvent::kVideoResize;
    resize.width = 320;
    resize.height = 480;
    // The filter sees the current size: nothing to do.
    EXPECT_EQ(CDirectJ::EventFilter(resize), 1);
    EXPECT_EQ(layer->GetWindowSize(), Vector2<int>(320, 480));
    // The queued event still sets the mode again, at the native size.
    s_backend->events.push_back(resize);
    layer->Pump();
    EXPECT_EQ(s_backend->modeSets, modeSets + 1);
    EXPECT_EQ(layer->GetWindowSize(), Vector2<int>(320, 480));

    // A new size through the filter is taken at once.
    resize.width = 480;
    resize.height = 320;
    EXPECT_EQ(CDirectJ::EventFilter(resize), 1);
    EXPECT_EQ(layer->GetWindowSize(), Vector2<int>(480, 320));

    // Once video is ready, the unset size and the current size change nothing.
    layer->SetVideoMode(true, CDirectJ::kUnsetSize);
    layer->SetVideoMode(true, layer->GetWindowSize());
    EXPECT_EQ(s_backend->modeSets, modeSets + 1);
}

TEST_F(DirectJTest, DestructionStopsTheSystemAndLetsGoOfTheClock)
{
    Layer();
    const int stops = FakeBackend::s_stops;
    s_backend->now = 700;
    Layer()->Pump();
    EXPECT_NE(CClock::Now(), 0u);
    CSingleton<CDirectJ>::Toggle(false);
    s_backend = nullptr;
    EXPECT_EQ(FakeBackend::s_stops, stops + 1);
    EXPECT_EQ(CClock::Now(), 0u);
    EXPECT_FALSE(PlatformHooks::BeginFrame());
}
