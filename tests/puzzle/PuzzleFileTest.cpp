#include "PlayFixture.h"
#include "puzzle/PuzzleDescription.h"
#include "puzzle/PuzzleListing.h"

using PlayData::Step;

namespace
{
class PuzzleFileTest : public PlayFixture
{
};

Pose PoseOf(const char* text)
{
    Pose pose;
    Pose::FromText(text, pose);
    return pose;
}
} // namespace

TEST(PuzzleDescriptionTest, ReadsEveryFieldWithItsDefault)
{
    PuzzleDescription d;
    ASSERT_TRUE(d.Parse(PlayData::TinyPuzzle("Tiny"), "puzzle1000"));
    EXPECT_EQ(d.title, "Tiny");
    EXPECT_EQ(d.unlocks, 2);
    EXPECT_EQ(d.category, 3);
    EXPECT_EQ(d.species, "d-azureus");
    EXPECT_EQ(d.knobs.size(), 10u);
    EXPECT_EQ(d.knobs.front(), Vector2<int>(2, 3));
    EXPECT_EQ(d.home, Step(0));
    EXPECT_EQ(d.goal, Step(4));
    EXPECT_EQ(d.pondPosition, Vector2<float>(0.5f, 0.0f));
    EXPECT_EQ(d.pondTemplate, "lily");
    EXPECT_FLOAT_EQ(d.difficulty, 0.1f);
    EXPECT_EQ(d.par, 4);
    EXPECT_EQ(d.hintSteps.size(), 5u);
    EXPECT_TRUE(d.instructions.empty());

    // Defaults: title from the name, 5 unlocks, par 15 without a hint, the "fallback" pond.
    // "3" is (3, 3), ",2" is (0, 2), a repeated cell is one knob.
    ASSERT_TRUE(d.Parse("<p><layout><knob position=\"3\"/><knob position=\",2\"/><knob position=\"3,3\"/>"
                        "</layout><home pose=\"33322322\"/><goal pose=\"13120302\"/></p>",
                        "puzzle1007"));
    EXPECT_EQ(d.title, "puzzle1007");
    EXPECT_EQ(d.unlocks, 5);
    EXPECT_EQ(d.category, 0);
    EXPECT_EQ(d.knobs, (std::vector<Vector2<int>>{{3, 3}, {0, 2}}));
    EXPECT_EQ(d.par, 15);
    EXPECT_FLOAT_EQ(d.difficulty, 0.5f);
    EXPECT_EQ(d.pondTemplate, "fallback");
    EXPECT_EQ(d.pondPosition, Vector2<float>(0.0f, 0.0f));

    // One step is par 0, which becomes 15; an empty difficulty is 0.5; a step that does not read
    // is left out; a pond without template has none, and "2" places it at (2, 2).
    ASSERT_TRUE(
        d.Parse("<p unlocks=\"x\"><layout/><home pose=\"33322322\"/><goal pose=\"13120302\"/>"
                "<hint instructions=\"tutorial/first\" difficulty=\"\"><step pose=\"33322322\"/></hint>"
                "<pond position=\"2\"/></p>",
                "n"));
    EXPECT_EQ(d.unlocks, 0);
    EXPECT_EQ(d.par, 15);
    EXPECT_FLOAT_EQ(d.difficulty, 0.5f);
    EXPECT_EQ(d.instructions, "tutorial/first");
    EXPECT_EQ(d.pondTemplate, "");
    EXPECT_EQ(d.pondPosition, Vector2<float>(2.0f, 2.0f));
    ASSERT_TRUE(
        d.Parse("<p><layout/><home pose=\"33322322\"/><goal pose=\"13120302\"/>"
                "<hint><step pose=\"33322322\"/><step pose=\"3332232\"/><step pose=\"13120302\"/></hint></p>",
                "n"));
    EXPECT_EQ(d.par, 2);
    EXPECT_EQ(d.hintSteps, (std::vector<Pose>{PoseOf("33322322"), PoseOf("13120302")}));

    // Required: the layout and valid home and goal poses.
    EXPECT_FALSE(d.Parse("<p><home pose=\"33322322\"/><goal pose=\"13120302\"/></p>", "n"));
    EXPECT_FALSE(d.Parse("<p><layout/><home pose=\"33322322\"/></p>", "n"));
    EXPECT_FALSE(d.Parse("<p><layout/><home pose=\"33322322\"/><goal pose=\"1312030\"/></p>", "n"));
    EXPECT_FALSE(d.Parse("<p><layout/><home pose=\"3332232Z\"/><goal pose=\"13120302\"/></p>", "n"));
    EXPECT_FALSE(d.Parse("<p><layout/><home pose=\"33322322\"/>", "n"));
}

