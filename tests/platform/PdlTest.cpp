#include "platform/Pdl.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <unistd.h>

TEST(PdlTest, CallingPathIsTheExecutablesFolder)
{
    char buffer[PATH_MAX] = {};
    ASSERT_EQ(PDL_GetCallingPath(buffer, sizeof(buffer)), 0);
    const std::string folder = buffer;
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    char exe[PATH_MAX] = {};
    ASSERT_GT(readlink("/proc/self/exe", exe, sizeof(exe) - 1), 0);
    EXPECT_EQ(std::string(exe).rfind(folder, 0), 0u);

    // Too small a buffer fails and holds no partial path.
    char small[4] = {'x', 'x', 'x', 'x'};
    EXPECT_NE(PDL_GetCallingPath(small, sizeof(small)), 0);
    EXPECT_EQ(small[0], '\0');
    EXPECT_NE(PDL_GetCallingPath(nullptr, 10), 0);
}

TEST(PdlTest, BrowserTakesOnlyWebAddresses)
{
    // Refused before any process starts.
    EXPECT_NE(PDL_LaunchBrowser(nullptr), 0);
    EXPECT_NE(PDL_LaunchBrowser("file:///etc/passwd"), 0);
    EXPECT_NE(PDL_LaunchBrowser("--help"), 0);
    PDL_Quit();
}
