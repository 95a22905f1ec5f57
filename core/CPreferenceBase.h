#pragma once
// One typed setting of preferences.xml under a key (an attribute path of the store's root, such as
// "soundvolume"). Preferences are static objects that register themselves at construction, from
// any translation unit's static initialisation; several may share a key. Invariant: a preference
// is registered exactly while it lives.
#include "core/CLinkNode.h"
#include "core/CString.h"

#include <string_view>

class CPreferenceBase
{
  public:
    // Registers; reads the store only when it is already loaded (never during static
    // initialisation, when it cannot be).
    explicit CPreferenceBase(const char* key);
    virtual ~CPreferenceBase();
    // The registry holds the preference's address: it never copies or moves.
    CPreferenceBase(const CPreferenceBase&) = delete;
    CPreferenceBase& operator=(const CPreferenceBase&) = delete;

    const CString& GetKey() const { return m_key; }

    // Takes the value from the store; when the store lacks the key, writes the current value
    // (the default until then) there and marks the store dirty.
    virtual void Read() = 0;
    // Back to the value given at construction, the store untouched: a process that loads stores
    // one after another (a test process) starts each from the declared defaults.
    virtual void RestoreDefault() = 0;
    static void RestoreAllDefaults();

    // The registered preferences in registration order.
    static CPreferenceBase* FirstRegistered();
    CPreferenceBase* NextRegistered() const;
    static int CountRegistered();

  private:
    CString m_key;
    CLinkNode m_node;
};
