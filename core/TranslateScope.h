#pragma once
// Guard on the stack that makes an object the current translating owner while it
// lays out its texts, so that the dictionary records which keys it used. Scopes
// nest: leaving one restores the owner of the enclosing scope, if still alive.
#include "core/CLink.h"
#include "core/CTranslates.h"

class TranslateScope
{
public:
    // A null owner records nothing for the scope's duration.
    explicit TranslateScope(CTranslates* owner);
    ~TranslateScope();
    TranslateScope(const TranslateScope&) = delete;
    TranslateScope& operator=(const TranslateScope&) = delete;

private:
    CLink<CTranslates> m_outer; // weak: the outer owner may die inside this scope
};
