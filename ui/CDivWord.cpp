#include "ui/CDivWord.h"

#include "Graphics/CGraphics.h"
#include "Graphics/CPrint.h"
#include "ui/CDivLine.h"

#include <algorithm>

namespace
{
// The trailing gap, in spaces of the word's font and in font sizes.
constexpr float kGapSpaces = 1.5f;
constexpr float kGapSecondFactor = 0.25f;
} // namespace

CDivWord::CDivWord(const CString& text) : CDiv("word"), m_text(text)
{
    m_box = false;
    m_inline = true;
}

CDivWord::~CDivWord() = default;

CRef<CDivWord> CDivWord::Create(CDiv* parent, const CString& text)
{
    CRef<CDivWord> word = CRef<CDivWord>::Adopt(new CDivWord(text));
    word->SetParent(parent);
    return word;
}

CRef<CDivLine> CDivWord::Layout(CRef<CDivLine> line)
{
    m_print.Reset();
    m_font = CFontMetrics::Find(GetFontFace(), GetFontStyle());
    if (!m_font || !line)
        return line;
    const float size = GetFontSize();
    m_computedSize = m_font->MeasureText(m_text, size);
    m_trailingGap = Vector2<float>(m_font->MeasureText(" ", size).x * kGapSpaces, size * kGapSecondFactor);
    m_height = m_lineHeight = m_computedSize.y;
    m_descent = m_lineDescent = m_font->GetDescent(size);
    return line->AddItem(this);
}

void CDivWord::Draw()
{
    if (!m_font)
        return;
    const Vector4<float> colour = GetColour();
    const float factor = GetFactor(GetTransitionAlpha());
    if (colour.w <= 0.0f || factor <= 0.0f)
        return;
    if (!PreparePrint(std::min(factor, 1.0f)))
        return;
    m_print->SetColour(colour);
    m_print->SetGlow(GetShadowColour(), IsGlow() ? CPrint::kGlowBlob : CPrint::kGlowShapes);
    m_print->DrawText();
}

void CDivWord::DrawShadow()
{
    if (!m_font)
        return;
    const Vector4<float> background = GetBackgroundColour();
    if (background.w != 0.0f)
    {
        const Vector2<float> corner = GetDrawPosition();
        CGraphics::Instance()->FillRect(
            corner, corner + Vector2<float>(m_computedSize.x + m_trailingGap.x, m_computedSize.y), background);
    }
    const Vector4<float> glow = GetShadowColour();
    const float factor = GetFactor(GetTransitionAlpha());
    if (glow.w <= 0.0f || factor <= 0.0f)
        return;
    if (!PreparePrint(std::clamp(factor, 0.0f, 1.0f)))
        return;
    m_print->SetGlow(glow, IsGlow() ? CPrint::kGlowBlob : CPrint::kGlowShapes);
    m_print->DrawGlow();
}

void CDivWord::SetSchedule(float span, float delay)
{
    m_span = span;
    m_delay = delay;
}

float CDivWord::GetFactor(float alpha) const
{
    // A word with no span of its own would divide by zero: it appears as a step instead.
    if (m_span <= 0.0f)
        return alpha > m_delay ? 1.0f : 0.0f;
    return (alpha - m_delay) / m_span;
}

Vector2<float> CDivWord::GetDrawPosition() const
{
    return Vector2<float>(m_position.x, m_position.y + m_lineHeight - m_height - m_lineDescent + m_descent);
}

bool CDivWord::PreparePrint(float opacity)
{
    if (!m_print)
    {
        m_print = m_font->GetPrint(m_text);
        if (!m_print)
            return false;
        m_print->SetVerticalAlign(CPrint::kAnchorAsIs);
    }
    Vector2<float> position = GetDrawPosition();
    const float s = GetScale();
    if (IsPressed())
        position += Vector2<float>(-s, s);
    else if (IsRaised())
        position += Vector2<float>(s, -s);
    m_print->SetPosition(position);
    m_print->SetSize(GetFontSize());
    m_print->SetOpacity(opacity);
    return true;
}
