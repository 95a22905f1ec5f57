// Tables: column widths from the cells' preferred and narrowest widths, spacing, ragged rows and
// equal row heights. Words are measured by the fixed stand-in font: at font size 10 a character
// is 5 pixels wide and a word's trailing gap is 7.5, so "aa bb" prefers 27.5 and needs 10.
#include "ui/CDivTable.h"
#include "ui/CDivTd.h"
#include "ui/DivFixture.h"
#include "ui/FixedFontMetrics.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
std::vector<float> ColumnWidths(CDiv& root, int cells)
{
    std::vector<float> widths;
    for (int i = 0; i < cells; ++i)
        widths.push_back(root.GetById(CString(("c" + std::to_string(i)).c_str()))->GetComputedSize().x);
    return widths;
}
} // namespace

TEST(Table, ColumnWidthsComeFromPreferredAndNarrowestWidths)
{
    FixedFonts fonts;
    const struct
    {
        const char* room;  // width of the node holding the table
        const char* table; // the table's attributes
        const char* cell0;
        const char* cell1;
        std::vector<float> widths;
    } cases[] = {
        // Room to spare and no width given: the preferred widths.
        {"1000", "", "", "", {27.5f, 5.0f}},
        // A width given: the surplus in equal shares to the columns that are not fixed.
        {"1000", "width=\"100\"", "", "", {61.25f, 38.75f}},
        {"1000", "width=\"100\"", "width=\"40\"", "", {40.0f, 60.0f}},
        // Too narrow: each column between its narrowest and its preferred width.
        {"30", "", "", "", {25.0f, 5.0f}},
        // Narrower than the narrowest: the narrowest widths, overflowing.
        {"10", "", "", "", {10.0f, 5.0f}},
        // Fixed columns keep their widths and overflow.
        {"10", "", "width=\"40\"", "width=\"30\"", {40.0f, 30.0f}},
    };
    for (const auto& c : cases)
    {
        const std::string text = std::string("<pane style=\"font-size: 10;\" width=\"") + c.room + "\"><Table " +
                                 c.table + "><Tr><Td id=\"c0\" " + c.cell0 + ">aa bb</Td><Td id=\"c1\" " + c.cell1 +
                                 ">c</Td></Tr></Table></pane>";
        CRef<CDiv> root = BuildTree(text.c_str());
        LayOut(*root);
        const std::vector<float> widths = ColumnWidths(*root, 2);
        for (size_t i = 0; i < c.widths.size(); ++i)
            EXPECT_FLOAT_EQ(widths[i], c.widths[i]) << text << " column " << i;
    }
}

TEST(Table, SpacingRaggedRowsAndEqualHeights)
{
    FixedFonts fonts;
    CRef<CDiv> root = BuildTree(R"(<pane style="font-size: 10;" width="1000">
        <Table id="t" cellspacing="2" cellpadding="1">
          <Tr id="r0"><Td id="c0">aa</Td><Td id="c1">aa bb<Br/>cc</Td><Td id="c2" colspan="2">d</Td></Tr>
          <Tr id="r1"><Td id="c3">aaaa</Td><Div>x</Div><Td id="late">never</Td></Tr>
        </Table></pane>)");
    LayOut(*root);
    // Padding 1 on each side of the content: 10+2, 27.5+2, 5+2; the second row's "aaaa" widens
    // the first column to 22.
    const std::vector<float> widths = ColumnWidths(*root, 4);
    EXPECT_FLOAT_EQ(widths[0], 22.0f);
    EXPECT_FLOAT_EQ(widths[1], 29.5f);
    EXPECT_FLOAT_EQ(widths[2], 7.0f);
    EXPECT_EQ(static_cast<CDivTd*>(root->GetById("c2"))->GetColumnSpan(), 2);
    // The row is as tall as its tallest cell (two lines, 20, and padding), every cell with it.
    EXPECT_FLOAT_EQ(root->GetById("c0")->GetComputedSize().y, 22.0f);
    EXPECT_FLOAT_EQ(root->GetById("c1")->GetComputedSize().y, 22.0f);
    // Three columns of spacing on both sides: the row is 3 * 4 wider than its columns.
    CDiv* row = root->GetById("r0");
    EXPECT_FLOAT_EQ(row->GetComputedSize().x, 22.0f + 29.5f + 7.0f + 12.0f);
    // Cells sit side by side from the spacing; the second row below the first.
    EXPECT_FLOAT_EQ(root->GetById("c1")->GetPosition().x - root->GetById("c0")->GetPosition().x, 22.0f + 4.0f);
    EXPECT_FLOAT_EQ(root->GetById("r1")->GetPosition().y - row->GetPosition().y, row->GetComputedSize().y + 4.0f);
    // A cell after a child that is not a cell is not laid out.
    EXPECT_FLOAT_EQ(root->GetById("late")->GetComputedSize().x, 0.0f);
    EXPECT_FLOAT_EQ(root->GetById("t")->GetComputedSize().y,
                    row->GetComputedSize().y + root->GetById("r1")->GetComputedSize().y + 8.0f);
}
