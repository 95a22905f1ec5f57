#pragma once
// The scenery of one screen, loaded from "pond/<name>": the first lighting treatment whose
// capabilities the graphics unit has, its light vector and its layers, drawn in document order in
// the pass "pond" of the scope that made it. Its tick advances a slow two-axis sway that layers
// with "wind" follow; its nudge moves every layer by height times the nudge (parallax).
// Invariant: the layer list holds no nulls; the current pond is the one last created or drawn,
// and reads null once it dies.
#include "core/CRef.h"
#include "core/CScheduled.h"
#include "core/CString.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "platform/CDrawing.h"

#include <cstdint>
#include <vector>

class CLayer;

class CPond : public CScheduled, public CDrawing
{
  public:
    static constexpr Vector3<float> kDefaultLightVector{-0.3f, 0.15f, -0.2f};
    // The nudge counts as going on for this long after its last change (platform ms).
    static constexpr int32_t kNudgeSettleMs = 90;

    // Whether a treatment's comma-separated capability list holds; the default asks the
    // platform layer (or the GL capabilities when there is no platform layer). Tests install a
    // stand-in. Returns the previous test.
    using CapsTest = bool (*)(const CString& list);
    static CapsTest SetCapsTest(CapsTest test);
    // Told the held limb's target cells before the board layers are (the entice effect).
    using TargetsHook = void (*)(const std::vector<Vector2<float>>& cells);
    static TargetsHook SetTargetsHook(TargetsHook hook);

    // Makes, loads and makes current a pond; never null (a pond whose document is missing has
    // no layers).
    static CRef<CPond> Create(const char* name);
    // The pond last created or drawn, or null.
    static CPond* GetCurrent();
    // The "Pond" pane transition's nudge source: the current pond's nudge (view units), false
    // without a current pond.
    static bool NudgeOfCurrent(Vector2<float>& nudge);
    static void SetCurrent(CPond* pond);
    // Set, normalised, by every pond load that found a treatment; read by the frog's shading.
    static const Vector3<float>& GetLightVector();
    static void SetLightVector(const Vector3<float>& light);
    // The game clock (ms) at which the layer being animated or drawn this frame stands.
    static uint32_t GetLayerClock();
    // The sway at pond time seconds: (sin 55t sin 43t, sin 39t sin 51t), angles in degrees.
    static Vector2<float> SwayAt(float seconds);

    // Ticks on the current scope's scheduler every "interval/animation" ms and draws in that
    // scope's pass "pond".
    CPond();
    ~CPond() override;

    // Replaces every layer with those of "pond/<name>" (see the class comment).
    void Load(const CString& name);
    // The first layer of exactly that name, or null.
    CLayer* FindLayer(const char* name) const;
    // Places every layer again (after the puzzle moved its pond position).
    void PlaceLayers();
    // A changed nudge (view units) stamps the platform tick and gives every layer the offset
    // height times nudge.
    void SetNudge(const Vector2<float>& nudge);
    // True for kNudgeSettleMs after the last change of the nudge: touches are ignored meanwhile.
    bool IsNudging() const;
    // Hands the held limb's target cells to the targets hook, then to every board layer.
    void SetTargets(const std::vector<Vector2<float>>& cells);

    // Pond time, sway, then every layer's Update.
    void OnSchedule(float dt) override;
    // Becomes current; animates every layer at the game clock, draws those without a pass of
    // their own, then tells each AfterDraw.
    void Draw() override;

    const CString& GetName() const { return m_name; }
    // The "music" of the document's "audio" element; "" when absent.
    const CString& GetMusic() const { return m_music; }
    const std::vector<CRef<CLayer>>& GetLayers() const { return m_layers; }
    const Vector2<float>& GetNudge() const { return m_nudge; }
    uint32_t GetNudgeTime() const { return m_nudgeTime; }
    const Vector2<float>& GetSway() const { return m_sway; }
    // Seconds of pond ticks.
    float GetTime() const { return m_time; }

  private:
    // Fixed by Load.
    CString m_name;
    CString m_music;
    std::vector<CRef<CLayer>> m_layers;
    uint32_t m_scopeId = 0;

    // Live state.
    Vector2<float> m_nudge;
    uint32_t m_nudgeTime = 0; // platform ms
    Vector2<float> m_sway;
    float m_time = 0.0f; // seconds
};
