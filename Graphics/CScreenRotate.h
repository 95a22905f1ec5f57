#pragma once
// Animates a change of screen orientation. While it runs the platform's rotation is 0, every
// frame is rendered into the square texture "_screenrotate", and that picture is drawn turned by
// an angle that swings from the old orientation to the new one with an overshoot, while the
// screen size eases from the old to the new proportions. At the end the platform gets the final
// rotation and its window size back, and every CResizes is told of the rotation.
// Invariants: the capture bound in "predraw1" is unbound in the same frame's "post1"; a request
// made while disabled (a screen flip turning) is carried out when enabled again.
#include "Graphics/QuadBatch.h"
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CSingleton.h"
#include "core/CUpdate.h"
#include "core/Vector2.h"
#include "platform/CDrawing.h"

#include <cstdint>

class CTexture;

class CScreenRotate : public CBase, public CUpdate, public CDrawing, public CSingleton<CScreenRotate>
{
  public:
    // The application's rotation commands: RotateTo on the singleton (made on first use).
    static void RotateToHook(float degrees);

    ~CScreenRotate() override;

    // Degrees, any value (taken mod 360). Starts or retargets the animation; nothing while
    // disabled (kept for SetEnabled) or when already there.
    void RotateTo(float degrees);
    // Enabling carries out a request that differs from the rotation in effect.
    void SetEnabled(bool enabled);

    // CUpdate: eases the angle and the screen size; at the end hands the rotation to the platform.
    void Update(float dt) override;
    // CDrawing: binds the capture in "predraw1", draws it turned in "post1".
    void Draw() override;
    void OnHidden() override;

    bool IsEnabled() const { return m_enabled; }
    bool IsRunning() const { return m_running; }
    float GetRequestedAngle() const { return m_requestedAngle; }
    float GetCurrentAngle() const { return m_currentAngle; }
    float GetToAngle() const { return m_toAngle; }
    const Vector2<int32_t>& GetCurrentSize() const { return m_currentSize; }
    const Vector2<int32_t>& GetToSize() const { return m_toSize; }

    // The eased factor at t in 0..1: 1 - (1 - s) cos(2 pi t^2), s = t^2 (3 - 2t). It overshoots
    // to about 1.25 and settles at 1.
    static float SwingAt(float t);
    // Degrees in [0, 360).
    static float Normalise(float degrees);
    // Draws a frame of the current size (pixels) rendered at rotation 0 into the bottom-left
    // corner of the square capture, turned by -angle degrees, centred on a framebuffer of the
    // window size; quad takes the capture's material.
    static void DrawCapture(QuadBatch& quad, const Vector2<int32_t>& windowSize,
                            const Vector2<int32_t>& currentSize, float angle);

  private:
    friend class CSingleton<CScreenRotate>;
    CScreenRotate();

    // Seconds of the animation since it began.
    float Elapsed() const;
    // The window size kept at the start, turned for the angle: the target is always absolute.
    Vector2<int32_t> SizeFor(float degrees) const;
    void Finish();
    void Bind();
    void DrawTurned();

    uint32_t m_startTime = 0;
    QuadBatch m_quad;
    CRef<CTexture> m_capture;
    Vector2<int32_t> m_windowSize;
    Vector2<int32_t> m_fromSize;
    Vector2<int32_t> m_toSize;
    Vector2<int32_t> m_currentSize;
    float m_fromAngle = 0.0f;
    float m_toAngle = 0.0f;
    float m_currentAngle = 0.0f;
    float m_requestedAngle = 0.0f;
    bool m_enabled = true;
    bool m_bound = false;
    bool m_running = false;
};
