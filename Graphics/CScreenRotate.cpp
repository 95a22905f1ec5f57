#include "Graphics/CScreenRotate.h"

#include "Graphics/CGraphics.h"
#include "Graphics/CMaterialSet.h"
#include "Graphics/CTexture.h"
#include "Graphics/CTextureSet.h"
#include "core/Angle.h"
#include "core/CResizes.h"
#include "core/CRule.h"
#include "core/ContentLimits.h"
#include "core/HashString.h"
#include "core/MathConstants.h"
#include "platform/CDirectJ.h"
#include "platform/CView.h"

#include <GLES/gl.h>
#include <algorithm>
#include <cmath>

REGISTER_SINGLETON(CScreenRotate, "hanging", 50);

namespace
{
CRule<float> s_rotateTime("ui/rotatetime", 0.0f, kMaxContentSeconds); // seconds

constexpr const char* kScope = "global";
constexpr const char* kCapturePass = "predraw1";
constexpr const char* kDrawPass = "post1";
constexpr const char* kCaptureName = "_screenrotate";
// An animation of no length would divide by zero; a missing key gives this instead.
constexpr float kShortestTurn = 0.01f;

// The rotation last asked for in this process, which a new instance starts from.
float s_lastRequested = 0.0f;

bool IsQuarter(float degrees)
{
    return (int32_t(std::lround(degrees / 90.0f)) % 2) != 0;
}
} // namespace

void CScreenRotate::RotateToHook(float degrees)
{
    Instance()->RotateTo(degrees);
}

CScreenRotate::CScreenRotate() : m_requestedAngle(Normalise(s_lastRequested)) {}

CScreenRotate::~CScreenRotate()
{
    if (m_bound && m_capture)
        m_capture->BindTarget(0);
}

float CScreenRotate::Normalise(float degrees)
{
    const float a = std::fmod(degrees, 360.0f);
    return a < 0.0f ? a + 360.0f : (a >= 360.0f ? 0.0f : a);
}

float CScreenRotate::SwingAt(float t)
{
    const float s = t * t * (3.0f - 2.0f * t);
    return 1.0f - (1.0f - s) * std::cos(kTwoPi * t * t);
}

Vector2<int32_t> CScreenRotate::SizeFor(float degrees) const
{
    return IsQuarter(degrees) ? Vector2<int32_t>(m_windowSize.y, m_windowSize.x) : m_windowSize;
}

float CScreenRotate::Elapsed() const
{
    const CDirectJ* platform = CDirectJ::Peek();
    return platform ? float(platform->GetTicks() - m_startTime) * 0.001f : 0.0f;
}

void CScreenRotate::RotateTo(float degrees)
{
    const float a = Normalise(degrees);
    m_requestedAngle = a;
    s_lastRequested = a;
    CDirectJ* platform = CDirectJ::Peek();
    if (!m_enabled || platform == nullptr)
        return;

    if (IsRunning())
    {
        // The platform says 0 while the animation runs: the target is what counts.
        if (Normalise(m_toAngle) == a)
            return;
        m_startTime = platform->GetTicks();
        m_fromAngle = m_currentAngle;
        m_fromSize = m_currentSize;
        m_toSize = SizeFor(a);
        m_toAngle = m_fromAngle + WrapAngle(a - m_fromAngle);
        return;
    }
    if (a == Normalise(platform->GetRotation()))
        return;

    m_startTime = platform->GetTicks();
    m_fromAngle = m_currentAngle = platform->GetRotation();
    const Vector2<int>& window = platform->GetWindowSize();
    m_windowSize = Vector2<int32_t>(window.x, window.y);
    const Vector2<int> logical = platform->GetLogicalSize();
    m_fromSize = m_currentSize = Vector2<int32_t>(logical.x, logical.y);
    m_toSize = SizeFor(a);
    m_toAngle = m_fromAngle + WrapAngle(a - m_fromAngle);
    platform->SetRotation(0.0f);
    platform->SetScreenSize(Vector2<int>(m_currentSize.x, m_currentSize.y));

    m_capture = CTextureSet::Instance()->Get(kCaptureName);
    m_capture->SetRenderTarget(CTexture::kRenderTarget);
    m_capture->SetCompression(CTexture::kCompressNever);
    m_capture->SetFormat(GL_RGB, true);
    m_capture->SetGenerateMipmaps(false);
    const int32_t edge = std::max(m_windowSize.x, m_windowSize.y);
    m_capture->SetSize(Vector2<int32_t>(edge, edge));
    m_quad.Clear();
    m_quad.SetMaterial(CMaterialSet::Instance()->Find(kCaptureName));
    m_running = true;
    ScheduleIn(kScope, 1);
    CDrawing::Register(kScope, kCapturePass);
    CDrawing::Register(kScope, kDrawPass);
}

