#pragma once
// The layer kind "Petals": ambient petals, one per "petal" child, released one at a time at
// random intervals to drift across the scene under the petal physics of the win's shower. Release
// times are platform milliseconds; a petal that drifted off the screen waits to be released again.
#include "core/CRef.h"
#include "scene/CLayer.h"
#include "scene/CPetal.h"

#include <cstdint>
#include <vector>

class CLayerPetals : public CLayer
{
  public:
    CLayerPetals();

    static CRef<CLayer> Make();

    // The common attributes, "period" (seconds between releases, minimum and maximum; default
    // 1,5), "depth" (range of a released petal's depth; default 0,1) and the "petal" children.
    void Load(CXmlNode& element) override;
    // Steps the drifting petals and, once the release time has come, launches a resting one.
    void Update(float dt) override;
    // Every drifting petal, in order.
    void Draw() override;

    const std::vector<CPetal>& GetPetals() const { return m_petals; }
    // Milliseconds.
    const Vector2<int32_t>& GetPeriod() const { return m_period; }
    uint32_t GetNextRelease() const { return m_nextRelease; }
    const Vector2<float>& GetDepth() const { return m_depth; }

  private:
    // Rules fixed at load.
    std::vector<CPetal> m_petals;
    Vector2<int32_t> m_period; // ms
    Vector2<float> m_depth;

    // Live state.
    uint32_t m_nextRelease = 0; // platform ms
};
