#pragma once
// The loading screen shown while the mode group "global" creates its singletons: the picture
// "startup" over the whole screen with a row of droplets that grows by one per created singleton,
// swallowing the platform's input meanwhile. Invariant: it draws and drains only while it holds
// the picture (between Begin and Finish); a step outside does nothing.
#include "Graphics/CTexture.h"
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CSingleton.h"
#include "core/CSingletonBase.h"
#include "core/Vector2.h"
#include "core/Vector4.h"

#include <cstdint>

class CDirectJ;

class CLoading : public CBase, public CSingleton<CLoading>
{
  public:
    // The row holds at most this many droplets; the sheet holds eight frames.
    static constexpr int32_t kRowLength = 16;
    static constexpr int32_t kFrameCount = 8;

    // One droplet as drawn: a triangle strip in clip coordinates (-1..1, y up) and the uvs of
    // its frame on the droplet sheet, corner for corner.
    struct DropletQuad
    {
        int32_t frame = 0;
        Vector2<float> offset;
        Vector2<float> corners[4];
        Vector2<float> uvs[4];
    };

    ~CLoading() override;

    // Brings up the file system, then the platform layer (in that order: the platform reads the
    // tuning values the file system loads), asks the window to keep its pixels across swaps, takes
    // the textures "startup" and "droplet" (missing ones draw nothing) and becomes the singleton
    // registry's step.
    void Begin();
    // While active: one frame when a frame can begin and the picture differs from the one on the
    // screen (another row of droplets, or another window size), then every pending event is
    // dropped (a window close is still honoured once start-up ends). Where the window keeps its
    // pixels and its size is that of the frame before, the frame redraws the droplets' band alone.
    void Step();
    // Hands the picture to unit 0 of the material "startup", so the game shows it without loading
    // it again, releases both textures, lets swaps drop the window's pixels again and sets the GL
    // state up again for the game. Stays harmless when called again or when nothing began.
    void Finish();
    // One frame: the screen cleared to the game's clear colour ("ui/clearcolour", black without
    // one), so that the bars beside the letterboxed viewport are those of the game; the picture,
    // then the droplets of the steps taken so far. bandOnly keeps the clears and the drawing to
    // DropletBand (the rest of the window must still show the frame before); the scissor test is
    // off again afterwards. False when no frame could begin.
    bool Draw(bool bandOnly);

    bool IsActive() const { return m_picture.Get() != nullptr; }
    // Steps taken since Begin.
    int32_t GetStepCount() const { return m_stepCount; }
    const CRef<CTexture>& GetPicture() const { return m_picture; }
    const CRef<CTexture>& GetDropletSheet() const { return m_dropletSheet; }

    // The droplets a frame shows after steps steps are those with index first <= i < end: the
    // row fills left to right for kRowLength steps, then empties from the left.
    static int32_t FirstDroplet(int32_t steps);
    static int32_t EndDroplet(int32_t steps);
    // Whether the frames after stepsA and stepsB steps show the same droplets.
    static bool SameRow(int32_t stepsA, int32_t stepsB);
    // Droplet i: its frame, its place in the row (x from -0.8 to 0.8 across the row, y at a
    // height of its own that every run repeats) and its corners.
    static DropletQuad MakeDroplet(int32_t i);
    // The part of a picture of pictureSize pixels that fills a viewport of viewportSize pixels
    // in the picture's own aspect: the middle of it, cut at two opposite sides, as (u left,
    // v top, u right, v bottom). The whole picture when either size is empty.
    static Vector4<float> PictureUvs(const Vector2<int32_t>& viewportSize, const Vector2<int32_t>& pictureSize);
    // The window pixels that any droplet of the row may cover in a viewport, both as (x, y, width,
    // height) with rows counted from the bottom as GL counts them: a band across the lower part of
    // the viewport, one pixel larger on each side than the droplets so that however GL rounds
    // their edges they stay inside.
    static Vector4<int32_t> DropletBand(const Vector4<int32_t>& viewport);

  private:
    friend class CSingleton<CLoading>;
    CLoading() = default;

    static void StepHook();
    // fromDestructor: the program is ending, so no singleton may be created any more.
    void End(bool fromDestructor);
    // Draw's frame once it began: the clear, the picture in a viewport of viewportSize pixels and
    // the droplets.
    void DrawFrame(const CDirectJ& platform, const Vector2<int32_t>& viewportSize);
    void DrawPicture(const Vector2<int32_t>& viewportSize);
    void DrawDroplets();

    CRef<CTexture> m_picture;
    CRef<CTexture> m_dropletSheet;
    int32_t m_stepCount = 0;
    // What the screen shows: the steps and the window size of the last frame drawn; -1 steps
    // before the first.
    int32_t m_shownSteps = -1;
    Vector2<int> m_shownSize;
    // The display generation whose window keeps its pixels across swaps at our request; -1 when
    // none does. A new video mode makes a window that drops them again.
    int32_t m_preservedGeneration = -1;
    CSingletonBase::StepHook m_previousStepHook = nullptr;
};
