#pragma once
// Marks a list as walked for the length of a scope: while the counter is non-zero, the list's
// owner only clears entries instead of erasing them, so a walk by index never skips or repeats
// one. Nests (a callback may start another walk of the same list).
#include <cstdint>

class WalkMark
{
  public:
    explicit WalkMark(int32_t& counter) : m_counter(counter) { ++m_counter; }
    ~WalkMark() { --m_counter; }
    WalkMark(const WalkMark&) = delete;
    WalkMark& operator=(const WalkMark&) = delete;

  private:
    int32_t& m_counter;
};
