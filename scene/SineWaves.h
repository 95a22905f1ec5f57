#pragma once
// Slow breathing by a product of sine waves, shared by the sparkles and the light rays: each wave
// is (frequency in cycles per second, phase in degrees), and the product of (1 + sin) / 2 over
// the waves lies in [0, 1]. Phases are drawn from the global generator as the waves are read, so
// a seeded generator replays them.
#include "core/Vector2.h"

#include <cstdint>
#include <vector>

class CXmlNode;

using SineWaves = std::vector<Vector2<float>>;

// One wave per comma field of the attribute ("0.1,0.37"), each at a phase drawn uniformly from
// [0, 360) degrees; none when the attribute is missing or empty.
SineWaves ReadSineWaves(const CXmlNode& element, const char* attribute);
// The product over the waves at now (ms): 1 without waves, 0 only where one factor reaches 0.
float SineWaveProduct(const SineWaves& waves, int32_t now);
