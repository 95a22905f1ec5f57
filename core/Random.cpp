#include "core/Random.h"

#include <ctime>

namespace
{
// Constant-initialised (constexpr constructor), so it is valid before any dynamic
// initialiser of any translation unit runs.
Random g_random;

struct SeedGlobalFromTime
{
    SeedGlobalFromTime() { g_random.SeedFromTime(); }
};
SeedGlobalFromTime g_seedGlobalFromTime;

// Clockwise from (0, 1) when y points up.
constexpr Vector2<int> kKingSteps[8] = {{0, 1}, {1, 1}, {1, 0}, {1, -1}, {0, -1}, {-1, -1}, {-1, 0}, {-1, 1}};
} // namespace

void Random::Seed(uint32_t value)
{
    m_state[0] = value;
    for (uint32_t i = 1; i < uint32_t(kWords); ++i)
        m_state[i] = 1812433253u * (m_state[i - 1] ^ (m_state[i - 1] >> 30)) + i;
    m_index = kWords;
}

void Random::SeedFromTime()
{
    Seed(uint32_t(std::time(nullptr)));
}

uint32_t Random::Next()
{
    if (m_index == kUnseeded)
        Seed(5489u);
    if (m_index >= kWords)
        Regenerate();
    uint32_t y = m_state[m_index++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9d2c5680u;
    y ^= (y << 15) & 0xefc60000u;
    y ^= y >> 18;
    return y;
}

uint32_t Random::NextBelow(uint32_t n)
{
    const uint32_t r = Next();
    return n == 0 ? 0 : r % n;
}

double Random::NextFraction()
{
    return Next() / 4294967296.0;
}

Vector2<int> Random::NextDirection()
{
    return kKingSteps[Next() & 7u];
}

void Random::Regenerate()
{
    constexpr int kShift = 397;
    for (int i = 0; i < kWords; ++i)
    {
        const uint32_t y = (m_state[i] & 0x80000000u) | (m_state[(i + 1) % kWords] & 0x7fffffffu);
        m_state[i] = m_state[(i + kShift) % kWords] ^ (y >> 1) ^ ((y & 1u) ? 0x9908b0dfu : 0u);
    }
    m_index = 0;
}

Random& GlobalRandom()
{
    return g_random;
}
