#include "ui/CButton.h"

#include "Graphics/CMaterialSet.h"
#include "core/CClock.h"
#include "core/CDictionary.h"
#include "core/CPreferences.h"
#include "core/CRule.h"
#include "core/CScheduler.h"
#include "core/CXmlNode.h"
#include "core/ContentLimits.h"
#include "core/ParseBool.h"
#include "core/Random.h"
#include "core/ReadColourAttribute.h"
#include "core/TextFields.h"
#include "platform/CView.h"
#include "platform/PlatformHooks.h"
#include "ui/CButtonServices.h"
#include "ui/CButtons.h"

#include <algorithm>
#include <cmath>

namespace
{
CRule<float> s_tooltipSize("ui/tooltipsize");         // view units
CRule<float> s_tooltipDelay("ui/tooltipdelay", 0.0f, kMaxContentSeconds);       // seconds
CRule<int> s_animationInterval("interval/animation", CScheduler::kMinAnimationIntervalMs,
                               CScheduler::kMaxAnimationIntervalMs); // ms

// A button skips its look and tip work unless drawn within this many platform frames.
constexpr uint32_t kDrawnFrames = 3;
// How long a click keeps the tip away, and a shortcut shows the pressed look (ms).
constexpr uint32_t kTipAfterClickMs = 1000;
constexpr uint32_t kHoldOffMs = 200;
constexpr int32_t kDefaultFrameMs = 33;
constexpr double kTwoPiDouble = 6.283185307179586;

// The shared look of a button without state sets: frame 0 for every state, no sounds.
const ButtonStateSet s_emptyStateSet;

CLink<CButton> s_current;
CLink<CButton> s_nearest;

float DistanceSquared(const Vector3<float>& centre, const Vector2<float>& point)
{
    const float dx = centre.x - point.x;
    const float dy = centre.y - point.y;
    return dx * dx + dy * dy;
}

// Two comma fields, a missing second repeating the first.
Vector2<float> ReadPair(const CString& text)
{
    float values[2] = {0.0f, 0.0f};
    ParseFloatFields(text.c_str(), values, 2);
    return Vector2<float>(values[0], values[1]);
}

// Whether the tick now has reached time (wrap-safe).
bool Reached(uint32_t now, uint32_t time)
{
    return CClock::Difference(time, now) >= 0;
}
} // namespace

CButton::CButton() : m_drawnStamp(PlatformHooks::GetFrameCount()) {}

CButton::~CButton() = default;

