#pragma once
// The frog's tongue. Thrown at a win, it shoots from a point of its body piece to the fly's rest
// point, sticks, catches the fly, stretches and snaps back in with the fly at its tip, and the
// frog gulps. A stretched quad drawn with its piece, so also in the soft shadow and the ghost.
// Times are game-clock ms of "maingame" (the tuning values are seconds), lengths board cells.
// Invariant: extension stays within [0, 1] and pull within [0, "frog/tonguepullback"].
#include "Graphics/CMaterial.h"
#include "core/CRef.h"
#include "core/CScheduled.h"
#include "core/Matrix3.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "core/Vector4.h"

#include <cstdint>

class CFly;
class CXmlNode;

class CTongue : public CScheduled
{
  public:
    // Where the quad lies for one draw: from root towards the target, rect about the root with
    // +y turned onto the direction (rotation, degrees), and the tip where a caught fly rides.
    struct Placement
    {
        Vector2<float> root;
        Vector2<float> tip;
        Vector4<float> rect;
        float rotation = 0.0f;
    };

    // A tongue loaded from a "tongue" element, ticking every "interval/animation" ms in
    // "maingame"; the body piece keeps the only reference.
    static CRef<CTongue> Create(CXmlNode& element);
    // Reads the root ("uv") and the "material" child; without that child only the root.
    void Load(CXmlNode& element);

    // Out it goes, from now (game ms), with the sound "slurp". A throw while out restarts the
    // timing; the catch already made stays made.
    void Throw(int32_t now);
    // In at once; a caught fly flies again.
    void Reset();

    // The tick: the phase timing on the game clock.
    void OnSchedule(float dt) override;
    // The phases at now (game ms): out, stuck (the fly is caught at its end), the base pulled
    // forward, the tip back in; then "gnom" and the tongue is in.
    void Step(int32_t now);

    // Draws with the piece's transform (picture to board) in a body mode (0 plain, 1 shadow,
    // 2 ghost) at offset (x, y shift, z depth), growing bounds when given. In the plain mode a
    // caught fly is drawn at the tip.
    void Draw(const Matrix3& transform, int32_t mode, const Vector3<float>& offset, Vector4<float>* bounds);
    // Where the quad lies, reaching for target; false when nothing shows (in, or the tip not
    // past the pulled base).
    bool Place(const Matrix3& transform, const Vector2<float>& target, Placement& placement) const;

    bool IsActive() const { return m_active; }
    bool IsCaught() const { return m_caught; }
    float GetExtension() const { return m_extension; }
    float GetPull() const { return m_pull; }
    const Vector2<float>& GetRoot() const { return m_root; }

  private:
    // Fixed at load.
    CRef<CMaterial> m_main;
    CRef<CMaterial> m_shadow;
    Vector4<float> m_uv{0.0f, 0.0f, 1.0f, 1.0f};
    Vector2<float> m_root; // picture coordinates

    // Play state.
    bool m_active = false;
    bool m_caught = false;
    int32_t m_throwTime = 0;
    float m_extension = 0.0f; // 0 in, 1 on the fly
    float m_pull = 0.0f;      // board cells the base has moved towards the fly
};
