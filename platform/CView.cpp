#include "platform/CView.h"

#include "Graphics/CGraphics.h"
#include "Graphics/COpenGL.h"
#include "core/CRule.h"
#include "core/CRules.h"
#include "core/CXmlNode.h"
#include "core/Colour.h"
#include "core/ContentLimits.h"
#include "core/MathConstants.h"

#include <GLES/gl.h>
#include <algorithm>
#include <cmath>

namespace
{
// Narrowest and widest width-to-height ratios the screen view keeps; beyond them it gets bars.
// 0 is no limit; a limit far beyond any screen's ratio would leave a strip too thin to show.
CRule<float> s_letterboxMin("ui/letterboxmin", 0.0f, CView::kMaxLetterboxRatio);
CRule<float> s_letterboxMax("ui/letterboxmax", 0.0f, CView::kMaxLetterboxRatio);
} // namespace

// The stack is defined before the whole-screen view, so it is built first and dies last.
CLinkList CView::s_stack;
CView CView::s_screenView(CView::kScreen);
Vector2<int32_t> CView::s_logicalSize;
float CView::s_platformRotation = 0.0f;

namespace
{
// A viewport from damaged layout can stand billions of pixels away; a million is off every
// screen already, and keeps the rotation and row-flip arithmetic within range.
constexpr int32_t kFarthestPixel = 1000000;

Vector4<int32_t> Reachable(const Vector4<int32_t>& viewport)
{
    auto clamp = [](int32_t v) { return std::clamp(v, -kFarthestPixel, kFarthestPixel); };
    return Vector4<int32_t>(clamp(viewport.x), clamp(viewport.y), clamp(viewport.z), clamp(viewport.w));
}

float WrapDegrees(float degrees)
{
    if (!std::isfinite(degrees))
        return 0.0f;
    const float wrapped = degrees - std::floor(degrees / 360.0f) * 360.0f;
    return wrapped >= 360.0f ? 0.0f : wrapped;
}

// a / b, or 0 when b is 0: empty viewports and rectangles map everything to their origin.
float SafeRatio(float a, float b)
{
    return b != 0.0f ? a / b : 0.0f;
}

bool IsGlUp()
{
    const CGraphics* graphics = CGraphics::Peek();
    return COpenGL::Exists() && graphics && graphics->IsInitialised();
}

Matrix4 Ortho(float left, float right, float bottom, float top, float zNear, float zFar)
{
    Matrix4 m;
    if (right == left || top == bottom || zFar == zNear)
        return m;
    m.m[0] = 2.0f / (right - left);
    m.m[5] = 2.0f / (top - bottom);
    m.m[10] = -2.0f / (zFar - zNear);
    m.m[12] = -(right + left) / (right - left);
    m.m[13] = -(top + bottom) / (top - bottom);
    m.m[14] = -(zFar + zNear) / (zFar - zNear);
    return m;
}

Matrix4 Frustum(float left, float right, float bottom, float top, float zNear, float zFar)
{
    Matrix4 m;
    if (right == left || top == bottom || zFar == zNear)
        return m;
    m.m[0] = 2.0f * zNear / (right - left);
    m.m[5] = 2.0f * zNear / (top - bottom);
    m.m[8] = (right + left) / (right - left);
    m.m[9] = (top + bottom) / (top - bottom);
    m.m[10] = -(zFar + zNear) / (zFar - zNear);
    m.m[11] = -1.0f;
    m.m[14] = -2.0f * zFar * zNear / (zFar - zNear);
    m.m[15] = 0.0f;
    return m;
}
} // namespace

CView::CView(const Vector4<int32_t>& viewport, float fieldOfView)
{
    PushOnStack();
    ApplyPerspective(viewport, fieldOfView);
}

CView::CView(float fieldOfView)
{
    const Vector4<int32_t> viewport = s_screenView.m_viewport;
    PushOnStack();
    ApplyPerspective(viewport, fieldOfView);
}

