#include "ui/CDivWord.h"

#include "ui/CDivLine.h"

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

CRef<CDivWord> CDivWord::Create(CDiv* parent, const CString& text)
{
    CRef<CDivWord> word = CRef<CDivWord>::Adopt(new CDivWord(text));
    word->SetParent(parent);
    return word;
}

CRef<CDivLine> CDivWord::Layout(CRef<CDivLine> line)
{
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
