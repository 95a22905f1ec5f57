#include "scene/RandomRange.h"

#include "core/CXmlNode.h"
#include "core/Random.h"
#include "core/TextFields.h"

Vector2<float> ReadFloatRange(const CXmlNode& element, const char* attribute, const Vector2<float>& def)
{
    const CString& text = element.GetAttribute(attribute);
    if (text.empty())
        return def;
    float values[2] = {};
    ParseFloatFields(text.c_str(), values, 2);
    return Vector2<float>(values[0], values[1]);
}

Vector2<int32_t> ReadIntRange(const CXmlNode& element, const char* attribute, const Vector2<int32_t>& def)
{
    const CString& text = element.GetAttribute(attribute);
    if (text.empty())
        return def;
    int32_t values[2] = {};
    ParseIntFields(text.c_str(), values, 2);
    return Vector2<int32_t>(values[0], values[1]);
}

float DrawFloatRange(const Vector2<float>& range)
{
    if (!(range.y > range.x))
        return range.x;
    return float(range.x + GlobalRandom().NextFraction() * (double(range.y) - double(range.x)));
}

int32_t DrawIntRange(const Vector2<int32_t>& range)
{
    if (range.y <= range.x)
        return range.x;
    // In 64 bits: the span of two far-apart 32-bit bounds does not fit 32 bits.
    const uint64_t span = uint64_t(int64_t(range.y) - int64_t(range.x)) + 1;
    return int32_t(int64_t(range.x) + int64_t(GlobalRandom().Next() % span));
}
