#include "tools/CPuzzleGenerator.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <iterator>
#include <limits>

namespace
{
constexpr int kLimbs = CMoveMap::kLimbCount;
// Layouts drawn per recipe before giving up.
constexpr int kMaxAttempts = 4000;
// Knobs are kept only under poses on a path at most this many moves longer than the shortest:
// enough to tempt, not so many that the board is a field of knobs.
constexpr int kDetourMoves = 2;
// The frog starts at the bottom of the board: some limb on one of these rows or below.
constexpr int kHomeRow = 6;
constexpr int32_t kUnlocks = 3;

// SplitMix64: the same numbers from a seed on every platform, unlike the standard
// distributions.
class Sequence
{
  public:
    explicit Sequence(uint64_t seed) : m_state(seed) {}
    uint64_t Next()
    {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double Unit() { return double(Next() >> 11) * (1.0 / 9007199254740992.0); }
    size_t Below(size_t count) { return count == 0 ? 0 : size_t(Next() % count); }

  private:
    uint64_t m_state;
};

int Bit(const Vector2<int>& cell)
{
    return cell.y * 8 + cell.x;
}

bool IsOnBoard(const Vector2<int>& cell)
{
    return cell.x >= 0 && cell.x <= 7 && cell.y >= 0 && cell.y <= 7;
}

// Every placement on the board of every key of the map, in key order.
std::vector<Pose> PlacedPoses(const CMoveMap& map)
{
    std::vector<Pose> poses;
    for (const auto& [key, entry] : map.GetEntries())
    {
        Vector2<int> high;
        for (int limb = 0; limb < kLimbs; ++limb)
        {
            const Vector2<int> cell = Pose::GetCell(key, limb);
            high.x = std::max(high.x, cell.x), high.y = std::max(high.y, cell.y);
        }
        for (int y = 0; y + high.y <= 7; ++y)
            for (int x = 0; x + high.x <= 7; ++x)
                poses.push_back(Pose(key.Bits() + uint32_t(y << 4 | x) * 0x01010101u));
    }
    return poses;
}

// Hands level and feet level: the stance the frog rests in, and one a player reads at a glance.
bool IsSquare(Pose pose)
{
    return Pose::GetCell(pose, 0).y == Pose::GetCell(pose, 1).y && Pose::GetCell(pose, 2).y == Pose::GetCell(pose, 3).y;
}

// How far the limbs go, in cells, each cell up the board counted three times: the frog climbs
// from the bottom of the pond towards the top.
int Travel(Pose from, Pose to)
{
    int travel = 0;
    for (int limb = 0; limb < kLimbs; ++limb)
    {
        const Vector2<int> step = Pose::GetCell(to, limb) - Pose::GetCell(from, limb);
        travel += std::abs(step.x) + std::abs(step.y) - 2 * step.y;
    }
    return travel;
}

// The game's XML reader takes attribute text as it stands, with no entities: a text holding a
// quote, "<" or "&" cannot be written so that it reads back.
bool IsWritable(const CString& text)
{
    return text.find_first_of("\"<&") == CString::npos;
}

const CPuzzleGenerator::Recipe kCatalogue[] = {
    {"First hop", 3, 0.55f, 1000},       {"Tiptoe", 3, 0.55f, 1001},
    {"Sidestep", 4, 0.55f, 1002},    {"Stretch", 4, 0.55f, 1003},
    {"The climb", 5, 0.55f, 1004},       {"Lily steps", 5, 0.5f, 1005},
    {"Crossing", 6, 0.5f, 1006},     {"Stepping stones", 6, 0.5f, 1007},
    {"Zigzag", 7, 0.5f, 1008},       {"Narrow ledge", 7, 0.5f, 1009},
    {"The gap", 8, 0.5f, 1010},      {"Long reach", 8, 0.5f, 1011},
    {"Detour", 9, 0.45f, 1012},      {"Switchback", 9, 0.45f, 1013},
    {"Tight squeeze", 10, 0.45f, 1014},  {"Reed maze", 10, 0.45f, 1015},
    {"Backtrack", 11, 0.45f, 1016},      {"Over the top", 11, 0.45f, 1017},
    {"Winding way", 12, 0.45f, 1018},    {"The long way", 12, 0.45f, 1019},
    {"Lost in the reeds", 13, 0.45f, 1020}, {"Night crossing", 13, 0.45f, 1021},
    {"Frog's labyrinth", 14, 0.45f, 1022},  {"Grand tour", 15, 0.45f, 1023},
};

// The collection's ponds, from morning to night.
const char* const kPonds[] = {"morning", "reeds", "blossom", "rain", "dusk", "night"};
} // namespace

void CPuzzleGenerator::GetMoves(Layout layout, Pose from, std::vector<Pose>& out) const
{
    out.clear();
    std::vector<Vector2<float>> cells;
    for (int limb = 0; limb < kLimbs; ++limb)
    {
        m_map.GetLandingCells(from, limb, cells);
        // The first cell is the limb's own: putting it back down is no move.
        for (size_t i = 1; i < cells.size(); ++i)
        {
            const Vector2<int> cell(cells[i]);
            if (!IsOnBoard(cell) || !HasKnob(layout, cell))
                continue;
            const Pose to = Pose::SetCell(from, limb, cell);
            if (Accepts(layout, to))
                out.push_back(to);
        }
    }
}

bool CPuzzleGenerator::Accepts(Layout layout, Pose pose) const
{
    if (pose.IsNone() || !Pose::HasDistinctCells(pose) || !m_map.Contains(pose))
        return false;
    for (int limb = 0; limb < kLimbs; ++limb)
        if (!HasKnob(layout, Pose::GetCell(pose, limb)))
            return false;
    return true;
}

CPuzzleGenerator::Distances CPuzzleGenerator::Reach(Layout layout, Pose start) const
{
    Distances distances;
    if (!Accepts(layout, start))
        return distances;
    std::deque<Pose> queue{start};
    distances[start.Bits()] = 0;
    std::vector<Pose> moves;
    while (!queue.empty())
    {
        const Pose pose = queue.front();
        queue.pop_front();
        const int32_t next = distances[pose.Bits()] + 1;
        GetMoves(layout, pose, moves);
        for (Pose to : moves)
            if (distances.emplace(to.Bits(), next).second)
                queue.push_back(to);
    }
    return distances;
}

std::vector<Pose> CPuzzleGenerator::Solve(Layout layout, Pose home, Pose goal) const
{
    std::vector<Pose> path;
    if (!Accepts(layout, home) || !Accepts(layout, goal))
        return path;
    // Parent of every pose reached; home is its own.
    std::unordered_map<uint32_t, uint32_t> parents{{home.Bits(), home.Bits()}};
    std::deque<Pose> queue{home};
    std::vector<Pose> moves;
    while (!queue.empty() && parents.count(goal.Bits()) == 0)
    {
        const Pose pose = queue.front();
        queue.pop_front();
        GetMoves(layout, pose, moves);
        for (Pose to : moves)
            if (parents.emplace(to.Bits(), pose.Bits()).second)
                queue.push_back(to);
    }
    if (parents.count(goal.Bits()) == 0)
        return path;
    for (uint32_t bits = goal.Bits();; bits = parents[bits])
    {
        path.push_back(Pose(bits));
        if (bits == home.Bits())
            break;
    }
    std::reverse(path.begin(), path.end());
    return path;
}

bool CPuzzleGenerator::Make(const Recipe& recipe, PuzzleDescription& out) const
{
    const std::vector<Pose> placed = PlacedPoses(m_map);
    Sequence sequence(recipe.seed);
    std::vector<Pose> homes, goals;
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt)
    {
        Layout layout = 0;
        for (int bit = 0; bit < 64; ++bit)
            if (sequence.Unit() < double(recipe.density))
                layout |= Layout(1) << bit;

        homes.clear();
        for (Pose pose : placed)
            if (Accepts(layout, pose) && IsSquare(pose) &&
                std::max(Pose::GetCell(pose, 2).y, Pose::GetCell(pose, 3).y) >= kHomeRow)
                homes.push_back(pose);
        if (homes.empty())
            continue;
        const Pose home = homes[sequence.Below(homes.size())];

        // The goal: a square pose exactly par moves away with every limb somewhere new (as many
        // as par allows), and of those the ones the frog travels farthest (mostly upwards) to
        // reach.
        const int unmoved = std::max(0, kLimbs - recipe.par);
        const Distances fromHome = Reach(layout, home);
        goals.clear();
        int best = std::numeric_limits<int>::min();
        for (const auto& [bits, distance] : fromHome)
        {
            if (distance != recipe.par || !IsSquare(Pose(bits)) || Pose::CountEqualCells(home, Pose(bits)) > unmoved)
                continue;
            const int travel = Travel(home, Pose(bits));
            if (travel > best)
                goals.clear(), best = travel;
            if (travel == best)
                goals.push_back(Pose(bits));
        }
        if (goals.empty())
            continue;
        std::sort(goals.begin(), goals.end());
        const Pose goal = goals[sequence.Below(goals.size())];

        // Knobs no near-shortest path uses only clutter the board. Taking them away removes
        // poses, so no path gets shorter, and every shortest path keeps its knobs.
        const Distances fromGoal = Reach(layout, goal);
        Layout used = 0;
        for (const auto& [bits, distance] : fromHome)
        {
            const auto back = fromGoal.find(bits);
            if (back == fromGoal.end() || distance + back->second > recipe.par + kDetourMoves)
                continue;
            for (int limb = 0; limb < kLimbs; ++limb)
                used |= Layout(1) << Bit(Pose::GetCell(Pose(bits), limb));
        }
        const std::vector<Pose> path = Solve(used, home, goal);
        if (int32_t(path.size()) != recipe.par + 1)
            continue;

        out = PuzzleDescription();
        out.title = recipe.title;
        out.unlocks = kUnlocks;
        out.category = CategoryOf(recipe.par);
        out.species = "d-azureus";
        out.knobs = KnobsOf(used);
        out.hasLayout = true;
        out.home = home;
        out.goal = goal;
        out.pondTemplate = "fallback";
        out.difficulty = DifficultyOf(recipe.par);
        out.par = recipe.par;
        out.hintSteps = path;
        out.complete = true;
        return true;
    }
    return false;
}

