#pragma once
// The colour of the entice glows over reachable knobs: (1, 1, 1, 1) at start-up, written by every
// board layer load ("glowcolour"), read by the entice effect when it draws.
#include "core/Vector4.h"

const Vector4<float>& GetEnticeGlowColour();
void SetEnticeGlowColour(const Vector4<float>& colour);
