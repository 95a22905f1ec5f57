#include "scene/CInstructions.h"

#include "Graphics/CMaterialSet.h"
#include "Graphics/CScreenFlip.h"
#include "Graphics/LodBiasScope.h"
#include "core/CClock.h"
#include "core/CFileSystem.h"
#include "core/CRule.h"
#include "core/CScheduler.h"
#include "core/CXmlNode.h"
#include "core/Colour.h"
#include "core/ContentLimits.h"
#include "core/MathConstants.h"
#include "core/ParseBool.h"
#include "core/TextFields.h"
#include "creatures/CFrog.h"
#include "creatures/CSkeleton.h"
#include "platform/CCursor.h"
#include "platform/CGame.h"
#include "platform/CInput.h"
#include "platform/CView.h"
#include "platform/InputEvent.h"
#include "platform/Scope.h"
#include "puzzle/CPuzzle.h"

#include <algorithm>
#include <cmath>

REGISTER_SINGLETON(CInstructions, "maingame", 50);

namespace
{
CRule<int> s_animationInterval("interval/animation"); // ms

constexpr const char* kScope = "maingame";
const Vector4<float> kShown(1.0f, 1.0f, 1.0f, 1.0f);
const Vector4<float> kHidden(1.0f, 1.0f, 1.0f, 0.0f);

// A set time is never 0, which means "none".
uint32_t Stamp(uint32_t time)
{
    return time | 1u;
}

bool IsTrue(const CXmlNode& element, const char* name)
{
    return ParseBool(element.GetAttribute(name).c_str());
}

float ReadFloat(const CXmlNode& element, const char* name, float def)
{
    const CString& text = element.GetAttribute(name);
    return text.empty() ? def : float(ParseFloat(text.c_str()));
}

CSkeleton* FrogSkeleton()
{
    CFrog* frog = CFrog::Peek();
    return frog ? frog->GetSkeleton() : nullptr;
}
} // namespace

CInstructions::~CInstructions()
{
    Finish();
}

void CInstructions::ReadFinger(const CXmlNode& element)
{
    m_angle = ReadFloat(element, "angle", 0.0f);
    float s2a[2] = {0.0f, 0.0f};
    if (!element.GetAttribute("screen2angle").empty())
        ParseFloatFields(element.GetAttribute("screen2angle").c_str(), s2a, 2);
    m_screen2angle = Vector2<float>(s2a[0], s2a[1]);
    m_scale = ReadFloat(element, "scale", 1.0f);
    const Vector4<float> extent =
        ParseColourText(element.GetAttribute("extent").c_str(), Vector4<float>(-0.5f, -0.5f, 0.5f, 0.5f));
    const Vector4<float> uvs = ParseColourText(element.GetAttribute("uvs").c_str(), Vector4<float>(0.0f, 0.0f, 1.0f, 1.0f));
    const CString& material = element.GetAttribute("material");
    m_finger.SetMaterial(CMaterialSet::Instance()->Find(material.empty() ? CString("finger") : material));
    m_finger.SetQuadRect(0, extent);
    m_finger.SetQuadUv(0, 0, uvs);
    m_finger.scale = Vector2<float>(m_scale, m_scale);
    m_shadow = m_finger;
    m_shadow.SetColour(Vector4<float>(0.0f, 0.0f, 0.0f, 0.5f));
}

void CInstructions::Start(const CString& name)
{
    if (m_busy)
        return;
    m_step = nullptr;
    if (!m_document.Load(name, CFileSystem::kInDataFolder) || !m_document.GetRoot())
        return;
    CXmlNode* root = m_document.GetRoot();
    const CString& modal = root->GetAttribute("modal");
    m_modal = modal.empty() || ParseBool(modal.c_str());
    m_layer = root->GetAttribute("layer");
    if (m_layer.empty())
        m_layer = "cursor";
    m_finger.SetColour(kHidden);
    if (CXmlNode* finger = root->FindChild("finger"))
        ReadFinger(*finger);
    CXmlNode* steps = root->FindChild("steps");
    m_step = steps ? steps->FirstChild() : nullptr;
    while (m_step && m_step->GetName() == CXmlNode::kContentName)
        m_step = m_step->NextSibling();
    m_stepEnd = Stamp(CClock::Now());
    m_name = name;
    if (name == "demo")
        return;
    // In "global", so that the script goes on while the game's own scheduler is paused.
    ScheduleIn("global", s_animationInterval);
    CControl::Register(kScope, "modal");
    CDrawing::Register(kScope, m_layer.c_str());
    m_busy = true;
}

void CInstructions::Abort()
{
    if (m_pane)
        m_pane->Show(false);
    m_step = nullptr;
}

void CInstructions::SetSwallow(bool swallow)
{
    m_swallow = swallow;
    SetModal(swallow);
}

void CInstructions::ApplyStepInput()
{
    CInput::Instance()->SetBlocked(!m_skippable);
    SetSwallow(m_skippable);
}

