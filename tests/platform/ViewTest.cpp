#include "core/CRules.h"
#include "core/CString.h"
#include "platform/CDirectJ.h"
#include "platform/CView.h"
#include "support/AppFolder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
using Rect = Vector4<float>;
using Viewport = Vector4<int32_t>;

void ExpectViewport(const Viewport& actual, const Viewport& expected)
{
    EXPECT_EQ(actual.x, expected.x);
    EXPECT_EQ(actual.y, expected.y);
    EXPECT_EQ(actual.z, expected.z);
    EXPECT_EQ(actual.w, expected.w);
}

void ExpectRect(const Rect& actual, const Rect& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-4f);
    EXPECT_NEAR(actual.y, expected.y, 1e-4f);
    EXPECT_NEAR(actual.z, expected.z, 1e-4f);
    EXPECT_NEAR(actual.w, expected.w, 1e-4f);
}

// Normalised device coordinates of a point, as GL would divide them.
Vector2<float> Project(const Matrix4& m, float x, float y, float z = 0.0f)
{
    const Vector3<float> p = m.TransformPoint(Vector3<float>(x, y, z));
    const float w = m.m[3] * x + m.m[7] * y + m.m[11] * z + m.m[15];
    return Vector2<float>(p.x / w, p.y / w);
}

// Every test leaves the screen as a plain portrait phone, so that tests do not depend on order.
class ViewTest : public testing::Test
{
  protected:
    void TearDown() override
    {
        CView::SetScreen(Vector2<int32_t>(320, 480), 0.0f, Rect(-1, -1, 9, 9), 0.5f, 0.75f);
    }
};

TEST_F(ViewTest, LetterboxKeepsTheAspectAndTheWholeCriticalView)
{
    const Rect critical(-1, -1, 9, 9);
    Rect rect = critical;
    ExpectViewport(CView::Letterbox(Viewport(0, 0, 320, 480), rect, 0.5f, 0.75f), Viewport(0, 0, 320, 480));
    ExpectRect(rect, Rect(-1, -3.25f, 9, 13.5f));

    rect = critical; // bars left and right
    ExpectViewport(CView::Letterbox(Viewport(0, 0, 320, 480), rect, 0.5f, 0.6f), Viewport(16, 0, 288, 480));
    ExpectRect(rect, Rect(-1, -4, 9, 15));

    rect = critical; // landscape: wider than the critical view, so it grows sideways
    ExpectViewport(CView::Letterbox(Viewport(0, 0, 480, 320), rect, 0.5f, 2.0f), Viewport(0, 0, 480, 320));
    ExpectRect(rect, Rect(-3.25f, -1, 13.5f, 9));

    rect = critical; // bars above and below
    ExpectViewport(CView::Letterbox(Viewport(0, 0, 320, 800), rect, 0.5f, 0.75f), Viewport(0, 80, 320, 640));
    ExpectRect(rect, Rect(-1, -5.5f, 9, 18));

    // Unset limits are no limits, an unset critical view is the viewport's pixels, and an
    // empty screen is left as it is.
    Rect unset(0, 0, 0, 0);
    ExpectViewport(CView::Letterbox(Viewport(0, 0, 320, 480), unset, 0.0f, 0.0f), Viewport(0, 0, 320, 480));
    ExpectRect(unset, Rect(0, 0, 320, 480));
    rect = critical;
    ExpectViewport(CView::Letterbox(Viewport(0, 0, 0, 0), rect, 0.5f, 0.75f), Viewport(0, 0, 0, 0));
    ExpectRect(rect, critical);

    ExpectRect(CView::ParseCriticalView(""), critical);
    ExpectRect(CView::ParseCriticalView("0,0,8"), Rect(0, 0, 8, 8));
}

TEST_F(ViewTest, ACriticalViewThatShowsNothingGivesTheBoardAndIsReported)
{
    const Rect board(-1, -1, 9, 9);
    const CString longText(5000, '9');
    for (const char* text :
         {"abc", "1e39,1e39,1e39,1e39", "0,0,0,0", "-1,-1,-9,9", "nan", "0,0,1e-20", longText.c_str()})
    {
        testing::internal::CaptureStderr();
        ExpectRect(CView::ParseCriticalView(text), board);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(said.empty() || said.rfind("frogpond: rules.xml: ui/criticalview: ", 0) == 0) << said;
    }
    ExpectRect(CView::ParseCriticalView("-2,-3,12,14"), Rect(-2, -3, 12, 14));
}

