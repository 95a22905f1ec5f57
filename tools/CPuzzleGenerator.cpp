#include "tools/CPuzzleGenerator.h"

#include <algorithm>
#include <cmath>
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
// A win opens this many puzzles further on: the player always has a few to choose from.
constexpr int32_t kUnlocks = 3;
// The first puzzles teach; each opens just the next two.
constexpr int32_t kTutorialUnlocks = 2;
constexpr int32_t kTutorialPuzzles = 4;
// The first puzzles' tutorials: moving a limb; undo and redo by swipe; the goal and the fly.
const char* const kTutorials[] = {"tutorial/first", "tutorial/second", "tutorial/third"};
// "Few" shortest solutions, for the hardest group.
constexpr int32_t kFewSolutions = 12;

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

// One group of the catalogue: a pond, the par of its first and last puzzle, and a title for
// each puzzle in order. Pars rise evenly through the group.
struct Group
{
    const char* pond;
    int32_t firstPar;
    int32_t lastPar;
    float density;
    // The most shortest solutions a puzzle of the group may have; 0: any number.
    int32_t maxSolutions;
    std::vector<const char*> titles;
};

const Group kGroups[] = {
    {"morning", 2, 9, 0.55f, 0,
     {"First hop", "Tiptoe", "Sidestep", "Stretch", "Morning dew", "The climb", "Lily steps",
      "Early riser", "Sunrise", "Pink sky", "Dewdrops", "Wake up", "Yawning frog", "First light",
      "Mist on the water", "Warm stones", "Golden hour", "Bright eyes", "Reach for the sun", "Daybreak",
      "The long morning"}},
    {"blossom", 4, 12, 0.5f, 0,
     {"Buttercups", "Clover", "Daisy chain", "Bumblebee", "Tall grass", "Dandelion clock", "Sweet pea",
      "Poppy field", "Butterfly path", "Honeysuckle", "Meadowsweet", "Foxglove", "Bluebells", "Cowslip",
      "Wildflower walk", "Lavender", "Thistledown", "Cornflower", "Harvest mouse", "Sunflower",
      "Summer's end"}},
    {"reeds", 6, 14, 0.5f, 0,
     {"Bulrush", "Cattail", "Narrow ledge", "Stepping stones", "Reed maze", "Tight squeeze",
      "Heron's shadow", "Rustling", "Reed warbler", "Switchback", "Sedge", "Water mint", "Hidden channel",
      "Zigzag", "The gap", "Long reach", "Backtrack", "Dragonfly", "Kingfisher", "Thicket",
      "Lost in the reeds"}},
    {"rain", 8, 16, 0.45f, 0,
     {"First drops", "Puddle jump", "Drizzle", "Ripples", "Downpour", "Umbrella leaf", "Splash",
      "Rain dance", "Wet moss", "Storm drain", "Thunder", "Rainbow", "Raindrop race", "Slippery stones",
      "Overflow", "Cloudburst", "Torrent", "Deluge", "Flood plain", "Petrichor", "After the storm"}},
    {"dusk", 10, 18, 0.45f, 0,
     {"Evening", "Long shadows", "Sunset", "Midges", "Twilight", "Bat's flight", "Moth light",
      "Amber water", "Crickets", "Last light", "Owl call", "Gloaming", "Ember sky", "Nightfall", "Fading",
      "Purple hour", "Heron's rest", "Curfew", "Dusk chorus", "Shadow play", "The long way"}},
    {"night", 18, 24, 0.4f, kFewSolutions,
     {"Starlight", "Moonrise", "Fireflies", "Night crossing", "Glow-worm", "Midnight", "Owl's watch",
      "Silver water", "Constellation", "Milky way", "Will-o'-the-wisp", "Moon path", "Night heron",
      "Deep water", "Witching hour", "Frog's labyrinth", "Eclipse", "Dark of the moon", "Shooting star",
      "Grand tour", "Dawn again"}},
};
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

CPuzzleGenerator::Measure CPuzzleGenerator::MeasureOf(Layout layout, Pose home, Pose goal,
                                                     const std::vector<Pose>& solution) const
{
    Measure measure;
    const Distances fromHome = Reach(layout, home);
    const auto end = fromHome.find(goal.Bits());
    if (end == fromHome.end() || solution.size() < 2)
        return measure;
    measure.par = end->second;
    measure.reachable = int32_t(fromHome.size());

    // Shortest paths counted layer by layer: each pose's count is the sum of its parents'.
    std::vector<std::pair<int32_t, uint32_t>> order;
    for (const auto& [bits, distance] : fromHome)
        if (distance <= measure.par)
            order.emplace_back(distance, bits);
    std::sort(order.begin(), order.end());
    std::unordered_map<uint32_t, int64_t> paths{{home.Bits(), 1}};
    std::vector<Pose> moves;
    for (const auto& [distance, bits] : order)
    {
        const int64_t count = paths[bits];
        GetMoves(layout, Pose(bits), moves);
        for (Pose to : moves)
        {
            const auto at = fromHome.find(to.Bits());
            if (at != fromHome.end() && at->second == distance + 1)
                paths[to.Bits()] = std::min<int64_t>(paths[to.Bits()] + count, kManySolutions);
        }
    }
    measure.solutions = int32_t(paths[goal.Bits()]);

    size_t open = 0;
    for (size_t step = 0; step + 1 < solution.size(); ++step)
    {
        GetMoves(layout, solution[step], moves);
        open += moves.size();
    }
    measure.branching = float(int(float(open) * 100 / float(solution.size() - 1) + 0.5f)) / 100;
    return measure;
}

