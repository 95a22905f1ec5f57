#include "ui/CDiv.h"

#include "Graphics/CMaterial.h"
#include "Graphics/CMaterialSet.h"
#include "Graphics/LodBiasScope.h"
#include "core/CPreference.h"
#include "core/CRule.h"
#include "core/CScheduler.h"
#include "core/CXmlNode.h"
#include "core/Colour.h"
#include "core/ContentLimits.h"
#include "core/KindRegistry.h"
#include "core/ParseBool.h"
#include "core/TextFields.h"
#include "platform/CGame.h"
#include "platform/CInput.h"
#include "platform/InputEvent.h"
#include "ui/CDivContent.h"
#include "ui/CDivLine.h"
#include "ui/CPaneTransition.h"

#include <algorithm>
#include <utility>

namespace
{
// Node kinds by tag name, any case.
using TagRegistry = KindRegistry<CDiv::Creator>;

CRule<int> s_defaultFontSize("default/fontsize", CDiv::kMinDefaultFontSize,
                             CDiv::kMaxDefaultFontSize); // em
CRule<CString> s_defaultFontFace("default/fontface");
CPreference<bool> s_fontTransitions("fonttransitions", true);

// Longest step of a fade per reading of the clock, so that a long frame does not skip it.
constexpr int64_t kMaxFadeStepMs = 100;
// Texture level-of-detail bias of the shadow pass: a blurrier mipmap level.
constexpr float kShadowLodBias = 2.0f;

const bool s_registered = (CDiv::RegisterTag("Div", &CDiv::Create), true);

bool IsSet(float value)
{
    return value != kFloatMax;
}

bool IsSet(const Vector4<float>& value)
{
    return value != kUnsetVector4f;
}

// Each side that is given, times scale; 0 elsewhere.
Vector4<float> ScaledSides(const Vector4<float>& sides, float scale)
{
    return Vector4<float>(IsSet(sides.x) ? sides.x * scale : 0.0f, IsSet(sides.y) ? sides.y * scale : 0.0f,
                          IsSet(sides.z) ? sides.z * scale : 0.0f, IsSet(sides.w) ? sides.w * scale : 0.0f);
}

// The alignment keywords of attributes and styles; any other text is "inherit".
int32_t ParseAlign(const CString& text)
{
    static constexpr struct
    {
        const char* word;
        int32_t align;
    } kWords[] = {{"left", CDiv::kAlignStart}, {"center", CDiv::kAlignMiddle}, {"centre", CDiv::kAlignMiddle},
                  {"right", CDiv::kAlignEnd},  {"top", CDiv::kAlignStart},     {"middle", CDiv::kAlignMiddle},
                  {"bottom", CDiv::kAlignEnd}};
    for (const auto& entry : kWords)
        if (CString::EqualsNoCase(text.c_str(), entry.word))
            return entry.align;
    return CDiv::kAlignInherit;
}

float ParseNumber(const CString& text)
{
    return float(ParseFloat(text.c_str()));
}

Vector4<float> ParseColour(const CString& text)
{
    return ParseColourText(text.c_str(), kUnsetVector4f);
}
} // namespace

CDiv::CDiv(const char* className) : m_className(MakeString(className)) {}

CDiv::~CDiv() = default;

CRef<CDiv> CDiv::Create()
{
    return MakeRef<CDiv>("div");
}

void CDiv::RegisterTag(const char* tag, Creator creator)
{
    TagRegistry::Register(MakeString(tag), creator);
}

CRef<CDiv> CDiv::CreateForTag(const char* tag)
{
    CRef<CDiv> node;
    if (const Creator creator = tag ? TagRegistry::Find(tag) : nullptr)
        node = creator();
    return node ? node : Create();
}

void CDiv::Load(CXmlNode* element)
{
    if (!element)
        return;
    Reset();
    ParseStyle(element->GetAttribute("style"));
    m_id = element->GetAttribute("id");
    m_onclick = element->GetAttribute("onclick");
    if (!m_onclick.empty())
        AddHandlerBits(kHandlesClick);

    const CString& width = element->GetAttribute("width");
    if (!width.empty())
        m_specifiedSize.x = ParseNumber(width);
    const CString& height = element->GetAttribute("height");
    if (!height.empty())
        m_specifiedSize.y = ParseNumber(height);

    // "halign" is read after "align", so it wins.
    for (const char* name : {"align", "halign"})
    {
        const CString& align = element->GetAttribute(name);
        if (!align.empty())
            m_hAlign = ParseAlign(align);
    }
    const CString& valign = element->GetAttribute("valign");
    if (!valign.empty())
        m_vAlign = ParseAlign(valign);

    const CString& z = element->GetAttribute("z");
    m_z = z.empty() ? 1.0f : ParseNumber(z);
    LoadChildren(element);
}

