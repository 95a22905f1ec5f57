#include "Graphics/RenderTargetScope.h"

#include "Graphics/CGraphics.h"
#include "platform/CView.h"

#include <algorithm>

RenderTargetScope::RenderTargetScope(const CRef<CTexture>& target, const Vector4<float>& rect,
                                     uint32_t targetMode)
    : texture(target),
      mode(targetMode == CTexture::kDoubleBuffered ? CTexture::kDoubleBuffered : CTexture::kRenderTarget)
{
    if (texture)
        texture->BindTarget(mode);
    const Vector2<int32_t> size = ViewportFor(texture.Get());
    // Rows flipped: the top of rect lands in the texture's last row, where v = 1 reads it.
    view = std::make_unique<CView>(Vector4<int32_t>(0, 0, size.x, size.y),
                                   Vector4<float>(rect.x, rect.y + rect.w, rect.z, -rect.w), 0.0f);
    UseWholeTarget(size);
}

void RenderTargetScope::UseWholeTarget(const Vector2<int32_t>& size)
{
    // A view counts its viewport's rows from the top of the logical screen; a texture's image
    // starts at its first row, whatever the screen's height.
    if (CGraphics* graphics = CGraphics::Peek(); graphics && graphics->IsLive())
        graphics->SetViewport(0, 0, size.x, size.y);
}

RenderTargetScope::~RenderTargetScope()
{
    if (texture)
    {
        texture->BindTarget(0);
        if (mode == CTexture::kDoubleBuffered)
            texture->SwapBuffers();
    }
    view.reset();
    texture.Reset();
}

Vector2<int32_t> RenderTargetScope::ViewportFor(const CTexture* texture)
{
    if (texture == nullptr)
        return Vector2<int32_t>(1, 1);
    const Vector2<int32_t> used = texture->GetUsedSize();
    return Vector2<int32_t>(std::max(used.x, 1), std::max(used.y, 1));
}