CView::CView(const Vector4<int32_t>& viewport, const Vector4<float>& rect, float rotation)
    : m_rotation(rotation)
{
    PushOnStack();
    ApplyOrtho(viewport, rect);
}

CView::CView(const Vector4<int32_t>& viewport, const Vector4<float>& rect)
{
    PushOnStack();
    ApplyOrtho(viewport, rect);
}

CView::CView() : CView(s_screenView.m_viewport) {}

CView::CView(const Vector4<int32_t>& viewport)
{
    PushOnStack();
    ApplyOrtho(viewport, Vector4<float>(0.0f, 0.0f, float(viewport.z), float(viewport.w)));
}

CView::CView(PixelTag)
{
    PushOnStack();
    ApplyPixel(Vector4<int32_t>(0, 0, s_logicalSize.x, s_logicalSize.y));
}

CView::CView(ScreenTag)
{
    m_stackNode.SetOwner(this);
}

CView::~CView()
{
    m_stackNode.Unlink();
    if (this == &s_screenView || s_stack.IsEmpty())
        return;
    Top()->Apply();
}

CView& CView::GetCurrent()
{
    if (s_stack.IsEmpty())
        s_stack.PushBack(s_screenView.m_stackNode);
    return *Top();
}

CView& CView::GetScreenView()
{
    return s_screenView;
}

void CView::ApplyOrtho(const Vector4<int32_t>& viewport, const Vector4<float>& rect)
{
    m_kind = kOrtho;
    m_viewport = Reachable(viewport);
    m_rect = rect;
    m_fieldOfView = 0.0f;
    UpdateUnitsPerPixel();
    ApplyIfTop();
}

void CView::ApplyPerspective(const Vector4<int32_t>& viewport, float fieldOfView)
{
    m_kind = kPerspective;
    m_viewport = Reachable(viewport);
    m_rect = Vector4<float>(0.0f, 0.0f, float(viewport.z), float(viewport.w));
    m_fieldOfView = fieldOfView;
    UpdateUnitsPerPixel();
    ApplyIfTop();
}

void CView::ApplyPixel(const Vector4<int32_t>& viewport)
{
    m_kind = kPixel;
    m_viewport = Reachable(viewport);
    m_rect = Vector4<float>(0.0f, 0.0f, float(viewport.z), float(viewport.w));
    m_fieldOfView = 0.0f;
    UpdateUnitsPerPixel();
    ApplyIfTop();
}

void CView::Apply()
{
    switch (m_kind)
    {
    case kPixel:
        ApplyPixel(m_viewport);
        break;
    case kOrtho:
        ApplyOrtho(m_viewport, m_rect);
        break;
    case kPerspective:
        ApplyPerspective(m_viewport, m_fieldOfView);
        break;
    }
}

Vector2<float> CView::ViewToScreen(const Vector2<float>& point) const
{
    return Vector2<float>(
        float(m_viewport.x) + (point.x - m_rect.x) * SafeRatio(float(m_viewport.z), m_rect.z),
        float(m_viewport.y) + (point.y - m_rect.y) * SafeRatio(float(m_viewport.w), m_rect.w));
}

Vector2<float> CView::ScreenToView(const Vector2<float>& point) const
{
    return Vector2<float>(
        m_rect.x + SafeRatio(m_rect.z, float(m_viewport.z)) * (point.x - float(m_viewport.x)),
        m_rect.y + (point.y - float(m_viewport.y)) * SafeRatio(m_rect.w, float(m_viewport.w)));
}

float CView::GetMaxExtent() const
{
    return std::max(m_rect.z, m_rect.w);
}

Vector2<float> CView::GetCentre() const
{
    return Vector2<float>(m_rect.x + m_rect.z / 2.0f, m_rect.y + m_rect.w / 2.0f);
}

