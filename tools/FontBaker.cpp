// Bakes every bitmap font of the game into "<folder>", with glyphs for every character of the
// given text documents besides the usual set.
// Usage: FontBaker <output folder> <TrueType folder> [text document ...]
#include "tools/CFontBaker.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 3)
    {
        std::fprintf(stderr, "usage: FontBaker <output folder> <TrueType folder> [text document ...]\n");
        return 2;
    }
    std::vector<uint32_t> extra;
    for (int i = 3; i < argc; ++i)
    {
        std::ifstream stream(argv[i], std::ios::binary);
        if (!stream)
        {
            std::fprintf(stderr, "FontBaker: cannot read %s\n", argv[i]);
            return 1;
        }
        const std::string text((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
        const std::vector<uint32_t> found = CFontBaker::NonAsciiCodePoints(text);
        extra.insert(extra.end(), found.begin(), found.end());
    }
    std::string error;
    if (!CFontBaker::BakeAll(argv[2], argv[1], CFontBaker::CodePoints(extra), error))
    {
        std::fprintf(stderr, "FontBaker: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
