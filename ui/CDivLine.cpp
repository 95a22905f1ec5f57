#include "ui/CDivLine.h"

#include "ui/CDiv.h"

#include <algorithm>

CRef<CDivLine> CDivLine::Create(CDivLine* previous, const Vector2<float>& origin, float maxWidth)
{
    CRef<CDivLine> line = MakeRef<CDivLine>();
    line->m_origin = origin;
    line->m_pen = origin;
    line->m_maxWidth = maxWidth;
    if (previous)
        line->m_previous.Set(previous);
    return line;
}

Vector2<float> CDivLine::NextOrigin() const
{
    return Vector2<float>(0.0f, m_pen.y + m_height);
}

CRef<CDivLine> CDivLine::AddItem(CDiv* item)
{
    const bool isBox = item->IsBox();
    const bool breaks = m_afterBox || isBox;
    m_afterBox = isBox;
    const Vector2<float> size = item->GetSize();
    // Strictly greater: an item exactly as wide as the room left stays on the line.
    if (!m_items.empty() && (breaks || m_pen.x + size.x > m_maxWidth))
        return StartNextLine()->AddItem(item);

    m_items.emplace_back(item);
    item->SetLine(this);
    item->SetPosition(m_pen);
    m_rightEdge = m_pen.x + size.x;

    if (size.y > m_height || item->GetLineDescent() > m_maxDescent)
    {
        m_height = std::max(m_height, size.y);
        m_maxDescent = std::max(m_maxDescent, item->GetLineDescent());
        for (const CRef<CDiv>& each : m_items)
        {
            each->SetLineHeight(m_height);
            each->SetLineDescent(m_maxDescent);
        }
    }
    else
    {
        item->SetLineHeight(m_height);
        item->SetLineDescent(m_maxDescent);
    }

    m_bounds.x = std::min(m_bounds.x, m_pen.x);
    m_bounds.y = std::min(m_bounds.y, m_pen.y);
    m_bounds.z = std::max(m_bounds.z, m_pen.x + size.x);
    m_bounds.w = std::max(m_bounds.w, m_pen.y + size.y);
    m_pen.x += size.x + item->GetTrailingGap().x;
    return CRef<CDivLine>(this);
}

void CDivLine::AddItemInPlace(CDiv* item)
{
    m_items.emplace_back(item);
    item->SetLine(this);
    item->SetPosition(m_pen);
}

CRef<CDivLine> CDivLine::Advance(const Vector2<float>& delta)
{
    CRef<CDivLine> line(this);
    if (delta == kZeroVector2f)
        return line;
    if (!m_items.empty())
        line = StartNextLine();
    line->m_pen += delta;
    line->m_bounds = Vector4<float>(line->m_pen.x, line->m_pen.y, line->m_pen.x, line->m_pen.y);
    return line;
}

Vector2<float> CDivLine::Extent() const
{
    Vector2<float> corner(m_bounds.z, m_bounds.w);
    for (const CDivLine* line = m_next.Get(); line; line = line->m_next.Get())
    {
        corner.x = std::max(corner.x, line->m_bounds.z);
        corner.y = std::max(corner.y, line->m_bounds.w);
    }
    return corner - m_origin;
}

void CDivLine::Move(const Vector2<float>& delta)
{
    if (delta == kZeroVector2f)
        return;
    for (CDivLine* line = this; line; line = line->m_next.Get())
    {
        line->m_offset += delta;
        for (const CRef<CDiv>& item : line->m_items)
        {
            if (!item)
                continue;
            if (item->GetPositionMode() == CDiv::kPositionAbsolute)
                return;
            item->Move(delta);
        }
    }
}

void CDivLine::MoveTo(const Vector2<float>& target)
{
    Move(target - m_offset);
}

CRef<CDivLine> CDivLine::NewLineBelow()
{
    return StartNextLine();
}

void CDivLine::DrawItems()
{
    for (CDivLine* line = this; line; line = line->m_next.Get())
        for (const CRef<CDiv>& item : line->m_items)
            if (item && item->IsActive())
                item->Draw();
}

void CDivLine::AlignLines(float width, int32_t hAlign, float dy)
{
    for (CDivLine* line = this; line; line = line->m_next.Get())
    {
        const float free = line->m_maxWidth - line->m_rightEdge;
        const float dx = hAlign == CDiv::kAlignMiddle ? free * 0.5f : hAlign == CDiv::kAlignEnd ? free : 0.0f;
        const Vector2<float> delta(dx, dy);
        if (delta == kZeroVector2f)
            continue;
        for (const CRef<CDiv>& item : line->m_items)
        {
            if (!item)
                continue;
            // A box carries its own line stack: moving only its position would leave its
            // content behind.
            if (item->IsBox())
                item->Move(delta);
            else
                item->SetPosition(item->GetPosition() + delta);
        }
    }
}

CRef<CDivLine> CDivLine::StartNextLine()
{
    m_next = Create(this, NextOrigin(), m_maxWidth);
    return m_next;
}
