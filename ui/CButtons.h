#pragma once
// The registry every button consults: one enabled flag per action name, so that game logic can
// grey out every button bound to an action ("back" and "redo" while there is nothing to undo or
// redo) without knowing where those buttons are; and the document "buttons", whose root's child
// elements are the button templates named by a button's "type". Invariant: a name never set is
// enabled; names compare byte-wise ("Back" and "back" are two flags).
#include "core/CBase.h"
#include "core/CSingleton.h"
#include "core/CString.h"
#include "core/CXmlDocument.h"

#include <map>
#include <string_view>

class CXmlNode;

class CButtons : public CBase, public CSingleton<CButtons>
{
  public:
    bool IsEnabled(std::string_view action) const;
    // Stores the flag, inserting the name when absent; it holds for the registry's life.
    void SetEnabled(std::string_view action, bool enabled);

    // The template element named type (a child of the document's root), or null when there is
    // none. The first look-up reads "<data folder>/buttons.xml"; a missing or broken document
    // is read once and then gives null for every type.
    CXmlNode* FindType(std::string_view type);

    // Whether a look-up has read the document (for tests).
    bool HasReadDocument() const { return m_documentRead; }

  private:
    friend class CSingleton<CButtons>;
    CButtons() = default;

    std::map<CString, bool, std::less<>> m_enabled;
    CXmlDocument m_document;
    bool m_documentRead = false;
};
