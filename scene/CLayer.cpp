#include "scene/CLayer.h"

#include "Graphics/CMaterialSet.h"
#include "core/CXmlNode.h"
#include "core/MathConstants.h"
#include "core/ParseBool.h"
#include "core/ReadColourAttribute.h"
#include "core/TextFields.h"
#include "platform/CDrawings.h"
#include "platform/CGame.h"
#include "platform/CView.h"
#include "puzzle/CPuzzle.h"
#include "scene/CPond.h"
#include "scene/LayerKindMap.h"
#include "scene/RandomRange.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace
{
CLayer::SpringSource s_springSource = nullptr;

Vector4<float> ToQuadRect(const Vector4<float>& rect)
{
    return Vector4<float>(rect.x, rect.y, rect.x + rect.z, rect.y + rect.w);
}
} // namespace

CLayer::Placement CLayer::ComputePlacement(int32_t fit, const Vector4<float>& placement,
                                           const Vector4<float>& view, const Vector4<int32_t>& viewport)
{
    Placement out;
    out.rect = placement;
    Vector4<float>& r = out.rect;
    const bool given = placement != kZeroVector4f;

    if (fit < kFitTopLeft || fit > kFitBottomRight)
    {
        if (given)
        {
            out.movesQuad = false; // Load already gave the quad the placement
            return out;
        }
        switch (fit)
        {
        case kFitTiled:
        case kFitTiledX:
        case kFitTiledY:
            r = view;
            out.tiled = true;
            // The texture repeats along the longer side with square texels.
            if (r.z > r.w && r.w > 0.0f)
            {
                if (fit == kFitTiledY)
                {
                    r.x += (r.z - r.w) * 0.5f;
                    r.z = r.w;
                }
                else
                {
                    const float k = r.z / r.w;
                    out.window = Vector4<float>(0.5f - 0.5f * k, 0.0f, 0.5f + 0.5f * k, 1.0f);
                }
            }
            if (r.z < r.w && r.z > 0.0f)
            {
                if (fit == kFitTiledX)
                {
                    r.y += (r.w - r.z) * 0.5f;
                    r.w = r.z;
                }
                else
                {
                    const float k = r.w / r.z;
                    out.window = Vector4<float>(0.0f, 0.5f - 0.5f * k, 1.0f, 0.5f + 0.5f * k);
                }
            }
            break;
        case kFitExact:
            r = Vector4<float>(viewport);
            break;
        default: // a square that covers the view, centred on it
            if (view.z > view.w)
                r = Vector4<float>(view.x, view.y - (view.z - view.w) * 0.5f, view.z, view.z);
            else
                r = Vector4<float>(view.x - (view.w - view.z) * 0.5f, view.y, view.w, view.w);
            break;
        }
        return out;
    }

    // Corner fits move the placement until it reaches that corner of the view. Without a
    // placement the rectangle is empty.
    const bool left = fit == kFitTopLeft || fit == kFitBottomLeft;
    const bool top = fit == kFitTopLeft || fit == kFitTopRight;
    if (left)
        r.x = std::min(r.x, view.x);
    else if (r.x + r.z < view.x + view.z)
        r.x = view.x + view.z - r.z;
    if (top)
        r.y = std::min(r.y, view.y);
    else if (r.y + r.w < view.y + view.w)
        r.y = view.y + view.w - r.w;
    return out;
}

int32_t CLayer::ParseFit(const char* text)
{
    static constexpr struct
    {
        const char* name;
        Fit fit;
    } kFits[] = {{"exact", kFitExact},           {"tiled", kFitTiled},
                 {"tiled-x", kFitTiledX},        {"tiled-y", kFitTiledY},
                 {"topleft", kFitTopLeft},       {"topright", kFitTopRight},
                 {"bottomleft", kFitBottomLeft}, {"bottomright", kFitBottomRight}};
    if (text)
        for (const auto& entry : kFits)
            if (strcmp(text, entry.name) == 0)
                return entry.fit;
    return kFitNone;
}

CLayer::SpringSource CLayer::SetSpringSource(SpringSource source)
{
    return std::exchange(s_springSource, source);
}

CRef<CLayer> CLayer::Create(CPond* pond, CXmlNode& element)
{
    const LayerKindMap::Factory factory = LayerKindMap::Find(element.GetAttribute("type"));
    if (!factory)
        return {};
    CRef<CLayer> layer = factory();
    if (!layer)
        return {};
    layer->SetPond(pond);
    layer->Load(element);
    layer->Place();
    return layer;
}

CLayer::CLayer(const char* className) : m_className(MakeString(className)) {}

