#pragma once
// A listener told after every successful load of the tuning values, once every CRule holds its new
// value: for holders of something worked out from rules (a table, a cached layout) that must be
// worked out again. Invariant: a listener is in the CRules list of listeners from its construction
// until its destruction, or until that CRules instance is destroyed.
#include "core/CLinkNode.h"

class CRuleChange
{
  public:
    // Joins the listeners of CRules, making it when needed; listeners are told in this order.
    CRuleChange();
    virtual ~CRuleChange();
    // The list holds the listener's address: it never copies or moves.
    CRuleChange(const CRuleChange&) = delete;
    CRuleChange& operator=(const CRuleChange&) = delete;

    // The rules document was loaded again. A listener may destroy itself or another one here.
    virtual void Changed() = 0;

  private:
    friend class CRules;
    CLinkNode m_node;
};
