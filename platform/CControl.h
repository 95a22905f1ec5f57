#pragma once
// Interface of every input receiver: a control joins named control groups of a scope's input
// queue (CControls) and is offered the records of that queue; a handler that answers true
// consumes the record. The default HandleEvent turns raw pointer records into presses, clicks,
// releases, wheel steps and drags, with one drag state shared by the whole program.
// Invariant: group lists hold a control only by weak links, so a control that dies, or
// unregisters, even inside its own handler, simply drops out of every list.
#include "core/CLinkList.h"
#include "core/Vector2.h"

#include <cstdint>

struct InputEvent;
template <typename> class CLink;

class CControl
{
  public:
    CControl() = default;
    // Lists find the control by its address: it never copies or moves.
    CControl(const CControl&) = delete;
    CControl& operator=(const CControl&) = delete;
    // Its back-link list's destruction empties every group list's link to it.
    virtual ~CControl() = default;

    // The dispatcher: routes the record by kind to the handlers below and keeps the drag state.
    virtual bool HandleEvent(const InputEvent& event);
    // Asked first for a button down; false ends the handling of that record.
    virtual bool AcceptsPress(const InputEvent& event);
    // Pointer motion with a button held (positions in logical screen pixels).
    virtual bool OnMove(const InputEvent& event);
    // The left (right) button went up with no drag in progress.
    virtual bool OnClick(const InputEvent& event);
    virtual bool OnRightClick(const InputEvent& event);
    // The left (right) button went up, always, after the click or the drag's end.
    virtual bool OnRelease(const InputEvent& event);
    virtual bool OnRightRelease(const InputEvent& event);
    // The left (right) button went down and this control accepted the press.
    virtual bool OnPress(const InputEvent& event);
    virtual bool OnRightPress(const InputEvent& event);
    // A wheel button went up.
    virtual bool OnWheelDown(const InputEvent& event);
    virtual bool OnWheelUp(const InputEvent& event);
    // Offered once the pointer has moved "ui/dragdistancemin" pixels from the press, with a
    // record at the press position whose held and changed masks name the button; true starts
    // the drag.
    virtual bool OnDragBegin(const InputEvent& event);
    // The dragging button went up.
    virtual bool OnDragEnd(const InputEvent& event);
    // The drag was abandoned: another button changed, or a new press was accepted.
    virtual bool OnDragCancel(const InputEvent& event);
    // A key went down (key ups reach no handler).
    virtual bool OnKey(const InputEvent& event);
    // A named command. The default consumes it only for a modal control and only when the name
    // does not begin with "_", so system commands pass modal controls.
    virtual bool OnMessage(const InputEvent& event);

    // Joins a group of the named scope's queue (the scope and the game are made when absent,
    // so a control may register before its mode exists), or of the current scope's queue.
    // Registering twice in a group offers each record twice.
    void Register(const char* scopeName, const char* groupName);
    void RegisterInCurrentScope(const char* groupName);
    // Leaves every group of every scope at once; safe at any time, inside a handler too.
    void Unregister();
    // True while at least one group list holds it.
    bool IsRegistered() const { return !m_backLinks.IsEmpty(); }

    // A modal control's default handlers answer true: it swallows what reaches it.
    bool IsModal() const { return m_modal; }
    void SetModal(bool modal) { m_modal = modal; }

    // A drag was begun by some control and nothing has closed it yet. Its release does not: the
    // drag stays on until the next accepted press (which first delivers OnDragCancel), a motion
    // whose held buttons differ, or the end of a record once the last motion's held buttons no
    // longer hold its button.
    static bool IsDragging() { return s_draggingButton != 0; }
    // 0, or the button mask (1 left, 4 right) of the drag in progress.
    static uint8_t GetDraggingButton() { return s_draggingButton; }
    // Where the last accepted press happened, logical pixels.
    static const Vector2<float>& GetPressPosition() { return s_pressPosition; }
    // Back to no drag, no buttons, press at the origin (start of a test).
    static void ResetDragState();

  protected:
    // Offers a drag when exactly one of left or right is held and the pointer is far enough
    // from the press.
    void CheckDragStart(const InputEvent& event);

  private:
    friend class CControls;
    template <typename> friend class CLink;
    CLinkList& BackLinks() { return m_backLinks; }

    // After every record the dispatcher has offered: a drag whose button the last motion no longer
    // held is over.
    static void AfterRecord();

    bool m_modal = false;
    CLinkList m_backLinks;

    // One drag state for the whole program (a pointer has one drag at a time).
    static inline uint8_t s_lastHeld = 0;         // held mask of the last motion handled
    static inline uint8_t s_draggingButton = 0;   // 0, or 1 or 4
    static inline Vector2<float> s_pressPosition; // logical pixels
};
