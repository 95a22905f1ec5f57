#include "Graphics/CScreenFlip.h"

#include "Graphics/CGraphics.h"
#include "Graphics/CMaterial.h"
#include "Graphics/CMaterialSet.h"
#include "Graphics/CScreenRotate.h"
#include "Graphics/CTexture.h"
#include "Graphics/CTextureSet.h"
#include "core/CRule.h"
#include "core/CScheduler.h"
#include "core/CString.h"
#include "core/ContentLimits.h"
#include "core/HashString.h"
#include "core/MathConstants.h"
#include "platform/CControlApp.h"
#include "platform/CDirectJ.h"
#include "platform/CPause.h"
#include "platform/CView.h"
#include "platform/InputEvent.h"

#include <GLES/gl.h>
#include <algorithm>
#include <cmath>
#include <cstring>

REGISTER_SINGLETON(CScreenFlip, "hanging", 50);

namespace
{
CRule<float> s_flipTime("ui/fliptime", 0.0f, kMaxContentSeconds);              // seconds of one turn
CRule<int> s_animationInterval("interval/animation", CScheduler::kMinAnimationIntervalMs,
                               CScheduler::kMaxAnimationIntervalMs); // ms

constexpr const char* kScope = "global";
constexpr const char* kControlGroup = "modal";
constexpr const char* kCapturePass = "predraw";
constexpr const char* kDrawPass = "post";
constexpr const char* kFromName = "_screenflipfrom";
constexpr const char* kNextName = "_screenflipnext";
constexpr float kFieldOfView = 30.0f;
// A turn of no length would divide by zero; a missing key gives this instead.
constexpr float kShortestTurn = 0.01f;
// The radius of the cylinder a curling card wraps round, pixels.
constexpr float kCurlRadius = 90.0f;
constexpr uint32_t kSubdivisions = 8;

CScreenFlip::PaneHooks s_paneHooks;

float Radians(float degrees)
{
    return degrees * kTwoPi / 360.0f;
}

// Bound as render target: the frame's drawing that follows lands in the texture. Cleared with
// the platform's clear values, so nothing of an earlier capture shows through.
CRef<CTexture> MakeCapture(const char* name)
{
    CRef<CTexture> texture = CTextureSet::Instance()->Get(name);
    texture->SetRenderTarget(CTexture::kRenderTarget);
    texture->SetCompression(CTexture::kCompressNever);
    texture->SetFormat(GL_RGB, true);
    texture->SetGenerateMipmaps(false);
    // The framebuffer holds the physical screen: at 90 and 270 degrees the logical one turned.
    texture->SetSize(CView::GetPhysicalSize());
    texture->BindTarget(CTexture::kRenderTarget);
    if (CGraphics* graphics = CGraphics::Peek())
    {
        const CDirectJ* platform = CDirectJ::Peek();
        graphics->Clear(platform ? platform->GetClearColour() : Vector4<float>(0, 0, 0, 1),
                        platform ? platform->GetClearDepth() : 1.0f);
    }
    return texture;
}
} // namespace

CScreenFlip::PaneHooks CScreenFlip::SetPaneHooks(const PaneHooks& hooks)
{
    const PaneHooks previous = s_paneHooks;
    s_paneHooks = hooks;
    return previous;
}

void CScreenFlip::OpenStartPane(const char* name)
{
    CScreenFlip* flip = Instance();
    const bool idle = flip->m_state == kIdle;
    if (!flip->Begin(name, kPrepared) && idle)
    {
        // Turning away from an empty card would only blank the screen for the whole turn.
        flip->Finish();
        ReportContentOnce("rules.xml", "ui/startpane",
                          CString::Format("the pane \"%s\" cannot be made; no start pane is shown", name));
        return;
    }
    flip->Flip();
}

CScreenFlip::CScreenFlip() = default;