TEST_F(ViewTest, TheScreenViewOfDamagedRulesStillShowsTheBoard)
{
    AppFolder app;
    app.WriteData("rules.xml",
                  R"(<rules><ui criticalview="nan" letterboxmin="1e39" letterboxmax="-7"/></rules>)");
    testing::internal::CaptureStderr();
    CSingleton<CRules>::Instance()->Load();
    CView::SetScreenFromRules(Vector2<int32_t>(320, 480), 0.0f);
    testing::internal::GetCapturedStderr();
    // The narrowest ratio at its bound: bars above and below, the board whole between them.
    const CView& screen = CView::GetScreenView();
    ExpectViewport(screen.GetViewport(), Viewport(0, 200, 320, 80));
    EXPECT_NEAR(screen.GetRect().w, 9.0f, 1e-4f);
    EXPECT_NEAR(screen.GetRect().z, 36.0f, 1e-4f);
}

TEST_F(ViewTest, TheStackAppliesTheTopAndFallsBackToTheScreenView)
{
    CView::SetScreen(Vector2<int32_t>(320, 480), 0.0f, Rect(-1, -1, 9, 9), 0.5f, 0.6f);
    CView& screen = CView::GetScreenView();
    EXPECT_EQ(&CView::GetCurrent(), &screen);
    ExpectViewport(screen.GetViewport(), Viewport(16, 0, 288, 480));
    EXPECT_EQ(screen.GetKind(), CView::kOrtho);
    EXPECT_NEAR(screen.GetUnitsPerPixel().x, 9.0f / 288.0f, 1e-6f);

    // A board point and back.
    const Vector2<float> onScreen = screen.ViewToScreen(Vector2<float>(3.5f, 2.0f));
    EXPECT_NEAR(onScreen.x, 16 + 4.5f * 32, 1e-3f);
    const Vector2<float> back = screen.ScreenToView(onScreen);
    EXPECT_NEAR(back.x, 3.5f, 1e-4f);
    EXPECT_NEAR(back.y, 2.0f, 1e-4f);
    EXPECT_NEAR(screen.GetMaxExtent(), 15.0f, 1e-4f);
    EXPECT_NEAR(screen.GetCentre().y, 3.5f, 1e-4f);

    {
        CView pixels(CView::kPixels);
        ExpectViewport(pixels.GetViewport(), Viewport(0, 0, 320, 480));
        {
            CView perspective(30.0f); // over the screen view's viewport
            EXPECT_EQ(&CView::GetCurrent(), &perspective);
            ExpectRect(perspective.GetRect(), Rect(0, 0, 288, 480));
            EXPECT_EQ(perspective.GetUnitsPerPixel().x, 1.0f);
            CView ortho(Viewport(10, 20, 100, 50), Rect(0, 0, 1, 1), 90.0f);
            EXPECT_EQ(&CView::GetCurrent(), &ortho);
        }
        EXPECT_EQ(&CView::GetCurrent(), &pixels);
    }
    EXPECT_EQ(&CView::GetCurrent(), &screen);
}

TEST_F(ViewTest, ViewportsTurnWithTheScreen)
{
    // Logical 480 x 320 on a portrait panel turned a quarter: the GL viewport is the panel's.
    ExpectViewport(CView::RotateViewport(Viewport(0, 0, 480, 320), Vector2<int32_t>(480, 320), 90.0f),
                   Viewport(0, 0, 320, 480));
    const Viewport bars(120, 0, 240, 320);
    const Vector2<int32_t> landscape(480, 320);
    ExpectViewport(CView::RotateViewport(bars, landscape, 90.0f), Viewport(0, 120, 320, 240));
    ExpectViewport(CView::RotateViewport(bars, landscape, 180.0f), Viewport(120, 0, 240, 320));
    ExpectViewport(CView::RotateViewport(bars, landscape, 270.0f), Viewport(0, 120, 320, 240));
    ExpectViewport(CView::RotateViewport(Viewport(10, 20, 30, 40), landscape, 270.0f),
                   Viewport(20, 440, 40, 30));
    ExpectViewport(CView::RotateViewport(bars, landscape, 360.0f), bars);
    ExpectViewport(CView::RotateViewport(bars, landscape, -90.0f), Viewport(0, 120, 320, 240));

    // The screen view follows the platform's rotation, wrapped into a turn.
    CView::SetScreen(landscape, 450.0f, Rect(-1, -1, 9, 9), 0.5f, 0.75f);
    const CView& screen = CView::GetScreenView();
    EXPECT_EQ(screen.GetEffectiveRotation(), 90.0f);
    ExpectViewport(screen.GetViewport(), bars);
    ExpectViewport(screen.ComputeGlViewport(), Viewport(0, 120, 320, 240));
    CView fixed(Viewport(0, 0, 10, 10), Rect(0, 0, 1, 1), 180.0f);
    EXPECT_EQ(fixed.GetEffectiveRotation(), 180.0f);
}