void CScreenRotate::SetEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (enabled)
        RotateTo(m_requestedAngle);
}

void CScreenRotate::Update(float)
{
    const float t = Elapsed() / std::max(s_rotateTime.Get(), kShortestTurn);
    if (t >= 1.0f)
    {
        Finish();
        return;
    }
    const float k = SwingAt(t);
    m_currentAngle = m_fromAngle + k * (m_toAngle - m_fromAngle);
    const float f = std::clamp(k, 0.0f, 1.0f);
    m_currentSize = Vector2<int32_t>(int32_t(std::lround(m_fromSize.x + f * (m_toSize.x - m_fromSize.x))),
                                     int32_t(std::lround(m_fromSize.y + f * (m_toSize.y - m_fromSize.y))));
    if (CDirectJ* platform = CDirectJ::Peek())
        platform->SetScreenSize(Vector2<int>(m_currentSize.x, m_currentSize.y));
}

void CScreenRotate::Finish()
{
    m_running = false;
    Unschedule();
    CDrawing::Unregister(kScope, kCapturePass);
    CDrawing::Unregister(kScope, kDrawPass);
    m_currentAngle = m_toAngle;
    m_currentSize = m_toSize;
    if (CDirectJ* platform = CDirectJ::Peek())
    {
        platform->SetRotation(Normalise(m_toAngle));
        platform->SetScreenSize(Vector2<int>(m_windowSize.x, m_windowSize.y));
    }
    CResizes::RotateAll();
    if (m_capture && !m_bound)
        m_capture->ReleaseGL();
}

void CScreenRotate::Bind()
{
    if (m_bound || !m_capture)
        return;
    m_capture->BindTarget(CTexture::kRenderTarget);
    m_bound = true;
    if (CGraphics* graphics = CGraphics::Peek())
    {
        const CDirectJ* platform = CDirectJ::Peek();
        graphics->Clear(platform ? platform->GetClearColour() : Vector4<float>(0, 0, 0, 1),
                        platform ? platform->GetClearDepth() : 1.0f);
    }
}

void CScreenRotate::Draw()
{
    if (GetPassId() == HashString(kCapturePass))
        Bind();
    else if (GetPassId() == HashString(kDrawPass) && m_bound)
    {
        m_capture->BindTarget(0);
        m_bound = false;
        DrawTurned();
    }
}

void CScreenRotate::OnHidden()
{
    if (GetPassId() == HashString(kCapturePass))
        Bind();
    else if (GetPassId() == HashString(kDrawPass) && m_bound)
    {
        m_capture->BindTarget(0);
        m_bound = false;
    }
}

void CScreenRotate::DrawTurned()
{
    if (m_capture)
        DrawCapture(m_quad, m_windowSize, m_currentSize, m_currentAngle);
}

void CScreenRotate::DrawCapture(QuadBatch& quad, const Vector2<int32_t>& windowSize,
                                const Vector2<int32_t>& currentSize, float angle)
{
    CGraphics* graphics = CGraphics::Peek();
    if (graphics == nullptr)
        return;
    // The real framebuffer is the window, whatever size the platform is told meanwhile.
    const float w = float(windowSize.x);
    const float h = float(windowSize.y);
    graphics->SetViewport(0, 0, windowSize.x, windowSize.y);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrthof(-w / 2.0f, w / 2.0f, h / 2.0f, -h / 2.0f, -1.0f, 1.0f);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    // The frame fills the bottom-left current-size corner of the square capture, rows upwards.
    const float edge = float(std::max(std::max(windowSize.x, windowSize.y), 1));
    const float cw = float(currentSize.x);
    const float ch = float(currentSize.y);
    quad.SetQuadCount(1);
    quad.SetQuadRect(0, Vector4<float>(-cw / 2.0f, -ch / 2.0f, cw / 2.0f, ch / 2.0f));
    quad.SetQuadUv(0, 0, Vector4<float>(0.0f, ch / edge, cw / edge, 0.0f));
    quad.translation = Vector3<float>(0.0f, 0.0f, 0.0f);
    quad.rotation = -angle;
    quad.Draw();

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    CView::GetCurrent().Apply();
}
