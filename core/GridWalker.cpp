#include "core/GridWalker.h"

#include <cstdint>
#include <cstdlib>

namespace
{
// round(step * minor / major) with halves rounded away from zero, so that the line from
// a to b visits the mirror image of the cells of the line from -a to -b.
int64_t RoundedShare(int64_t step, int64_t minor, int64_t major)
{
    const int64_t scaled = 2 * step * std::llabs(minor) + major;
    const int64_t share = scaled / (2 * major);
    return minor < 0 ? -share : share;
}
} // namespace

GridWalker::GridWalker(const Vector2<int>& start, const Vector2<int>& target)
    : m_start(start), m_offset(target - start), m_current(start), m_step(0),
      m_count(std::abs(m_offset.x) > std::abs(m_offset.y) ? std::abs(m_offset.x) : std::abs(m_offset.y))
{
}

bool GridWalker::Step()
{
    if (IsDone())
        return false;
    ++m_step;
    m_current = CellAt(m_step);
    return true;
}

Vector2<int> GridWalker::CellAt(int step) const
{
    // Each cell is computed afresh from the step, so the walk ends exactly on the target.
    const int64_t dx = m_offset.x;
    const int64_t dy = m_offset.y;
    if (std::llabs(dx) >= std::llabs(dy))
        return Vector2<int>(int(m_start.x + (dx < 0 ? -step : step)),
                            int(m_start.y + RoundedShare(step, dy, std::llabs(dx))));
    return Vector2<int>(int(m_start.x + RoundedShare(step, dx, std::llabs(dy))),
                        int(m_start.y + (dy < 0 ? -step : step)));
}