void CButton::Load(const CXmlNode& element)
{
    m_tipTime = 0;
    action = element.GetAttribute("action");
    attributes = element.GetAttribute("attributes");
    m_shortcut = element.GetAttribute("shortcut");
    m_preference = element.GetAttribute("preference");

    const CString& overlaps = element.GetAttribute("overlaps");
    m_overlaps = overlaps.empty() || ParseBool(overlaps.c_str());

    int32_t anchors[2] = {0, 0};
    ParseIntFields(element.GetAttribute("origin").c_str(), anchors, 2);
    m_anchorRight = anchors[0];
    m_anchorBottom = anchors[1];

    float place[3] = {0.0f, 0.0f, 0.0f};
    ParseFloatFields(element.GetAttribute("position").c_str(), place, 3);
    position = Vector3<float>(place[0], place[1], place[2]);

    colour = ReadColourAttribute(&element, "colour", kWhite);
    const CString& scaleText = element.GetAttribute("scale");
    const float scale = scaleText.empty() ? 1.0f : float(ParseFloat(scaleText.c_str()));
    zoom = 1.0f;

    // A load replaces whatever an earlier one read.
    m_radius = Vector2<float>();
    m_activeRadius = Vector2<float>();
    m_frames.clear();
    m_stateSets.clear();
    m_tipText.clear();
    m_frame = 0;
    m_nextFrameTime = CClock::Now();

    CXmlNode* pattern = CButtons::Instance()->FindType(element.GetAttribute("type"));
    if (!pattern)
        return;

    const CString& radius = pattern->GetAttribute("radius");
    m_radius = (radius.empty() ? Vector2<float>(1.0f, 1.0f) : ReadPair(radius)) * scale;
    // Without its own, the hit half size is the scaled radius scaled once more: a scaled button
    // is easier to hit than it is big. Kept as the content is tuned to it.
    const CString& activeRadius = pattern->GetAttribute("activeradius");
    m_activeRadius = activeRadius.empty() ? m_radius * scale : ReadPair(activeRadius) * scale;

    // A "mask" child is reserved for hit masks; owners fill the mask themselves.
    CXmlNode* frames = pattern->FindChild("frames");
    if (!frames)
        return;

    angle = float(ParseFloat(element.GetAttribute("angle").c_str()));
    const Vector4<float> rect(-m_radius.x, -m_radius.y, m_radius.x, m_radius.y);
    m_frames.reserve(size_t(frames->CountChildren()));
    for (CXmlNode* child = frames->FirstChild(); child; child = child->NextSibling())
    {
        if (child->GetName() == CXmlNode::kContentName)
            continue;
        ButtonFrame& frame = m_frames.emplace_back();
        frame.uvs = ReadColourAttribute(child, "uvs", Vector4<float>(0.0f, 0.0f, 1.0f, 1.0f));
        frame.batch =
            QuadBatch(Vector2<float>(), rect, CMaterialSet::Instance()->Find(child->GetAttribute("material")),
                      Vector4<float>(), frame.uvs, angle);
        const CString& duration = child->GetAttribute("duration");
        frame.duration = duration.empty() ? kDefaultFrameMs : ParseInt(duration.c_str());
        const Vector4<float> both = ReadColourAttribute(child, "colour", kWhite);
        frame.colour1 = ReadColourAttribute(child, "colour1", both);
        frame.colour2 = ReadColourAttribute(child, "colour2", both);
        frame.throb = float(ParseFloat(child->GetAttribute("throb").c_str()));
    }

    for (CXmlNode* state = pattern->FindChild("state"); state; state = state->NextSiblingNamed("state"))
    {
        ButtonStateSet& set = m_stateSets.emplace_back();
        for (size_t i = 0; i < set.looks.size(); ++i)
        {
            const CXmlNode* lookElement = state->FindChild(ButtonStateSet::kLookNames[i]);
            if (!lookElement)
                continue;
            ButtonStateLook& look = set.looks[i];
            look.frame = uint32_t(std::max(0, ParseInt(lookElement->GetAttribute("frame").c_str())));
            // "variance" v adds 0 to v, drawn once.
            const int32_t variance = ParseInt(lookElement->GetAttribute("variance").c_str());
            if (variance > 0)
                look.frame += GlobalRandom().Next() % (uint32_t(variance) + 1);
            look.sound = lookElement->GetAttribute("sound");
            look.present = true;
        }
    }

    const CString& tip = element.GetAttribute("tip");
    if (!tip.empty())
        m_tipText = CDictionary::Instance()->GetText(tip);
    const CString& tipSize = element.GetAttribute("tipsize");
    m_tipSize = tipSize.empty() ? s_tooltipSize.Get() : float(ParseFloat(tipSize.c_str()));
    const CString& tipPosition = element.GetAttribute("tipposition");
    m_tipPosition =
        tipPosition.empty() ? Vector2<float>(2.0f * m_radius.x, -0.5f * m_tipSize) : ReadPair(tipPosition);
    const CString& tipDelay = element.GetAttribute("tipdelay");
    m_tipDelay = tipDelay.empty() ? s_tooltipDelay.Get() : float(ParseFloat(tipDelay.c_str()));
}

Vector3<float> CButton::GetScreenPosition() const
{
    const Vector4<float>& view = CView::GetCurrent().GetRect();
    const float x = m_anchorRight ? view.x + view.z - position.x : position.x;
    const float y = m_anchorBottom ? view.y + view.w - position.y : position.y;
    return Vector3<float>(x + offset.x, y + offset.y, position.z);
}

