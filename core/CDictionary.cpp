#include "core/CDictionary.h"

#include "core/CFileSystem.h"
#include "core/CTranslates.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"

#include <algorithm>

namespace
{
void Record(std::string_view key)
{
    CTranslates::RecordKey(CString(key).c_str());
}

bool IsContent(const CXmlNode& node)
{
    return node.GetName() == CXmlNode::kContentName;
}

// An element's text: the content of its first text child, exactly as written; "" without one.
CString TextOf(CXmlNode& element)
{
    for (CXmlNode* child = element.FirstChild(); child; child = child->NextSibling())
        if (IsContent(*child))
            return child->GetAttribute("content");
    return CString();
}
} // namespace

REGISTER_SINGLETON(CDictionary, "global", 50);

CDictionary::CDictionary()
{
    Load();
}

bool CDictionary::Load()
{
    m_texts.clear();
    CXmlDocument document;
    if (!document.Load("text", CFileSystem::kInDataFolder))
        return false;
    CXmlNode* group = document.GetRoot()->FirstChild();
    while (group && IsContent(*group))
        group = group->NextSibling();
    if (!group)
        return true;
    for (CXmlNode* element = group->FirstChild(); element; element = element->NextSibling())
        if (!IsContent(*element))
            m_texts[element->GetName()] = TextOf(*element);
    return true;
}

CString CDictionary::GetText(std::string_view key)
{
    Expansion expansion;
    return Lookup(key, expansion);
}

CString CDictionary::ExpandReferences(std::string_view text)
{
    Expansion expansion;
    return Expand(text, expansion);
}

void CDictionary::SetText(std::string_view key, std::string_view text)
{
    auto found = m_texts.find(key);
    if (found != m_texts.end())
    {
        if (found->second == text)
            return;
        found->second = CString(text);
    }
    else
        found = m_texts.emplace(CString(key), CString(text)).first;
    // A copy: a receiver may set texts itself.
    const CString changed = found->first;
    CTranslates::NotifyKeyChanged(changed.c_str());
}

CString CDictionary::Lookup(std::string_view key, Expansion& expansion)
{
    if (key.empty())
        return CString();
    if (key.front() == '%')
        return Expand(key, expansion);
    Record(key);
    const auto found = m_texts.find(key);
    if (found == m_texts.end())
        return Expand(key, expansion);
    const CString& text = found->second; // expanding only reads the map
    expansion.open.emplace_back(key);
    CString expanded = Expand(text, expansion);
    expansion.open.pop_back();
    return expanded;
}

CString CDictionary::Expand(std::string_view text, Expansion& expansion)
{
    size_t sign = text.find('%');
    if (sign == std::string_view::npos)
        return CString(text);
    CString out(text.substr(0, sign));
    bool reference = true;
    for (;;)
    {
        const size_t start = sign + 1;
        sign = text.find('%', start);
        if (sign == std::string_view::npos)
        {
            out += text.substr(start);
            return out;
        }
        const std::string_view piece = text.substr(start, sign - start);
        if (reference)
            out += Resolve(piece, expansion);
        else
            out += piece;
        reference = !reference;
    }
}

CString CDictionary::Resolve(std::string_view name, Expansion& expansion)
{
    const bool cycle = std::find(expansion.open.begin(), expansion.open.end(), name) != expansion.open.end();
    const bool known = m_texts.find(name) != m_texts.end();
    if (known && !cycle && expansion.depth < kMaxDepth && expansion.referencesLeft > 0)
    {
        --expansion.referencesLeft;
        ++expansion.depth;
        CString text = Lookup(name, expansion);
        --expansion.depth;
        return text;
    }
    Record(name);
    return "[" + CString(name) + "]";
}
