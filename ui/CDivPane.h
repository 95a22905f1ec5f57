#pragma once
// The root of one user-interface tree: built from a pane document ("ui/<name>") or from XML text,
// placed on the screen by an anchor and a placement rectangle (view units), with its em turned
// into pixels by a scale taken from the current view, and drawn inside a viewport of its own
// screen rectangle, moved by its pane transition and an optional pan and zoom. As a control it
// hands pointer input to its nodes in tree coordinates; a modal pane swallows every pointer
// event. Invariants: every live pane is in the open-pane list; the layout is dropped whenever
// the scale, the rectangle's size or a dictionary text it used changes, and every layout shows
// the pane again and re-applies the remembered active states. The owner registers the control
// part with a mode's controls; the pane never registers itself.
#include "core/CLink.h"
#include "core/CLinkNode.h"
#include "core/CResizes.h"
#include "core/CTranslates.h"
#include "platform/CControl.h"
#include "platform/InputEvent.h"
#include "ui/CDiv.h"

class CMaterial;
class CScheduler;

class CDivPane : public CDiv, public CControl, public CResizes, public CTranslates
{
  public:
    enum Anchor : int32_t
    {
        kAnchorLeft = 0,
        kAnchorRight = 1,
        kAnchorTop = 2,
        kAnchorBottom = 3,
        kAnchorCentre = 4,
    };
    // The frame drawn over a backdrop (the screen border), installed by its owner.
    using BorderDrawer = void (*)();

    // The pane's scale (pixels per em) is this over 800 times the view's mean units per pixel,
    // so one em is 0.015 view units whatever the screen.
    static constexpr float kDesignScale = 12.0f;
    // One em in view units: widgets sized in view units (sliders, the daisy) take their pixel
    // size from a node's scale divided by this.
    static constexpr float kViewUnitsPerEm = 0.015f;

    CDivPane();
    ~CDivPane() override;

    // A new pane loaded from "ui/<name>", or from name itself when it begins with "<" (XML
    // text). A null or empty name, a missing or broken document, or text without exactly one
    // root element gives an empty, unnamed pane that Find never returns.
    static CRef<CDivPane> CreateByName(const char* name);
    // A new unnamed pane loaded from an element in hand (null: an empty pane).
    static CRef<CDivPane> CreateFromXml(CXmlNode* element);
    // The first open pane, in order of creation, whose name is exactly name; null when none.
    static CRef<CDivPane> Find(const char* name);
    // Remembers the state for the id (applied again to every pane laid out later) and sets it at
    // once on the first node with that id in every open pane. Inactive nodes are not drawn and
    // take no input.
    static void SetActiveById(const char* id, bool active);
    // Returns the drawer it replaces.
    static BorderDrawer SetBorderDrawer(BorderDrawer drawer);

    // The common attributes and children, then "origin", "placement", "behind",
    // "shadow-vector", "modal" and "livetranslate"; texts looked up meanwhile are remembered for
    // live translation. Invalidates the pane.
    void Load(CXmlNode* element) override;
    // Lays out the whole tree at the pane's size from a root line of its own; the line given is
    // returned unchanged.
    CRef<CDivLine> Layout(CRef<CDivLine> line) override;
    float GetInnerWidth() override;
    // None: a pane has a backdrop, not a background, and passes no material down.
    CMaterial* GetMaterial() override;
    // The clock set by the owner, else the current scope's scheduler.
    CScheduler* GetClock() override;
    // The pointer in tree coordinates, as events are mapped (MapToTree).
    Vector2<float> GetTouchPosition() override;
    // Whether a screen point lies inside the screen rectangle.
    bool HitTest(const Vector2<float>& point) override;
    // Motion, click and press pass only when AcceptsPointer; release and the drag events always.
    // The point is mapped into tree coordinates; the answer is the tree's, or else the modal flag.
    bool OnMotion(const InputEvent& event) override;
    bool OnClick(const InputEvent& event) override;
    bool OnPress(const InputEvent& event) override;
    bool OnRelease(const InputEvent& event) override;
    bool OnDragBegin(const InputEvent& event) override;
    bool OnDragEnd(const InputEvent& event) override;
    bool OnDragCancel(const InputEvent& event) override;
    // Places and lays out as Render does, then adds one spot over the backdrop, if any, and the
    // children's spots.
    void CollectEmboss(std::vector<float>& spots) override;

