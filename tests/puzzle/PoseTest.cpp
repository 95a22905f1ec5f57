#include "puzzle/Pose.h"

#include "StandInSkeleton.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>

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
} // namespace

TEST(PoseTest, CellsArePackedByLimbWithXInTheLowNibble)
{
    const Pose home = MakePose({1, 5}, {2, 5}, {1, 6}, {2, 6});
    EXPECT_EQ(home.Bits(), 0x62615251u);
    EXPECT_EQ(Pose::GetCell(home, 2), Vector2<int>(1, 6));
    EXPECT_EQ(Pose::GetCell(home, 4), Vector2<int>(INT_MAX, INT_MAX));
    EXPECT_EQ(Pose::GetCell(home, -1), Vector2<int>(INT_MAX, INT_MAX));
    EXPECT_EQ(Pose::SetCell(home, 4, {3, 3}), home);
    // Coordinates are cut to their nibble.
    EXPECT_EQ(Pose::PackCell({17, 2}), 0x21);
    EXPECT_EQ(Pose::PackCell({-1, 0}), 0x0F);
    EXPECT_TRUE(Pose::IsOnBoard(home));
    EXPECT_FALSE(Pose::IsOnBoard(Pose(0x62615258u)));
}

TEST(PoseTest, ComparesCellsLimbByLimb)
{
    const Pose a = MakePose({1, 5}, {2, 5}, {1, 6}, {2, 6});
    EXPECT_TRUE(Pose::HasDistinctCells(a));
    EXPECT_FALSE(Pose::HasDistinctCells(Pose::SetCell(a, 3, {1, 6})));
    EXPECT_FALSE(Pose::HasDistinctCells(Pose()));

    EXPECT_EQ(Pose::CountEqualCells(a, a), 4);
    EXPECT_EQ(Pose::CountEqualCells(a, Pose::SetCell(a, 0, {0, 0})), 3);
    EXPECT_EQ(Pose::CountEqualCells(a, Pose(~a.Bits())), 0);

    EXPECT_EQ(Pose::ChangedLimb(a, a), -1);
    EXPECT_EQ(Pose::ChangedLimb(a, Pose::SetCell(a, 0, {0, 4})), 0);
    EXPECT_EQ(Pose::ChangedLimb(a, Pose::SetCell(a, 3, {3, 7})), 3);
    EXPECT_EQ(Pose::ChangedLimb(a, Pose::SetCell(Pose::SetCell(a, 1, {3, 4}), 2, {0, 7})), -1);
}

TEST(PoseTest, AlignsAndNormalisesWithinTheBoard)
{
    const Pose pose = MakePose({1, 5}, {2, 5}, {1, 6}, {2, 6});
    const Pose other = MakePose({4, 1}, {0, 0}, {0, 0}, {0, 0});
    // Limb 0 moves from (1, 5) to (4, 1): every cell shifts by (3, -4).
    EXPECT_EQ(Pose::AlignTo(pose, other, 0), MakePose({4, 1}, {5, 1}, {4, 2}, {5, 2}));
    EXPECT_EQ(Pose::AlignTo(pose, pose, 2), pose);
    // A shift that puts a limb on column -1 or row 8 fails.
    EXPECT_TRUE(Pose::AlignTo(pose, MakePose({}, {0, 5}, {}, {}), 1).IsNone());
    EXPECT_TRUE(Pose::AlignTo(pose, MakePose({1, 7}, {}, {}, {}), 0).IsNone());
    EXPECT_EQ(Pose::AlignTo(pose, MakePose({}, {1, 6}, {}, {}), 1), MakePose({0, 6}, {1, 6}, {0, 7}, {1, 7}));

    Pose moved = pose;
    EXPECT_EQ(Pose::Normalise(moved), Vector2<int>(1, 5));
    EXPECT_EQ(moved, MakePose({0, 0}, {1, 0}, {0, 1}, {1, 1}));
    Pose origin = moved;
    EXPECT_EQ(Pose::Normalise(origin), Vector2<int>(0, 0));
    EXPECT_EQ(origin, moved);
    Pose corner = MakePose({7, 7}, {7, 7}, {7, 7}, {7, 7});
    EXPECT_EQ(Pose::Normalise(corner), Vector2<int>(7, 7));
    EXPECT_TRUE(corner.IsNone());
}

