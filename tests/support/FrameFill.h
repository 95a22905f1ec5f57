#pragma once
// The pixels a program's drawing covers, counted from its draws: the executable is linked with
// the linker's --wrap for glDrawArrays, glDrawElements and glClear (FROG_FILL_WRAP in CMake), and
// while counting every triangle is carried through the current matrices, clipped to the view
// volume and measured in window pixels; a colour clear adds its whole surface. Overlaps are
// counted as often as they are drawn, so the sum over a frame is its fill (its overdraw when
// divided by the screen's area). Main thread only, like the GL calls it wraps.
#include <cstdint>

namespace FrameFill
{
// Zeroes the counts and counts from now on; Stop leaves the counts as they are.
void Start();
void Stop();
// Pixels covered since Start: by draws, and by colour clears.
double DrawnPixels();
double ClearedPixels();
// Draw calls since Start (a clear is not one).
int32_t DrawCount();
} // namespace FrameFill
