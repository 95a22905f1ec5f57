#pragma once
// The registry of single-particle kinds: kind name (any case: "Sparkle" and "sparkle" are one
// kind) to the factory that makes a new particle of that kind, nothing loaded.
#include "core/CRef.h"
#include "core/KindRegistry.h"

class CParticle;

using ParticleKindMap = KindRegistry<CRef<CParticle> (*)()>;
