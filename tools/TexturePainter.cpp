// Writes every texture of the game as "<folder>/<name>.png".
// Usage: TexturePainter <folder>
#include "tools/CSoundSynth.h"
#include "tools/CTexturePainter.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: TexturePainter <output folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
    {
        std::fprintf(stderr, "TexturePainter: cannot make %s: %s\n", folder.c_str(), error.message().c_str());
        return 1;
    }
    for (const std::string& name : CTexturePainter::Names())
    {
        const std::string path = folder + "/" + name + ".png";
        const std::string png = CTexturePainter::EncodePng(CTexturePainter::Paint(name));
        // The sound tool's writer: through "<path>.tmp" and a rename, so no half file is left.
        if (png.empty() || !CSoundSynth::WriteFile(path, png))
        {
            std::fprintf(stderr, "TexturePainter: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