Vector4<int32_t> CView::Letterbox(const Vector4<int32_t>& screen, Vector4<float>& rect, float letterboxMin,
                                  float letterboxMax)
{
    const float width = float(screen.z);
    const float height = float(screen.w);
    if (screen.z <= 0 || screen.w <= 0)
        return screen;
    float x = float(screen.x);
    float y = float(screen.y);
    float viewportWidth = width;
    float viewportHeight = height;
    float aspect = width / height;
    if (letterboxMin > 0.0f && aspect < letterboxMin)
    {
        viewportHeight = std::floor(width / letterboxMin + 0.5f);
        y += std::floor((height - viewportHeight) / 2.0f + 0.5f);
        aspect = width / viewportHeight;
    }
    else if (letterboxMax > 0.0f && aspect > letterboxMax)
    {
        viewportWidth = std::floor(height * letterboxMax + 0.5f);
        x += std::floor((width - viewportWidth) / 2.0f + 0.5f);
        aspect = viewportWidth / height;
    }
    const Vector4<int32_t> viewport(int32_t(x + 0.5f), int32_t(y + 0.5f), int32_t(viewportWidth + 0.5f),
                                    int32_t(viewportHeight + 0.5f));
    if (rect.z <= 0.0f || rect.w <= 0.0f)
    {
        rect = Vector4<float>(0.0f, 0.0f, float(viewport.z), float(viewport.w));
        return viewport;
    }
    const Vector4<float> critical = rect;
    if (aspect <= critical.z / critical.w)
        rect = Vector4<float>(critical.x, critical.y + (critical.w - critical.z / aspect) / 2.0f, critical.z,
                              critical.z / aspect);
    else
        rect = Vector4<float>(critical.x + (critical.z - aspect * critical.w) / 2.0f, critical.y,
                              aspect * critical.w, critical.w);
    return viewport;
}

void CView::SetScreen(const Vector2<int32_t>& logicalSize, float platformRotation,
                      const Vector4<float>& criticalView, float letterboxMin, float letterboxMax)
{
    s_logicalSize = logicalSize;
    s_platformRotation = platformRotation;
    Vector4<float> rect = criticalView;
    const Vector4<int32_t> viewport =
        Letterbox(Vector4<int32_t>(0, 0, logicalSize.x, logicalSize.y), rect, letterboxMin, letterboxMax);
    GetCurrent(); // the whole-screen view is on the stack from the first screen on
    s_screenView.ApplyOrtho(viewport, rect);
}

void CView::SetScreenFromRules(const Vector2<int32_t>& logicalSize, float platformRotation)
{
    // Without a rules document the critical view is empty, which the letterbox takes as the
    // viewport's own pixels.
    Vector4<float> critical;
    if (CRules* rules = CSingleton<CRules>::Instance(); rules && rules->HasDocument())
        if (const CXmlNode* root = rules->GetRoot())
            critical = ParseCriticalView(root->GetAttribute("ui/criticalview").c_str());
    SetScreen(logicalSize, platformRotation, critical, s_letterboxMin.Get(), s_letterboxMax.Get());
}

const Vector2<int32_t>& CView::GetLogicalSize()
{
    return s_logicalSize;
}

float CView::GetPlatformRotation()
{
    return s_platformRotation;
}

Vector2<int32_t> CView::GetPhysicalSize()
{
    const int32_t quarterTurns = int32_t(s_platformRotation / 90.0f + 0.5f);
    return quarterTurns % 2 ? Vector2<int32_t>(s_logicalSize.y, s_logicalSize.x) : s_logicalSize;
}

Vector4<float> CView::ParseCriticalView(const char* text)
{
    const Vector4<float> board(-1.0f, -1.0f, 9.0f, 9.0f);
    const Vector4<float> view = ParseColourText(text, board);
    // False for NaN too.
    auto within = [](float v, float low, float high) { return v >= low && v <= high; };
    if (within(view.x, -kMaxCriticalExtent, kMaxCriticalExtent) &&
        within(view.y, -kMaxCriticalExtent, kMaxCriticalExtent) &&
        within(view.z, kMinCriticalSide, kMaxCriticalExtent) && within(view.w, kMinCriticalSide, kMaxCriticalExtent))
        return view;
    ReportContentOnce("rules.xml", "ui/criticalview",
                      CString::Format("not a rectangle within %g units with sides of %g or more, -1,-1,9,9 used",
                                      double(kMaxCriticalExtent), double(kMinCriticalSide)));
    return board;
}

