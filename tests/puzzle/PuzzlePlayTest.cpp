#include "MoveMapFixture.h"
#include "PlayFixture.h"
#include "puzzle/CPuzzleLoader.h"

using PlayData::Step;

namespace
{
class PuzzlePlayTest : public PlayFixture
{
};
} // namespace

TEST_F(PuzzlePlayTest, SolvesATinyPuzzleStepByStep)
{
    Start();
    MoveMapRules rules;
    rules.spanX = rules.spanY = 3;
    CMoveMap map;
    map.EditEntries() = GenerateMoveMap(rules);

    CXmlDocument document;
    ASSERT_TRUE(document.Parse(PlayData::TinyPuzzle("Tiny"), false));
    CPuzzle* puzzle = CPuzzle::Instance();
    ASSERT_TRUE(puzzle->LoadDocument("puzzle1000", document.GetRoot()));
    puzzle->RestoreHistory(0);
    EXPECT_EQ(m_services.skeleton.pose, Step(0));
    EXPECT_EQ(puzzle->GetHistory(), std::vector<Pose>{Step(0)});

    for (int i = 1; i <= 4; ++i)
    {
        const Pose from = puzzle->GetCurrentPose(), to = Step(i);
        ASSERT_TRUE(puzzle->IsLegalMove(map, from, to)) << i;
        const int limb = Pose::ChangedLimb(from, to);
        const Vector2<int> cell = Pose::GetCell(to, limb);
        m_services.skeleton.Drag(limb, cell);
        ASSERT_TRUE(puzzle->LandSkeleton(m_services.skeleton)) << i;
        // The limb is snapped onto its knob; the skeleton's stored pose is the skeleton's own.
        EXPECT_EQ(m_services.skeleton.joints[size_t(limb)].anchor, Vector2<float>(cell));
        EXPECT_EQ(puzzle->GetCurrentPose(), to);
        EXPECT_EQ(puzzle->GetHistory().size(), size_t(i + 1));
        EXPECT_EQ(m_services.buttons["back"], i < 4) << i;
        EXPECT_FALSE(m_services.buttons["redo"]);
        if (i < 4)
        {
            EXPECT_EQ(Preference("currenthistory"), puzzle->GetHistoryText());
        }
    }
    // Every hop landed on the limb's goal cell, so each made a splash at its knob.
    EXPECT_EQ(m_services.Count("splash 2,3") + m_services.Count("splash 3,3") +
                  m_services.Count("splash 2,4") + m_services.Count("splash 3,4"),
              4);
    EXPECT_EQ(m_services.Count("catch"), 1);
    // The win is recorded through the collection, and the saved state names the next puzzle.
    EXPECT_EQ(CPuzzles::Instance()->GetBestMoves("puzzle1000"), 4);
    EXPECT_FLOAT_EQ(CPuzzles::Instance()->GetBestScore("puzzle1000"), 1.0f);
    EXPECT_EQ(Preference("currentpuzzle"), "puzzle1001");
    EXPECT_EQ(Preference("currenthistory"), "");
    EXPECT_NE(PreferencesFile().find("currentpuzzle=\"puzzle1001\""), std::string::npos);

    // The reward follows "petals/throwdelay" seconds later.
    RunFor(500);
    EXPECT_EQ(m_services.Count("petals"), 0);
    RunFor(700);
    EXPECT_EQ(m_services.Count("petals"), 1);
    EXPECT_EQ(m_services.Count("post puzzlewon"), 1);
}

