#include "ui/CButtons.h"

#include "core/CFileSystem.h"
#include "core/CXmlNode.h"

REGISTER_SINGLETON(CButtons, "global", 50);

bool CButtons::IsEnabled(std::string_view action) const
{
    const auto found = m_enabled.find(action);
    return found == m_enabled.end() || found->second;
}

void CButtons::SetEnabled(std::string_view action, bool enabled)
{
    const auto found = m_enabled.find(action);
    if (found != m_enabled.end())
        found->second = enabled;
    else
        m_enabled.emplace(CString(action), enabled);
}

CXmlNode* CButtons::FindType(std::string_view type)
{
    if (!m_documentRead)
    {
        m_documentRead = true;
        m_document.Load("buttons", CFileSystem::kInDataFolder);
    }
    // An empty type would name the root itself; a template is always one of its children.
    if (type.empty() || !m_document.GetRoot())
        return nullptr;
    return m_document.GetRoot()->FindChild(type);
}
