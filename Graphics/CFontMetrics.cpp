#include "Graphics/CFontMetrics.h"

#include "Graphics/CPrint.h"

#include <utility>

namespace
{
CFontMetrics::Finder s_finder = nullptr;
} // namespace

CRef<CPrint> CFontMetrics::GetPrint(const CString&)
{
    return CRef<CPrint>();
}

CRef<CFontMetrics> CFontMetrics::Find(const CString& face, int32_t style)
{
    return s_finder ? s_finder(face, style) : CRef<CFontMetrics>();
}

CFontMetrics::Finder CFontMetrics::SetFinder(Finder finder)
{
    return std::exchange(s_finder, finder);
}
