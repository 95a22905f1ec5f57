#include "creatures/CLimbDrag.h"

#include "core/CClock.h"
#include "core/CDictionary.h"
#include "core/CRule.h"
#include "core/CScheduler.h"
#include "core/ContentLimits.h"
#include "core/MathConstants.h"
#include "creatures/CSkeleton.h"
#include "creatures/CSkeletonServices.h"
#include "platform/CView.h"
#include "platform/InputEvent.h"
#include "puzzle/CMoveMap.h"
#include "puzzle/CPuzzle.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
CRule<float> s_pickDistanceMin("puzzle/pickdistancemin");         // board cells
CRule<float> s_pickDistanceMax("puzzle/pickdistancemax");         // board cells
CRule<float> s_pickDistanceRamp("puzzle/pickdistanceramp", 0.0f, kMaxContentSeconds);       // seconds
CRule<float> s_snapDistance("puzzle/snapdistance");               // board cells
CRule<float> s_snapBackDistance("puzzle/snapbackdistance");       // board cells
CRule<float> s_closeEnough("puzzle/closeenough");                 // board cells
CRule<float> s_targetSpeedLimit("puzzle/targetspeedlimit");       // board cells per second
CRule<float> s_clickRejectTime("puzzle/clickrejecttime", 0.0f, kMaxContentSeconds);         // seconds
CRule<float> s_clickRejectDistance("puzzle/clickrejectdistance"); // logical pixels
CRule<float> s_putDownTimeout("puzzle/putdowntimeout", 0.0f, kMaxContentSeconds);           // seconds
CRule<float> s_dragFeedbackRange("puzzle/dragfeedbackrange");     // board cells
CRule<int> s_animationInterval("interval/animation", CScheduler::kMinAnimationIntervalMs,
                               CScheduler::kMaxAnimationIntervalMs); // milliseconds
CRule<float> s_heldHeight("frog/heldheight");                     // board cells
CRule<float> s_landingRate("frog/landingrate");                   // height per board cell
CRule<float> s_lungeTime("frog/lungetime", 0.0f, kMaxContentSeconds);                       // seconds
CRule<float> s_lungeDistance("frog/lungedistance");               // board cells
CRule<float> s_floaterSize("ui/floatersize");                     // whole-screen view units

// While the press is a click the limb follows the finger only this far from its cell.
constexpr float kClickLeash = 0.4f;
constexpr int kReachPasses = 11;
// The landing field: each landing cell adds kFieldPeak * exp(-kFieldFalloff * d^2).
constexpr float kFieldPeak = 1.8f;
constexpr float kFieldFalloff = 2.0f;
constexpr float kFieldWalkStep = 0.05f;
// Bounds the field walks for a point far off the board (200 cells).
constexpr int kMaxFieldWalkSteps = 4000;
constexpr float kSubStep = 0.06f; // board cells
constexpr int kMaxSubSteps = 64;
constexpr float kReachedEpsilon = 1e-6f;
// A moving limb counts as still approaching while its squared distance to the knob shrinks by
// more than this per tick.
constexpr float kApproachMargin = 0.1f;
constexpr int32_t kStallTicks = 9;
constexpr int32_t kReleaseTicks = 3;
constexpr float kLandingCellRadiusSquared = 0.0001f;

float LengthSquared(const Vector2<float>& v)
{
    return Dot(v, v);
}

Vector2<float> Unit(Vector2<float> v)
{
    v.Normalise();
    return v;
}

Vector2<float> CellOf(Pose pose, int32_t limb)
{
    return Vector2<float>(Pose::GetCell(pose, limb));
}

bool IsUnset(const Vector2<float>& point)
{
    return point.x == kFloatMax && point.y == kFloatMax;
}

float FieldWeight(const Vector2<float>& cell, const Vector2<float>& point)
{
    return kFieldPeak * std::exp(-kFieldFalloff * LengthSquared(cell - point));
}

bool InsideField(const std::vector<Vector2<float>>& cells, const Vector2<float>& point)
{
    float field = 0.0f;
    for (const Vector2<float>& cell : cells)
    {
        if (LengthSquared(cell - point) == 0.0f)
            return true;
        field += FieldWeight(cell, point);
    }
    return field >= 1.0f;
}

