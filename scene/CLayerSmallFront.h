#pragma once
// The front end's board of puzzles, the pond layer of kind "SmallFront": one icon per puzzle of
// the collection on a jittered grid, coloured by the player's record, scrolled by dragging (the
// drag moves the pond's nudge, so the whole pond scrolls with parallax) with a rubber band at
// the bounds and coasting. A tap on an icon turns the screen over (CScreenFlip) to the puzzle's
// information pane "puzzle" with a loader that starts the puzzle once the pane is up. It is a layer and a
// control of the group "frontend". It lives with the scene rather than the puzzle code because it is a pond
// layer: puzzle/ knows nothing of layers, panes or buttons. Invariant: each icon's attributes are its
// puzzle's name, so its colour follows that name's record whatever the collection held when the board was
// built. Positions are in view units of the whole-screen view; y grows downwards.
#include "core/CRef.h"
#include "core/CString.h"
#include "core/MathConstants.h"
#include "core/Vector2.h"
#include "core/Vector4.h"
#include "platform/CControl.h"
#include "scene/CLayer.h"
#include "ui/CButton.h"

#include <cstdint>
#include <memory>
#include <vector>

class CLayerSmallFront : public CLayer, public CControl
{
  public:
    // Joins the group "frontend" of the scope "frontend".
    CLayerSmallFront();
    ~CLayerSmallFront() override;
    static CRef<CLayer> Make();

    // The common layer attributes, the colours, "damping", "origin", "grid", "bounds",
    // "heighty", "angly", "posy", "scale" and, from the child "button" (the template), one
    // icon per listed puzzle; the layer's rectangle becomes the icons' extent box grown by half
    // a grid step sideways and three grid steps above and below. Ends with Refresh.
    void Load(CXmlNode& element) override;
    // The rectangle is the icons' extent, fixed by Load: the screen changes nothing of it.
    void Place() override;
    // Scroll physics (dt seconds), the pond's nudge, then every icon's step.
    void Update(float dt) override;
    // The backdrop with the pond's nudge, then the icons inside the screen, each shifted by its
    // height for depth. Needs a GL context and the pond.
    void Draw() override;

    // Recolours the icons from the records, restarts their grow-in, fits the scroll into the
    // bounds and hands the nudge to the pond. Run at load and on "_activate".
    void Refresh();

    // Control part (positions in logical screen pixels). A press under a pane of the pond
    // reaches no icon, though a drag from it still scrolls.
    bool AcceptsPress(const InputEvent& event) override;
    bool OnPress(const InputEvent& event) override;
    bool OnMove(const InputEvent& event) override;
    bool OnDragBegin(const InputEvent& event) override;
    bool OnRelease(const InputEvent& event) override;
    bool OnDragEnd(const InputEvent& event) override;
    bool OnDragCancel(const InputEvent& event) override;
    // "_activate" refreshes; "cancel" is taken and ignored; "puzzleinfo" with a puzzle name
    // flips to that puzzle's pane with its loader.
    bool OnMessage(const InputEvent& event) override;

    // The rule of an icon's look for a puzzle: without a record the new colour (on-state 0,
    // active when available); with one, on-state 1 and the colour of the rating s = the best
    // score clamped to 0..1, times 0.9 when hints were used: the perfect colour without a frame
    // limit at 1, else colourlow towards colourhigh and the frame limit 9 + floor(5 s).
    struct Look
    {
        uint32_t onState = 0;
        bool active = true;
        Vector4<float> colour;
        uint32_t frameCap = UINT32_MAX;
    };
    Look LookFor(const CString& puzzle) const;

    // The allowed range of the nudge for the layer rectangle on the whole-screen view:
    // (loX, loY, hiX, hiY).
    Vector4<float> GetNudgeRange() const;
    // Per axis, how far p lies outside the range: positive below it, negative above it.
    static Vector2<float> Overshoot(const Vector2<float>& p, const Vector4<float>& range);

    size_t GetIconCount() const { return m_icons.size(); }
    CButton& GetIcon(size_t i) const { return *m_icons[i]; }
    const Vector2<float>& GetNudge() const { return m_nudge; }
    void SetNudge(const Vector2<float>& nudge) { m_nudge = nudge; }
    const Vector2<float>& GetTarget() const { return m_target; }
    void SetTarget(const Vector2<float>& target) { m_target = target; }
    const Vector2<float>& GetVelocity() const { return m_velocity; }
    void SetVelocity(const Vector2<float>& velocity) { m_velocity = velocity; }
    bool IsPressed() const { return m_pressed; }

  private:
    // A point in logical screen pixels on the whole-screen view, less height times the pond's
    // nudge: where the icons are.
    Vector2<float> ToBoard(const Vector2<float>& point) const;
    Vector2<float> PondNudge() const;
    // Whether a pane of the pond's other shown layers (the menu strip over the board) covers
    // the screen point: a tap there is the pane's, never an icon's half hidden beneath it.
    bool IsUnderPane(const Vector2<float>& point) const;
    // Every icon's motion at point, the button held or not.
    void MoveIcons(const Vector2<float>& point, bool held);
    void ShowPuzzle(const CString& name);

    // Rules fixed at load.
    Vector4<float> m_colourNew = kWhite;
    Vector4<float> m_colourLow = kWhite;
    Vector4<float> m_colourHigh = kWhite;
    Vector4<float> m_colourPerfect = kWhite;
    Vector2<float> m_origin;
    Vector2<float> m_grid{1.0f, 1.0f};
    float m_scale = 1.0f; // of the backdrop's texture
    float m_damping = 0.1f;
    // One icon per puzzle; the links of CButton hold addresses, so each stays where it is made.
    std::vector<std::unique_ptr<CButton>> m_icons;

    // Gesture state.
    Vector2<float> m_pressPoint;              // logical pixels
    Vector2<float> m_nudgeAtPress;            // the pond's nudge when the press began
    Vector2<float> m_target = kUnsetVector2f; // unset: no drag
    bool m_pressed = false;                   // a press that has not turned into a drag

    // Scroll state.
    Vector2<float> m_nudge;
    Vector2<float> m_velocity; // view units per second
};
