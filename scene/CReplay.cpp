#include "scene/CReplay.h"

#include "Graphics/CMaterialSet.h"
#include "Graphics/CTextureSet.h"
#include "core/CRule.h"
#include "core/ContentLimits.h"
#include "core/CScheduler.h"
#include "core/HashString.h"
#include "core/Vector4.h"
#include "creatures/CFrog.h"
#include "creatures/CSkeleton.h"
#include "platform/CAudio.h"
#include "platform/CGame.h"
#include "platform/CInput.h"
#include "platform/CView.h"
#include "platform/InputEvent.h"
#include "platform/Scope.h"
#include "puzzle/CHints.h"
#include "puzzle/CPuzzle.h"
#include "scene/CHintsView.h"
#include "scene/CLayer.h"
#include "scene/CPetals.h"
#include "scene/CPond.h"
#include "ui/CBorder.h"

#include <algorithm>
#include <cfloat>

REGISTER_SINGLETON(CReplay, "maingame", 50);

namespace
{
CRule<float> s_wipeTime("replay/wipetime", 0.0f, kMaxContentSeconds);                 // seconds
CRule<float> s_crossFadeTime("replay/crossfadetime", 0.0f, kMaxContentSeconds);       // seconds
CRule<float> s_beginDelay("replay/begindelay", 0.0f, kMaxContentSeconds);             // seconds
CRule<float> s_continueDelay("replay/continuedelay", 0.0f, kMaxContentSeconds);       // seconds
CRule<float> s_clickableDelay("replay/clickabledelay", 0.0f, kMaxContentSeconds);     // seconds
CRule<Vector2<float>> s_buttonPosition("replay/buttonposition"); // button space
CRule<float> s_buttonRadius("replay/buttonradius");         // button space
// Brightnesses: the button is drawn once per started unit, as the hint button is.
CRule<float> s_buttonMax("replay/buttonmax", 0.0f, CHints::kMaxButtonAlpha);
CRule<float> s_buttonPress("replay/buttonpress", 0.0f, CHints::kMaxButtonAlpha);
CRule<float> s_edgeHeight("replay/edgeheight");             // logical pixels
CRule<int> s_animationInterval("interval/animation");       // ms

constexpr const char* kScope = "maingame";
constexpr const char* kPicture = "_replay";
// Seconds to wait for the picture of the solved scene before replaying without it.
constexpr float kPictureWait = 2.0f;

// A step of progress over a duration in seconds; a duration that is not positive ends at once.
float Advance(float progress, float dt, float seconds)
{
    return seconds > 0.0f ? progress + dt / seconds : 1.0f;
}

float Smooth(float p)
{
    return p * p * (3.0f - 2.0f * p);
}

CSkeleton* FrogSkeleton()
{
    CFrog* frog = CFrog::Peek();
    return frog ? frog->GetSkeleton() : nullptr;
}

void PlaySound(const char* name)
{
    if (CAudio* audio = CAudio::Peek())
        audio->PlaySound(name);
}

void BlockPointer(bool blocked)
{
    if (CInput* input = CInput::Peek())
        input->SetBlocked(blocked);
}

CLayer* OverlayLayer()
{
    CPond* pond = CPond::GetCurrent();
    return pond ? pond->FindLayer("overlay") : nullptr;
}

float ShorterSide()
{
    const Vector4<int32_t>& viewport = CView::GetScreenView().GetViewport();
    return float(std::max(1, std::min(viewport.z, viewport.w)));
}
} // namespace

void CReplay::Init()
{
    CControl::Register(kScope, "game");
}

CReplay::~CReplay()
{
    Reset();
    CControl::Unregister();
}

bool CReplay::IsOnButton(const Vector2<float>& point, const Vector4<int32_t>& viewport)
{
    const Vector2<float> at = CHintsView::ToButtonSpace(point, viewport);
    const Vector2<float> d = s_buttonPosition.Get() - at;
    return d.x * d.x + d.y * d.y < s_buttonRadius * s_buttonRadius;
}

bool CReplay::OnMessage(const InputEvent& event)
{
    const CPuzzle* puzzle = CPuzzle::Peek();
    if (m_state == kIdle && CString(event.name) == "petalsthrown" && puzzle &&
        puzzle->GetCurrentPose() == puzzle->GetGoal())
        Offer();
    return false;
}

