#pragma once
// One line box of the flow layout: inline items side by side from the line's origin, the pen
// marking where the next one goes; a line that is full, or meets a box, continues on a new line
// below it. A box node owns the first line of its stack, each line the next one. Coordinates are
// the pane's layout pixels (x to the right, y downwards). Invariant: every item's line height and
// line descent equal the line's height and largest descent.
#include "core/CBase.h"
#include "core/CLink.h"
#include "core/CRef.h"
#include "core/Vector2.h"
#include "core/Vector4.h"

#include <vector>

class CDiv;

class CDivLine : public CBase
{
  public:
    // A new line whose pen starts at origin; previous (may be null) is the line above.
    static CRef<CDivLine> Create(CDivLine* previous, const Vector2<float>& origin, float maxWidth);

    // Where a line below this one starts: (0, pen y + height).
    Vector2<float> NextOrigin() const;
    // Places item at the pen, or on a new line below when it breaks (a box, the item after a
    // box, or an item that would end past the max width); an empty line takes any item. Returns
    // the line the item went on, which is the one to continue with.
    CRef<CDivLine> AddItem(CDiv* item);
    // Appends item at the pen without a break test and without moving the pen.
    void AddItemInPlace(CDiv* item);
    // Moves the pen by delta; a line with items first continues on a new line below. Returns the
    // line the pen is on. Nothing for a zero delta.
    CRef<CDivLine> Advance(const Vector2<float>& delta);
    // Size of the stack from this line down: the far corner of all their bounds, less this
    // line's origin.
    Vector2<float> Extent() const;
    // Moves this line and the lines below, with their items, by delta. An absolutely positioned
    // item is placed in root coordinates, and so is everything laid out after it: the walk stops
    // there.
    void Move(const Vector2<float>& delta);
    // Moves so that the total movement becomes target.
    void MoveTo(const Vector2<float>& target);
    // A new line below this one, made its next line (a forced line break).
    CRef<CDivLine> NewLineBelow();
    // Draws the active items of this line and the lines below.
    void DrawItems();
    // Shifts the items of this line and the lines below by the free space of each line (half of it
    // for centre, all for right) and by dy. width is the owner's width, kept for node kinds that
    // align by it; the free space is measured against each line's own max width.
    void AlignLines(float width, int32_t hAlign, float dy);

    float GetMaxWidth() const { return m_maxWidth; }
    float GetMaxDescent() const { return m_maxDescent; }
    float GetRightEdge() const { return m_rightEdge; }
    float GetHeight() const { return m_height; }
    // (min x, min y, max x, max y).
    const Vector4<float>& GetBounds() const { return m_bounds; }
    const Vector2<float>& GetOrigin() const { return m_origin; }
    const Vector2<float>& GetOffset() const { return m_offset; }
    const Vector2<float>& GetPen() const { return m_pen; }
    CDivLine* GetPrevious() const { return m_previous.Get(); }
    const CRef<CDivLine>& GetNext() const { return m_next; }
    const std::vector<CRef<CDiv>>& GetItems() const { return m_items; }

  private:
    // Starts a line at NextOrigin with the same max width and makes it the next line.
    CRef<CDivLine> StartNextLine();

    float m_maxWidth = 0.0f;
    float m_maxDescent = 0.0f;
    float m_rightEdge = 0.0f;
    float m_height = 0.0f;
    Vector4<float> m_bounds;
    Vector2<float> m_origin;
    Vector2<float> m_offset;
    Vector2<float> m_pen;
    bool m_afterBox = true;
    CLink<CDivLine> m_previous;
    CRef<CDivLine> m_next;
    std::vector<CRef<CDiv>> m_items;
};