// The first of the nearest cells; cells is not empty.
size_t NearestCell(const std::vector<Vector2<float>>& cells, const Vector2<float>& point)
{
    size_t nearest = 0;
    for (size_t i = 1; i < cells.size(); ++i)
        if (LengthSquared(cells[i] - point) < LengthSquared(cells[nearest] - point))
            nearest = i;
    return nearest;
}

// Where the field rises from point; zero inside the field.
Vector2<float> FieldDirection(const std::vector<Vector2<float>>& cells, const Vector2<float>& point)
{
    Vector2<float> sum;
    float weights = 0.0f;
    for (const Vector2<float>& cell : cells)
    {
        const float d2 = LengthSquared(cell - point);
        if (d2 == 0.0f)
        {
            weights += 1e8f;
            continue;
        }
        const float weight = FieldWeight(cell, point);
        weights += weight;
        sum += Unit(cell - point) * weight;
    }
    if (weights >= 1.0f)
        return Vector2<float>();
    if (LengthSquared(sum) < 1e-8f)
        return Unit(cells[NearestCell(cells, point)] - point);
    return Unit(sum);
}

// Rules read as durations: a missing or negative value is no time at all.
uint32_t Milliseconds(float seconds)
{
    return uint32_t(SecondsToMs(seconds));
}
} // namespace

CLimbDrag::CLimbDrag(CSkeleton& skeleton) : m_skeleton(skeleton), m_pickRamp(&s_pickDistanceRamp.Get())
{
    m_pickRamp.SnapTo(1.0f);
    Register("maingame", "skeleton");
}

CLimbDrag::~CLimbDrag() = default;

bool CLimbDrag::AcceptsPress(const InputEvent&)
{
    return true;
}

bool CLimbDrag::OnPress(const InputEvent& event)
{
    m_pressTime = CClock::Now();
    m_dragDistance = 0.0f;
    m_lastPointer = event.position;
    return PickJoint(ToBoard(event.position));
}

bool CLimbDrag::OnMove(const InputEvent& event)
{
    m_dragDistance += (event.position - m_lastPointer).Length();
    m_lastPointer = event.position;
    if (m_skeleton.m_grabbed >= 0)
        SetDragTarget(ToBoard(event.position));
    return false;
}

bool CLimbDrag::OnRelease(const InputEvent& event)
{
    if (m_skeleton.m_grabbed < 0)
        return false;
    ReleaseJoint(ToBoard(event.position));
    return true;
}

bool CLimbDrag::OnDragCancel(const InputEvent& event)
{
    if (GetDraggingButton() == InputEvent::kLeft)
        ReleaseJoint(ToBoard(event.position));
    return true;
}

bool CLimbDrag::OnMessage(const InputEvent& event)
{
    return HandleNamedEvent(event.name, event.argument);
}

bool CLimbDrag::HandleNamedEvent(const char* name, const char* argument)
{
    if (std::strcmp(name, "back") == 0)
        return StepHistory(false, false);
    if (std::strcmp(name, "redo") == 0)
        return StepHistory(true, false);
    if (std::strcmp(name, "_gesture") != 0)
        return false;
    // Right after a swipe a touch must land close to a limb to grab it.
    m_pickRamp.SnapTo(0.0f);
    m_pickRamp.SetDirection(1.0f);
    if (std::strcmp(argument, "swipeleft") == 0)
        return StepHistory(false, true);
    if (std::strcmp(argument, "swiperight") == 0)
        return StepHistory(true, true);
    return false;
}

