#include "core/Colour.h"

#include "core/TextFields.h"

#include <cstring>

namespace
{
int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 0;
}
}

Vector4<float> ParseHexColour(const char* digits)
{
    const char* text = digits ? digits : "";
    const int length = int(std::strlen(text));
    int components[4] = {0, 0, 0, 0};
    int fill = 3;
    if (length < 7)
    {
        components[3] = 255;
        fill = 2;
    }
    for (int at = length - 1; fill >= 0 && at >= 0; --fill)
    {
        int value = HexDigit(text[at--]);
        if (at >= 0)
            value += 16 * HexDigit(text[at--]);
        components[fill] = value;
    }
    return Vector4<float>(components[0] / 255.0f, components[1] / 255.0f, components[2] / 255.0f,
                          components[3] / 255.0f);
}

Vector4<float> ParseColourText(const char* text, const Vector4<float>& def)
{
    if (!text || !*text)
        return def;
    if (*text == '#')
        return ParseHexColour(SkipFirstChar(text));
    float values[4];
    ParseFloatFields(text, values, 4);
    return Vector4<float>(values[0], values[1], values[2], values[3]);
}
