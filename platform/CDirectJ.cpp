#include "platform/CDirectJ.h"

#include "Graphics/CGraphics.h"
#include "Graphics/COpenGL.h"
#include "core/CClock.h"
#include "core/CDictionary.h"
#include "core/CResizes.h"
#include "core/CRules.h"
#include "core/CXmlNode.h"
#include "core/Colour.h"
#include "core/TextFields.h"
#include "platform/CAudio.h"
#include "platform/CGame.h"
#include "platform/CInput.h"
#include "platform/CSdlBackend.h"
#include "platform/CView.h"
#include "platform/InputEvent.h"
#include "platform/Pdl.h"
#include "platform/PlatformHooks.h"

#include <algorithm>
#include <cmath>

REGISTER_SINGLETON(CDirectJ, "global", 50);

namespace
{
// Turns are at least this far apart.
constexpr int32_t kTurnMilliseconds = 25;

std::unique_ptr<CPlatformBackend> MakeSdlBackend();

CDirectJ::BackendFactory s_backendFactory = &MakeSdlBackend;

std::unique_ptr<CPlatformBackend> MakeSdlBackend()
{
    return std::make_unique<CSdlBackend>(&CDirectJ::ReleaseGlObjectsHook);
}

// Focus bits of an activation event and the message each one posts, in posting order.
struct FocusMessage
{
    uint8_t bit;
    const char* name;
};
constexpr FocusMessage kFocusMessages[] = {{1, "_mousefocus"}, {2, "_inputfocus"}, {4, "_appactive"}};
}

CDirectJ::BackendFactory CDirectJ::SetBackendFactory(BackendFactory factory)
{
    BackendFactory previous = s_backendFactory;
    s_backendFactory = factory ? factory : &MakeSdlBackend;
    return previous;
}

CDirectJ::CDirectJ() : m_backend(s_backendFactory())
{
}

CDirectJ::~CDirectJ()
{
    PDL_Quit();
    // The mixer outlives this layer (its group ends later) but not SDL's audio: close it first.
    if (CAudio* audio = CAudio::Peek())
        audio->Close();
    // GL objects go while the context lives (its release hook), then SDL: everything that is
    // destroyed after this layer finds no context and must not need one.
    m_backend->Stop();
    if (CClock::GetSource() == &CDirectJ::ReadFrameTick)
        CClock::SetSource(nullptr);
    const PlatformHooks& hooks = PlatformHooks::Installed();
    if (hooks.beginFrame == &CDirectJ::BeginFrameHook)
        PlatformHooks::Install(PlatformHooks());
}

void CDirectJ::Init()
{
    m_rotation = 0.0f;
    m_windowSize = m_secondSize = m_surfaceSize = Vector2<int>(320, 480);
    m_windowed = false;

    // The schedulers and the drawing lists see the platform only through these.
    CClock::SetSource(&CDirectJ::ReadFrameTick);
    PlatformHooks hooks;
    hooks.beginFrame = &CDirectJ::BeginFrameHook;
    hooks.swapBuffers = &CDirectJ::SwapBuffersHook;
    hooks.setFrameMark = &CDirectJ::SetFrameMarkHook;
    hooks.frameCount = &CDirectJ::FrameCountHook;
    PlatformHooks::Install(hooks);

    if (m_backend->Start())
    {
        m_backend->SetCaption(CDictionary::Instance()->GetText("app_name").c_str());
        m_backend->SetEventFilter(&CDirectJ::EventFilter);
        SetVideoMode(m_windowed, kUnsetSize);
    }
    if (!m_videoReady)
        m_failure = m_backend->GetFailure();
    ReadClearValues();
}

bool CDirectJ::Pump()
{
    m_tick = m_backend->GetTicks();
    if (!m_pumped)
    {
        m_lastPumpTick = m_tick;
        m_pumped = true;
    }
    const int32_t wait = PacingWait(m_lastPumpTick, m_tick);
    if (wait > 0)
    {
        m_backend->Delay(uint32_t(wait));
        m_tick = m_backend->GetTicks();
    }
    m_lastPumpTick = m_tick;

    CGame* game = CGame::Peek();
    if (game)
        game->ProcessEvents();
    PlatformEvent event;
    while (m_backend->PollEvent(&event))
    {
        HandleEvent(event);
        // A handler may end the game (an expose draws, a key may pop modes): look it up again.
        if ((game = CGame::Peek()) != nullptr)
            game->ProcessEvents();
    }
    if (m_backend->IsQuitRequested())
        m_running = false;
    return m_running;
}

