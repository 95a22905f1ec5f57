#include "scene/CLayerSmallFront.h"

#include "Graphics/CMaterial.h"
#include "Graphics/CScreenFlip.h"
#include "Graphics/CTexture.h"
#include "Graphics/MatrixScope.h"
#include "core/CXmlNode.h"
#include "core/ContentLimits.h"
#include "core/Random.h"
#include "core/ReadColourAttribute.h"
#include "core/TextFields.h"
#include "platform/CView.h"
#include "platform/InputEvent.h"
#include "puzzle/CPuzzle.h"
#include "puzzle/CPuzzleLoader.h"
#include "puzzle/CPuzzles.h"
#include "scene/CPond.h"
#include "scene/LayerKindMap.h"
#include "scene/RandomRange.h"
#include "ui/CButtonTransitionGrow.h"
#include "ui/CDivPane.h"

#include <GLES/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
[[maybe_unused]] const bool s_registered = LayerKindMap::Register("SmallFront", &CLayerSmallFront::Make);

constexpr const char* kIconAction = "puzzleinfo";
// The backdrop tiles at its texture's pixel size; a texture that does not load counts as this.
constexpr int32_t kDefaultTexturePixels = 256;
// Spring of the coasting board per unit of overshoot (per second).
constexpr float kSpring = 6.0f;

bool IsUnset(const Vector2<float>& v)
{
    return v.x == kFloatMax && v.y == kFloatMax;
}

// Two comma fields, a missing second repeating the first; def when the attribute is absent.
Vector2<float> ReadPair(const CXmlNode& element, const char* name, const Vector2<float>& def)
{
    const CString& text = element.GetAttribute(name);
    if (text.empty())
        return def;
    float values[2] = {0.0f, 0.0f};
    ParseFloatFields(text.c_str(), values, 2);
    return Vector2<float>(values[0], values[1]);
}

// The whole-screen view's pixels in view units: one pixel's width and height.
Vector2<float> UnitsPerPixel()
{
    return CView::GetScreenView().GetUnitsPerPixel();
}
} // namespace

CLayerSmallFront::CLayerSmallFront() : CLayer("CLayerSmallFront")
{
    CControl::Register("frontend", "frontend");
}

CLayerSmallFront::~CLayerSmallFront()
{
    // The icons first, then the control registrations; the layer part goes last by itself.
    m_icons.clear();
    CControl::Unregister();
}

CRef<CLayer> CLayerSmallFront::Make()
{
    return MakeRef<CLayerSmallFront>();
}

