#include "core/TranslateScope.h"

TranslateScope::TranslateScope(CTranslates* owner) : m_outer(CTranslates::s_currentOwner)
{
    CTranslates::s_currentOwner = owner;
}

TranslateScope::~TranslateScope()
{
    CTranslates::s_currentOwner = m_outer.Get();
}