void CDirectJ::SetVideoMode(bool, const Vector2<int>& size)
{
    if (m_videoReady)
    {
        if (size == kUnsetSize || size == m_windowSize)
            return;
        CResizes::InvalidateAll();
    }
    Vector2<int> surface;
    if (!m_backend->SetVideoMode(&surface))
        return;
    m_windowSize = m_surfaceSize = surface;
    m_videoReady = true;
    AdvanceDisplayGeneration();
    CGraphics* graphics = CGraphics::Instance();
    if (m_backend->HasGlContext())
        graphics->InitState();
    SetScreenSize(m_windowSize);
}

void CDirectJ::SetScreenSize(const Vector2<int>& size)
{
    m_windowSize = size;
    const Vector2<int> logical = GetLogicalSize();
    CView::SetScreenFromRules(Vector2<int32_t>(logical.x, logical.y), m_rotation);
    m_textureScale = TextureScaleFor(logical, m_textureScale);
    CResizes::ResizeAll();
}

void CDirectJ::SetRotation(float degrees)
{
    const float rotation = SnapRotation(degrees);
    if (rotation == m_rotation)
        return;
    m_rotation = rotation;
    AdvanceDisplayGeneration();
    SetScreenSize(m_windowSize);
}

Vector2<int> CDirectJ::GetLogicalSize() const
{
    return LogicalSizeFor(m_windowSize, m_rotation);
}

Vector2<float> CDirectJ::ScreenToLogical(const Vector2<float>& point) const
{
    return ScreenToLogical(point, m_windowSize, m_rotation);
}

void CDirectJ::OnResize(const Vector2<int>& size)
{
    if (size == m_windowSize)
        return;
    SetScreenSize(size);
    if (CGame* game = CGame::Peek())
        game->Draw();
}

int CDirectJ::EventFilter(const PlatformEvent& event)
{
    if (event.kind == PlatformEvent::kVideoResize)
    {
        if (CDirectJ* layer = Peek())
            layer->OnResize(Vector2<int>(event.width, event.height));
    }
    return 1;
}

bool CDirectJ::IsReady() const
{
    const CGraphics* graphics = CGraphics::Peek();
    return graphics && graphics->IsInitialised() && m_videoReady;
}

bool CDirectJ::BeginFrame()
{
    if (!m_videoReady)
        return false;
    m_frameDelta = FrameDeltaFor(CClock::Difference(m_lastFrameTick, m_tick));
    m_lastFrameTick = m_tick;
    m_frameRate = (1.0f / m_frameDelta) * 0.5f + m_frameRate * 0.5f;

    CGraphics* graphics = CGraphics::Instance();
    graphics->InvalidateState();
    const bool colour = m_clearColour.w > 0.0f;
    const bool depth = m_clearDepth >= 0.0f;
    if (colour && depth)
        graphics->Clear(m_clearColour, m_clearDepth);
    else if (colour)
        graphics->ClearColour(m_clearColour);
    else if (depth)
        graphics->ClearDepth(m_clearDepth);
    ++m_frameCount;
    return true;
}

void CDirectJ::SwapBuffers()
{
    m_backend->SwapBuffers();
}

void CDirectJ::DiscardEvents()
{
    PlatformEvent event;
    while (m_backend->PollEvent(&event))
    {
        // Closing the window is not input: the program ends once it can.
        if (event.kind == PlatformEvent::kQuit)
            m_running = false;
    }
}

bool CDirectJ::IsAppActive()
{
    return m_backend->IsAppActive();
}

void CDirectJ::Delay(uint32_t milliseconds)
{
    m_backend->Delay(milliseconds);
}

void CDirectJ::LaunchBrowser(const char* url)
{
    PDL_LaunchBrowser(url);
}

bool CDirectJ::CheckCaps(const CString& list) const
{
    if (list.empty())
        return true;
    for (int32_t n = 0;; ++n)
    {
        const std::optional<CString> field = FieldOf(list.c_str(), n);
        if (!field)
            return true;
        if (!COpenGL::Instance()->TestCaps(field->c_str()))
            return false;
    }
}

int32_t CDirectJ::PacingWait(uint32_t lastPumpTick, uint32_t tick)
{
    // Signed: a late turn gives a negative wait, never a sleep of days; a tick that seems to run
    // backwards (or 2^31 ms away) waits at most one turn.
    const int64_t wait = int64_t(kTurnMilliseconds) - CClock::Difference(lastPumpTick, tick);
    return int32_t(std::clamp<int64_t>(wait, 0, kTurnMilliseconds));
}

float CDirectJ::FrameDeltaFor(int32_t elapsed)
{
    if (elapsed < 2)
        return 0.001f;
    if (elapsed < 100)
        return float(elapsed) * 0.001f;
    return 0.1f;
}

float CDirectJ::SnapRotation(float degrees)
{
    const double remainder = double(degrees) - std::floor(double(degrees) / 360.0) * 360.0;
    const double quarter = std::floor(remainder / 90.0 + 0.5);
    return float(quarter * 90.0);
}

