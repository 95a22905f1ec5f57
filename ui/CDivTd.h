#pragma once
// One cell of a table row: a box whose children flow in a line stack of its own, at the width
// its table gives it. "bgcolor" fills the cell behind its content; its children do not inherit
// that colour. "colspan" is kept, but every cell takes one column.
#include "ui/CDiv.h"

class CDivTd : public CDiv
{
  public:
    CDivTd();
    static CRef<CDiv> Create();

    // The common attributes, then "bgcolor", "colspan", "cellspacing", "cellpadding".
    void Load(CXmlNode* element) override;
    // A new line stack at the cell's inner width with the children in it; the cell's size
    // becomes the stack's extent and the paddings.
    void LayoutContent();

    // Moves the line stack to the position inside the padding.
    void SetPosition(const Vector2<float>& position) override;
    // The background first, so that it never covers the content.
    void Draw() override;
    Vector4<float> GetMargin() override;
    Vector4<float> GetPadding() override;
    // Transparent: the children of a cell draw no background of their own from it.
    Vector4<float> GetBackgroundColour() override;

    int32_t GetColumnSpan() const { return m_columnSpan; }

  private:
    int32_t m_columnSpan = 1;
};
