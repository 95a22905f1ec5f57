#include "ui/CPaneTransitionJump.h"

#include "core/MathConstants.h"

#include <cmath>

namespace
{
const bool s_registered = (CPaneTransition::Register("Jump", &CPaneTransitionJump::Create), true);
} // namespace

void CPaneTransitionJump::Apply(Vector4<float>& rect, float progress)
{
    if (progress >= 1.0f)
        return;
    rect.y -= (rect.y + rect.w) * std::exp(-6.0f * progress) * std::cos(1.25f * kTwoPi * progress);
}

CRef<CPaneTransition> CPaneTransitionJump::Create()
{
    return MakeRef<CPaneTransitionJump>();
}
