#include "core/HashString.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace
{
// Paul Hsieh's published SuperFastHash, as printed, with its starting value exposed.
// Its trailing bytes are read through signed char, so it agrees with ours on ASCII only.
uint32_t Get16(const char* d)
{
    return (uint32_t(uint8_t(d[1])) << 8) + uint32_t(uint8_t(d[0]));
}

uint32_t Reference(const char* data, int len, uint32_t hash)
{
    if (len <= 0 || data == nullptr)
        return 0;
    const int rem = len & 3;
    for (len >>= 2; len > 0; len--)
    {
        hash += Get16(data);
        const uint32_t tmp = (Get16(data + 2) << 11) ^ hash;
        hash = (hash << 16) ^ tmp;
        data += 4;
        hash += hash >> 11;
    }
    switch (rem)
    {
    case 3:
        hash += Get16(data);
        hash ^= hash << 16;
        hash ^= uint32_t(int32_t(static_cast<signed char>(data[2])) << 18);
        hash += hash >> 11;
        break;
    case 2:
        hash += Get16(data);
        hash ^= hash << 11;
        hash += hash >> 17;
        break;
    case 1:
        hash += uint32_t(int32_t(static_cast<signed char>(*data)));
        hash ^= hash << 10;
        hash += hash >> 1;
    }
    hash ^= hash << 3;
    hash += hash >> 5;
    hash ^= hash << 4;
    hash += hash >> 17;
    hash ^= hash << 25;
    hash += hash >> 6;
    return hash;
}
} // namespace

TEST(HashString, MatchesSuperFastHash)
{
    EXPECT_EQ(HashString(""), 0u);
    EXPECT_EQ(HashString(nullptr), 0u);

    // Every remainder of length mod 4, and names the program uses.
    std::string text;
    for (char c = 'a'; c <= 'z'; ++c)
    {
        text += c;
        EXPECT_EQ(HashString(text.c_str()), Reference(text.c_str(), int(text.size()), uint32_t(text.size())))
            << text;
    }
    for (const char* name : {"global", "hanging", "frontend", "maingame", "nuke", "MainGame", "CStartup",
                             "interval/animation", "~!@#$%^&*()_+{}|:<>?"})
        EXPECT_EQ(HashString(name),
                  Reference(name, int(std::string(name).size()), uint32_t(std::string(name).size())))
            << name;
    EXPECT_NE(HashString("global"), HashString("Global"));

    // A one-letter name starts from its length, 1.
    EXPECT_EQ(HashString("g"), Reference("g", 1, 1));
    EXPECT_NE(HashString("g"), Reference("g", 1, 0));
}
