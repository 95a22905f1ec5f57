#include "core/CRuleChange.h"

#include "core/CRules.h"

CRuleChange::CRuleChange()
{
    m_node.SetOwner(this);
    CSingleton<CRules>::Instance()->AddListener(m_node);
}

CRuleChange::~CRuleChange()
{
    m_node.Unlink();
}