void CLayerSmallFront::Load(CXmlNode& element)
{
    CLayer::Load(element);
    m_colourNew = ReadColourAttribute(&element, "colournew", kWhite);
    m_colourLow = ReadColourAttribute(&element, "colourlow", kWhite);
    m_colourHigh = ReadColourAttribute(&element, "colourhigh", kWhite);
    m_colourPerfect = ReadColourAttribute(&element, "colourperfect", kWhite);
    const CString& damping = element.GetAttribute("damping");
    m_damping = damping.empty() ? 0.1f : float(ParseFloat(damping.c_str()));
    m_origin = ReadPair(element, "origin", Vector2<float>(0.0f, 0.0f));
    m_grid = ReadPair(element, "grid", Vector2<float>(1.0f, 1.0f));
    int32_t bounds[2] = {1, 0};
    if (!element.GetAttribute("bounds").empty())
        ParseIntFields(element.GetAttribute("bounds").c_str(), bounds, 2);
    // A grid wider or taller than a thousand icons is off every screen; the counters stay in range.
    const CPond* pond = GetPond();
    const CString file = "pond/" + (pond ? pond->GetName() : CString()) + ".xml";
    const int32_t columns = BoundCount(bounds[0], 0, 1000, file, GetName() + "/bounds");
    const int32_t rows = BoundCount(bounds[1], 0, 1000, file, GetName() + "/bounds");
    const Vector2<float> heights = ReadFloatRange(element, "heighty", Vector2<float>(0.6f, 0.7f));
    const Vector2<float> angles = ReadFloatRange(element, "angly", Vector2<float>(0.0f, 0.0f));
    const Vector2<float> jitter = ReadPair(element, "posy", Vector2<float>(0.0f, 0.0f));

    Vector2<float> low = m_origin;
    Vector2<float> high = m_origin;
    m_icons.clear();
    if (CXmlNode* icon = element.FindChild("button"))
    {
        CPuzzles* puzzles = CPuzzles::Instance();
        m_icons.reserve(size_t(puzzles->Count()));
        Vector2<float> g = m_origin;
        int32_t columnsLeft = columns;
        int32_t rowsLeft = rows;
        for (CString name = puzzles->FirstAfterNumber(-1); !name.empty(); name = puzzles->NextPuzzle(name))
        {
            low = Vector2<float>(std::min(low.x, g.x), std::min(low.y, g.y));
            high = Vector2<float>(std::max(high.x, g.x), std::max(high.y, g.y));

            icon->SetAttribute("attributes", name.c_str());
            icon->SetAttribute("position", CString::Format("%f,%f", 0.0, 0.0).c_str());
            icon->SetAttribute("angle", CString::Format("%f", double(DrawFloatRange(angles))).c_str());
            m_icons.push_back(std::make_unique<CButton>());
            CButton& button = *m_icons.back();
            button.Load(*icon);
            button.transition = CButtonTransitionGrow::Create();

            const float dx = DrawFloatRange(Vector2<float>(-jitter.x, jitter.x));
            const float dy = DrawFloatRange(Vector2<float>(-jitter.y, jitter.y));
            const float z = DrawFloatRange(heights);
            button.SetScreenPosition(g + Vector2<float>(dx, dy));
            button.position.z = z;

            // Fewer rows than columns fills row by row, else column by column. A counter at 0
            // or below wraps, so that an empty count never runs on without end.
            if (rows < columns)
            {
                g.x += m_grid.x;
                if (--columnsLeft <= 0)
                {
                    g.x = m_origin.x;
                    g.y += m_grid.y;
                    columnsLeft = columns;
                }
            }
            else
            {
                g.y += m_grid.y;
                if (--rowsLeft <= 0)
                {
                    g.y = m_origin.y;
                    g.x += m_grid.x;
                    rowsLeft = rows;
                }
            }
        }
    }

    const CString& scale = element.GetAttribute("scale");
    m_scale = scale.empty() ? 1.0f : float(ParseFloat(scale.c_str()));

    m_rect = Vector4<float>(low.x - m_grid.x * 0.5f, low.y - m_grid.y * 3.0f, (high.x - low.x) + m_grid.x,
                            (high.y - low.y) + m_grid.y * 6.0f);
    const Vector4<float>& r = m_rect;
    // Twice the layer's size, centred on it; the uvs wait for the texture's size at the first draw.
    m_quad.SetQuadRect(
        0, Vector4<float>(r.x - r.z * 0.5f, r.y - r.w * 0.5f, r.x + r.z * 1.5f, r.y + r.w * 1.5f));
    m_quad.SetQuadUv(0, 0, kZeroVector4f);

    Refresh();
}

void CLayerSmallFront::Place() {}

CLayerSmallFront::Look CLayerSmallFront::LookFor(const CString& puzzle) const
{
    const CPuzzles* puzzles = CPuzzles::Instance();
    Look look;
    if (!puzzles->HasRecord(puzzle))
    {
        look.onState = 0;
        look.active = puzzles->IsAvailable(puzzle);
        look.colour = m_colourNew;
        return look;
    }
    look.onState = 1;
    look.active = true;
    float s = std::clamp(puzzles->GetBestScore(puzzle), 0.0f, 1.0f);
    if (puzzles->GetRecordField4(puzzle) > 0)
        s *= 0.9f;
    if (s >= 1.0f)
    {
        look.colour = m_colourPerfect;
        return look;
    }
    look.frameCap = 9u + uint32_t(std::floor(5.0f * s));
    look.colour = m_colourLow + s * (m_colourHigh - m_colourLow);
    return look;
}

void CLayerSmallFront::Refresh()
{
    m_target = kUnsetVector2f;
    m_pressed = false;
    float delay = 0.0f;
    for (const std::unique_ptr<CButton>& icon : m_icons)
    {
        if (icon->action != kIconAction)
            continue;
        const Look look = LookFor(icon->attributes);
        icon->stateSet = look.onState;
        icon->active = look.active;
        icon->colour = look.colour;
        icon->frameCap = look.frameCap;
        if (icon->transition && icon->IsEnabled())
        {
            icon->transition->Start(0, delay + float(GlobalRandom().NextFraction()) * 0.1f - 0.05f);
            delay = std::min(delay + 0.05f, 1.0f);
        }
    }

    const Vector4<float>& v = CView::GetScreenView().GetRect();
    const Vector4<float>& l = m_rect;
    if (l.w < v.w)
    {
        // The two axes differ on purpose: the board centres across, and lies centred down the
        // screen; a narrow board then springs in from the side at the next coasting step.
        m_nudge = Vector2<float>((v.x - l.x) + (l.z - v.z) * 0.5f, (v.y - l.y) + (v.w - l.w) * 0.5f);
    }
    else
    {
        m_nudge.x = std::max(std::min(m_nudge.x, v.x - l.x), (v.x + v.z) - (l.x + l.z));
        m_nudge.y = std::max(std::min(m_nudge.y, v.y - l.y), (v.y + v.w) - (l.y + l.w));
    }
    Update(0.0f);
}

