#pragma once
// Makes a pane follow the current pond's nudge (its scroll and parallax offset) by one and a half
// times the nudge's movement on the screen, whatever the show progress. The pond lives above the
// user-interface tree, so the scene installs where the nudge comes from; without a source, or
// without a current pond, the rectangle stays as it is.
#include "core/Vector2.h"
#include "ui/CPaneTransition.h"

class CPaneTransitionPond : public CPaneTransition
{
  public:
    // Sets nudge (view units) to the current pond's and answers true, or false without a pond.
    using NudgeSource = bool (*)(Vector2<float>& nudge);

    void Apply(Vector4<float>& rect, float progress) override;

    static CRef<CPaneTransition> Create();
    // Returns the source it replaces; null installs none.
    static NudgeSource SetNudgeSource(NudgeSource source);
};
