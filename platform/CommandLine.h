#pragma once
// The program's arguments. Only "position=<x>,<y>" means anything: it places the window through
// SDL's SDL_VIDEO_WINDOW_POS; every other argument is ignored.
#include <optional>
#include <string>

class CommandLine
{
  public:
    // Longest window position value taken, in characters.
    static constexpr size_t kMaxPositionLength = 99;

    // The window position one argument asks for: the text after "position=" when it is 1 to
    // kMaxPositionLength characters long; none for any other argument.
    static std::optional<std::string> PositionOf(const char* argument);
    // Sets SDL_VIDEO_WINDOW_POS from the last position argument; the environment keeps its own
    // copy, so nothing here must outlive the call.
    static void Apply(int argc, char** argv);
};
