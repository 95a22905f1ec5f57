#include "ui/CPaneTransitionPop.h"

#include "core/MathConstants.h"

#include <cmath>

namespace
{
const bool s_registered = (CPaneTransition::Register("Pop", &CPaneTransitionPop::Create), true);
} // namespace

void CPaneTransitionPop::Apply(Vector4<float>& rect, float progress)
{
    if (progress >= 1.0f)
        return;
    rect.y += (rect.y + rect.w) * std::exp(-6.0f * progress) * std::cos(0.75f * kTwoPi * progress);
}

CRef<CPaneTransition> CPaneTransitionPop::Create()
{
    return MakeRef<CPaneTransitionPop>();
}