void CDiv::ComputeSize()
{
    const float scale = GetScale();
    m_computedSize.x = IsSet(m_specifiedSize.x) ? m_specifiedSize.x * scale : 0.0f;
    m_computedSize.y = IsSet(m_specifiedSize.y) ? m_specifiedSize.y * scale : 0.0f;
    for (const CRef<CDiv>& child : m_children)
    {
        if (!child)
            break;
        child->ComputeSize();
    }
}

CRef<CDivLine> CDiv::Layout(CRef<CDivLine> line)
{
    // The metrics of the line the node sat on last time (another screen size, another text)
    // would otherwise raise those of the line it joins now.
    m_lineHeight = 0.0f;
    m_lineDescent = 0.0f;
    const CRef<CDivLine> outer = line;
    Vector2<float> offset;
    if (m_box && m_positionMode != kPositionFlow && IsSet(m_offsets))
    {
        const float s = GetScale();
        const bool absolute = m_positionMode == kPositionAbsolute;
        if (absolute && line)
            offset = -line->NextOrigin();
        CDiv* frame = absolute ? GetRoot().Get() : GetParent();
        const Vector2<float> room = frame ? frame->GetSize() : kZeroVector2f;
        const Vector2<float> own = GetSize();
        if (IsSet(m_offsets.x))
            offset.x += s * m_offsets.x;
        else if (IsSet(m_offsets.z))
            offset.x += room.x - own.x - s * m_offsets.z;
        if (IsSet(m_offsets.y))
            offset.y += s * m_offsets.y;
        else if (IsSet(m_offsets.w))
            offset.y += room.y - own.y - s * m_offsets.w;
    }

    const Vector4<float> pad = GetPadding();
    CRef<CDivLine> current = line;
    if (!line)
    {
        m_lines = CDivLine::Create(nullptr, kZeroVector2f, GetInnerWidth());
        current = m_lines;
    }
    else if (m_box)
    {
        if (!IsSet(m_specifiedSize.x))
            m_computedSize.x = line->GetMaxWidth() - offset.x;
        m_lines = CDivLine::Create(nullptr, line->NextOrigin(), GetInnerWidth());
        current = m_lines;
    }
    // Never an item of its own stack: its lines would hold it and draw it inside itself.
    if (m_inline && current && current.Get() != m_lines.Get())
        current = current->AddItem(this);

    for (const CRef<CDiv>& child : m_children)
    {
        if (!child)
            break;
        current = child->Layout(current);
    }

    if (m_lines)
    {
        const Vector2<float> extent = m_lines->Extent();
        m_computedSize.x = std::max(m_computedSize.x, extent.x + pad.x + pad.z);
        m_computedSize.y = extent.y + pad.y + pad.w;
        const float scale = GetScale();
        if (IsSet(m_specifiedSize.x))
            m_computedSize.x = m_specifiedSize.x * scale;
        if (IsSet(m_specifiedSize.y))
            m_computedSize.y = m_specifiedSize.y * scale;
    }

    if (!outer)
    {
        // The root of the layout: its content moves into place, and it sits on no line.
        m_lines->Move(offset + Vector2<float>(pad.x, pad.y));
    }
    else if (m_box)
    {
        m_lines->Move(offset + Vector2<float>(pad.x, pad.y));
        current = outer->Advance(offset);
        current = current->AddItem(this);
    }
    Show(true);
    return current;
}

void CDiv::FinishLayout()
{
    const Vector2<float> size = GetSize();
    if (m_lines)
    {
        // The free height is the node's whole height less the lines' (padding included).
        const float free = size.y - m_lines->Extent().y;
        const int32_t vAlign = GetVAlign();
        const float dy = vAlign == kAlignMiddle ? free * 0.5f : vAlign == kAlignEnd ? free : 0.0f;
        m_lines->AlignLines(size.x, GetHAlign(), dy);
    }
    for (const CRef<CDiv>& child : m_children)
    {
        if (!child)
            break;
        child->FinishLayout();
    }
    const Vector4<float> rect(0.0f, 0.0f, size.x, size.y);
    if (m_backgroundQuads.material)
        m_backgroundQuads.SetQuadRect(0, rect);
    if (m_shadowQuads.material)
        m_shadowQuads.SetQuadRect(0, rect);
}

