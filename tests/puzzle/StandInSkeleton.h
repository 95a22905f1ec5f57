#pragma once
// A skeleton of plain joints for tests of poses and the move map: limb joints first, knobs on a
// set of cells (or everywhere), and a count of solver refills.
#include "puzzle/CPoseSkeleton.h"

#include <set>
#include <utility>
#include <vector>

class StandInSkeleton : public CPoseSkeleton
{
  public:
    struct Joint
    {
        Vector2<float> position;
        Vector2<float> anchor;
    };

    explicit StandInSkeleton(unsigned jointCount = 8, unsigned limbCount = 4)
        : joints(jointCount), limbs(limbCount)
    {
    }

    unsigned GetLimbJointCount() const override { return limbs; }
    unsigned GetJointCount() const override { return unsigned(joints.size()); }
    Vector2<float> GetJointPosition(unsigned joint) const override { return joints.at(joint).position; }
    void SetJointPosition(unsigned joint, const Vector2<float>& position) override
    {
        joints.at(joint).position = position;
    }
    Vector2<float> GetJointAnchor(unsigned joint) const override { return joints.at(joint).anchor; }
    void SetJointAnchor(unsigned joint, const Vector2<float>& anchor) override
    {
        joints.at(joint).anchor = anchor;
    }
    void QueueAllJoints() override { ++queued; }
    bool HasKnobAt(const Vector2<float>& cell) const override
    {
        return knobsEverywhere || knobs.count({int(cell.x), int(cell.y)}) != 0;
    }

    // Every joint's position and anchor at point.
    void PlaceAll(const Vector2<float>& point)
    {
        for (Joint& joint : joints)
            joint.position = joint.anchor = point;
    }

    std::vector<Joint> joints;
    unsigned limbs;
    int queued = 0;
    bool knobsEverywhere = true;
    std::set<std::pair<int, int>> knobs;
};
