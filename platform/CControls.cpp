#include "platform/CControls.h"

#include "core/CRef.h"
#include "platform/ModeReleaseHold.h"

void CControls::PostEvent(const InputEvent& event)
{
    m_queue.push_back(event);
}

void CControls::PostMessage(const char* name, const char* argument)
{
    m_queue.push_back(InputEvent::Command(name, argument));
}

void CControls::PostCommand(const char* name)
{
    PostMessage(name, "");
}

void CControls::ProcessEvents()
{
    CRef<CControls> self(this); // a handler may end what owns this queue
    while (!m_queue.empty())
    {
        // Copied out: handlers may post to this queue while the record is handled.
        const InputEvent event = m_queue.front();
        m_queue.pop_front();
        ModeReleaseHold hold;
        (void)event; // offered to the control groups once controls exist
    }
}
