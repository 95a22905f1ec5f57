#pragma once
// A grid of rows ("Tr") of cells ("Td"): every cell is measured at its preferred and, when the
// table does not fit, at its narrowest width; column widths are shared out to fit the width
// available, and all cells of a row are as tall as its tallest. "cellspacing" is the table's
// margin and "cellpadding" its padding; rows and cells take over the sides they do not set.
// Only the leading "tr" children are rows; later children are neither laid out nor moved.
#include "ui/CDiv.h"
#include "ui/TableColumn.h"

#include <vector>

class CDivTable : public CDiv
{
  public:
    CDivTable();
    static CRef<CDiv> Create();

    // The common attributes, then "cellspacing" and "cellpadding" (em, all four sides).
    void Load(CXmlNode* element) override;
    CRef<CDivLine> Layout(CRef<CDivLine> line) override;
    // Stacks the rows below each other from the position, spaced by the table's margin.
    void SetPosition(const Vector2<float>& position) override;
    void Move(const Vector2<float>& delta) override;
    void Draw() override;

    // Sum of the columns' widths, each with the spacing on both sides.
    static float TotalWidth(const std::vector<TableColumn>& columns, const Vector4<float>& margin);
    // Shares width out: with too little room the columns that are not fixed go from their
    // preferred widths towards their narrowest, never below; with room to spare and a width
    // given, the columns that are not fixed share the surplus equally.
    static void FitColumns(std::vector<TableColumn>& preferred, const std::vector<TableColumn>& narrowest,
                           float width, bool widthGiven, const Vector4<float>& margin);
    // The sides a row or cell sets itself (em) times scale, the others from the parent's sides.
    static Vector4<float> InheritSides(const Vector4<float>& own, float scale, const Vector4<float>& parent);
    // "cellspacing" into margin and "cellpadding" into padding (em, all four sides), each when given.
    static void ReadCellSpacing(const CXmlNode& element, Vector4<float>& margin, Vector4<float>& padding);
    // The leading children of node whose class name is className.
    static std::vector<CDiv*> LeadingOfClass(const CDiv& node, const char* className);

  private:
    // Measures every row into columns, each row first given the size (width, 0).
    void MeasureRows(const std::vector<CDiv*>& rows, float width, std::vector<TableColumn>& columns);
};
