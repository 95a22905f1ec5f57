#pragma once
// The one button record that panes, pond layers and the puzzle chooser embed: it hit-tests the
// pointer, keeps a four-state look (normal, hover, pressed, inactive), walks its animation frames
// towards the frame of its look, throbs between two colours, shows a tip, plays the sounds of its
// looks, toggles a linked boolean preference and, on a click, posts its action to the current
// mode. A button is described by a "button" element and the template in the document "buttons"
// that its "type" names (CButtons).
//
// Buttons cooperate through two global weak links: the current button (the one showing hover or
// pressed; at most one) and the nearest button (of those under the pointer, the one whose centre
// is nearest), so that where buttons overlap only one lights up and takes the click. Invariant:
// the links never point at a dead button, and the current frame index is below the frame count
// whenever there are frames.
//
// Positions and radii are in the units of the current view (CView::GetCurrent) at the time of
// the call; times are platform frame ticks in ms (CClock) unless named otherwise. The links hold
// the record's address, so it is neither copied nor moved: owners keep buttons where they stay
// put (a member, a std::deque, a reserved array of unique_ptr).
#include "core/CBase.h"
#include "core/CLink.h"
#include "core/CLinkList.h"
#include "core/CRef.h"
#include "core/CString.h"
#include "core/MathConstants.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "core/Vector4.h"
#include "ui/ButtonFrame.h"
#include "ui/ButtonStateSet.h"
#include "ui/CButtonTransition.h"

#include <cstdint>
#include <vector>

class CXmlNode;

class CButton
{
  public:
    enum State : uint32_t
    {
        kNormal = 0,
        kHover = 1,
        kPressed = 2,
        kInactive = 3,
    };

    CButton();
    ~CButton();
    CButton(const CButton&) = delete;
    CButton& operator=(const CButton&) = delete;

    // Reads a "button" element ("action", "attributes", "shortcut", "preference", "overlaps",
    // "origin", "position", "colour", "scale", "type", "angle", "tip", "tipsize", "tipposition",
    // "tipdelay") and its template ("radius", "activeradius", "frames", "state"). Without a
    // template the button has no size and is never hit; a template without "frames" gives a
    // button that can be hit and clicked but draws nothing.
    void Load(const CXmlNode& element);

    // The centre in the current view: position measured from the view's right (bottom) edge when
    // anchored there, plus the offset; z is the position's depth.
    Vector3<float> GetScreenPosition() const;
    // The inverse: places the centre at point; z unchanged.
    void SetScreenPosition(const Vector2<float>& point);

    // Whether point lies in the active rectangle (active radius times zoom about the centre)
    // and, when there is a hit mask, on a set bit of it. A rectangle of no area is never hit.
    bool HitTest(const Vector2<float>& point) const;
    // Active and its action enabled in CButtons.
    bool IsEnabled() const;
    // Enabled and not held up by a running transition.
    bool IsClickable() const;

    // Owners call these with the pointer in the coordinates of the position; each ends with
    // Update. Motion tracks hover and the pressed look (held: the left button is down).
    void OnMotion(const Vector2<float>& point, bool held);
    // True when the press is taken: the point is inside and "overlaps" is false. With overlaps
    // the press is never taken, so that controls beneath see it too.
    bool OnPress(const Vector2<float>& point);
    // True on a click: a release of a press that began inside, inside, on a clickable button
    // (that is the current button when it overlaps others). A click ends the tip, toggles the
    // linked preference, shows the pressed look's frame and posts the action.
    bool OnRelease(const Vector2<float>& point);
    // True when name is one of the comma-separated "shortcut" names (exact match); then the
    // button is activated.
    bool OnShortcut(const char* name);
    // A click without the pointer (a shortcut): the pressed sound, the pressed look for 200 ms,
    // the preference toggle and the action. False when not clickable.
    bool Activate();

    // The per-frame step: look, linked preference and tip (only for a button drawn within the
    // last 3 platform frames, so hidden buttons cost almost nothing), then Animate.
    void Update();
    // Walks the current frame towards the look's frame and places the current frame's quad at
    // the screen position with the colour, angle and zoom. Calling it again in the same frame
    // after changing colour or position only re-places the quad (a shadow pass does so).
    void Animate();
    // Stamps the frame counter and draws the current frame's quad; in the pressed state places
    // the cursor's press marker halfway between the pointer and the centre.
    void Draw();
    // The stamp alone: the button counts as drawn in this platform frame.
    void MarkDrawn();

    State GetState() const { return State(m_state); }
    // ms the pointer has been over the button (0 once it leaves).
    int32_t GetHoverTime() const;
    // This is the nearest button, no other button is current and the pointer has stayed over it
    // longer than the tip delay. Owners that draw tips of their own ask this.
    bool IsTipDue() const;

