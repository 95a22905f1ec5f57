#pragma once
// The table of legal hops: for every pose the frog can stand in (kept once, moved to the origin)
// the poses each limb's hop reaches, and the relaxed position of every skeleton joint in that
// pose. Read once from "movemap.mvm", with "movemap.xml" as the fallback; an empty table (no
// file) lets every limb reach every cell and applies no rest shapes. Keys are normalised poses;
// every lookup normalises first.
#include "core/CBase.h"
#include "core/CSingleton.h"
#include "core/Vector2.h"
#include "puzzle/Pose.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

class CPoseSkeleton;
class CXmlReader;

class CMoveMap : public CBase, public CSingleton<CMoveMap>
{
  public:
    static constexpr int kLimbCount = 4;
    // Limits of the ".mvm" header: entries below kMaxEntries, joints at most kMaxJoints.
    static constexpr uint32_t kMagic = 0x21022009u;
    static constexpr uint32_t kMaxEntries = 16384;
    static constexpr uint32_t kMaxJoints = 255;

    struct Entry
    {
        // Per limb, the poses after that limb's hop, normalised; placed against a real pose with
        // Pose::AlignTo on a limb that does not move (GetReferenceLimb).
        std::vector<Pose> targets[kLimbCount];
        // One point per skeleton joint, in cells, relative to the normalised pose.
        std::vector<Vector2<float>> rest;

        bool operator==(const Entry& other) const;
    };
    using Entries = std::map<Pose, Entry>;

    // An empty table. Loading waits for Init, so that tools and tests can fill a table of their
    // own without the data folder.
    CMoveMap() = default;

    // Loads "movemap" from the data folder, binary first; CSingleton calls it on creation.
    void Init() override;

    // Clears the table and reads "<data folder>/<name>.mvm"; true on success. A failed load
    // leaves the table empty.
    bool LoadBinary(const char* name);
    // Clears the table and reads the XML document name ("<data folder>/<name>.xml"); a missing
    // document leaves the table empty.
    void LoadXml(const char* name);
    // LoadBinary, else LoadXml; true when the ".mvm" file was read.
    bool Load(const char* name);

    // The same readers on a path or on the file's bytes, for tools and tests.
    bool LoadBinaryFile(const char* path);
    bool LoadBinaryBytes(const uint8_t* bytes, size_t size);
    void LoadXmlFile(const char* path);

    bool Contains(Pose pose) const;

    // The cells (in board cells, as floats) limb can land on from pose: its own cell first, then
    // one per target in stored order; these may lie off the board, and callers keep only cells
    // with a knob. Only the own cell for a pose the table lacks; all 64 cells, row by row, when
    // the table is empty or limb is not 0..3.
    void GetLandingCells(Pose pose, int limb, std::vector<Vector2<float>>& out) const;

    // Sets each joint that has a rest point to the rest shape of pose, placed where pose stands;
    // nothing for pose 0 or a pose the table lacks.
    void ApplyRestPose(CPoseSkeleton& skeleton, Pose pose) const;
    // Adds weight times that placed rest shape to the joints' positions.
    void AddRestPose(CPoseSkeleton& skeleton, Pose pose, float weight) const;
    // Multiplies every joint's position by factor.
    static void ScaleJoints(CPoseSkeleton& skeleton, float factor);
    // When every limb joint's anchor lies on an on-board cell that holds a knob (squared distance
    // at most 0.001 cells) and the pose they make is in the table, sets all joints to its rest shape, queues
    // them for the solver and returns true. Otherwise changes nothing.
    bool SnapToRestPose(CPoseSkeleton& skeleton) const;
    // Shapes the body while limb is dragged from pose: a bilinear blend of the rest shapes of the
    // hops that land on the four cells around the dragged joint. Call once per frame.
    void BlendDragPose(CPoseSkeleton& skeleton, Pose pose, int limb) const;

    // The limb that stays put while limb hops, on which a target is placed against a pose.
    static int GetReferenceLimb(int limb) { return limb == 0 ? 1 : 0; }

    // The table itself, for content tools, validators and tests.
    const Entries& GetEntries() const { return m_entries; }
    Entries& EditEntries() { return m_entries; }
    bool IsEmpty() const { return m_entries.empty(); }

  private:
    // The entry of pose's normalised form and the offset that places it; null when absent.
    const Entry* Find(Pose pose, Vector2<int>* offset) const;
    bool ParseBinary(const uint8_t* bytes, size_t size);
    // Adds the "reach" elements under the reader's root element.
    void ReadXml(CXmlReader& reader);
    void AddRest(CPoseSkeleton& skeleton, const Entry& entry, const Vector2<int>& offset, float weight,
                 bool replace) const;

    Entries m_entries;
};
