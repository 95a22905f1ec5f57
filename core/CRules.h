#pragma once
// The tuning values' document, rules.xml in the data folder, and the refresh of every registered
// CRule, then the telling of every CRuleChange listener, when it is (re)loaded. Invariant: once a document is
// installed one stays installed: a failed reload keeps the previous one and every value as it was.
//
// The registered rules live outside this singleton (CRuleBase), so rules may register during
// static initialisation and survive the instance being destroyed and made again.
#include "core/CBase.h"
#include "core/CLinkList.h"
#include "core/CSingleton.h"
#include "core/CString.h"

#include <map>
#include <memory>
#include <string_view>

class CXmlDocument;
class CXmlNode;

class CRules : public CBase, public CSingleton<CRules>
{
  public:
    ~CRules() override;

    // Reads "rules" from the data folder (then the bare name). On success installs it, reads
    // every registered rule in registration order, tells every CRuleChange listener in the order
    // they joined, and refreshes the float cache; on failure keeps
    // the installed document, or installs the failed one's empty root "rules" when there was none
    // (reading no rule). Called at file-system start-up and to reload on demand.
    bool Load();
    // Whether a document is installed (after the first Load, successful or not).
    bool HasDocument() const { return m_document != nullptr; }
    // The root of the installed document, loading it first when none is installed.
    CXmlNode* GetRoot();

    // A float that follows the key across reloads, for holders that keep a pointer (a
    // Transition's duration). Valid while this instance lives. Set from the document on first use
    // (0 when the text is empty); a reload refreshes it in place, and keeps it when the key has
    // vanished from the new document, as a CRule<float> does.
    const float* GetFloatRef(std::string_view key);

  private:
    friend class CSingleton<CRules>;
    friend class CRuleChange;
    CRules();

    // Appends a CRuleChange's node to the listeners.
    void AddListener(CLinkNode& node) { m_listeners.PushBack(node); }
    // Calls Changed of every listener, each once, in order, while listeners may come and go.
    void TellListeners();

    // The float cache's entries from the root; vanished keys keep their values.
    void RefreshFloats(const CXmlNode* root);

    CLinkList m_listeners;                    // of CRuleChange; destroying this detaches them
    std::unique_ptr<CXmlDocument> m_document; // null before the first Load
    // A map, so that entries never move: holders keep their addresses.
    std::map<CString, float, std::less<>> m_floats;
    bool m_loading = false; // Load makes the file system, whose start-up loads the rules
};
