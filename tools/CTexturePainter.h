#pragma once
// Paints the game's textures from small recipes (shapes, shading and tiling noise), at power-of-two
// sizes but for the whole-screen loading picture, as PNG files. Invariant: a picture depends on
// nothing but its name, so every build writes the same bytes.
//
// Sheets and their uv rectangles (u0, v0, u1, v1; v = 0 is the top row of the picture):
// - "startup" 320x480 opaque: the loading picture, the phone's 2:3 portrait screen.
// - "droplet" 256x256 opaque: grey 0.5 (neutral when multiplied in twice); eight droplets in the
//   lower half, frame k at ((k%4)/4, 0.5+(k/4)/4) to ((k%4+1)/4, 0.5+(k/4+1)/4).
// - "water" 512x512 opaque, tiles both ways: pond water. "board" 512x512: the shallow pond floor
//   under the 8x8 board, fading out at its edges. "lilypads" 512x512: four pads in quarters,
//   the last one with a water lily.
// - "knobs" 256x256: quarters "drop" (a small pad) 0,0,.5,.5; "goal" (a pad with a blossom)
//   .5,0,1,.5; "hand" (a hand print pointing up, north) 0,.5,.5,1; "foot" (a foot print pointing
//   up) .5,.5,1,1. Rotate with the knob's "angle" for east, south and west; mirror (swap u) for
//   the right side.
// - "glow" 128x128 wide soft halo; "blob" 64x64 soft round spot; "shadow" 128x128 soft dark spot;
//   "sparkle" 64x64 four-pointed glint; "ripple" 128x128 ring; "ray" 64x256 light beam (top to
//   bottom); "particle" 64x64 bubble; all white except "shadow", for tinting.
// - "ripples" 256x256 white ripple lines that tile both ways; "reeds" 512x128 reeds leaning in
//   from the bank along the top edge (transparent below).
// - "frog" 512x512 and "frog-shadow" (the same parts as dark blurred silhouettes), parts drawn
//   head up (towards v = 0); see kFrogParts in CTexturePainter.cpp for the rectangles and pins.
// - "fly" 256x256, head up: "rest" 0,0,.5,.5; "fly1" .5,0,1,.5; "fly2" 0,.5,.5,1; "walk" .5,.5,1,1.
// - "petals" 256x256, tip up: pink 0,0,.5,.5; white .5,0,1,.5; yellow 0,.5,.5,1; glow .5,.5,1,1.
// - "border" 128x128: the screen frame; outer 0,0,1,1, inner .25,.25,.75,.75 (open centre).
// - "buttons" 512x512: 4x4 round faces of 128 pixels, by row: undo redo hint menu / play home
//   sound-on sound-off / quit settings next reset / ok back blank ring.
// - "stars" 256x128: a gold star 0,0,.5,1 and an empty one .5,0,1,1.
// - "bloom" 512x512: 4x4 frames, a pad whose water lily opens from a bud (frame 0) to full bloom
//   (frame 15), row by row.
#include <cstdint>
#include <string>
#include <vector>

class CTexturePainter
{
  public:
    // Pixels as 8-bit channels, rows top to bottom, no padding.
    struct Picture
    {
        int32_t width = 0;
        int32_t height = 0;
        int32_t channels = 0; // 3 (RGB) or 4 (RGBA)
        std::vector<uint8_t> pixels;
    };

    // Every texture the game's documents may name, file names without extension.
    static std::vector<std::string> Names();
    // The named picture; an empty picture (0 x 0) for an unknown name.
    static Picture Paint(const std::string& name);
    // A whole PNG file of the picture.
    static std::string EncodePng(const Picture& picture);
};