bool CInstructions::IsCovered()
{
    const CScreenFlip* flip = CScreenFlip::Peek();
    return flip && flip->GetState() != CScreenFlip::kIdle;
}

void CInstructions::Hold()
{
    m_held = true;
    m_heldSince = CClock::Now();
    // The pane takes the player's touches and keys; the finger's press, if any, waits under it
    // (the flip's pause holds the frog, so the limb it drags stays in its hand).
    SetSwallow(false);
    CInput::Instance()->SetBlocked(false);
    // The sprite stands where the finger last touched, which the player never did.
    ShowCursor(false);
}

void CInstructions::Resume()
{
    m_held = false;
    const uint32_t held = uint32_t(std::max(0, CClock::Since(m_heldSince)));
    m_stepStart += held;
    if (m_stepEnd != 0)
        m_stepEnd = Stamp(m_stepEnd + held);
    if (m_skipTime != 0)
        m_skipTime = Stamp(m_skipTime + held);
    ApplyStepInput();
    ShowCursor(true);
    // Blocking forgets the buttons held; the finger's drag goes on as one press.
    if (m_fingerDown)
        CInput::Instance()->SetButton(InputEvent::kLeft, true);
}

void CInstructions::ShowCursor(bool show)
{
    if (CCursor* cursor = CCursor::Peek())
        cursor->SetVisible(show);
}

void CInstructions::Finish()
{
    if (m_held)
        ShowCursor(true);
    m_held = false;
    if (m_busy)
    {
        Unschedule();
        CControl::Unregister();
        if (CDrawing::IsRegistered())
            CDrawing::Unregister(kScope, m_layer.c_str());
        m_busy = false;
    }
    m_imposter.Reset();
    m_pause.Reset();
    m_document.Clear();
    m_step = nullptr;
    m_pane.Reset();
    m_oldPane.Reset();
    if (CSkeleton* skeleton = FrogSkeleton())
        skeleton->SetDisabled(false);
    m_stepEnd = 0;
    m_finger.SetColour(kHidden);
    if (CInput* input = CInput::Peek())
    {
        // Lift the finger where it is, so no press of its own is left held. A press the player
        // is making is left alone: a release posted at the finger's place would end it far
        // away, a swipe that undoes the move just shown.
        if (m_fingerDown)
            MoveFinger(Vector3<float>(m_target.x, m_target.y, 1.0f));
        m_fingerDown = false;
        SetSwallow(false);
        input->SetBlocked(false);
    }
}

void CInstructions::Restart()
{
    if (!m_busy)
        return;
    const CString name = m_name;
    const bool held = m_held;
    Finish();
    Start(name);
    // Still under the pane: held at once, so no frame shows the pointer's sprite over it.
    if (held && m_busy)
        Hold();
}

void CInstructions::ExecuteStep()
{
    if (!m_step)
    {
        Finish();
        return;
    }
    CXmlNode& step = *m_step;
    const uint32_t now = CClock::Now();

    if (IsTrue(step, "imposter"))
    {
        if (!m_imposter)
        {
            m_imposter = CImposter::Create("popout", kImposterTexture);
            m_imposter->SetRecaptureOnRotation(true);
            m_imposter->SetStaleOnRotation(true);
        }
        m_imposter->SetBlur(ReadFloat(step, "bluramount", 2.0f), ReadFloat(step, "blurperiod", 2.0f));
    }
    else
        m_imposter.Reset();

    m_pause.Reset();
    if (IsTrue(step, "pause"))
        m_pause = CGame::Instance()->GetCurrentScope().GetScheduler().CreatePause();

    m_advance = step.GetAttribute("advance");
    m_stepStart = now;
    const CString& duration = step.GetAttribute("duration");
    if (duration.empty())
        m_stepEnd = Stamp(now);
    else
    {
        const double seconds = ParseFloat(duration.c_str());
        m_stepEnd = seconds < 0.0 ? 0 : Stamp(now + uint32_t(SecondsToMs(seconds)));
    }

    const CString& skippable = step.GetAttribute("skippabledelay");
    const double delay = skippable.empty() ? -1.0 : ParseFloat(skippable.c_str());
    m_skippable = m_modal && delay >= 0.0;
    m_skipTime = m_skippable ? Stamp(now + uint32_t(SecondsToMs(delay))) : 0;
    ApplyStepInput();

    if (m_pane)
    {
        m_oldPane = m_pane;
        m_oldPane->Show(false);
        m_pane.Reset();
    }
    if (CXmlNode* pane = step.FindChild("pane"))
    {
        m_pane = CDivPane::CreateFromXml(pane);
        // Its transitions run on the global clock, through the step's pause.
        if (m_pane)
            m_pane->SetClock(&CGame::Instance()->GetScope("global").GetScheduler());
    }

    Pose pose;
    CSkeleton* skeleton = FrogSkeleton();
    if (skeleton && Pose::FromText(step.GetAttribute("pose").c_str(), pose) && pose != Pose::FromSkeleton(*skeleton))
    {
        skeleton->SetPose(pose);
        if (CPuzzle* puzzle = CPuzzle::Peek())
            puzzle->LandSkeleton(*skeleton);
    }

    m_from = m_target;
    const CString& finger = step.GetAttribute("finger");
    if (!finger.empty())
    {
        float p[3];
        ParseFloatFields(finger.c_str(), p, 3);
        m_target = Vector3<float>(p[0], p[1], p[2]);
    }
    if (step.HasAttribute("fingershow"))
        m_finger.SetColour(IsTrue(step, "fingershow") ? kShown : Vector4<float>(0.0f, 0.0f, 0.0f, 0.0f));
    if (IsFingerVisible())
        MoveFinger(m_from);

    m_step = step.NextSibling();
    while (m_step && m_step->GetName() == CXmlNode::kContentName)
        m_step = m_step->NextSibling();
}