void CReplay::Offer()
{
    const float r = s_buttonRadius;
    m_button = QuadBatch(s_buttonPosition.Get(), Vector4<float>(-r, -r, r, r), CMaterialSet::Instance()->Find("replay"),
                         Vector4<float>(1.0f, 1.0f, 1.0f, 1.0f), Vector4<float>(0.0f, 0.0f, 1.0f, 1.0f), 0.0f);
    m_fade = 0.0f;
    m_progress = 0.0f;
    ScheduleIn("global", s_animationInterval);
    CDrawing::Register(kScope, "replay");
    m_state = kOffered;
}

bool CReplay::OnClick(const InputEvent& event)
{
    if (m_state != kOffered || !IsOnButton(event.position, CView::GetScreenView().GetViewport()))
        return false;
    Begin();
    return true;
}

void CReplay::Begin()
{
    // Without the shower's picture of the solved scene there is nothing to wipe away.
    CPetals* petals = CPetals::Peek();
    CImposter* overlay = petals ? petals->GetOverlayImposter() : nullptr;
    CPuzzle* puzzle = CPuzzle::Peek();
    if (!overlay || !puzzle)
        return;
    puzzle->RewindForReplay();
    m_pictureTexture = CTextureSet::Instance()->Get(kPicture);
    m_pictureTexture->ReleaseGL();
    overlay->CaptureTo(kPicture);

    m_progress = 0.0f;
    m_picture = QuadBatch();
    m_picture.SetMaterial(CMaterialSet::Instance()->Find(kPicture));
    m_picture.SetQuadRect(0, Vector4<float>());
    const float e = s_edgeHeight;
    const float w = float(CView::GetScreenView().GetViewport().z);
    m_lowerEdge = QuadBatch(Vector2<float>(), Vector4<float>(0.0f, -e / 2, w, 0.0f),
                            CMaterialSet::Instance()->Find("replayedge0"), Vector4<float>(1.0f, 1.0f, 1.0f, 1.0f),
                            Vector4<float>(0.0f, 0.0f, 1.0f, 1.0f), 0.0f);
    m_upperEdge = QuadBatch(Vector2<float>(), Vector4<float>(0.0f, 0.0f, w, e / 2),
                            CMaterialSet::Instance()->Find("replayedge1"), Vector4<float>(1.0f, 1.0f, 1.0f, 1.0f),
                            Vector4<float>(0.0f, 0.0f, 1.0f, 1.0f), 0.0f);
    CDrawing::Register(kScope, "preplay");
    m_pause = CGame::Instance()->GetCurrentScope().GetScheduler().CreatePause();
    BlockPointer(true);
    m_state = kWaitingForPicture;
}

bool CReplay::IsPictureLive() const
{
    return m_pictureTexture && m_pictureTexture->IsLoaded();
}

void CReplay::DropPicture()
{
    if (IsPictureLive())
        m_pictureTexture->ReleaseGL();
}

void CReplay::Stop()
{
    Unschedule();
    if (CDrawing::IsRegistered())
    {
        CDrawing::Unregister(kScope, "replay");
        CDrawing::Unregister(kScope, "preplay");
    }
    BlockPointer(false);
    m_state = kIdle;
}

