#pragma once
// Easing curves over t in [0, 1]. Both clamp first: t <= 0 gives 0 and t >= 1
// gives 1, so a pulse asked at its very end reads 1, not 0.

// Type 0: quadratic in and out (2t^2, then 1 - 2(1 - t)^2); type 1: cosine in
// and out; any other type: t.
float Ease(int type, float t);

// Type 1: a cosine pulse, 0 at t = 0, 1 at t = 0.5 and back towards 0; any
// other type: t.
float EasePulse(int type, float t);
