#pragma once
// A colour attribute of a data element, as data files write colours (see ParseColourText).
#include "core/Vector4.h"

#include <string_view>

class CXmlNode;

// The colour at the attribute path of element; def when element is null or the attribute is
// missing or empty.
Vector4<float> ReadColourAttribute(const CXmlNode* element, std::string_view path, const Vector4<float>& def);