bool CLimbDrag::StepHistory(bool redo, bool fromSwipe)
{
    CPuzzle* puzzle = CPuzzle::Peek();
    if (!puzzle)
        return false;
    const Pose before = puzzle->GetCurrentPose();
    const Pose pose = redo ? puzzle->Redo() : puzzle->Undo();
    if (fromSwipe && pose == before)
        return true;
    // A held limb goes back to its cell first: released, it would land a move on top of this one.
    DropHeldLimb(before);
    MoveToPose(pose);
    if (!fromSwipe)
        return true;

    CSkeletonServices& services = CSkeletonServices::Get();
    const float size = s_floaterSize;
    float x, y, width, height;
    services.GetScreenViewRect(x, y, width, height);
    const Vector2<float> at(x + width / 3.0f, services.GetPointerScreenViewPosition().y - size * 0.5f);
    services.ShowTip(CDictionary::Instance()->GetText(redo ? "tip_redo" : "tip_undo"), at, size);
    services.PlayGestureFeedback();
    return true;
}

float CLimbDrag::GetPickRadius() const
{
    const float min = s_pickDistanceMin, max = s_pickDistanceMax;
    return min + m_pickRamp.Value() * (max - min);
}

bool CLimbDrag::PickJoint(const Vector2<float>& point)
{
    CSkeleton& skeleton = m_skeleton;
    if (m_disabled || skeleton.m_state != CSkeleton::kDrag)
        return false;
    const float radius = GetPickRadius();
    if (!(radius > 0.0f))
        return false;
    int32_t picked = -1;
    float best = radius * radius;
    for (size_t i = 0; i < skeleton.m_joints.size(); ++i)
    {
        const CJoint& joint = skeleton.m_joints[i];
        const float d2 = LengthSquared(joint.position - point);
        if (joint.draggable && d2 < best)
            picked = int32_t(i), best = d2;
    }
    if (picked < 0)
        return false;

    // The previous limb, still on its way, is put down first; the frog then stands in the
    // puzzle's current pose, from which this drag's landing cells are read.
    PutDownPending();
    ClearTargets();
    skeleton.m_pending = -1;
    skeleton.m_grabbed = picked;
    skeleton.m_activeJoint = picked;
    skeleton.m_poseSet = 0;
    ++skeleton.m_changeCount;
    m_closeEnoughCount = 0;
    m_releaseCountdown = kReleaseTicks;

    if (const CMoveMap* map = GetMoveMap())
        map->GetLandingCells(skeleton.m_currentPose, picked, m_landingCells);
    else
        CMoveMap().GetLandingCells(skeleton.m_currentPose, picked, m_landingCells);
    for (const Vector2<float>& cell : m_landingCells)
        if (HasKnobNear(cell))
            m_targets.push_back(cell);
    // Aimed once the landing cells are known, so the first target is already a legal one.
    SetDragTarget(point);

    CSkeletonServices& services = CSkeletonServices::Get();
    services.PlaySound("unstick");
    services.CancelGesture();
    services.SetPondTargets(m_targets);
    return true;
}

void CLimbDrag::SetDragTarget(const Vector2<float>& point)
{
    if (m_skeleton.m_grabbed < 0)
        return;
    m_target = ComputeDragTarget(m_skeleton.m_grabbed, point);
    CSkeletonServices::Get().CancelGesture();
}

void CLimbDrag::ReleaseJoint(const Vector2<float>& point)
{
    CSkeleton& skeleton = m_skeleton;
    const int32_t grabbed = skeleton.m_grabbed;
    if (grabbed >= 0)
    {
        ++skeleton.m_changeCount;
        m_target = CellOf(GetPuzzlePose(), grabbed);
        if (!IsClick())
        {
            const Vector2<float> from = IsUnset(point) ? skeleton.m_joints[size_t(grabbed)].position : point;
            // The own cell wins ties.
            float best = LengthSquared(m_target - from);
            for (const Vector2<float>& target : m_targets)
                if (LengthSquared(target - from) < best)
                    m_target = target, best = LengthSquared(target - from);
        }
        skeleton.m_pending = grabbed;
        skeleton.m_grabbed = -1;
        m_putDownStart = CClock::Now();
    }
    ClearTargets();
}

void CLimbDrag::CancelDrag()
{
    m_skeleton.m_grabbed = -1;
    m_skeleton.m_pending = -1;
    ClearTargets();
}

