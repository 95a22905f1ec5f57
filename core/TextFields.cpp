#include "core/TextFields.h"

#include "core/ScopedCLocale.h"

#include <cstdlib>
#include <cstring>

namespace
{
template <typename T, typename Parse> int32_t ParseFields(const char* text, T* values, int32_t count, Parse parse)
{
    int32_t present = 0;
    for (int32_t i = 0; i < count; ++i)
    {
        const std::optional<CString> field = FieldOf(text, i);
        if (field)
        {
            values[i] = parse(field->c_str());
            ++present;
        }
        else
        {
            values[i] = i == 0 ? T(0) : values[i - 1];
        }
    }
    return present;
}
}

std::optional<CString> FieldOf(const char* text, int32_t n)
{
    if (!text || n < 0)
        return std::nullopt;
    const char* begin = text;
    for (int32_t i = 0; i < n; ++i)
    {
        const char* comma = std::strchr(begin, ',');
        if (!comma)
            return std::nullopt;
        begin = comma + 1;
    }
    const char* end = std::strchr(begin, ',');
    return end ? CString(begin, static_cast<size_t>(end - begin)) : CString(begin);
}

std::vector<std::string_view> SplitFields(std::string_view text)
{
    std::vector<std::string_view> fields;
    size_t begin = 0;
    for (size_t comma = text.find(','); comma != std::string_view::npos; comma = text.find(',', begin))
    {
        fields.push_back(text.substr(begin, comma - begin));
        begin = comma + 1;
    }
    fields.push_back(text.substr(begin));
    return fields;
}

double ParseFloat(const char* text, const char** end)
{
    if (!text)
    {
        if (end)
            *end = text;
        return 0.0;
    }
    ScopedCLocale cLocale;
    char* stop = nullptr;
    const double value = std::strtod(text, &stop);
    if (end)
        *end = stop;
    return value;
}

int32_t ParseInt(const char* text, const char** end)
{
    if (!text)
    {
        if (end)
            *end = text;
        return 0;
    }
    ScopedCLocale cLocale;
    char* stop = nullptr;
    const long value = std::strtol(text, &stop, 10);
    if (end)
        *end = stop;
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

int32_t ParseFloatFields(const char* text, float* values, int32_t count)
{
    return ParseFields(text, values, count, [](const char* field) { return float(ParseFloat(field)); });
}

int32_t ParseIntFields(const char* text, int32_t* values, int32_t count)
{
    return ParseFields(text, values, count, [](const char* field) { return ParseInt(field); });
}

const char* SkipFirstChar(const char* text)
{
    return (text && *text) ? text + 1 : "";
}

Vector2<float> ParseFloatPair(const char* text, const Vector2<float>& def)
{
    if (!text || !*text)
        return def;
    float values[2] = {0.0f, 0.0f};
    ParseFloatFields(text, values, 2);
    return Vector2<float>(values[0], values[1]);
}
