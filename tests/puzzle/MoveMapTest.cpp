#include "puzzle/CMoveMap.h"

#include "MoveMapFixture.h"
#include "StandInSkeleton.h"
#include "core/CFileSystem.h"
#include "support/TempFolder.h"
#include "tools/CMoveMapWriter.h"

#include <cstring>
#include <gtest/gtest.h>
#include <random>

namespace
{
Pose MakePose(Vector2<int> lh, Vector2<int> rh, Vector2<int> lf, Vector2<int> rf)
{
    Pose pose;
    pose = Pose::SetCell(pose, 0, lh);
    pose = Pose::SetCell(pose, 1, rh);
    pose = Pose::SetCell(pose, 2, lf);
    return Pose::SetCell(pose, 3, rf);
}

Pose Normalised(Pose pose)
{
    Pose::Normalise(pose);
    return pose;
}

// Hand-made ".mvm" bytes, for files the writer refuses to make.
struct Bytes
{
    CString data;
    Bytes& U32(uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            data.push_back(char(value >> (8 * i) & 0xFF));
        return *this;
    }
    Bytes& F32(float value)
    {
        uint32_t bits;
        std::memcpy(&bits, &value, 4);
        return U32(bits);
    }
    Bytes& Header(uint32_t entries, uint32_t joints)
    {
        return U32(CMoveMap::kMagic).U32(entries).U32(joints);
    }
    void SetU32(size_t offset, uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            data[offset + size_t(i)] = char(value >> (8 * i) & 0xFF);
    }
};

bool Load(CMoveMap& map, const CString& bytes)
{
    return map.LoadBinaryBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

CString ToBinary(const CMoveMap::Entries& entries)
{
    CString bytes;
    EXPECT_TRUE(CMoveMapWriter::ToBinary(entries, bytes));
    return bytes;
}

// A few entries with every feature: several targets per limb, an empty limb, rest points.
CMoveMap::Entries SmallEntries()
{
    MoveMapRules rules;
    rules.spanX = rules.spanY = 2;
    rules.hop = 1;
    rules.joints = 5;
    rules.maxEntries = 3;
    return GenerateMoveMap(rules);
}

// The rest shape of pose from the table, placed where pose stands.
std::vector<Vector2<float>> PlacedRest(const CMoveMap& map, Pose pose)
{
    Pose key = pose;
    const Vector2<float> offset(Pose::Normalise(key));
    std::vector<Vector2<float>> placed = map.GetEntries().at(key).rest;
    for (Vector2<float>& point : placed)
        point += offset;
    return placed;
}

void ExpectPositions(const StandInSkeleton& skeleton, const std::vector<Vector2<float>>& expected)
{
    ASSERT_LE(expected.size(), skeleton.joints.size());
    for (size_t i = 0; i < expected.size(); ++i)
    {
        EXPECT_NEAR(skeleton.joints[i].position.x, expected[i].x, 1e-5f) << "joint " << i;
        EXPECT_NEAR(skeleton.joints[i].position.y, expected[i].y, 1e-5f) << "joint " << i;
    }
}
} // namespace

TEST(MoveMapTest, BinaryHeaderLimits)
{
    CMoveMap map;
    // 16383 entries are the most a file may hold; 16384 are refused even when the bytes are there.
    CMoveMap::Entries many;
    for (uint32_t key = 1; key <= CMoveMap::kMaxEntries - 1; ++key)
        many[Pose(key)];
    Bytes full{ToBinary(many)};
    EXPECT_TRUE(Load(map, full.data));
    EXPECT_EQ(map.GetEntries().size(), 16383u);
    full.U32(0x7FFFu).U32(0).U32(0).U32(0).U32(0);
    full.SetU32(4, CMoveMap::kMaxEntries);
    EXPECT_FALSE(Load(map, full.data));
    EXPECT_TRUE(map.IsEmpty());

    // 255 joints are accepted, 256 refused.
    CMoveMap::Entries one;
    one[Pose(0x10100100u)].rest.assign(255, Vector2<float>(1.5f, -2.0f));
    Bytes joints{ToBinary(one)};
    EXPECT_TRUE(Load(map, joints.data));
    EXPECT_EQ(map.GetEntries().begin()->second.rest.size(), 255u);
    joints.F32(0.0f).F32(0.0f);
    joints.SetU32(8, 256);
    EXPECT_FALSE(Load(map, joints.data));

    // No entries is a table, and an empty one.
    EXPECT_TRUE(Load(map, Bytes().Header(0, 12).data));
    EXPECT_TRUE(map.IsEmpty());

    // A wrong magic, a header cut short, or a count of entries the file cannot hold.
    EXPECT_FALSE(Load(map, Bytes().U32(0x09200221u).U32(0).U32(0).data));
    EXPECT_FALSE(Load(map, Bytes().U32(CMoveMap::kMagic).U32(0).data));
    EXPECT_FALSE(Load(map, Bytes().Header(2, 0).U32(0x100u).U32(0).U32(0).U32(0).U32(0).data));
    EXPECT_FALSE(map.LoadBinaryBytes(nullptr, 0));
}

TEST(MoveMapTest, BinaryReadFailsCleanlyOnDamagedFiles)
{
    const CMoveMap::Entries source = SmallEntries();
    const CString bytes = ToBinary(source);
    CMoveMap map;
    ASSERT_TRUE(Load(map, bytes));
    EXPECT_EQ(map.GetEntries(), source);
    // Every cut leaves no table.
    for (size_t length = 0; length < bytes.size(); ++length)
    {
        map.EditEntries() = source;
        EXPECT_FALSE(Load(map, bytes.substr(0, length))) << length;
        EXPECT_TRUE(map.IsEmpty()) << length;
    }

    // Target counts larger than the bytes left are refused, not allocated.
    for (uint32_t count : {0xFFFFFFFFu, 0x40000000u, 3u})
    {
        Bytes huge;
        huge.Header(1, 0).U32(0x10100100u).U32(count).U32(0x10100100u).U32(0x10100100u);
        EXPECT_FALSE(Load(map, huge.data)) << count;
    }
    Bytes exact;
    exact.Header(1, 0).U32(0x10100100u).U32(2).U32(0x11100100u).U32(0x10100100u).U32(0).U32(0).U32(0);
    EXPECT_TRUE(Load(map, exact.data));
    EXPECT_EQ(map.GetEntries().begin()->second.targets[0].size(), 2u);
    // Rest points that are not numbers are corrupt.
    EXPECT_FALSE(
        Load(map, Bytes().Header(1, 1).U32(0x100u).U32(0).U32(0).U32(0).U32(0).F32(NAN).F32(0).data));

    // Random files, with and without a plausible header, never crash or over-allocate.
    std::mt19937 random(20090221);
    for (int round = 0; round < 3000; ++round)
    {
        Bytes noise;
        if (round % 3 != 0)
            noise.Header(random() % 8, random() % 4);
        const size_t length = random() % 200;
        for (size_t i = 0; i < length; ++i)
            noise.data.push_back(char(random() % 5 == 0 ? random() % 4 : random()));
        Load(map, noise.data);
    }
    // The same bytes as a file, cut short and whole.
    TempFolder folder;
    EXPECT_FALSE(map.LoadBinaryFile(folder.WriteFile("cut.mvm", bytes.substr(0, bytes.size() - 1)).c_str()));
    EXPECT_TRUE(map.LoadBinaryFile(folder.WriteFile("whole.mvm", bytes).c_str()));
    EXPECT_EQ(map.GetEntries(), source);
    EXPECT_FALSE(map.LoadBinaryFile(folder.PathOf("missing.mvm").c_str()));
    EXPECT_FALSE(map.LoadBinaryFile(folder.MakeFolder("folder.mvm").c_str()));
}

TEST(MoveMapTest, BinaryRepeatedKeysReadIntoOneEntry)
{
    const uint32_t key = 0x11100100u;
    Bytes bytes;
    bytes.Header(2, 1);
    bytes.U32(key).U32(2).U32(0x12110100u).U32(0x11100200u).U32(1).U32(0x11100000u).U32(0).U32(0);
    bytes.F32(1.0f).F32(2.0f);
    // Limb 0's count of 0 keeps its list; limb 1's list is replaced; the rest too.
    bytes.U32(key).U32(0).U32(2).U32(0x21100000u).U32(0x11200000u).U32(1).U32(0x21110100u).U32(0);
    bytes.F32(3.0f).F32(4.0f);
    CMoveMap map;
    ASSERT_TRUE(Load(map, bytes.data));
    ASSERT_EQ(map.GetEntries().size(), 1u);
    const CMoveMap::Entry& entry = map.GetEntries().at(Pose(key));
    EXPECT_EQ(entry.targets[0], (std::vector<Pose>{Pose(0x12110100u), Pose(0x11100200u)}));
    EXPECT_EQ(entry.targets[1], (std::vector<Pose>{Pose(0x21100000u), Pose(0x11200000u)}));
    EXPECT_EQ(entry.targets[2], (std::vector<Pose>{Pose(0x21110100u)}));
    EXPECT_TRUE(entry.targets[3].empty());
    EXPECT_EQ(entry.rest, (std::vector<Vector2<float>>{{3.0f, 4.0f}}));
}

TEST(MoveMapTest, XmlAndBinaryFormsOfAGeneratedMapAgree)
{
    MoveMapRules rules;
    rules.spanX = rules.spanY = 3;
    const CMoveMap::Entries source = GenerateMoveMap(rules);
    ASSERT_EQ(source.size(), 513u);
    // A rest point that needs all nine digits to read back.
    CMoveMap::Entries tricky = source;
    tricky.begin()->second.rest[5] = {0.1f, -1.0f / 3.0f};

    TempFolder folder;
    ASSERT_TRUE(CMoveMapWriter::WriteBinary(tricky, folder.PathOf("map.mvm").c_str()));
    ASSERT_TRUE(CMoveMapWriter::WriteXml(tricky, folder.PathOf("map.xml").c_str()));
    CMoveMap binary, xml;
    EXPECT_TRUE(binary.LoadBinaryFile(folder.PathOf("map.mvm").c_str()));
    xml.LoadXmlFile(folder.PathOf("map.xml").c_str());
    EXPECT_EQ(binary.GetEntries(), tricky);
    EXPECT_EQ(xml.GetEntries(), tricky);

    // What the reader would refuse or alter is not written.
    CString out;
    CMoveMap::Entries offBoard = source;
    offBoard.begin()->second.targets[0].push_back(Pose(0x00000008u));
    EXPECT_FALSE(CMoveMapWriter::ToXml(offBoard, out));
    CMoveMap::Entries ragged = source;
    ragged.begin()->second.rest.pop_back();
    EXPECT_FALSE(CMoveMapWriter::ToBinary(ragged, out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(CMoveMapWriter::WriteBinary(source, folder.PathOf("nowhere/map.mvm").c_str()));
}

TEST(MoveMapTest, XmlFormReadsWhatTheDocumentHolds)
{
    TempFolder folder;
    const std::string path = folder.WriteFile(
        "map.xml", "<movemap>\n"
                   "<reach from=\"11100100\" foot0=\"21201100,,00000000,92615251,2120110,21201100\""
                   " foot1=\"\" rest=\"0,0,1,0.5,2\"/>\n"
                   "<other from=\"11100200\"/>\n"
                   "<reach from=\"11100100\" foot3=\"11100200\" rest=\"-1.5,2e1\"/>\n"
                   "<reach from=\"1110010\" foot0=\"21201100\"/>\n"
                   "<reach from=\"00000000\" foot0=\"21201100\"/>\n"
                   "</movemap>\n");
    CMoveMap map;
    map.LoadXmlFile(path.c_str());
    ASSERT_EQ(map.GetEntries().size(), 1u);
    const CMoveMap::Entry& entry = map.GetEntries().at(Pose(0x11100100u));
    // Empty fields, texts of 0, off-board digits and wrong lengths are skipped.
    EXPECT_EQ(entry.targets[0], (std::vector<Pose>{Pose(0x21201100u), Pose(0x21201100u)}));
    EXPECT_TRUE(entry.targets[1].empty());
    EXPECT_EQ(entry.targets[3], (std::vector<Pose>{Pose(0x11100200u)}));
    // Rest pairs are appended; an odd last number is dropped.
    EXPECT_EQ(entry.rest, (std::vector<Vector2<float>>{{0.0f, 0.0f}, {1.0f, 0.5f}, {-1.5f, 20.0f}}));

    // A missing document or one without "reach" elements is no table.
    map.LoadXmlFile(folder.PathOf("missing.xml").c_str());
    EXPECT_TRUE(map.IsEmpty());
    map.LoadXmlFile(folder.WriteFile("empty.xml", "<movemap/>").c_str());
    EXPECT_TRUE(map.IsEmpty());
    map.LoadXmlFile(folder.WriteFile("cut.xml", "<movemap><reach from=\"11100100\" foot0=\"2120").c_str());
    EXPECT_TRUE(map.IsEmpty());
}

TEST(MoveMapTest, LoadFallsBackFromBinaryToXmlInTheDataFolder)
{
    TempFolder folder;
    const std::string data = folder.MakeFolder("data");
    CFileSystem* fileSystem = CSingleton<CFileSystem>::Instance();
    fileSystem->SetFolders(folder.Path() + "/", data);

    const CMoveMap::Entries source = SmallEntries();
    CMoveMap::Entries other = source;
    other.erase(other.begin());
    const CString bytes = ToBinary(source);
    ASSERT_TRUE(CMoveMapWriter::WriteXml(other, (data + "/movemap.xml").c_str()));

    CMoveMap map;
    // Binary first.
    folder.WriteFile("data/movemap.mvm", bytes);
    EXPECT_TRUE(map.Load("movemap"));
    EXPECT_EQ(map.GetEntries(), source);
    // A damaged binary falls back to the XML form, which replaces what was read.
    folder.WriteFile("data/movemap.mvm", bytes.substr(0, bytes.size() - 3));
    EXPECT_FALSE(map.Load("movemap"));
    EXPECT_EQ(map.GetEntries(), other);
    // An empty binary table is a table: no fallback.
    folder.WriteFile("data/movemap.mvm", Bytes().Header(0, 5).data);
    EXPECT_TRUE(map.Load("movemap"));
    EXPECT_TRUE(map.IsEmpty());
    // Neither file: no table.
    EXPECT_FALSE(map.Load("nothing"));
    EXPECT_TRUE(map.IsEmpty());
    // The singleton loads "movemap" when it is made.
    folder.WriteFile("data/movemap.mvm", bytes);
    EXPECT_EQ(CMoveMap::Instance()->GetEntries(), source);
    CSingleton<CMoveMap>::Toggle(false);
    CSingleton<CFileSystem>::Toggle(false);
}

TEST(MoveMapTest, LandingCellsFollowTheTargets)
{
    CMoveMap map;
    std::vector<Vector2<float>> cells;
    const Pose square = MakePose({3, 3}, {4, 3}, {3, 4}, {4, 4});
    // An empty table lets every limb reach every cell, row by row.
    map.GetLandingCells(square, 0, cells);
    ASSERT_EQ(cells.size(), 64u);
    EXPECT_EQ(cells[1], Vector2<float>(1, 0));
    EXPECT_EQ(cells[8], Vector2<float>(0, 1));
    EXPECT_EQ(cells[63], Vector2<float>(7, 7));

    map.EditEntries() = GenerateMoveMap();
    // So does a limb that is not one.
    map.GetLandingCells(square, 4, cells);
    EXPECT_EQ(cells.size(), 64u);
    map.GetLandingCells(square, -1, cells);
    EXPECT_EQ(cells.size(), 64u);
    // A pose the table lacks: only the limb's own cell.
    map.GetLandingCells(MakePose({4, 3}, {3, 3}, {3, 4}, {4, 4}), 1, cells);
    EXPECT_EQ(cells, (std::vector<Vector2<float>>{{3, 3}}));

    // The own cell first, then one cell per target in stored order.
    map.GetLandingCells(square, 2, cells);
    EXPECT_EQ(cells.size(), 1 + map.GetEntries().at(Normalised(square)).targets[2].size());
    EXPECT_EQ(cells[0], Vector2<float>(3, 4));

    // At the left edge (min x 0, max x 3, so the pose is centred 2 columns right), a hop one
    // column left of the left-most limb lands on column -1.
    CMoveMap edge;
    const Pose wide = MakePose({0, 0}, {3, 0}, {1, 2}, {2, 2});
    CMoveMap::Entry& entry = edge.EditEntries()[wide];
    entry.targets[2] = {MakePose({1, 0}, {4, 0}, {0, 2}, {3, 2})};
    entry.targets[0] = {MakePose({0, 1}, {1, 0}, {2, 2}, {3, 2})};
    edge.GetLandingCells(wide, 2, cells);
    EXPECT_EQ(cells, (std::vector<Vector2<float>>{{1, 2}, {-1, 2}}));
    // Limb 0 hops against limb 1.
    edge.GetLandingCells(wide, 0, cells);
    EXPECT_EQ(cells, (std::vector<Vector2<float>>{{0, 0}, {2, 1}}));
    // The same pose moved right: the same hops, moved along.
    const Pose moved = Pose::AlignTo(wide, MakePose({4, 3}, {}, {}, {}), 0);
    edge.GetLandingCells(moved, 2, cells);
    EXPECT_EQ(cells, (std::vector<Vector2<float>>{{5, 5}, {3, 5}}));
}

TEST(MoveMapTest, LandingCellsOfTheGeneratedMapLoseNoHopAnywhereOnTheBoard)
{
    // Placed in signed coordinates (target cell + real reference cell - target reference cell),
    // every hop that stays on the board must be among the landing cells at every placement.
    CMoveMap map;
    map.EditEntries() = GenerateMoveMap();
    std::vector<Vector2<float>> cells;
    int checked = 0;
    for (const auto& [key, entry] : map.GetEntries())
        for (int oy = 0; oy < 8; oy += 3)
            for (int ox = 0; ox < 8; ox += 3)
            {
                const Pose pose = Pose::AlignTo(
                    key, Pose::SetCell(Pose(), 0, Pose::GetCell(key, 0) + Vector2<int>(ox, oy)), 0);
                if (pose.IsNone())
                    continue;
                for (int limb = 0; limb < 4; ++limb)
                {
                    map.GetLandingCells(pose, limb, cells);
                    const int reference = CMoveMap::GetReferenceLimb(limb);
                    for (Pose target : entry.targets[limb])
                    {
                        const Vector2<int> cell = Pose::GetCell(target, limb) +
                                                  Pose::GetCell(pose, reference) -
                                                  Pose::GetCell(target, reference);
                        if (cell.x < 0 || cell.x > 7 || cell.y < 0 || cell.y > 7)
                            continue;
                        ++checked;
                        EXPECT_NE(std::find(cells.begin() + 1, cells.end(), Vector2<float>(cell)),
                                  cells.end());
                    }
                }
            }
    EXPECT_GT(checked, 100000);
}

TEST(MoveMapTest, RestShapesPlaceTheSkeleton)
{
    CMoveMap map;
    map.EditEntries() = GenerateMoveMap();
    const Pose pose = MakePose({2, 3}, {4, 3}, {2, 5}, {3, 6});
    const std::vector<Vector2<float>> rest = PlacedRest(map, pose);
    ASSERT_EQ(rest.size(), 8u);
    EXPECT_EQ(rest[0], Vector2<float>(2, 3));
    EXPECT_EQ(rest[3], Vector2<float>(3, 6));

    StandInSkeleton skeleton(10);
    skeleton.PlaceAll({9.0f, 9.0f});
    map.ApplyRestPose(skeleton, pose);
    ExpectPositions(skeleton, rest);
    // Joints the table has no rest point for are left alone.
    EXPECT_EQ(skeleton.joints[8].position, Vector2<float>(9.0f, 9.0f));

    map.AddRestPose(skeleton, pose, 0.5f);
    std::vector<Vector2<float>> sum = rest;
    for (Vector2<float>& point : sum)
        point *= 1.5f;
    ExpectPositions(skeleton, sum);
    CMoveMap::ScaleJoints(skeleton, 2.0f);
    EXPECT_EQ(skeleton.joints[9].position, Vector2<float>(18.0f, 18.0f));

    // Pose 0 and poses the table lacks change nothing; a smaller skeleton takes what fits.
    const std::vector<StandInSkeleton::Joint> before = skeleton.joints;
    map.ApplyRestPose(skeleton, Pose());
    map.ApplyRestPose(skeleton, MakePose({4, 3}, {2, 3}, {2, 5}, {3, 6}));
    map.AddRestPose(skeleton, Pose(), 1.0f);
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(skeleton.joints[i].position, before[i].position);
    StandInSkeleton small(3);
    map.ApplyRestPose(small, pose);
    ExpectPositions(small, {rest[0], rest[1], rest[2]});
}

TEST(MoveMapTest, SnapToRestPoseNeedsEveryLimbOnAKnob)
{
    CMoveMap map;
    map.EditEntries() = GenerateMoveMap();
    const Pose pose = MakePose({2, 3}, {4, 3}, {2, 5}, {3, 6});
    StandInSkeleton skeleton;
    skeleton.PlaceAll({5.0f, 5.0f});
    Pose::ApplyToSkeleton(pose, skeleton);
    skeleton.joints[1].anchor = {4.02f, 2.98f};
    EXPECT_TRUE(map.SnapToRestPose(skeleton));
    EXPECT_EQ(skeleton.queued, 1);
    ExpectPositions(skeleton, PlacedRest(map, pose));

    const std::vector<StandInSkeleton::Joint> snapped = skeleton.joints;
    auto expectUnchanged = [&](const char* why)
    {
        for (size_t i = 0; i < snapped.size(); ++i)
            EXPECT_EQ(skeleton.joints[i].position, snapped[i].position) << why;
        EXPECT_EQ(skeleton.queued, 1) << why;
    };
    // A limb more than sqrt(0.001) from its cell.
    skeleton.joints[2].anchor = {2.0f, 5.04f};
    EXPECT_FALSE(map.SnapToRestPose(skeleton));
    expectUnchanged("off the cell");
    skeleton.joints[2].anchor = {2.0f, 5.0f};
    // No knob under a limb.
    skeleton.knobsEverywhere = false;
    skeleton.knobs = {{2, 3}, {4, 3}, {2, 5}};
    EXPECT_FALSE(map.SnapToRestPose(skeleton));
    expectUnchanged("no knob");
    skeleton.knobs.insert({3, 6});
    EXPECT_TRUE(map.SnapToRestPose(skeleton));
    skeleton.knobsEverywhere = true;
    // Off the board, or a pose the table lacks.
    skeleton.joints[3].anchor = {3.0f, 8.0f};
    EXPECT_FALSE(map.SnapToRestPose(skeleton));
    skeleton.joints[3].anchor = {-0.2f, 6.0f};
    EXPECT_FALSE(map.SnapToRestPose(skeleton));
    skeleton.joints[3].anchor = {NAN, 6.0f};
    EXPECT_FALSE(map.SnapToRestPose(skeleton));
    skeleton.joints[3].anchor = {1.0f, 6.0f};
    EXPECT_FALSE(map.SnapToRestPose(skeleton));
    EXPECT_EQ(skeleton.queued, 2);
}

TEST(MoveMapTest, DragBlendMixesTheRestShapesAroundTheLimb)
{
    CMoveMap map;
    map.EditEntries() = GenerateMoveMap();
    const Pose pose = MakePose({2, 3}, {4, 3}, {2, 5}, {3, 6});
    const Pose up = Pose::SetCell(pose, 1, {4, 2});
    const Pose right = Pose::SetCell(pose, 1, {5, 3});
    const Pose upRight = Pose::SetCell(pose, 1, {5, 2});
    StandInSkeleton skeleton;

    // Exactly on a cell: that hop's shape, whole.
    skeleton.PlaceAll({0.0f, 0.0f});
    skeleton.joints[1].position = {4.0f, 2.0f};
    map.BlendDragPose(skeleton, pose, 1);
    ExpectPositions(skeleton, PlacedRest(map, up));
    // On the own cell: the pose's own shape.
    skeleton.joints[1].position = {4.0f, 3.0f};
    map.BlendDragPose(skeleton, pose, 1);
    ExpectPositions(skeleton, PlacedRest(map, pose));

    // Between four cells: the bilinear mix.
    skeleton.joints[1].position = {4.25f, 2.5f};
    map.BlendDragPose(skeleton, pose, 1);
    std::vector<Vector2<float>> mix(8);
    const std::pair<Pose, float> corners[] = {
        {up, 0.375f}, {upRight, 0.125f}, {pose, 0.375f}, {right, 0.125f}};
    for (const auto& [corner, weight] : corners)
        for (size_t i = 0; i < mix.size(); ++i)
            mix[i] += PlacedRest(map, corner)[i] * weight;
    ExpectPositions(skeleton, mix);

    // Left of the board the fraction still runs 0..1 from the floor: the hand of a pose at the
    // left edge dragged to x = -0.25 takes the shapes of column 0 only.
    const Pose edge = MakePose({0, 3}, {2, 3}, {0, 5}, {1, 6});
    skeleton.joints[0].position = {-0.25f, 2.5f};
    map.BlendDragPose(skeleton, edge, 0);
    const Pose edgeUp = Pose::SetCell(edge, 0, {0, 2});
    std::vector<Vector2<float>> half(8);
    for (size_t i = 0; i < half.size(); ++i)
        half[i] = (PlacedRest(map, edge)[i] + PlacedRest(map, edgeUp)[i]) * 0.5f;
    ExpectPositions(skeleton, half);

    // A hop whose pose the table lacks adds no weight: the body is not pulled to the origin.
    CMoveMap partial;
    partial.EditEntries() = map.GetEntries();
    partial.EditEntries().erase(Normalised(right));
    skeleton.joints[1].position = {4.5f, 3.0f};
    partial.BlendDragPose(skeleton, pose, 1);
    ExpectPositions(skeleton, PlacedRest(map, pose));

    // Nothing for an empty table, a limb that is not one, or a pose the table lacks.
    const std::vector<StandInSkeleton::Joint> before = skeleton.joints;
    CMoveMap().BlendDragPose(skeleton, pose, 1);
    map.BlendDragPose(skeleton, pose, 4);
    map.BlendDragPose(skeleton, MakePose({4, 3}, {2, 3}, {2, 5}, {3, 6}), 1);
    skeleton.joints[1].position = {30.0f, -40.0f};
    map.BlendDragPose(skeleton, pose, 1);
    skeleton.joints[1].position = before[1].position;
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(skeleton.joints[i].position, before[i].position);
    StandInSkeleton tiny(1, 1);
    map.BlendDragPose(tiny, pose, 1);
}
