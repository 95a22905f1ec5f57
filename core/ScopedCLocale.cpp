#include "core/ScopedCLocale.h"

#include <atomic>

namespace
{
// Made on first use and kept for the life of the process. An atomic with a constant initialiser
// is ready before any static initialiser of another file formats a number.
std::atomic<locale_t> g_cLocale{nullptr};

locale_t CLocale()
{
    locale_t locale = g_cLocale.load(std::memory_order_acquire);
    if (locale)
        return locale;
    locale_t made = newlocale(LC_ALL_MASK, "C", nullptr);
    if (!made)
        return nullptr;
    if (g_cLocale.compare_exchange_strong(locale, made, std::memory_order_acq_rel))
        return made;
    // Another thread stored one first; use that one.
    freelocale(made);
    return locale;
}
}

ScopedCLocale::ScopedCLocale()
{
    if (locale_t c = CLocale())
        m_previous = uselocale(c);
}

ScopedCLocale::~ScopedCLocale()
{
    if (m_previous)
        uselocale(m_previous);
}
