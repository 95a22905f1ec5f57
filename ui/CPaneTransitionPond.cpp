#include "ui/CPaneTransitionPond.h"

#include "platform/CView.h"

#include <utility>

namespace
{
// Screen pixels the pane moves per pixel that the nudge moves the pond.
constexpr float kFollowFactor = 1.5f;

CPaneTransitionPond::NudgeSource s_nudgeSource = nullptr;

const bool s_registered = (CPaneTransition::Register("Pond", &CPaneTransitionPond::Create), true);
} // namespace

void CPaneTransitionPond::Apply(Vector4<float>& rect, float)
{
    Vector2<float> nudge;
    if (!s_nudgeSource || !s_nudgeSource(nudge))
        return;
    const CView& view = CView::GetCurrent();
    const Vector2<float> d = view.ViewToScreen(nudge) - view.ViewToScreen(Vector2<float>(0.0f, 0.0f));
    rect.x += kFollowFactor * d.x;
    rect.y += kFollowFactor * d.y;
}

CRef<CPaneTransition> CPaneTransitionPond::Create()
{
    return MakeRef<CPaneTransitionPond>();
}

CPaneTransitionPond::NudgeSource CPaneTransitionPond::SetNudgeSource(NudgeSource source)
{
    return std::exchange(s_nudgeSource, source);
}
