#include "core/CRules.h"

#include "core/CFileSystem.h"
#include "core/CRuleBase.h"
#include "core/CRuleChange.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/TextFields.h"

namespace
{
void LoadRules()
{
    CSingleton<CRules>::Instance()->Load();
}

// The file system's start-up loads the rules through this hook.
const bool s_loaderInstalled = (CFileSystem::SetRulesLoader(&LoadRules), true);
} // namespace

REGISTER_SINGLETON(CRules, "hanging", 50);

CRules::CRules() = default;

CRules::~CRules() = default;

bool CRules::Load()
{
    if (m_loading)
        return false;
    m_loading = true;
    // The file system first: its start-up runs the rules loader, which must find us busy.
    CSingleton<CFileSystem>::Instance();
    auto document = std::make_unique<CXmlDocument>();
    const bool loaded = document->Load("rules", CFileSystem::kInDataFolder);
    if (loaded || !m_document)
        m_document = std::move(document);
    if (loaded)
    {
        const CXmlNode* root = m_document->GetRoot();
        for (CRuleBase* rule = CRuleBase::FirstRegistered(); rule; rule = rule->NextRegistered())
            rule->ReadFrom(root);
        TellListeners();
        RefreshFloats(root);
    }
    m_loading = false;
    return loaded;
}

CXmlNode* CRules::GetRoot()
{
    if (!m_document)
        Load();
    return m_document ? m_document->GetRoot() : nullptr;
}

const float* CRules::GetFloatRef(std::string_view key)
{
    auto found = m_floats.find(key);
    if (found != m_floats.end())
        return &found->second;
    const CXmlNode* root = GetRoot();
    const float value = root ? float(ParseFloat(root->GetAttribute(key).c_str())) : 0.0f;
    return &m_floats.emplace(CString(key), value).first->second;
}

void CRules::TellListeners()
{
    // The listeners wait in a list of their own and go back one by one as they are told: one that
    // dies meanwhile leaves whichever list holds it, and one that joins meanwhile is told next time.
    CLinkList waiting;
    while (CLinkNode* node = m_listeners.First())
        waiting.PushBack(*node);
    while (CLinkNode* node = waiting.First())
    {
        m_listeners.PushBack(*node);
        node->GetOwner<CRuleChange>()->Changed();
    }
}

void CRules::RefreshFloats(const CXmlNode* root)
{
    for (auto& entry : m_floats)
    {
        const CString& text = root->GetAttribute(entry.first);
        if (!text.empty())
            entry.second = float(ParseFloat(text.c_str()));
    }
}
