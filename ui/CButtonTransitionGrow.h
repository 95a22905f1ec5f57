#pragma once
// Grows a button in: from a flattened, tinted start look (phase 1) to its full look (phase 0)
// over "ui/growtransitionduration" seconds of game clock, eased in and out, with the sound
// "grow-in" on arrival. Invariant: it runs until both its current and target phase are 0, so a
// new transition blocks its button (drawn in the start look) until it is started towards 0 and
// has arrived; owners start every transition they attach.
#include "core/CRef.h"
#include "ui/CButtonTransition.h"

class CButtonTransitionGrow : public CButtonTransition
{
  public:
    // Phase 1 (the start look), target phase 1, start time 0.
    static CRef<CButtonTransition> Create();

    void Apply(CButton& button, Vector4<float>& colour, Vector4<float>& rect, Vector4<float>& uvs,
               uint32_t& frame) override;
    bool IsRunning() const override;

    // The blend of the looks of phase and target phase at game time now (ms): 0 is the current
    // phase's look, 1 the target's.
    float BlendAt(int32_t now) const;

  private:
    CButtonTransitionGrow() = default;
};
