#pragma once
// The registry that hands out one shared CTexture per name, and gives back the GL objects of file
// textures nobody has drawn with for a while. Invariant: a name maps to the same texture for the
// set's whole life; every texture it ever handed out stays in it.
#include "Graphics/CTexture.h"
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CResizes.h"
#include "core/CSingleton.h"
#include "core/CString.h"
#include "core/CUpdate.h"

#include <cstddef>
#include <cstdint>
#include <map>

class CTextureSet : public CBase, public CResizes, public CUpdate, public CSingleton<CTextureSet>
{
  public:
    // How often unused file textures are looked for, in milliseconds of the "global" scope.
    static constexpr int32_t kEvictIntervalMs = 30011;

    // Schedules the eviction in the "global" scope.
    void Init() override;

    // The texture of name, made (with default settings, nothing read) on the first request. Never
    // null.
    CRef<CTexture> Get(const CString& name);
    // The texture of name, or null when nobody asked for it yet. Never creates.
    CTexture* Find(const CString& name) const;
    size_t GetCount() const { return m_textures.size(); }

    // Every texture's EvictIfUnused.
    void Update(float dt) override;
    // Every texture's ReleaseGL; render targets are rebuilt at their next bind.
    virtual void ReleaseAll();
    void Invalidate() override { ReleaseAll(); }

  private:
    friend class CSingleton<CTextureSet>;
    CTextureSet() = default;

    std::map<CString, CRef<CTexture>> m_textures; // byte-wise name order
};
