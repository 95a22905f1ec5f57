#pragma once
// One kind of hold drawn on the board: a textured quad whose colour and texture sharpness fade
// between a shown and a faded look, and, for a limb knob (type "handl", "handr", "footl" or
// "footr", then anything), a particle effect ("fizz") that runs while the frog's matching limb is
// held or rests on it. Invariant: only a limb knob is scheduled (in "maingame") and has an effect;
// a knob of any other type is inert.
#include "Graphics/QuadBatch.h"
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CString.h"
#include "core/CUpdate.h"
#include "core/Vector2.h"
#include "core/Vector4.h"
#include "scene/CParticles.h"

#include <cstdint>

class CXmlNode;

class CKnob : public CBase, public CUpdate
{
  public:
    // What the knob needs of the frog's skeleton: whether it has the joint of limb (0 left hand,
    // 1 right hand, 2 left foot, 3 right foot), that joint's position (board units) and whether the
    // player holds that limb. The creatures install it; without it no knob fizzes.
    using LimbProbe = bool (*)(int32_t limb, Vector2<float>* position, bool* held);
    // Returns the previous probe, so that a test or a dying installer can put it back.
    static LimbProbe SetLimbProbe(LimbProbe probe);

    // A new knob loaded from a "knob" element.
    static CRef<CKnob> Create(const CXmlNode& element);
    // "radius", "material", "uvs", "angle" (degrees), "lod", "fadelod", "colour", "fade", "type"
    // and, for a limb knob, "fizz" (the particle system, "fizz" when empty).
    void Load(const CXmlNode& element);

    // Draws the knob at p (board units), t the shown fraction (0 faded, 1 shown), and moves the
    // effect there. The board calls it for every instance every frame.
    void Draw(const Vector2<float>& p, float t);
    // Draw without the GL part: moves the effect, places and colours the quad, stamps the frame;
    // returns the texture LOD bias the quad is drawn with.
    float Place(const Vector2<float>& p, float t);

    // Switches the effect on while the limb is held or within 0.1 of the knob, as long as the knob
    // was drawn in the last 8 frames; otherwise off.
    void Update(float dt) override;

    const CString& GetType() const { return m_type; }
    // 0 to 3 for a limb knob, -1 otherwise.
    int32_t GetLimb() const { return m_limb; }
    float GetLod() const { return m_lod; }
    float GetFadeLod() const { return m_fadeLod; }
    const Vector4<float>& GetColour() const { return m_colour; }
    const Vector4<float>& GetFade() const { return m_fade; }
    const QuadBatch& GetQuad() const { return m_quad; }
    CParticles* GetEffect() const { return m_effect.Get(); }

    // The limb of a knob type: the first of "handl", "handr", "footl", "footr" that its first five
    // characters match in any case; -1 for none.
    static int32_t LimbOfType(const CString& type);

  private:
    CKnob() = default;

    // Rules fixed at load.
    QuadBatch m_quad; // one quad about the origin; translated to where it is drawn
    CString m_type = "drop";
    float m_lod = 0.0f;
    float m_fadeLod = 1.0f;
    Vector4<float> m_colour{1.0f, 1.0f, 1.0f, 1.0f};
    Vector4<float> m_fade{1.0f, 1.0f, 1.0f, 1.0f};
    int32_t m_limb = -1;

    // Draw state: the platform frame it was last drawn in (its position is the quad's
    // translation), and whether it has been drawn at all.
    int32_t m_drawnFrame = 0;
    bool m_drawn = false;

    CRef<CParticles> m_effect;
};
