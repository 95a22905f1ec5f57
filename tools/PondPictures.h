#pragma once
// The pictures that give the collection's ponds their own weather and light: light on the pond
// floor, mist, the moon and its light, rain, fireflies and falling leaves. Each is deterministic
// and small, so that painting them adds little to a build.
//
// Sheets and their uv rectangles (u0, v0, u1, v1; v = 0 is the top row):
// - "caustics" 256x256, tiles both ways: white lines of light, their strength in alpha.
// - "mist" 256x256, tiles both ways: soft white drifts of fog.
// - "moon" 128x128: a pale full moon in the middle half, its halo fading to the edges.
// - "moonray" 32x128: a cool white light beam (top to bottom), like "ray".
// - "raindrop" 32x32: a clear round bead of rain.
// - "firefly" 32x32: a yellow-green glowing spot, for additive sparkles.
// - "leaves" 128x128, stem down: green 0,0,.5,.5; yellow .5,0,1,.5; orange 0,.5,.5,1;
//   brown .5,.5,1,1.
#include "tools/CCanvas.h"

CCanvas PaintCaustics();
CCanvas PaintMist();
CCanvas PaintMoon();
CCanvas PaintMoonRay();
CCanvas PaintRaindrop();
CCanvas PaintFirefly();
CCanvas PaintLeaves();
