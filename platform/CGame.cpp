#include "platform/CGame.h"

#include "core/CScheduler.h"
#include "core/CShutdown.h"
#include "core/HashString.h"
#include "platform/CControls.h"
#include "platform/CDrawings.h"
#include "platform/CMode.h"
#include "platform/ModeReleaseHold.h"

#include <utility>

REGISTER_SINGLETON(CGame, "global", 50);

CGame::~CGame()
{
    if (m_providersInstalled)
    {
        // Put back only our own look-ups: a test may have installed its own since.
        const CScheduler::ScopeProvider scope = CScheduler::SetScopeProvider(nullptr);
        if (scope != &SchedulerOfScope)
            CScheduler::SetScopeProvider(scope);
        const CScheduler::CurrentProvider current = CScheduler::SetCurrentProvider(nullptr);
        if (current != &SchedulerOfCurrentScope)
            CScheduler::SetCurrentProvider(current);
    }
    // Modes first, so that their groups stop while every scope still exists.
    while (!m_stack.empty())
    {
        CRef<CMode> mode = std::move(m_stack.back());
        m_stack.pop_back();
    }
    m_holdDepth = 0;
    ReleaseHeldModes();
    m_currentScopeId = 0;
    m_scopes.clear();
}

void CGame::Init()
{
    CScheduler::SetScopeProvider(&SchedulerOfScope);
    CScheduler::SetCurrentProvider(&SchedulerOfCurrentScope);
    m_providersInstalled = true;
    Scope& global = GetGlobalScope();
    global.GetScheduler();
    global.GetDrawings();
    global.GetControls();
}

Scope& CGame::GetScope(uint32_t scopeId)
{
    return m_scopes.try_emplace(scopeId, scopeId).first->second;
}

Scope& CGame::GetScope(const char* scopeName)
{
    return GetScope(HashString(scopeName));
}

Scope& CGame::GetGlobalScope()
{
    return GetScope(GlobalScopeId());
}

Scope& CGame::GetCurrentScope()
{
    return GetScope(m_currentScopeId);
}

CMode* CGame::GetCurrentMode() const
{
    return m_stack.empty() ? nullptr : m_stack.back().Get();
}

void CGame::PushMode(const char* name)
{
    m_currentScopeId = HashString(name);
    Scope& scope = GetScope(m_currentScopeId);
    CRef<CMode> mode(scope.GetMode());
    if (!mode)
    {
        mode = CMode::Create(name);
        scope.SetMode(mode.Get());
    }
    if (!m_stack.empty())
    {
        CRef<CMode> top = m_stack.back();
        if (top.Get() == mode.Get())
            return;
        top->Deactivate();
    }
    m_stack.push_back(mode);
    mode->Activate();
}

void CGame::PopMode()
{
    if (m_stack.empty() || !m_stack.back())
        return;
    CRef<CMode> top = m_stack.back();
    top->Deactivate();
    // Deactivate may itself have changed the stack; take out this mode's entry only.
    if (!m_stack.empty() && m_stack.back().Get() == top.Get())
        m_stack.pop_back();
    ReleaseMode(std::move(top));
    if (m_stack.empty())
    {
        m_currentScopeId = 0;
        return;
    }
    CRef<CMode> next = m_stack.back();
    m_currentScopeId = next->GetScopeId();
    next->Activate();
}

void CGame::PopAllModes()
{
    CShutdown::ShutdownAll();
    while (!m_stack.empty())
    {
        CRef<CMode> top = m_stack.back();
        if (top)
            top->Deactivate();
        if (!m_stack.empty() && m_stack.back().Get() == top.Get())
            m_stack.pop_back();
        ReleaseMode(std::move(top));
    }
    m_currentScopeId = 0;
}

void CGame::PopToMode(uint32_t scopeId)
{
    bool onStack = false;
    for (const CRef<CMode>& mode : m_stack)
        onStack = onStack || (mode && mode->GetScopeId() == scopeId);
    if (!onStack)
        return;
    while (m_currentScopeId != scopeId && !m_stack.empty())
    {
        const size_t before = m_stack.size();
        PopMode();
        if (m_stack.size() >= before)
            return; // nothing could be popped: stop rather than spin
    }
}

void CGame::Schedule(const char* scopeName, CScheduled* object, int32_t intervalMs)
{
    GetScope(scopeName).GetScheduler().Schedule(object, intervalMs);
}

void CGame::ScheduleUpdate(const char* scopeName, CUpdate* object, int32_t intervalMs)
{
    GetScope(scopeName).GetScheduler().ScheduleUpdate(object, intervalMs);
}

void CGame::PostEvent(const InputEvent& event)
{
    GetCurrentScope().GetControls().PostEvent(event);
}

void CGame::PostMessage(const char* name, const char* argument)
{
    GetCurrentScope().GetControls().PostMessage(name, argument);
}

void CGame::PostCommand(const char* name)
{
    GetCurrentScope().GetControls().PostCommand(name);
}

void CGame::ProcessEvents()
{
    // The dispatcher holds mode releases per record.
    CRef<CControls> controls(&GetCurrentScope().GetControls());
    controls->ProcessEvents();
}

void CGame::Update()
{
    {
        CRef<CScheduler> global(&GetGlobalScope().GetScheduler());
        ModeReleaseHold hold;
        global->Update();
    }
    // Read again: the global run may have changed the current mode.
    CRef<CScheduler> current(&GetCurrentScope().GetScheduler());
    ModeReleaseHold hold;
    current->Update();
}

void CGame::Draw()
{
    CRef<CDrawings> drawings(&GetCurrentScope().GetDrawings());
    ModeReleaseHold hold;
    drawings->Draw();
}

int32_t CGame::GetTime()
{
    return GetCurrentScope().GetScheduler().GetClock();
}

void CGame::UnholdModeReleases()
{
    if (m_holdDepth > 0 && --m_holdDepth == 0)
        ReleaseHeldModes();
}

uint32_t CGame::GlobalScopeId()
{
    return HashString("global");
}

void CGame::ReleaseMode(CRef<CMode> mode)
{
    if (m_holdDepth > 0)
        m_heldModes.push_back(std::move(mode));
    else
        mode.Reset();
}

void CGame::ReleaseHeldModes()
{
    // One at a time: a dying mode's group may pop or hold again.
    while (!m_heldModes.empty())
    {
        CRef<CMode> mode = std::move(m_heldModes.back());
        m_heldModes.pop_back();
        mode.Reset();
    }
}

CScheduler* CGame::SchedulerOfScope(uint32_t scopeHash)
{
    CGame* game = Peek();
    return game ? &game->GetScope(scopeHash).GetScheduler() : nullptr;
}

CScheduler* CGame::SchedulerOfCurrentScope()
{
    CGame* game = Peek();
    return game ? &game->GetCurrentScope().GetScheduler() : nullptr;
}
