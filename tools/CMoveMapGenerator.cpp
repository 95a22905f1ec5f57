#include "tools/CMoveMapGenerator.h"

#include "core/CXmlDocument.h"
#include "creatures/CSkeleton.h"
#include "creatures/FastAngle.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

namespace
{
constexpr int kLimbs = CMoveMap::kLimbCount;
constexpr int kLeftHand = 0, kRightHand = 1, kLeftFoot = 2, kRightFoot = 3;
// Rounds of the skeleton's relax budget before a rest shape is taken as settled; the species
// settles in far fewer from its own shape.
constexpr int kRelaxRounds = 400;

float Distance(const Vector2<int>& a, const Vector2<int>& b)
{
    return Vector2<float>(a - b).Length();
}
} // namespace

bool CMoveMapGenerator::LoadSpecies(const char* path, CSkeleton& skeleton)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    CXmlDocument document;
    return file && document.Parse(text.str(), false) && skeleton.LoadDocument(document.GetRoot()) &&
           skeleton.GetLimbJointCount() == unsigned(CMoveMap::kLimbCount);
}

CMoveMapGenerator::CMoveMapGenerator(CSkeleton& skeleton, const Rules& rules) : m_skeleton(skeleton), m_rules(rules)
{
    auto reach = [&](int a, int b)
    {
        const CJoint* joint = skeleton.GetJoint(a);
        return a == b ? 0.0f : joint ? joint->GetDistance(b) : 0.0f;
    };
    // A species drawn a hair off symmetric must not make one side of the frog reach farther.
    for (int a = 0; a < kLimbs; ++a)
        for (int b = 0; b < kLimbs; ++b)
            m_reach[a][b] = std::min(reach(a, b), reach(MirrorLimb(a), MirrorLimb(b)));
}

// The frog faces up the board (towards smaller y), as the species stands: its hands are above
// both feet, and neither pair crosses (the left limb of each pair left of the right one). No two
// limbs can stand farther apart than the bone path between them reaches, and the whole pose fits
// the span. Nothing here depends on where the pose stands.
bool CMoveMapGenerator::IsAnatomical(const Cells& cells) const
{
    if (cells[kLeftHand].x >= cells[kRightHand].x || cells[kLeftFoot].x >= cells[kRightFoot].x)
        return false;
    if (std::max(cells[kLeftHand].y, cells[kRightHand].y) >= std::min(cells[kLeftFoot].y, cells[kRightFoot].y))
        return false;
    Vector2<int> low = cells[0], high = cells[0];
    for (const Vector2<int>& cell : cells)
    {
        low.x = std::min(low.x, cell.x), low.y = std::min(low.y, cell.y);
        high.x = std::max(high.x, cell.x), high.y = std::max(high.y, cell.y);
    }
    if (high.x - low.x > m_rules.span || high.y - low.y > m_rules.span)
        return false;
    for (int a = 0; a < kLimbs; ++a)
        for (int b = a + 1; b < kLimbs; ++b)
            if (Distance(cells[size_t(a)], cells[size_t(b)]) > m_reach[a][b])
                return false;
    // The ordering above already keeps the four cells distinct.
    return true;
}

bool CMoveMapGenerator::Stands(const std::vector<Vector2<float>>& rest) const
{
    float bone = 0.0f, ligament = 0.0f;
    MeasureStrain(rest, bone, ligament);
    return rest.size() == m_skeleton.GetJointCount() && bone <= kBoneSlack && ligament <= kLigamentSlack;
}

void CMoveMapGenerator::MeasureStrain(const std::vector<Vector2<float>>& rest, float& bone, float& ligament) const
{
    bone = ligament = 0.0f;
    auto at = [&](int32_t joint) { return size_t(joint) < rest.size() ? rest[size_t(joint)] : Vector2<float>(); };
    for (const CBone& b : m_skeleton.GetBones())
        bone = std::max(bone, std::fabs((at(b.one) - at(b.two)).Length() - b.restLength));
    for (const CLigament& l : m_skeleton.GetLigaments())
    {
        const float angle = FastAngle(at(l.one) - at(l.pivot), at(l.two) - at(l.pivot));
        ligament = std::max({ligament, l.minAngle - angle, angle - l.maxAngle});
    }
}

float CMoveMapGenerator::GetReach(int a, int b) const
{
    return a >= 0 && a < kLimbs && b >= 0 && b < kLimbs ? m_reach[a][b] : 0.0f;
}

