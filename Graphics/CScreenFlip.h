#pragma once
// Turns the whole screen over like a card to show a user-interface pane on its back, keeps that
// pane up as a modal screen, and turns it back again. Each side is rendered into a texture
// ("_screenflipfrom", "_screenflipnext") mapped onto a grid mesh; during a turn the cards carry a
// relief of emboss spots and curl like a page near one edge.
//
// States: 0 idle, 1 turning from the screen to the pane, 2 the pane shown and modal, 3 turning
// from the pane back to whatever the screen shows by then. Invariants: a capture bound as render
// target in "predraw" is unbound in the same frame's "post" (or when "post" is hidden); while the
// state is not 0 the flip holds its control, update and drawing registrations and a pause of the
// current scope, and state 2 always has its way back ("cancel", Flip).
//
// The pane lives in the user-interface tree, above this layer: it is reached through PaneHooks,
// which the program installs.
#include "Graphics/Mesh.h"
#include "core/CBase.h"
#include "core/CCallback.h"
#include "core/CRef.h"
#include "core/CResizes.h"
#include "core/CSingleton.h"
#include "core/CUpdate.h"
#include "core/Vector2.h"
#include "platform/CControl.h"
#include "platform/CDrawing.h"

#include <cstdint>
#include <vector>

class CMaterial;
class CPause;
class CScheduler;
class CTexture;

