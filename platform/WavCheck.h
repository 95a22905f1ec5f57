#pragma once
// Sound and music files are checked here before SDL_mixer sees them: the library trusts a WAV
// file's chunk lengths, and one whose lengths lie makes it read past its buffers or free memory
// twice. A file passes when every chunk lies within the file and its format is one the mixer
// plays (PCM, 8 or 16 bits, mono or stereo, a sane rate, one "fmt " before the "data").

#include "core/CString.h"

#include <string_view>

// Empty when the bytes are a playable WAV; otherwise what is wrong, in a few words.
CString CheckWav(std::string_view bytes);
// The same for a file; a file that cannot be read, or is larger than any sound the game ships
// (64 MiB), fails too.
CString CheckWavFile(const char* path);
