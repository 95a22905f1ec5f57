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
    // board's cells holding knobs, from a sequence seeded with seed, until a puzzle of exactly
    // par moves with at most maxSolutions shortest solutions (0: any number) turns up.
    struct Recipe
    {
        const char* title;
        int32_t par;
        float density;
        uint32_t seed;
        int32_t maxSolutions = 0;
        // The group the puzzle belongs to (the file's category) and the pond it plays in.
        int32_t category = 0;
        const char* pond = "fallback";
        int32_t unlocks = 3;
        // The tutorial script the puzzle runs at its start (a data-folder name), or null.
        const char* instructions = nullptr;
    };

    // How hard a puzzle is, measured on its layout: the fewest moves (proven by breadth-first
    // search), the poses the frog can reach from home, how many different shortest solutions
    // there are (at most kManySolutions), and the mean number of moves open at each pose of the
    // hint's solution before the goal.
    struct Measure
    {
        int32_t par = 0;
        int32_t reachable = 0;
        int32_t solutions = 0;
        float branching = 0.0f;
    };
    static constexpr int32_t kManySolutions = 999999;

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

    // The measure of the puzzle from home to goal on layout along solution (home first, goal
    // last; a shortest one); par 0 when the goal cannot be reached.
    Measure MeasureOf(Layout layout, Pose home, Pose goal, const std::vector<Pose>& solution) const;

    // A puzzle of exactly recipe.par moves into out (title, layout, home, goal, hint steps,
    // par, difficulty, category, pond, unlocks; species "d-azureus"), unlike every puzzle in
    // made (by CanonicalOf); false when no layout within the search limit gives one.
    bool Make(const Recipe& recipe, PuzzleDescription& out, const std::vector<CString>& made = {}) const;

    // The shipped set, numbered from 1000 in this order: groups of puzzles, each in a pond of
    // its own and rising in par, the groups rising in difficulty.
    static std::vector<Recipe> Catalogue();
    // Difficulty in 0..1 from a measure, two decimals, as the file holds it and the game's
    // rating reads it (below 1/3 easy, below 2/3 tricky, else hard): the bits of choice the
    // player makes along the way, par times log2 of the branching, less log2 of the number of
    // shortest solutions, against kHardestBits.
    static float DifficultyOf(const Measure& measure);
    static constexpr float kHardestBits = 64.0f;
    // The same puzzle up to a shift on the board and the mirror image (x mirrored, left and
    // right limbs swapped): equal texts exactly for such puzzles.
    static CString CanonicalOf(const PuzzleDescription& puzzle);
    // The pose seen in the board's mirror: x := 7 - x, left and right limbs swapped.
    static Pose MirrorPose(Pose pose);

    // The puzzle file's text, in the order the game's listing reader needs (the hint, then the
    // pond, then the frog), without declaration or comments. Empty when a text holds a quote,
    // "<" or "&", which the game's reader could not read back.
    // With a measure, the hint element records it too (attributes the game does not read).
    static CString ToXml(const PuzzleDescription& puzzle, const Measure* measure = nullptr);

    static Layout LayoutOf(const std::vector<Vector2<int>>& knobs);
    // The knob cells of a layout, row by row.
    static std::vector<Vector2<int>> KnobsOf(Layout layout);
    static bool HasKnob(Layout layout, const Vector2<int>& cell);

  private:
    const CMoveMap& m_map;
};