Vector2<int> CDirectJ::LogicalSizeFor(const Vector2<int>& windowSize, float rotation)
{
    if (rotation == 90.0f || rotation == 270.0f)
        return Vector2<int>(windowSize.y, windowSize.x);
    return windowSize;
}

Vector2<float> CDirectJ::ScreenToLogical(const Vector2<float>& p, const Vector2<int>& windowSize, float rotation)
{
    const float w = float(windowSize.x);
    const float h = float(windowSize.y);
    switch (int(rotation / 90.0f))
    {
    case 1:
        return Vector2<float>(h - p.y, p.x);
    case 2:
        return Vector2<float>(w - p.x, h - p.y);
    case 3:
        return Vector2<float>(p.y, w - p.x);
    default:
        return p;
    }
}

float CDirectJ::TextureScaleFor(const Vector2<int>& logicalSize, float previous)
{
    const int larger = std::max(logicalSize.x, logicalSize.y);
    if (larger <= 0)
        return previous;
    return float(1.0 / double(1024 / (larger + larger / 2) + 1));
}

Vector4<float> CDirectJ::ReadClearColour(const CXmlNode* rulesRoot)
{
    if (!rulesRoot)
        return Vector4<float>(0, 0, 0, 0);
    return ParseColourText(rulesRoot->GetAttribute("ui/clearcolour").c_str(), Vector4<float>(0, 0, 0, 1));
}

float CDirectJ::ReadClearDepth(const CXmlNode* rulesRoot)
{
    if (!rulesRoot)
        return 0.0f;
    const CString& text = rulesRoot->GetAttribute("ui/cleardepth");
    return text.empty() ? 1.0f : float(ParseFloat(text.c_str()));
}

void CDirectJ::ReleaseGlObjectsHook()
{
    // The context is current and about to go: every holder of GL objects drops them now, so
    // nothing deletes a GL name later without a context.
    CResizes::InvalidateAll();
    if (CGraphics* graphics = CGraphics::Peek())
        graphics->ReleaseState();
}

void CDirectJ::HandleEvent(const PlatformEvent& event)
{
    switch (event.kind)
    {
    case PlatformEvent::kActive:
        if (CInput::IsPointerInputBlocked())
            break;
        for (const FocusMessage& focus : kFocusMessages)
        {
            if ((event.state & focus.bit) == 0)
                continue;
            if (CGame* game = CGame::Peek())
                game->PostMessage(focus.name, event.gain ? "gained" : "lost");
        }
        break;
    case PlatformEvent::kKeyDown:
    case PlatformEvent::kKeyUp:
    {
        // The input state keeps the key and posts its record, with modifiers from the keys held.
        const bool down = event.kind == PlatformEvent::kKeyDown;
        CInput::Instance()->OnKey(uint32_t(event.key), down ? event.unicode : 0, down);
        break;
    }
    case PlatformEvent::kMouseMotion:
    case PlatformEvent::kMouseButtonDown:
    case PlatformEvent::kMouseButtonUp:
        if (!CInput::IsPointerInputBlocked())
            HandleMouse(event);
        break;
    case PlatformEvent::kQuit:
        m_running = false;
        break;
    case PlatformEvent::kVideoResize:
        m_windowSize = kUnsetSize;
        SetVideoMode(m_windowed, Vector2<int>(event.width, event.height));
        break;
    case PlatformEvent::kVideoExpose:
        if (CGame* game = CGame::Peek())
            game->Draw();
        break;
    case PlatformEvent::kOther:
        break;
    }
}

void CDirectJ::HandleMouse(const PlatformEvent& event)
{
    const Vector2<float> position = ScreenToLogical(Vector2<float>(float(event.x), float(event.y)));
    CInput* input = CInput::Instance();
    if (event.kind == PlatformEvent::kMouseMotion)
        input->OnPointerMotion(position, event.buttonState);
    else
        input->OnPointerButton(position, event.button, event.kind == PlatformEvent::kMouseButtonDown);
}

uint32_t CDirectJ::ReadFrameTick()
{
    const CDirectJ* layer = Peek();
    return layer ? layer->m_tick : 0;
}

bool CDirectJ::BeginFrameHook()
{
    CDirectJ* layer = Peek();
    return layer && layer->BeginFrame();
}

void CDirectJ::SwapBuffersHook()
{
    if (CDirectJ* layer = Peek())
        layer->SwapBuffers();
}

void CDirectJ::SetFrameMarkHook()
{
    if (CDirectJ* layer = Peek())
        layer->SetFrameMark();
}

int32_t CDirectJ::FrameCountHook()
{
    const CDirectJ* layer = Peek();
    return layer ? layer->GetFrameCount() : 0;
}

void CDirectJ::ReadClearValues()
{
    const CXmlNode* root = CRules::Instance()->GetRoot();
    m_clearColour = ReadClearColour(root);
    m_clearDepth = ReadClearDepth(root);
}
