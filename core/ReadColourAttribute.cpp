#include "core/ReadColourAttribute.h"

#include "core/CXmlNode.h"
#include "core/Colour.h"

Vector4<float> ReadColourAttribute(const CXmlNode* element, std::string_view path, const Vector4<float>& def)
{
    return element ? ParseColourText(element->GetAttribute(path).c_str(), def) : def;
}