    // True for a modal pane, else for an event whose point hits the screen rectangle.
    virtual bool AcceptsPointer(const InputEvent& event);
    // Drops the layout and places the pane again at the next draw. This is also what the display
    // invalidation (CResizes) calls: the layout is rebuilt at the next draw anyway.
    void Invalidate() override;
    // Drops the layout, so that the next draw lays the tree out again.
    virtual void DropLayout();

    // The control part: a press is accepted by AcceptsPointer, pointer records go to the node
    // handlers and named commands to the tree (a modal pane lets them through).
    bool AcceptsPress(const InputEvent& event) override;
    bool OnMove(const InputEvent& event) override;
    bool OnMessage(const InputEvent& event) override;
    // A resize places and lays out again; a changed dictionary text lays out again while live
    // translation is on.
    void Resize() override;
    void Retranslate(const char* key) override;

    // Drops the layout, recomputes the sizes and lays the tree out under a translation scope.
    void Relayout();
    // Places when needed, lays out when needed, then draws the backdrop with the border, the
    // shadow pass and the main pass. Nothing until a layout exists.
    void Render();
    // Eases pan (in sizes of the whole-screen view, view units, times the pane scale) and zoom from their current values to
    // these over duration seconds of the pane's clock; 0 jumps at once.
    void AnimateTo(const Vector2<float>& pan, float zoom, float duration);
    // (pan x, pan y, zoom) at the pane's clock now.
    Vector4<float> GetPanZoom();
    // What is drawn and how input is mapped: the identity once the target is home, else the
    // value now.
    Vector4<float> GetAppliedPanZoom();
    // Recomputes the screen rectangle from the anchors, the placement and the current view.
    void Place();
    // Stores the screen rectangle (pixels); a change of size drops the layout. The node's size
    // becomes the specified size where given, else the rectangle's in em.
    void SetRect(const Vector4<float>& rect);
    // The screen rectangle moved by the pane transition at progress (0 hidden, 1 shown).
    Vector4<float> GetTransitionRect(float progress);
    // Maps a screen point into tree coordinates (pan, zoom and the rectangle's corner).
    Vector2<float> MapToTree(const Vector2<float>& point);

    // The scheduler that times the fades and the pan and zoom; null: the current scope's.
    void SetClock(CScheduler* clock);
    const CString& GetName() const { return m_name; }
    // (x, y, width, height), screen pixels.
    const Vector4<float>& GetRect() const { return m_rect; }
    const Vector4<float>& GetPlacement() const { return m_placement; }
    int32_t GetHAnchor() const { return m_hAnchor; }
    int32_t GetVAnchor() const { return m_vAnchor; }
    const Vector2<float>& GetShadowVector() const { return m_shadowVector; }
    CMaterial* GetBackdrop() const { return m_backdrop.Get(); }
    bool IsLiveTranslate() const { return m_liveTranslate; }
    bool IsPlacementDirty() const { return m_placementDirty; }

  private:
    struct PanZoom
    {
        float x = 0.0f;
        float y = 0.0f;
        float zoom = 1.0f;
        float time = 0.0f; // seconds of the pane's clock
    };

    // Seconds of the pane's clock.
    float Now();
    // Multiplies the pan and zoom into the projection of the view in place.
    void ApplyPanZoom();
    // The pan of a (pan x, pan y, zoom) value in the tree's pixels.
    Vector2<float> PanInPixels(const Vector4<float>& panZoom);
    // The event with its point in tree coordinates.
    InputEvent Mapped(const InputEvent& event);
    void ReapplyActiveStates();

    // Rules fixed at load.
    Vector2<float> m_paneSize = kUnsetVector2f; // em, from the element's own attributes
    int32_t m_hAnchor = kAnchorLeft;
    int32_t m_vAnchor = kAnchorTop;
    Vector2<float> m_shadowVector{-8.0f, 12.0f}; // em
    CString m_name;
    Vector4<float> m_placement = kUnsetVector4f; // view units
    CRef<CMaterial> m_backdrop;
    bool m_liveTranslate = true;

    // Placement, recomputed when dirty.
    Vector4<float> m_rect; // screen pixels
    bool m_placementDirty = false;

    // Pan-and-zoom animation.
    PanZoom m_panZoomStart;
    PanZoom m_panZoomTarget;

    CLinkNode m_openNode;
    CLink<CScheduler> m_clock;
};