TEST_F(PuzzlePlayTest, HistoryUndoRedoAndUndoMadeByHand)
{
    Start();
    CPuzzle* puzzle = Play("puzzle1000");
    const uint32_t layout = puzzle->GetChangeCounter();
    uint32_t history = puzzle->GetHistoryCounter();
    const int saves = CPreferences::Instance()->GetSaveCount();

    EXPECT_TRUE(puzzle->LandPose(Step(1)));
    EXPECT_GT(puzzle->GetHistoryCounter(), history);
    history = puzzle->GetHistoryCounter();
    // Landing the same pose again changes no history but still saves.
    EXPECT_TRUE(puzzle->LandPose(Step(1)));
    EXPECT_EQ(puzzle->GetHistoryCounter(), history);
    EXPECT_EQ(CPreferences::Instance()->GetSaveCount(), saves + 2);
    EXPECT_TRUE(puzzle->LandPose(Step(2)));

    // Back to the pose before: an undo made by hand, not counted.
    EXPECT_TRUE(puzzle->LandPose(Step(1)));
    EXPECT_EQ(puzzle->GetHistory(), (std::vector<Pose>{Step(0), Step(1)}));
    EXPECT_EQ(puzzle->GetRedo(), std::vector<Pose>{Step(2)});
    EXPECT_EQ(puzzle->GetUndoCount(), 0);
    EXPECT_TRUE(m_services.buttons["redo"]);
    // Forward to it again: a redo made by hand.
    EXPECT_TRUE(puzzle->LandPose(Step(2)));
    EXPECT_TRUE(puzzle->GetRedo().empty());
    EXPECT_EQ(puzzle->GetHistory().size(), 3u);

    EXPECT_EQ(puzzle->Undo(), Step(1));
    EXPECT_EQ(puzzle->Undo(), Step(0));
    EXPECT_FALSE(m_services.buttons["back"]);
    EXPECT_TRUE(m_services.buttons["redo"]);
    EXPECT_EQ(puzzle->Undo(), Step(0)); // nothing left to undo
    EXPECT_EQ(puzzle->GetUndoCount(), 2);
    EXPECT_EQ(puzzle->GetRedo(), (std::vector<Pose>{Step(2), Step(1)}));
    EXPECT_EQ(puzzle->Redo(), Step(1));
    EXPECT_TRUE(m_services.buttons["back"]);
    EXPECT_TRUE(m_services.buttons["redo"]);

    // Any other move clears the redo stack.
    Pose other = Pose::SetCell(Step(1), 1, {3, 4});
    EXPECT_TRUE(puzzle->LandPose(other));
    EXPECT_TRUE(puzzle->GetRedo().empty());
    EXPECT_FALSE(m_services.buttons["redo"]);

    // Refused: a cell without a knob, two limbs on one knob, a limb dragged far from any knob.
    history = puzzle->GetHistoryCounter();
    EXPECT_FALSE(puzzle->LandPose(Pose::SetCell(other, 0, {1, 3})));
    EXPECT_FALSE(puzzle->LandPose(Pose::SetCell(other, 0, {3, 4})));
    m_services.skeleton.SetPose(other);
    m_services.skeleton.Drag(0, {1, 3});
    EXPECT_FALSE(puzzle->LandSkeleton(m_services.skeleton));
    m_services.skeleton.SetPose(other);
    m_services.skeleton.Drag(0, {3, 4});
    EXPECT_FALSE(puzzle->LandSkeleton(m_services.skeleton));
    EXPECT_EQ(puzzle->GetHistoryCounter(), history);
    EXPECT_EQ(puzzle->GetCurrentPose(), other);

    // Moves never move the layout counter, which the board rebuilds its knobs on.
    EXPECT_EQ(puzzle->GetChangeCounter(), layout);
}

TEST_F(PuzzlePlayTest, ResetAndUndoAtTheGoal)
{
    Start();
    CPuzzle* puzzle = Play("puzzle1000");
    puzzle->LandPose(Step(1));
    puzzle->LandPose(Step(2));
    puzzle->Reset();
    EXPECT_EQ(puzzle->GetHistory(), std::vector<Pose>{Step(0)});
    EXPECT_EQ(puzzle->GetUndoCount(), 2);
    EXPECT_EQ(m_services.skeleton.pose, Step(0));
    EXPECT_EQ(m_services.skeleton.releases, 1);
    EXPECT_TRUE(m_services.nodes["abandon"]);
    EXPECT_FALSE(m_services.nodes["reset"]);

    for (int i = 1; i <= 4; ++i)
        puzzle->LandPose(Step(i));
    ASSERT_EQ(puzzle->GetCurrentPose(), Step(4));
    m_services.buttons["back"] = m_services.buttons["redo"] = true;
    EXPECT_EQ(puzzle->Undo(), Step(4));
    EXPECT_FALSE(m_services.buttons["back"]);
    EXPECT_FALSE(m_services.buttons["redo"]);
    // A reset at the goal ends without undoing, and leaves the frog where the history stands.
    EXPECT_FALSE(puzzle->HandleNamedEvent("_reset"));
    EXPECT_EQ(puzzle->GetHistory().size(), 5u);
    EXPECT_EQ(m_services.skeleton.pose, Step(4));

    // The replay rewinds onto the redo stack so that redoing plays the game in order.
    const int undos = puzzle->GetUndoCount();
    puzzle->RewindForReplay();
    EXPECT_EQ(puzzle->GetHistory(), std::vector<Pose>{Step(0)});
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(puzzle->Redo(), Step(i));
    EXPECT_EQ(puzzle->GetUndoCount(), undos);

    // Only a puzzle with a tutorial starts it again (when it runs) as the frog goes home.
    EXPECT_EQ(m_services.Count("tutorial again"), 0);
    std::string tutorial = PlayData::TinyPuzzle("Taught");
    tutorial.replace(tutorial.find("<hint "), 6, "<hint instructions=\"tutorial/t\" ");
    m_folder.WriteFile("data/puzzle/puzzle1002.xml", tutorial);
    puzzle = Play("puzzle1002");
    puzzle->LandPose(Step(1));
    puzzle->Reset();
    EXPECT_EQ(m_services.Count("tutorial again"), 1);
    EXPECT_FALSE(m_services.nodes["abandon"]);
    for (int i = 1; i <= 4; ++i)
        puzzle->LandPose(Step(i));
    puzzle->Reset();
    EXPECT_EQ(m_services.Count("tutorial again"), 1) << "the frog stays at the goal";
}

