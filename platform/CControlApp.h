#pragma once
// The always-present receiver of application commands: turns key presses into named commands
// through the bindings of the document "keyboard", and carries out the system commands
// ("_quit", "_fullscreen", "_mute", "_console", "_refresh", "_rot000".."_rot270") that keys,
// buttons and panes post. Invariant: bindings keep document order and the first match wins;
// every command of the table is consumed, whether or not its target exists yet.
#include "core/CBase.h"
#include "core/CSingleton.h"
#include "core/CString.h"
#include "platform/CControl.h"

#include <cstdint>
#include <vector>

class CControlApp : public CBase, public CControl, public CSingleton<CControlApp>
{
  public:
    struct Binding
    {
        uint32_t key = 0;       // SDL key symbol; 0 never matches a real key
        uint32_t modifiers = 0; // SDL KMOD mask; only whether each group is held counts
        CString action;         // the command posted
    };

    // The targets of the commands that live above this layer (the console, the materials, the
    // screen rotation, the user-interface tree). Those classes install their member; an unset
    // member does nothing and the command is still consumed.
    struct CommandHooks
    {
        void (*toggleConsole)() = nullptr;
        void (*reloadMaterials)() = nullptr;
        void (*rotateTo)(float degrees) = nullptr;
        void (*setActiveById)(const char* id, bool active) = nullptr;
    };
    // Returns the previous hooks so that a test or a dying installer can put them back.
    static CommandHooks SetCommandHooks(const CommandHooks& hooks);

    // The modifier groups a binding tells apart: shift, ctrl, alt and meta, each either side.
    static constexpr uint32_t kModifierGroups[] = {0x0003, 0x00C0, 0x0300, 0x0C00};
    // Lock and mode bits are ignored; within a group, left and right count alike.
    static bool ModifiersMatch(uint32_t bound, uint32_t held);

    // Joins the group "app" of the scope "global" and reads the bindings.
    void Init() override;
    // Reads the document "keyboard" again, replacing every binding (none without a document).
    void LoadBindings();

    // A bound key down posts its action to the current scope and is consumed.
    bool OnKey(const InputEvent& event) override;
    // The command table; names are compared exactly.
    bool OnMessage(const InputEvent& event) override;

    // Replaces the action of the binding with the same key and modifier groups; an empty action
    // removes that binding. Without such a binding a new one is appended (even for an empty
    // action, which then posts an empty command).
    void SetBinding(uint32_t key, uint32_t modifiers, const char* action);
    const std::vector<Binding>& GetBindings() const { return m_bindings; }

  private:
    friend class CSingleton<CControlApp>;
    CControlApp() = default;

    std::vector<Binding> m_bindings;
};