void CButton::SetScreenPosition(const Vector2<float>& point)
{
    const Vector4<float>& view = CView::GetCurrent().GetRect();
    const float x = point.x - offset.x;
    const float y = point.y - offset.y;
    position.x = m_anchorRight ? view.x + view.z - x : x;
    position.y = m_anchorBottom ? view.y + view.w - y : y;
}

bool CButton::HitTest(const Vector2<float>& point) const
{
    const Vector3<float> centre = GetScreenPosition();
    const float halfWidth = zoom * m_activeRadius.x;
    const float halfHeight = zoom * m_activeRadius.y;
    // No area (or a NaN size) is never hit, rather than dividing by zero.
    if (!(halfWidth > 0.0f) || !(halfHeight > 0.0f))
        return false;
    const float u = (point.x - (centre.x - halfWidth)) / (2.0f * halfWidth);
    const float v = (point.y - (centre.y - halfHeight)) / (2.0f * halfHeight);
    if (!(u >= 0.0f && u <= 1.0f && v >= 0.0f && v <= 1.0f))
        return false;
    if (m_hitMask.empty())
        return true;
    const int32_t rows = int32_t(m_hitMask.size());
    const std::vector<bool>& bits = m_hitMask[size_t(std::clamp(int32_t(float(rows) * v), 0, rows - 1))];
    if (bits.empty())
        return false;
    const int32_t columns = int32_t(bits.size());
    return bits[size_t(std::clamp(int32_t(u * float(columns)), 0, columns - 1))];
}

bool CButton::IsEnabled() const
{
    const CButtons* buttons = CButtons::Peek();
    return active && (!buttons || buttons->IsEnabled(action));
}

bool CButton::IsClickable() const
{
    return IsEnabled() && !(transition && transition->IsRunning());
}

void CButton::OnMotion(const Vector2<float>& point, bool held)
{
    m_inside = HitTest(point);
    if (m_inside)
        ClaimIfNearer(s_nearest, point);
    else if (s_nearest.Get() == this)
        s_nearest.Clear(); // the nearest button is one under the pointer
    if (s_current.Get() == this)
        s_current.Clear();

    held = held && m_held;
    const bool clickable = IsClickable();
    const bool pressedInside = clickable && HitTest(m_pressPoint) && m_inside;
    m_hover = !held && clickable && m_inside;
    m_pressedLook = held && pressedInside;
    if ((held && pressedInside) || m_hover)
        ClaimIfNearer(s_current, point);
    Update();
}

bool CButton::OnPress(const Vector2<float>& point)
{
    m_held = true;
    m_pressPoint = IsClickable() ? point : kUnsetVector2f;
    OnMotion(point, true);
    return !m_overlaps && m_inside;
}

bool CButton::OnRelease(const Vector2<float>& point)
{
    bool click = false;
    if (m_held && IsEnabled())
    {
        if (transition && transition->IsRunning())
            click = false;
        else if (m_overlaps && s_current.Get() != this)
            click = false;
        else
            click = HitTest(m_pressPoint) && HitTest(point);
    }
    if (click)
    {
        EndTip();
        // Not shown again until the pointer has stayed a while longer.
        m_tipShown = false;
        m_tipTime = CClock::Now() + kTipAfterClickMs;
        TogglePreference();
        if (!action.empty())
        {
            if (!m_frames.empty())
                m_frame = LimitFrame(GetStateSet().looks[kPressed].frame);
            PostAction();
        }
    }
    m_held = false;
    OnMotion(point, false);
    return click;
}

bool CButton::OnShortcut(const char* name)
{
    if (!name || !*name)
        return false;
    for (int32_t n = 0;; ++n)
    {
        const std::optional<CString> field = FieldOf(m_shortcut.c_str(), n);
        if (!field)
            return false;
        if (*field == name)
        {
            Activate();
            return true;
        }
    }
}

