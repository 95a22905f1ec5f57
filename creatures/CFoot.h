#pragma once
// The toes of one joint of the skeleton, kept pointing the way the body faces there. A resting
// foot turns towards that direction in small random jumps, the more often the further it is out
// of line (its fidget); the held limb's foot follows at once and wiggles by the frog's fidget
// weight. Directions are unit vectors on the board, times game-clock ms.
// Invariant: the facing is (0, 0) only until the first update after a load or a reset.
#include "core/CLink.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "core/Vector4.h"
#include "creatures/CToe.h"

#include <cstdint>
#include <vector>

class CSkeleton;
class CXmlNode;
class Random;

struct CFoot
{
    // Links the skeleton and reads a foot element: "joint", "ankle" and one toe per "toe" child.
    void Load(CSkeleton& skeleton, CXmlNode& element);
    // Turns the facing (fidgeting at random, or following the held limb by weight, 0 to 1) and
    // places the toes. Nothing once the skeleton is gone or lacks the joint.
    void Update(float weight, int32_t now, Random& random);
    // Faces the body's direction again at once: after the skeleton took a new pose.
    void ResetFacing(int32_t now, Random& random);
    // The toes in a body mode (0 plain, 1 shadow, 2 ghost) at offset, growing bounds by the
    // shadow and the ghost when given.
    void Draw(int32_t mode, const Vector3<float>& offset, Vector4<float>* bounds);
    // Where the toes should point: away from the body at the joint, mixed for an ankle with the
    // body's heading; (0, -1) when these cancel.
    Vector2<float> GetTargetDirection() const;

    // Fixed at load.
    CLink<CSkeleton> skeleton;
    int32_t joint = 0;
    bool ankle = false;
    std::vector<CToe> toes;

    // Play state.
    Vector2<float> facing;
    int32_t fidgetStamp = 0; // 0 until the first fidget
};