void CInstructions::MoveFinger(const Vector3<float>& p)
{
    const float angle = m_angle + p.x * m_screen2angle.x + p.y * m_screen2angle.y;
    const Vector2<float> s = CView::GetCurrent().ViewToScreen(Vector2<float>(p.x, p.y));
    m_height = p.z;
    const float h = p.z + 0.1f;
    m_finger.translation = Vector3<float>(s.x + 8.0f * h, s.y - 16.0f * h, m_finger.translation.z);
    m_finger.rotation = angle + 2.0f * h;
    m_shadow.translation = Vector3<float>(s.x - 8.0f * h, s.y + 16.0f * h, m_shadow.translation.z);
    m_shadow.rotation = angle - 2.0f * h;

    CInput* input = CInput::Peek();
    CGame* game = CGame::Peek();
    if (!input || !game)
        return;
    const bool pressed = p.z <= 0.0f;
    InputEvent::Kind kind = InputEvent::kMotion;
    uint8_t changed = 0;
    if (input->IsButtonDown(InputEvent::kLeft) != pressed)
    {
        kind = pressed ? InputEvent::kButtonDown : InputEvent::kButtonUp;
        changed = InputEvent::kLeft;
        input->SetButton(InputEvent::kLeft, pressed);
        m_fingerDown = pressed;
    }
    input->SetPosition(s);
    game->PostEvent(InputEvent::Pointer(kind, s, input->GetHeldButtons(), changed));
}

Vector3<float> CInstructions::FingerAt(const Vector3<float>& from, const Vector3<float>& target, float t)
{
    const float c = std::clamp(t, 0.0f, 1.0f);
    const float s = c * c * (3.0f - 2.0f * c);
    Vector3<float> p = from + (target - from) * s;
    const Vector2<float> d(target.x - from.x, target.y - from.y);
    const Vector2<float> side = d.y - d.x > 0.0f ? Vector2<float>(-d.y, d.x) : Vector2<float>(d.y, -d.x);
    const float bulge = 0.05f * (1.0f - std::cos(kTwoPi * t));
    p.x += bulge * side.x;
    p.y += bulge * side.y;
    return p;
}

void CInstructions::OnSchedule(float)
{
    if (m_busy && IsCovered() != m_held)
    {
        if (m_held)
            Resume();
        else
            Hold();
    }
    if (m_held)
        return;
    if (m_oldPane && (!m_oldPane->IsShowing() || (m_pane && m_pane->GetTransitionAlpha() >= 1.0f)))
        m_oldPane.Reset();
    // Steps whose time has come run one after another, all in this tick.
    while (m_busy && m_stepEnd != 0 && CClock::Difference(m_stepEnd, CClock::Now()) >= 0)
        ExecuteStep();
    if (!m_busy || !IsFingerVisible())
        return;
    const uint32_t now = CClock::Now();
    const int32_t span = m_stepEnd != 0 ? CClock::Difference(m_stepStart, m_stepEnd) : 0;
    const float t = span > 0 ? float(CClock::Difference(m_stepStart, now)) / float(span) : 1.0f;
    MoveFinger(FingerAt(m_from, m_target, std::min(t, 1.0f)));
}

bool CInstructions::OnPress(const InputEvent&)
{
    if (!m_busy || m_held)
        return false;
    if (m_skipTime != 0 && CClock::Difference(m_skipTime, CClock::Now()) >= 0)
        ExecuteStep();
    return true;
}

bool CInstructions::OnMessage(const InputEvent& event)
{
    if (m_busy && !m_held && !m_advance.empty() && m_advance == event.name)
        ExecuteStep();
    return false;
}

void CInstructions::Draw()
{
    if (m_oldPane)
        m_oldPane->Render();
    if (m_pane)
        m_pane->Render();
    if (!IsFingerVisible())
        return;
    const CView pixels(CView::kPixels);
    const Vector4<int32_t>& viewport = pixels.GetViewport();
    const float k = float(viewport.z + viewport.w) / 800.0f * m_scale;
    m_shadow.scale = m_finger.scale = Vector2<float>(k, k);
    {
        const LodBiasScope bias(1.5f);
        m_shadow.Draw();
    }
    const LodBiasScope bias(m_height * 1.5f);
    m_finger.Draw();
}
