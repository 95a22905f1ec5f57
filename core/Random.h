#pragma once
// The Mersenne Twister (MT19937) behind every random decision: scheduling jitter,
// particle and creature variation. Invariant: index is 0..624 for a seeded generator
// (624 = regenerate before the next output) or 625 for one never seeded, which seeds
// itself with 5489 on first use. The constructor is constexpr, so a generator at
// namespace scope is usable from any static initialiser, even before its own.
#include "core/Vector2.h"

#include <cstdint>

class Random
{
  public:
    constexpr Random() : m_state{}, m_index(kUnseeded) {}

    void Seed(uint32_t value);
    // Seeds with time(NULL) (seconds since the epoch), so that every run differs.
    void SeedFromTime();

    uint32_t Next();
    // Below n, by modulo of the next output (0 when n is 0). Unsigned, so any interval works.
    uint32_t NextBelow(uint32_t n);
    // Next() / 2^32 in [0, 1). A double, because the largest outputs round to 1 in float.
    double NextFraction();
    // One of the eight king steps, chosen by the low three bits of the next output:
    // 0 (0, 1), 1 (1, 1), 2 (1, 0), 3 (1, -1), 4 (0, -1), 5 (-1, -1), 6 (-1, 0), 7 (-1, 1).
    Vector2<int> NextDirection();

  private:
    static constexpr int kWords = 624;
    static constexpr int32_t kUnseeded = kWords + 1;

    void Regenerate();

    uint32_t m_state[kWords];
    int32_t m_index;
};

// The one generator for all game decisions. Seeded from the time at start-up; tests that
// depend on randomness Seed it first.
Random& GlobalRandom();