const char* CPuzzleGenerator::PondOf(int32_t index)
{
    constexpr int32_t count = int32_t(sizeof(kPonds) / sizeof(kPonds[0]));
    const int32_t block = (index < 0 ? 0 : index) / kPuzzlesPerPond;
    return kPonds[block % count];
}

std::vector<CPuzzleGenerator::Recipe> CPuzzleGenerator::Catalogue()
{
    return std::vector<Recipe>(std::begin(kCatalogue), std::end(kCatalogue));
}

int32_t CPuzzleGenerator::CategoryOf(int32_t par)
{
    return par <= 4 ? 0 : par <= 7 ? 1 : par <= 11 ? 2 : 3;
}

float CPuzzleGenerator::DifficultyOf(int32_t par)
{
    // Each band's own start and step, so that no par lands on a rating threshold.
    switch (CategoryOf(par))
    {
    case 0: return 0.0f;
    case 1: return 0.1f + 0.1f * float(par - 5);
    case 2: return 0.4f + 0.08f * float(par - 8);
    default: return std::min(0.7f + 0.08f * float(par - 12), 1.0f);
    }
}

CString CPuzzleGenerator::ToXml(const PuzzleDescription& puzzle)
{
    for (const CString* text : {&puzzle.title, &puzzle.instructions, &puzzle.pondTemplate, &puzzle.species})
        if (!IsWritable(*text))
            return CString();
    CString out = "<puzzle title=\"" + puzzle.title;
    out += CString::Format("\" unlocks=\"%d\" category=\"%d\">\n  <layout>\n", puzzle.unlocks, puzzle.category);
    for (const Vector2<int>& knob : puzzle.knobs)
        out += CString::Format("    <knob position=\"%d,%d\"/>\n", knob.x, knob.y);
    out += "  </layout>\n";
    out += "  <home pose=\"" + Pose::ToText(puzzle.home) + "\"/>\n";
    out += "  <goal pose=\"" + Pose::ToText(puzzle.goal) + "\"/>\n";
    out += "  <hint";
    if (!puzzle.instructions.empty())
    {
        out += " instructions=\"" + puzzle.instructions + "\"";
    }
    out += CString::Format(" difficulty=\"%.2f\">\n", double(puzzle.difficulty));
    for (Pose step : puzzle.hintSteps)
        out += "    <step pose=\"" + Pose::ToText(step) + "\"/>\n";
    out += "  </hint>\n";
    out += CString::Format("  <pond position=\"%g,%g\" template=\"", double(puzzle.pondPosition.x),
                           double(puzzle.pondPosition.y));
    out += puzzle.pondTemplate + "\"/>\n  <frog species=\"" + puzzle.species + "\"/>\n</puzzle>\n";
    return out;
}

CPuzzleGenerator::Layout CPuzzleGenerator::LayoutOf(const std::vector<Vector2<int>>& knobs)
{
    Layout layout = 0;
    for (const Vector2<int>& knob : knobs)
        if (IsOnBoard(knob))
            layout |= Layout(1) << Bit(knob);
    return layout;
}

std::vector<Vector2<int>> CPuzzleGenerator::KnobsOf(Layout layout)
{
    std::vector<Vector2<int>> knobs;
    for (int bit = 0; bit < 64; ++bit)
        if (layout >> bit & 1)
            knobs.emplace_back(bit % 8, bit / 8);
    return knobs;
}

bool CPuzzleGenerator::HasKnob(Layout layout, const Vector2<int>& cell)
{
    return IsOnBoard(cell) && (layout >> Bit(cell) & 1) != 0;
}
