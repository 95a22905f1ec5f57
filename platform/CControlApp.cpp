#include "platform/CControlApp.h"

#include "core/CFileSystem.h"
#include "core/CPreferences.h"
#include "core/CResizes.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "platform/CDirectJ.h"
#include "platform/CGame.h"
#include "platform/CKeyboard.h"
#include "platform/InputEvent.h"

#include <cstring>
#include <utility>

REGISTER_SINGLETON(CControlApp, "global", 50);

namespace
{
CControlApp::CommandHooks s_hooks;

// The volume "_mute" restores, 0..1.
constexpr float kUnmutedVolume = 0.8f;

void Quit()
{
    if (CDirectJ* platform = CDirectJ::Peek())
        platform->RequestQuit();
}

// The unset size leaves the mode as it is: the platform has one native size.
void SwitchFullScreen()
{
    if (CDirectJ* platform = CDirectJ::Peek())
        platform->SetVideoMode(!platform->IsWindowed(), CDirectJ::kUnsetSize);
}

void ToggleConsole()
{
    if (s_hooks.toggleConsole)
        s_hooks.toggleConsole();
}

template <int Degrees> void RotateTo()
{
    if (s_hooks.rotateTo)
        s_hooks.rotateTo(float(Degrees));
}

// Both volumes go to 0 when music is audible, else back to kUnmutedVolume; the user interface
// shows the switch that matches.
void ToggleMute()
{
    CPreferences* preferences = CPreferences::Instance();
    // A store that never held the volume reads as silent, so the first toggle turns sound on.
    const bool mute = preferences->GetFloat("musicvolume", 0.0f) > 0.0f;
    const float volume = mute ? 0.0f : kUnmutedVolume;
    preferences->SetFloat("musicvolume", volume);
    preferences->SetFloat("soundvolume", volume);
    if (s_hooks.setActiveById)
    {
        s_hooks.setActiveById("muteon", mute);
        s_hooks.setActiveById("muteoff", !mute);
    }
}

void Refresh()
{
    CResizes::InvalidateAll();
    if (s_hooks.reloadMaterials)
        s_hooks.reloadMaterials();
    // Load saves the changes still waiting for their delayed save before it reads the file.
    CPreferences::Instance()->Load();
}

struct Command
{
    const char* name;
    void (*run)();
};

constexpr Command kCommands[] = {
    {"_quit", &Quit},
    {"_fullscreen", &SwitchFullScreen},
    {"_mute", &ToggleMute},
    {"_console", &ToggleConsole},
    {"_refresh", &Refresh},
    {"_rot000", &RotateTo<0>},
    {"_rot090", &RotateTo<90>},
    {"_rot180", &RotateTo<180>},
    {"_rot270", &RotateTo<270>},
};
} // namespace

CControlApp::CommandHooks CControlApp::SetCommandHooks(const CommandHooks& hooks)
{
    return std::exchange(s_hooks, hooks);
}

bool CControlApp::ModifiersMatch(uint32_t bound, uint32_t held)
{
    for (const uint32_t group : kModifierGroups)
        if (((bound & group) != 0) != ((held & group) != 0))
            return false;
    return true;
}

void CControlApp::Init()
{
    Register("global", "app");
    LoadBindings();
}

void CControlApp::LoadBindings()
{
    m_bindings.clear();
    CXmlDocument document("keyboard", CFileSystem::kInDataFolder);
    CXmlNode* root = document.GetRoot();
    if (!document.IsLoaded() || !root)
        return;
    m_bindings.reserve(size_t(root->CountChildren()));
    for (CXmlNode* child = root->FirstChild(); child; child = child->NextSibling())
    {
        if (child->GetName() == CXmlNode::kContentName)
            continue;
        Binding binding;
        binding.action = child->GetName();
        binding.key = CKeyboard::KeyFromName(child->GetAttribute("key").c_str());
        binding.modifiers = CKeyboard::ModifiersFromText(child->GetAttribute("modifiers").c_str());
        m_bindings.push_back(std::move(binding));
    }
}

bool CControlApp::OnKey(const InputEvent& event)
{
    for (const Binding& binding : m_bindings)
    {
        if (binding.key != event.key || !ModifiersMatch(binding.modifiers, event.modifiers))
            continue;
        // Into the queue being dispatched: the command follows the records already waiting.
        if (CGame* game = CGame::Peek())
            game->PostCommand(binding.action.c_str());
        return true;
    }
    return false;
}

bool CControlApp::OnMessage(const InputEvent& event)
{
    for (const Command& command : kCommands)
    {
        if (strcmp(event.name, command.name) == 0)
        {
            command.run();
            return true;
        }
    }
    return false;
}

void CControlApp::SetBinding(uint32_t key, uint32_t modifiers, const char* action)
{
    const CString text = action ? action : "";
    for (auto it = m_bindings.begin(); it != m_bindings.end(); ++it)
    {
        if (it->key != key || !ModifiersMatch(it->modifiers, modifiers))
            continue;
        if (text.empty())
            m_bindings.erase(it);
        else
            it->action = text;
        return;
    }
    m_bindings.push_back(Binding{key, modifiers, text});
}
