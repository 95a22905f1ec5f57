#include "creatures/CFrogServices.h"

namespace
{
CFrogServices s_defaults;
CFrogServices* s_installed = nullptr;
} // namespace

CFrogServices& CFrogServices::Get()
{
    return s_installed ? *s_installed : s_defaults;
}

CFrogServices* CFrogServices::Install(CFrogServices* services)
{
    CFrogServices* previous = s_installed;
    s_installed = services;
    return previous;
}