float CDiv::GetInnerWidth()
{
    const Vector4<float> pad = GetPadding();
    const float width = IsSet(m_specifiedSize.x) ? m_specifiedSize.x * GetScale() : m_computedSize.x;
    return std::max(0.0f, width - pad.x - pad.z);
}

void CDiv::SetPosition(const Vector2<float>& position)
{
    m_position = position;
}

void CDiv::Move(const Vector2<float>& delta)
{
    m_position += delta;
    if (m_lines)
        m_lines->Move(delta);
}

void CDiv::Draw()
{
    const float alpha = GetTransitionAlpha();
    if (m_backgroundQuads.material)
    {
        Vector4<float> colour = IsSet(m_colour) ? m_colour : kWhite;
        colour.w *= alpha;
        m_backgroundQuads.SetColour(colour);
        m_backgroundQuads.translation = Vector3<float>(m_position.x, m_position.y, m_z);
        m_backgroundQuads.Draw();
    }
    if (m_content)
    {
        const Vector4<float> pad = GetPadding();
        m_content->Draw(Vector4<float>(m_position.x + pad.x, m_position.y + pad.y,
                                       m_computedSize.x - pad.x - pad.z, m_computedSize.y - pad.y - pad.w),
                        GetScale());
    }
    if (m_lines)
        m_lines->DrawItems();
}

void CDiv::DrawShadow()
{
    if (!m_box)
        return;
    Vector4<float> colour = GetShadowColour();
    colour.w *= GetTransitionAlpha();
    if (colour.w > 0.0f && (m_shadowQuads.material || m_backgroundQuads.material))
    {
        LodBiasScope bias(kShadowLodBias);
        QuadBatch& quads = m_shadowQuads.material ? m_shadowQuads : m_backgroundQuads;
        quads.translation = Vector3<float>(m_position.x, m_position.y, m_z);
        quads.SetColour(colour);
        quads.Draw();
        if (&quads == &m_backgroundQuads)
            m_backgroundQuads.SetColour(kWhite);
        return;
    }
    for (const CRef<CDiv>& child : m_children)
    {
        if (!child)
            break;
        child->DrawShadow();
    }
}

bool CDiv::IsRaised()
{
    return GetParent() ? GetParent()->IsRaised() : false;
}

bool CDiv::IsPressed()
{
    return GetParent() ? GetParent()->IsPressed() : false;
}

CLink<CDiv> CDiv::FindById(const CString& name, int32_t index)
{
    // Pre-order, each child searched with the index its parent passes down: a match with a
    // larger index counts itself off for its own subtree only, not for its siblings'.
    std::vector<std::pair<CDiv*, int32_t>> pending{{this, index}};
    while (!pending.empty())
    {
        auto [node, left] = pending.back();
        pending.pop_back();
        if (left < 0)
            continue;
        if (name.empty() || name == node->m_id)
        {
            if (left == 0)
                return CLink<CDiv>(node);
            --left;
        }
        const auto end = std::find_if(node->m_children.begin(), node->m_children.end(),
                                      [](const CRef<CDiv>& child) { return !child; });
        for (size_t i = size_t(end - node->m_children.begin()); i-- > 0;)
            pending.emplace_back(node->m_children[i].Get(), left);
    }
    return CLink<CDiv>();
}

CDiv* CDiv::GetById(const CString& name)
{
    if (CDiv* found = FindById(name, 0).Get())
        return found;
    if (!m_dummy)
        m_dummy = Create();
    return m_dummy.Get();
}

void CDiv::SetEnabled(bool enabled)
{
    m_enabled = enabled;
    for (const CRef<CDiv>& child : m_children)
    {
        if (!child)
            break;
        child->SetEnabled(enabled);
    }
}

void CDiv::SetActive(bool active)
{
    m_active = active;
    for (const CRef<CDiv>& child : m_children)
    {
        if (!child)
            break;
        child->SetActive(active);
    }
}

void CDiv::Show(bool show)
{
    ShowTimed(show, kFloatMax, kFloatMax);
}

