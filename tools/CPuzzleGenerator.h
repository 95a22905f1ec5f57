#pragma once
// Makes puzzles on a move map: the moves the game allows on a knob layout, the breadth-first
// search for the shortest solution between two poses (which gives par and the hint steps), and
// the puzzle files that hold them. The map must outlive the generator. Deterministic: the same
// map and recipe give the same puzzle every time.
#include "core/CString.h"
#include "puzzle/CMoveMap.h"
#include "puzzle/Pose.h"
#include "puzzle/PuzzleDescription.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

class CPuzzleGenerator
{
  public:
    // One bit per board cell holding an active knob: bit y * 8 + x.
    using Layout = uint64_t;
    // Breadth-first distances (moves) of every pose reached, keyed by the pose's bits.
    using Distances = std::unordered_map<uint32_t, int32_t>;

    // What the shipped puzzles are made from. Layouts are drawn with the given share of the
    // board's cells holding knobs, and seeds tried from seed upwards until a puzzle of exactly
    // par moves turns up.
    struct Recipe
    {
        const char* title;
        int32_t par;
        float density;
        uint32_t seed;
    };

    explicit CPuzzleGenerator(const CMoveMap& map) : m_map(map) {}

    // The poses one move leads to from pose, in a fixed order (limb 0..3, each limb's landing
    // cells in the map's order). The game's rule: the limb lands on one of its landing cells
    // other than its own, on a knob of the layout, and the new pose has four distinct cells and
    // is in the map.
    void GetMoves(Layout layout, Pose from, std::vector<Pose>& out) const;
    // Whether the frog may stand in pose on the layout.
    bool Accepts(Layout layout, Pose pose) const;
    // Every pose reachable from start and its distance in moves (start itself at 0).
    Distances Reach(Layout layout, Pose start) const;
    // The shortest solution, home first and goal last (par = size - 1); empty when the goal
    // cannot be reached or either pose cannot stand on the layout.
    std::vector<Pose> Solve(Layout layout, Pose home, Pose goal) const;

    // A puzzle of exactly recipe.par moves into out (title, layout, home, goal, hint steps,
    // par, difficulty, category, unlocks; pond "fallback", species "d-azureus"); false when no
    // seed within the search limit gives one.
    bool Make(const Recipe& recipe, PuzzleDescription& out) const;

    // The shipped set, numbered from 1000 in this order, par rising.
    static std::vector<Recipe> Catalogue();
    // The pond of the index-th puzzle of the collection (from 0): the ponds follow one another
    // through a day, each holding kPuzzlesPerPond puzzles in a row, and start again after night.
    static const char* PondOf(int32_t index);
    static constexpr int32_t kPuzzlesPerPond = 4;
    // The rating band of a par: 0 warm-up (up to 4 moves), 1 easy (to 7), 2 tricky (to 11),
    // 3 hard; the puzzle's category.
    static int32_t CategoryOf(int32_t par);
    // Difficulty in 0..1, inside the band of CategoryOf whose rating text the game shows
    // (0 for a warm-up, below 1/3 easy, below 2/3 tricky, else hard), rising with par.
    static float DifficultyOf(int32_t par);

    // The puzzle file's text, in the order the game's listing reader needs (the hint, then the
    // pond, then the frog), without declaration or comments. Empty when a text holds a quote,
    // "<" or "&", which the game's reader could not read back.
    static CString ToXml(const PuzzleDescription& puzzle);

    static Layout LayoutOf(const std::vector<Vector2<int>>& knobs);
    // The knob cells of a layout, row by row.
    static std::vector<Vector2<int>> KnobsOf(Layout layout);
    static bool HasKnob(Layout layout, const Vector2<int>& cell);

  private:
    const CMoveMap& m_map;
};
