#pragma once
// While a guard lives, the calling thread formats and parses numbers as the "C" locale does,
// whatever locale the process runs in: data files, rules and preferences always use "." as the
// decimal point. Guards nest; each restores the thread's previous locale.
#include <locale.h>

class ScopedCLocale
{
public:
    ScopedCLocale();
    ~ScopedCLocale();

    ScopedCLocale(const ScopedCLocale&) = delete;
    ScopedCLocale& operator=(const ScopedCLocale&) = delete;

private:
    // The thread's locale before the guard; null when the "C" locale could not be made and
    // nothing was switched.
    locale_t m_previous = nullptr;
};