CLayer::~CLayer()
{
    if (m_order.empty())
        return;
    if (CGame* game = CGame::Peek())
        if (CDrawings* drawings = game->GetScope(m_orderScope).PeekDrawings())
            drawings->Remove(this, m_order.c_str());
}

CPond* CLayer::GetPond() const
{
    return static_cast<CPond*>(m_pond.Get());
}

void CLayer::SetPond(CPond* pond)
{
    m_pond.Set(pond);
}

void CLayer::Load(CXmlNode& element)
{
    m_name = element.GetAttribute("name");

    const CString& height = element.GetAttribute("height");
    m_height = height.empty() ? 1.0f : float(ParseFloat(height.c_str()));

    m_placement = ReadColourAttribute(&element, "placement", kZeroVector4f);
    m_rect = m_placement;
    m_overdraw = float(ParseFloat(element.GetAttribute("overdraw").c_str()));
    m_fit = ParseFit(element.GetAttribute("fit").c_str());

    const CString& nudgeable = element.GetAttribute("nudgeable");
    m_nudgeable = nudgeable.empty() ? m_fit == kFitExact : ParseBool(nudgeable.c_str());

    // Two comma fields, (0, 0) when absent.
    m_wind = ReadFloatRange(element, "wind", kZeroVector2f);
    m_spring = ReadFloatRange(element, "spring", kZeroVector2f);

    const CString& material = element.GetAttribute("material");
    if (!material.empty())
    {
        m_quad.SetMaterial(CMaterialSet::Instance()->Find(material));
        m_quad.SetColour(ReadColourAttribute(&element, "colour", kWhite));
        // A positive overdraw shows only the inner part of the texture.
        m_quad.SetQuadUv(0, 0, Vector4<float>(m_overdraw, m_overdraw, 1.0f - m_overdraw, 1.0f - m_overdraw));
        m_quad.SetQuadRect(0, ToQuadRect(m_placement));
    }

    const CString& order = element.GetAttribute("order");
    if (!order.empty() && m_order.empty())
    {
        CGame* game = CGame::Instance();
        m_order = order;
        m_orderScope = game->GetCurrentScopeId();
        game->GetCurrentScope().GetDrawings().Add(this, m_order.c_str());
    }

    m_wobblers.clear();
    for (CXmlNode* child = element.FirstChild(); child; child = child->NextSibling())
        if (child->GetName() == "wobbler")
            m_wobblers.emplace_back(*child);
}

void CLayer::Place()
{
    const CView& screen = CView::GetScreenView();
    const Placement placed = ComputePlacement(m_fit, m_placement, screen.GetRect(), screen.GetViewport());
    m_rect = placed.rect;
    if (placed.tiled)
    {
        m_textureWindow = placed.window;
        if (m_quad.material)
            m_quad.SetQuadUv(0, 0, m_textureWindow);
    }
    if (placed.movesQuad && m_quad.material)
        m_quad.SetQuadRect(0, ToQuadRect(m_rect));
    ApplyTranslation();
}

void CLayer::Animate()
{
    if (!m_quad.material)
        return;
    const int32_t now = int32_t(CPond::GetLayerClock());
    // QuadBatch ignores a unit beyond the texture units there are (and a negative one, as a
    // huge unsigned index).
    for (const CWobbler& wobbler : m_wobblers)
        m_quad.SetQuadUv(0, uint32_t(wobbler.unit), wobbler.Evaluate(now));
}

void CLayer::SetOffset(const Vector2<float>& offset)
{
    if (offset == m_offset)
        return;
    m_offset = offset;
    Place();
}

Vector2<float> CLayer::GetOffset() const
{
    Vector2<float> offset = m_offset;
    if (m_wind != kZeroVector2f)
        if (const CPond* pond = GetPond())
            offset += m_wind * pond->GetSway();
    if (m_spring != kZeroVector2f && s_springSource)
        offset += m_spring * s_springSource();
    return offset;
}

Vector2<float> CLayer::GetSpriteOffset() const
{
    Vector2<float> offset = GetOffset();
    if (!m_nudgeable)
        if (const CPuzzle* puzzle = CPuzzle::Peek())
            offset -= puzzle->GetPondPosition();
    return offset;
}

void CLayer::ApplyTranslation()
{
    if (m_nudgeable)
        return;
    if (const CPuzzle* puzzle = CPuzzle::Peek())
    {
        const Vector2<float>& position = puzzle->GetPondPosition();
        m_quad.translation.x = -position.x;
        m_quad.translation.y = -position.y;
    }
}
