#include "platform/CCursor.h"

#include "Graphics/CMaterialSet.h"
#include "core/CFileSystem.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/Colour.h"
#include "core/TextFields.h"
#include "platform/CDirectJ.h"
#include "platform/CInput.h"
#include "platform/CView.h"

#include <algorithm>

REGISTER_SINGLETON(CCursor, "global", 50);

namespace
{
constexpr const char* kTouch = "touch";
constexpr const char* kDefault = "default";

// A pair of comma fields; a missing second repeats the first, def when the text is empty.
Vector2<float> ReadPair(const CXmlNode* element, const char* name, const Vector2<float>& def)
{
    const CString& text = element->GetAttribute(name);
    if (text.empty())
        return def;
    float values[2];
    ParseFloatFields(text.c_str(), values, 2);
    return Vector2<float>(values[0], values[1]);
}

uint32_t Now()
{
    const CDirectJ* platform = CDirectJ::Peek();
    return platform ? platform->GetTicks() : 0;
}

// The sprite of a look: one quad at the pointer.
void Apply(QuadBatch& batch, const CCursor::Look& look)
{
    batch.SetMaterial(look.material);
    batch.SetQuadRect(0, look.rect);
    batch.SetQuadUv(0, 0, look.uvs);
    batch.SetColour(look.colour);
}
} // namespace

CCursor::Look CCursor::ReadLook(const CXmlNode* element)
{
    Look look;
    const Vector2<float> size = ReadPair(element, "size", Vector2<float>(0.5f, 0.5f));
    const Vector2<float> hotspot = ReadPair(element, "hotspot", Vector2<float>(0.0f, 0.0f));
    look.rect = Vector4<float>(-hotspot.x * size.x, -hotspot.y * size.y, (1.0f - hotspot.x) * size.x,
                               (1.0f - hotspot.y) * size.y);
    look.material = CMaterialSet::Instance()->Find(element->GetAttribute("material"));
    look.colour = ParseColourText(element->GetAttribute("colour").c_str(), look.colour);
    look.uvs = ParseColourText(element->GetAttribute("uvs").c_str(), look.uvs);
    return look;
}

void CCursor::Init()
{
    if (CDirectJ* platform = CDirectJ::Peek())
        platform->ShowSystemCursor(false);
    m_marker.translation = kUnsetVector3f;

    CXmlDocument document("cursor", CFileSystem::kInDataFolder);
    CXmlNode* root = document.GetRoot();
    if (!document.IsLoaded() || !root)
        return;
    bool any = false;
    for (CXmlNode* child = root->FirstChild(); child; child = child->NextSibling())
    {
        if (child->GetName() == CXmlNode::kContentName)
            continue;
        any = true;
        const Look look = ReadLook(child);
        if (child->GetName() == kTouch)
        {
            Apply(m_marker, look);
            m_marker.translation = kUnsetVector3f;
            continue;
        }
        m_looks[child->GetName()] = look;
        m_hasCursors = true;
    }
    if (m_hasCursors)
    {
        SetCursor(kDefault, 0);
        CControl::Register("global", "app");
    }
    if (any)
        CDrawing::Register("global", "cursor");
}

CCursor::~CCursor()
{
    if (CDirectJ* platform = CDirectJ::Peek())
        platform->ShowSystemCursor(true);
    CControl::Unregister();
    if (CDrawing::IsRegistered())
        CDrawing::Unregister("global", "cursor");
}

void CCursor::SetCursor(const CString& name, int32_t ms)
{
    if (name != m_current)
    {
        m_current = name;
        Rebuild();
    }
    // Added in 64 bits: a long duration late in a run stays "never" rather than wrapping.
    m_fallbackTime = ms != 0 ? int32_t(std::min<int64_t>(int64_t(Now()) + ms, kNever)) : kNever;
}

void CCursor::SetMarkerPosition(const Vector2<float>& point)
{
    m_marker.translation = Vector3<float>(point.x, point.y, 0.0f);
}

bool CCursor::IsMarkerPending() const
{
    return m_marker.translation.x != kUnsetVector3f.x;
}

const CCursor::Look* CCursor::ChooseLook(bool held) const
{
    if (held)
    {
        const auto pressed = m_looks.find(m_current + "-p");
        if (pressed != m_looks.end())
            return &pressed->second;
    }
    const auto plain = m_looks.find(m_current);
    return plain != m_looks.end() ? &plain->second : nullptr;
}

void CCursor::Rebuild()
{
    if (m_looks.empty())
        return;
    const CInput* input = CInput::Peek();
    if (const Look* look = ChooseLook(input && input->IsButtonDown(1)))
        Apply(m_sprite, *look);
}

bool CCursor::OnPress(const InputEvent&)
{
    Rebuild();
    return false;
}

bool CCursor::OnRelease(const InputEvent&)
{
    Rebuild();
    return false;
}

void CCursor::Draw()
{
    bool markerFrame = false;
    m_markerShown = IsMarkerPending();
    if (m_marker.material && IsMarkerPending())
    {
        CView pixels(CView::kPixels);
        m_marker.Draw();
        m_marker.translation = kUnsetVector3f;
        markerFrame = true;
    }
    const CDirectJ* platform = CDirectJ::Peek();
    if (!m_hasCursors || markerFrame || !m_visible || (platform && !platform->IsCursorVisible()))
        return;
    if (int64_t(Now()) >= int64_t(m_fallbackTime))
        SetCursor(kDefault, 0);
    const CInput* input = CInput::Peek();
    const Vector2<float> at = input ? input->GetViewPosition() : Vector2<float>();
    m_sprite.translation = Vector3<float>(at.x, at.y, m_sprite.translation.z);
    m_sprite.Draw();
}
