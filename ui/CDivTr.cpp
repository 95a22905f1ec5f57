#include "ui/CDivTr.h"

#include "ui/CDivTable.h"
#include "ui/CDivTd.h"

#include <algorithm>

namespace
{
const bool s_registered = (CDiv::RegisterTag("Tr", &CDivTr::Create), true);
} // namespace

CDivTr::CDivTr() : CDiv("tr") {}

CRef<CDiv> CDivTr::Create()
{
    return MakeRef<CDivTr>();
}

void CDivTr::MeasureColumns(std::vector<TableColumn>& columns)
{
    const std::vector<CDiv*> cells = Cells();
    for (size_t i = 0; i < cells.size(); ++i)
    {
        CDivTd* cell = static_cast<CDivTd*>(cells[i]);
        const bool fixed = cell->GetSpecifiedSize().x != kFloatMax;
        // Measured at the widest it may be: its content then takes its preferred width.
        if (!fixed)
            cell->SetComputedSize(Vector2<float>(GetInnerWidth(), 0.0f));
        cell->SetPosition(kZeroVector2f);
        cell->LayoutContent();
        const float width = cell->GetSize().x;
        if (i >= columns.size())
            columns.push_back(TableColumn{width, fixed});
        else if (fixed)
            columns[i] = TableColumn{width, true};
        else if (!columns[i].fixed)
            columns[i].width = std::max(columns[i].width, width);
    }
}

void CDivTr::LayoutCells(const std::vector<TableColumn>& columns)
{
    const Vector4<float> margin = GetMargin();
    const std::vector<CDiv*> cells = Cells();
    float x = 0.0f;
    float tallest = 0.0f;
    for (size_t i = 0; i < cells.size(); ++i)
    {
        CDivTd* cell = static_cast<CDivTd*>(cells[i]);
        x += margin.x;
        const float width = i < columns.size() ? columns[i].width : 0.0f;
        cell->SetComputedSize(Vector2<float>(width, 0.0f));
        cell->SetPosition(Vector2<float>(x, margin.y));
        cell->LayoutContent();
        x += width + margin.z;
        tallest = std::max(tallest, cell->GetSize().y);
    }
    for (size_t i = 0; i < cells.size(); ++i)
        cells[i]->SetComputedSize(Vector2<float>(i < columns.size() ? columns[i].width : 0.0f, tallest));
    m_computedSize = Vector2<float>(x - m_position.x, tallest + margin.y + margin.w);
}

void CDivTr::SetPosition(const Vector2<float>& position)
{
    m_position = position;
    const Vector4<float> margin = GetMargin();
    float x = position.x;
    for (CDiv* cell : Cells())
    {
        x += margin.x;
        cell->SetPosition(Vector2<float>(x, position.y + margin.y));
        x += cell->GetSize().x + margin.z;
    }
}

void CDivTr::Move(const Vector2<float>& delta)
{
    m_position += delta;
    for (const CRef<CDiv>& child : m_children)
        if (child)
            child->Move(delta);
}

void CDivTr::Draw()
{
    CDiv::Draw();
    for (const CRef<CDiv>& child : m_children)
        if (child)
            child->Draw();
}

Vector4<float> CDivTr::GetMargin()
{
    CDiv* parent = GetParent();
    return CDivTable::InheritSides(m_margin, GetScale(), parent ? parent->GetMargin() : kZeroVector4f);
}

Vector4<float> CDivTr::GetPadding()
{
    CDiv* parent = GetParent();
    return CDivTable::InheritSides(m_padding, GetScale(), parent ? parent->GetPadding() : kZeroVector4f);
}

std::vector<CDiv*> CDivTr::Cells() const
{
    return CDivTable::LeadingOfClass(*this, "td");
}
