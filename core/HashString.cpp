#include "core/HashString.h"

#include <cstring>

namespace
{
uint32_t Read16(const unsigned char* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8);
}
}

uint32_t HashString(const char* text)
{
    if (!text || !*text)
        return 0;
    const size_t length = std::strlen(text);
    const unsigned char* data = reinterpret_cast<const unsigned char*>(text);
    uint32_t hash = uint32_t(length);
    size_t blocks = length >> 2;
    const size_t rest = length & 3;
    for (; blocks > 0; --blocks, data += 4)
    {
        hash += Read16(data);
        const uint32_t tmp = (Read16(data + 2) << 11) ^ hash;
        hash = (hash << 16) ^ tmp;
        hash += hash >> 11;
    }
    switch (rest)
    {
    case 3:
        hash += Read16(data);
        hash ^= hash << 16;
        hash ^= uint32_t(data[2]) << 18;
        hash += hash >> 11;
        break;
    case 2:
        hash += Read16(data);
        hash ^= hash << 11;
        hash += hash >> 17;
        break;
    case 1:
        hash += data[0];
        hash ^= hash << 10;
        hash += hash >> 1;
        break;
    }
    hash ^= hash << 3;
    hash += hash >> 5;
    hash ^= hash << 4;
    hash += hash >> 17;
    hash ^= hash << 25;
    hash += hash >> 6;
    return hash;
}
