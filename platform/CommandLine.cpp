#include "platform/CommandLine.h"

#include <cstdlib>
#include <cstring>

std::optional<std::string> CommandLine::PositionOf(const char* argument)
{
    if (!argument)
        return std::nullopt;
    const char* equals = strchr(argument, '=');
    if (!equals || size_t(equals - argument) != strlen("position") || strncmp(argument, "position", 8) != 0)
        return std::nullopt;
    const char* value = equals + 1;
    const size_t length = strlen(value);
    if (length == 0 || length > kMaxPositionLength)
        return std::nullopt;
    return std::string(value, length);
}

void CommandLine::Apply(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
    {
        if (const std::optional<std::string> position = PositionOf(argv[i]))
            setenv("SDL_VIDEO_WINDOW_POS", position->c_str(), 1);
    }
}
