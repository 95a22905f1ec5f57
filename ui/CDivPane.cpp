#include "ui/CDivPane.h"

#include "Graphics/CGraphics.h"
#include "Graphics/CMaterial.h"
#include "Graphics/CMaterialSet.h"
#include "core/CFileSystem.h"
#include "core/CLinkList.h"
#include "core/CPreference.h"
#include "core/CScheduler.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/Colour.h"
#include "core/ParseBool.h"
#include "core/TextFields.h"
#include "core/TranslateScope.h"
#include "platform/CInput.h"
#include "platform/CView.h"
#include "platform/InputEvent.h"
#include "ui/CDivLine.h"
#include "ui/CPaneTransition.h"

#include <GLES/gl.h>
#include <algorithm>
#include <cmath>
#include <map>
#include <string>

namespace
{
// Open panes in order of creation. Panes are made at run time only, after this list exists.
CLinkList s_openPanes;
// Active states by node id, byte order; never forgotten, so that later panes get them too.
std::map<std::string, bool> s_activeStates;
CDivPane::BorderDrawer s_borderDrawer = nullptr;

CPreference<float> s_shadowQuality("shadowquality", 0.75f);

// Mean view units per pixel are multiplied by this before dividing the design scale.
constexpr float kViewScaleFactor = 800.0f;
// The backdrop's texture repeats every this many view units.
constexpr float kBackdropTile = 16.0f;
// Emboss height of a backdrop's spot.
constexpr float kBackdropEmboss = 20.0f;

CString Trim(const CString& text)
{
    const int32_t start = CString::FindFirstNotOf(text, " \t\r\n");
    if (start < 0)
        return CString();
    const int32_t end = CString::FindLastNotOf(text, " \t\r\n");
    return CString::SubString(text, start, end - start + 1);
}

// A pane laid out from damaged numbers can stand a billion pixels away, or at NaN: a million is
// off every screen already, and the viewport arithmetic on it cannot overflow.
constexpr float kFarthestPixel = 1e6f;

int32_t Round(float value)
{
    return std::isnan(value) ? 0 : int32_t(std::clamp(value, -kFarthestPixel, kFarthestPixel) + 0.5f);
}

Vector4<int32_t> RoundRect(const Vector4<float>& rect)
{
    return Vector4<int32_t>(Round(rect.x), Round(rect.y), Round(rect.z), Round(rect.w));
}
} // namespace

CDivPane::CDivPane() : CDiv("pane")
{
    m_openNode.SetOwner(this);
    s_openPanes.PushBack(m_openNode);
}

CDivPane::~CDivPane()
{
    m_openNode.Unlink();
}

CRef<CDivPane> CDivPane::CreateByName(const char* name)
{
    CRef<CDivPane> pane = MakeRef<CDivPane>();
    if (!name || !*name)
        return pane;
    CXmlDocument document;
    const bool loaded = name[0] == '<' ? document.Parse(name, false)
                                       : document.Load(CString("ui/") + name, CFileSystem::kInDataFolder);
    if (!loaded || !document.GetRoot())
        return pane;
    pane->m_name = name;
    pane->Load(document.GetRoot());
    return pane;
}

CRef<CDivPane> CDivPane::CreateFromXml(CXmlNode* element)
{
    CRef<CDivPane> pane = MakeRef<CDivPane>();
    pane->Load(element);
    return pane;
}

CRef<CDivPane> CDivPane::Find(const char* name)
{
    if (!name)
        return CRef<CDivPane>();
    for (CLinkNode* node = s_openPanes.First(); node; node = node->Next())
    {
        CDivPane* pane = node->GetOwner<CDivPane>();
        if (pane->m_name == name)
            return CRef<CDivPane>(pane);
    }
    return CRef<CDivPane>();
}

void CDivPane::SetActiveById(const char* id, bool active)
{
    if (!id)
        return;
    s_activeStates[id] = active;
    const CString name(id);
    for (CLinkNode* node = s_openPanes.First(); node; node = node->Next())
        if (CDiv* found = node->GetOwner<CDivPane>()->FindById(name, 0).Get())
            found->SetActive(active);
}

CDivPane::BorderDrawer CDivPane::SetBorderDrawer(BorderDrawer drawer)
{
    BorderDrawer previous = s_borderDrawer;
    s_borderDrawer = drawer;
    return previous;
}

