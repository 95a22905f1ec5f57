#include "core/CTranslates.h"

#include "core/CBroadcastList.h"

#include <string_view>

namespace
{
CBroadcastList* s_receivers = nullptr;
}

CTranslates* CTranslates::s_currentOwner = nullptr;

CTranslates::CTranslates()
{
    m_node.SetOwner(this);
    Receivers().Add(m_node);
}

CTranslates::~CTranslates()
{
    if (s_currentOwner == this)
        s_currentOwner = nullptr;
    Receivers().Remove(m_node);
}

void CTranslates::AddKey(const char* key)
{
    if (key && *key)
        m_keys.emplace(key);
}

bool CTranslates::UsesKey(const char* key) const
{
    return key && m_keys.find(std::string_view(key)) != m_keys.end();
}

void CTranslates::NotifyKeyChanged(const char* key)
{
    if (!key)
        return;
    Receivers().ForEach<CTranslates>([key](CTranslates& receiver) {
        if (receiver.UsesKey(key))
            receiver.Retranslate(key);
    });
}

int CTranslates::CountRegistered()
{
    return Receivers().Count();
}

void CTranslates::RecordKey(const char* key)
{
    if (s_currentOwner)
        s_currentOwner->AddKey(key);
}

CBroadcastList& CTranslates::Receivers()
{
    return CBroadcastList::MadeOnFirstUse(s_receivers);
}
