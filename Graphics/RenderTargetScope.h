#pragma once
// Draws into a texture while alive: binds it as the render target, sets the viewport to the part
// of the texture the image uses and pushes an orthographic view of rect (x, y, width, height in
// view units) stored with its rows flipped, as texture coordinates expect. Dying restores the
// framebuffer and view that were there before (and swaps a double-buffered target).
#include "Graphics/CTexture.h"
#include "core/CRef.h"
#include "core/Vector4.h"

#include <cstdint>
#include <memory>

class CView;

struct RenderTargetScope
{
    // mode 1, or 2 for a double-buffered target. The view does not follow the platform rotation:
    // a texture has no rotated screen, and the image comes back rotated when drawn to the screen.
    RenderTargetScope(const CRef<CTexture>& texture, const Vector4<float>& rect, uint32_t mode = 1);
    ~RenderTargetScope();
    RenderTargetScope(const RenderTargetScope&) = delete;
    RenderTargetScope& operator=(const RenderTargetScope&) = delete;

    // The viewport used, in texture pixels: 1 x 1 without a texture.
    static Vector2<int32_t> ViewportFor(const CTexture* texture);
    // Sets the viewport to the texture's first size.x by size.y pixels, after a view was pushed
    // for drawing into it.
    static void UseWholeTarget(const Vector2<int32_t>& size);

    CRef<CTexture> texture;
    uint32_t mode;
    std::unique_ptr<CView> view;
};
