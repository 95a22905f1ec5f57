#include "core/CString.h"

#include "core/ScopedCLocale.h"

#include <cstdio>
#include <cstring>

namespace
{
// Folding by hand rather than with tolower keeps names and keywords independent of the locale.
unsigned char AsciiLower(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u + ('a' - 'A')) : u;
}

int32_t ToPosition(size_t at)
{
    return at == std::string::npos ? -1 : static_cast<int32_t>(at);
}

bool StartsInside(const std::string& text, int32_t start)
{
    return start >= 0 && static_cast<size_t>(start) < text.size();
}
}

CString CString::SubString(const std::string& text, int32_t position, int32_t length)
{
    if (position < 0 || static_cast<size_t>(position) > text.size() || length < 0)
        return CString();
    return CString(text.substr(static_cast<size_t>(position), static_cast<size_t>(length)));
}

int32_t CString::Find(const std::string& text, const char* pattern, int32_t start)
{
    if (!pattern || !StartsInside(text, start))
        return -1;
    return ToPosition(text.find(pattern, static_cast<size_t>(start)));
}

int32_t CString::FindChar(const std::string& text, char character, int32_t start)
{
    if (!StartsInside(text, start))
        return -1;
    return ToPosition(text.find(character, static_cast<size_t>(start)));
}

int32_t CString::FindFirstOf(const std::string& text, const char* set, int32_t start)
{
    if (!StartsInside(text, start))
        return -1;
    return ToPosition(text.find_first_of(set ? set : "", static_cast<size_t>(start)));
}

int32_t CString::FindFirstNotOf(const std::string& text, const char* set, int32_t start)
{
    if (!StartsInside(text, start))
        return -1;
    return ToPosition(text.find_first_not_of(set ? set : "", static_cast<size_t>(start)));
}

int32_t CString::FindLastOf(const std::string& text, const char* set, int32_t position)
{
    if (position < 0)
        return -1;
    return ToPosition(text.find_last_of(set ? set : "", static_cast<size_t>(position)));
}

int32_t CString::FindLastNotOf(const std::string& text, const char* set, int32_t position)
{
    if (position < 0)
        return -1;
    return ToPosition(text.find_last_not_of(set ? set : "", static_cast<size_t>(position)));
}

CString CString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    CString result = FormatArgs(format, args);
    va_end(args);
    return result;
}

CString CString::FormatArgs(const char* format, va_list args)
{
    CString result;
    if (!format)
        return result;
    ScopedCLocale cLocale;
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length <= 0)
        return result;
    // Room for the terminating zero that vsnprintf writes, dropped afterwards.
    result.resize(static_cast<size_t>(length) + 1);
    std::vsnprintf(&result[0], result.size(), format, args);
    result.resize(static_cast<size_t>(length));
    return result;
}

CString CString::ToLower(const char* text)
{
    CString result = MakeString(text);
    for (char& c : result)
        c = static_cast<char>(AsciiLower(c));
    return result;
}

bool CString::EqualsNoCase(const char* a, const char* b)
{
    return a && b && CompareNoCase(a, b) == 0;
}

int CString::CompareNoCase(std::string_view a, std::string_view b)
{
    const size_t shorter = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < shorter; ++i)
    {
        const int difference = int(AsciiLower(a[i])) - int(AsciiLower(b[i]));
        if (difference != 0)
            return difference;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

int32_t CString::Replace(std::string& text, const char* pattern, const char* replacement)
{
    if (!pattern || !*pattern)
        return 0;
    const size_t patternLength = std::strlen(pattern);
    const char* with = replacement ? replacement : "";
    std::string result;
    size_t from = 0;
    int32_t count = 0;
    for (size_t at = text.find(pattern); at != std::string::npos; at = text.find(pattern, from))
    {
        result.append(text, from, at - from);
        result.append(with);
        from = at + patternLength;
        ++count;
    }
    if (count > 0)
    {
        result.append(text, from, std::string::npos);
        text.swap(result);
    }
    return count;
}

bool EqualsNoCase(const std::string& string, const char* text)
{
    return text && CString::CompareNoCase(string, text) == 0;
}

CString MakeString(const char* text)
{
    return text ? CString(text) : CString();
}
