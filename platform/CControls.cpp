#include "platform/CControls.h"

#include "core/CRef.h"
#include "core/HashString.h"
#include "platform/CControl.h"
#include "platform/CGame.h"
#include "platform/GameOrder.h"
#include "platform/ModeReleaseHold.h"
#include "platform/WalkMark.h"

namespace
{
CLink<CControls> s_global;
} // namespace

CControls::CControls(uint32_t scopeId) : m_scopeId(scopeId)
{
    if (scopeId == CGame::GlobalScopeId())
        s_global.Set(this);
}

void CControls::Add(CControl* control, const char* groupName)
{
    Add(control, HashString(groupName));
}

void CControls::Add(CControl* control, uint32_t groupId)
{
    if (!control)
        return;
    // The map keeps each group's place, and a deque keeps its entries' places as it grows at
    // the back, so a walk by index under way stays valid.
    m_groups[groupId].emplace_back(control);
}

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

void CControls::LoadOrder()
{
    if (m_groupOrder.empty())
        m_groupOrder = ReadGameOrder("control");
}

void CControls::ProcessEvents()
{
    CRef<CControls> self(this); // a handler may end what owns this queue
    LoadOrder();
    while (!m_queue.empty())
    {
        // Copied out first: handlers may post to this queue, or dispatch it again, meanwhile.
        const InputEvent event = m_queue.front();
        m_queue.pop_front();
        ModeReleaseHold hold;
        DispatchLoaded(event);
    }
}

bool CControls::Dispatch(const InputEvent& event)
{
    CRef<CControls> self(this);
    LoadOrder();
    return DispatchLoaded(event);
}

bool CControls::DispatchToGroup(uint32_t groupId, const InputEvent& event)
{
    const auto found = m_groups.find(groupId);
    if (found == m_groups.end())
        return false;
    Group& group = found->second;
    if (m_walking == 0)
        Prune(group);
    CRef<CControls> self(this);
    WalkMark walking(m_walking);
    // By index, the size read again each step: a handler may append to this group, and a
    // control that dies or unregisters meanwhile only empties its entry.
    for (size_t i = 0; i < group.size(); ++i)
    {
        CControl* control = group[i].Get();
        if (control && control->HandleEvent(event))
            return true;
    }
    return false;
}

int32_t CControls::CountInGroup(const char* groupName) const
{
    const auto found = m_groups.find(HashString(groupName));
    if (found == m_groups.end())
        return 0;
    int32_t count = 0;
    for (const CLink<CControl>& link : found->second)
        if (link.Get())
            ++count;
    return count;
}

CControls* CControls::GetGlobal()
{
    return s_global.Get();
}

bool CControls::DispatchLoaded(const InputEvent& event)
{
    CRef<CControls> global(s_global.Get());
    if (!global)
        return false;
    const bool consumed = Offer(event, global.Get());
    CControl::AfterRecord();
    return consumed;
}

bool CControls::Offer(const InputEvent& event, CControls* global)
{
    // By index: a handler that loads nothing cannot change the order, but stay safe regardless.
    for (size_t i = 0; i < m_groupOrder.size(); ++i)
    {
        const uint32_t groupId = m_groupOrder[i];
        if (DispatchToGroup(groupId, event))
            return true;
        if (global != this && global->DispatchToGroup(groupId, event))
            return true;
    }
    return false;
}

void CControls::Prune(Group& group)
{
    for (size_t i = 0; i < group.size();)
    {
        if (!group[i].Get())
            group.erase(group.begin() + std::ptrdiff_t(i));
        else
            ++i;
    }
}
