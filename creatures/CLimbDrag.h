#pragma once
// The skeleton's control: turns a touch near one of the frog's limbs into a drag, moves the limb
// towards the finger at a limited speed inside the region where the move map lets it land,
// snaps it to reachable knobs and, once it has been let go and arrives on a knob, hands the
// skeleton to CPuzzle::LandSkeleton, the only place where a drag becomes a move. It also takes
// the undo and redo commands and swipes, animates pose changes limb by limb, and runs the lunge.
// Lives inside its CSkeleton (which ticks it), registered as the control "skeleton" of the scope
// "maingame". Positions are in board cells unless named otherwise; times are platform ms.
// Invariant: at most one of the skeleton's grabbed and pending limbs is set; the targets and
// landing cells are non-empty only while a limb is grabbed.
#include "core/Transition.h"
#include "core/Vector2.h"
#include "platform/CControl.h"
#include "puzzle/Pose.h"

#include <cstdint>
#include <vector>

class CSkeleton;
class CMoveMap;

class CLimbDrag : public CControl
{
  public:
    // Registers itself as the control "skeleton" of the scope "maingame".
    explicit CLimbDrag(CSkeleton& skeleton);
    ~CLimbDrag() override;

    // Input (event positions in logical screen pixels, mapped into board cells by the current
    // view). A press is taken only when it picks a limb; motion is never taken.
    bool AcceptsPress(const InputEvent& event) override;
    bool OnPress(const InputEvent& event) override;
    bool OnMove(const InputEvent& event) override;
    bool OnRelease(const InputEvent& event) override;
    // Releases the held limb when the cancelled drag is the left button's; always consumed.
    bool OnDragCancel(const InputEvent& event) override;
    // "back", "redo" and the swipes left and right of "_gesture"; true when consumed.
    bool OnMessage(const InputEvent& event) override;
    bool HandleNamedEvent(const char* name, const char* argument);

    // Grabs the draggable joint nearest point within the pick radius; true when one was grabbed.
    // Nothing while disabled or outside the drag state.
    bool PickJoint(const Vector2<float>& point);
    // Aims the grabbed limb at the finger's point.
    void SetDragTarget(const Vector2<float>& point);
    // Lets go of the grabbed limb: it travels to the target nearest point (its own cell after a
    // click) and lands there. kUnsetVector2f stands for the limb's own position. With nothing
    // grabbed it only clears the targets.
    void ReleaseJoint(const Vector2<float>& point);
    // Drops the grabbed and pending limbs without any landing and clears the targets.
    void CancelDrag();
    // Puts a pending limb on its target at once, landing the move when the puzzle and the move
    // map accept the pose; the frog then stands in the puzzle's current pose. A refused limb
    // stays pending.
    void PutDownPending();

    // Where the limb would go for the finger at point: the click clamp, the snap to reachable
    // knobs, the reach of the other limbs, then the landing field.
    Vector2<float> ComputeDragTarget(int32_t limb, const Vector2<float>& point) const;
    // point, or the nearest point of the region where the move map lets the limb land.
    Vector2<float> ConfineToLandingField(const Vector2<float>& point) const;
    // Whether a landing cell lies within 0.01 of point.
    bool IsLandingCell(const Vector2<float>& point) const;
    // The height (board cells) at which joint is drawn: a held limb is lifted to
    // "frog/heldheight" and sinks as it nears a landing spot.
    float GetHeldHeight(int32_t joint) const;

    // Goes to pose: a pose one cell away moves that limb as a pending put-down, any other is set
    // at once.
    void MoveToPose(Pose pose);
    // While set, no limb can be picked and the cursor shows "disable"; setting it lets go of a
    // grabbed limb.
    void SetDisabled(bool disabled);
    bool IsDisabled() const { return m_disabled; }
    // The lunge at the fly: the torso goes out along the heading and back over "frog/lungetime".
    void StartLunge();
    void EndLunge();

    // The ticks, dt in seconds: of the drag state and of the lunge.
    void DragStep(float dt);
    void LungeStep(float dt);

    // What the frog, the board and the tests read.
    const Vector2<float>& GetTarget() const { return m_target; }
    const std::vector<Vector2<float>>& GetTargets() const { return m_targets; }
    const std::vector<Vector2<float>>& GetLandingCells() const { return m_landingCells; }
    // The current pick radius (board cells).
    float GetPickRadius() const;

  private:
    // The press is still a click: short in time and in travel.
    bool IsClick() const;
    // Places the moving limb on the knob centre; it keeps its position when the body has no rest
    // shape there.
    void PlaceOnKnob(const Vector2<float>& knob);
    // Moves the limb one tick towards the target, arcing around the body joint, and relaxes the
    // body around it.
    void MoveLimb(int32_t joint, float dt);
    // Lands a moving limb that has reached, or stalled near, the knob under its target.
    void CheckLanding(int32_t joint);
    void UpdateCursor();
    // Ends a drag without a move: the held limb counts as standing on its cell of standing.
    void DropHeldLimb(Pose standing);
    // Clears the targets and landing cells and the pond's highlights of them.
    void ClearTargets();
    // The puzzle's current pose, or the skeleton's without a puzzle.
    Pose GetPuzzlePose() const;
    bool HasKnobNear(const Vector2<float>& point) const;
    const CMoveMap* GetMoveMap() const;
    // Undo or redo by a command or a swipe; the tip and feedback follow only a swipe that
    // changed the pose.
    bool StepHistory(bool redo, bool fromSwipe);
    // Screen pixels to the current view's units.
    static Vector2<float> ToBoard(const Vector2<float>& screen);

    CSkeleton& m_skeleton;

    // Gesture state, reset between drags.
    uint32_t m_pressTime = 0;     // platform ms
    uint32_t m_putDownStart = 0;  // platform ms
    Vector2<float> m_lastPointer; // logical pixels
    float m_dragDistance = 0.0f;  // logical pixels since the press
    Vector2<float> m_target;
    // Landing cells that hold an active knob; the own cell first.
    std::vector<Vector2<float>> m_targets;
    // Every cell the move map lets the grabbed limb land on; the own cell first.
    std::vector<Vector2<float>> m_landingCells;
    int32_t m_closeEnoughCount = 0; // ticks stalled outside "puzzle/closeenough"
    uint8_t m_stuck = 1;            // "stick" has sounded for the knob under the target
    int32_t m_releaseCountdown = 3; // ticks the left button may be up before the drag ends
    bool m_disabled = false;
    // Runs from 0 to 1 after a swipe: the pick radius grows from its minimum to its maximum.
    Transition m_pickRamp;

    // The lunge.
    float m_lungeTime = 0.0f; // seconds since it began
    Vector2<float> m_lungeDirection;
};
