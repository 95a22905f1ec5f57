#pragma once
// 32-bit name hash (Paul Hsieh's SuperFastHash) that keys modes, mode groups
// and many maps. Case-sensitive; never persisted, so it may change between builds.
#include <cstdint>

// 0 for a null or empty text. Trailing bytes are read unsigned, so bytes of
// 128 and above hash the same on every platform.
uint32_t HashString(const char* text);
