#include "Graphics/CFoundry.h"

REGISTER_SINGLETON(CFoundry, "global", 50);

CRef<CFont> CFoundry::GetFont(const CString& name, uint32_t style)
{
    // A bold style has no file of its own: it is the plain font.
    if (style != CFont::kItalic && style != CFont::kOblique)
        style = CFont::kPlain;
    const CString key = KeyOf(name, style);
    auto found = m_fonts.find(key);
    if (found == m_fonts.end())
        found = m_fonts.emplace(key, CFont::Create(name, style)).first;
    return found->second;
}

CFont* CFoundry::FindFont(const CString& key) const
{
    const auto found = m_fonts.find(key);
    return found == m_fonts.end() ? nullptr : found->second.Get();
}

void CFoundry::OnInvalidate()
{
    for (auto& entry : m_fonts)
        entry.second->OnInvalidate();
}

CString CFoundry::KeyOf(const CString& name, uint32_t style)
{
    if (style == CFont::kItalic)
        return name + "-i";
    if (style == CFont::kOblique)
        return name + "-o";
    return name;
}
