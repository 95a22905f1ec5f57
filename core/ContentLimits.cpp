#include "core/ContentLimits.h"

#include "core/CString.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <utility>

namespace
{
// The pairs reported so far in this run: file, key.
std::set<std::pair<CString, CString>> s_reported;
} // namespace

int32_t BoundCount(int32_t value, int32_t minimum, int32_t maximum, std::string_view file,
                   std::string_view key)
{
    if (value >= minimum && value <= maximum)
        return value;
    const int32_t bounded = value < minimum ? minimum : maximum;
    ReportContentOnce(file, key,
                      CString::Format("%d is outside %d..%d, %d used", value, minimum, maximum, bounded));
    return bounded;
}

double BoundValue(double value, double minimum, double maximum, std::string_view file, std::string_view key)
{
    if (value >= minimum && value <= maximum)
        return value;
    const double bounded = value > maximum ? maximum : minimum;
    ReportContentOnce(file, key,
                      CString::Format("%g is outside %g..%g, %g used", value, minimum, maximum, bounded));
    return bounded;
}

namespace
{
// Milliseconds within 0..kMaxContentSeconds, before the cut or the rounding.
double BoundedMs(double seconds)
{
    return seconds > 0.0 ? std::min(seconds, double(kMaxContentSeconds)) * 1000.0 : 0.0;
}
} // namespace

int32_t SecondsToMs(double seconds)
{
    return int32_t(BoundedMs(seconds));
}

int32_t SecondsToNearestMs(double seconds)
{
    return int32_t(BoundedMs(seconds) + 0.5);
}

int32_t SignedSecondsToMs(double seconds)
{
    return seconds < 0.0 ? -SecondsToMs(-seconds) : SecondsToMs(seconds);
}

double BoundSeconds(double seconds, std::string_view file, std::string_view key)
{
    return BoundValue(seconds, 0.0, double(kMaxContentSeconds), file, key);
}

bool ReportContentOnce(std::string_view file, std::string_view key, std::string_view problem)
{
    if (!s_reported.emplace(CString(file), CString(key)).second)
        return false;
    fprintf(stderr, "frogpond: %.*s: %.*s: %.*s\n", int(file.size()), file.data(), int(key.size()),
            key.data(), int(problem.size()), problem.data());
    return true;
}

void ForgetContentReports()
{
    s_reported.clear();
}
