#pragma once
// The "Sparkle" particle: a sprite that twinkles by a product of sine waves of the owner's clock.
// The product v (0 to 1) shows as alpha (v - low) / (high - low), clamped to 1; at or below the low
// threshold nothing is drawn, so sparkles flash now and then rather than glowing steadily.
#include "Graphics/QuadBatch.h"
#include "core/Vector2.h"
#include "scene/CParticle.h"
#include "scene/SineWaves.h"

#include <cstdint>
#include <vector>

class CParticleSparkle : public CParticle
{
  public:
    CParticleSparkle();

    // "position" (x, y), "radius", "material", "uvs", "frequency" (cycles per second, one wave
    // each, at a random phase) and "threshold" (low, high).
    void Load(const CXmlNode& element) override;
    void Draw(int32_t now) override;

    // The wave product at now (ms): 1 without waves.
    float Wave(int32_t now) const;
    // The alpha of a wave value, 0 to 1; 0 means not drawn. Equal thresholds make a step: shown
    // fully above the threshold, hidden at or below it.
    float AlphaOf(float v) const;
    // Places, colours and turns the quad for now (ms); true when it shows. Draw is this followed
    // by drawing the batch.
    bool Animate(int32_t now);

    const QuadBatch& GetBatch() const { return m_batch; }
    // (frequency in cycles per second, phase in degrees) per wave.
    const SineWaves& GetWaves() const { return m_waves; }
    const Vector2<float>& GetThreshold() const { return m_threshold; }

  private:
    QuadBatch m_batch;
    SineWaves m_waves;
    Vector2<float> m_threshold; // low, high
};
