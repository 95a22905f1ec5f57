#pragma once
// The registry of fonts: loads each font once per name and style and hands out shared references.
// Invariant: a key maps to the same font for the registry's whole life, and every look-up gives a
// font (one without glyphs when its file is missing), never null. While it lives it is the font
// finder of the layout (CFontMetrics::Find).
#include "Graphics/CFont.h"
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CResizes.h"
#include "core/CSingleton.h"
#include "core/CString.h"

#include <cstdint>
#include <map>

class CFoundry : public CBase, public CResizes, public CSingleton<CFoundry>
{
  public:
    // The font of name in style (CFont::Style; any other style is plain), loaded on first request
    // and kept under name, name + "-i" or name + "-o".
    CRef<CFont> GetFont(const CString& name, uint32_t style);

    // Installs the registry as the layout's font finder; the destructor puts the previous back.
    void Init() override;
    ~CFoundry() override;
    // The font already held under the key, or null; never loads.
    CFont* FindFont(const CString& key) const;
    size_t GetCount() const { return m_fonts.size(); }

    // Every font drops its text blocks.
    virtual void OnInvalidate();
    void Invalidate() override { OnInvalidate(); }

    // The registry key of name in style.
    static CString KeyOf(const CString& name, uint32_t style);

  private:
    friend class CSingleton<CFoundry>;
    CFoundry() = default;

    static CRef<CFontMetrics> FindMetrics(const CString& face, int32_t style);

    std::map<CString, CRef<CFont>> m_fonts; // byte-wise key order
    CFontMetrics::Finder m_previousFinder = nullptr;
    bool m_finderInstalled = false;
};