void CDivPane::Load(CXmlNode* element)
{
    if (!element)
        return;
    TranslateScope scope(this);
    CDiv::Load(element);
    m_paneSize = m_specifiedSize;

    m_hAnchor = kAnchorLeft;
    m_vAnchor = kAnchorTop;
    bool centre = false, hSet = false, vSet = false;
    const CString& origin = element->GetAttribute("origin");
    for (int32_t start = 0; start <= int32_t(origin.size());)
    {
        int32_t end = CString::FindChar(origin, ',', start);
        if (end < 0)
            end = int32_t(origin.size());
        const CString word = Trim(CString::SubString(origin, start, end - start));
        if (CString::EqualsNoCase(word.c_str(), "top"))
            m_vAnchor = kAnchorTop, vSet = true;
        else if (CString::EqualsNoCase(word.c_str(), "bottom"))
            m_vAnchor = kAnchorBottom, vSet = true;
        else if (CString::EqualsNoCase(word.c_str(), "left"))
            m_hAnchor = kAnchorLeft, hSet = true;
        else if (CString::EqualsNoCase(word.c_str(), "right"))
            m_hAnchor = kAnchorRight, hSet = true;
        else if (CString::EqualsNoCase(word.c_str(), "centre"))
            centre = true;
        start = end + 1;
    }
    if (centre && !hSet)
        m_hAnchor = kAnchorCentre;
    if (centre && !vSet)
        m_vAnchor = kAnchorCentre;

    m_placement = ParseColourText(element->GetAttribute("placement").c_str(), kUnsetVector4f);

    const CString& behind = element->GetAttribute("behind");
    m_backdrop = behind.empty() ? CRef<CMaterial>() : CSingleton<CMaterialSet>::Instance()->Find(behind);

    m_shadowVector = Vector2<float>(-8.0f, 12.0f);
    const CString& shadow = element->GetAttribute("shadow-vector");
    if (!shadow.empty())
    {
        const Vector4<float> fields = ParseColourText(shadow.c_str(), kZeroVector4f);
        m_shadowVector = Vector2<float>(fields.x, fields.y);
    }

    SetModal(ParseBool(element->GetAttribute("modal").c_str()));
    const CString& live = element->GetAttribute("livetranslate");
    m_liveTranslate = live.empty() || ParseBool(live.c_str());
    Invalidate();
}

CRef<CDivLine> CDivPane::Layout(CRef<CDivLine> line)
{
    m_computedSize = kZeroVector2f;
    m_lines = CDivLine::Create(nullptr, kZeroVector2f, GetInnerWidth());
    CRef<CDivLine> current = m_lines;
    for (const CRef<CDiv>& child : m_children)
    {
        if (!child)
            break;
        current = child->Layout(current);
    }
    const Vector4<float> pad = GetPadding();
    const Vector2<float> extent = m_lines->Extent();
    const float scale = GetScale();
    m_computedSize.x = m_specifiedSize.x != kFloatMax ? m_specifiedSize.x * scale : extent.x + pad.x + pad.z;
    m_computedSize.y = m_specifiedSize.y != kFloatMax ? m_specifiedSize.y * scale : extent.y + pad.y + pad.w;
    FinishLayout();
    m_lines->Move(Vector2<float>(pad.x, pad.y));
    Show(true);
    ReapplyActiveStates();
    return line;
}

float CDivPane::GetInnerWidth()
{
    const Vector4<float> pad = GetPadding();
    if (m_specifiedSize.x == kFloatMax)
    {
        const Vector4<float> margin = GetMargin();
        return m_rect.z - margin.x - margin.z - pad.x - pad.z;
    }
    return m_specifiedSize.x * GetScale() - pad.x - pad.z;
}

CMaterial* CDivPane::GetMaterial()
{
    return nullptr;
}

CScheduler* CDivPane::GetClock()
{
    if (CScheduler* clock = m_clock.Get())
        return clock;
    return CScheduler::Current();
}

Vector2<float> CDivPane::GetTouchPosition()
{
    // Mapped as events are, so that what a node reads each frame (hover, a slider's drag)
    // agrees with the events it is given while the pane is panned.
    return MapToTree(CSingleton<CInput>::Instance()->GetPosition());
}

bool CDivPane::HitTest(const Vector2<float>& point)
{
    return point.x >= m_rect.x && point.x < m_rect.x + m_rect.z && point.y >= m_rect.y &&
           point.y < m_rect.y + m_rect.w;
}

bool CDivPane::OnMotion(const InputEvent& event)
{
    if (!AcceptsPointer(event))
        return IsModal();
    return CDiv::OnMotion(Mapped(event)) || IsModal();
}

bool CDivPane::OnClick(const InputEvent& event)
{
    if (!AcceptsPointer(event))
        return IsModal();
    return CDiv::OnClick(Mapped(event)) || IsModal();
}

bool CDivPane::OnPress(const InputEvent& event)
{
    if (!AcceptsPointer(event))
        return IsModal();
    return CDiv::OnPress(Mapped(event)) || IsModal();
}

