#pragma once
// Interface of objects that show dictionary texts and must lay them out again
// when one changes (the game sets text variables such as a puzzle's title at
// run time). The object remembers the keys it used, recorded while it is the
// current owner of a TranslateScope; it is registered from construction to
// destruction and can be held by weak links (CLink<CTranslates>).
#include "core/CLinkList.h"

#include <set>
#include <string>

class CBroadcastList;
template <typename>
class CLink;

class CTranslates
{
public:
    CTranslates();
    virtual ~CTranslates();
    // Weak links point at the object's address: it never copies or moves.
    CTranslates(const CTranslates&) = delete;
    CTranslates& operator=(const CTranslates&) = delete;

    // The text of `key` has changed.
    virtual void Retranslate(const char* key) = 0;

    void AddKey(const char* key);
    bool UsesKey(const char* key) const;
    // Forgets the keys, before laying the texts out anew.
    void ClearKeys() { m_keys.clear(); }

    // Retranslate(key) on every registered object that used the key, in
    // registration order. A receiver may unregister or destroy itself or any
    // other receiver meanwhile.
    static void NotifyKeyChanged(const char* key);
    static int CountRegistered();

    // The owner of the innermost TranslateScope, or null. The dictionary adds
    // every key it finds for a look-up to it (RecordKey).
    static CTranslates* GetCurrentOwner() { return s_currentOwner; }
    // Adds the key to the current owner, if any.
    static void RecordKey(const char* key);

private:
    friend class TranslateScope;
    template <typename>
    friend class CLink;
    CLinkList& BackLinks() { return m_backLinks; }
    static CBroadcastList& Receivers();

    // Cleared by the owner's destructor, so it never names a dead object.
    static CTranslates* s_currentOwner;

    CLinkList m_backLinks;
    CLinkNode m_node;
    std::set<std::string, std::less<>> m_keys;
};
