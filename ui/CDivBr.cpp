#include "ui/CDivBr.h"

#include "ui/CDivLine.h"

namespace
{
const bool s_registered = (CDiv::RegisterTag("Br", &CDivBr::Create), true);
} // namespace

CDivBr::CDivBr() : CDiv("br") {}

CRef<CDiv> CDivBr::Create()
{
    return MakeRef<CDivBr>();
}

CRef<CDivLine> CDivBr::Layout(CRef<CDivLine> line)
{
    return line ? line->NewLineBelow() : CRef<CDivLine>();
}
