#include "core/CRuleBase.h"

#include "core/CLinkList.h"
#include "core/CRules.h"

#include <algorithm>

namespace
{
// Constant-initialised, so rules constructed by any translation unit's static initialisers find
// it: made by the first registration, freed with the last.
CLinkList* s_registered = nullptr;
} // namespace

CRuleBase::CRuleBase(const char* key) : m_key(MakeString(key))
{
    m_node.SetOwner(this);
    if (!s_registered)
        s_registered = new CLinkList;
    s_registered->PushBack(m_node);
}

CRuleBase::~CRuleBase()
{
    m_node.Unlink();
    if (s_registered && s_registered->IsEmpty())
    {
        delete s_registered;
        s_registered = nullptr;
    }
}

void CRuleBase::Read()
{
    ReadFrom(CSingleton<CRules>::Instance()->GetRoot());
}

CRuleBase* CRuleBase::FirstRegistered()
{
    CLinkNode* node = s_registered ? s_registered->First() : nullptr;
    return node ? node->GetOwner<CRuleBase>() : nullptr;
}

CRuleBase* CRuleBase::NextRegistered() const
{
    CLinkNode* node = m_node.Next();
    return node ? node->GetOwner<CRuleBase>() : nullptr;
}

int CRuleBase::CountRegistered()
{
    return s_registered ? s_registered->Count() : 0;
}

std::vector<CString> CRuleBase::RegisteredKeys()
{
    std::vector<CString> keys;
    for (CRuleBase* rule = FirstRegistered(); rule; rule = rule->NextRegistered())
        keys.push_back(rule->m_key);
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

void CRuleBase::ResetAll()
{
    for (CRuleBase* rule = FirstRegistered(); rule; rule = rule->NextRegistered())
        rule->Reset();
}
