#include "creatures/PartAttributes.h"

#include "core/CXmlNode.h"
#include "core/ContentLimits.h"
#include "core/ReadColourAttribute.h"
#include "core/TextFields.h"

#include <algorithm>
#include <cmath>

Vector2<float> ReadPairAttribute(const CXmlNode& element, const char* name, const Vector2<float>& fallback)
{
    const CString& text = element.GetAttribute(name);
    if (text.empty())
        return fallback;
    float values[2] = {0.0f, 0.0f};
    ParseFloatFields(text.c_str(), values, 2);
    return Vector2<float>(values[0], values[1]);
}

Vector4<float> ReadRectAttribute(const CXmlNode& element, const char* name)
{
    return ReadColourAttribute(&element, name, Vector4<float>(0.0f, 0.0f, 1.0f, 1.0f));
}

float ReadFloatAttribute(const CXmlNode& element, const char* name)
{
    return float(ParseFloat(element.GetAttribute(name).c_str()));
}

int32_t ReadMillisecondsAttribute(const CXmlNode& element, const char* name)
{
    // Signed: a phase may lie before its start.
    return SignedSecondsToMs(ParseFloat(element.GetAttribute(name).c_str()));
}

CXmlNode* FirstChildNamed(CXmlNode& node, const char* name)
{
    for (CXmlNode* child = node.FirstChild(); child; child = child->NextSibling())
        if (child->GetName() == name)
            return child;
    return nullptr;
}
