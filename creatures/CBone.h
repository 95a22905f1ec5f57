#pragma once
// A distance constraint of the frog's soft body: it holds two joints of the skeleton at the length
// they had in the species document's rest shape (board cells). Held by value in the skeleton's
// bone vector; its joint indices always name existing, distinct joints.
#include <cstdint>

class CSkeleton;

struct CBone
{
    // The joint at the other end; -1 when the bone does not touch joint.
    int32_t Other(int32_t joint) const;
    bool Uses(int32_t joint) const { return one == joint || two == joint; }

    // Moves the ends towards the rest length: half each, or all of it on the unpinned end when
    // one end is pinned; a moved joint goes onto the skeleton's work queue. False when the bone
    // was already at its rest length (or its ends coincide, so that it has no direction).
    bool Solve(CSkeleton& skeleton) const;

    int32_t one = 0;
    int32_t two = 0;
    float restLength = 0.0f;
    float restLengthSquared = 0.0f;
};
