#pragma once
// One knob of the board: a cell where a limb may stand. The centre equals the knob's cell (board
// cell units); only active knobs take limbs. The marks are for the board layer and the debug view.
#include "core/Vector2.h"

#include <cstdint>
#include <map>

struct PuzzleKnob
{
    Vector2<float> centre;
    uint8_t active = 0;
    // Both set on the knobs under the home and goal cells when a puzzle loads.
    uint8_t homeOrGoalMark = 0;
    uint8_t secondMark = 0;
    // Cleared when a puzzle loads.
    uint8_t thirdMark = 0;
};

// Knobs are walked row by row: y first, then x.
struct KnobCellOrder
{
    bool operator()(const Vector2<int>& a, const Vector2<int>& b) const
    {
        return a.y != b.y ? a.y < b.y : a.x < b.x;
    }
};

using KnobMap = std::map<Vector2<int>, PuzzleKnob, KnobCellOrder>;
