#include "puzzle/CPlayServices.h"

namespace
{
CPlayServices s_none;
CPlayServices* s_installed = nullptr;
} // namespace

CPlayServices& CPlayServices::Get()
{
    return s_installed ? *s_installed : s_none;
}

CPlayServices* CPlayServices::Install(CPlayServices* services)
{
    CPlayServices* previous = s_installed;
    s_installed = services;
    return previous;
}