CScreenFlip::~CScreenFlip()
{
    EndCapture();
    if (m_pane)
        if (CControl* control = dynamic_cast<CControl*>(m_pane.Get()))
            control->Unregister();
}

CRef<CBase> CScreenFlip::Begin(const char* paneName, uint32_t mode)
{
    m_callback.Reset();
    if (m_state == kIdle && (mode == kTurnNow || mode == kPrepared))
    {
        m_state = State(mode);
        m_progress = 0.0f;
        CControl::Register(kScope, kControlGroup);
        ScheduleIn(kScope, s_animationInterval);
        CDrawing::Register(kScope, kCapturePass);
        CDrawing::Register(kScope, kDrawPass);
        m_pane = s_paneHooks.create ? s_paneHooks.create(paneName) : CRef<CBase>();
        SetPaneEnabled(false);
        if (m_pane)
        {
            if (CControl* control = dynamic_cast<CControl*>(m_pane.Get()))
                control->Register(kScope, kControlGroup);
            if (s_paneHooks.setClock)
                s_paneHooks.setClock(m_pane.Get(), CScheduler::ForScope(kScope));
        }
        m_fromSpots.clear();
        m_nextSpots.clear();
        if (m_pane && s_paneHooks.collectEmboss)
            s_paneHooks.collectEmboss(m_pane.Get(), m_nextSpots);
    }
    BuildMeshes();
    m_fromMaterial = CMaterialSet::Instance()->Find(kFromName);
    m_nextMaterial = CMaterialSet::Instance()->Find(kNextName);
    m_fromMesh.material = m_fromMaterial;
    m_nextMesh.material = m_nextMaterial;
    SetTextureTransforms();
    return m_pane;
}

void CScreenFlip::Flip()
{
    m_callback.Reset();
    if (m_state != kShown)
        return;
    m_state = kTurningBack;
    m_progress = 0.0f;
    std::swap(m_fromSpots, m_nextSpots);
    SetTextureTransforms();
}

void CScreenFlip::SetSideList(int side, const std::vector<float>& spots)
{
    (side == 0 ? m_fromSpots : m_nextSpots) = spots;
}

bool CScreenFlip::HandleEvent(const InputEvent& event)
{
    const bool turning = m_state == kTurningToPane || m_state == kTurningBack;
    const bool key = event.kind == InputEvent::kKeyDown || event.kind == InputEvent::kKeyUp;
    if (turning && event.kind != InputEvent::kCommand && (!key || m_state == kTurningToPane))
        return true;
    return CControl::HandleEvent(event);
}

bool CScreenFlip::OnMessage(const InputEvent& event)
{
    if (std::strcmp(event.name, "cancel") != 0)
        return false;
    Flip();
    return true;
}

bool CScreenFlip::OnKey(const InputEvent& event)
{
    // A modal pane would swallow every key, and with it the way out for a keyboard.
    CControlApp* app = CControlApp::Peek();
    return app != nullptr && app->OnKey(event);
}

float CScreenFlip::TurnTime()
{
    return std::max(s_flipTime.Get(), kShortestTurn);
}

Vector2<float> CScreenFlip::ScreenSize()
{
    const Vector2<int32_t>& size = CView::GetLogicalSize();
    return Vector2<float>(float(size.x), float(size.y));
}

void CScreenFlip::Update(float dt)
{
    const float turn = TurnTime();
    float t = m_progress / turn;
    switch (m_state)
    {
    case kIdle:
        SetPaneEnabled(false);
        break;
    case kTurningToPane:
        SetPaneEnabled(false);
        m_progress += dt;
        t = m_progress / turn;
        if (t >= 1.0f)
            m_state = kShown;
        RemakePause();
        break;
    case kShown:
        if (m_callback)
        {
            // Dropped before it runs: it may begin another flip or load a puzzle.
            const CRef<CCallback> callback = m_callback;
            m_callback.Reset();
            callback->Invoke();
        }
        RemakePause();
        SetPaneEnabled(true);
        break;
    case kTurningBack:
        SetPaneEnabled(false);
        m_progress += dt;
        t = m_progress / turn;
        if (t < 1.0f)
            RemakePause();
        else
            Finish();
        break;
    }
    if (m_state == kTurningToPane || m_state == kTurningBack)
        PoseCards(std::min(t, 1.0f));
    else
        ReleaseCaptures();
    if (CScreenRotate* rotate = CScreenRotate::Peek())
        rotate->SetEnabled(m_state != kTurningToPane && m_state != kTurningBack);
}

