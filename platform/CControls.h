#pragma once
// A scope's input queue and its control groups. Records are appended at the back and
// dispatched from the front, once per poll of the platform's event pump: for each group in the
// order of the document "game" (its "control" element's children, attribute "id"), this
// scope's controls of that group and then the "global" scope's are offered the record, and the
// first that accepts it consumes it. While there is no "global" queue, records are dropped.
// Invariant: controls may register, unregister or die while a record is dispatched, nested
// dispatches included; a walk never skips or repeats a live entry because of it (entries are
// only erased while no walk is under way).
#include "core/CBase.h"
#include "core/CLink.h"
#include "platform/InputEvent.h"

#include <cstdint>
#include <deque>
#include <map>
#include <vector>

class CControl;

class CControls : public CBase
{
  public:
    // The queue of the scope "global" becomes the one every queue dispatches along with its own.
    explicit CControls(uint32_t scopeId);

    uint32_t GetScopeId() const { return m_scopeId; }

    // Appends an entry for the control to the group (a control may be in several groups, and
    // several times in one). Null is ignored.
    void Add(CControl* control, const char* groupName);
    void Add(CControl* control, uint32_t groupId);

    void PostEvent(const InputEvent& event);
    // A named record; name and argument are cut to InputEvent::kTextLength characters.
    void PostMessage(const char* name, const char* argument);
    void PostCommand(const char* name);

    // Reads the group order from the document "game" when it is empty. A missing document
    // leaves it empty (nothing is dispatched), and it is read again at the next dispatch.
    void LoadOrder();
    // Dispatches the whole queue, records posted meanwhile included. Each record is handled
    // inside a ModeReleaseHold, so a mode popped by a handler dies after that record.
    void ProcessEvents();
    // Offers one record as the queue would, without queueing it; true when it was consumed.
    bool Dispatch(const InputEvent& event);
    // Offers the record to the live controls of one group of this queue only; true when one
    // consumed it. The drag state is left to the caller's record.
    bool DispatchToGroup(uint32_t groupId, const InputEvent& event);

    const std::deque<InputEvent>& GetQueue() const { return m_queue; }
    const std::vector<uint32_t>& GetGroupOrder() const { return m_groupOrder; }
    // Live entries of a group.
    int32_t CountInGroup(const char* groupName) const;

    // The "global" scope's queue, or null.
    static CControls* GetGlobal();

  private:
    using Group = std::deque<CLink<CControl>>;

    // Dispatch with the order already read: a missing "game" document is looked for once per
    // ProcessEvents, not once per record.
    bool DispatchLoaded(const InputEvent& event);
    // Offers the record to every group in order, this queue's list then the global one's.
    bool Offer(const InputEvent& event, CControls* global);
    // Erases the entries whose control is gone (only while nothing walks this queue).
    void Prune(Group& group);

    uint32_t m_scopeId;
    std::vector<uint32_t> m_groupOrder;
    std::map<uint32_t, Group> m_groups;
    std::deque<InputEvent> m_queue;
    // Non-zero while a dispatch walks this queue's groups.
    int32_t m_walking = 0;
};