    // The state set at the current index, or a shared set of empty looks.
    const ButtonStateSet& GetStateSet() const;
    size_t GetStateSetCount() const { return m_stateSets.size(); }
    size_t GetFrameCount() const { return m_frames.size(); }
    const ButtonFrame& GetFrame(size_t i) const { return m_frames[i]; }
    uint32_t GetCurrentFrame() const { return m_frame; }

    const Vector2<float>& GetRadius() const { return m_radius; }
    const Vector2<float>& GetActiveRadius() const { return m_activeRadius; }
    bool IsAnchoredRight() const { return m_anchorRight != 0; }
    bool IsAnchoredBottom() const { return m_anchorBottom != 0; }
    bool Overlaps() const { return m_overlaps; }
    const CString& GetShortcut() const { return m_shortcut; }
    const CString& GetPreference() const { return m_preference; }
    bool IsHeld() const { return m_held; }
    bool IsInside() const { return m_inside; }

    const CString& GetTipText() const { return m_tipText; }
    float GetTipSize() const { return m_tipSize; }
    const Vector2<float>& GetTipPosition() const { return m_tipPosition; }
    float GetTipDelay() const { return m_tipDelay; }
    bool IsTipShown() const { return m_tipShown; }
    CBase* GetTipFloater() const { return m_tip.Get(); }

    // The position counts from the view's left and top edges from now on.
    void ClearAnchors() { m_anchorRight = m_anchorBottom = 0; }

    // Rows of bits over the active rectangle, top row first; empty: the whole rectangle.
    void SetHitMask(std::vector<std::vector<bool>> rows) { m_hitMask = std::move(rows); }

    // The button showing hover or pressed / nearest the pointer among those under it; or null.
    static CButton* GetCurrent();
    static CButton* GetNearest();

    // Set by owners as they need.
    uint32_t frameCap = UINT32_MAX;     // the highest frame a look may show
    Vector2<float> offset;              // added to the anchored position
    Vector4<float> colour;              // multiplies every frame's colour
    CRef<CButtonTransition> transition; // while running: no input, reshaped drawing
    CRef<CBase> userData;               // the owner's; released with the button
    Vector3<float> position;            // z: depth of the quads
    bool active = true;                 // inactive buttons show the inactive look
    CString action;                     // the command a click posts
    CString attributes;                 // its argument
    float angle = 0.0f;                 // rotation of the quads, degrees
    float zoom = 1.0f;                  // scale about the centre for drawing and hits
    uint32_t stateSet = 0;              // which state set the looks come from

  private:
    template <typename> friend class CLink;
    CLinkList& BackLinks() { return m_backLinks; }

    // Links the global link to this button unless it holds another, drawn lately, whose centre
    // is at most as far from point.
    void ClaimIfNearer(CLink<CButton>& link, const Vector2<float>& point);
    // Drawn within the last kDrawnFrames platform frames.
    bool IsDrawnLately() const;
    void Look(uint32_t now);
    void UpdateTip(uint32_t now);
    void EndTip();
    void TogglePreference();
    void PostAction();
    void PlayLookSound(uint32_t state);
    // A frame index within the frames and the frame cap.
    uint32_t LimitFrame(uint32_t frame) const;

    // Fixed at load.
    int32_t m_anchorRight = 0;
    int32_t m_anchorBottom = 0;
    CString m_shortcut;
    CString m_preference;
    bool m_overlaps = false;
    Vector2<float> m_radius;       // half size of the drawn quad
    Vector2<float> m_activeRadius; // half size of the hit rectangle
    std::vector<ButtonFrame> m_frames;
    std::vector<ButtonStateSet> m_stateSets;
    std::vector<std::vector<bool>> m_hitMask;
    CString m_tipText;
    float m_tipSize = 0.0f;
    Vector2<float> m_tipPosition; // from the centre
    float m_tipDelay = 0.0f;      // seconds

    // Gesture state.
    Vector2<float> m_pressPoint = kUnsetVector2f; // unset: the press began on an unclickable button
    bool m_hover = false;
    bool m_pressedLook = false;
    bool m_held = false;
    bool m_inside = false; // the last hit test of motion
    uint32_t m_hoverStart = 0;
    uint32_t m_pressHoldOff = 0; // the pressed look lasts until then after Activate
    bool m_holdingOff = false;

    // Look, tip and animation state.
    uint32_t m_state = kInactive;
    uint32_t m_frame = 0;
    uint32_t m_nextFrameTime = 0;
    int32_t m_drawnStamp = 0; // platform frame counter at the last draw
    CLink<CBase> m_tip;       // the floater of the shown tip
    bool m_tipShown = false;
    uint32_t m_tipTime = 0;

    // Where the global links hook in; declared last so that it goes first and the links read null
    // before anything else of the button is gone.
    CLinkList m_backLinks;
};
