#pragma once
// One petal sprite with its own physics: launched from an edge of the view, it falls under the
// platform's gravity against air friction, tumbles and flutters, is pushed aside by a moving
// finger, and goes inactive once it has left the view grown by half a unit. A plain record copied
// by value, shared by the win's shower and the ponds' drifting petals. Positions are view units,
// times seconds unless named; velocity is kept implicitly as the last step (previous position).
// Invariant: previous step is positive, so the implied velocity is always defined.
#include "Graphics/QuadBatch.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "core/Vector4.h"
#include "scene/PetalWorld.h"

#include <cstdint>

class CXmlNode;

class CPetal
{
  public:
    // Constants every petal shares; the shower replaces them from its document.
    struct Physics
    {
        float gravity = 3.0f;  // view units per second squared, times the gravity direction
        float friction = 1.5f; // per second
        float maxNudge = 3.0f; // fastest a finger's push leaves a petal, view units per second
    };
    static const Physics& GetPhysics();
    static void SetPhysics(const Physics& physics);

    // Launch modes.
    static constexpr int kDrift = 0; // enters gently from the edge gravity carries it away from
    static constexpr int kBurst = 1; // the petal gun: shot in fast from a random edge

    // Reads a "petal" element: materials, uvs, glow, size range; "mouse" of the "interaction"
    // child of the element's document root.
    void Load(CXmlNode& element);
    // Starts the petal at depth (0 far to 1 near) in a launch mode, drawing from the global
    // generator. Its relaunch delay is a random share of depth × 10 s.
    void Launch(float depth, int mode, const PetalWorld& world);
    // One step of dt seconds while active. True when a finger's push had to be capped at the
    // nudge limit (the owner plays the waft for it). A step of no time changes nothing.
    bool Update(float dt, const PetalWorld& world);
    // The glow (when it has a material), then the petal.
    void Draw();

    // The drawn rectangle about the petal's centre (x0, y0, x1, y1) and its brightness, from the
    // flutter phase and the depth.
    Vector4<float> GetRect() const;
    float GetBrightness() const;

    bool IsActive() const { return m_active; }
    void SetActive(bool active) { m_active = active; }
    // Once inactive: the clock time (ms) from which the petal may be launched again.
    int32_t GetRelaunchTime() const { return m_relaunch; }
    bool IsTouched() const { return m_touched; }
    bool IsInteractive() const { return m_interactive; }
    float GetSize() const { return m_size; }
    const Vector2<float>& GetSizeRange() const { return m_sizeRange; }
    float GetGlowScale() const { return m_glowScale; }
    const Vector4<float>& GetColour() const { return m_colour; }
    const Vector3<float>& GetPosition() const { return m_position; }
    const Vector3<float>& GetPreviousPosition() const { return m_previousPosition; }
    float GetPreviousStep() const { return m_previousStep; }
    // View units per second over the last step.
    Vector3<float> GetVelocity() const;
    float GetAngle() const { return m_angle; }
    const QuadBatch& GetPetalQuad() const { return m_petal; }
    const QuadBatch& GetGlowQuad() const { return m_glow; }
    bool HasGlow() const { return bool(m_glow.material); }

    // For tests and tools: place the petal with a velocity (units per second) over a step.
    void Place(const Vector3<float>& position, const Vector3<float>& velocity, float step);

  private:
    // Rules fixed at load.
    QuadBatch m_petal;
    QuadBatch m_glow;
    float m_glowScale = 2.0f;
    Vector2<float> m_sizeRange;
    bool m_interactive = false;

    // Flight state.
    bool m_active = false;
    int32_t m_relaunch = 0; // ms: the delay drawn at launch, then the time it runs out
    bool m_touched = false;
    Vector3<float> m_position;
    Vector3<float> m_previousPosition;
    float m_previousStep = 0.001f;
    float m_size = 0.2f;
    Vector4<float> m_colour = Vector4<float>(1.0f, 1.0f, 1.0f, 1.0f);
    float m_angle = 0.0f;
    float m_previousAngle = 0.0f;
    float m_phase = 0.0f; // flutter, degrees
    float m_previousPhase = 0.0f;
};
