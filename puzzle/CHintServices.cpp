#include "puzzle/CHintServices.h"

namespace
{
CHintServices s_none;
CHintServices* s_installed = nullptr;
} // namespace

CHintServices& CHintServices::Get()
{
    return s_installed ? *s_installed : s_none;
}

CHintServices* CHintServices::Install(CHintServices* services)
{
    CHintServices* previous = s_installed;
    s_installed = services;
    return previous;
}
