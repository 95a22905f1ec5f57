#include "ui/CDivImg.h"

#include "Graphics/CMaterial.h"
#include "Graphics/CMaterialSet.h"
#include "core/CXmlNode.h"
#include "core/Colour.h"
#include "core/TextFields.h"

#include <algorithm>

namespace
{
const bool s_registered = (CDiv::RegisterTag("Img", &CDivImg::Create), true);

constexpr Vector4<float> kWholeTexture(0.0f, 0.0f, 1.0f, 1.0f);
} // namespace

CDivImg::CDivImg() : CDiv("img")
{
    m_box = false;
    m_inline = true;
}

CRef<CDiv> CDivImg::Create()
{
    return MakeRef<CDivImg>();
}

void CDivImg::Load(CXmlNode* element)
{
    CDiv::Load(element);
    if (!element)
        return;
    const CString& source = element->GetAttribute("src");
    if (!source.empty())
        m_backgroundQuads.SetMaterial(CSingleton<CMaterialSet>::Instance()->Find(source));
    const CString& width = element->GetAttribute("width");
    if (!width.empty())
        m_specifiedSize.x = float(ParseFloat(width.c_str()));
    const CString& height = element->GetAttribute("height");
    if (!height.empty())
        m_specifiedSize.y = float(ParseFloat(height.c_str()));
    const uint32_t frame = uint32_t(ParseInt(element->GetAttribute("frame").c_str()));
    m_frame = m_frames.empty() ? 0 : std::min(frame, uint32_t(m_frames.size() - 1));
}

void CDivImg::Draw()
{
    const Vector2<float> kept = m_position;
    const float s = GetScale();
    if (IsPressed())
        m_position += Vector2<float>(-s, s);
    else if (IsRaised())
        m_position += Vector2<float>(s, -s);
    CDiv::Draw();
    if (m_frame < m_frames.size())
    {
        QuadBatch& frame = m_frames[m_frame];
        frame.translation = Vector3<float>(m_position.x, m_position.y, m_z);
        frame.scale = Vector2<float>(s, s);
        frame.Draw();
    }
    m_position = kept;
}

void CDivImg::LoadChildren(CXmlNode* element)
{
    m_frames.clear();
    if (!element)
        return;
    m_frames.reserve(size_t(element->CountChildren()));
    // A size left unset would make frames of the largest float: such an image has no frame area.
    const Vector2<float> size(m_specifiedSize.x != kFloatMax ? m_specifiedSize.x : 0.0f,
                              m_specifiedSize.y != kFloatMax ? m_specifiedSize.y : 0.0f);
    for (CXmlNode* child = element->FirstChild(); child; child = child->NextSibling())
    {
        if (child->GetName() == CXmlNode::kContentName)
            continue;
        QuadBatch& frame = m_frames.emplace_back();
        frame.SetMaterial(CSingleton<CMaterialSet>::Instance()->Find(child->GetAttribute("material")));
        frame.AddQuad(Vector4<float>(0.0f, 0.0f, size.x, size.y),
                      ParseColourText(child->GetAttribute("uvs").c_str(), kWholeTexture), kWhite);
    }
}