std::vector<Pose> CMoveMapGenerator::MakeCandidates() const
{
    // A normalised pose lies in the box from (0, 0) to (span, span); a pose that does not touch
    // both of the box's low edges is some other key moved, and is left to that key.
    const int side = std::min(m_rules.span, 7) + 1;
    const int cellCount = side * side;
    std::vector<Pose> keys;
    Cells cells;
    for (int a = 0; a < cellCount; ++a)
        for (int b = 0; b < cellCount; ++b)
            for (int c = 0; c < cellCount; ++c)
                for (int d = 0; d < cellCount; ++d)
                {
                    const int index[kLimbs] = {a, b, c, d};
                    for (int limb = 0; limb < kLimbs; ++limb)
                        cells[size_t(limb)] = Vector2<int>(index[limb] % side, index[limb] / side);
                    if (!IsAnatomical(cells))
                        continue;
                    const Pose key = PackNormalised(cells);
                    if (CellsOf(key) == cells)
                        keys.push_back(key);
                }
    std::sort(keys.begin(), keys.end());
    return keys;
}

std::vector<Pose> CMoveMapGenerator::MakeTargets(Pose key, int limb, const std::vector<Pose>& keys) const
{
    std::vector<Pose> targets;
    if (limb < 0 || limb >= kLimbs)
        return targets;
    const Cells from = CellsOf(key);
    for (int dy = -m_rules.hop; dy <= m_rules.hop; ++dy)
        for (int dx = -m_rules.hop; dx <= m_rules.hop; ++dx)
        {
            if (dx == 0 && dy == 0)
                continue;
            Cells cells = from;
            cells[size_t(limb)] += Vector2<int>(dx, dy);
            if (!IsAnatomical(cells))
                continue;
            const Pose target = PackNormalised(cells);
            if (std::binary_search(keys.begin(), keys.end(), target))
                targets.push_back(target);
        }
    std::sort(targets.begin(), targets.end());
    return targets;
}

std::vector<Vector2<float>> CMoveMapGenerator::MakeRestShape(Pose key)
{
    // The game's own put-down: the species' shape centred on the limbs, then the bones and
    // ligaments relaxed with the limbs pinned. No map, so that no older rest shape leaks in.
    CMoveMap noMap;
    m_skeleton.SetMoveMap(&noMap);
    m_skeleton.SetPose(key);
    for (int round = 0; round < kRelaxRounds && !m_skeleton.Relax(CSkeleton::kTickBudget, false); ++round)
    {
    }
    m_skeleton.SetMoveMap(nullptr);

    std::vector<Vector2<float>> rest(m_skeleton.GetJointCount());
    for (unsigned joint = 0; joint < rest.size(); ++joint)
        rest[joint] = m_skeleton.GetJointPosition(joint);
    const unsigned limbs = std::min(m_skeleton.GetLimbJointCount(), unsigned(kLimbs));
    for (unsigned limb = 0; limb < limbs && limb < rest.size(); ++limb)
        rest[limb] = Vector2<float>(Pose::GetCell(key, int(limb)));
    return rest;
}

CMoveMap::Entries CMoveMapGenerator::Generate()
{
    // The relaxation is not exactly mirror-symmetric (joints settle in index order), so a pose
    // and its mirror image are kept or left out together.
    CMoveMap::Entries standing;
    for (Pose candidate : MakeCandidates())
    {
        std::vector<Vector2<float>> rest = MakeRestShape(candidate);
        if (Stands(rest))
            standing[candidate].rest = std::move(rest);
    }
    CMoveMap::Entries entries;
    std::vector<Pose> keys;
    for (auto& [key, entry] : standing)
        if (standing.count(PackNormalised(Mirrored(CellsOf(key)))) != 0)
        {
            keys.push_back(key);
            entries[key].rest = entry.rest;
        }
    for (auto& [key, entry] : entries)
        for (int limb = 0; limb < kLimbs; ++limb)
            entry.targets[limb] = MakeTargets(key, limb, keys);
    return entries;
}

CMoveMapGenerator::Cells CMoveMapGenerator::CellsOf(Pose pose)
{
    Cells cells;
    for (int limb = 0; limb < kLimbs; ++limb)
        cells[size_t(limb)] = Pose::GetCell(pose, limb);
    return cells;
}

CMoveMapGenerator::Cells CMoveMapGenerator::Mirrored(const Cells& cells)
{
    Cells mirrored;
    for (int limb = 0; limb < kLimbs; ++limb)
    {
        const Vector2<int>& cell = cells[size_t(MirrorLimb(limb))];
        mirrored[size_t(limb)] = Vector2<int>(-cell.x, cell.y);
    }
    return mirrored;
}

Pose CMoveMapGenerator::PackNormalised(const Cells& cells)
{
    Vector2<int> low = cells[0];
    for (const Vector2<int>& cell : cells)
        low.x = std::min(low.x, cell.x), low.y = std::min(low.y, cell.y);
    Pose pose;
    for (int limb = 0; limb < kLimbs; ++limb)
    {
        const Vector2<int> cell = cells[size_t(limb)] - low;
        if (cell.x > 7 || cell.y > 7)
            return Pose();
        pose = Pose::SetCell(pose, limb, cell);
    }
    return pose;
}