void CScreenFlip::Finish()
{
    m_state = kIdle;
    if (m_pane)
        if (CControl* control = dynamic_cast<CControl*>(m_pane.Get()))
            control->Unregister();
    m_pane.Reset();
    CControl::Unregister();
    Unschedule();
    CDrawing::Unregister(kScope, kCapturePass);
    CDrawing::Unregister(kScope, kDrawPass);
    m_pause.Reset();
}

void CScreenFlip::RemakePause()
{
    CScheduler* current = CScheduler::Current();
    // Pausing "global" would stop the flip itself, for ever.
    if (current == CScheduler::ForScope(kScope))
        current = nullptr;
    CRef<CPause> pause = MakeRef<CPause>(current);
    m_pause = pause;
}

void CScreenFlip::ReleaseCaptures()
{
    for (CRef<CTexture>* texture : {&m_fromTexture, &m_nextTexture})
    {
        if (*texture && texture->Get() != m_capture.Get())
            (*texture)->ReleaseGL();
        texture->Reset();
    }
}

void CScreenFlip::SetPaneEnabled(bool enabled)
{
    if (m_pane && s_paneHooks.setEnabled)
        s_paneHooks.setEnabled(m_pane.Get(), enabled);
}

void CScreenFlip::Resize()
{
    m_fromSpots.clear();
    m_nextSpots.clear();
    if (m_state != kIdle)
        BuildMeshes();
}

void CScreenFlip::Rotate()
{
    if (m_state == kIdle)
        return;
    BuildMeshes();
    SetTextureTransforms();
}

// Drawing.

void CScreenFlip::Draw()
{
    DrawPass(GetPassId());
}

void CScreenFlip::DrawPass(uint32_t passId)
{
    if (passId == HashString(kCapturePass))
        Capture();
    else if (passId == HashString(kDrawPass))
        DrawPost();
}

void CScreenFlip::OnHidden()
{
    // Only the capture pass captures when hidden; a hidden "post" must still let go of it.
    if (GetPassId() == HashString(kCapturePass))
        Capture();
    else if (GetPassId() == HashString(kDrawPass))
        EndCapture();
}

bool CScreenFlip::CoversBelow()
{
    if (GetPassId() != HashString(kDrawPass))
        return false;
    return m_progress >= TurnTime() ||
           (m_fromTexture && (m_state == kTurningToPane || m_state == kTurningBack));
}

void CScreenFlip::Capture()
{
    if (m_capture)
        return;
    if (m_state == kTurningBack && !m_nextTexture)
        m_nextTexture = m_capture = MakeCapture(kNextName);
    else if ((m_state == kTurningToPane || m_state == kTurningBack) && !m_fromTexture)
        m_fromTexture = m_capture = MakeCapture(kFromName);
}

void CScreenFlip::EndCapture()
{
    if (!m_capture)
        return;
    m_capture->BindTarget(0);
    m_capture.Reset();
}

CRef<CTexture> CScreenFlip::RenderPaneInto(const char* name)
{
    CRef<CTexture> texture = MakeCapture(name);
    if (m_pane && s_paneHooks.render)
        s_paneHooks.render(m_pane.Get());
    texture->BindTarget(0);
    return texture;
}

