#include "core/CPreferenceBase.h"

#include "core/CLinkList.h"

namespace
{
// Constant-initialised, so preferences constructed by any translation unit's static initialisers
// find it: made by the first registration, freed with the last.
CLinkList* s_registered = nullptr;
} // namespace

CPreferenceBase::CPreferenceBase(const char* key) : m_key(MakeString(key))
{
    m_node.SetOwner(this);
    if (!s_registered)
        s_registered = new CLinkList;
    s_registered->PushBack(m_node);
}

CPreferenceBase::~CPreferenceBase()
{
    m_node.Unlink();
    if (s_registered && s_registered->IsEmpty())
    {
        delete s_registered;
        s_registered = nullptr;
    }
}

CPreferenceBase* CPreferenceBase::FirstRegistered()
{
    CLinkNode* node = s_registered ? s_registered->First() : nullptr;
    return node ? node->GetOwner<CPreferenceBase>() : nullptr;
}

CPreferenceBase* CPreferenceBase::NextRegistered() const
{
    CLinkNode* node = m_node.Next();
    return node ? node->GetOwner<CPreferenceBase>() : nullptr;
}

int CPreferenceBase::CountRegistered()
{
    return s_registered ? s_registered->Count() : 0;
}

void CPreferenceBase::RestoreAllDefaults()
{
    for (CPreferenceBase* preference = FirstRegistered(); preference; preference = preference->NextRegistered())
        preference->RestoreDefault();
}