void CLimbDrag::DropHeldLimb(Pose standing)
{
    CSkeleton& skeleton = m_skeleton;
    const int32_t grabbed = skeleton.m_grabbed;
    if (grabbed < 0)
        return;
    skeleton.m_joints[size_t(grabbed)].anchor = CellOf(standing, grabbed);
    skeleton.m_grabbed = -1;
    ++skeleton.m_changeCount;
    ClearTargets();
}

void CLimbDrag::PutDownPending()
{
    CSkeleton& skeleton = m_skeleton;
    CPuzzle* puzzle = CPuzzle::Peek();
    if (skeleton.m_pending >= 0 && puzzle)
    {
        CJoint& joint = skeleton.m_joints[size_t(skeleton.m_pending)];
        joint.position = joint.anchor = m_target;
        const Pose pose = Pose::FromSkeleton(skeleton);
        const CMoveMap* map = GetMoveMap();
        const bool accepted = map ? puzzle->AcceptsPose(*map, pose)
                                  : Pose::HasDistinctCells(pose) && puzzle->IsPoseOnKnobs(pose);
        if (accepted)
        {
            skeleton.TakePose(pose);
            puzzle->LandSkeleton(skeleton);
            skeleton.m_pending = -1;
        }
    }
    // A refused limb stays pending: the time-out or the next pick puts it down again.
    skeleton.TakePose(GetPuzzlePose());
}

bool CLimbDrag::IsClick() const
{
    return CClock::Since(m_pressTime) <= int32_t(Milliseconds(s_clickRejectTime)) &&
           m_dragDistance <= s_clickRejectDistance;
}

Vector2<float> CLimbDrag::ComputeDragTarget(int32_t limb, const Vector2<float>& point) const
{
    const CSkeleton& skeleton = m_skeleton;
    if (IsClick())
    {
        const Vector2<float> home = CellOf(GetPuzzlePose(), limb);
        const Vector2<float> away = point - home;
        if (LengthSquared(away) > kClickLeash * kClickLeash)
            return home + Unit(away) * kClickLeash;
        return point;
    }

    Vector2<float> target = point;
    for (size_t i = 0; i < m_targets.size(); ++i)
    {
        const float radius = i == 0 ? s_snapBackDistance : s_snapDistance;
        // The later of two matching knobs wins.
        if ((m_targets[i] - point).Length() < radius && HasKnobNear(m_targets[i]))
            target = m_targets[i];
    }

    // No limb may go farther from another than the bones between them reach.
    for (int pass = 0; pass < kReachPasses; ++pass)
    {
        bool changed = false;
        for (unsigned other = 0; other < skeleton.m_limbCount; ++other)
        {
            if (int32_t(other) == limb)
                continue;
            const Vector2<float> at = skeleton.m_joints[other].position;
            const float reach = skeleton.m_joints[other].GetDistance(limb);
            if ((target - at).Length() > reach)
            {
                target = at + Unit(target - at) * reach;
                changed = true;
            }
        }
        if (!changed)
            break;
    }
    return ConfineToLandingField(target);
}

Vector2<float> CLimbDrag::ConfineToLandingField(const Vector2<float>& point) const
{
    const std::vector<Vector2<float>>& cells = m_landingCells;
    if (cells.empty() || InsideField(cells, point))
        return point;
    const Vector2<float> direction = FieldDirection(cells, point);
    if (LengthSquared(direction) == 0.0f)
        return point;
    const Vector2<float> nearest = cells[NearestCell(cells, point)];
    const float distance = (nearest - point).Length();
    for (int step = 1; step <= kMaxFieldWalkSteps && float(step) * kFieldWalkStep < distance; ++step)
    {
        const Vector2<float> walked = point + direction * (float(step) * kFieldWalkStep);
        if (InsideField(cells, walked))
            return walked;
    }
    // Straight towards the nearest cell, which lies inside: the walk always ends in the field.
    const Vector2<float> towards = Unit(nearest - point);
    Vector2<float> walked = point;
    for (int step = 1; step <= kMaxFieldWalkSteps; ++step)
    {
        const float along = std::min(float(step) * kFieldWalkStep, distance);
        walked = point + towards * along;
        if (InsideField(cells, walked) || along >= distance)
            break;
    }
    return walked;
}

