#pragma once
// The registry of single-particle kinds: kind name (any case: "Sparkle" and "sparkle" are one
// kind) to the factory that makes a new particle of that kind. Kinds register from their units'
// static initialisers; the map is made on the first registration, so registration order across
// units does not matter. Invariant: one factory per name; registering a name again replaces it.
#include "core/CRef.h"

#include <cstdint>
#include <string_view>

class CParticle;

class ParticleKindMap
{
  public:
    // A new particle of the kind, nothing loaded.
    using Factory = CRef<CParticle> (*)();

    // Returns true, so that a unit can register with a static initialiser:
    //   static const bool s_registered = ParticleKindMap::Register("Sparkle", &MakeSparkle);
    static bool Register(std::string_view name, Factory factory);
    // Drops a kind (tests); false when it was not registered.
    static bool Unregister(std::string_view name);
    // The factory of the kind, or null for an unknown or empty name.
    static Factory Find(std::string_view name);
    static int32_t Count();
};
