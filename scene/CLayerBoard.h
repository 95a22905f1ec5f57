#pragma once
// The layer kind "Board": the pond floor under the frog, with the hint's ghost frog, the frog's
// soft shadow and one knob on every cell the puzzle uses, all at the layer's offset. Pond
// documents name it "board", so that the frog, the fly and the hints find it and draw with it.
// Invariant: the knob instances are those of the puzzle layout whose change counter equals the
// layout stamp (rebuilt lazily by the draw), and no instance holds a null knob.
// Cells and offsets are in board units (one unit a cell, y down).
#include "core/Vector3.h"
#include "scene/CKnob.h"
#include "scene/CLayer.h"

#include <cstdint>
#include <vector>

class CXmlNode;

class CLayerBoard : public CLayer
{
  public:
    // One knob drawn on one cell.
    struct KnobInstance
    {
        CRef<CKnob> knob;
        Vector2<float> cell;
        bool dimmed = false;
        float fade = 1.0f; // 0 faded out .. 1 shown
    };

    // One soft-shadow pass: the frog's shadow is drawn shifted by (x, y) at depth z, then the
    // shadow quad at quadDepth.
    struct ShadowPass
    {
        Vector3<float> frog;
        float quadDepth = 0.0f;
    };
    // The passes that "shadowquality" and "graphics/softshadows" give, and how far the frog's
    // bounds (left, top, right, bottom) grow outwards after the first pass to hold the others.
    struct ShadowPlan
    {
        std::vector<ShadowPass> passes; // empty: no shadow
        Vector4<float> growth;
    };

    // Seams to the subsystems that draw on the board; each setter returns the previous hook so
    // that a test or a dying installer can put it back. Without a hook nothing is drawn or loaded.
    // One pass of the frog's soft shadow; bounds (min x, min y, max x, max y) is given on the first
    // pass only, to be grown by what the frog draws.
    using ShadowDrawer = void (*)(const Vector3<float>& offset, Vector4<float>* bounds);
    static ShadowDrawer SetShadowDrawer(ShadowDrawer drawer);
    // The hint's ghost frog, drawn after the board picture and before the shadow.
    using HintDrawer = void (*)();
    static HintDrawer SetHintDrawer(HintDrawer drawer);
    // The fly that lives on the board loads from the layer's first "fly" element.
    using FlyLoader = void (*)(const CXmlNode& element);
    static FlyLoader SetFlyLoader(FlyLoader loader);

    CLayerBoard();
    static CRef<CLayer> Make();

    // The common layer attributes, "glowcolour" (to the entice glow), "shadowcolour",
    // "shadowmaterial" ("frogshadow" when empty), the "knob" children and the first "fly".
    void Load(CXmlNode& element) override;
    // Moves every knob's fade one step towards its dimmed state; the step is one
    // "interval/animation" over "graphics/knobfadetime", whatever dt says.
    void Update(float dt) override;
    // Dims every knob farther than half a cell from all the cells (none dimmed for an empty list).
    void SetTargets(const std::vector<Vector2<float>>& cells) override;
    // The board picture, the hint, the frog's soft shadow and the knobs. Needs a GL context.
    void Draw() override;
    // Pulses the board's red channel (period about 524 ms); draws at once, so only while a frame
    // is being drawn.
    void Affect() override;

    // Builds the knob instances again when the puzzle loaded a layout since the last build; the
    // draw's first step, public so that the placement can be checked without a context.
    void RebuildKnobs();
    // A knob of the set whose type equals type exactly, chosen uniformly among equals with the
    // global random generator; null when none has it.
    CRef<CKnob> PickKnob(const char* type) const;

    const std::vector<KnobInstance>& GetKnobInstances() const { return m_instances; }
    const std::vector<CRef<CKnob>>& GetKnobSet() const { return m_knobSet; }
    // As loaded, before the per-pass adjustment.
    const Vector4<float>& GetShadowColour() const { return m_shadowColour; }
    const QuadBatch& GetShadowQuad() const { return m_shadowQuad; }

    // The pure halves of the draw and update.
    static ShadowPlan PlanShadow(float quality, float softShadows);
    // The colour one pass darkens with, so that the passes add up to about colour: per
    // component the passes-th root for a multiplying material, else colour / passes; alpha at
    // least 0.125 either way.
    static Vector4<float> PassColour(const Vector4<float>& colour, size_t passes, bool multiplying);
    // The compass letter of a limb knob from hand cell minus foot cell on its side: "e" or "w"
    // when the offset is mostly across, else "s" or "n" (y down).
    static char CompassLetter(const Vector2<int>& handMinusFoot);
    // The red of the board's pulse at platform tick ms: 0 .. 0.15.
    static float PulseRed(uint32_t ms);
    // The fade change of one update for an interval (ms) and a full-fade time (seconds); a fade
    // time of 0 or less fades at once.
    static float FadeStep(int32_t intervalMs, float fadeSeconds);

  private:
    void AddInstance(const char* type, const Vector2<float>& cell);
    void DrawShadow(const Vector2<float>& offset, const ShadowPlan& plan);

    // Fixed at load.
    std::vector<CRef<CKnob>> m_knobSet; // document order
    Vector4<float> m_shadowColour;

    // Rebuilt from the puzzle's layout; -1 until the first build.
    int64_t m_layoutStamp = -1;
    std::vector<KnobInstance> m_instances;

    // Draw cache: material set at load, rectangle, uvs and colour at each shadow draw.
    QuadBatch m_shadowQuad;
};