TEST(PoseTest, TransformsAreTheBoardsSymmetries)
{
    const Pose pose = MakePose({1, 5}, {2, 5}, {1, 6}, {3, 7});
    Pose mirrored = pose;
    Pose::MirrorX(mirrored);
    EXPECT_EQ(mirrored, MakePose({6, 5}, {5, 5}, {6, 6}, {4, 7}));
    EXPECT_EQ(Pose::Transform(pose, 4), mirrored);
    EXPECT_EQ(Pose::Transform(Pose::Transform(pose, 4), 4), pose);
    EXPECT_EQ(Pose::Transform(pose, 0), pose);
    // A quarter turn maps (x, y) to (y, 7 - x).
    EXPECT_EQ(Pose::Transform(pose, 1), MakePose({5, 6}, {5, 5}, {6, 6}, {7, 4}));
    Pose turned = pose;
    for (int i = 0; i < 4; ++i)
        turned = Pose::Transform(turned, 1);
    EXPECT_EQ(turned, pose);
    EXPECT_EQ(Pose::Transform(pose, 3), Pose::Transform(Pose::Transform(pose, 2), 1));
    // Mirror first, then turn.
    EXPECT_EQ(Pose::Transform(pose, 5), Pose::Transform(mirrored, 1));
}

TEST(PoseTest, TextRoundTripsAndRejectsWhatItNeverWrites)
{
    const Pose home = MakePose({1, 5}, {2, 5}, {1, 6}, {2, 6});
    EXPECT_EQ(Pose::ToText(home), "62615251");
    EXPECT_EQ(Pose::ToText(Pose(0x00000007u)), "00000007");

    Pose read(0x12345670u);
    EXPECT_TRUE(Pose::FromText("00000000", read));
    EXPECT_TRUE(read.IsNone());
    EXPECT_TRUE(Pose::FromText("76543210", read));
    EXPECT_EQ(read, MakePose({0, 1}, {2, 3}, {4, 5}, {6, 7}));

    // Every on-board word reads back from its text.
    for (uint32_t bits = 1; bits < 0x77777777u; bits += 0x01234567u)
    {
        const Pose pose(bits & 0x77777777u);
        Pose back;
        EXPECT_TRUE(Pose::FromText(Pose::ToText(pose).c_str(), back));
        EXPECT_EQ(back, pose);
    }

    // Wrong length, a null text, a digit 8 or 9, a letter or a blank leave the pose unchanged.
    const Pose before = home;
    Pose kept = before;
    for (const char* bad :
         {"6261525", "626152510", "", "62615258", "92615251", "6261525A", "6261525a", "6261 251", "-2615251"})
    {
        EXPECT_FALSE(Pose::FromText(bad, kept)) << bad;
        EXPECT_EQ(kept, before) << bad;
    }
    EXPECT_FALSE(Pose::FromText(nullptr, kept));
    EXPECT_EQ(kept, before);
}

TEST(PoseTest, ReadsAndPlacesTheSkeletonsLimbs)
{
    StandInSkeleton skeleton(6);
    const Pose home = MakePose({1, 5}, {2, 5}, {1, 6}, {2, 6});
    skeleton.PlaceAll({4.0f, 4.0f});
    Pose::ApplyToSkeleton(home, skeleton);
    for (int i = 0; i < 4; ++i)
    {
        const Vector2<float> cell(Pose::GetCell(home, i));
        EXPECT_EQ(skeleton.joints[size_t(i)].position, cell);
        EXPECT_EQ(skeleton.joints[size_t(i)].anchor, cell);
    }
    EXPECT_EQ(skeleton.joints[4].position, Vector2<float>(4.0f, 4.0f));
    EXPECT_EQ(Pose::FromSkeleton(skeleton), home);

    // Anchors round half up; limbs the skeleton lacks stay on byte 0.
    skeleton.joints[0].anchor = {1.49f, 4.5f};
    skeleton.joints[1].anchor = {2.51f, 5.2f};
    EXPECT_EQ(Pose::FromSkeleton(skeleton), MakePose({1, 5}, {3, 5}, {1, 6}, {2, 6}));
    skeleton.limbs = 2;
    EXPECT_EQ(Pose::FromSkeleton(skeleton), MakePose({1, 5}, {3, 5}, {0, 0}, {0, 0}));
    // Anchors that are far away or not numbers do not break the conversion.
    skeleton.joints[0].anchor = {1e30f, -1e30f};
    skeleton.joints[1].anchor = {NAN, 2.0f};
    Pose::FromSkeleton(skeleton);

    StandInSkeleton empty(0, 0);
    EXPECT_TRUE(Pose::FromSkeleton(empty).IsNone());
    Pose::ApplyToSkeleton(home, empty);
}