Vector4<float> CLayerSmallFront::GetNudgeRange() const
{
    const Vector4<float>& v = CView::GetScreenView().GetRect();
    const Vector4<float>& l = m_rect;
    return Vector4<float>((v.x + v.z) - (l.x + l.z), (v.y + v.w) - (l.y + l.w), v.x - l.x, v.y - l.y);
}

Vector2<float> CLayerSmallFront::Overshoot(const Vector2<float>& p, const Vector4<float>& range)
{
    return Vector2<float>(std::max(range.x - p.x, 0.0f) - std::max(p.x - range.z, 0.0f),
                          std::max(range.y - p.y, 0.0f) - std::max(p.y - range.w, 0.0f));
}

void CLayerSmallFront::Update(float dt)
{
    const Vector4<float> range = GetNudgeRange();
    if (!IsUnset(m_target))
    {
        // A rubber band: outside the range the board follows half the pointer's overshoot.
        const Vector2<float> t = m_target + 0.5f * Overshoot(m_target, range);
        // Without time passing there is no velocity to measure (a refresh runs with dt 0).
        if (dt > 0.0f)
            m_velocity += ((t - m_nudge) / dt - m_velocity) * 0.5f;
        m_nudge = t;
    }
    else
    {
        const Vector2<float> spring = kSpring * Overshoot(m_nudge, range);
        const float springs[2] = {spring.x, spring.y};
        float* velocities[2] = {&m_velocity.x, &m_velocity.y};
        for (int axis = 0; axis < 2; ++axis)
        {
            float& velocity = *velocities[axis];
            if (springs[axis] * velocity > 0.0f)
                velocity = springs[axis];
            else
                velocity +=
                    std::min((std::fabs(springs[axis]) + m_damping) * dt, 1.0f) * (springs[axis] - velocity);
        }
        const Vector2<float> pixel = UnitsPerPixel();
        if (Dot(m_velocity, m_velocity) < Dot(pixel, pixel))
            m_velocity = kZeroVector2f;
        m_nudge += dt * m_velocity;
    }
    if (CPond* pond = GetPond())
        pond->SetNudge(m_nudge);
    for (const std::unique_ptr<CButton>& icon : m_icons)
        icon->Update();
}

void CLayerSmallFront::Draw()
{
    CPond* pond = GetPond();
    if (!pond)
        return;
    const CView& screen = CView::GetScreenView();
    const Vector4<float>& v = screen.GetRect();
    const Vector2<float> pixel = UnitsPerPixel();
    if (m_quad.material && m_quad.GetQuadUv(0, 0) == kZeroVector4f)
    {
        Vector2<float> size{float(kDefaultTexturePixels), float(kDefaultTexturePixels)};
        if (CRef<CTexture> texture = m_quad.material->GetTexture(0))
        {
            texture->EnsureLoaded();
            if (texture->IsLoaded() && texture->GetWidth() > 0 && texture->GetHeight() > 0)
                size = Vector2<float>(float(texture->GetWidth()), float(texture->GetHeight()));
        }
        if (pixel.x > 0.0f && pixel.y > 0.0f && m_scale > 0.0f)
            m_quad.SetQuadUv(0, 0,
                             Vector4<float>(0.0f, 0.0f, 2.0f * m_rect.z / (m_scale * size.x * pixel.x),
                                            2.0f * m_rect.w / (m_scale * size.y * pixel.y)));
    }

    const Vector2<float> offset = m_height * pond->GetNudge();
    const CView outer(screen.GetViewport(), v);
    if (m_quad.material)
    {
        const MatrixScope matrix;
        glTranslatef(offset.x, offset.y, 0.0f);
        m_quad.Draw();
    }

    const Vector4<float> visible(v.x - offset.x - 0.5f, v.y - offset.y - 0.5f, v.z + 1.0f, v.w + 1.0f);
    const Vector2<float> centre(visible.x + visible.z * 0.5f, visible.y + visible.w * 0.5f);
    for (const std::unique_ptr<CButton>& icon : m_icons)
    {
        const Vector3<float> p = icon->GetScreenPosition();
        if (p.x < visible.x || p.y < visible.y || p.x >= visible.x + visible.z ||
            p.y >= visible.y + visible.w)
            continue;
        // Higher icons move further from the centre as the board scrolls: depth.
        const Vector2<float> shift = offset + p.z * (Vector2<float>(p.x, p.y) - centre);
        const CView view(screen.GetViewport(), Vector4<float>(v.x - shift.x, v.y - shift.y, v.z, v.w));
        icon->Draw();
    }
}

