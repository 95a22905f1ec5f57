#include "ui/CBorder.h"

#include "Graphics/CMaterialSet.h"
#include "core/CRules.h"
#include "core/CXmlNode.h"
#include "core/ReadColourAttribute.h"
#include "core/TextFields.h"
#include "platform/CView.h"

REGISTER_SINGLETON(CBorder, "global", 50);

namespace
{
constexpr const char* kScope = "global";
constexpr const char* kPass = "border";

// The ring round the open centre, whose corners are vertices 13, 1, 5 and 9.
constexpr uint16_t kTriangles[48] = {15, 13, 0,  0,  13, 1,  0,  1,  2,  2,  1,  3,  3,  1,  4,  4,
                                     1,  5,  4,  5,  6,  6,  5,  7,  7,  5,  8,  8,  5,  9,  8,  9,
                                     10, 10, 9,  11, 11, 9,  12, 12, 9,  13, 12, 13, 14, 14, 13, 15};
} // namespace

CBorder::CBorder()
{
    CRules* rules = CRules::Instance();
    if (const CXmlNode* root = rules->HasDocument() ? rules->GetRoot() : nullptr)
    {
        const CString material = root->GetAttribute("border/material");
        m_material = CMaterialSet::Instance()->Find(material.empty() ? CString("null") : material);
        m_uvOuter = ReadColourAttribute(root, "border/uvouter", Vector4<float>(0.0f, 0.0f, 1.0f, 1.0f));
        m_uvInner = ReadColourAttribute(root, "border/uvinner", Vector4<float>(0.1f, 0.1f, 0.9f, 0.9f));
        const CString thickness = root->GetAttribute("border/thickness");
        m_thickness = thickness.empty() ? 0.1f : float(ParseFloat(thickness.c_str()));
    }
    else
        m_material = CMaterialSet::Instance()->Find(CString());
    m_mesh.material = m_material;
    m_mesh.indices.assign(std::begin(kTriangles), std::end(kTriangles));
    m_mesh.colours.assign(16, Vector4<float>(1.0f, 1.0f, 1.0f, 1.0f));
    CDrawing::Register(kScope, kPass);
}

CBorder::~CBorder()
{
    CDrawing::Unregister(kScope, kPass);
}

void CBorder::DrawFrame()
{
    Instance()->Draw();
}

void CBorder::BuildFrame(const Vector4<int32_t>& viewport)
{
    const float l = float(viewport.x) - 1.0f;
    const float t = float(viewport.y) - 1.0f;
    const float r = float(viewport.x + viewport.z);
    const float b = float(viewport.y + viewport.w);
    const float h = float(viewport.w);
    const float k = m_thickness * h + 1.0f;
    const Vector2<float> corners[16] = {{l + k, t},     {r - k, t + k}, {r - k, t},     {r, t},
                                        {r, t + k},     {r - k, b - k}, {r, b - k},     {r, b},
                                        {r - k, b},     {l + k, b - k}, {l + k, b},     {l, b},
                                        {l, b - k},     {l + k, t + k}, {l, t + k},     {l, t}};
    const float e = h > 0.0f ? 1.0f / h : 0.0f;
    const float a0 = m_uvOuter.x - e, a1 = m_uvOuter.y - e, a2 = m_uvOuter.z + e, a3 = m_uvOuter.w + e;
    const float i0 = m_uvInner.x, i1 = m_uvInner.y, i2 = m_uvInner.z, i3 = m_uvInner.w;
    const Vector2<float> uvs[16] = {{i0, a1}, {i2, i1}, {i2, a1}, {a2, a1}, {a2, i1}, {i2, i3},
                                    {a2, i3}, {a2, a3}, {i2, a3}, {i0, i3}, {i0, a3}, {a0, a3},
                                    {a0, i3}, {i0, i1}, {a0, i1}, {a0, a1}};
    m_mesh.positions.clear();
    m_mesh.uvSets.assign(1, {});
    for (int i = 0; i < 16; ++i)
    {
        m_mesh.positions.emplace_back(corners[i].x, corners[i].y, 1.0f);
        m_mesh.uvSets[0].push_back(uvs[i]);
    }
}

void CBorder::Draw()
{
    if (m_mesh.positions.empty())
        BuildFrame(CView::GetCurrent().GetViewport());
    CView view(CView::kPixels);
    m_mesh.Draw();
}

void CBorder::Resize()
{
    m_mesh.positions.clear();
    m_mesh.uvSets.clear();
}