void CScreenFlip::DrawPost()
{
    if (CDirectJ* platform = CDirectJ::Peek())
        platform->SetFrameMark();
    EndCapture();
    if (m_state == kShown)
    {
        if (m_pane && s_paneHooks.render)
            s_paneHooks.render(m_pane.Get());
        return;
    }
    if (m_state == kTurningToPane && !m_nextTexture)
    {
        PoseCards(0.0f);
        m_nextTexture = RenderPaneInto(kNextName);
    }
    if (m_state == kTurningBack && !m_fromTexture)
    {
        PoseCards(0.0f);
        SetPaneEnabled(true);
        m_fromTexture = RenderPaneInto(kFromName);
        SetPaneEnabled(false);
    }
    if (m_state == kTurningToPane || m_state == kTurningBack)
        DrawCards();
}

void CScreenFlip::DrawCards()
{
    const Vector2<float> size = ScreenSize();
    CView view(Vector4<int32_t>(0, 0, int32_t(size.x), int32_t(size.y)), kFieldOfView);
    if (CGraphics* graphics = CGraphics::Peek())
        graphics->InvalidateState();
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    if (m_progress < TurnTime() / 2.0f)
    {
        m_nextMesh.Draw();
        m_fromMesh.Draw();
    }
    else
    {
        m_fromMesh.Draw();
        m_nextMesh.Draw();
    }
    glDisable(GL_CULL_FACE);
}

// Meshes and posing.

Vector2<uint32_t> CScreenFlip::GridSizeFor(const Vector2<float>& viewUnits)
{
    auto side = [](float units)
    {
        const float n = std::round(units);
        if (!(n > 1.0f))
            return uint32_t(2);
        // A bound that no screen reaches, so the grid always fits u16 indices.
        return std::min(uint32_t(n - 1.0f) * kSubdivisions + 1, uint32_t(255));
    };
    return Vector2<uint32_t>(side(viewUnits.x), side(viewUnits.y));
}

void CScreenFlip::BuildMeshes()
{
    const Vector2<float> size = ScreenSize();
    const Vector4<float>& units = CView::GetScreenView().GetRect();
    const Vector2<uint32_t> grid = GridSizeFor(Vector2<float>(units.z, units.w));
    for (Mesh* mesh : {&m_fromMesh, &m_nextMesh})
        mesh->BuildGrid(Vector4<float>(0.0f, 0.0f, size.x, size.y), grid.x, grid.y);
}

Matrix4 CScreenFlip::TextureTransformFor(float rotation)
{
    const int32_t quarter = (int32_t(std::lround(rotation / 90.0f)) % 4 + 4) % 4;
    Matrix4 m;
    m.Translate(Vector3<float>(-0.5f, -0.5f, 0.0f));
    if (quarter == 2)
        m.Scale(Vector3<float>(-1.0f, 1.0f, 1.0f));
    else
        m.Scale(Vector3<float>(1.0f, -1.0f, 1.0f));
    if (quarter == 1 || quarter == 3)
        m.Rotate(Radians(90.0f * float(quarter)), kAxisZ);
    m.Translate(Vector3<float>(0.5f, 0.5f, 0.0f));
    return m;
}

void CScreenFlip::SetTextureTransforms()
{
    const Matrix4 m = TextureTransformFor(CView::GetPlatformRotation());
    for (CMaterial* material : {m_fromMaterial.Get(), m_nextMaterial.Get()})
        if (material)
            material->SetMatrix(0, m);
}

float CScreenFlip::AngleAt(float t)
{
    return -180.0f * t * t * (3.0f - 2.0f * t);
}

float CScreenFlip::ScaleAt(float t)
{
    return 1.0f - 0.45f * std::fabs(std::sin(Radians(AngleAt(t))));
}

float CScreenFlip::Smooth(float x)
{
    x = std::clamp(x, 0.0f, 1.0f);
    return x * x * (3.0f - 2.0f * x);
}