void CDiv::ShowTimed(bool show, float duration, float delay)
{
    for (const CRef<CDiv>& child : m_children)
    {
        if (!child)
            break;
        child->ShowTimed(show, duration, delay);
    }
    if (m_shown == show)
        return;
    if (!IsSet(duration))
        duration = show ? GetTransitionIn() : GetTransitionOut();
    if (!IsSet(delay))
        delay = show ? GetTransitionInDelay() : GetTransitionOutDelay();
    if (!(duration > 0.0f))
    {
        m_elapsed = m_total = 1;
        m_shown = show;
        return;
    }
    CScheduler* clock = GetClock();
    m_lastClock = clock ? clock->GetClock() : 0;
    const float alpha = GetTransitionAlpha();
    m_elapsed = SecondsToMs(duration * (show ? alpha : 1.0f - alpha));
    m_total = SecondsToMs(duration);
    if (m_elapsed == 0)
        m_elapsed = -SignedSecondsToMs(delay); // a negative delay is a head start
    m_shown = show;
}

float CDiv::GetTransitionAlpha()
{
    if (m_total == 0)
    {
        if (CDiv* parent = GetParent())
            return parent->GetTransitionAlpha();
        return m_shown ? 1.0f : 0.0f;
    }
    CScheduler* clock = GetClock();
    const int32_t now = clock ? clock->GetClock() : 0;
    // In 64 bits: the last reading starts at INT32_MAX.
    const int64_t step = std::clamp<int64_t>(int64_t(now) - m_lastClock, 0, kMaxFadeStepMs);
    m_lastClock = now;
    m_elapsed = int32_t(std::min<int64_t>(int64_t(m_elapsed) + step, INT32_MAX));
    const float progress = m_elapsed < 1         ? 0.0f
                           : m_elapsed < m_total ? float(m_elapsed) / float(m_total)
                                                 : 1.0f;
    return m_shown ? progress : 1.0f - progress;
}

bool CDiv::IsShowing() const
{
    if (m_shown || m_elapsed < m_total)
        return true;
    for (const CRef<CDiv>& child : m_children)
    {
        if (!child)
            break;
        if (child->IsShowing())
            return true;
    }
    return false;
}

float CDiv::GetScale()
{
    if (IsSet(m_scale))
        return m_scale;
    return GetParent() ? GetParent()->GetScale() : 1.0f;
}

void CDiv::SetScale(float scale)
{
    if (scale == m_scale)
        return;
    m_scale = scale;
    DropLines();
}

int32_t CDiv::GetHAlign()
{
    if (m_hAlign != kAlignInherit)
        return m_hAlign;
    return GetParent() ? GetParent()->GetHAlign() : kAlignStart;
}

int32_t CDiv::GetVAlign()
{
    if (m_vAlign != kAlignInherit)
        return m_vAlign;
    return GetParent() ? GetParent()->GetVAlign() : kAlignStart;
}

void CDiv::ParseStyle(const CString& text)
{
    static constexpr const char* kBeforeKey = "{ :;}\t\r\n";
    static constexpr const char* kAfterKey = " :\t\r\n;}";
    static constexpr const char* kBeforeValue = ": \t\r\n;}";
    static constexpr const char* kAfterValue = ";}";
    int32_t p = 0;
    for (;;)
    {
        const int32_t keyStart = CString::FindFirstNotOf(text, kBeforeKey, p);
        if (keyStart < 0)
            return;
        const int32_t keyEnd = CString::FindFirstOf(text, kAfterKey, keyStart + 1);
        if (keyEnd < 0)
            return;
        const int32_t valueStart = CString::FindFirstNotOf(text, kBeforeValue, keyEnd);
        if (valueStart < 0)
            return;
        // A declaration that is not closed is dropped.
        p = CString::FindFirstOf(text, kAfterValue, valueStart + 1);
        if (p < 0)
            return;
        ApplyStyle(CString::SubString(text, keyStart, keyEnd - keyStart),
                   CString::SubString(text, valueStart, p - valueStart));
    }
}

float CDiv::GetFontSize()
{
    if (IsSet(m_fontSize))
        return m_fontSize * GetScale();
    if (CDiv* parent = GetParent())
        return parent->GetFontSize();
    return float(s_defaultFontSize.Get()) * GetScale();
}

CString CDiv::GetFontFace()
{
    if (!m_fontFace.empty())
        return m_fontFace;
    return GetParent() ? GetParent()->GetFontFace() : s_defaultFontFace.Get();
}

