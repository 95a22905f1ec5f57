#pragma once
// One flat textured piece of the frog's body, pinned between two joints of its skeleton so that
// it turns with them and stretches along them; the pieces of one group of the species document
// form a chain that draws from its last piece to its first, so the first lies on top. A piece may
// carry spots, eyes and a tongue. Pictures are measured in texture units, positions in board
// cells, angles in degrees.
// Invariant: a piece draws only when its load reached its "material" element and its two pins
// lie apart in the picture (pin distance above kMinPinDistance); otherwise it has no sound scale.
#include "Graphics/QuadBatch.h"
#include "core/CRef.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "core/Vector4.h"
#include "creatures/CBlob.h"
#include "creatures/CEye.h"
#include "creatures/CTongue.h"

#include <cstdint>
#include <memory>
#include <vector>

class CFly;
class CSkeleton;
class CXmlNode;

struct CFlap
{
    enum Mode : int32_t
    {
        kPlain = 0,  // lit with the light's direction encoded as a colour
        kShadow = 1, // cast along the pond's light, by each joint's height
        kGhost = 2,  // the hint's picture of the frog in another pose
    };
    // Pins closer than this (texture units) give no direction or scale.
    static constexpr float kMinPinDistance = 1e-6f;

    // Where a piece lies for one draw (board cells; the angle in degrees turns the picture's
    // pin direction onto its joints' direction).
    struct Placement
    {
        Vector2<float> pin;        // the first pin's position
        float angle = 0.0f;
        float widthScale = 0.0f;   // picture units to board cells across the piece
        float lengthScale = 0.0f;  // and along it
        Vector2<float> breath{1.0f, 1.0f};
        // The batch's scale: breath times the width and length scales.
        Vector2<float> Scale() const { return Vector2<float>(breath.x * widthScale, breath.y * lengthScale); }
    };

    CFlap() = default;
    ~CFlap();
    // A piece is held by value in a vector reserved before loading: moved at most while empty.
    CFlap(CFlap&&) = default;
    CFlap& operator=(CFlap&&) = default;
    CFlap(const CFlap&) = delete;
    CFlap& operator=(const CFlap&) = delete;

    // Loads a piece and the rest of its chain. node is a group element (its first "flap" child
    // is read) or a "flap" (its next sibling "flap" is read). Reading stops, leaving defaults,
    // at the first of the first "pin", the next "pin" and the next "material" that is missing;
    // such a piece ends the chain. A chain holds at most kMaxChain pieces (the rest are left out
    // and reported): every piece is drawn in every pass of every frame.
    void Load(CXmlNode& node);
    static constexpr int32_t kMaxChain = 1000;

    // Draws the chain, its last piece first. offset: a shadow pass's shift in x and y, the
    // drawing's depth in z; bounds (min x, min y, max x, max y; may be null) is grown by shadow
    // and ghost draws. now is the game clock (ms) that breathing and blinking run on; fly (may
    // be null) is what the eyes look at and the tongue reaches for.
    void Draw(const CSkeleton& skeleton, int32_t mode, const Vector3<float>& offset, Vector4<float>* bounds,
              int32_t now, CFly* fly);
    // Where this piece lies (not the rest of its chain); false, placing nothing, for a piece that
    // does not draw. The first call fixes the width scale for good.
    bool Place(const CSkeleton& skeleton, int32_t mode, const Vector3<float>& offset, int32_t now,
               Placement& placement);
    // The position a pin takes: its joint's, or in the shadow mode that point cast along the
    // pond's light by the joint's drawing height plus "graphics/shadowbias"; (0, 0) for a joint
    // the skeleton does not hold.
    static Vector2<float> GetPinPosition(const CSkeleton& skeleton, int32_t joint, int32_t mode,
                                         const Vector3<float>& offset);
    // Maps picture coordinates (texture units from the picture's top-left corner) onto the board
    // for a placement: what sprites riding on the piece are drawn with.
    Matrix3 GetTransform(const Placement& placement) const;
    // The breathing scale at now: (1, 1) outside a breath, breathe at its height.
    Vector2<float> GetBreath(int32_t now) const;
    // The colour that tells a normal-mapped material the light's direction in the frame of a
    // piece turned by angle degrees.
    static Vector4<float> LightColour(const Vector3<float>& light, float angle);

    // The eyes of this piece and of the rest of its chain start a blink at now (game ms).
    void Blink(int32_t now);
    // This piece and the rest of its chain start a breath at now (game ms).
    void Ribbit(int32_t now);
    // This piece's tongue (not the chain's) is thrown at the fly at now (game ms), or drawn
    // back in.
    void ThrowTongue(int32_t now);
    void ResetTongue();

    // This piece alone, from the data "flap" element; false when it stopped early.
    bool LoadPiece(CXmlNode& data);
    // This piece alone.
    void DrawPiece(const CSkeleton& skeleton, int32_t mode, const Vector3<float>& offset, Vector4<float>* bounds,
                   int32_t now, CFly* fly);

    bool Draws() const { return pinDistance > kMinPinDistance; }
    // The pieces in the chain from this one on.
    int32_t CountChain() const;

    // Fixed at load.
    Vector2<float> crop{1.0f, 1.0f};
    int32_t firstJoint = -1;
    Vector2<float> firstUv;
    int32_t secondJoint = -1;
    Vector2<float> secondUv;
    Vector4<float> quadRect; // the picture with its origin on the first pin
    QuadBatch mainBatch;
    QuadBatch shadowBatch;
    float pinDistance = 0.0f;
    std::unique_ptr<CFlap> next;
    Vector2<float> uvOffset;
    Vector2<float> breathe{1.0f, 1.0f};
    float breathDuration = 0.0f; // seconds; 0 never breathes
    std::vector<CBlob> blobs;
    std::vector<CEye> eyes;
    CRef<CTongue> tongue; // null for a piece without one

    // Fixed by the first draw: later stretching changes the length, never the width.
    float widthScale = -1.0f;

    // Play state.
    int32_t breathStart = 0; // game ms
};
