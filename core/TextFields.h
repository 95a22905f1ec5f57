#pragma once
// Reading the texts of data files: comma-separated fields and numbers. Every number any data
// reader takes from text goes through ParseFloat or ParseInt, which read "0.5" as one half
// whatever the process locale is.
#include "core/CString.h"
#include "core/Vector2.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// The n-th field (0-based) of a text whose fields are separated by "," alone; blanks belong to
// the fields. None when the text has fewer than n + 1 fields (a null text has none); an empty
// field, as between two commas, is "".
std::optional<CString> FieldOf(const char* text, int32_t n);
// Every field of the text in order, as FieldOf gives them for n = 0, 1, 2 and on, in one pass:
// for long lists, where FieldOf of each n in turn would rescan from the start. The views point
// into text.
std::vector<std::string_view> SplitFields(std::string_view text);

// strtod in the "C" locale: leading blanks skipped, "." the decimal point. 0 for a null text.
// When end is given it receives the first character not read (text itself when nothing was).
double ParseFloat(const char* text, const char** end = nullptr);

// strtol base 10 in the "C" locale, saturated to the 32-bit range. 0 for a null text.
int32_t ParseInt(const char* text, const char** end = nullptr);

// Fills count values from the comma fields of text: a missing first field gives 0 and each later
// missing field repeats the one before (so "0.5" fills every value with 0.5). An empty field reads
// as 0. Returns the number of fields the text had, up to count.
int32_t ParseFloatFields(const char* text, float* values, int32_t count);
int32_t ParseIntFields(const char* text, int32_t* values, int32_t count);
// Two comma fields as ParseFloatFields reads them ("0.5" is (0.5, 0.5)); def for a null or empty
// text.
Vector2<float> ParseFloatPair(const char* text, const Vector2<float>& def);

// The text after its first character, as a pointer into text; "" for a null or empty text.
// Drops the "#" of a hexadecimal colour.
const char* SkipFirstChar(const char* text);
