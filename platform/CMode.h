#pragma once
// One state of the game, with its own scope (Scope) and its own mode group of singletons.
// Invariant: the group of the mode's name runs exactly while the mode object lives; the
// constructor starts it and the destructor stops it.
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CString.h"

#include <cstdint>

class CMode : public CBase
{
  public:
    // Makes the mode of a name; factories lower-case the name they are given.
    using Factory = CRef<CMode> (*)(const char* name);

    explicit CMode(const char* name);
    ~CMode() override;

    // Stores the factory under the lower-case name, replacing an earlier one. Called from
    // static initialisers.
    static void RegisterFactory(const char* name, Factory factory);
    // The factory registered under exactly this name (not lower-cased), so "maingame" finds
    // its factory and "MainGame" does not; a name without one gives a plain CMode.
    static CRef<CMode> Create(const char* name);

    // HashString of the name: the scope and group of the mode.
    uint32_t GetScopeId() const { return m_scopeId; }
    const CString& GetName() const { return m_name; }

    // The game calls these when the mode becomes, or stops being, the top of its stack.
    virtual void Activate() {}
    virtual void Deactivate() {}

  private:
    CString m_name;
    uint32_t m_scopeId;
};
