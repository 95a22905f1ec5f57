#pragma once
// The registry of layer kinds: kind name (any case: "Plane", "plane" and "PLANE" are one kind) to
// the factory that makes a new layer of that kind. Kinds register from their units' static
// initialisers; the map is made on the first registration, so registration order across units
// does not matter. Invariant: one factory per name; registering a name again replaces it.
#include "core/CRef.h"

#include <cstdint>
#include <string_view>

class CLayer;

class LayerKindMap
{
  public:
    // A new layer of the kind (its class name set, nothing loaded), or null.
    using Factory = CRef<CLayer> (*)();

    // Returns true, so that a unit can register with a static initialiser:
    //   static const bool s_registered = LayerKindMap::Register("Plane", &MakePlane);
    static bool Register(std::string_view name, Factory factory);
    // Drops a kind (tests); false when it was not registered.
    static bool Unregister(std::string_view name);
    // The factory of the kind, or null for an unknown or empty name.
    static Factory Find(std::string_view name);
    static int32_t Count();
};
