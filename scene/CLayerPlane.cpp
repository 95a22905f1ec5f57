#include "scene/CLayerPlane.h"

#include "Graphics/MatrixScope.h"
#include "core/CXmlNode.h"
#include "platform/CView.h"
#include "scene/LayerKindMap.h"

#include <GLES/gl.h>

namespace
{
[[maybe_unused]] const bool s_registered = LayerKindMap::Register("Plane", &CLayerPlane::Make);
}

CLayerPlane::CLayerPlane() : CLayer("CLayerPlane") {}

CRef<CLayer> CLayerPlane::Make()
{
    return MakeRef<CLayerPlane>();
}

void CLayerPlane::Load(CXmlNode& element)
{
    CLayer::Load(element);
    const CString& target = element.GetAttribute("effectaffect");
    if (!target.empty())
        m_effect = MakeRef<CEffectAffect>(target);
}

void CLayerPlane::Draw()
{
    if (!m_quad.material)
        return;
    Place();
    if (m_fit == kFitExact)
    {
        const CView pixels(CView::kPixels);
        m_quad.Draw();
    }
    else
    {
        const MatrixScope matrix;
        const Vector2<float> offset = GetOffset();
        glTranslatef(offset.x, offset.y, 0.0f);
        m_quad.Draw();
    }
    // Held for the call: the target's reaction may reload the pond and release this layer.
    if (const CRef<CEffectAffect> effect = m_effect)
        effect->Invoke();
}