class CScreenFlip : public CBase,
                    public CControl,
                    public CUpdate,
                    public CDrawing,
                    public CResizes,
                    public CSingleton<CScreenFlip>
{
  public:
    enum State : uint32_t
    {
        kIdle = 0,
        kTurningToPane = 1,
        kShown = 2,
        kTurningBack = 3,
    };
    // Begin's modes: turn over to the pane now, or show it as if already turned (to be turned
    // away by Flip).
    enum Mode : uint32_t
    {
        kTurnNow = 1,
        kPrepared = 2,
    };
    // Floats of one emboss spot: x, y, radius, half width, half height, height (screen pixels).
    static constexpr size_t kSpotFloats = 6;

    // What the flip asks of a pane. Unset members do nothing (create: no pane).
    struct PaneHooks
    {
        // A new pane from "ui/<name>" (or XML text), or none when its document does not load; its
        // CControl part, when it has one, takes input.
        CRef<CBase> (*create)(const char* name) = nullptr;
        void (*setEnabled)(CBase* pane, bool enabled) = nullptr;
        void (*render)(CBase* pane) = nullptr;
        void (*collectEmboss)(CBase* pane, std::vector<float>& spots) = nullptr;
        // The scheduler whose clock animates the pane.
        void (*setClock)(CBase* pane, CScheduler* clock) = nullptr;
    };
    // Returns the hooks replaced.
    static PaneHooks SetPaneHooks(const PaneHooks& hooks);

    // The start-up sequence's pane opener: prepares the pane as shown and turns it away at once.
    // A pane that cannot be made (create gives none) is reported on standard error and not flipped.
    static void OpenStartPane(const char* name);

    ~CScreenFlip() override;

    // Starts a flip to the named pane (mode kTurnNow or kPrepared) and returns the pane. While a
    // flip runs, that flip and its pane stay as they are (only the meshes and texture transforms
    // are made again) and its pane is returned. Drops the pending callback either way.
    CRef<CBase> Begin(const char* paneName, uint32_t mode);
    // In state 2 starts the turn back to the screen; in any state drops the pending callback.
    void Flip();
    // Invoked once, when the pane is up (state 2).
    void SetCallback(const CRef<CCallback>& callback) { m_callback = callback; }
    // Side 0: the outgoing card's relief; any other side: the incoming card's.
    void SetSideList(int side, const std::vector<float>& spots);

    // CControl: "cancel" turns back as Flip does and is consumed. Keys go to the application's
    // key bindings, so that a keyboard reaches its commands past the modal pane. While a card
    // turns the pane is disabled: pointer input stops here, and so do keys while it turns in,
    // so that nothing cancels the turn-in and with it the callback that follows it.
    bool HandleEvent(const InputEvent& event) override;
    bool OnMessage(const InputEvent& event) override;
    bool OnKey(const InputEvent& event) override;
    // CUpdate: advances the turn (dt seconds).
    void Update(float dt) override;
    // CDrawing: captures in "predraw", draws the pane or the cards in "post".
    void Draw() override;
    // What Draw does in the pass of that id (HashString of its name).
    void DrawPass(uint32_t passId);
    void OnHidden() override;
    bool CoversBelow() override;
    // CResizes: the spots were measured on the old screen; a running flip's cards are made again
    // for the new one, so that a turn after a rotation covers the screen the right way up.
    void Resize() override;
    void Rotate() override;

    State GetState() const { return m_state; }
    float GetProgress() const { return m_progress; }
    CBase* GetPane() const { return m_pane.Get(); }
    bool HasCallback() const { return m_callback.Get() != nullptr; }
    const std::vector<float>& GetFromSpots() const { return m_fromSpots; }
    const std::vector<float>& GetNextSpots() const { return m_nextSpots; }
    const Mesh& GetFromMesh() const { return m_fromMesh; }
    const Mesh& GetNextMesh() const { return m_nextMesh; }
    // Whether a capture is bound as render target right now.
    bool IsCapturing() const { return m_capture.Get() != nullptr; }

    // The posing maths, for t in 0..1.
    // Degrees about the vertical axis: -180 t^2 (3 - 2t).
    static float AngleAt(float t);
    // 1 - 0.45 |sin(angle)|.
    static float ScaleAt(float t);
    // x^2 (3 - 2x) with x first limited to 0..1.
    static float Smooth(float x);
    // The summed height of the spots at point.
    static float ReliefAt(const std::vector<float>& spots, const Vector2<float>& point);
    // Wraps (x, y, z) round the cylinder on the line through linePoint with unit direction when
    // it lies on the curling side; otherwise returns it unchanged.
    static Vector3<float> Curl(const Vector3<float>& point, const Vector2<float>& linePoint,
                               const Vector2<float>& direction);
    // The texture matrix that shows a capture upright at a screen rotation (degrees).
    static Matrix4 TextureTransformFor(float rotation);
    // Grid vertices a side for a whole-screen view of so many view units (kept within the mesh's
    // index range and at least 2).
    static Vector2<uint32_t> GridSizeFor(const Vector2<float>& viewUnits);

  private:
    friend class CSingleton<CScreenFlip>;
    CScreenFlip();

    // The seconds of a turn, never zero.
    static float TurnTime();
    // The logical screen size in pixels.
    static Vector2<float> ScreenSize();

    void BuildMeshes();
    void SetTextureTransforms();
    void PoseCards(float t);
    void PoseCard(Mesh& mesh, const std::vector<float>& spots, float relief, float angle,
                  const Vector2<float>& linePoint, const Vector2<float>& direction, float scale);
    void Capture();
    void EndCapture();
    void DrawPost();
    // Renders the pane into a new capture of that name.
    CRef<CTexture> RenderPaneInto(const char* name);
    void DrawCards();
    void RemakePause();
    void ReleaseCaptures();
    void SetPaneEnabled(bool enabled);
    // State 3 reached its end: back to idle, every registration and the pane let go.
    void Finish();

    CRef<CBase> m_pane;
    float m_progress = 0.0f;
    Mesh m_fromMesh;
    CRef<CMaterial> m_fromMaterial;
    CRef<CTexture> m_fromTexture;
    std::vector<float> m_fromSpots;
    Mesh m_nextMesh;
    CRef<CMaterial> m_nextMaterial;
    CRef<CTexture> m_nextTexture;
    std::vector<float> m_nextSpots;
    CRef<CTexture> m_capture;
    State m_state = kIdle;
    CRef<CCallback> m_callback;
    CRef<CPause> m_pause;
};