Vector2<float> CLayerSmallFront::PondNudge() const
{
    const CPond* pond = GetPond();
    return pond ? pond->GetNudge() : kZeroVector2f;
}

Vector2<float> CLayerSmallFront::ToBoard(const Vector2<float>& point) const
{
    return CView::GetScreenView().ScreenToView(point) - m_height * PondNudge();
}

bool CLayerSmallFront::IsUnderPane(const Vector2<float>& point) const
{
    const CPond* pond = GetPond();
    if (!pond)
        return false;
    for (const CRef<CLayer>& layer : pond->GetLayers())
    {
        CDivPane* pane = layer.Get() != this && layer->IsShown() ? layer->GetPane() : nullptr;
        if (pane && pane->HitTest(point))
            return true;
    }
    return false;
}

void CLayerSmallFront::MoveIcons(const Vector2<float>& point, bool held)
{
    for (const std::unique_ptr<CButton>& icon : m_icons)
        icon->OnMotion(point, held);
}

bool CLayerSmallFront::AcceptsPress(const InputEvent&)
{
    return true;
}

bool CLayerSmallFront::OnPress(const InputEvent& event)
{
    if (!GetPond())
        return false;
    m_pressPoint = event.position;
    m_nudgeAtPress = PondNudge();
    m_nudge = m_target = m_nudgeAtPress;
    m_velocity = kZeroVector2f;
    m_pressed = !IsUnderPane(event.position);
    if (!m_pressed)
        return false;
    const Vector2<float> point = ToBoard(event.position);
    for (const std::unique_ptr<CButton>& icon : m_icons)
        if (icon->OnPress(point))
            return true;
    return false;
}

bool CLayerSmallFront::OnMove(const InputEvent& event)
{
    if (!IsDragging())
        return false;
    const Vector2<float> d =
        CView::GetScreenView().ScreenToView(event.position) - CView::GetCurrent().ScreenToView(m_pressPoint);
    m_target = m_nudgeAtPress + d;
    m_pressed = false;
    // Far away and held: the pointer leaves every icon, so none lights up under a drag.
    MoveIcons(Vector2<float>(1.0e8f, 1.0e8f), true);
    return true;
}

bool CLayerSmallFront::OnDragBegin(const InputEvent&)
{
    MoveIcons(Vector2<float>(-100.0f, -100.0f), false);
    m_pressed = false;
    return true;
}

bool CLayerSmallFront::OnRelease(const InputEvent& event)
{
    if (!GetPond())
        return false;
    m_target = kUnsetVector2f;
    if (m_pressed)
    {
        m_pressed = false;
        const Vector2<float> point = ToBoard(event.position);
        for (const std::unique_ptr<CButton>& icon : m_icons)
            icon->OnRelease(point);
    }
    return false;
}

bool CLayerSmallFront::OnDragEnd(const InputEvent&)
{
    m_target = kUnsetVector2f;
    m_pressed = false;
    return true;
}

bool CLayerSmallFront::OnDragCancel(const InputEvent&)
{
    m_target = kUnsetVector2f;
    m_pressed = false;
    return true;
}

bool CLayerSmallFront::OnMessage(const InputEvent& event)
{
    if (std::strcmp(event.name, "_activate") == 0)
    {
        Refresh();
        return false;
    }
    if (std::strcmp(event.name, "cancel") == 0)
        return true;
    if (std::strcmp(event.name, kIconAction) == 0)
    {
        ShowPuzzle(CString(event.argument));
        return true;
    }
    return false;
}

void CLayerSmallFront::ShowPuzzle(const CString& name)
{
    CPuzzle::SetListingTexts(name);
    CScreenFlip* flip = CScreenFlip::Instance();
    // Held until the end: the pane is recoloured after the flip took it.
    const CRef<CBase> held = flip->Begin("puzzle", CScreenFlip::kTurnNow);
    flip->SetCallback(MakeRef<CPuzzleLoader>(name));
    CDivPane* pane = dynamic_cast<CDivPane*>(held.Get());
    if (!pane || CPuzzles::Instance()->HasRecord(name))
        return;
    CDiv* best = pane->GetById("best");
    best->SetColour(kZeroVector4f);
    best->SetShadowColour(kZeroVector4f);
    CDiv* unsolved = pane->GetById("unsolved");
    Vector4<float> colour = unsolved->GetColour();
    colour.w *= 0.5f;
    unsolved->SetColour(colour);
}
