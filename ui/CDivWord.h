#pragma once
// One word of a text node: an inline item of the flow, measured with the font, size and style it
// inherits. Invariant: a word without a font (none could be had at its last layout) takes no
// place in the flow.
#include "Graphics/CFontMetrics.h"
#include "core/CRef.h"
#include "core/CString.h"
#include "ui/CDiv.h"

class CDivWord : public CDiv
{
  public:
    // A word whose parent link is set to parent (which does not list it yet).
    static CRef<CDivWord> Create(CDiv* parent, const CString& text);

    // Measures the word and adds it to line; the trailing gap is one and a half spaces wide.
    CRef<CDivLine> Layout(CRef<CDivLine> line) override;

    const CString& GetText() const { return m_text; }
    // Pixels, from the last layout.
    float GetDescent() const { return m_descent; }
    float GetHeight() const { return m_height; }
    bool HasFont() const { return bool(m_font); }
    // Part of the text's fade over which this word fades, and where in it the word starts.
    float GetSpan() const { return m_span; }
    float GetDelay() const { return m_delay; }

  private:
    explicit CDivWord(const CString& text);

    float m_span = 1.0f;
    float m_delay = 0.0f;
    CString m_text;
    CRef<CFontMetrics> m_font;
    float m_descent = 0.0f;
    float m_height = 0.0f;
};