int32_t CDiv::GetFontStyle()
{
    if (m_fontStyle != kFontInherit)
        return m_fontStyle;
    return GetParent() ? GetParent()->GetFontStyle() : kFontNormal;
}

Vector4<float> CDiv::GetMargin()
{
    return ScaledSides(m_margin, GetScale());
}

Vector4<float> CDiv::GetPadding()
{
    return ScaledSides(m_padding, GetScale());
}

Vector4<float> CDiv::GetColour()
{
    if (!m_enabled && IsSet(m_disabledColour))
        return m_disabledColour;
    if (IsSet(m_colour))
        return m_colour;
    return GetParent() ? GetParent()->GetColour() : kBlack;
}

void CDiv::SetColour(const Vector4<float>& colour)
{
    m_colour = colour;
}

Vector4<float> CDiv::GetShadowColour()
{
    if (IsSet(m_shadowColour))
        return m_shadowColour;
    return GetParent() ? GetParent()->GetShadowColour() : kZeroVector4f;
}

void CDiv::SetShadowColour(const Vector4<float>& colour)
{
    m_shadowColour = colour;
}

bool CDiv::IsGlow()
{
    if (IsSet(m_shadowColour))
        return m_glow;
    return GetParent() ? GetParent()->IsGlow() : false;
}

Vector4<float> CDiv::GetBackgroundColour()
{
    if (IsSet(m_backgroundColour))
        return m_backgroundColour;
    return GetParent() ? GetParent()->GetBackgroundColour() : kZeroVector4f;
}

CMaterial* CDiv::GetMaterial()
{
    if (m_backgroundQuads.material)
        return m_backgroundQuads.material.Get();
    return GetParent() ? GetParent()->GetMaterial() : nullptr;
}

CString CDiv::GetFontTransition()
{
    if (!m_fontTransition.empty() && s_fontTransitions.Get())
        return m_fontTransition;
    return GetParent() ? GetParent()->GetFontTransition() : CString();
}

float CDiv::GetTransitionIn()
{
    if (IsSet(m_transitionIn))
        return m_transitionIn;
    return GetParent() ? GetParent()->GetTransitionIn() : 0.0f;
}

float CDiv::GetTransitionOut()
{
    if (IsSet(m_transitionOut))
        return m_transitionOut;
    return GetParent() ? GetParent()->GetTransitionOut() : 0.0f;
}

float CDiv::GetTransitionInDelay()
{
    if (IsSet(m_transitionInDelay))
        return m_transitionInDelay;
    return GetParent() ? GetParent()->GetTransitionInDelay() : 0.0f;
}

float CDiv::GetTransitionOutDelay()
{
    if (IsSet(m_transitionOutDelay))
        return m_transitionOutDelay;
    return GetParent() ? GetParent()->GetTransitionOutDelay() : 0.0f;
}

CScheduler* CDiv::GetClock()
{
    return GetParent() ? GetParent()->GetClock() : CScheduler::Current();
}

Vector2<float> CDiv::GetTouchPosition()
{
    if (CDiv* parent = GetParent())
        return parent->GetTouchPosition();
    return CSingleton<CInput>::Instance()->GetPosition();
}

bool CDiv::HitTest(const Vector2<float>& point)
{
    const Vector2<float> size = GetSize();
    if (m_position.x <= point.x && point.x < m_position.x + size.x + m_trailingGap.x &&
        m_position.y <= point.y && point.y < m_position.y + size.y)
        return true;
    for (const CRef<CDiv>& child : m_children)
    {
        if (!child)
            break;
        if (child->HitTest(point))
            return true;
    }
    return false;
}

bool CDiv::OnEvent(const InputEvent& event)
{
    if (!(m_handlerMask & (kHandlesEvent | kHandlesClick)))
        return false;
    return OfferToChildren(event, &CDiv::OnEvent);
}

bool CDiv::OnMotion(const InputEvent& event)
{
    if (!(m_handlerMask & kHandlesMotion) || !m_active)
        return false;
    // Every child sees the motion (hover states), whoever takes it.
    bool taken = false;
    for (const CRef<CDiv>& child : m_children)
    {
        if (!child)
            break;
        taken = child->OnMotion(event) || taken;
    }
    return taken;
}

