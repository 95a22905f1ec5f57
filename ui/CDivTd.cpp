#include "ui/CDivTd.h"

#include "Graphics/CGraphics.h"
#include "core/CXmlNode.h"
#include "core/Colour.h"
#include "core/TextFields.h"
#include "ui/CDivLine.h"
#include "ui/CDivTable.h"

namespace
{
const bool s_registered = (CDiv::RegisterTag("Td", &CDivTd::Create), true);
} // namespace

CDivTd::CDivTd() : CDiv("td") {}

CRef<CDiv> CDivTd::Create()
{
    return MakeRef<CDivTd>();
}

void CDivTd::Load(CXmlNode* element)
{
    CDiv::Load(element);
    m_columnSpan = 1;
    if (!element)
        return;
    m_backgroundColour = ParseColourText(element->GetAttribute("bgcolor").c_str(), kUnsetVector4f);
    const CString& span = element->GetAttribute("colspan");
    if (!span.empty())
        m_columnSpan = ParseInt(span.c_str());
    CDivTable::ReadCellSpacing(*element, m_margin, m_padding);
}

void CDivTd::LayoutContent()
{
    m_lines = CDivLine::Create(nullptr, kZeroVector2f, GetInnerWidth());
    CRef<CDivLine> current = m_lines;
    for (const CRef<CDiv>& child : m_children)
    {
        if (!child)
            break;
        current = child->Layout(current);
    }
    const Vector4<float> pad = GetPadding();
    const Vector2<float> extent = m_lines->Extent();
    m_computedSize = Vector2<float>(extent.x + pad.x + pad.z, extent.y + pad.y + pad.w);
    // Placed where the cell already is; SetPosition moves it along from here on.
    m_lines->MoveTo(m_position + Vector2<float>(pad.x, pad.y));
}

void CDivTd::SetPosition(const Vector2<float>& position)
{
    m_position = position;
    if (m_lines)
    {
        const Vector4<float> pad = GetPadding();
        m_lines->MoveTo(position + Vector2<float>(pad.x, pad.y));
    }
}

void CDivTd::Draw()
{
    const Vector4<float> colour =
        m_backgroundColour != kUnsetVector4f ? m_backgroundColour
                                             : (GetParent() ? GetParent()->GetBackgroundColour() : kZeroVector4f);
    if (colour.w != 0.0f)
        CGraphics::Instance()->FillRect(
            m_position, m_position + Vector2<float>(m_computedSize.x + m_trailingGap.x, m_computedSize.y), colour);
    CDiv::Draw();
}

Vector4<float> CDivTd::GetMargin()
{
    CDiv* parent = GetParent();
    return CDivTable::InheritSides(m_margin, GetScale(), parent ? parent->GetMargin() : kZeroVector4f);
}

Vector4<float> CDivTd::GetPadding()
{
    CDiv* parent = GetParent();
    return CDivTable::InheritSides(m_padding, GetScale(), parent ? parent->GetPadding() : kZeroVector4f);
}

Vector4<float> CDivTd::GetBackgroundColour()
{
    return kZeroVector4f;
}
