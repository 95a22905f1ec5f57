#include "puzzle/CPlayServices.h"
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

// The check tells an installed seam from one at its default, and a stale waiting entry.
TEST(OpenSeamsTest, NamesEverySeamTheWiringLeavesOpen)
{
    GameWiring::Uninstall();
    std::vector<std::string> faults = OpenSeams::Check();
    EXPECT_TRUE(Lists(faults, "open: CPlayServices::CreatePond"));
    EXPECT_TRUE(Lists(faults, "open: CLayerBoard::SetFlyLoader"));
    EXPECT_TRUE(Lists(faults, "open: CModeFrontEnd::SetMenuHooks.makePond"));
    EXPECT_FALSE(Lists(faults, "open: CPlayServices::RunTutorial")) << "waits for the tutorial";

    GameWiring::Install();
    faults = OpenSeams::Check();
    EXPECT_FALSE(Lists(faults, "open: CPlayServices::CreatePond"));
    EXPECT_FALSE(Lists(faults, "open: CLayerBoard::SetFlyLoader"));
    EXPECT_FALSE(Lists(faults, "open: CModeFrontEnd::SetMenuHooks.makePond"));

    // A fake that answers one waiting operation makes that entry stale.
    struct Tutorial : CPlayServices
    {
        void RunTutorial(const CString&) override {}
    } tutorial;
    CPlayServices* const installed = CPlayServices::Install(&tutorial);
    EXPECT_TRUE(Lists(OpenSeams::Check(), "installed but listed as waiting: CPlayServices::RunTutorial"));
    CPlayServices::Install(installed);
    GameWiring::Uninstall();
}
