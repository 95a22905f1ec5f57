#pragma once
// Marks the cells a held limb can reach: "Entice" particles at every target (outer ones drawn with
// the knobs, inner ones over the scene) and a soft glow under each that grows in while the limb is
// held and shrinks away once it is let go. One instance in the mode group "maingame".
// Invariant: particles exist only while a limb is held; glows outlive them by their fade-out.
#include "Graphics/QuadBatch.h"
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CSingleton.h"
#include "core/CUpdate.h"
#include "core/Vector2.h"
#include "platform/CDrawing.h"

#include <vector>

class CMaterial;

class CEntice : public CBase, public CDrawing, public CUpdate, public CSingleton<CEntice>
{
  public:
    ~CEntice() override;

    // The held limb's targets (board cells); an empty list means it was let go: the particles go
    // at once and the glows fade out. A new list replaces everything, fading glows included.
    // The glows fade out whenever there are no outer particles: with an outer count of 0 the
    // first update drops the new glows, and the inner particles alone show the targets.
    void SetTargets(const std::vector<Vector2<float>>& targets);
    // The glows' fade, dt in seconds.
    void Update(float dt) override;
    // Pass "knobs": the outer particles; pass "ui": the inner particles, then the glows. Both
    // under the pond's "board" layer offset.
    void Draw() override;

    size_t GetOuterCount() const { return m_outer.size(); }
    size_t GetInnerCount() const { return m_inner.size(); }
    const std::vector<QuadBatch>& GetGlows() const { return m_glows; }
    // 0 (hidden) to 1 (fully shown).
    float GetFade() const { return m_fade; }

  private:
    friend class CSingleton<CEntice>;
    CEntice();

    void DrawParticles(const std::vector<CRef<CBase>>& particles, int32_t now) const;

    // Gesture state: replaced by every target list.
    std::vector<CRef<CBase>> m_outer;
    std::vector<CRef<CBase>> m_inner;
    std::vector<QuadBatch> m_glows;
    float m_fade = 0.0f;

    CRef<CMaterial> m_glowMaterial;
};
