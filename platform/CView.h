#pragma once
// How a rectangle of view units maps onto a viewport of the logical screen, and the projection
// GL draws it with. Views are scope guards on one global stack: constructing one pushes and
// applies it, destroying one pops it and applies the view beneath. The whole-screen view sits
// at the bottom: the critical view of the scene letterboxed into the logical screen, set again
// whenever the screen size or rotation changes (SetScreen).
// Rectangles are (x, y, width, height): viewports in logical pixels (y down), view rectangles
// in view units. Invariant: the maths never divides by a zero size; GL is touched only once
// the GL capability and state singletons exist.
#include "core/CLinkList.h"
#include "core/CLinkNode.h"
#include "core/MathConstants.h"
#include "core/Matrix4.h"
#include "core/Vector2.h"
#include "core/Vector4.h"

#include <cstdint>

class CView
{
  public:
    enum Kind : int32_t
    {
        kPixel = 0,
        kOrtho = 1,
        kPerspective = 2,
    };
    // Selects the pixel view's constructor.
    enum PixelTag
    {
        kPixels
    };
    // A rotation that follows the platform's.
    static constexpr float kFollowPlatform = kFloatMax;

    // Perspective over a viewport (view rectangle = the viewport's size), or over the
    // whole-screen view's viewport. Field of view in degrees.
    CView(const Vector4<int32_t>& viewport, float fieldOfView);
    explicit CView(float fieldOfView);
    // Orthographic: rotation in degrees, or following the platform.
    CView(const Vector4<int32_t>& viewport, const Vector4<float>& rect, float rotation);
    CView(const Vector4<int32_t>& viewport, const Vector4<float>& rect);
    // Orthographic over the whole-screen view's viewport, in its pixels.
    CView();
    // Orthographic over a viewport, in its pixels.
    explicit CView(const Vector4<int32_t>& viewport);
    // The whole logical screen in pixels.
    explicit CView(PixelTag);
    ~CView();
    // The stack holds the view's address.
    CView(const CView&) = delete;
    CView& operator=(const CView&) = delete;

    // The top of the stack; the whole-screen view is linked again when the stack is empty.
    static CView& GetCurrent();
    static CView& GetScreenView();

    // Store the values (and the kind) and apply them to GL when this view is the top.
    void ApplyOrtho(const Vector4<int32_t>& viewport, const Vector4<float>& rect);
    void ApplyPerspective(const Vector4<int32_t>& viewport, float fieldOfView);
    void ApplyPixel(const Vector4<int32_t>& viewport);
    // Applies again by kind.
    void Apply();

    // View units to logical screen pixels and back.
    Vector2<float> ViewToScreen(const Vector2<float>& point) const;
    Vector2<float> ScreenToView(const Vector2<float>& point) const;
    float GetMaxExtent() const;
    Vector2<float> GetCentre() const;

    Kind GetKind() const { return m_kind; }
    const Vector4<int32_t>& GetViewport() const { return m_viewport; }
    const Vector4<float>& GetRect() const { return m_rect; }
    float GetFieldOfView() const { return m_fieldOfView; }
    float GetRotation() const { return m_rotation; }
    // View units per viewport pixel, from the last Apply (1 for perspective, 0 for an empty viewport).
    const Vector2<float>& GetUnitsPerPixel() const { return m_unitsPerPixel; }

    // The viewport inside screen that keeps the aspect within [letterboxMin, letterboxMax]
    // (bars above and below, or left and right), and rect refitted so that the critical view it
    // holds is wholly visible and centred. A limit of 0 or less is no limit; a rect of zero size
    // becomes the viewport's own pixels; an empty screen is returned as it is.
    static Vector4<int32_t> Letterbox(const Vector4<int32_t>& screen, Vector4<float>& rect,
                                      float letterboxMin, float letterboxMax);
    // The platform layer calls this whenever the window size or rotation changes: keeps the
    // logical size (pixels, after rotation) and the platform rotation (degrees), and sets the
    // whole-screen view to the letterboxed critical view.
    static void SetScreen(const Vector2<int32_t>& logicalSize, float platformRotation,
                          const Vector4<float>& criticalView, float letterboxMin, float letterboxMax);
    // SetScreen with the critical view and the letterbox limits of the tuning values.
    static void SetScreenFromRules(const Vector2<int32_t>& logicalSize, float platformRotation);
    static const Vector2<int32_t>& GetLogicalSize();
    static float GetPlatformRotation();
    // The size of what GL draws into, pixels: the logical size turned back by the rotation.
    static Vector2<int32_t> GetPhysicalSize();
    // "ui/criticalview" as the screen view reads it: "" gives (-1, -1, 9, 9); otherwise four
    // comma fields or "#" notation. A text that gives no rectangle the screen can show (not a
    // number, a side below kMinCriticalSide, anything beyond kMaxCriticalExtent) is reported
    // once and gives (-1, -1, 9, 9) too: the board rather than a screen of one colour.
    static Vector4<float> ParseCriticalView(const char* text);
    static constexpr float kMinCriticalSide = 0.01f;
    static constexpr float kMaxCriticalExtent = 1000.0f;
    // Bounds of "ui/letterboxmin" and "ui/letterboxmax" (width to height; 0 is no limit).
    static constexpr float kMaxLetterboxRatio = 4.0f;

    // The pure halves of applying a view. Rotation in degrees in [0, 360).
    float GetEffectiveRotation() const;
    // A viewport of the logical screen with rows counted from its bottom, turned with the
    // screen into the physical screen's (GL's) pixels.
    static Vector4<int32_t> RotateViewport(const Vector4<int32_t>& viewport,
                                           const Vector2<int32_t>& logicalSize, float rotation);
    // The GL viewport of this view (rows from the window's bottom).
    Vector4<int32_t> ComputeGlViewport() const;
    // The projection matrix: the rotation about z, then the orthographic box (y down) or the
    // perspective frustum whose plane at distance d shows the rectangle from its top left.
    Matrix4 ComputeProjection() const;

  private:
    enum ScreenTag
    {
        kScreen
    };
    // The whole-screen view: not linked, nothing applied (it is a static).
    explicit CView(ScreenTag);

    static CView* Top();
    bool IsTop() const { return Top() == this; }
    void PushOnStack();
    void UpdateUnitsPerPixel();
    // Applies to GL when this view is the top and GL is up.
    void ApplyIfTop();

    Vector2<float> m_unitsPerPixel{0.0f, 0.0f};
    Vector4<int32_t> m_viewport;
    Vector4<float> m_rect;
    float m_fieldOfView = 0.0f;
    Kind m_kind = kPerspective;
    float m_rotation = kFollowPlatform;
    CLinkNode m_stackNode;

    static CLinkList s_stack;
    static CView s_screenView;
    static Vector2<int32_t> s_logicalSize;
    static float s_platformRotation;
};
