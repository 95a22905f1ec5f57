#include "core/CSingletonBase.h"

#include "core/CLinkList.h"
#include "core/HashString.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <utility>
#include <vector>

namespace
{
// Constant-initialised, so registrations from any translation unit's static
// initialisers find them. The list is made by the first registration and freed
// with the last.
CLinkList* s_registrations = nullptr;
CSingletonBase::StepHook s_stepHook = nullptr;

// A copy of a registration: toggles run arbitrary code, which may end registrations.
struct Entry
{
    uint32_t groupId;
    int32_t priority;
    const char* className;
    CSingletonBase::ToggleFn toggle;
};

bool StartsBefore(const Entry& a, const Entry& b)
{
    if (a.groupId != b.groupId)
        return a.groupId < b.groupId;
    if (a.priority != b.priority)
        return a.priority < b.priority;
    return std::strcmp(a.className, b.className) < 0;
}
} // namespace

CSingletonBase::Registration::Registration(const char* className, const char* groupName, int32_t priority,
                                           ToggleFn toggle)
    : m_className(className), m_groupId(HashString(groupName)), m_priority(priority), m_toggle(toggle)
{
    assert(className && *className && "a singleton registration needs its class name");
    m_node.SetOwner(this);
    if (!s_registrations)
        s_registrations = new CLinkList;
    s_registrations->PushBack(m_node);
}

CSingletonBase::Registration::~Registration()
{
    m_node.Unlink();
    if (s_registrations && s_registrations->IsEmpty())
    {
        delete s_registrations;
        s_registrations = nullptr;
    }
}

void CSingletonBase::StartScope(uint32_t groupId)
{
    ToggleGroups(&groupId, true);
}

void CSingletonBase::StopScope(uint32_t groupId)
{
    if (groupId == HashString("nuke"))
        StopAll();
    else
        ToggleGroups(&groupId, false);
}

void CSingletonBase::StopAll()
{
    ToggleGroups(nullptr, false);
}

CSingletonBase::StepHook CSingletonBase::SetStepHook(StepHook hook)
{
    return std::exchange(s_stepHook, hook);
}

void CSingletonBase::ToggleGroups(const uint32_t* onlyGroup, bool on)
{
    if (!s_registrations)
        return;
    std::vector<Entry> entries;
    for (const CLinkNode* node = s_registrations->First(); node; node = node->Next())
    {
        const Registration& r = *node->GetOwner<Registration>();
        if (onlyGroup && r.m_groupId != *onlyGroup)
            continue;
        const auto same =
            std::find_if(entries.begin(), entries.end(),
                         [&r](const Entry& e) {
                             return e.groupId == r.m_groupId && std::strcmp(e.className, r.m_className) == 0;
                         });
        if (same != entries.end())
        {
            assert(same->toggle == r.m_toggle && same->priority == r.m_priority &&
                   "one class name registered twice in a group with a different class or priority");
            continue;
        }
        entries.push_back({r.m_groupId, r.m_priority, r.m_className, r.m_toggle});
    }
    std::sort(entries.begin(), entries.end(), StartsBefore);

    if (on)
    {
        for (const Entry& e : entries)
        {
            if (!e.toggle)
                continue;
            e.toggle(true);
            if (s_stepHook)
                s_stepHook();
        }
        return;
    }
    // Groups in ascending id, each group's members from last to first.
    size_t begin = 0;
    while (begin < entries.size())
    {
        size_t end = begin;
        while (end < entries.size() && entries[end].groupId == entries[begin].groupId)
            ++end;
        for (size_t i = end; i > begin; --i)
        {
            if (entries[i - 1].toggle)
                entries[i - 1].toggle(false);
        }
        begin = end;
    }
}
