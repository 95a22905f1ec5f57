#pragma once
// The frog's soft body: joints (point masses) held together by bones (distance constraints) and
// ligaments (angle limits), relaxed through a work queue within a step budget each tick. Positions
// are in board cell units. Invariants once loaded: either there are no joints at all, or there are
// at least five, the draggable joints are exactly the first GetLimbJointCount() (at most four, in
// limb order: left hand, right hand, left foot, right foot), joint 4 is the body joint, and every
// bone and ligament names existing joints. Every operation on an empty skeleton does nothing.
#include "core/CRef.h"
#include "core/CScheduled.h"
#include "core/CString.h"
#include "core/Vector2.h"
#include "creatures/CBone.h"
#include "creatures/CJoint.h"
#include "creatures/CLigament.h"
#include "creatures/CLimbDrag.h"
#include "puzzle/CPlaySkeleton.h"
#include "puzzle/Pose.h"

#include <cstdint>
#include <deque>
#include <vector>

class CMoveMap;
class CXmlNode;

class CSkeleton : public CScheduled, public CPlaySkeleton
{
  public:
    // Drag, lunge, lunge finished: what the tick does.
    enum State : int32_t
    {
        kDrag = 0,
        kLunge = 1,
        kLungeFinished = 2,
    };

    static constexpr unsigned kMaxLimbs = 4;
    static constexpr unsigned kBodyJoint = 4;
    // Budgets (joint visits) of the drag tick's relaxes.
    static constexpr int kTickBudget = 256;
    static constexpr int kFallbackBudget = 128;
    // The limbs' reach and the bone-path distances are compared against this "no path" value.
    static constexpr float kNoPath = CJoint::kNoPath;

    // Scheduled in scope "maingame" every "interval/animation" ms.
    CSkeleton();
    ~CSkeleton() override;

    // A skeleton loaded from the species document name ("species/<name>" in the data folder).
    static CRef<CSkeleton> Create(const CString& name);

    // Replaces the skeleton with the one of the document name in the data folder; false (and an
    // empty skeleton) when the document is missing or its skeleton unusable.
    bool Load(const CString& name);
    // The same from a document's root element; null loads nothing.
    bool LoadDocument(CXmlNode* root);
    const CString& GetName() const { return m_name; }

    // Records.
    // The joint at index, or null when the index is out of range (JointAt is the same).
    CJoint* GetJoint(int32_t index);
    const CJoint* GetJoint(int32_t index) const;
    CJoint* JointAt(int32_t index) { return GetJoint(index); }
    const std::vector<CJoint>& GetJoints() const { return m_joints; }
    const std::vector<CBone>& GetBones() const { return m_bones; }
    const std::vector<CLigament>& GetLigaments() const { return m_ligaments; }
    // Indices into GetBones() / GetLigaments() of those touching joint, in document order; empty
    // for an index out of range.
    const std::vector<uint32_t>& GetJointBones(int32_t joint) const;
    const std::vector<uint32_t>& GetJointLigaments(int32_t joint) const;
    // The bone joining a and b (either way round), or null.
    const CBone* FindBone(int32_t a, int32_t b) const;
    // The unit mean of (joint - neighbour) over the joint's bones: which way the joint points
    // away from the body. (0, -1) for no joint, no bones or no clear direction.
    Vector2<float> GetOutwardDirection(int32_t joint) const;
    // The document's "home" points (board cells); read, not used by play.
    const Vector2<float>& GetHome(unsigned foot) const { return m_home[foot % kMaxLimbs]; }

    // Heading: the unit direction from the mean back joint to the mean front joint, (0, -1)
    // without front or back joints; the head point lies 0.6 cells ahead of the front joints.
    void UpdateHeading();
    const Vector2<float>& GetHeading() const { return m_heading; }
    const Vector2<float>& GetHeadPoint() const { return m_headPoint; }

    // For every joint: saved := position; position := saved; position := previous.
    void SaveJoints();
    void RestoreJoints();
    void RevertJoints();
    // CJoint::ShiftHistory on every joint.
    void ShiftHistory();

    // The solver.
    // Appends joint unless it is queued already; out-of-range indices are ignored.
    void PushJoint(int32_t joint);
    // Empties the queue.
    void ClearQueue();
    const std::deque<uint32_t>& GetQueue() const { return m_queue; }
    // Relaxes from a full queue, joints nearest the moving limb (grabbed, else pending) first, one
    // joint visit per unit of budget: its bones, then its ligaments, then (withInertia) its
    // velocity limit, then its anchor pull. True when the queue ran empty (the body settled),
    // false when the budget ran out first; the rest is left for later calls.
    bool Relax(int budget, bool withInertia);

    // The tick: heading, then the step of the current state. dt in seconds.
    void Update(float dt);
    void OnSchedule(float dt) override { Update(dt); }
    State GetState() const { return m_state; }