bool CDivPane::OnRelease(const InputEvent& event)
{
    return CDiv::OnRelease(Mapped(event)) || IsModal();
}

bool CDivPane::OnDragBegin(const InputEvent& event)
{
    return CDiv::OnDragBegin(Mapped(event)) || IsModal();
}

bool CDivPane::OnDragEnd(const InputEvent& event)
{
    return CDiv::OnDragEnd(Mapped(event)) || IsModal();
}

bool CDivPane::OnDragCancel(const InputEvent& event)
{
    return CDiv::OnDragCancel(Mapped(event)) || IsModal();
}

void CDivPane::CollectEmboss(std::vector<float>& spots)
{
    if (m_placementDirty)
        Place();
    if (!m_lines)
        Relayout();
    if (!m_lines)
        return;
    if (m_backdrop)
    {
        const Vector4<float> r = GetTransitionRect(GetTransitionAlpha());
        spots.insert(spots.end(),
                     {r.x + r.z * 0.5f, r.y + r.w * 0.5f, 0.0f, r.z * 0.5f, r.w * 0.5f, kBackdropEmboss});
    }
    CDiv::CollectEmboss(spots);
}

bool CDivPane::AcceptsPointer(const InputEvent& event)
{
    return IsModal() || HitTest(event.position);
}

void CDivPane::Invalidate()
{
    DropLayout();
    m_placementDirty = true;
}

void CDivPane::DropLayout()
{
    DropLines();
}

bool CDivPane::AcceptsPress(const InputEvent& event)
{
    return AcceptsPointer(event);
}

bool CDivPane::OnMove(const InputEvent& event)
{
    return OnMotion(event);
}

bool CDivPane::OnMessage(const InputEvent& event)
{
    return CDiv::OnEvent(event);
}

void CDivPane::Resize()
{
    Invalidate();
}

void CDivPane::Retranslate(const char*)
{
    if (m_liveTranslate)
        DropLayout();
}

void CDivPane::Relayout()
{
    DropLayout();
    ComputeSize();
    // A pane that does not translate live records no keys, so it is never told of a change.
    TranslateScope scope(m_liveTranslate ? this : nullptr);
    Layout(CRef<CDivLine>());
}

void CDivPane::Render()
{
    if (m_placementDirty)
        Place();
    if (!m_lines)
        Relayout();
    if (!m_lines)
        return;

    if (m_backdrop)
    {
        const Vector4<float> view = CView::GetCurrent().GetRect();
        const Vector2<float> tiles(view.z / kBackdropTile, view.w / kBackdropTile);
        CGraphics::Instance()->DrawQuad(m_backdrop, kZeroVector2f,
                                        Vector4<float>(view.x, view.y, view.x + view.z, view.y + view.w),
                                        kWhite, Vector4<float>(-tiles.x, -tiles.y, tiles.x, tiles.y), 0.0f);
        if (s_borderDrawer)
            s_borderDrawer();
    }

    const Vector4<float> moved = GetTransitionRect(GetTransitionAlpha());
    if (s_shadowQuality.Get() > 0.0f)
    {
        const float scale = GetScale();
        Vector4<float> r = moved;
        r.x += m_shadowVector.x * scale;
        r.y += m_shadowVector.y * scale;
        CView pass(RoundRect(r));
        ApplyPanZoom();
        DrawShadow();
    }
    CView pass(RoundRect(moved));
    ApplyPanZoom();
    Draw();
}

void CDivPane::AnimateTo(const Vector2<float>& pan, float zoom, float duration)
{
    const float now = Now();
    const Vector4<float> current = GetPanZoom();
    m_panZoomStart = PanZoom{current.x, current.y, current.z, now};
    m_panZoomTarget = PanZoom{pan.x, pan.y, zoom, now + duration};
}

Vector4<float> CDivPane::GetPanZoom()
{
    const PanZoom& a = m_panZoomStart;
    const PanZoom& b = m_panZoomTarget;
    const float now = Now();
    if (now >= b.time || b.time <= a.time)
        return Vector4<float>(b.x, b.y, b.zoom, 0.0f);
    const float s = std::clamp((now - a.time) / (b.time - a.time), 0.0f, 1.0f);
    const float e = s * s * (3.0f - 2.0f * s);
    return Vector4<float>(a.x + e * (b.x - a.x), a.y + e * (b.y - a.y), a.zoom + e * (b.zoom - a.zoom), 0.0f);
}

