#pragma once
// Text in a pane: the element "Text" with its "content", or character data written inside any
// element. At each layout the content is expanded through the dictionary and becomes either
// markup nodes (when it holds "<") or one word node per run of non-blank characters.
// Invariant: the children are exactly what the last layout made of the content.
#include "core/CString.h"
#include "core/Vector4.h"
#include "ui/CDiv.h"

class CDivText : public CDiv
{
  public:
    // Markup inside text inside markup nests at most this deep; deeper text is laid out as words.
    static constexpr int32_t kMaxFragmentDepth = 8;

    // The creator of the tags "Text" and "__content".
    static CRef<CDiv> Create();

    // The common attributes, then "transitionmap" ((0, 1, 1, 0) when absent), "material" and
    // "content".
    void Load(CXmlNode* element) override;
    // Expands the content and lays out its markup or its words, whose fades it then schedules.
    CRef<CDivLine> Layout(CRef<CDivLine> line) override;
    // The words' backgrounds and glows; the words themselves are items of the line after the
    // text node, so their text lands on top.
    void Draw() override;
    // Nothing: the words' shadows are drawn by Draw.
    void DrawShadow() override;

    const CString& GetContent() const { return m_content; }
    void SetContent(const CString& content) { m_content = content; }
    // (start, length, word share, jitter) of the words' fades.
    const Vector4<float>& GetTransitionMap() const { return m_transitionMap; }

  private:
    CDivText();

    // Spreads the words' fades over the transition map; random delays when it has jitter.
    void ScheduleWords();
    // Text nodes among the ancestors: how deep this text is nested in expanded markup.
    int32_t CountTextAncestors() const;

    CString m_content;
    Vector4<float> m_transitionMap;
};
