#pragma once
// The state of the platform layer that other parts read: frame clock, screen sizes, rotation,
// clear values and input gating. CDirectJ keeps it; sizes are pixels, times milliseconds unless
// named in seconds. Invariant: frame delta stays within 0.001..0.1 s; rotation is a multiple of 90
// from 0 to 360 (360 acts as 0).
#include "core/CBase.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "core/Vector4.h"

#include <climits>
#include <cstdint>

class CDirectJCommon : public CBase
{
  public:
    // "No size": makes a video-mode request always differ from the current size.
    static constexpr Vector2<int> kUnsetSize = Vector2<int>(INT_MAX, INT_MAX);

    const Vector4<float>& GetClearColour() const { return m_clearColour; }
    float GetClearDepth() const { return m_clearDepth; }
    int32_t GetFrameCount() const { return m_frameCount; }
    int32_t GetFrameMark() const { return m_frameMark; }
    bool IsVideoReady() const { return m_videoReady; }
    bool IsRunning() const { return m_running; }
    // Smoothed frames per second.
    float GetFrameRate() const { return m_frameRate; }
    // Seconds the last frame took, 0.001 to 0.1.
    float GetFrameDelta() const { return m_frameDelta; }
    // Degrees: 0, 90, 180, 270 or 360.
    float GetRotation() const { return m_rotation; }
    bool IsWindowed() const { return m_windowed; }
    const Vector2<int>& GetWindowSize() const { return m_windowSize; }
    const Vector2<int>& GetSecondSize() const { return m_secondSize; }
    const Vector2<int>& GetSurfaceSize() const { return m_surfaceSize; }
    // Device tilt; (0, 0, -1) lies flat.
    const Vector3<float>& GetAcceleration() const { return m_acceleration; }
    void SetAcceleration(const Vector3<float>& acceleration) { m_acceleration = acceleration; }
    float GetScalarA() const { return m_scalarA; }
    float GetScalarB() const { return m_scalarB; }

    // Counts the displays the program has had: it moves when a video mode is set and when the
    // screen turns (a rotation set, or an animated turn starting), not on a plain resize. Screen
    // captures compare it to tell whether their picture still matches the screen.
    static int32_t GetDisplayGeneration() { return s_displayGeneration; }
    static void AdvanceDisplayGeneration() { ++s_displayGeneration; }

  protected:
    CDirectJCommon() = default;

    Vector4<float> m_clearColour = Vector4<float>(0, 0, 0, 1); // alpha <= 0: colour not cleared
    float m_clearDepth = 1.0f;                                  // < 0: depth not cleared
    int32_t m_frameCount = 0;
    int32_t m_frameMark = 0;
    bool m_videoReady = false;
    bool m_running = true;
    uint32_t m_lastFrameTick = 0;
    float m_frameRate = 0.0f;
    float m_frameDelta = 1.0f;
    uint32_t m_tick = 0; // the time stamp of the current frame
    float m_rotation = 0.0f;
    bool m_windowed = true;
    Vector2<int> m_windowSize = Vector2<int>(800, 600);
    Vector2<int> m_secondSize = Vector2<int>(800, 600);
    Vector2<int> m_surfaceSize = Vector2<int>(800, 600);
    Vector3<float> m_acceleration = Vector3<float>(0, 0, -1);
    float m_scalarA = 0.0f;
    float m_scalarB = 1.0f;

  private:
    static inline int32_t s_displayGeneration = 0;
};
