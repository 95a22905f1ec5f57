#pragma once
// The flower that loses its petals as the score falls: each petal has a threshold in 0..1, and
// petals at or above the level (the current score) drop off one after another with a tumbling
// fall, while those below it pop back in with a springy growth. Loaded from the document
// "daisy"; drawn as one quad batch, with a blurred shadow copy when a shadow offset is set.
// A daisy that is not drawn stands still. Invariant: petals are sorted by threshold.
#include "Graphics/QuadBatch.h"
#include "core/Vector2.h"
#include "ui/DaisyPetal.h"

#include <cstdint>
#include <vector>

class CDaisy
{
  public:
    // Reads the document "daisy".
    CDaisy();

    // The flower's diameter in pixels (the scale of both batches).
    void SetSize(float size);
    // The flower's centre, pixels.
    void SetPosition(const Vector2<float>& position);
    // Of the shadow, in flower diameters; (0, 0) is no shadow.
    void SetShadowOffset(const Vector2<float>& offset);
    // True: the level is taken from the score once and every petal shows it at once; it then
    // stays, whatever the score does, until the hold is let go.
    void SetHold(bool hold);
    // Back to following the score from a level of 1.
    void Rearm();
    // Advances the petals by dt seconds (0 when the daisy was not drawn in the last frame).
    void Update(float dt);
    void Draw();

    // The level the petals follow: the current score; current while no puzzle is scored (the
    // score is never made by a daisy outside the main game).
    static float ReadLevel(float current);

    float GetLevel() const { return m_level; }
    void SetLevel(float level) { m_level = level; }
    bool IsHeld() const { return m_hold; }
    int32_t GetClock() const { return m_clock; }
    const std::vector<DaisyPetal>& GetPetals() const { return m_petals; }
    const QuadBatch& GetFlower() const { return m_flower; }
    const QuadBatch& GetShadow() const { return m_shadow; }
    const Vector2<float>& GetShadowOffset() const { return m_shadowOffset; }
    float GetSize() const { return m_size; }
    const Vector2<float>& GetPosition() const { return m_position; }

  private:
    void Load();
    void RebuildShadow();
    // The petal's quad at its rest rectangle (or rect), turned by its angle.
    void PlaceQuad(const DaisyPetal& petal, const Vector4<float>& rect);

    // Rules fixed at load.
    float m_popTime = 1.0f;    // seconds; 0 is instant
    float m_dropTime = 1.0f;   // seconds; 0 is instant
    int32_t m_popDelay = 100;  // ms between pops
    int32_t m_dropDelay = 100; // ms between drops

    // Placement.
    Vector2<float> m_position;
    float m_size = 1.0f;
    Vector2<float> m_shadowOffset;

    // Play state.
    std::vector<DaisyPetal> m_petals;
    int32_t m_nextEvent = 0; // ms of the daisy's clock
    float m_level = 1.0f;
    bool m_hold = false;
    int32_t m_clock = 0;       // ms
    int32_t m_drawnStamp = 0;  // platform frame count at the last draw

    // Draw caches.
    QuadBatch m_flower;
    QuadBatch m_shadow;
};
