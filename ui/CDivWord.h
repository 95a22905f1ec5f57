#pragma once
// One word of a text node: an inline item of the flow, measured with the font, size and style it
// inherits, drawn with glow, and faded in on a schedule of its own inside its text's fade.
// Invariant: a word without a font (none could be had at its last layout) takes no place in the
// flow and draws nothing.
#include "Graphics/CFontMetrics.h"
#include "core/CRef.h"
#include "core/CString.h"
#include "ui/CDiv.h"

class CPrint;

class CDivWord : public CDiv
{
  public:
    // A word whose parent link is set to parent (which does not list it yet).
    static CRef<CDivWord> Create(CDiv* parent, const CString& text);
    ~CDivWord() override;

    // Measures the word and adds it to line; the trailing gap is one and a half spaces wide.
    CRef<CDivLine> Layout(CRef<CDivLine> line) override;
    // The word's text, raised or pressed by one scale unit, at its opacity.
    void Draw() override;
    // The background band (the trailing gap included, never faded) and the glow; the text node
    // calls it before the words' main pass, so both lie under the text.
    void DrawShadow() override;

    // Where the word's fade lies within its text's progress: it starts at delay (0 to 1) and
    // takes span of it. A span of 0 or less makes the word appear at once at its delay.
    void SetSchedule(float span, float delay);
    // The word's opacity factor at the text's progress alpha; drawn only when above 0.
    float GetFactor(float alpha) const;
    // Top-left corner of the text when drawn: on the line's baseline, line descent above its
    // bottom. Pixels.
    Vector2<float> GetDrawPosition() const;

    const CString& GetText() const { return m_text; }
    // Pixels, from the last layout.
    float GetDescent() const { return m_descent; }
    float GetHeight() const { return m_height; }
    bool HasFont() const { return bool(m_font); }
    float GetSpan() const { return m_span; }
    float GetDelay() const { return m_delay; }

  private:
    explicit CDivWord(const CString& text);

    // Takes the print on first use and sets its place, size and glow for a draw; false when
    // the font gives none.
    bool PreparePrint(float opacity);

    float m_span = 1.0f;
    float m_delay = 0.0f;
    CRef<CPrint> m_print; // draw cache: dropped at each layout
    CString m_text;
    CRef<CFontMetrics> m_font;
    float m_descent = 0.0f;
    float m_height = 0.0f;
};
