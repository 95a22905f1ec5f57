#pragma once
// The value string of the whole program: a std::string with the byte-wise helpers the data
// readers share. The helpers never throw and never read outside the text: positions are signed
// 32-bit byte offsets, and -1 means "not found" or "no such position".
#include <cstdint>
#include <functional>
#include <stdarg.h>
#include <string>
#include <string_view>

class CString : public std::string
{
public:
    using std::string::string;
    CString() = default;
    CString(const std::string& text) : std::string(text) {}
    CString(std::string&& text) noexcept : std::string(std::move(text)) {}

    // length characters from position, cut at the end of the text; "" when position is outside
    // the text or length is negative.
    static CString SubString(const std::string& text, int32_t position, int32_t length);

    // Position of the first occurrence of pattern at or after start; -1 when there is none, when
    // start is negative or at or past the end, or when pattern is null. An empty pattern is found
    // at start.
    static int32_t Find(const std::string& text, const char* pattern, int32_t start = 0);
    static int32_t FindChar(const std::string& text, char character, int32_t start = 0);

    // A set is a zero-terminated list of characters; a null set is empty. -1 when start is
    // negative or at or past the end.
    static int32_t FindFirstOf(const std::string& text, const char* set, int32_t start = 0);
    static int32_t FindFirstNotOf(const std::string& text, const char* set, int32_t start = 0);

    // The last match at or before position (a position past the end means the whole text);
    // -1 when there is none or position is negative.
    static int32_t FindLastOf(const std::string& text, const char* set, int32_t position = INT32_MAX);
    static int32_t FindLastNotOf(const std::string& text, const char* set, int32_t position = INT32_MAX);

    // printf formatting of any length. Numbers always come out as the "C" locale writes them
    // ("0.500000"), whatever the process locale, because the text goes into data files.
    static CString Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
    static CString FormatArgs(const char* format, va_list args);

    // ASCII lower-case copy; "" for null. Bytes of 128 and above are left as they are.
    static CString ToLower(const char* text);

    // Keyword test of the data readers ("true", "left"): same length and equal ignoring ASCII
    // case. A null on either side is never equal, not even to another null.
    static bool EqualsNoCase(const char* a, const char* b);

    // Three-way compare ignoring ASCII case: bytes are compared after lower-casing, and when the
    // shorter text is a prefix of the longer, the shorter comes first.
    static int CompareNoCase(std::string_view a, std::string_view b);

    // Replaces every occurrence of pattern, searching on after each inserted replacement, so a
    // replacement that contains the pattern is not replaced again. An empty or null pattern leaves
    // the text unchanged; a null replacement removes the pattern. Returns the number replaced.
    static int32_t Replace(std::string& text, const char* pattern, const char* replacement);
};

// Equal ignoring ASCII case; false when text is null. The keyword test of the texture-unit readers.
bool EqualsNoCase(const std::string& string, const char* text);

// The text as a string; "" for a null pointer (a std::string cannot be made from one).
CString MakeString(const char* text);

namespace std
{
template <> struct hash<CString> : hash<std::string>
{
};
}
