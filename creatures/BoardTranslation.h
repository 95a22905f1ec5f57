#pragma once
// The model-view matrix moved by a board offset (board cells) for the scope's lifetime. Does
// nothing without a live context, so that creatures place their sprites headless.
#include "Graphics/CGraphics.h"
#include "Graphics/MatrixScope.h"
#include "core/Vector2.h"

#include <GLES/gl.h>
#include <optional>

class BoardTranslation
{
  public:
    explicit BoardTranslation(const Vector2<float>& offset)
    {
        const CGraphics* graphics = CGraphics::Peek();
        if (!graphics || !graphics->IsLive())
            return;
        m_matrix.emplace();
        glTranslatef(offset.x, offset.y, 0.0f);
    }

  private:
    std::optional<MatrixScope> m_matrix;
};