TEST_F(PuzzleFileTest, LoadPlaysTheFileAndMarksHomeAndGoal)
{
    Start();
    CPuzzle* puzzle = CPuzzle::Instance();
    const uint32_t layout = puzzle->GetChangeCounter();
    ASSERT_TRUE(puzzle->Load("puzzle1000"));
    EXPECT_FALSE(puzzle->IsFallback());
    EXPECT_GT(puzzle->GetChangeCounter(), layout);
    EXPECT_EQ(puzzle->GetTitle(), "First hop");
    EXPECT_EQ(puzzle->GetUnlocks(), 2);
    EXPECT_EQ(puzzle->GetCategory(), 3);
    EXPECT_EQ(puzzle->GetPar(), 4);
    EXPECT_EQ(puzzle->GetHintSteps().size(), 5u);
    EXPECT_EQ(puzzle->GetKnobs().size(), 10u);
    EXPECT_EQ(puzzle->GetHistory(), std::vector<Pose>{Step(0)});
    EXPECT_EQ(m_services.skeleton.pose, Step(0));
    int marked = 0;
    for (const auto& [cell, knob] : puzzle->GetKnobs())
    {
        EXPECT_EQ(knob.active, 1);
        EXPECT_EQ(knob.centre, Vector2<float>(cell));
        marked += knob.homeOrGoalMark && knob.secondMark;
    }
    EXPECT_EQ(marked, 8);
    EXPECT_EQ(m_services.Count("species d-azureus"), 1);
    EXPECT_EQ(m_services.Count("pond lily"), 1);
    EXPECT_EQ(m_services.Count("view 0.5,0"), 1);
    EXPECT_EQ(puzzle->GetPondPosition(), Vector2<float>(0.5f, 0.0f));
    EXPECT_NE(puzzle->GetPond(), nullptr);
    EXPECT_EQ(Text("puz_title"), "First hop");
    EXPECT_EQ(Text("puz_rating"), "Easy");
}

TEST_F(PuzzleFileTest, AFileThatDoesNotLoadPlaysTheBuiltInPuzzleUnderItsName)
{
    m_folder.WriteFile("preferences.xml",
                       "<preferences currenthistory=\"63625352,63625332\" "
                       "currentpuzzle=\"puzzle1000\" puzzle1002=\"9,0.500000,60.000000,1,0\" "
                       "unlocked=\"1002\"/>\n");
    Start();
    m_folder.WriteFile("data/puzzle/puzzle1002.xml",
                       "<puzzle title=\"Broken\"><layout><knob position=\"1,1\"/>");
    m_folder.WriteFile("data/puzzle/puzzle1003.xml", "<puzzle><layout/><home pose=\"63625352\"/></puzzle>");
    CPuzzle* puzzle = CPuzzle::Instance();
    const Pose home = PoseOf("62615251"), goal = PoseOf("22211211");
    for (const char* name : {"puzzle1002", "puzzle1003", "puzzle1004"})
    {
        EXPECT_FALSE(puzzle->Load(name)) << name;
        EXPECT_TRUE(puzzle->IsFallback());
        EXPECT_EQ(puzzle->GetTitle(), name);
        EXPECT_EQ(puzzle->GetHome(), home);
        EXPECT_EQ(puzzle->GetGoal(), goal);
        EXPECT_EQ(puzzle->GetKnobs().size(), 35u);
        int inactive = 0;
        for (const auto& [cell, knob] : puzzle->GetKnobs())
            inactive += knob.active == 0;
        EXPECT_EQ(inactive, 4);
        EXPECT_EQ(puzzle->GetKnobAt({4, 6})->active, 0);
        EXPECT_EQ(puzzle->GetHistory(), std::vector<Pose>{home});
    }
    EXPECT_EQ(m_services.Count("pond fallback"), 3);

    // Played, the stand-in saves its state and records its win under the requested name: the
    // player moves on past the broken file. Its ungraded win never replaces a real record, even
    // one below the default score it wins with.
    EXPECT_FALSE(puzzle->Load("puzzle1002"));
    puzzle->RestoreHistory(1);
    EXPECT_EQ(puzzle->GetHistory(), std::vector<Pose>{home}) << "a history saved for another puzzle";
    const Pose step = PoseOf("62615241");
    EXPECT_TRUE(puzzle->LandPose(step));
    EXPECT_EQ(Preference("currentpuzzle"), "puzzle1002");
    EXPECT_EQ(Preference("currenthistory"), "62615251,62615241");
    EXPECT_TRUE(puzzle->LandPose(goal));
    EXPECT_EQ(m_services.Count("catch"), 1);
    EXPECT_EQ(Preference("currentpuzzle"), "puzzle1003");
    EXPECT_FALSE(puzzle->Load("puzzle1003"));
    EXPECT_TRUE(puzzle->LandPose(step));
    EXPECT_TRUE(puzzle->LandPose(goal));
    Restart();
    EXPECT_EQ(Preference("puzzle1002"), "9,0.500000,60.000000,1,0");
    EXPECT_EQ(Preference("puzzle1003"), "2,1.000000,0.000000,0,0") << "a first win is recorded";
    EXPECT_EQ(Preference("currentpuzzle"), "") << "past the last listed puzzle";
    EXPECT_EQ(Preference("currenthistory"), "");
    EXPECT_EQ(Preference("puzzle1004"), "");
}

