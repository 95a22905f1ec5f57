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
    // tuning values the file system loads), takes the textures "startup" and "droplet" (missing
    // ones draw nothing) and becomes the singleton registry's step.
    void Begin();
    // While active: one frame, then every pending event is dropped (a window close is still
    // honoured once start-up ends).
    void Step();
    // Hands the picture to unit 0 of the material "startup", so the game shows it without loading
    // it again, releases both textures and sets the GL state up again for the game. Stays
    // harmless when called again or when nothing began.
    void Finish();
    // One whole frame when a frame can begin: cleared to opaque black, the picture stretched over
    // the whole screen, then the droplets of the steps taken so far, and shown.
    void Draw();

    bool IsActive() const { return m_picture.Get() != nullptr; }
    // Steps taken since Begin.
    int32_t GetStepCount() const { return m_stepCount; }
    const CRef<CTexture>& GetPicture() const { return m_picture; }
    const CRef<CTexture>& GetDropletSheet() const { return m_dropletSheet; }

    // The droplets a frame shows after steps steps are those with index first <= i < end: the
    // row fills left to right for kRowLength steps, then empties from the left.
    static int32_t FirstDroplet(int32_t steps);
    static int32_t EndDroplet(int32_t steps);
    // Droplet i: its frame, its place in the row (x from -0.8 to 0.8 across the row, y at a
    // height of its own that every run repeats) and its corners.
    static DropletQuad MakeDroplet(int32_t i);

  private:
    friend class CSingleton<CLoading>;
    CLoading() = default;

    static void StepHook();
    // fromDestructor: the program is ending, so no singleton may be created any more.
    void End(bool fromDestructor);
    // Draw on the platform given (none draws nothing).
    void DrawOn(CDirectJ* platform);
    void DrawPicture();
    void DrawDroplets();

    CRef<CTexture> m_picture;
    CRef<CTexture> m_dropletSheet;
    int32_t m_stepCount = 0;
    CSingletonBase::StepHook m_previousStepHook = nullptr;
};