bool CButton::Activate()
{
    if (!IsClickable())
        return false;
    PlayLookSound(kPressed);
    m_pressHoldOff = CClock::Now() + kHoldOffMs;
    m_holdingOff = true;
    TogglePreference();
    PostAction();
    return true;
}

void CButton::Update()
{
    if (IsDrawnLately())
    {
        const uint32_t now = CClock::Now();
        if (!m_preference.empty() && m_stateSets.size() == 2)
            stateSet = CPreferences::Instance()->GetBool(m_preference, false) ? 1 : 0;
        Look(now);
        if (!m_inside)
            m_hoverStart = now;
        UpdateTip(now);
    }
    Animate();
}

void CButton::Animate()
{
    if (m_frame >= m_frames.size())
        return;
    uint32_t target = LimitFrame(GetStateSet().looks[m_state].frame);
    Vector4<float> shade = colour;
    Vector4<float> rect(-m_radius.x, -m_radius.y, m_radius.x, m_radius.y);
    Vector4<float> uvs = m_frames[m_frame].uvs;
    if (transition)
    {
        // The transition reshapes the drawn size, so it sees the rect at the zoom.
        rect *= zoom;
        transition->Apply(*this, shade, rect, uvs, target);
        if (zoom != 0.0f)
            rect /= zoom;
        target = LimitFrame(target);
    }

    const uint32_t now = CClock::Now();
    Vector4<float> colour1;
    Vector4<float> colour2;
    if (m_frame == target)
    {
        m_nextFrameTime = now;
        colour1 = m_frames[m_frame].colour1;
        colour2 = m_frames[m_frame].colour2;
    }
    else
    {
        while (m_frame != target && Reached(now, m_nextFrameTime))
        {
            m_frame = target > m_frame ? m_frame + 1 : m_frame - 1;
            m_nextFrameTime += uint32_t(m_frames[m_frame].duration);
        }
        // Blends from the current frame's colours to the target's as the current frame runs out.
        const ButtonFrame& current = m_frames[m_frame];
        const ButtonFrame& goal = m_frames[target];
        float f = 1.0f;
        if (current.duration != 0)
            f = std::clamp(float(CClock::Difference(now, m_nextFrameTime)) / float(current.duration), 0.0f,
                           1.0f);
        colour1 = goal.colour1 + f * (current.colour1 - goal.colour1);
        colour2 = goal.colour2 + f * (current.colour2 - goal.colour2);
    }

    ButtonFrame& frame = m_frames[m_frame];
    if (frame.throb != 0.0f)
    {
        const double turns = double(frame.throb) * double(now) / 1000.0;
        const float w = float((std::sin(kTwoPiDouble * turns) + 1.0) * 0.5);
        shade *= colour1 + w * (colour2 - colour1);
    }
    else
    {
        shade *= colour1;
    }

    // Always from the frame's own rect and uvs, so that nothing of an ended transition stays.
    frame.batch.SetQuadRect(0, rect);
    frame.batch.SetQuadUv(0, 0, uvs);
    const Vector3<float> centre = GetScreenPosition();
    frame.batch.translation = centre;
    frame.batch.rotation = angle;
    frame.batch.scale = Vector2<float>(zoom, zoom);
    frame.batch.SetColour(shade);
}

void CButton::Draw()
{
    if (m_frame >= m_frames.size())
        return;
    MarkDrawn();
    m_frames[m_frame].batch.Draw();
    if (m_state == kPressed)
    {
        const Vector3<float> centre = GetScreenPosition();
        const Vector2<float> screen = CView::GetCurrent().ViewToScreen(Vector2<float>(centre.x, centre.y));
        CButtonServices& services = CButtonServices::Get();
        services.SetMarkerPosition((services.GetPointerPosition() + screen) * 0.5f);
    }
}

void CButton::MarkDrawn()
{
    m_drawnStamp = PlatformHooks::GetFrameCount();
}

int32_t CButton::GetHoverTime() const
{
    return CClock::Since(m_hoverStart);
}

