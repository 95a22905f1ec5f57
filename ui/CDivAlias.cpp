#include "ui/CDivAlias.h"

#include "core/CXmlNode.h"

namespace
{
const bool s_registered = [] {
    for (const char* tag : {"i", "b", "em", "centre", "center"})
        CDiv::RegisterTag(tag, &CDivAlias::Create);
    return true;
}();
} // namespace

CDivAlias::CDivAlias() : CDiv("alias")
{
    m_box = false;
}

CRef<CDiv> CDivAlias::Create()
{
    return MakeRef<CDivAlias>();
}

void CDivAlias::Load(CXmlNode* element)
{
    CDiv::Load(element);
    if (!element)
        return;
    const CString& tag = element->GetName();
    if (tag == "i")
        m_fontStyle = kFontItalic;
    else if (tag == "b")
        m_fontStyle = kFontBold;
    else if (tag == "centre" || tag == "center")
        m_hAlign = kAlignMiddle;
}
