#pragma once
// One toe of a foot: a thin segment from the foot's point out to a tip (the "knee" point), which
// swings to a new direction with a small lift when the foot turns, bends with the foot's held
// height and casts a shadow once lifted. Its look (picture, materials) is named from the species'
// "toes" section. Angles are degrees in heading terms (0 up the board, 90 to the right), lengths
// board cells, times game-clock ms.
// Invariant: the main segment always runs from the last updated foot point to the tip.
#include "Graphics/QuadBatch.h"
#include "core/MathConstants.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "core/Vector4.h"

#include <cstdint>

class CXmlNode;

struct CToe
{
    enum Mode : int32_t
    {
        kStill = 0,
        kAimed = 1,
        kSwinging = 2,
    };
    // The highest lift of a swing, in degrees of rise.
    static constexpr float kSwingLift = 30.0f;
    static constexpr Vector4<float> kColour{0.6723f, 0.6727f, 0.9364f, 1.0f};

    // Reads a "toe" element and its look: the child of "toes" named by its "toe" attribute,
    // "toes" being a child of the foot's parent. Without such a look the toe has no picture.
    void Load(CXmlNode& toe);
    // Points the toe along direction; kSwinging starts a swing (after the phase) from where it
    // is now, going the short way round. The first aim sets both ends, so it does not swing in.
    void Aim(const Vector2<float>& direction, int32_t mode, int32_t now);
    // The swing's angle at now, and its lift (degrees).
    float GetSwingAngle(int32_t now, float& lift) const;
    // Places the toe: foot is the foot point with its height, base the point it bends about
    // with its height (both board cells), hold the frog's fidget weight.
    void Update(const Vector3<float>& foot, const Vector3<float>& base, float hold, int32_t now);
    // Pass 0 the toe, 1 its shadow (offset: the pass's shift in x, y and depth in z), 2 the
    // hint's ghost (offset: the foot's facing, x and y). bounds, when given, grows by passes 1
    // and 2.
    void Draw(int32_t pass, const Vector3<float>& offset, Vector4<float>* bounds);

    // Fixed at load.
    float angleDown = 0.0f; // added to the angle with the foot down
    float angleUp = 0.0f;   // and with the foot held up
    float length = 0.0f;
    int32_t phase = 0;   // ms from an aim to its swing
    float period = 0.0f; // seconds a swing takes
    float radius = 0.0f; // half the drawn width
    Vector4<float> uv{0.0f, 0.0f, 1.0f, 1.0f};
    float halfWidth = 0.0f;     // of the picture, texture units
    float stretchLength = 0.0f; // the picture's straight part between its round ends
    bool shadowWhenDown = false;
    QuadBatch mainBatch;
    QuadBatch shadowBatch;

    // Play state.
    float fromAngle = kFloatMax;
    float toAngle = kFloatMax;
    float angle = 0.0f;
    int32_t mode = kStill;
    int32_t swingStart = 0;

    // Where the last update put it.
    Vector3<float> foot; // z: height
    Vector2<float> knee; // the tip
    float kneeHeight = 0.0f;
    bool shadowVisible = true;
};
