#pragma once
// What the entice effect needs of the scene: its "Entice" particles, made and drawn by the scene's
// particle kinds. The defaults make none, so the effect shows only its glows until the scene
// installs services; tests install a fake. Positions are in board cells, times in game ms.
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/Vector2.h"

#include <cstdint>

class CEnticeServices
{
  public:
    CEnticeServices() = default;
    virtual ~CEnticeServices() = default;
    CEnticeServices(const CEnticeServices&) = delete;
    CEnticeServices& operator=(const CEnticeServices&) = delete;

    // The installed services, or the defaults; never null.
    static CEnticeServices& Get();
    // Installs services (null: back to the defaults); the caller keeps ownership and uninstalls
    // them before they die. Returns the previous ones (null when none were installed).
    static CEnticeServices* Install(CEnticeServices* services);

    // A new "Entice" particle at position, or null when none can be made.
    virtual CRef<CBase> MakeParticle(const Vector2<float>& position) { return {}; }
    // Draws a particle that MakeParticle made, as it looks at now.
    virtual void DrawParticle(CBase& particle, int32_t now) {}
};