TEST_F(PuzzlePlayTest, KnobsAndTheEstimate)
{
    Start();
    CPuzzle* puzzle = Play("puzzle1000");
    // Strictly closer than "puzzle/closeenough" (0.25) catches.
    EXPECT_EQ(puzzle->FindKnobNear({2.25f, 3.0f}), nullptr);
    ASSERT_NE(puzzle->FindKnobNear({2.24f, 3.0f}), nullptr);
    EXPECT_EQ(puzzle->FindKnobNear({2.24f, 3.0f}), puzzle->GetKnobAt({2, 3}));
    puzzle->EditKnobs()[{2, 3}].active = 0;
    EXPECT_EQ(puzzle->FindKnobNear({2.0f, 3.0f}), nullptr);
    EXPECT_FALSE(puzzle->IsPoseOnKnobs(Step(4)));
    puzzle->EditKnobs()[{2, 3}].active = 1;

    // All four limbs two rows off: distance 4 + 4, capped at the four limbs off their cells.
    EXPECT_EQ(puzzle->EstimateRemainingMoves(), 4);
    for (int i = 1; i <= 4; ++i)
    {
        puzzle->LandPose(Step(i));
        EXPECT_EQ(puzzle->EstimateRemainingMoves(), 4 - i);
    }
}

TEST_F(PuzzlePlayTest, NamedCommandsAndTheMenus)
{
    Start();
    m_clock.Set(10000);
    CPuzzle* puzzle = Play("puzzle1000");

    EXPECT_TRUE(puzzle->HandleNamedEvent("ingame"));
    EXPECT_EQ(m_services.Count("flip ingame"), 1);
    EXPECT_TRUE(m_services.nodes["abandon"]);
    EXPECT_FALSE(m_services.nodes["reset"]);
    // Emboss spots: body, joint 4, their midpoint, ten knobs and the corner; no fly here.
    EXPECT_EQ(m_services.spots.size(), 6u * 14u);

    // Two "_abandon" 1500 ms apart: only the first acts.
    EXPECT_TRUE(puzzle->HandleNamedEvent("_abandon"));
    m_clock.Advance(1500);
    EXPECT_TRUE(puzzle->HandleNamedEvent("_abandon"));
    EXPECT_EQ(m_services.Count("pop"), 1);
    m_clock.Advance(600);
    EXPECT_TRUE(puzzle->HandleNamedEvent("_abandon"));
    EXPECT_EQ(m_services.Count("pop"), 2);
    EXPECT_EQ(m_services.Count("flip back"), 2);

    const int saves = CPreferences::Instance()->GetSaveCount();
    EXPECT_FALSE(puzzle->HandleNamedEvent("_losefocus"));
    EXPECT_EQ(CPreferences::Instance()->GetSaveCount(), saves + 1);
    EXPECT_FALSE(puzzle->HandleNamedEvent("hint"));

    // At the goal the menu is the win pane, whose loader goes on to the next puzzle.
    for (int i = 1; i <= 4; ++i)
        puzzle->LandPose(Step(i));
    EXPECT_TRUE(puzzle->HandleNamedEvent("ingame"));
    EXPECT_EQ(m_services.Count("flip wingame"), 1);
    auto* loader = dynamic_cast<CPuzzleLoader*>(m_services.loader.Get());
    ASSERT_NE(loader, nullptr);
    EXPECT_EQ(loader->GetName(), "puzzle1001");
    loader->Invoke();
    EXPECT_EQ(puzzle->GetName(), "puzzle1001");
    EXPECT_EQ(puzzle->GetHistory(), std::vector<Pose>{Step(0)});
    EXPECT_EQ(m_services.Count("push maingame"), 0);

    // From the front end the loader enters the game; an empty name goes back.
    m_services.mode = "frontend";
    CPuzzleLoader("puzzle1000").Invoke();
    EXPECT_EQ(m_services.Count("push maingame"), 1);
    EXPECT_EQ(puzzle->GetName(), "puzzle1000");
    CPuzzleLoader("").Invoke();
    EXPECT_EQ(m_services.Count("pop"), 3);
}
