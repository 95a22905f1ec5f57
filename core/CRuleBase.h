#pragma once
// One tuning value of rules.xml, named by a key path ("frog/lungetime": attribute "lungetime" of
// the rules root's child "section" "frog"). Rules are static objects; each registers itself at
// construction, in any translation unit's static initialisation, and stays registered until it
// dies. Invariant: a rule is in the registry exactly while it lives; CRules refreshes every
// registered rule on each successful load of the document.
#include "core/CLinkNode.h"
#include "core/CString.h"

#include <vector>

class CXmlNode;

class CRuleBase
{
  public:
    // Registers; reads nothing (no document exists during static initialisation).
    explicit CRuleBase(const char* key);
    virtual ~CRuleBase();
    // The registry holds the rule's address: it never copies or moves.
    CRuleBase(const CRuleBase&) = delete;
    CRuleBase& operator=(const CRuleBase&) = delete;

    const CString& GetKey() const { return m_key; }

    // Reads the value again from the current rules document, loading it first when none is
    // installed.
    void Read();

    // The registered rules in registration order: walk with First and Next.
    static CRuleBase* FirstRegistered();
    CRuleBase* NextRegistered() const;
    static int CountRegistered();
    // Every registered key once, in byte-wise order (the content test checks each in rules.xml).
    static std::vector<CString> RegisteredKeys();
    // Every registered rule back to its value before the first load (zero), the document left
    // alone: a process that loads documents one after another (a test process) starts each from
    // there, since a key a document lacks keeps the value it had.
    static void ResetAll();

  protected:
    friend class CRules;
    // Takes the text at the key from root: a non-empty text is parsed, an empty or absent one
    // keeps the value; a null root (no document) sets the value to zero.
    virtual void ReadFrom(const CXmlNode* root) = 0;
    virtual void Reset() = 0;

  private:
    CString m_key;
    CLinkNode m_node;
};