TEST_F(PuzzleFileTest, ListingTextsNeverMakeThePuzzle)
{
    Start();
    CPuzzle::SetListingTexts("puzzle1000");
    EXPECT_FALSE(CPuzzle::Exists());
    EXPECT_EQ(Text("puz_title"), "First hop");
    EXPECT_EQ(Text("puz_par"), "4");
    EXPECT_EQ(Text("puz_best"), "Unsolved");
    EXPECT_EQ(Text("puz_rating"), "Easy");
    EXPECT_EQ(Text("puz_pond"), "Lily pond");
    EXPECT_EQ(Text("puz_frogname"), "Azure");
    EXPECT_EQ(Text("puz_species"), "Blue poison frog");

    // A best result shows its moves.
    CPuzzles::Record record;
    record.moves = 6;
    CPuzzles::Instance()->RecordResult("puzzle1000", record, 0);
    CPuzzle::SetListingTexts("puzzle1000");
    EXPECT_EQ(Text("puz_best"), "6");

    // The listing reads forward only: a frog before the hint, or no hint at all, is not found.
    m_folder.WriteFile("data/puzzle/puzzle1005.xml",
                       "<puzzle title=\"Odd\"><frog species=\"d-azureus\"/><hint difficulty=\"0.9\">"
                       "<step pose=\"63625352\"/><step pose=\"43423332\"/></hint><layout/></puzzle>\n");
    PuzzleListing listing;
    ASSERT_TRUE(CPuzzle::ReadListing("puzzle1005", listing));
    EXPECT_EQ(listing.title, "Odd");
    EXPECT_EQ(listing.par, 1);
    EXPECT_FLOAT_EQ(listing.difficulty, 0.9f);
    EXPECT_EQ(listing.species, "");
    EXPECT_FALSE(CPuzzle::ReadListing("puzzle1009", listing));
    EXPECT_EQ(listing.par, 0);
    EXPECT_FALSE(CPuzzle::Exists());
}

TEST_F(PuzzleFileTest, TheShippedPuzzlesLoadAndTheirHintsSolveThem)
{
    Start();
    const std::string folder = std::string(FROG_SOURCE_DIR) + "/data/puzzle";
    CPuzzle* puzzle = CPuzzle::Instance();
    int loaded = 0;
    for (CString path = CFileSystem::NextFileInFolder(folder + "/puzzle0000.xml", false); !path.empty();
         path = CFileSystem::NextFileInFolder(path, false), ++loaded)
    {
        CXmlDocument document;
        ASSERT_TRUE(document.Load(path, CFileSystem::kAsPath)) << path;
        ASSERT_TRUE(puzzle->LoadDocument(CFileSystem::FileNameOf(path).substr(0, 10), document.GetRoot()))
            << path;
        const std::vector<Pose> steps = puzzle->GetHintSteps();
        ASSERT_EQ(int(steps.size()), puzzle->GetPar() + 1) << path;
        EXPECT_EQ(steps.front(), puzzle->GetHome());
        for (size_t i = 1; i < steps.size(); ++i)
        {
            EXPECT_EQ(Pose::CountEqualCells(steps[i - 1], steps[i]), 3) << path << " step " << i;
            EXPECT_TRUE(puzzle->LandPose(steps[i])) << path << " step " << i;
        }
        EXPECT_EQ(puzzle->GetCurrentPose(), puzzle->GetGoal()) << path;
    }
    EXPECT_GE(loaded, 2);
}
