#include "wiring/GameWiring.h"
#include "wiring/OpenSeams.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
bool Lists(const std::vector<std::string>& faults, const std::string& line)
{
    return std::find(faults.begin(), faults.end(), line) != faults.end();
}
} // namespace

// The check tells an installed seam from one at its default; with every piece of the game built,
// nothing waits (the program's own start-up, with the platform layer, is checked by a program
// test).
TEST(OpenSeamsTest, NamesEverySeamTheWiringLeavesOpen)
{
    GameWiring::Uninstall();
    std::vector<std::string> faults = OpenSeams::Check();
    EXPECT_TRUE(Lists(faults, "open: CPlayServices::CreatePond"));
    EXPECT_TRUE(Lists(faults, "open: CLayerBoard::SetFlyLoader"));
    EXPECT_TRUE(Lists(faults, "open: CModeFrontEnd::SetMenuHooks.makePond"));
    EXPECT_TRUE(Lists(faults, "open: CPlayServices::RunTutorial"));
    EXPECT_TRUE(OpenSeams::WaitingList().empty());

    GameWiring::Install();
    faults = OpenSeams::Check();
    EXPECT_FALSE(Lists(faults, "open: CPlayServices::CreatePond"));
    EXPECT_FALSE(Lists(faults, "open: CLayerBoard::SetFlyLoader"));
    EXPECT_FALSE(Lists(faults, "open: CModeFrontEnd::SetMenuHooks.makePond"));

    EXPECT_FALSE(Lists(faults, "open: CPlayServices::RunTutorial"));
    GameWiring::Uninstall();
}
