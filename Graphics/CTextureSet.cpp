#include "Graphics/CTextureSet.h"

REGISTER_SINGLETON(CTextureSet, "global", 50);

void CTextureSet::Init()
{
    ScheduleIn("global", kEvictIntervalMs);
}

CRef<CTexture> CTextureSet::Get(const CString& name)
{
    CRef<CTexture>& entry = m_textures[name];
    if (!entry)
        entry = CTexture::Create(name);
    return entry;
}

CTexture* CTextureSet::Find(const CString& name) const
{
    const auto found = m_textures.find(name);
    return found == m_textures.end() ? nullptr : found->second.Get();
}

void CTextureSet::Update(float)
{
    for (auto& entry : m_textures)
        entry.second->EvictIfUnused();
}

void CTextureSet::ReleaseAll()
{
    for (auto& entry : m_textures)
        entry.second->ReleaseGL();
}