float CScreenFlip::ReliefAt(const std::vector<float>& spots, const Vector2<float>& point)
{
    float sum = 0.0f;
    for (size_t i = 0; i + kSpotFloats <= spots.size(); i += kSpotFloats)
    {
        const float dx = point.x - spots[i];
        const float dy = point.y - spots[i + 1];
        const float radius = spots[i + 2];
        const float height = spots[i + 5];
        if (radius > 0.0f)
        {
            const float d2 = dx * dx + dy * dy;
            const float r2 = radius * radius;
            if (d2 < r2)
                sum += height * (r2 - d2) / r2;
        }
        else if (std::fabs(dx) <= spots[i + 3] && std::fabs(dy) <= spots[i + 4])
            sum += height;
    }
    return sum;
}

Vector3<float> CScreenFlip::Curl(const Vector3<float>& p, const Vector2<float>& linePoint,
                                 const Vector2<float>& direction)
{
    const float g = direction.x * direction.y < 0.0f ? -1.0f : 1.0f;
    const float rx = p.x - linePoint.x;
    const float ry = p.y - linePoint.y;
    if (!(g * (direction.x * ry - direction.y * rx) < 0.0f))
        return p;
    const float along = rx * direction.x + ry * direction.y;
    const float fx = linePoint.x + direction.x * along;
    const float fy = linePoint.y + direction.y * along;
    const float ex = p.x - fx;
    const float ey = p.y - fy;
    const float r = std::sqrt(ex * ex + ey * ey);
    if (!(r > 0.0f))
        return p;
    const float b = r / kCurlRadius;
    const float radius = kCurlRadius - g * p.z;
    const float reach = radius * std::sin(b) / r;
    return Vector3<float>(fx + reach * ex, fy + reach * ey, g * (kCurlRadius - radius * std::cos(b)));
}

void CScreenFlip::PoseCard(Mesh& mesh, const std::vector<float>& spots, float relief, float angle,
                           const Vector2<float>& linePoint, const Vector2<float>& direction, float scale)
{
    const Vector2<float> size = ScreenSize();
    if (mesh.uvSets.empty())
        return;
    const std::vector<Vector2<float>>& uvs = mesh.uvSets[0];
    const size_t count = std::min(uvs.size(), mesh.positions.size());
    for (size_t i = 0; i < count; ++i)
    {
        const Vector2<float> point(uvs[i].x * size.x, uvs[i].y * size.y);
        const float z = relief > 0.0f && !spots.empty() ? relief * ReliefAt(spots, point) : 0.0f;
        mesh.positions[i] = Curl(Vector3<float>(point.x, point.y, z), linePoint, direction);
    }
    Matrix4 m;
    m.Translate(Vector3<float>(-size.x / 2.0f, -size.y / 2.0f, 0.0f));
    m.Scale(Vector3<float>(scale, scale, scale));
    m.Rotate(Radians(angle), kAxisY);
    m.Translate(Vector3<float>(size.x / 2.0f, size.y / 2.0f, 0.0f));
    mesh.matrix = m;
}

void CScreenFlip::PoseCards(float t)
{
    const Vector2<float> size = ScreenSize();
    const float angle = AngleAt(t);
    const float scale = ScaleAt(t);
    const float c = std::pow(std::max(std::sin(kTwoPi / 2.0f * t), 0.0f), (t + 1.0f) / 2.0f);
    const float norm = std::sqrt(5.0f);
    const Vector2<float> direction(1.0f / norm, 2.0f / norm);
    PoseCard(m_fromMesh, m_fromSpots, Smooth(4.0f * t), angle, Vector2<float>(size.x, c * size.y), direction,
             scale);
    PoseCard(m_nextMesh, m_nextSpots, Smooth(4.0f * (1.0f - t)), angle + 180.0f, Vector2<float>(0.0f, c * size.y),
             Vector2<float>(-direction.x, direction.y), scale);
}