bool CDiv::OnClick(const InputEvent& event)
{
    if (!(m_handlerMask & kHandlesClick) || !m_active)
        return false;
    // Only a click on the node posts its command; the root's is the pane's, whose own test has
    // passed by now.
    if (!m_onclick.empty() && (!GetParent() || HitTest(event.position)))
    {
        CGame::Instance()->PostCommand(m_onclick.c_str());
        return true;
    }
    return OfferToChildren(event, &CDiv::OnClick);
}

bool CDiv::OnPress(const InputEvent& event)
{
    return (m_handlerMask & kHandlesPress) && OfferToChildren(event, &CDiv::OnPress);
}

bool CDiv::OnRelease(const InputEvent& event)
{
    return (m_handlerMask & kHandlesRelease) && OfferToChildren(event, &CDiv::OnRelease);
}

bool CDiv::OnDragBegin(const InputEvent& event)
{
    return (m_handlerMask & kHandlesDragBegin) && OfferToChildren(event, &CDiv::OnDragBegin);
}

bool CDiv::OnDragEnd(const InputEvent& event)
{
    return (m_handlerMask & kHandlesDragEnd) && OfferToChildren(event, &CDiv::OnDragEnd);
}

bool CDiv::OnDragCancel(const InputEvent& event)
{
    return (m_handlerMask & kHandlesDragCancel) && OfferToChildren(event, &CDiv::OnDragCancel);
}

void CDiv::CollectEmboss(std::vector<float>& spots)
{
    for (const CRef<CDiv>& child : m_children)
    {
        if (!child)
            break;
        child->CollectEmboss(spots);
    }
}

void CDiv::LoadChildren(CXmlNode* element)
{
    if (!element)
        return;
    m_children.reserve(m_children.size() + size_t(element->CountChildren()));
    for (CXmlNode* child = element->FirstChild(); child; child = child->NextSibling())
    {
        if (ParseBool(child->GetAttribute("ignore").c_str()))
            continue;
        CRef<CDiv> node = CreateForTag(child->GetName().c_str());
        // Before loading, so that the node's Load can reach its ancestors.
        node->SetParent(this);
        node->Load(child);
        m_children.push_back(std::move(node));
    }
}

Vector2<float> CDiv::GetSize()
{
    Vector2<float> size = m_computedSize;
    if (IsSet(m_specifiedSize.x) || IsSet(m_specifiedSize.y))
    {
        const float scale = GetScale();
        if (IsSet(m_specifiedSize.x))
            size.x = m_specifiedSize.x * scale;
        if (IsSet(m_specifiedSize.y))
            size.y = m_specifiedSize.y * scale;
    }
    return size;
}

CLink<CDiv> CDiv::GetRoot()
{
    CDiv* node = this;
    while (CDiv* parent = node->GetParent())
        node = parent;
    return CLink<CDiv>(node);
}

void CDiv::AddHandlerBits(uint32_t bits)
{
    for (CDiv* node = this; node; node = node->GetParent())
        node->m_handlerMask |= bits;
}

void CDiv::AddChild(const CRef<CDiv>& child)
{
    if (!child)
        return;
    child->SetParent(this);
    m_children.push_back(child);
}

void CDiv::DropLines()
{
    m_lines.Reset();
}

void CDiv::SetContent(const CRef<CDivContent>& content)
{
    m_content = content;
}

bool CDiv::OfferToChildren(const InputEvent& event, Handler handler)
{
    // An inactive node is not drawn, and so takes no input.
    if (!m_active)
        return false;
    for (const CRef<CDiv>& child : m_children)
    {
        if (!child)
            break;
        if ((child.Get()->*handler)(event))
            return true;
    }
    return false;
}

void CDiv::Reset()
{
    m_position = kZeroVector2f;
    m_specifiedSize = kUnsetVector2f;
    m_fontSize = kFloatMax;
    m_scale = kFloatMax;
    m_offsets = kUnsetVector4f;
    m_padding = kUnsetVector4f;
    m_margin = kUnsetVector4f;
    m_disabledColour = kUnsetVector4f;
    m_colour = kUnsetVector4f;
    m_backgroundColour = kUnsetVector4f;
    m_shadowColour = kUnsetVector4f;
    m_transitionIn = m_transitionOut = m_transitionInDelay = m_transitionOutDelay = kFloatMax;
    m_fontStyle = kFontInherit;
    // A face from an earlier load must not outlive it any more than the other style values.
    m_fontFace.clear();
    m_hAlign = m_vAlign = kAlignInherit;
    m_positionMode = kPositionFlow;
    m_glow = false;
    m_lastClock = INT32_MAX;
    m_elapsed = m_total = 0;
    m_backgroundQuads.Clear();
    m_shadowQuads.Clear();
    m_fontTransition.clear();
    m_paneTransition.Reset();
    m_lines.Reset();
    m_line.Clear();
    m_lineHeight = m_lineDescent = 0.0f;
    m_enabled = m_active = true;
    m_children.clear();
}

