#include "platform/CMode.h"

#include "core/CSingletonBase.h"
#include "core/HashString.h"

#include <map>

namespace
{
using FactoryMap = std::map<CString, CMode::Factory>;

// Filled by static initialisers in any order, so made by the first registration. It lives
// for the whole process: registrations never end.
FactoryMap* s_factories = nullptr;
} // namespace

CMode::CMode(const char* name) : m_name(MakeString(name)), m_scopeId(HashString(name))
{
    CSingletonBase::StartScope(m_scopeId);
}

CMode::~CMode()
{
    CSingletonBase::StopScope(m_scopeId);
}

void CMode::RegisterFactory(const char* name, Factory factory)
{
    if (!s_factories)
        s_factories = new FactoryMap;
    (*s_factories)[CString::ToLower(name)] = factory;
}

CRef<CMode> CMode::Create(const char* name)
{
    if (s_factories)
    {
        const auto found = s_factories->find(MakeString(name));
        if (found != s_factories->end() && found->second)
            return found->second(name);
    }
    return MakeRef<CMode>(name);
}
