#pragma once
// The mode-group registry behind CSingleton<T>: each singleton class registers a toggle
// under a group name. Starting a group creates its members in ascending (priority, class
// name) order; stopping it destroys them in exactly the reverse order.
//
// Registrations are static objects (REGISTER_SINGLETON), so the registry is built on the
// first registration, before main, whatever the order of static initialisation. Stopping
// "nuke" destroys every group's members but keeps the registrations, so a test process
// can stop everything and start groups again.
#include "core/CLinkNode.h"

#include <cstdint>

class CSingletonBase
{
  public:
    using ToggleFn = void (*)(bool on);
    using StepHook = void (*)();

    // One class's membership of a group, registered for as long as the object lives.
    // Registering the same class name in the same group again keeps one entry. The
    // texts must outlive the registration (string literals).
    class Registration
    {
      public:
        Registration(const char* className, const char* groupName, int32_t priority, ToggleFn toggle);
        ~Registration();
        Registration(const Registration&) = delete;
        Registration& operator=(const Registration&) = delete;

      private:
        friend class CSingletonBase;

        CLinkNode m_node;
        const char* m_className;
        uint32_t m_groupId;
        int32_t m_priority;
        ToggleFn m_toggle;
    };

    // Creates the group's missing members in start order (group id = HashString of its
    // name), calling the step hook after each member; an unknown group does nothing.
    static void StartScope(uint32_t groupId);
    // Destroys the group's members in reverse start order; members not alive are skipped.
    // HashString("nuke") stops every group (as StopAll), which ends the program's singletons.
    static void StopScope(uint32_t groupId);
    // Every group in ascending group id, each in reverse start order.
    static void StopAll();

    // The loading screen's step, called after each member StartScope toggles on (already
    // alive or not, so a group of n members always gives n steps); null, the default,
    // calls nothing. Returns the previous hook so a test can put it back.
    static StepHook SetStepHook(StepHook hook);

  protected:
    CSingletonBase() = default;

  private:
    // Toggles the members of one group, or of every group when onlyGroup is null, in
    // start order (on) or stop order (off).
    static void ToggleGroups(const uint32_t* onlyGroup, bool on);
};
