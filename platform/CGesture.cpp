#include "platform/CGesture.h"

#include "core/CRule.h"
#include "platform/CAudio.h"
#include "platform/CDirectJ.h"
#include "platform/CGame.h"
#include "platform/InputEvent.h"

#include <algorithm>
#include <cfloat>
#include <utility>

REGISTER_SINGLETON(CGesture, "global", 50);

namespace
{
// Logical pixels along the major axis a swipe must exceed; not above 0 switches gestures off.
CRule<float> s_swipeLength("gesture/swipelength");
// Major extent over minor extent a swipe must exceed.
CRule<float> s_swipeAspect("gesture/swipeaspect");
// Divides the trail's birth delays (seconds): larger draws the trail faster.
CRule<float> s_feedbackSpeed("gesture/feedbackspeed");
// Widths in pixels of the strips whose presses are swallowed: left, top, right, bottom.
CRule<Vector4<float>> s_modalBorder("gesture/modalborder");

constexpr Vector2<float> kUnset(FLT_MAX, FLT_MAX);

// The swipe's sound is the sample named by its word; particles come from the scene when it
// installs the trail hooks.
void PlayThroughAudio(const char* name)
{
    CSingleton<CAudio>::Instance()->PlaySound(name);
}

CGesture::FeedbackHooks s_hooks{nullptr, nullptr, nullptr, &PlayThroughAudio};

bool IsOn()
{
    return s_swipeLength.Get() > 0.0f;
}
} // namespace

CGesture::FeedbackHooks CGesture::SetFeedbackHooks(const FeedbackHooks& hooks)
{
    return std::exchange(s_hooks, hooks);
}

CGesture::CGesture() : m_start(kUnset) {}

void CGesture::Init()
{
    if (IsOn())
        Register("global", "gesture");
}

bool CGesture::AcceptsPress(const InputEvent&)
{
    return true;
}

bool CGesture::OnPress(const InputEvent& event)
{
    if (!IsOn())
        return false;
    m_start = m_last = m_boundsMin = m_boundsMax = event.position;
    // Event positions are logical, so the strips are measured on the logical screen (the GL
    // viewport is turned and letterboxed). Without a platform there is no screen to border.
    const CDirectJ* platform = CDirectJ::Peek();
    if (!platform)
        return false;
    const Vector2<int> size = platform->GetLogicalSize();
    return InBorder(event.position, Vector2<float>(float(size.x), float(size.y)), s_modalBorder.Get());
}

bool CGesture::OnMove(const InputEvent& event)
{
    if (!IsOn())
        return false;
    if (event.held & InputEvent::kLeft)
    {
        m_last = event.position;
        Include(event.position);
    }
    else
    {
        m_start = kUnset;
    }
    return false;
}

bool CGesture::OnRelease(const InputEvent& event)
{
    if (!IsOn())
        return false;
    m_gesture.clear();
    m_trail.clear();
    if (!IsFollowing())
        return false;
    // The touch is over: a release that arrives without a new press must not post this swipe
    // a second time.
    const Vector2<float> start = std::exchange(m_start, kUnset);
    m_last = event.position;
    Include(event.position);

    const float width = m_boundsMax.x - m_boundsMin.x;
    const float height = m_boundsMax.y - m_boundsMin.y;
    const bool horizontal = width > height; // a square box counts as vertical
    const float major = horizontal ? width : height;
    const float minor = horizontal ? height : width;
    // A minor extent of 0 is an infinitely thin swipe: it passes any aspect.
    if (!(major > s_swipeLength.Get()) || (minor > 0.0f && !(major / minor > s_swipeAspect.Get())))
        return false;

    // Only the ends decide the direction; the box decided the axis.
    if (horizontal)
    {
        const float middle = (start.y + m_last.y) / 2;
        m_trail = {Vector2<float>(start.x, middle), Vector2<float>(m_last.x, middle)};
        m_gesture = m_last.x > start.x ? "swiperight" : "swipeleft";
    }
    else
    {
        const float middle = (start.x + m_last.x) / 2;
        m_trail = {Vector2<float>(middle, start.y), Vector2<float>(middle, m_last.y)};
        m_gesture = m_last.y > start.y ? "swipedown" : "swipeup"; // y grows downwards
    }
    if (CGame* game = CGame::Peek())
        game->PostMessage("_gesture", m_gesture.c_str());
    return false;
}

void CGesture::Cancel()
{
    m_start = kUnset;
}

void CGesture::PlayFeedback()
{
    if (!IsOn())
        return;
    if (!m_trailParticles && s_hooks.makeTrail)
        m_trailParticles = s_hooks.makeTrail();
    if (m_trailParticles && m_trail.size() == 2 && s_hooks.emitAt)
    {
        const Vector2<float> a = m_trail[0];
        const Vector2<float> b = m_trail[1];
        // Half the system's particles, at least one, spread evenly from a towards b.
        const int32_t capacity = s_hooks.capacityOf ? s_hooks.capacityOf(m_trailParticles.Get()) : 0;
        const int32_t count = std::max(1, capacity / 2);
        const float speed = s_feedbackSpeed.Get();
        for (int32_t i = 0; i < count; ++i)
        {
            const float t = float(i) / float(count);
            // Eased in and out along the swipe; with no speed set, all at once.
            const float delay = speed > 0.0f ? t * t * (3.0f - 2.0f * t) / speed : 0.0f;
            s_hooks.emitAt(m_trailParticles.Get(), a + (b - a) * t, delay);
        }
    }
    if (s_hooks.playSound)
        s_hooks.playSound(m_gesture.c_str());
}

bool CGesture::IsFollowing() const
{
    return !(m_start.x == FLT_MAX && m_start.y == FLT_MAX);
}

bool CGesture::InBorder(const Vector2<float>& point, const Vector2<float>& size, const Vector4<float>& strips)
{
    return point.x < strips.x || point.y < strips.y || point.x > size.x - strips.z ||
           point.y > size.y - strips.w;
}

void CGesture::Include(const Vector2<float>& point)
{
    m_boundsMin.x = std::min(m_boundsMin.x, point.x);
    m_boundsMin.y = std::min(m_boundsMin.y, point.y);
    m_boundsMax.x = std::max(m_boundsMax.x, point.x);
    m_boundsMax.y = std::max(m_boundsMax.y, point.y);
}
