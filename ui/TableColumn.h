#pragma once
// One column of a table while it lays out: its width in pixels, and whether a cell in it has a
// specified width (such a column keeps its width when the table shares out space).
struct TableColumn
{
    float width = 0.0f;
    bool fixed = false;
};
