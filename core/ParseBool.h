#pragma once
// The booleans of tuning values and preferences: "true" in any case, or a decimal integer that is
// not 0 ("1", "2"). Anything else ("yes", "false", "") is false.
#include "core/CString.h"
#include "core/TextFields.h"

inline bool ParseBool(const char* text)
{
    return text && (CString::EqualsNoCase(text, "true") || ParseInt(text) != 0);
}
