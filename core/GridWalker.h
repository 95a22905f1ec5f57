#pragma once
// Steps through the cells of an integer grid along the straight line from a start
// cell to a target, one cell per step on the longer axis, in any of the eight octants.
// Invariant: Current() is the cell of step StepIndex() (0 = start, StepCount() = target).
// Coordinates must stay within +-2^30 so that the offset fits an int.
#include "core/Vector2.h"

class GridWalker
{
  public:
    GridWalker(const Vector2<int>& start, const Vector2<int>& target);

    const Vector2<int>& Current() const { return m_current; }
    int StepIndex() const { return m_step; }
    // max(|dx|, |dy|): the number of Step calls from the start to the target.
    int StepCount() const { return m_count; }
    bool IsDone() const { return m_step >= m_count; }
    // Moves to the next cell; false, staying put, when already at the target.
    bool Step();

  private:
    Vector2<int> CellAt(int step) const;

    Vector2<int> m_start;
    Vector2<int> m_offset; // target - start
    Vector2<int> m_current;
    int m_step;
    int m_count;
};
