#pragma once
// Pops a pane up from below its place: it overshoots and settles with a decaying swing
// (exp(-6t) cos(1.5 pi t)), passing its place first at progress 1/3.
// Only y changes, and nothing once the pane is fully shown.
#include "ui/CPaneTransition.h"

class CPaneTransitionPop : public CPaneTransition
{
  public:
    void Apply(Vector4<float>& rect, float progress) override;

    static CRef<CPaneTransition> Create();
};