void CDiv::ApplyStyle(const CString& key, const CString& value)
{
    const char* word = value.c_str();
    if (key == "font-size")
        m_fontSize = ParseNumber(value);
    else if (key == "font-face")
        m_fontFace = value;
    else if (key == "font-style")
        m_fontStyle = CString::EqualsNoCase(word, "italic")    ? kFontItalic
                      : CString::EqualsNoCase(word, "oblique") ? kFontOblique
                                                               : kFontNormal;
    else if (key == "position")
        m_positionMode = CString::EqualsNoCase(word, "absolute")   ? kPositionAbsolute
                         : CString::EqualsNoCase(word, "relative") ? kPositionRelative
                                                                   : kPositionFlow;
    else if (key == "left")
        m_offsets.x = ParseNumber(value);
    else if (key == "top")
        m_offsets.y = ParseNumber(value);
    else if (key == "right")
        m_offsets.z = ParseNumber(value);
    else if (key == "bottom")
        m_offsets.w = ParseNumber(value);
    else if (key == "width")
        m_specifiedSize.x = ParseNumber(value);
    else if (key == "height")
        m_specifiedSize.y = ParseNumber(value);
    else if (key == "padding")
        m_padding = Vector4<float>(1, 1, 1, 1) * ParseNumber(value);
    else if (key == "padding-left")
        m_padding.x = ParseNumber(value);
    else if (key == "padding-top")
        m_padding.y = ParseNumber(value);
    else if (key == "padding-right")
        m_padding.z = ParseNumber(value);
    else if (key == "padding-bottom")
        m_padding.w = ParseNumber(value);
    else if (key == "margin")
        m_margin = Vector4<float>(1, 1, 1, 1) * ParseNumber(value);
    else if (key == "margin-left")
        m_margin.x = ParseNumber(value);
    else if (key == "margin-top")
        m_margin.y = ParseNumber(value);
    else if (key == "margin-right")
        m_margin.z = ParseNumber(value);
    else if (key == "margin-bottom")
        m_margin.w = ParseNumber(value);
    else if (key == "text-align")
        m_hAlign = ParseAlign(value);
    else if (key == "vertical-align")
        m_vAlign = ParseAlign(value);
    else if (key == "colour" || key == "color")
        m_colour = ParseColour(value);
    else if (key == "background-colour" || key == "background-color")
        m_backgroundColour = ParseColour(value);
    else if (key == "disabled-colour" || key == "disabled-color")
        m_disabledColour = ParseColour(value);
    else if (key == "shadow-material")
    {
        m_shadowQuads.SetMaterial(CSingleton<CMaterialSet>::Instance()->Find(value));
        if (!IsSet(m_shadowColour))
            m_shadowColour = kWhite;
    }
    else if (key == "shadow-colour" || key == "shadow-color")
    {
        m_shadowColour = ParseColour(value);
        m_glow = false;
    }
    else if (key == "glow-colour" || key == "glow-color")
    {
        m_shadowColour = ParseColour(value);
        m_glow = true;
    }
    else if (key == "material")
        m_backgroundQuads.SetMaterial(CSingleton<CMaterialSet>::Instance()->Find(value));
    else if (key == "font-transition")
        m_fontTransition = value;
    else if (key == "pane-transition")
    {
        if (CPaneTransition::Creator creator = CPaneTransition::FindCreator(word))
            m_paneTransition = creator();
    }
    else if (key == "transition")
        m_transitionIn = m_transitionOut = ParseNumber(value);
    else if (key == "transition-in")
        m_transitionIn = ParseNumber(value);
    else if (key == "transition-out")
        m_transitionOut = ParseNumber(value);
    else if (key == "transition-delay")
        m_transitionInDelay = m_transitionOutDelay = ParseNumber(value);
    else if (key == "transition-in-delay")
        m_transitionInDelay = ParseNumber(value);
    else if (key == "transition-out-delay")
        m_transitionOutDelay = ParseNumber(value);
}
