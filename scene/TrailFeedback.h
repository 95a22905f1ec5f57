#pragma once
// The particle trail of a recognised swipe: the scene's side of the gesture feedback. It makes
// the system "trail" bound to the scope "global" (drawn, updated and timed there, so one trail
// made in any mode shows in every mode) and emits along the swipe. The program's wiring installs
// it into CGesture, keeping whatever sound hook is installed.
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/Vector2.h"

#include <cstdint>

class TrailFeedback
{
  public:
    // Puts the three trail hooks into CGesture's feedback hooks; returns true.
    static bool Install();

    // The hooks themselves.
    static CRef<CBase> MakeTrail();
    // The trail's pool size; 0 for anything that is not a particle system.
    static int32_t CapacityOf(CBase* trail);
    // Emits one particle at position (logical pixels) born after delaySeconds; a full pool drops it.
    static void EmitAt(CBase* trail, const Vector2<float>& position, float delaySeconds);
};
