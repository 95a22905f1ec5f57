#pragma once
// One eye on a body piece: an eyeball that turns, within its strain, to look at the fly; an
// eyelid drawn upright over it; a highlight that follows part of the turn. A blink squashes the
// eyeball and the lid and stretches the highlight. Picture coordinates are texture units of the
// piece's picture, angles degrees, times game-clock milliseconds.
#include "Graphics/CMaterial.h"
#include "core/CRef.h"
#include "core/Matrix3.h"
#include "core/Vector2.h"
#include "core/Vector4.h"

#include <climits>
#include <cstdint>

class CXmlNode;

struct CEye
{
    enum Sprite : int32_t
    {
        kEyeball = 0,
        kEyelid = 1,
        kHighlight = 2,
        kSpriteCount = 3,
    };
    // A fixed light direction for the normal-mapped eye materials, as 0.5 + 0.5 n.
    static constexpr Vector4<float> kColour{0.6722987f, 0.6727338f, 0.9364358f, 1.0f};
    // The blink start of an eye that has never blinked: long enough ago to be open at any time.
    static constexpr int32_t kNeverBlinked = INT32_MIN / 2;

    // One sprite as drawn: centre (board cells), rect about it, rotation (degrees); shown false
    // when it lacks a material.
    struct Quad
    {
        bool shown = false;
        Vector2<float> position;
        Vector4<float> rect;
        float rotation = 0.0f;
    };

    // Reads an "eye" element and its "eyeball", "eyelid" and "highlight" children; a missing
    // child leaves that sprite without a material.
    void Load(CXmlNode& element);
    // The blink begins after this eye's own delay.
    void Blink(int32_t now);
    // 1 when open, easing to 0 at the middle of a blink and back.
    float GetOpenness(int32_t now) const;
    // How far the eyeball turns (degrees, within the strain) from its resting direction a
    // (degrees, heading of the look on the board) at p0 to face target; k falls from 1 to 0.5 as
    // the target goes round behind the eye.
    float LookTowards(const Vector2<float>& p0, float a, const Vector2<float>& target, float& k) const;
    // The three sprites for the piece's transform (picture to board). fly null: the eye looks
    // straight ahead.
    void Place(const Matrix3& transform, const Vector2<float>* fly, int32_t now,
               Quad quads[kSpriteCount]) const;
    // Draws them, eyeball, eyelid, highlight.
    void Draw(const Matrix3& transform, const Vector2<float>* fly, int32_t now) const;

    // Fixed at load.
    CRef<CMaterial> materials[kSpriteCount];
    Vector4<float> uvs[kSpriteCount];
    float eyeballScale = 0.0f; // also sizes the lid
    float highlightScale = 0.0f;
    float strain = 0.0f;      // degrees
    float flexibility = 0.0f; // share of the eyeball's turn the highlight follows
    Vector2<float> centre;
    Vector2<float> look{0.0f, -1.0f}; // unit
    float blinkDuration = 0.0f;       // seconds
    int32_t blinkDelay = 0;           // ms

    // Play state.
    int32_t blinkStart = kNeverBlinked;
};
