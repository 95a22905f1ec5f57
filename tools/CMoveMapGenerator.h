#pragma once
// Makes the move map from a species: every pose the frog's body can stand in, the hops of each
// limb between such poses, and the body's relaxed shape in each. A pose is legal when its cells
// keep the species' anatomy (IsAnatomical) and the species, relaxed with its limbs pinned there,
// holds its bones and ligaments (Stands). Legality is translation-invariant and every hop is
// reversible, so the table is closed (every target is a key) and symmetric (every hop has its way
// back) by construction. The frog is mirror-symmetric, so the table is too: a pose stands only
// when its mirror image stands, and reaches are the shorter of a limb pair and its mirror pair.
// Deterministic: the same species and rules give the same table.
#include "core/Vector2.h"
#include "puzzle/CMoveMap.h"
#include "puzzle/Pose.h"

#include <array>
#include <vector>

class CSkeleton;

class CMoveMapGenerator
{
  public:
    // Four limb cells in limb order (left hand, right hand, left foot, right foot), in board
    // cells, at any offset.
    using Cells = std::array<Vector2<int>, CMoveMap::kLimbCount>;

    struct Rules
    {
        // The widest and tallest a pose may be: max - min of the cells' x (and y), in cells.
        int span = 4;
        // The farthest a limb hops: Chebyshev distance in cells.
        int hop = 2;
    };

    // skeleton: the species, loaded; it is posed and relaxed while rest shapes are made, so it
    // must not be in play.
    CMoveMapGenerator(CSkeleton& skeleton, const Rules& rules);
    explicit CMoveMapGenerator(CSkeleton& skeleton) : CMoveMapGenerator(skeleton, Rules{}) {}

    // Loads the species document at path (a file path, not a data-folder name) into skeleton;
    // false when it cannot be read or holds no four-limbed skeleton.
    static bool LoadSpecies(const char* path, CSkeleton& skeleton);

    // Worst strain a rest shape may keep and still count as standing: bone length off by this
    // many cells, ligament angle outside its limits by this many radians.
    static constexpr float kBoneSlack = 0.1f;
    static constexpr float kLigamentSlack = 0.15f;

    // The cheap half of legality: the frog faces up with hands above feet, its pairs of limbs
    // uncrossed, no two limbs farther apart than the bones between them reach, within the span.
    bool IsAnatomical(const Cells& cells) const;
    // The other half: the relaxed rest shape of key keeps within the slacks above.
    bool Stands(const std::vector<Vector2<float>>& rest) const;
    // How far a rest shape strains the species: the worst bone (cells) and ligament (radians).
    void MeasureStrain(const std::vector<Vector2<float>>& rest, float& bone, float& ligament) const;
    // The farthest apart limbs a and b can stand: the length of the bone path between them, in
    // cells (the limbs straightened along it).
    float GetReach(int a, int b) const;
    const Rules& GetRules() const { return m_rules; }

    // Every anatomical normalised pose, in increasing order: the candidates for keys.
    std::vector<Pose> MakeCandidates() const;
    // The normalised poses limb's hop from the normalised key reaches among keys (sorted), in
    // increasing order.
    std::vector<Pose> MakeTargets(Pose key, int limb, const std::vector<Pose>& keys) const;
    // The species' joints relaxed with the limbs pinned on key's cells: one point per joint, in
    // cells relative to key; the limbs exactly on their cells.
    std::vector<Vector2<float>> MakeRestShape(Pose key);

    // The whole table: the candidates that stand, with their rest shapes and hops.
    CMoveMap::Entries Generate();

    static Cells CellsOf(Pose pose);
    // The pose seen in a mirror: x negated, left and right limbs swapped (at any offset).
    static Cells Mirrored(const Cells& cells);
    // The limb that plays limb's part in the mirror image.
    static int MirrorLimb(int limb) { return limb ^ 1; }
    // The cells moved to the origin and packed; 0 when any coordinate would not fit a nibble
    // after the move.
    static Pose PackNormalised(const Cells& cells);

  private:
    CSkeleton& m_skeleton;
    Rules m_rules;
    float m_reach[CMoveMap::kLimbCount][CMoveMap::kLimbCount] = {};
};
