#pragma once
// Random ranges as scene data writes them: two comma fields, minimum first, one value standing for
// both. A draw is a pure function of the range and the global generator's next output, so a seeded
// generator replays every particle, petal and ray exactly.
#include "core/Vector2.h"

#include <cstdint>

class CXmlNode;

// The range at the attribute of element (see ParseFloatFields); def when it is missing or empty.
Vector2<float> ReadFloatRange(const CXmlNode& element, const char* attribute, const Vector2<float>& def);
Vector2<int32_t> ReadIntRange(const CXmlNode& element, const char* attribute, const Vector2<int32_t>& def);

// The minimum when the maximum is not greater; else minimum + u * (maximum - minimum), u the next
// output over 2^32.
float DrawFloatRange(const Vector2<float>& range);
// The minimum when the maximum is not greater; else minimum + next output mod (maximum + 1 - minimum).
int32_t DrawIntRange(const Vector2<int32_t>& range);
