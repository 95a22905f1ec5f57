#include "ui/CDivTip.h"

namespace
{
const bool s_registered = (CDiv::RegisterTag("Tip", &CDivTip::Create), true);
} // namespace

CDivTip::CDivTip() : CDiv("tip") {}

CRef<CDiv> CDivTip::Create()
{
    return MakeRef<CDivTip>();
}
