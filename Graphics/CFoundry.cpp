#include "Graphics/CFoundry.h"

REGISTER_SINGLETON(CFoundry, "global", 50);

void CFoundry::Init()
{
    m_previousFinder = CFontMetrics::SetFinder(&FindMetrics);
    m_finderInstalled = true;
}

CFoundry::~CFoundry()
{
    if (m_finderInstalled)
        CFontMetrics::SetFinder(m_previousFinder);
}

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

CRef<CFontMetrics> CFoundry::FindMetrics(const CString& face, int32_t style)
{
    // Peek: a finder left behind by a registry that has ended must not bring it back.
    CFoundry* foundry = Peek();
    return foundry ? CRef<CFontMetrics>(foundry->GetFont(face, uint32_t(style))) : CRef<CFontMetrics>();
}
