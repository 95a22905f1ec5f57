#pragma once
// A registry of kinds by name, compared without regard to case ("Plane", "plane" and "PLANE" are
// one kind), each name giving the factory that makes a new object of that kind. Kinds register
// from their units' static initialisers; the map is made on the first registration, so the order
// of registration across units does not matter. Invariant: one factory per name; registering a
// name again replaces it.
#include "core/CString.h"
#include "core/CaseInsensitiveLess.h"

#include <cstdint>
#include <map>
#include <string_view>

template <typename FactoryType> class KindRegistry
{
  public:
    using Factory = FactoryType;

    // Returns true, so that a unit can register with a static initialiser:
    //   static const bool s_registered = Registry::Register("Plane", &MakePlane);
    static bool Register(std::string_view name, Factory factory)
    {
        if (!s_kinds)
            s_kinds = new Map;
        const auto found = s_kinds->find(name);
        if (found != s_kinds->end())
            found->second = factory;
        else
            s_kinds->emplace(CString(name), factory);
        return true;
    }
    // Drops a kind (tests); false when it was not registered.
    static bool Unregister(std::string_view name)
    {
        if (!s_kinds)
            return false;
        const auto found = s_kinds->find(name);
        if (found == s_kinds->end())
            return false;
        s_kinds->erase(found);
        return true;
    }
    // The factory of the kind, or null for an unknown or empty name.
    static Factory Find(std::string_view name)
    {
        if (!s_kinds || name.empty())
            return nullptr;
        const auto found = s_kinds->find(name);
        return found != s_kinds->end() ? found->second : nullptr;
    }
    static int32_t Count() { return s_kinds ? int32_t(s_kinds->size()) : 0; }

  private:
    using Map = std::map<CString, Factory, CaseInsensitiveLess>;
    // Constant-initialised to null, so a registration during static initialisation always finds
    // it in a defined state; never freed, since kinds stay registered for the whole run.
    static inline Map* s_kinds = nullptr;
};
