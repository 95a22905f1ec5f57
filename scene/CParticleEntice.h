#pragma once
// The "Entice" particle: a sprite that pulses once per period (a cosine rise and fall of its
// alpha, with a small swing of its rotation) at a fresh random offset within a third of its radius
// each cycle, so that a reachable knob seems to call. Particles made together pulse out of step;
// the first, partial cycle is never shown. Its look comes from the "particles/entice" rules.
#include "Graphics/QuadBatch.h"
#include "scene/CParticle.h"

#include <cstdint>

class CParticleEntice : public CParticle
{
  public:
    // Reads the rules and draws this particle's period (seconds) from their range.
    CParticleEntice();

    // Advances the cycle to now (ms) and draws the pulse when one shows.
    void Draw(int32_t now) override;
    // Advances the cycle to now (ms) and places, colours and turns the quad; true when the pulse
    // shows. Draw is this followed by drawing the batch.
    bool Animate(int32_t now);

    float GetPeriod() const { return m_period; }
    const Vector2<float>& GetOffset() const { return m_offset; }
    bool IsWaiting() const { return m_waiting; }
    const QuadBatch& GetBatch() const { return m_batch; }

  private:
    QuadBatch m_batch;
    float m_radius = 0.0f; // half the sprite's side
    float m_period = 0.0f; // seconds
    // Play state: the clock (ms) the current cycle began at, once started.
    bool m_started = false;
    int32_t m_cycleStart = 0;
    Vector2<float> m_offset; // where the current pulse shows, relative to the position
    bool m_waiting = true;   // still in the first, partial cycle
};
