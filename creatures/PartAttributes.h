#pragma once
// How the species document writes the numbers of the frog's parts: a pair is two comma fields,
// a missing second repeating the first; a rectangle of texture units (x0, y0, x1, y1) is written
// like a colour. Shared by the body pieces and what rides on them, so that they read alike.
#include "core/Vector2.h"
#include "core/Vector4.h"

#include <cstdint>

class CXmlNode;

// The pair at the element's attribute name; fallback when the attribute is missing or empty.
Vector2<float> ReadPairAttribute(const CXmlNode& element, const char* name, const Vector2<float>& fallback);
// The rectangle at the element's attribute name: the whole texture (0, 0, 1, 1) when missing or
// empty, "#" and hexadecimal pairs, or up to four comma fields each missing one repeating the one
// before.
Vector4<float> ReadRectAttribute(const CXmlNode& element, const char* name);
// A number; 0 when missing.
float ReadFloatAttribute(const CXmlNode& element, const char* name);
// A time written in seconds, as whole milliseconds (truncated); within a day either way, so that
// a damaged value never leaves the range of the game clock.
int32_t ReadMillisecondsAttribute(const CXmlNode& element, const char* name);
// The first child element named name, or null.
CXmlNode* FirstChildNamed(CXmlNode& node, const char* name);
