#pragma once
// A little thing a resting fly does (a step, a turn, a preen): its steps in playing order and the
// weight by which the weighted random choice picks it.
#include "creatures/FlyStep.h"

#include <vector>

struct FlyAction
{
    float weight = 1.0f;
    std::vector<FlyStep> steps;
};
