#include "Graphics/CMaterialSet.h"

#include "core/CFileSystem.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"

REGISTER_SINGLETON(CMaterialSet, "global", 50);

void CMaterialSet::Init()
{
    ReadDocument(false);
}

CRef<CMaterial> CMaterialSet::Find(const CString& name)
{
    const CString& key = name.empty() ? CString(kNullName) : name;
    auto found = m_materials.find(key);
    if (found == m_materials.end())
        found = m_materials.emplace(key, CMaterial::CreateForTexture(key)).first;
    return found->second;
}

CMaterial* CMaterialSet::GetDefault()
{
    CRef<CMaterial>& material = m_materials[kDefaultName];
    if (!material)
        material = CMaterial::CreateDefault();
    return material.Get();
}

void CMaterialSet::Reload()
{
    ReadDocument(true);
}

void CMaterialSet::Read(CXmlNode& root, bool inPlace)
{
    for (CXmlNode* element = root.FirstChild(); element != nullptr; element = element->NextSibling())
    {
        if (element->GetName() == CXmlNode::kContentName)
            continue;
        CRef<CMaterial>& material = m_materials[element->GetName()];
        if (inPlace && material)
            material->Load(*element);
        else
            material = CMaterial::Create(*element);
    }
}

void CMaterialSet::ReadDocument(bool inPlace)
{
    CXmlDocument document;
    document.Load("materials", CFileSystem::kInDataFolder);
    // A failed load leaves an empty root, which reads as no materials.
    if (CXmlNode* root = document.GetRoot())
        Read(*root, inPlace);
}
