#include "ui/CDivTable.h"

#include "core/CXmlNode.h"
#include "core/TextFields.h"
#include "ui/CDivLine.h"
#include "ui/CDivTr.h"

#include <algorithm>

namespace
{
const bool s_registered = (CDiv::RegisterTag("Table", &CDivTable::Create), true);
} // namespace

CDivTable::CDivTable() : CDiv("table") {}

CRef<CDiv> CDivTable::Create()
{
    return MakeRef<CDivTable>();
}

void CDivTable::Load(CXmlNode* element)
{
    CDiv::Load(element);
    if (element)
        ReadCellSpacing(*element, m_margin, m_padding);
}

CRef<CDivLine> CDivTable::Layout(CRef<CDivLine> line)
{
    m_computedSize = kZeroVector2f;
    if (!line)
        return line;
    const bool widthGiven = m_specifiedSize.x != kFloatMax;
    const float width = widthGiven ? m_specifiedSize.x * GetScale() : line->GetMaxWidth();
    const std::vector<CDiv*> rows = LeadingOfClass(*this, "tr");

    std::vector<TableColumn> preferred;
    MeasureRows(rows, width, preferred);
    const Vector4<float> margin = GetMargin();
    std::vector<TableColumn> narrowest;
    if (TotalWidth(preferred, margin) > width)
        MeasureRows(rows, 0.0f, narrowest);
    FitColumns(preferred, narrowest, width, widthGiven, margin);

    float y = 0.0f;
    float widest = 0.0f;
    float height = 0.0f;
    for (CDiv* row : rows)
    {
        y += margin.y;
        row->SetPosition(Vector2<float>(0.0f, y));
        static_cast<CDivTr*>(row)->LayoutCells(preferred);
        const Vector2<float> size = row->GetSize();
        y += margin.w + size.y;
        widest = std::max(widest, size.x);
        height += margin.y + size.y + margin.w;
    }
    m_computedSize = Vector2<float>(std::max(m_computedSize.x, widest), std::max(m_computedSize.y, height));

    CRef<CDivLine> current = line->AddItem(this);
    // A table with a fade of its own fades in again after every layout.
    if (m_transitionIn != kFloatMax && m_shown)
    {
        ShowTimed(false, 0.0f, 0.0f);
        Show(true);
    }
    return current;
}

void CDivTable::SetPosition(const Vector2<float>& position)
{
    m_position = position;
    const Vector4<float> margin = GetMargin();
    float y = position.y;
    for (CDiv* row : LeadingOfClass(*this, "tr"))
    {
        y += margin.y;
        row->SetPosition(Vector2<float>(position.x, y));
        y += row->GetSize().y + margin.w;
    }
}

void CDivTable::Move(const Vector2<float>& delta)
{
    m_position += delta;
    for (const CRef<CDiv>& child : m_children)
        if (child)
            child->Move(delta);
}

void CDivTable::Draw()
{
    CDiv::Draw();
    for (const CRef<CDiv>& child : m_children)
        if (child)
            child->Draw();
}

float CDivTable::TotalWidth(const std::vector<TableColumn>& columns, const Vector4<float>& margin)
{
    float total = 0.0f;
    for (const TableColumn& column : columns)
        total += margin.x + column.width + margin.z;
    return total;
}

void CDivTable::FitColumns(std::vector<TableColumn>& preferred, const std::vector<TableColumn>& narrowest,
                           float width, bool widthGiven, const Vector4<float>& margin)
{
    const float total = TotalWidth(preferred, margin);
    if (total <= width)
    {
        const auto loose = std::count_if(preferred.begin(), preferred.end(),
                                         [](const TableColumn& column) { return !column.fixed; });
        if (total < width && widthGiven && loose > 0)
            for (TableColumn& column : preferred)
                if (!column.fixed)
                    column.width += (width - total) / float(loose);
        return;
    }
    const float least = TotalWidth(narrowest, margin);
    if (!(total > least) || narrowest.size() != preferred.size())
        return;
    float give = 0.0f;
    for (size_t i = 0; i < preferred.size(); ++i)
        if (!preferred[i].fixed)
            give += preferred[i].width - narrowest[i].width;
    if (!(give > 0.0f))
        return;
    // Below the narrowest total the columns would end narrower than their content, even
    // negative: they stop at their narrowest and the table overflows instead.
    const float factor = std::max(0.0f, (width - least) / give);
    for (size_t i = 0; i < preferred.size(); ++i)
        if (!preferred[i].fixed)
            preferred[i].width = narrowest[i].width + (preferred[i].width - narrowest[i].width) * factor;
}

Vector4<float> CDivTable::InheritSides(const Vector4<float>& own, float scale, const Vector4<float>& parent)
{
    return Vector4<float>(own.x != kFloatMax ? own.x * scale : parent.x, own.y != kFloatMax ? own.y * scale : parent.y,
                          own.z != kFloatMax ? own.z * scale : parent.z, own.w != kFloatMax ? own.w * scale : parent.w);
}

void CDivTable::ReadCellSpacing(const CXmlNode& element, Vector4<float>& margin, Vector4<float>& padding)
{
    const CString& spacing = element.GetAttribute("cellspacing");
    if (!spacing.empty())
        margin = Vector4<float>(1, 1, 1, 1) * float(ParseFloat(spacing.c_str()));
    const CString& pad = element.GetAttribute("cellpadding");
    if (!pad.empty())
        padding = Vector4<float>(1, 1, 1, 1) * float(ParseFloat(pad.c_str()));
}

std::vector<CDiv*> CDivTable::LeadingOfClass(const CDiv& node, const char* className)
{
    std::vector<CDiv*> found;
    for (const CRef<CDiv>& child : node.GetChildren())
    {
        if (!child || child->GetClassName() != className)
            break;
        found.push_back(child.Get());
    }
    return found;
}

void CDivTable::MeasureRows(const std::vector<CDiv*>& rows, float width, std::vector<TableColumn>& columns)
{
    for (CDiv* row : rows)
    {
        row->SetComputedSize(Vector2<float>(width, 0.0f));
        static_cast<CDivTr*>(row)->MeasureColumns(columns);
    }
}
