#pragma once
// The frog's skeleton as poses and the move map see it: joints addressed by index, the limb
// joints first in limb order (0 left hand, 1 right hand, 2 left foot, 3 right foot). CSkeleton
// implements it, so that puzzle code reads and shapes the body without depending on creatures/.
// Positions and anchors are in board cell units (cell (x, y) is centred on the point (x, y)).
#include "core/Vector2.h"

class CPoseSkeleton
{
  public:
    // Joints 0 .. count - 1 are the limbs (the draggable joints).
    virtual unsigned GetLimbJointCount() const = 0;
    virtual unsigned GetJointCount() const = 0;

    // Callers pass indices below GetJointCount().
    virtual Vector2<float> GetJointPosition(unsigned joint) const = 0;
    virtual void SetJointPosition(unsigned joint, const Vector2<float>& position) = 0;
    // The spot the joint is held at; a limb's anchor is its knob while it stands.
    virtual Vector2<float> GetJointAnchor(unsigned joint) const = 0;
    virtual void SetJointAnchor(unsigned joint, const Vector2<float>& anchor) = 0;

    // Refills the solver's work queue with every joint, after all joints were set at once.
    virtual void QueueAllJoints() = 0;

    // Whether the puzzle the skeleton stands on has an active knob near the cell
    // (CPuzzle::FindKnobNear). Asked through the skeleton so that the move map neither reaches
    // into the puzzle nor creates it.
    virtual bool HasKnobAt(const Vector2<float>& cell) const = 0;

  protected:
    // Not owned through this interface.
    ~CPoseSkeleton() = default;
};
