// Validators of the generated content: the move map made from the shipped species is closed,
// symmetric and true to the species, and every shipped puzzle loads, stands on its knobs and is
// solved by its hint steps in exactly par moves, the fewest the game allows.
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/TextFields.h"
#include "creatures/CSkeleton.h"
#include "puzzle/PlayFixture.h"
#include "puzzle/PuzzleDescription.h"
#include "puzzle/PuzzleListing.h"
#include "support/TempFolder.h"
#include "tools/CMoveMapGenerator.h"
#include "tools/CMoveMapWriter.h"
#include "tools/CPuzzleGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace
{
using Cells = CMoveMapGenerator::Cells;

std::string Source(const std::string& relative)
{
    return std::string(FROG_SOURCE_DIR) + "/" + relative;
}

CRef<CSkeleton> Species(const std::string& name)
{
    CXmlDocument document;
    EXPECT_TRUE(document.Parse(TempFolder::ReadFile(Source("data/species/" + name + ".xml")), false)) << name;
    CRef<CSkeleton> skeleton = MakeRef<CSkeleton>();
    EXPECT_TRUE(skeleton->LoadDocument(document.GetRoot())) << name;
    return skeleton;
}

// The move map the build made from the shipped species.
void LoadShippedMap(CMoveMap& map)
{
    ASSERT_TRUE(map.LoadBinaryFile(FROG_DATA_DIR "/movemap.mvm")) << "the build makes data/movemap.mvm";
}

Cells Shifted(Cells cells, const Vector2<int>& by)
{
    for (Vector2<int>& cell : cells)
        cell += by;
    return cells;
}

int Chebyshev(const Vector2<int>& a, const Vector2<int>& b)
{
    return std::max(std::abs(a.x - b.x), std::abs(a.y - b.y));
}

// Whether the frog may stand on these cells under the map: anatomical, and a key.
bool IsLegal(const CMoveMapGenerator& generator, const CMoveMap& map, const Cells& cells)
{
    return generator.IsAnatomical(cells) && map.Contains(CMoveMapGenerator::PackNormalised(cells));
}

TEST(MoveMapContent, HopsAreClosedSymmetricAndTrueToTheSpecies)
{
    CRef<CSkeleton> skeleton = Species("d-azureus");
    CMoveMapGenerator generator(*skeleton);
    CMoveMap map;
    LoadShippedMap(map);
    const CMoveMap::Entries& entries = map.GetEntries();
    ASSERT_GT(entries.size(), 500u);
    ASSERT_LT(entries.size(), size_t(CMoveMap::kMaxEntries));

    // The species stands the way the rule assumes: facing up, left limbs left, hands ahead.
    auto rest = [&](int limb) { return skeleton->GetJoint(limb)->rest; };
    EXPECT_LT(rest(0).x, rest(1).x);
    EXPECT_LT(rest(2).x, rest(3).x);
    EXPECT_LT(std::max(rest(0).y, rest(1).y), std::min(rest(2).y, rest(3).y));
    EXPECT_NEAR(generator.GetReach(0, 1), 3.54f, 0.05f); // two arms along the shoulders
    EXPECT_GT(generator.GetReach(0, 3), generator.GetReach(2, 3));

    std::vector<Pose> keys;
    for (const auto& [key, entry] : entries)
        keys.push_back(key);
    size_t hops = 0;
    for (const auto& [key, entry] : entries)
    {
        Pose normalised = key;
        EXPECT_EQ(Pose::Normalise(normalised), Vector2<int>(0, 0)) << Pose::ToText(key);
        const Cells cells = CMoveMapGenerator::CellsOf(key);
        EXPECT_TRUE(generator.IsAnatomical(cells)) << Pose::ToText(key);
        for (int a = 0; a < 4; ++a)
            for (int b = a + 1; b < 4; ++b)
                EXPECT_LE(Vector2<float>(cells[size_t(a)] - cells[size_t(b)]).Length(), generator.GetReach(a, b));

        // The body in its rest shape: the species' joints, the limbs on their cells, the bones
        // and ligaments held, the body between hands and feet.
        ASSERT_EQ(entry.rest.size(), skeleton->GetJointCount());
        EXPECT_TRUE(generator.Stands(entry.rest)) << Pose::ToText(key);
        for (int limb = 0; limb < 4; ++limb)
            EXPECT_EQ(entry.rest[size_t(limb)], Vector2<float>(cells[size_t(limb)])) << Pose::ToText(key);
        const float body = entry.rest[CSkeleton::kBodyJoint].y;
        EXPECT_GT(body, float(std::min(cells[0].y, cells[1].y))) << Pose::ToText(key);
        EXPECT_LT(body, float(std::max(cells[2].y, cells[3].y))) << Pose::ToText(key);

        for (int limb = 0; limb < 4; ++limb)
        {
            // Every hop the rule allows, and no other.
            EXPECT_EQ(entry.targets[limb], generator.MakeTargets(key, limb, keys)) << Pose::ToText(key);
            const int ref = CMoveMap::GetReferenceLimb(limb);
            for (Pose target : entry.targets[limb])
            {
                ++hops;
                const auto back = entries.find(target);
                ASSERT_NE(back, entries.end()) << "not closed: " << Pose::ToText(key) << " -> " << Pose::ToText(target);
                // Placed against the key on the limb that stays, exactly the hopping limb moved,
                // at most the hop away.
                const Cells to = CMoveMapGenerator::CellsOf(target);
                const Cells placed = Shifted(to, cells[size_t(ref)] - to[size_t(ref)]);
                for (int other = 0; other < 4; ++other)
                {
                    if (other == limb)
                        continue;
                    EXPECT_EQ(placed[size_t(other)], cells[size_t(other)]) << Pose::ToText(key);
                }
                EXPECT_NE(placed[size_t(limb)], cells[size_t(limb)]);
                EXPECT_LE(Chebyshev(placed[size_t(limb)], cells[size_t(limb)]), generator.GetRules().hop);
                // And the way back.
                const std::vector<Pose>& returns = back->second.targets[limb];
                EXPECT_TRUE(std::binary_search(returns.begin(), returns.end(), key))
                    << "no way back: " << Pose::ToText(key) << " -> " << Pose::ToText(target);
            }
        }
    }
    EXPECT_GT(hops, entries.size() * 8);

    // The file is what the generator makes now (a spread of keys relaxed again), and the
    // anatomical poses it leaves out are those the species cannot stand in.
    for (size_t i = 0; i < keys.size(); i += 37)
        EXPECT_EQ(generator.MakeRestShape(keys[i]), entries.at(keys[i]).rest) << Pose::ToText(keys[i]);
    size_t left = 0;
    for (Pose candidate : generator.MakeCandidates())
    {
        if (map.Contains(candidate) || left++ % 7 != 0)
            continue;
        const Pose mirror = CMoveMapGenerator::PackNormalised(CMoveMapGenerator::Mirrored(CMoveMapGenerator::CellsOf(candidate)));
        EXPECT_FALSE(generator.Stands(generator.MakeRestShape(candidate)) &&
                     generator.Stands(generator.MakeRestShape(mirror)))
            << Pose::ToText(candidate);
    }
    EXPECT_GT(left, 0u);
}

// The frog is the same seen in a mirror, and so is what it can do: every pose's mirror image
// (x mirrored, left and right limbs swapped) is a key, and each limb's hops are the mirrored
// hops of the other side's limb.
TEST(MoveMapContent, TheTableIsItsOwnMirrorImage)
{
    CMoveMap map;
    LoadShippedMap(map);
    auto mirror = [](Pose pose)
    { return CMoveMapGenerator::PackNormalised(CMoveMapGenerator::Mirrored(CMoveMapGenerator::CellsOf(pose))); };
    for (const auto& [key, entry] : map.GetEntries())
    {
        const auto image = map.GetEntries().find(mirror(key));
        ASSERT_NE(image, map.GetEntries().end()) << "no mirror image of " << Pose::ToText(key);
        for (int limb = 0; limb < 4; ++limb)
        {
            std::vector<Pose> mirrored;
            for (Pose target : entry.targets[limb])
                mirrored.push_back(mirror(target));
            std::sort(mirrored.begin(), mirrored.end());
            EXPECT_EQ(image->second.targets[CMoveMapGenerator::MirrorLimb(limb)], mirrored)
                << Pose::ToText(key) << " limb " << limb;
        }
    }
}

TEST(MoveMapContent, LandingCellsAreEveryLegalHopWhereverThePoseStands)
{
    CRef<CSkeleton> skeleton = Species("d-azureus");
    const CMoveMapGenerator generator(*skeleton);
    CMoveMap map;
    LoadShippedMap(map);
    const int hop = generator.GetRules().hop;
    std::vector<Vector2<float>> cells;
    for (const auto& [key, entry] : map.GetEntries())
    {
        const Cells keyCells = CMoveMapGenerator::CellsOf(key);
        Vector2<int> high;
        for (const Vector2<int>& cell : keyCells)
            high.x = std::max(high.x, cell.x), high.y = std::max(high.y, cell.y);
        for (int y = 0; y + high.y <= 7; ++y)
            for (int x = 0; x + high.x <= 7; ++x)
            {
                const Cells at = Shifted(keyCells, Vector2<int>(x, y));
                Pose pose;
                for (int limb = 0; limb < 4; ++limb)
                    pose = Pose::SetCell(pose, limb, at[size_t(limb)]);
                for (int limb = 0; limb < 4; ++limb)
                {
                    map.GetLandingCells(pose, limb, cells);
                    ASSERT_FALSE(cells.empty());
                    EXPECT_EQ(cells[0], Vector2<float>(at[size_t(limb)]));
                    std::set<std::pair<int, int>> landed, legal;
                    for (size_t i = 1; i < cells.size(); ++i)
                        if (cells[i].x >= 0 && cells[i].x <= 7 && cells[i].y >= 0 && cells[i].y <= 7)
                            landed.emplace(int(cells[i].x), int(cells[i].y));
                    for (int dy = -hop; dy <= hop; ++dy)
                        for (int dx = -hop; dx <= hop; ++dx)
                        {
                            Cells moved = at;
                            moved[size_t(limb)] += Vector2<int>(dx, dy);
                            const Vector2<int> cell = moved[size_t(limb)];
                            if ((dx || dy) && cell.x >= 0 && cell.x <= 7 && cell.y >= 0 && cell.y <= 7 &&
                                IsLegal(generator, map, moved))
                                legal.emplace(cell.x, cell.y);
                        }
                    // The centring in GetLandingCells loses no hop at any board position.
                    ASSERT_EQ(landed, legal) << Pose::ToText(pose) << " limb " << limb;
                }
            }
    }
}

TEST(MoveMapContent, BothFormsHoldTheTable)
{
    CMoveMap map;
    LoadShippedMap(map);
    CString bytes;
    ASSERT_TRUE(CMoveMapWriter::ToBinary(map.GetEntries(), bytes));
    EXPECT_EQ(bytes, TempFolder::ReadFile(FROG_DATA_DIR "/movemap.mvm")) << "canonical bytes";

    CString text;
    ASSERT_TRUE(CMoveMapWriter::ToXml(map.GetEntries(), text));
    TempFolder folder;
    CMoveMap xml;
    xml.LoadXmlFile(folder.WriteFile("movemap.xml", text).c_str());
    EXPECT_TRUE(xml.GetEntries() == map.GetEntries());
}

// The shipped puzzle files, in number order.
std::vector<std::string> ShippedPuzzles()
{
    std::vector<std::string> names;
    for (const auto& file : std::filesystem::directory_iterator(Source("data/puzzle")))
        names.push_back(file.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The measure a puzzle file records on its hint element.
CPuzzleGenerator::Measure RecordedMeasure(const std::string& text, int32_t par)
{
    CXmlDocument document;
    EXPECT_TRUE(document.Parse(text, false));
    CPuzzleGenerator::Measure measure;
    measure.par = par;
    if (CXmlNode* hint = document.GetRoot()->FindChild("hint"))
    {
        measure.reachable = ParseInt(hint->GetAttribute("reachable").c_str());
        measure.solutions = ParseInt(hint->GetAttribute("solutions").c_str());
        measure.branching = float(ParseFloat(hint->GetAttribute("branching").c_str()));
    }
    return measure;
}

TEST(PuzzleContent, EveryShippedPuzzleIsSolvedByItsHintsInTheFewestMoves)
{
    CMoveMap map;
    LoadShippedMap(map);
    const CPuzzleGenerator generator(map);
    const std::vector<std::string> files = ShippedPuzzles();
    ASSERT_GE(files.size(), 120u);
    std::vector<PuzzleDescription> puzzles;
    std::vector<CPuzzleGenerator::Measure> measures;
    for (size_t i = 0; i < files.size(); ++i)
    {
        const std::string& file = files[i];
        // Only "puzzleNNNN.xml", numbered on from 1000 without a gap, so the collection lists
        // them all and puzzle1000 opens the first run.
        ASSERT_EQ(file, CPuzzle::GetPuzzleName(int32_t(1000 + i)) + ".xml");
        const std::string text = TempFolder::ReadFile(Source("data/puzzle/" + file));
        // The listing's pull reader wants the root tag first: no declaration, no comment.
        EXPECT_EQ(text.rfind("<puzzle ", 0), 0u) << file;

        PuzzleDescription puzzle;
        ASSERT_TRUE(puzzle.Parse(text, "untitled")) << file;
        EXPECT_NE(puzzle.title, "untitled") << file;
        EXPECT_TRUE(std::filesystem::exists(Source("data/species/" + puzzle.species + ".xml"))) << file;
        EXPECT_TRUE(std::filesystem::exists(Source("data/pond/" + puzzle.pondTemplate + ".xml"))) << file;
        if (!puzzle.instructions.empty())
        {
            EXPECT_TRUE(std::filesystem::exists(Source("data/" + puzzle.instructions + ".xml"))) << file;
        }

        const CPuzzleGenerator::Layout layout = CPuzzleGenerator::LayoutOf(puzzle.knobs);
        EXPECT_EQ(CPuzzleGenerator::KnobsOf(layout).size(), puzzle.knobs.size()) << file << ": knob off the board";
        EXPECT_TRUE(generator.Accepts(layout, puzzle.home)) << file;
        EXPECT_TRUE(generator.Accepts(layout, puzzle.goal)) << file;
        EXPECT_NE(puzzle.home, puzzle.goal) << file;

        // The hints: home to goal, one legal move each, par of them, and no shorter way.
        ASSERT_EQ(puzzle.hintSteps.size(), size_t(puzzle.par) + 1) << file;
        EXPECT_EQ(puzzle.hintSteps.front(), puzzle.home) << file;
        EXPECT_EQ(puzzle.hintSteps.back(), puzzle.goal) << file;
        std::vector<Pose> moves;
        for (size_t step = 1; step < puzzle.hintSteps.size(); ++step)
        {
            generator.GetMoves(layout, puzzle.hintSteps[step - 1], moves);
            EXPECT_NE(std::find(moves.begin(), moves.end(), puzzle.hintSteps[step]), moves.end())
                << file << " step " << step;
        }

        // The recorded measure is the one the layout gives, par proven by the search.
        const CPuzzleGenerator::Measure measure = generator.MeasureOf(layout, puzzle.home, puzzle.goal, puzzle.hintSteps);
        const CPuzzleGenerator::Measure recorded = RecordedMeasure(text, puzzle.par);
        EXPECT_EQ(measure.par, puzzle.par) << file << ": par is not the fewest moves";
        EXPECT_EQ(recorded.reachable, measure.reachable) << file;
        EXPECT_EQ(recorded.solutions, measure.solutions) << file;
        EXPECT_FLOAT_EQ(recorded.branching, measure.branching) << file;
        EXPECT_FLOAT_EQ(puzzle.difficulty, CPuzzleGenerator::DifficultyOf(measure)) << file;
        puzzles.push_back(puzzle);
        measures.push_back(measure);
    }

    // Groups: each a run of files in one pond of its own, opening easier than it closes, par
    // never falling inside it; the groups harder on average one after the other.
    std::set<CString> ponds;
    float lastMean = -1.0f;
    for (size_t first = 0; first < puzzles.size();)
    {
        size_t end = first;
        float sum = 0.0f;
        for (; end < puzzles.size() && puzzles[end].category == puzzles[first].category; ++end)
        {
            sum += puzzles[end].difficulty;
            EXPECT_EQ(puzzles[end].pondTemplate, puzzles[first].pondTemplate) << files[end];
            if (end > first)
            {
                EXPECT_GE(puzzles[end].par, puzzles[end - 1].par) << files[end];
            }
        }
        EXPECT_EQ(puzzles[first].category, int32_t(ponds.size())) << files[first] << ": groups in order";
        EXPECT_TRUE(ponds.insert(puzzles[first].pondTemplate).second) << files[first] << ": a pond of its own";
        EXPECT_GE(end - first, 10u) << files[first];
        EXPECT_LT(puzzles[first].difficulty, puzzles[end - 1].difficulty) << files[first];
        const float mean = sum / float(end - first);
        EXPECT_GT(mean, lastMean) << files[first] << ": the groups grow harder";
        lastMean = mean;
        first = end;
    }

    // The first puzzles teach: short and small. The last twenty are long, with few ways through.
    for (size_t i = 0; i < 4; ++i)
    {
        EXPECT_LE(puzzles[i].par, 4) << files[i];
        EXPECT_LE(puzzles[i].knobs.size(), 16u) << files[i];
    }
    for (size_t i = puzzles.size() - 20; i < puzzles.size(); ++i)
    {
        EXPECT_GE(puzzles[i].par, 18) << files[i];
        EXPECT_LE(measures[i].solutions, 12) << files[i];
    }

    // No puzzle twice, up to a shift on the board or the mirror image.
    std::set<CString> canonical;
    for (size_t i = 0; i < puzzles.size(); ++i)
        EXPECT_TRUE(canonical.insert(CPuzzleGenerator::CanonicalOf(puzzles[i])).second) << files[i] << ": seen before";

    // Played in order, a win always leaves a few puzzles open ahead, never all of them.
    size_t unlocked = 0;
    for (size_t i = 0; i + 1 < puzzles.size(); ++i)
    {
        EXPECT_GE(puzzles[i].unlocks, 1) << files[i];
        unlocked = std::min(std::max(unlocked, i + size_t(std::max(puzzles[i].unlocks, 0))), puzzles.size() - 1);
        EXPECT_GE(unlocked - i, 1u) << files[i];
        EXPECT_LE(unlocked - i, 5u) << files[i];
    }
}

// The parsed document of a data file; null when it does not parse.
CXmlNode* ParseData(CXmlDocument& document, const std::string& relative)
{
    EXPECT_TRUE(document.Parse(TempFolder::ReadFile(Source("data/" + relative)), false)) << relative;
    return document.GetRoot();
}

// Every element under node (itself included) whose name is name.
void Collect(CXmlNode* node, const char* name, std::vector<CXmlNode*>& out)
{
    for (; node; node = node->NextSibling())
    {
        if (node->GetName() == name)
            out.push_back(node);
        Collect(node->FirstChild(), name, out);
    }
}

TEST(PondContent, EveryPuzzlePondCarriesTheButtonsOfPlayAndTheMenuTheBoard)
{
    for (const auto& entry : std::filesystem::directory_iterator(Source("data/pond")))
    {
        const std::string pond = entry.path().stem().string();
        CXmlDocument document;
        CXmlNode* root = ParseData(document, "pond/" + pond + ".xml");
        ASSERT_NE(nullptr, root) << pond;
        for (CXmlNode* treatment = root->FirstChild(); treatment; treatment = treatment->NextSibling())
        {
            if (treatment->GetName() != "treatment")
                continue;
            std::vector<CXmlNode*> layers;
            Collect(treatment->FirstChild(), "layer", layers);
            std::set<std::string> sources, kinds;
            int swaying = 0;
            for (CXmlNode* layer : layers)
            {
                kinds.insert(layer->GetAttribute("type").c_str());
                if (layer->GetAttribute("type") == "Text" && layer->GetAttribute("name") == "overlay")
                    sources.insert(layer->GetAttribute("source").c_str());
                if (layer->GetAttribute("type") == "Board" && ParseFloat(layer->GetAttribute("spring").c_str()) > 0.0)
                    ++swaying;
            }
            if (pond == "menu")
            {
                EXPECT_EQ(kinds.count("SmallFront"), 1u) << "the front end shows the board of puzzles";
                continue;
            }
            EXPECT_EQ(swaying, 1) << pond << ": the board sways with the lily-pad spring";
            ASSERT_EQ(sources.size(), 1u) << pond << ": one Text layer \"overlay\" a treatment";
            CXmlDocument pane;
            std::vector<CXmlNode*> buttons;
            Collect(ParseData(pane, "ui/" + *sources.begin() + ".xml"), "Button", buttons);
            std::set<std::string> actions;
            for (CXmlNode* button : buttons)
                actions.insert(button->GetAttribute("action").c_str());
            for (const char* action : {"back", "redo", "ingame"})
                EXPECT_EQ(actions.count(action), 1u) << pond << ": no button \"" << action << "\"";
        }
    }
}

class ShippedPuzzlePlay : public PlayFixture
{
};

TEST_F(ShippedPuzzlePlay, TheGameLoadsEveryPuzzleAndWinsItByItsHints)
{
    m_folder.WriteFile("data/rules.xml", TempFolder::ReadFile(Source("data/rules.xml")));
    m_folder.WriteFile("data/text.xml", TempFolder::ReadFile(Source("data/text.xml")));
    const std::vector<std::string> files = ShippedPuzzles();
    for (const std::string& file : files)
        m_folder.WriteFile("data/puzzle/" + file, TempFolder::ReadFile(Source("data/puzzle/" + file)));
    CSingleton<CFileSystem>::Instance();
    EXPECT_EQ(CPuzzles::Instance()->FirstAfterNumber(-1), "puzzle1000");

    CMoveMap map;
    LoadShippedMap(map);
    for (const std::string& file : files)
    {
        const CString name = file.substr(0, file.size() - 4);
        PuzzleListing listing;
        ASSERT_TRUE(CPuzzle::ReadListing(name, listing)) << name;
        // The listing finds the pond and the frog only in the order the pull reader needs.
        EXPECT_FALSE(listing.pondTemplate.empty()) << name;
        EXPECT_EQ(listing.species, "d-azureus") << name;

        CPuzzle* puzzle = Play(name.c_str());
        ASSERT_FALSE(puzzle->IsFallback()) << name;
        EXPECT_EQ(listing.par, puzzle->GetPar()) << name;
        const std::vector<Pose> steps = puzzle->GetHintSteps();
        ASSERT_EQ(steps.size(), size_t(puzzle->GetPar()) + 1) << name;
        EXPECT_EQ(puzzle->GetCurrentPose(), puzzle->GetHome()) << name;
        for (size_t step = 1; step < steps.size(); ++step)
        {
            EXPECT_TRUE(puzzle->IsLegalMove(map, steps[step - 1], steps[step])) << name << " step " << step;
            ASSERT_TRUE(puzzle->LandPose(steps[step])) << name << " step " << step;
        }
        EXPECT_TRUE(puzzle->IsSolved()) << name;
        EXPECT_EQ(CPuzzles::Instance()->GetBestMoves(name), puzzle->GetPar()) << name;
    }
}

TEST(PuzzleContent, GeneratedFilesReadBackAsMade)
{
    CMoveMap map;
    LoadShippedMap(map);
    const CPuzzleGenerator generator(map);
    PuzzleDescription made;
    ASSERT_TRUE(generator.Make({"Frog's leap", 4, 0.55f, 7}, made));
    EXPECT_EQ(made.par, 4);
    EXPECT_EQ(made.hintSteps.size(), 5u);
    PuzzleDescription again;
    ASSERT_TRUE(generator.Make({"Frog's leap", 4, 0.55f, 7}, again));
    EXPECT_EQ(again.hintSteps, made.hintSteps) << "deterministic";
    EXPECT_EQ(again.knobs, made.knobs);

    PuzzleDescription read;
    ASSERT_TRUE(read.Parse(CPuzzleGenerator::ToXml(made), "x"));
    EXPECT_EQ(read.title, "Frog's leap");
    EXPECT_EQ(read.knobs, made.knobs);
    EXPECT_EQ(read.home, made.home);
    EXPECT_EQ(read.goal, made.goal);
    EXPECT_EQ(read.hintSteps, made.hintSteps);
    EXPECT_EQ(read.par, 4);
    EXPECT_EQ(read.category, 0);
    EXPECT_EQ(read.unlocks, made.unlocks);
    EXPECT_EQ(read.pondTemplate, "fallback");
    EXPECT_EQ(read.species, "d-azureus");

    // The game's reader takes attribute text as it stands (no entities), so a text it could
    // not read back is not written.
    PuzzleDescription unreadable = made;
    unreadable.title = "Tom & \"Jerry\"";
    EXPECT_TRUE(CPuzzleGenerator::ToXml(unreadable).empty());

    // Difficulty: more moves with more choice at each is harder, many ways through easier;
    // the hardest puzzles read as hard, a short one with little choice as easy.
    CPuzzleGenerator::Measure easy{3, 200, 2, 6.0f}, hard{22, 300, 4, 6.0f}, many = hard;
    many.solutions = 4000;
    EXPECT_STREQ(CScore::RatingKey(CPuzzleGenerator::DifficultyOf(easy)), "puz_rating1");
    EXPECT_STREQ(CScore::RatingKey(CPuzzleGenerator::DifficultyOf(hard)), "puz_rating3");
    EXPECT_LT(CPuzzleGenerator::DifficultyOf(many), CPuzzleGenerator::DifficultyOf(hard));
    EXPECT_EQ(CPuzzleGenerator::DifficultyOf(CPuzzleGenerator::Measure()), 0.0f);

    // The same puzzle shifted or mirrored is the same puzzle; another goal is another.
    PuzzleDescription mirrored = made, shifted = made;
    mirrored.home = CPuzzleGenerator::MirrorPose(made.home);
    mirrored.goal = CPuzzleGenerator::MirrorPose(made.goal);
    mirrored.knobs.clear();
    for (const Vector2<int>& knob : made.knobs)
        mirrored.knobs.emplace_back(7 - knob.x, knob.y);
    int top = 7;
    for (const Vector2<int>& knob : made.knobs)
        top = std::min(top, knob.y);
    // One row up, or down when the layout touches the top edge.
    const int dy = top > 0 ? -1 : 1;
    for (Vector2<int>& knob : shifted.knobs)
        knob.y += dy;
    shifted.home = Pose(made.home.Bits() + uint32_t(dy) * 0x10101010u);
    shifted.goal = Pose(made.goal.Bits() + uint32_t(dy) * 0x10101010u);
    EXPECT_EQ(CPuzzleGenerator::CanonicalOf(mirrored), CPuzzleGenerator::CanonicalOf(made));
    EXPECT_EQ(CPuzzleGenerator::CanonicalOf(shifted), CPuzzleGenerator::CanonicalOf(made));
    PuzzleDescription other = made;
    other.goal = made.hintSteps[made.hintSteps.size() - 2];
    EXPECT_NE(CPuzzleGenerator::CanonicalOf(other), CPuzzleGenerator::CanonicalOf(made));

    // The built-in puzzle stands in for a missing file: it must be solvable on the map too.
    std::vector<Vector2<int>> fallback;
    for (int y = 0; y <= 6; ++y)
        for (int x = 0; x <= 4; ++x)
            if ((x != 0 && x != 4) || (y != 0 && y != 6))
                fallback.emplace_back(x, y);
    Pose home, goal;
    ASSERT_TRUE(Pose::FromText("62615251", home));
    ASSERT_TRUE(Pose::FromText("22211211", goal));
    EXPECT_GE(generator.Solve(CPuzzleGenerator::LayoutOf(fallback), home, goal).size(), 5u);

    // An unreachable goal has no solution; a pose off the layout has none either.
    EXPECT_TRUE(generator.Solve(0, made.home, made.goal).empty());
    EXPECT_TRUE(generator.Solve(CPuzzleGenerator::LayoutOf(made.knobs), made.home, Pose()).empty());
}
} // namespace
