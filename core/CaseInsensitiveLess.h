#pragma once
// Strict weak order of names that are looked up without regard to ASCII case (user-interface
// tags, pane transitions, layer and particle kinds, mode factories): "Abc" and "aBC" are the same
// key, and "abc" comes before "ABCD". Usable as the comparator of a std::map or std::set, and
// transparent, so such a map can be searched with a const char* without making a string.
#include "core/CString.h"

#include <string_view>

struct CaseInsensitiveLess
{
    using is_transparent = void;

    bool operator()(std::string_view a, std::string_view b) const
    {
        return CString::CompareNoCase(a, b) < 0;
    }
};