float CView::GetEffectiveRotation() const
{
    return WrapDegrees(m_rotation == kFollowPlatform ? s_platformRotation : m_rotation);
}

Vector4<int32_t> CView::RotateViewport(const Vector4<int32_t>& viewport, const Vector2<int32_t>& logicalSize,
                                       float rotation)
{
    const Vector4<int32_t>& v = viewport;
    const Vector2<int32_t>& l = logicalSize;
    switch (int32_t(WrapDegrees(rotation) / 90.0f))
    {
    case 1:
        return Vector4<int32_t>(l.y - v.y - v.w, v.x, v.w, v.z);
    case 2:
        return Vector4<int32_t>(l.x - v.x - v.z, l.y - v.y - v.w, v.z, v.w);
    case 3:
        return Vector4<int32_t>(v.y, l.x - v.x - v.z, v.w, v.z);
    default:
        return v;
    }
}

Vector4<int32_t> CView::ComputeGlViewport() const
{
    // Logical pixels count rows from the top of the screen; the turn counts them from the
    // bottom, as GL does. Turning a top-down viewport would mirror a viewport off the screen's
    // middle through it on a sideways screen, away from where its touches land.
    Vector4<int32_t> upright = m_viewport;
    upright.y = s_logicalSize.y - m_viewport.y - m_viewport.w;
    return RotateViewport(upright, s_logicalSize, GetEffectiveRotation());
}

Matrix4 CView::ComputeProjection() const
{
    const Matrix4 rotation = Matrix4::Rotation(GetEffectiveRotation() * kTwoPi / kFullTurnDegrees, kAxisZ);
    const float w = m_rect.z;
    const float h = m_rect.w;
    if (m_kind != kPerspective)
        return Ortho(m_rect.x, m_rect.x + w, m_rect.y + h, m_rect.y, -1.0f, 1.0f) * rotation;
    const float tangent = std::tan(m_fieldOfView * kTwoPi / kFullTurnDegrees);
    if (w <= 0.0f || h <= 0.0f || !(tangent > 0.0f))
        return rotation; // nothing sensible to project: keep the rotation alone
    const float d = (std::sqrt(w * w + h * h) / 2.0f) / tangent;
    const float n = d / 2.0f;
    const float halfWidth = (w / 2.0f + 0.5f) * n / d;
    const float halfHeight = (h / 2.0f + 0.5f) * n / d;
    const Matrix4 frustum = Frustum(-halfWidth, halfWidth, halfHeight, -halfHeight, n, 2.0f * d - n);
    return Matrix4::Translation(Vector3<float>(-w / 2.0f, -h / 2.0f, -d)) * frustum * rotation;
}

CView* CView::Top()
{
    CLinkNode* last = nullptr;
    for (CLinkNode* node = s_stack.First(); node; node = node->Next())
        last = node;
    return last ? last->GetOwner<CView>() : nullptr;
}

void CView::PushOnStack()
{
    m_stackNode.SetOwner(this);
    GetCurrent(); // the whole-screen view stays at the bottom
    s_stack.PushBack(m_stackNode);
}

void CView::UpdateUnitsPerPixel()
{
    if (m_kind == kPerspective)
        m_unitsPerPixel = Vector2<float>(1.0f, 1.0f);
    else
        m_unitsPerPixel = Vector2<float>(SafeRatio(m_rect.z, float(m_viewport.z)),
                                         SafeRatio(m_rect.w, float(m_viewport.w)));
}

void CView::ApplyIfTop()
{
    if (!IsTop() || !IsGlUp())
        return;
    const Vector4<int32_t> viewport = ComputeGlViewport();
    CGraphics::Peek()->SetViewport(viewport.x, viewport.y, viewport.z, viewport.w);
    const Matrix4 projection = ComputeProjection();
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection.m);
    // Drawing code works on the model-view matrix, starting from identity.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDepthRangef(0.0f, 1.0f);
}
