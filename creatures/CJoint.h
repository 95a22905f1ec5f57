#pragma once
// One point mass of the frog's soft body, held by value in the skeleton's joint vector. Positions
// are in board cell units; the last three ticks' positions give the joint its velocity. A pinned
// joint is not moved by bones and is pulled back to its anchor.
#include "core/Vector2.h"

#include <cstdint>
#include <vector>

struct CJoint
{
    // What GetDistance reads for a limb the joint has no path to.
    static constexpr float kNoPath = 9999.0f;

    // older := previous, previous := position.
    void ShiftHistory();

    // The bone-path length from limb joint limb to this joint; kNoPath past the table.
    float GetDistance(int limb) const;
    // Grows the table as needed (new entries kNoPath); a negative limb is ignored.
    void SetDistance(int limb, float length);

    // Clamps the position to within the acceleration of where the last two ticks' motion, damped
    // to 0.9, would carry it: the velocity changes by at most the acceleration per tick.
    void LimitInertia();
    // A pinned joint at least threshold (board cells) from its anchor moves halfway there; true
    // when it moved.
    bool PullToAnchor(float threshold);

    // Fixed at load.
    uint8_t draggable = 0;
    uint8_t front = 0;
    uint8_t back = 0;
    // The limb number (0 left hand, 1 right hand, 2 left foot, 3 right foot); -1 on body joints.
    int32_t id = -1;
    // Board cells per tick of velocity change, and its square.
    float acceleration = 0.04f;
    float accelerationSquared = 0.04f * 0.04f;
    // Where the species document puts the joint, and the third coordinate of that rest
    // position: how high the joint is drawn (board cells).
    Vector2<float> rest;
    float height = 0.0f;
    // Entry i: the bone-path length from limb joint i (board cells).
    std::vector<float> distances;

    // Play state.
    uint8_t pinned = 0;
    Vector2<float> position;
    Vector2<float> previous;
    Vector2<float> older;
    // Where the joint is held: a limb's knob, or the finger's target while it moves.
    Vector2<float> anchor;
    // Kept by SaveJoints for RestoreJoints while the drag sub-steps.
    Vector2<float> saved;
};