    // Play.
    // The limb being dragged, the limb let go and travelling to its landing point; -1 for none.
    // At most one of them is set.
    int32_t GetGrabbedJoint() const { return m_grabbed; }
    int32_t GetPendingJoint() const { return m_pending; }
    // The grabbed joint, else the pending one, else -1.
    int32_t GetActiveJointIndex() const;
    // The pose the frog stands in, as last set.
    Pose GetCurrentPose() const { return m_currentPose; }
    // Counts every change of pose or drag; the frog redraws and wakes on it.
    uint32_t GetChangeCount() const { return m_changeCount; }
    // Whether a pose was set since the last call; clears the flag.
    bool TakePoseSet();
    // The move map whose rest shapes the body takes; null uses the game's (when it exists).
    void SetMoveMap(const CMoveMap* map) { m_moveMap = map; }

    // CPlaySkeleton.
    unsigned GetLimbJointCount() const override { return m_limbCount; }
    unsigned GetJointCount() const override { return unsigned(m_joints.size()); }
    Vector2<float> GetJointPosition(unsigned joint) const override;
    void SetJointPosition(unsigned joint, const Vector2<float>& position) override;
    Vector2<float> GetJointAnchor(unsigned joint) const override;
    void SetJointAnchor(unsigned joint, const Vector2<float>& anchor) override;
    void QueueAllJoints() override;
    // Asks the puzzle; without a puzzle every cell of the board counts as a knob.
    bool HasKnobAt(const Vector2<float>& cell) const override;
    void ShiftJointHistory(unsigned joint) override;
    // The active joint's limb number and position.
    bool GetLastDraggedLimb(int& limb, Vector2<float>& position) const override;
    // Drops any grabbed or pending limb without landing it, then stands in the pose (TakePose).
    // A limb in flight aims at a cell picked for the pose it left: landed on this one it would
    // make a move the player never made.
    void SetPose(Pose pose) override;
    // Ends a drag. With nothing grabbed there is nothing to end.
    void ReleaseJoint(const Vector2<float>& point) override;
    // The head point.
    Vector2<float> GetBodyPoint() const override { return m_headPoint; }

    // The control: drags, pose changes and the lunge (CLimbDrag holds their state).
    CLimbDrag& GetDrag() { return m_drag; }
    const CLimbDrag& GetDrag() const { return m_drag; }
    // A pose one cell away is reached by moving that limb (animated); any other is set at once.
    void MoveToPose(Pose pose) { m_drag.MoveToPose(pose); }
    // While set no limb can be picked; setting it lets go of a held limb.
    void SetDisabled(bool disabled) { m_drag.SetDisabled(disabled); }
    void StartLunge() { m_drag.StartLunge(); }
    void EndLunge() { m_drag.EndLunge(); }
    // The height (board cells) at which the frog draws joint: lifted while its limb is held.
    float GetHeldHeight(int32_t joint) const { return m_drag.GetHeldHeight(joint); }

  private:
    // Empties every record and the solver and drag state.
    void Clear();
    // False, leaving the skeleton empty, for a skeleton that breaks the class's invariants.
    bool ReadJoints(CXmlNode* root);
    void ReadBones(CXmlNode* root);
    void ReadLigaments(CXmlNode* root);
    void ReadHome(CXmlNode* root);
    // Fills entry limb of every joint's distance table with the bone-path length from limb.
    void SpreadDistance(uint32_t limb);
    // The step of state kDrag.
    void DragStep(float dt);
    // Puts the limbs on the pose's cells, the body in the move map's rest shape of the pose (or,
    // when the map lacks it, in the document's rest shape centred on the limbs), and stops every
    // joint (no velocity). The drag state is left alone.
    void TakePose(Pose pose);
    const CMoveMap* GetMoveMap() const;

    // Fixed at load.
    CString m_name;
    std::vector<CJoint> m_joints;
    std::vector<CBone> m_bones;
    std::vector<CLigament> m_ligaments;
    std::vector<std::vector<uint32_t>> m_jointBones;
    std::vector<std::vector<uint32_t>> m_jointLigaments;
    unsigned m_limbCount = 0;
    Vector2<float> m_home[kMaxLimbs];

    // Pose and drag state.
    Pose m_currentPose;
    int32_t m_grabbed = -1;
    int32_t m_pending = -1;
    // The joint last grabbed or moved by a pose change; -1 for none.
    int32_t m_activeJoint = -1;
    uint32_t m_changeCount = 0;
    uint8_t m_poseSet = 1;
    State m_state = kDrag;
    Vector2<float> m_heading{0.0f, -1.0f};
    Vector2<float> m_headPoint;

    // Solver state.
    std::deque<uint32_t> m_queue;
    // One flag per joint while it is in the queue.
    std::vector<uint8_t> m_queued;
    // Board cells: a pinned joint this far from its anchor is pulled back.
    float m_anchorPullThreshold = 0.05f;

    const CMoveMap* m_moveMap = nullptr;

    // The control reads and writes the pose and drag state above; built last, as it registers.
    friend class CLimbDrag;
    CLimbDrag m_drag{*this};
};