// On a screen turned any way, a point of a view is drawn on the pixel of the panel whose touch
// the platform maps back to that point: drawing and touch agree for a viewport anywhere.
TEST_F(ViewTest, ATurnedViewIsDrawnWhereItsTouchesLand)
{
    const Vector2<int> window(320, 480);
    const Viewport viewports[] = {{10, 20, 100, 50}, {0, 0, 60, 30}, {200, 150, 40, 90}};
    for (float rotation : {0.0f, 90.0f, 180.0f, 270.0f})
    {
        const bool sideways = rotation == 90.0f || rotation == 270.0f;
        const Vector2<int32_t> logical =
            sideways ? Vector2<int32_t>(window.y, window.x) : Vector2<int32_t>(window);
        CView::SetScreen(logical, rotation, Rect(-1, -1, 9, 9), 0.0f, 0.0f);
        for (const Viewport& viewport : viewports)
        {
            const CView view(viewport, Rect(0, 0, 10, 10), rotation);
            const Viewport gl = view.ComputeGlViewport();
            for (const Vector2<float>& point :
                 {Vector2<float>(0, 0), Vector2<float>(10, 10), Vector2<float>(2.5f, 7.5f)})
            {
                const Vector2<float> ndc = Project(view.ComputeProjection(), point.x, point.y);
                // GL's pixels count rows from the bottom of the panel, the platform's from its top.
                const Vector2<float> panel(float(gl.x) + (ndc.x + 1.0f) / 2.0f * float(gl.z),
                                           float(window.y) -
                                               (float(gl.y) + (ndc.y + 1.0f) / 2.0f * float(gl.w)));
                const Vector2<float> touched = CDirectJ::ScreenToLogical(panel, window, rotation);
                const Vector2<float> expected = view.ViewToScreen(point);
                EXPECT_NEAR(touched.x, expected.x, 1e-3f)
                    << rotation << " degrees, viewport x " << viewport.x;
                EXPECT_NEAR(touched.y, expected.y, 1e-3f)
                    << rotation << " degrees, viewport x " << viewport.x;
            }
        }
    }
}

TEST_F(ViewTest, ProjectionsPutTheRectangleTopLeftAtTheScreensTopLeft)
{
    CView::SetScreen(Vector2<int32_t>(320, 480), 0.0f, Rect(-1, -1, 9, 9), 0.5f, 0.75f);
    const CView& screen = CView::GetScreenView();
    Vector2<float> corner = Project(screen.ComputeProjection(), -1.0f, -3.25f);
    EXPECT_NEAR(corner.x, -1.0f, 1e-5f);
    EXPECT_NEAR(corner.y, 1.0f, 1e-5f); // y grows downwards
    corner = Project(screen.ComputeProjection(), 8.0f, 10.25f);
    EXPECT_NEAR(corner.x, 1.0f, 1e-5f);
    EXPECT_NEAR(corner.y, -1.0f, 1e-5f);

    // A quarter turn moves the top left corner to the bottom left of the panel.
    CView turned(Viewport(0, 0, 100, 100), Rect(0, 0, 10, 10), 90.0f);
    corner = Project(turned.ComputeProjection(), 0.0f, 0.0f);
    EXPECT_NEAR(corner.x, -1.0f, 1e-5f);
    EXPECT_NEAR(corner.y, -1.0f, 1e-5f);

    // Perspective: the plane at distance d shows the rectangle from its top left, with half a
    // pixel to spare on each side.
    CView perspective(Viewport(0, 0, 200, 100), 30.0f);
    const Matrix4 projection = perspective.ComputeProjection();
    corner = Project(projection, 0.0f, 0.0f);
    EXPECT_NEAR(corner.x, -100.0f / 100.5f, 1e-4f);
    EXPECT_NEAR(corner.y, 50.0f / 50.5f, 1e-4f);
    const Vector2<float> centre = Project(projection, 100.0f, 50.0f);
    EXPECT_NEAR(centre.x, 0.0f, 1e-5f);
    EXPECT_NEAR(centre.y, 0.0f, 1e-5f);
}

TEST_F(ViewTest, AnEmptyScreenNeverDividesByZero)
{
    CView::SetScreen(Vector2<int32_t>(0, 0), 90.0f, Rect(0, 0, 0, 0), 0.0f, 0.0f);
    const CView& screen = CView::GetScreenView();
    ExpectViewport(screen.GetViewport(), Viewport(0, 0, 0, 0));
    EXPECT_EQ(screen.GetUnitsPerPixel().x, 0.0f);
    const Vector2<float> mapped = screen.ViewToScreen(Vector2<float>(5.0f, 5.0f));
    const Vector2<float> back = screen.ScreenToView(Vector2<float>(5.0f, 5.0f));
    EXPECT_TRUE(std::isfinite(mapped.x) && std::isfinite(mapped.y));
    EXPECT_TRUE(std::isfinite(back.x) && std::isfinite(back.y));

    CView pixels(CView::kPixels);
    CView perspective(0.0f); // no field of view either
    for (const CView* view :
         {&screen, static_cast<const CView*>(&pixels), static_cast<const CView*>(&perspective)})
    {
        const Matrix4 projection = view->ComputeProjection();
        for (float value : projection.m)
            EXPECT_TRUE(std::isfinite(value));
    }
}
} // namespace