void CReplay::OnSchedule(float dt)
{
    switch (m_state)
    {
    case kOffered:
        m_progress = Advance(m_progress, dt, s_clickableDelay);
        m_fade = std::min(2.0f * s_buttonMax * m_progress - s_buttonMax, s_buttonMax.Get());
        break;
    case kWaitingForPicture:
        if (IsPictureLive())
        {
            m_state = kWipe;
            m_progress = 0.0f;
            m_picture.SetQuadRect(0, Vector4<float>());
            m_picture.SetColour(Vector4<float>(1.0f, 1.0f, 1.0f, 1.0f));
            m_fade = s_buttonPress;
            CDrawing::Unregister(kScope, "preplay");
        }
        else if ((m_progress = Advance(m_progress, dt, kPictureWait)) >= 1.0f)
        {
            // The copy never came: replay without the wipe rather than leave the game paused and
            // the pointer blocked for good.
            CDrawing::Unregister(kScope, "preplay");
            if (CPetals* petals = CPetals::Peek())
                petals->Stop();
            m_state = kBeginWait;
            m_progress = 0.0f;
            m_fade = 0.0f;
        }
        break;
    case kWipe:
    {
        m_progress = Advance(m_progress, dt, s_wipeTime);
        const Vector2<int32_t>& logical = CView::GetLogicalSize();
        float k = Smooth(std::min(m_progress, 1.0f)), h = k * float(logical.y);
        if (m_progress >= 1.0f)
        {
            k = 1.0f, h = float(logical.y);
            m_state = kCrossFade;
            m_progress = 0.0f;
            if (CPetals* petals = CPetals::Peek())
                petals->Stop();
            if (CLayer* overlay = OverlayLayer())
            {
                CGame::Instance()->PostCommand("replaying");
                overlay->SetShown(false);
            }
        }
        const float w = float(logical.x);
        m_picture.SetQuadRect(0, Vector4<float>(0.0f, 0.0f, w, h));
        m_picture.SetQuadUv(0, 0, Vector4<float>(0.0f, 0.0f, 1.0f, k));
        for (QuadBatch* edge : {&m_lowerEdge, &m_upperEdge})
        {
            edge->translation = Vector3<float>(0.0f, h, edge->translation.z);
            edge->SetColour(Vector4<float>(1.0f, 1.0f, 1.0f, 1.0f));
        }
        break;
    }
    case kCrossFade:
    {
        m_progress = Advance(m_progress, dt, s_crossFadeTime);
        if (m_progress < 1.0f)
            m_fade = s_buttonPress * (1.0f - m_progress);
        const Vector4<float> colour(1.0f, 1.0f, 1.0f, std::max(0.0f, 1.0f - m_progress));
        m_picture.SetColour(colour);
        m_lowerEdge.SetColour(colour);
        m_upperEdge.SetColour(colour);
        if (m_progress >= 1.0f)
        {
            m_state = kBeginWait;
            m_progress = 0.0f;
            m_fade = 0.0f;
            DropPicture();
        }
        break;
    }
    case kBeginWait:
        m_pause.Reset();
        m_progress = Advance(m_progress, dt, s_beginDelay);
        if (m_progress >= 1.0f)
        {
            m_state = kReplaying;
            m_progress = 1.0f;
            m_fade = 1.0f;
            m_button.SetMaterial(CMaterialSet::Instance()->Find("play"));
        }
        break;
    case kReplaying:
    {
        CSkeleton* skeleton = FrogSkeleton();
        CPuzzle* puzzle = CPuzzle::Peek();
        if (!puzzle)
        {
            Reset();
            break;
        }
        if (!skeleton || skeleton->GetActiveJointIndex() == -1)
        {
            if (m_progress == 0.0f)
                PlaySound("stick");
            m_progress = Advance(m_progress, dt, s_continueDelay);
        }
        if (m_progress >= 1.0f)
        {
            m_progress = 0.0f;
            // A solution with nothing left to redo ends here too, rather than waiting forever.
            if (puzzle->GetCurrentPose() == puzzle->GetGoal() || puzzle->GetRedo().empty())
            {
                if (CLayer* overlay = OverlayLayer())
                    overlay->SetShown(true);
                Stop();
                break;
            }
            PlaySound("unstick");
            const Pose next = puzzle->Redo();
            if (skeleton)
            {
                skeleton->MoveToPose(next);
                skeleton->ReleaseJoint(Vector2<float>(FLT_MAX, FLT_MAX));
            }
        }
        break;
    }
    default:
        break;
    }
}

void CReplay::Draw()
{
    if (GetPassId() == HashString("preplay"))
    {
        if (CBorder* border = CBorder::Peek())
            border->Draw();
        return;
    }
    if (IsPictureLive())
    {
        const CView pixels(CView::kPixels);
        m_picture.Draw();
        m_lowerEdge.Draw();
        m_upperEdge.Draw();
    }
    if (m_fade <= 0.0f)
        return;
    // Button space: the unit is the screen's shorter side.
    const Vector4<int32_t>& viewport = CView::GetScreenView().GetViewport();
    const float side = ShorterSide();
    const CView buttons(viewport, Vector4<float>(0.0f, 0.0f, float(viewport.z) / side, float(viewport.w) / side));
    for (float f : CHints::DrawFactors(m_fade))
    {
        m_button.SetColour(Vector4<float>(f, f, f, f));
        m_button.Draw();
    }
}

void CReplay::Reset()
{
    m_fade = 0.0f;
    DropPicture();
    Unschedule();
    if (CDrawing::IsRegistered())
    {
        CDrawing::Unregister(kScope, "replay");
        CDrawing::Unregister(kScope, "preplay");
    }
    m_pause.Reset();
    BlockPointer(false);
    m_progress = 0.0f;
    m_state = kIdle;
}
