#pragma once
// Move maps made for tests and benchmarks by the rule the content follows: a legal pose has four
// distinct cells, the left hand left of the right hand, the left foot left of the right foot,
// both hands above both feet, and a bounding box at most span cells across (max - min); a limb
// hops to any cell within hop cells (Chebyshev) that keeps the pose legal. Keys and targets are
// normalised; rest shapes put the limbs on their cells and the body joints between them.
#include "puzzle/CMoveMap.h"

#include <algorithm>
#include <array>

struct MoveMapRules
{
    int spanX = 4;
    int spanY = 4;
    int hop = 2;
    unsigned joints = 8;
    // Keeps the first this many keys (0: all) and drops the targets that are no longer keys.
    size_t maxEntries = 0;
};

using PoseCells = std::array<Vector2<int>, 4>;

// Moves the cells to the origin and packs them; 0 when the pose is not legal under rules.
inline Pose PackLegal(PoseCells cells, const MoveMapRules& rules)
{
    Vector2<int> low = cells[0], high = cells[0];
    for (const Vector2<int>& c : cells)
    {
        low.x = std::min(low.x, c.x), low.y = std::min(low.y, c.y);
        high.x = std::max(high.x, c.x), high.y = std::max(high.y, c.y);
    }
    if (high.x - low.x > rules.spanX || high.y - low.y > rules.spanY)
        return Pose();
    if (cells[0].x >= cells[1].x || cells[2].x >= cells[3].x)
        return Pose();
    if (std::max(cells[0].y, cells[1].y) >= std::min(cells[2].y, cells[3].y))
        return Pose();
    Pose pose;
    for (int i = 0; i < 4; ++i)
        pose = Pose::SetCell(pose, i, cells[size_t(i)] - low);
    return Pose::HasDistinctCells(pose) ? pose : Pose();
}

inline PoseCells CellsOf(Pose pose)
{
    PoseCells cells;
    for (int i = 0; i < 4; ++i)
        cells[size_t(i)] = Pose::GetCell(pose, i);
    return cells;
}

// Limbs on their cells; joint 4 (the body) at their centre; the rest between body and limbs.
inline std::vector<Vector2<float>> MakeRestShape(Pose key, unsigned jointCount)
{
    std::vector<Vector2<float>> rest(jointCount);
    Vector2<float> centre;
    for (int i = 0; i < 4; ++i)
        centre += Vector2<float>(Pose::GetCell(key, i)) * 0.25f;
    for (unsigned j = 0; j < jointCount; ++j)
    {
        if (j < 4)
            rest[j] = Vector2<float>(Pose::GetCell(key, int(j)));
        else if (j == 4)
            rest[j] = centre;
        else
            rest[j] = centre + (rest[(j - 5) % 4] - centre) * (0.25f + 0.125f * float((j - 5) / 4));
    }
    return rest;
}

inline CMoveMap::Entries GenerateMoveMap(const MoveMapRules& rules = MoveMapRules())
{
    CMoveMap::Entries entries;
    // Every normalised pose lies inside the box from (0, 0) to (spanX, spanY).
    const int width = std::min(rules.spanX, 7) + 1, height = std::min(rules.spanY, 7) + 1;
    const int cellCount = width * height;
    for (int a = 0; a < cellCount * cellCount * cellCount * cellCount; ++a)
    {
        PoseCells cells;
        for (int i = 0, rest = a; i < 4; ++i, rest /= cellCount)
            cells[size_t(i)] = Vector2<int>(rest % cellCount % width, rest % cellCount / width);
        const Pose pose = PackLegal(cells, rules);
        if (pose.IsNone() || CellsOf(pose) != cells)
            continue;
        CMoveMap::Entry& entry = entries[pose];
        entry.rest = MakeRestShape(pose, rules.joints);
        for (int limb = 0; limb < 4; ++limb)
        {
            for (int dy = -rules.hop; dy <= rules.hop; ++dy)
                for (int dx = -rules.hop; dx <= rules.hop; ++dx)
                {
                    if (dx == 0 && dy == 0)
                        continue;
                    PoseCells cells = CellsOf(pose);
                    cells[size_t(limb)] += Vector2<int>(dx, dy);
                    const Pose target = PackLegal(cells, rules);
                    if (!target.IsNone())
                        entry.targets[limb].push_back(target);
                }
            std::sort(entry.targets[limb].begin(), entry.targets[limb].end());
        }
    }
    if (rules.maxEntries != 0 && entries.size() > rules.maxEntries)
    {
        entries.erase(std::next(entries.begin(), ptrdiff_t(rules.maxEntries)), entries.end());
        for (auto& [key, entry] : entries)
            for (std::vector<Pose>& targets : entry.targets)
                targets.erase(std::remove_if(targets.begin(), targets.end(),
                                             [&](Pose t) { return entries.count(t) == 0; }),
                              targets.end());
    }
    return entries;
}
