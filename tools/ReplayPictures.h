#pragma once
// The pictures of the tutorial and the replay: the demonstrating finger, the replay and play
// buttons, and the two strips that ride on the top line of the replay's wipe.
// - "finger" 64x128: a fingertip pointing up (its tip at the top middle), skin and nail.
// - "replay" 128x128: a round button with a turning arrow; "play" 128x128: the same with a
//   triangle.
// - "replayedge0" 8x32: a shadow darkening towards its top (under the line); "replayedge1"
//   8x32: a light fading towards its top (over the line).
#include "tools/CCanvas.h"

CCanvas PaintFinger();
CCanvas PaintReplayButton();
CCanvas PaintPlayButton();
CCanvas PaintReplayEdgeBelow();
CCanvas PaintReplayEdgeAbove();
