#include "platform/CommandLine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

TEST(CommandLineTest, PositionArgument)
{
    EXPECT_EQ(CommandLine::PositionOf("position=10,20"), std::optional<std::string>("10,20"));
    EXPECT_EQ(CommandLine::PositionOf(("position=" + std::string(99, '1')).c_str()),
              std::optional<std::string>(std::string(99, '1')));
    // A value of 100 characters or more, no value, or no "=" asks for nothing.
    EXPECT_FALSE(CommandLine::PositionOf(("position=" + std::string(100, '1')).c_str()));
    EXPECT_FALSE(CommandLine::PositionOf("position="));
    EXPECT_FALSE(CommandLine::PositionOf("position"));
    EXPECT_FALSE(CommandLine::PositionOf("positions=1,2"));
    EXPECT_FALSE(CommandLine::PositionOf("size=1,2"));
    EXPECT_FALSE(CommandLine::PositionOf(nullptr));
}

TEST(CommandLineTest, ApplySetsTheWindowPositionAndOutlivesTheArguments)
{
    unsetenv("SDL_VIDEO_WINDOW_POS");
    {
        std::string first = "frogpond", ignored = "position", wanted = "position=10,20";
        char* argv[] = {first.data(), ignored.data(), wanted.data()};
        CommandLine::Apply(3, argv);
        // The environment keeps its own copy: the argument's storage may go.
        wanted.assign(wanted.size(), 'x');
    }
    ASSERT_NE(getenv("SDL_VIDEO_WINDOW_POS"), nullptr);
    EXPECT_STREQ(getenv("SDL_VIDEO_WINDOW_POS"), "10,20");
    unsetenv("SDL_VIDEO_WINDOW_POS");
}
