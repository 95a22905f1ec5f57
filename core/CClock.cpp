#include "core/CClock.h"

namespace
{
// Constant-initialised, so that statics anywhere may read the clock before main.
CClock::Source s_source = nullptr;
}

void CClock::SetSource(Source source)
{
    s_source = source;
}

CClock::Source CClock::GetSource()
{
    return s_source;
}

uint32_t CClock::Now()
{
    return s_source ? s_source() : 0;
}
