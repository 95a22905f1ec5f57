// Writes every sound sample and music track of the game as "<folder>/<name>.wav".
// Usage: SoundSynth <folder>
#include "tools/CSoundSynth.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: SoundSynth <output folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
    {
        std::fprintf(stderr, "SoundSynth: cannot make %s: %s\n", folder.c_str(), error.message().c_str());
        return 1;
    }
    for (const std::string& name : CSoundSynth::Names())
    {
        const std::string path = folder + "/" + name + ".wav";
        if (!CSoundSynth::WriteFile(path,
                                    CSoundSynth::EncodeWav(CSoundSynth::Render(name), CSoundSynth::kRate)))
        {
            std::fprintf(stderr, "SoundSynth: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
