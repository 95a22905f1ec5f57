#pragma once
// What the frog reads of the pond it stands in: whether there is one, where its "board" layer
// draws, and the light that shades and casts the body. The defaults know of no pond, so the frog
// draws nothing until the scene installs services that reach the current pond; tests install a
// fake. Offsets are in board cells.
#include "core/Vector2.h"
#include "core/Vector3.h"

class CFrogServices
{
  public:
    // The light of a pond that names none.
    static constexpr Vector3<float> kDefaultLight{-0.3f, 0.15f, -0.2f};

    CFrogServices() = default;
    virtual ~CFrogServices() = default;
    CFrogServices(const CFrogServices&) = delete;
    CFrogServices& operator=(const CFrogServices&) = delete;

    // The installed services, or the defaults; never null.
    static CFrogServices& Get();
    // Installs services (null: back to the defaults); the caller keeps ownership and uninstalls
    // them before they die. Returns the previous ones (null when none were installed).
    static CFrogServices* Install(CFrogServices* services);

    // False when there is no current pond. Otherwise true, with offset the drawing offset of the
    // pond's layer named "board" this frame ((0, 0) when it has none).
    virtual bool GetBoardOffset(Vector2<float>& offset) { return false; }
    // The direction light falls in, as the current pond set it.
    virtual Vector3<float> GetLightVector() { return kDefaultLight; }
};
