#pragma once
// What the fly sees of the frog at one update: every joint of its skeleton, the limb that is
// moving and the point just ahead of its head. Board cells. Without a frog, present is false and
// the rest is empty.
#include "core/Vector2.h"

#include <cstdint>
#include <vector>

struct FrogSight
{
    bool present = false;
    std::vector<Vector2<float>> joints; // in joint order
    int32_t activeJoint = -1;           // the grabbed, else the pending limb; -1 for none
    Vector2<float> head;
};
