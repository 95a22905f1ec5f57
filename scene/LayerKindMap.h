#pragma once
// The registry of layer kinds: kind name (any case) to the factory that makes a new layer of that
// kind, its class name set and nothing loaded.
#include "core/CRef.h"
#include "core/KindRegistry.h"

class CLayer;

using LayerKindMap = KindRegistry<CRef<CLayer> (*)()>;
