#pragma once
// A scope's input queue. Records are appended at the back and dispatched from the front, once
// per poll of the platform's event pump. Group dispatch to controls joins with CControl; until
// then ProcessEvents drains the queue without handing records to anybody.
#include "core/CBase.h"
#include "platform/InputEvent.h"

#include <cstdint>
#include <deque>

class CControls : public CBase
{
  public:
    explicit CControls(uint32_t scopeId) : m_scopeId(scopeId) {}

    uint32_t GetScopeId() const { return m_scopeId; }

    void PostEvent(const InputEvent& event);
    // A named record; name and argument are cut to InputEvent::kTextLength characters.
    void PostMessage(const char* name, const char* argument);
    void PostCommand(const char* name);

    // Dispatches the whole queue, records posted meanwhile included. Each record is handled
    // inside a ModeReleaseHold, so a mode popped by a handler dies after that record.
    void ProcessEvents();

    const std::deque<InputEvent>& GetQueue() const { return m_queue; }

  private:
    uint32_t m_scopeId;
    std::deque<InputEvent> m_queue;
};
