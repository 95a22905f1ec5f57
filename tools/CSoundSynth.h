#pragma once
// Makes the game's sound samples and music tracks from small recipes (tones, sweeps, filtered
// noise), as 16-bit mono PCM WAV files. Invariant: the output depends on nothing but the name, so
// every build writes the same bytes.
#include <cstdint>
#include <string>
#include <vector>

class CSoundSynth
{
  public:
    static constexpr int32_t kRate = 22050; // samples per second

    // Every sample and track the game's audio document may name, file names without extension.
    static std::vector<std::string> Names();
    // Names whose file is a looping music track (rendered so that its end runs into its start).
    static bool IsTrack(const std::string& name);

    // The samples of the named sound; empty for an unknown name.
    static std::vector<int16_t> Render(const std::string& name);
    // A whole RIFF/WAVE file: PCM, one channel, 16 bits, little-endian.
    static std::string EncodeWav(const std::vector<int16_t>& samples, int32_t rate);
    // Writes through "<path>.tmp" and a rename, so a stopped build never leaves half a file.
    static bool WriteFile(const std::string& path, const std::string& bytes);
};