bool CLimbDrag::IsLandingCell(const Vector2<float>& point) const
{
    for (const Vector2<float>& cell : m_landingCells)
        if (LengthSquared(cell - point) < kLandingCellRadiusSquared)
            return true;
    return false;
}

float CLimbDrag::GetHeldHeight(int32_t index) const
{
    const CSkeleton& skeleton = m_skeleton;
    const CJoint* joint = skeleton.GetJoint(index);
    if (!joint)
        return 0.0f;
    const float height = joint->height;
    const int32_t grabbed = skeleton.m_grabbed;
    if (grabbed < 0)
        return height;
    // Only the grabbed limb's side of the body is lifted.
    for (unsigned limb = 0; limb < skeleton.m_limbCount; ++limb)
        if (int32_t(limb) != grabbed && joint->GetDistance(int(limb)) < joint->GetDistance(grabbed))
            return height;
    float held = s_heldHeight;
    const Vector2<float> at = skeleton.m_joints[size_t(grabbed)].position;
    for (const Vector2<float>& target : m_targets)
        held = std::min(held, s_landingRate * (target - at).Length());
    return std::max(height, held);
}

void CLimbDrag::MoveToPose(Pose pose)
{
    CSkeleton& skeleton = m_skeleton;
    Pose current = Pose::FromSkeleton(skeleton);
    const int32_t moving = skeleton.GetActiveJointIndex();
    if (moving >= 0)
        current =
            Pose::SetCell(current, moving, Vector2<int>(int(m_target.x + 0.5f), int(m_target.y + 0.5f)));
    int32_t limb = -1;
    for (int32_t i = 0; i < int32_t(CSkeleton::kMaxLimbs) && limb < 0; ++i)
        if (Pose::GetCell(current, i) != Pose::GetCell(pose, i))
            limb = i;
    // Two or more limbs apart, or nothing to move: the frog stands in the pose at once.
    if (limb < 0 || Pose::CountEqualCells(pose, current) < 3 || unsigned(limb) >= skeleton.m_limbCount)
    {
        skeleton.SetPose(pose);
        ++skeleton.m_changeCount;
        return;
    }
    skeleton.SetPose(current);
    ClearTargets();
    skeleton.m_poseSet = 0;
    skeleton.m_pending = limb;
    skeleton.m_activeJoint = limb;
    m_target = CellOf(pose, limb);
    m_putDownStart = CClock::Now();
    ++skeleton.m_changeCount;
}

void CLimbDrag::SetDisabled(bool disabled)
{
    m_disabled = disabled;
    if (disabled)
        ReleaseJoint(kUnsetVector2f);
}

void CLimbDrag::StartLunge()
{
    ReleaseJoint(kUnsetVector2f);
    m_skeleton.m_state = CSkeleton::kLunge;
    m_lungeTime = 0.0f;
}

void CLimbDrag::EndLunge()
{
    ReleaseJoint(kUnsetVector2f);
    m_skeleton.m_state = CSkeleton::kDrag;
    m_lungeTime = 0.0f;
}

void CLimbDrag::LungeStep(float dt)
{
    CSkeleton& skeleton = m_skeleton;
    if (m_lungeTime <= 0.0f)
        m_lungeDirection = skeleton.m_heading;
    m_lungeTime += dt;
    const float duration = s_lungeTime;
    // A lunge of no duration is over at once.
    const float progress = duration > 0.0f ? m_lungeTime / duration : 2.0f;
    float phase = kTwoPi;
    if (progress <= 1.0f)
        phase = kTwoPi * progress;
    else
    {
        skeleton.m_state = CSkeleton::kLungeFinished;
        m_lungeTime = 0.0f;
    }
    // Out and back: furthest at half time. Measured from the older positions, which the lunge
    // never shifts, so the torso ends exactly where it began.
    const float offset = s_lungeDistance * (1.0f - std::cos(phase)) * 0.5f;
    for (size_t i = 0; i < skeleton.m_joints.size(); ++i)
    {
        CJoint& joint = skeleton.m_joints[i];
        if (!joint.front && !joint.back)
            continue;
        joint.position = joint.anchor = joint.older + m_lungeDirection * offset;
        skeleton.PushJoint(int32_t(i));
    }
}

