#pragma once
// Drops a pane in from above the screen: it overshoots its place and settles with a decaying
// swing (exp(-6t) cos(2.5 pi t)), passing its place first at progress 0.2.
// Only y changes, and nothing once the pane is fully shown.
#include "ui/CPaneTransition.h"

class CPaneTransitionJump : public CPaneTransition
{
  public:
    void Apply(Vector4<float>& rect, float progress) override;

    static CRef<CPaneTransition> Create();
};
