#include "scene/LayerKindMap.h"

#include "core/CString.h"
#include "core/CaseInsensitiveLess.h"

#include <map>

namespace
{
using KindMap = std::map<CString, LayerKindMap::Factory, CaseInsensitiveLess>;

// Constant-initialised to null, so a registration during static initialisation always finds it
// in a defined state; never freed, since kinds stay registered for the whole run.
KindMap* s_kinds = nullptr;
} // namespace

bool LayerKindMap::Register(std::string_view name, Factory factory)
{
    if (!s_kinds)
        s_kinds = new KindMap;
    const auto found = s_kinds->find(name);
    if (found != s_kinds->end())
        found->second = factory;
    else
        s_kinds->emplace(CString(name), factory);
    return true;
}

bool LayerKindMap::Unregister(std::string_view name)
{
    if (!s_kinds)
        return false;
    const auto found = s_kinds->find(name);
    if (found == s_kinds->end())
        return false;
    s_kinds->erase(found);
    return true;
}

LayerKindMap::Factory LayerKindMap::Find(std::string_view name)
{
    if (!s_kinds || name.empty())
        return nullptr;
    const auto found = s_kinds->find(name);
    return found != s_kinds->end() ? found->second : nullptr;
}

int32_t LayerKindMap::Count()
{
    return s_kinds ? int32_t(s_kinds->size()) : 0;
}