bool CPuzzleGenerator::Make(const Recipe& recipe, PuzzleDescription& out, const std::vector<CString>& made) const
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
        const Measure measure = MeasureOf(used, home, goal, path);
        if (recipe.maxSolutions > 0 && measure.solutions > recipe.maxSolutions)
            continue;

        PuzzleDescription puzzle;
        puzzle.title = recipe.title;
        puzzle.unlocks = recipe.unlocks;
        puzzle.category = recipe.category;
        puzzle.species = "d-azureus";
        puzzle.knobs = KnobsOf(used);
        puzzle.hasLayout = true;
        puzzle.home = home;
        puzzle.goal = goal;
        puzzle.pondTemplate = recipe.pond;
        puzzle.instructions = recipe.instructions ? recipe.instructions : "";
        puzzle.difficulty = DifficultyOf(measure);
        puzzle.par = recipe.par;
        puzzle.hintSteps = path;
        puzzle.complete = true;
        if (std::find(made.begin(), made.end(), CanonicalOf(puzzle)) != made.end())
            continue;
        out = puzzle;
        return true;
    }
    return false;
}

std::vector<CPuzzleGenerator::Recipe> CPuzzleGenerator::Catalogue()
{
    std::vector<Recipe> recipes;
    for (size_t group = 0; group < std::size(kGroups); ++group)
    {
        const Group& g = kGroups[group];
        const size_t count = g.titles.size();
        for (size_t i = 0; i < count; ++i)
        {
            Recipe recipe;
            recipe.title = g.titles[i];
            recipe.par = g.firstPar + int32_t((size_t(g.lastPar - g.firstPar) * i + (count - 1) / 2) / (count - 1));
            recipe.density = g.density;
            recipe.seed = uint32_t(1000 + recipes.size());
            recipe.maxSolutions = g.maxSolutions;
            recipe.category = int32_t(group);
            recipe.pond = g.pond;
            recipe.unlocks = recipes.size() < size_t(kTutorialPuzzles) ? kTutorialUnlocks : kUnlocks;
            if (recipes.size() < std::size(kTutorials))
                recipe.instructions = kTutorials[recipes.size()];
            recipes.push_back(recipe);
        }
    }
    return recipes;
}

float CPuzzleGenerator::DifficultyOf(const Measure& measure)
{
    if (measure.par <= 0)
        return 0.0f;
    const float bits = float(measure.par) * std::log2(std::max(measure.branching, 1.0f)) -
                       std::log2(float(std::max(measure.solutions, 1)));
    const float difficulty = std::clamp(bits / kHardestBits, 0.0f, 1.0f);
    return float(int(difficulty * 100 + 0.5f)) / 100;
}

CString CPuzzleGenerator::CanonicalOf(const PuzzleDescription& puzzle)
{
    // Each form moved so its knobs touch the board's top and left edges; the smaller text of
    // the puzzle and its mirror image stands for both.
    auto text = [](std::vector<Vector2<int>> knobs, Pose home, Pose goal)
    {
        Vector2<int> low(7, 7);
        for (const Vector2<int>& knob : knobs)
            low.x = std::min(low.x, knob.x), low.y = std::min(low.y, knob.y);
        for (Vector2<int>& knob : knobs)
            knob -= low;
        std::sort(knobs.begin(), knobs.end(), [](const Vector2<int>& a, const Vector2<int>& b)
                  { return a.y != b.y ? a.y < b.y : a.x < b.x; });
        const uint32_t shift = uint32_t(low.y << 4 | low.x) * 0x01010101u;
        CString out = Pose::ToText(Pose(home.Bits() - shift)) + Pose::ToText(Pose(goal.Bits() - shift));
        for (const Vector2<int>& knob : knobs)
            out += CString::Format(" %d,%d", knob.x, knob.y);
        return out;
    };
    std::vector<Vector2<int>> mirrored;
    for (const Vector2<int>& knob : puzzle.knobs)
        mirrored.emplace_back(7 - knob.x, knob.y);
    const CString plain = text(puzzle.knobs, puzzle.home, puzzle.goal);
    const CString mirror = text(mirrored, MirrorPose(puzzle.home), MirrorPose(puzzle.goal));
    return std::min(plain, mirror);
}

Pose CPuzzleGenerator::MirrorPose(Pose pose)
{
    Pose mirrored;
    for (int limb = 0; limb < kLimbs; ++limb)
    {
        const Vector2<int> cell = Pose::GetCell(pose, limb ^ 1);
        mirrored = Pose::SetCell(mirrored, limb, Vector2<int>(7 - cell.x, cell.y));
    }
    return mirrored;
}

CString CPuzzleGenerator::ToXml(const PuzzleDescription& puzzle, const Measure* measure)
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
    out += CString::Format(" difficulty=\"%.2f\"", double(puzzle.difficulty));
    if (measure)
        out += CString::Format(" reachable=\"%d\" solutions=\"%d\" branching=\"%.2f\"", measure->reachable,
                               measure->solutions, double(measure->branching));
    out += ">\n";
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
