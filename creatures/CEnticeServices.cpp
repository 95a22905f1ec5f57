#include "creatures/CEnticeServices.h"

namespace
{
CEnticeServices s_defaults;
CEnticeServices* s_installed = nullptr;
} // namespace

CEnticeServices& CEnticeServices::Get()
{
    return s_installed ? *s_installed : s_defaults;
}

CEnticeServices* CEnticeServices::Install(CEnticeServices* services)
{
    CEnticeServices* previous = s_installed;
    s_installed = services;
    return previous;
}