void CLimbDrag::DragStep(float dt)
{
    CSkeleton& skeleton = m_skeleton;
    if (skeleton.m_joints.empty())
        return;
    CSkeletonServices& services = CSkeletonServices::Get();

    // A finger lifted without a release record (or a lost window) ends the drag.
    if (skeleton.m_grabbed >= 0)
    {
        if (services.IsButtonDown(InputEvent::kLeft))
            m_releaseCountdown = kReleaseTicks;
        else if (--m_releaseCountdown <= 0)
            ReleaseJoint(kUnsetVector2f);
    }
    UpdateCursor();
    if (skeleton.m_pending >= 0 && CClock::Since(m_putDownStart) > int32_t(Milliseconds(s_putDownTimeout)))
        PutDownPending();

    const int32_t moving = skeleton.GetActiveJointIndex();
    if (moving < 0)
    {
        const CMoveMap* map = GetMoveMap();
        if (map && map->SnapToRestPose(skeleton))
        {
            // Ease into the rest shape: halve the gap from where each joint was.
            for (CJoint& joint : skeleton.m_joints)
                joint.position = joint.previous + (joint.position - joint.previous) * 0.5f;
            skeleton.ShiftHistory();
            return;
        }
        // Limbs off the knob cells, or a pose the map lacks: the body finds its own shape.
        skeleton.Relax(CSkeleton::kTickBudget, true);
        skeleton.ClearQueue();
        skeleton.ShiftHistory();
        return;
    }

    MoveLimb(moving, dt);
    skeleton.ClearQueue();
    CheckLanding(moving);

    CJoint& joint = skeleton.m_joints[size_t(moving)];
    joint.anchor = joint.position;
    skeleton.ShiftHistory();
    ++skeleton.m_changeCount;
}

void CLimbDrag::MoveLimb(int32_t moving, float dt)
{
    CSkeleton& skeleton = m_skeleton;
    const size_t index = size_t(moving);
    const float step = dt * s_targetSpeedLimit;
    const Vector2<float> from = skeleton.m_joints[index].position;
    Vector2<float> next = m_target;
    if ((m_target - from).Length() > step)
    {
        // Bend the path away from the body, so that a long move arcs around it.
        const Vector2<float> ahead = Unit(m_target - from);
        const Vector2<float> middle = (from + m_target) * 0.5f;
        const Vector2<float> body = skeleton.m_joints.size() > CSkeleton::kBodyJoint
                                        ? skeleton.m_joints[CSkeleton::kBodyJoint].position
                                        : middle;
        Vector2<float> direction = Unit(ahead + Unit(middle - body) * 0.5f);
        if (LengthSquared(direction) == 0.0f)
            direction = ahead;
        next = from + direction * step;
    }
    {
        CJoint& joint = skeleton.m_joints[index];
        joint.position = joint.anchor = next;
        joint.LimitInertia();
    }

    const CMoveMap* map = GetMoveMap();
    if (map && !map->SnapToRestPose(skeleton))
        map->BlendDragPose(skeleton, skeleton.m_currentPose, moving);

    skeleton.m_joints[index].pinned = 0;
    if (!skeleton.Relax(CSkeleton::kTickBudget, true))
    {
        // The body cannot follow this tick: try without the velocity limit, else undo the tick.
        if (!skeleton.Relax(CSkeleton::kFallbackBudget, false))
            skeleton.RevertJoints();
        skeleton.m_joints[index].pinned = 1;
        return;
    }
    skeleton.m_joints[index].pinned = 1;

    // Pull the limb the rest of the way in short steps, the body settling after each.
    const Vector2<float> start = skeleton.m_joints[index].position;
    const float distance = (next - start).Length();
    if (!(distance > kReachedEpsilon))
        return;
    const Vector2<float> along = (next - start) / distance;
    const int steps = std::min(kMaxSubSteps, int(std::ceil(distance / kSubStep)));
    skeleton.SaveJoints();
    for (int i = steps - 1; i >= 0; --i)
    {
        const Vector2<float> point =
            i == 0 ? next : start + along * std::max(0.0f, distance - float(i) * kSubStep);
        CJoint& joint = skeleton.m_joints[index];
        joint.position = joint.anchor = point;
        if (!skeleton.Relax(CSkeleton::kFallbackBudget, true))
        {
            skeleton.RestoreJoints();
            return;
        }
        skeleton.SaveJoints();
    }
}