bool CButton::IsTipDue() const
{
    const CButton* current = s_current.Get();
    return s_nearest.Get() == this && (!current || current == this) &&
           float(GetHoverTime()) / 1000.0f > m_tipDelay;
}

const ButtonStateSet& CButton::GetStateSet() const
{
    return stateSet < m_stateSets.size() ? m_stateSets[stateSet] : s_emptyStateSet;
}

CButton* CButton::GetCurrent()
{
    return s_current.Get();
}

CButton* CButton::GetNearest()
{
    return s_nearest.Get();
}

void CButton::ClaimIfNearer(CLink<CButton>& link, const Vector2<float>& point)
{
    const CButton* holder = link.Get();
    if (holder == this)
        return;
    // A button no longer drawn (a hidden one, whose partner now stands in its place) is hit no
    // more: its claim would keep the button that shows from ever lighting up or showing its tip.
    if (holder && holder->IsDrawnLately() &&
        DistanceSquared(holder->GetScreenPosition(), point) <= DistanceSquared(GetScreenPosition(), point))
        return;
    link.Set(this);
}

bool CButton::IsDrawnLately() const
{
    return uint32_t(PlatformHooks::GetFrameCount()) - uint32_t(m_drawnStamp) < kDrawnFrames;
}

void CButton::Look(uint32_t now)
{
    const uint32_t previous = m_state;
    if (m_holdingOff && Reached(now, m_pressHoldOff))
        m_holdingOff = false;
    if (!IsEnabled())
    {
        m_state = kInactive;
    }
    else if (m_holdingOff)
    {
        m_state = kPressed;
    }
    else if (m_pressedLook && s_current.Get() == this)
    {
        if (previous != kPressed)
            PlayLookSound(kPressed);
        m_state = kPressed;
    }
    else if (m_hover && s_current.Get() == this && GetStateSet().looks[kHover].present)
    {
        if (previous == kNormal || previous == kInactive)
            PlayLookSound(kHover);
        CButtonServices::Get().SetCursor("click", 2 * s_animationInterval.Get());
        m_state = kHover;
    }
    else
    {
        m_state = kNormal;
    }
}

void CButton::UpdateTip(uint32_t now)
{
    switch (m_state)
    {
    case kNormal:
    case kInactive:
        m_tipShown = false;
        m_tipTime = now + uint32_t(SecondsToMs(m_tipDelay));
        break;
    case kHover:
        if (Reached(now, m_tipTime))
            m_tipShown = true;
        if (CBase* floater = m_tip.Get())
        {
            CButtonServices::Get().RefreshTip(floater);
            m_tipTime = now + kTipAfterClickMs;
        }
        else if (m_tipShown && !m_tipText.empty())
        {
            const Vector3<float> centre = GetScreenPosition();
            const Vector2<float> at = Vector2<float>(centre.x, centre.y) + m_tipPosition;
            m_tip.Set(CButtonServices::Get().ShowTip(m_tipText, at, m_tipSize));
        }
        break;
    case kPressed:
        m_tipTime = now;
        break;
    default:
        break;
    }
}

void CButton::EndTip()
{
    if (CBase* floater = m_tip.Get())
        CButtonServices::Get().FinishTip(floater);
    m_tip.Clear();
}

void CButton::TogglePreference()
{
    if (m_preference.empty())
        return;
    CPreferences* preferences = CPreferences::Instance();
    preferences->SetBool(m_preference, !preferences->GetBool(m_preference, false));
}

void CButton::PostAction()
{
    if (!action.empty())
        CButtonServices::Get().PostMessage(action.c_str(), attributes.c_str());
}

void CButton::PlayLookSound(uint32_t state)
{
    const CString& sound = GetStateSet().looks[state].sound;
    if (!sound.empty())
        CButtonServices::Get().PlaySound(sound.c_str());
}

uint32_t CButton::LimitFrame(uint32_t frame) const
{
    const uint32_t last = m_frames.empty() ? 0 : uint32_t(m_frames.size() - 1);
    return std::min({frame, frameCap, last});
}
