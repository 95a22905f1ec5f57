#pragma once
// Stands in for the game's scopes in one test: a "global" scheduler and a
// current-scope scheduler (a mode's), installed as the scheduler look-ups, and
// the previous look-ups put back when it dies.
#include "core/CRef.h"
#include "core/CScheduler.h"
#include "core/HashString.h"

class TestScopes
{
public:
    TestScopes()
        : m_previousScope(CScheduler::SetScopeProvider(&ForScope)),
          m_previousCurrent(CScheduler::SetCurrentProvider(&Current))
    {
        s_global = MakeRef<CScheduler>();
        s_mode = MakeRef<CScheduler>();
    }
    ~TestScopes()
    {
        CScheduler::SetScopeProvider(m_previousScope);
        CScheduler::SetCurrentProvider(m_previousCurrent);
        s_global.Reset();
        s_mode.Reset();
    }
    TestScopes(const TestScopes&) = delete;
    TestScopes& operator=(const TestScopes&) = delete;

    CScheduler* Global() const { return s_global.Get(); }
    CScheduler* Mode() const { return s_mode.Get(); }
    // Ends a scope as the game does when a mode is popped; null ends none.
    void ReleaseGlobal() { s_global.Reset(); }
    void ReleaseMode() { s_mode.Reset(); }
    // One frame: every scope's scheduler in turn, the mode's first.
    void Update()
    {
        CRef<CScheduler> mode = s_mode, global = s_global; // a callback may end a scope
        if (mode)
            mode->Update();
        if (global)
            global->Update();
    }

private:
    static CScheduler* ForScope(uint32_t hash)
    {
        if (hash == HashString("global"))
            return s_global.Get();
        if (hash == HashString("maingame"))
            return s_mode.Get();
        return nullptr;
    }
    static CScheduler* Current() { return s_mode.Get(); }

    static inline CRef<CScheduler> s_global;
    static inline CRef<CScheduler> s_mode;
    CScheduler::ScopeProvider m_previousScope;
    CScheduler::CurrentProvider m_previousCurrent;
};