void CDivPane::Place()
{
    m_placementDirty = false;
    DropLayout();
    const Vector4<float> screen = CView::GetScreenView().GetRect();
    const Vector4<float> p =
        m_placement == kUnsetVector4f ? Vector4<float>(0.0f, 0.0f, screen.z, screen.w) : m_placement;

    const CView& view = CView::GetCurrent();
    const Vector4<float> v = view.GetRect();
    const Vector2<float> unitsPerPixel = view.GetUnitsPerPixel();
    const float x = m_hAnchor == kAnchorRight    ? v.x + v.z - (p.x + p.z)
                    : m_hAnchor == kAnchorCentre ? v.x + v.z * 0.5f + p.x
                                                 : v.x + p.x;
    const float y = m_vAnchor == kAnchorBottom   ? v.y + v.w - (p.y + p.w)
                    : m_vAnchor == kAnchorCentre ? v.y + v.w * 0.5f + p.y
                                                 : v.y + p.y;

    const float a = kViewScaleFactor * unitsPerPixel.x, b = kViewScaleFactor * unitsPerPixel.y;
    // A view without pixels has no scale: the pane keeps the one it had.
    if (a + b > 0.0f)
        SetScale(kDesignScale / (a + (b - a) * 0.5f));

    const Vector2<float> corner = view.ViewToScreen(Vector2<float>(x, y));
    const Vector2<float> far = view.ViewToScreen(Vector2<float>(x + p.z, y + p.w));
    SetRect(Vector4<float>(corner.x, corner.y, far.x - corner.x, far.y - corner.y));
    m_computedSize = kZeroVector2f;
}

void CDivPane::SetRect(const Vector4<float>& rect)
{
    if (rect != m_rect)
    {
        if (rect.z != m_rect.z || rect.w != m_rect.w)
            DropLayout();
        m_rect = rect;
    }
    const float scale = GetScale();
    m_specifiedSize.x = m_paneSize.x != kFloatMax ? m_paneSize.x : m_rect.z / scale;
    m_specifiedSize.y = m_paneSize.y != kFloatMax ? m_paneSize.y : m_rect.w / scale;
}

Vector4<float> CDivPane::GetTransitionRect(float progress)
{
    Vector4<float> rect = m_rect;
    if (m_paneTransition)
        m_paneTransition->Apply(rect, progress);
    return rect;
}

Vector2<float> CDivPane::MapToTree(const Vector2<float>& point)
{
    // The inverse of the projection: the tree is moved by the pan, then zoomed about the
    // rectangle's corner.
    const Vector4<float> panZoom = GetAppliedPanZoom();
    const Vector2<float> pan = PanInPixels(panZoom);
    return Vector2<float>((point.x - m_rect.x) / panZoom.z - pan.x, (point.y - m_rect.y) / panZoom.z - pan.y);
}

Vector4<float> CDivPane::GetAppliedPanZoom()
{
    // A move back home is not drawn: the pane stands home as soon as it is asked to go there,
    // and its input follows what is drawn.
    const PanZoom& target = m_panZoomTarget;
    if (target.x == 0.0f && target.y == 0.0f && target.zoom == 1.0f)
        return Vector4<float>(0.0f, 0.0f, 1.0f, 0.0f);
    return GetPanZoom();
}

Vector2<float> CDivPane::PanInPixels(const Vector4<float>& panZoom)
{
    // The pan counts in sizes of the whole-screen view (view units) times the pane's scale, so
    // that a pan lands on the same em of the tree whatever the screen's pixels.
    const Vector4<float> screen = CView::GetScreenView().GetRect();
    const float k = GetScale();
    return Vector2<float>(panZoom.x * screen.z * k, panZoom.y * screen.w * k);
}

void CDivPane::SetClock(CScheduler* clock)
{
    m_clock.Set(clock);
}

float CDivPane::Now()
{
    CScheduler* clock = GetClock();
    return clock ? float(clock->GetClock()) * 0.001f : 0.0f;
}

void CDivPane::ApplyPanZoom()
{
    const Vector4<float> panZoom = GetAppliedPanZoom();
    if (panZoom == Vector4<float>(0.0f, 0.0f, 1.0f, 0.0f))
        return;
    const Vector2<float> pan = PanInPixels(panZoom);
    glMatrixMode(GL_PROJECTION);
    glScalef(panZoom.z, panZoom.z, 1.0f);
    glTranslatef(pan.x, pan.y, 0.0f);
    glMatrixMode(GL_MODELVIEW);
}

InputEvent CDivPane::Mapped(const InputEvent& event)
{
    InputEvent mapped = event;
    mapped.position = MapToTree(event.position);
    return mapped;
}

void CDivPane::ReapplyActiveStates()
{
    for (const auto& [id, active] : s_activeStates)
        if (CDiv* node = FindById(CString(id), 0).Get())
            node->SetActive(active);
}
