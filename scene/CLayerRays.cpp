#include "scene/CLayerRays.h"

#include "Graphics/MatrixScope.h"
#include "core/CXmlNode.h"
#include "scene/CPond.h"
#include "scene/LayerKindMap.h"

#include <GLES/gl.h>

namespace
{
[[maybe_unused]] const bool s_registered = LayerKindMap::Register("Rays", &CLayerRays::Make);
}

CLayerRays::CLayerRays() : CLayer("CLayerRays") {}

CRef<CLayer> CLayerRays::Make()
{
    return MakeRef<CLayerRays>();
}

void CLayerRays::Load(CXmlNode& element)
{
    CLayer::Load(element);
    m_rays.clear();
    for (CXmlNode* child = element.FindChild("ray"); child; child = child->NextSiblingNamed("ray"))
        m_rays.push_back(CRay::Create(*child));
}

void CLayerRays::Draw()
{
    const MatrixScope matrix;
    const Vector2<float> offset = GetSpriteOffset();
    glTranslatef(offset.x, offset.y, 0.0f);
    const int32_t now = int32_t(CPond::GetLayerClock());
    for (const CRef<CRay>& ray : m_rays)
        ray->Draw(now);
}
