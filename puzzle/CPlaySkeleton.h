#pragma once
// What puzzle play needs of the frog's skeleton beyond its joints: CSkeleton implements it, so
// that CPuzzle lands, resets and replays the frog without depending on creatures/. Positions are
// in board cell units.
#include "puzzle/CPoseSkeleton.h"
#include "puzzle/Pose.h"

class CPlaySkeleton : public CPoseSkeleton
{
  public:
    // Pushes the joint's position history after the puzzle snapped the joint onto a knob.
    virtual void ShiftJointHistory(unsigned joint) = 0;
    // The limb the player dragged last and its joint's position; false when there is none.
    virtual bool GetLastDraggedLimb(int& limb, Vector2<float>& position) const = 0;
    // Puts the limbs on the pose's cells and the body in its rest shape at once.
    virtual void SetPose(Pose pose) = 0;
    // Ends a drag at point; a point at (3.4028235e38, 3.4028235e38) ends it without landing.
    virtual void ReleaseJoint(const Vector2<float>& point) = 0;
    // The body point, where the board's emboss puts a spot.
    virtual Vector2<float> GetBodyPoint() const = 0;

  protected:
    ~CPlaySkeleton() = default;
};