void CLimbDrag::CheckLanding(int32_t moving)
{
    CSkeleton& skeleton = m_skeleton;
    CPuzzle* puzzle = CPuzzle::Peek();
    const PuzzleKnob* knob = puzzle ? puzzle->FindKnobNear(m_target) : nullptr;
    if (!knob)
    {
        m_stuck = 0;
        return;
    }
    const CJoint& joint = skeleton.m_joints[size_t(moving)];
    const Vector2<float> centre = knob->centre;
    const float d2 = LengthSquared(joint.position - centre);
    const float closeEnough = s_closeEnough;
    const float c2 = closeEnough * closeEnough;
    if (d2 < c2 || d2 < LengthSquared(joint.previous - centre) - kApproachMargin)
        m_closeEnoughCount = 0;
    else if (++m_closeEnoughCount > kStallTicks)
    {
        PlaceOnKnob(centre);
        m_closeEnoughCount = 0;
    }
    if (d2 >= c2)
        return;
    // Only a limb that was let go makes a move; a held one merely sticks.
    if (skeleton.m_pending >= 0 && puzzle->LandSkeleton(skeleton))
    {
        skeleton.m_pending = -1;
        skeleton.m_currentPose = puzzle->GetCurrentPose();
    }
    if (!m_stuck)
    {
        CSkeletonServices::Get().PlaySound("stick");
        m_stuck = 1;
    }
}

void CLimbDrag::PlaceOnKnob(const Vector2<float>& knob)
{
    CJoint* joint = m_skeleton.GetJoint(m_skeleton.GetActiveJointIndex());
    if (!joint)
        return;
    const Vector2<float> was = joint->position;
    joint->position = joint->anchor = knob;
    const CMoveMap* map = GetMoveMap();
    if (!map || !map->SnapToRestPose(m_skeleton))
        joint->position = was;
}

void CLimbDrag::UpdateCursor()
{
    CSkeletonServices& services = CSkeletonServices::Get();
    const int32_t hold = 2 * s_animationInterval;
    if (m_disabled)
    {
        services.SetCursor("disable", hold);
        return;
    }
    if (m_skeleton.m_grabbed >= 0)
    {
        services.SetCursor("grab", hold);
        return;
    }
    const Vector2<float> pointer = services.GetPointerViewPosition();
    const float range = s_dragFeedbackRange;
    for (const CJoint& joint : m_skeleton.m_joints)
        if (joint.draggable && LengthSquared(joint.position - pointer) < range * range)
        {
            services.SetCursor("grab", hold);
            return;
        }
}

void CLimbDrag::ClearTargets()
{
    const bool had = !m_targets.empty() || !m_landingCells.empty();
    m_targets.clear();
    m_landingCells.clear();
    if (had)
        CSkeletonServices::Get().SetPondTargets(m_targets);
}

Pose CLimbDrag::GetPuzzlePose() const
{
    const CPuzzle* puzzle = CPuzzle::Peek();
    return puzzle ? puzzle->GetCurrentPose() : m_skeleton.m_currentPose;
}

bool CLimbDrag::HasKnobNear(const Vector2<float>& point) const
{
    return m_skeleton.HasKnobAt(point);
}

const CMoveMap* CLimbDrag::GetMoveMap() const
{
    return m_skeleton.GetMoveMap();
}

Vector2<float> CLimbDrag::ToBoard(const Vector2<float>& screen)
{
    return CView::GetCurrent().ScreenToView(screen);
}
