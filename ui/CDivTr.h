#pragma once
// One row of a table: it measures its cells into the table's columns and lays them out side by
// side at the widths decided, as tall as the tallest. Its margin and padding default, side by
// side, to the table's.
#include "ui/CDiv.h"
#include "ui/TableColumn.h"

#include <vector>

class CDivTr : public CDiv
{
  public:
    CDivTr();
    static CRef<CDiv> Create();

    // Each cell laid out at its widest (or its specified width) into columns: a new column
    // when there are more cells than columns; a fixed cell sets its column, other cells widen it.
    void MeasureColumns(std::vector<TableColumn>& columns);
    // Lays the cells out at the column widths, spaced by the row's margin; every cell then gets
    // the height of the tallest, and the row the width of its cells.
    void LayoutCells(const std::vector<TableColumn>& columns);

    // Places the cells side by side from the position, spaced by the row's margin.
    void SetPosition(const Vector2<float>& position) override;
    void Move(const Vector2<float>& delta) override;
    void Draw() override;
    Vector4<float> GetMargin() override;
    Vector4<float> GetPadding() override;

  private:
    std::vector<CDiv*> Cells() const;
};
