#include "core/Angle.h"
#include "core/Geometry.h"
#include "core/GridWalker.h"
#include "core/MathConstants.h"
#include "core/Matrix2.h"
#include "core/Matrix3.h"
#include "core/Matrix4.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace
{
constexpr float kPi = 3.14159265f;
constexpr float kTolerance = 1e-5f;

// The constants are compile-time values, so static initialisers elsewhere read them set.
static_assert(kUnsetVector4f.w == 3.4028235e38f, "unset marker is the largest float");
static_assert(kUnsetVector2i == Vector2<int>(2147483647, 2147483647), "unset marker is the largest int");
static_assert(kBlack == Vector4<float>(0, 0, 0, 1) && kWhite255.w == 255, "colour constants");

void ExpectNear(const Vector3<float>& actual, const Vector3<float>& expected)
{
    EXPECT_NEAR(actual.x, expected.x, kTolerance);
    EXPECT_NEAR(actual.y, expected.y, kTolerance);
    EXPECT_NEAR(actual.z, expected.z, kTolerance);
}

void ExpectNear(const Vector2<float>& actual, const Vector2<float>& expected)
{
    EXPECT_NEAR(actual.x, expected.x, kTolerance);
    EXPECT_NEAR(actual.y, expected.y, kTolerance);
}

void ExpectIdentity(const Matrix4& m)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(m.m[i], (i % 5 == 0) ? 1.0f : 0.0f) << "element " << i;
}
} // namespace

TEST(MathTest, VectorArithmeticAndNormalise)
{
    const Vector2<int> a(3, -4);
    EXPECT_EQ(a + Vector2<int>(1, 1), Vector2<int>(4, -3));
    EXPECT_EQ(a * Vector2<int>(2, 3), Vector2<int>(6, -12));
    EXPECT_EQ(-a, Vector2<int>(-3, 4));
    EXPECT_EQ(Vector4<float>(1, 2, 3, 4) / 2.0f, Vector4<float>(0.5f, 1, 1.5f, 2));
    EXPECT_NE(Vector3<float>(1, 2, 3), Vector3<float>(1, 2, 4));
    EXPECT_EQ(Vector2<int>(Vector2<float>(1.75f, -2.5f)), Vector2<int>(1, -2));

    Vector2<float> v(3, 4);
    EXPECT_FLOAT_EQ(v.Normalise(), 5.0f);
    ExpectNear(v, Vector2<float>(0.6f, 0.8f));
    Vector3<float> w(0, 0, -2);
    EXPECT_FLOAT_EQ(w.Normalise(), 2.0f);
    EXPECT_EQ(w, Vector3<float>(0, 0, -1));
    // Huge components do not overflow to infinity on the way.
    Vector2<float> huge = kUnsetVector2f;
    EXPECT_GT(huge.Normalise(), 0.0f);
    ExpectNear(huge, Vector2<float>(0.70710678f, 0.70710678f));

    // A zero vector stays zero, with no NaN.
    Vector2<float> zero = kZeroVector2f;
    EXPECT_EQ(zero.Normalise(), 0.0f);
    EXPECT_EQ(zero, kZeroVector2f);
    Vector4<float> zero4;
    EXPECT_EQ(zero4.Normalise(), 0.0f);
    EXPECT_EQ(zero4, kZeroVector4f);
}

TEST(MathTest, Matrix4Rotations)
{
    const Matrix4 z = Matrix4::Rotation(kPi / 2, kAxisZ);
    EXPECT_NEAR(z.m[1], 1.0f, kTolerance);
    ExpectNear(z.TransformPoint(Vector3<float>(1, 0, 0)), Vector3<float>(0, 1, 0));
    ExpectNear(Matrix4::Rotation(kPi / 2, kAxisX).TransformPoint(Vector3<float>(0, 1, 0)),
               Vector3<float>(0, 0, 1));
    ExpectNear(Matrix4::Rotation(kPi / 2, kAxisY).TransformPoint(Vector3<float>(0, 0, 1)),
               Vector3<float>(1, 0, 0));
    ExpectNear(Matrix4::Rotation(kPi, kAxisZ).TransformPoint(Vector3<float>(1, 0, 0)),
               Vector3<float>(-1, 0, 0));

    // Only the exact unit axes are recognised.
    ExpectIdentity(Matrix4::Rotation(kPi / 2, Vector3<float>(0, 0, 2)));
    ExpectIdentity(Matrix4::Rotation(kPi / 2, Vector3<float>(1, 1, 0)));
    ExpectIdentity(Matrix4::Rotation(0.0f, kAxisX));
}

TEST(MathTest, Matrix4ComposesLaterStepsAfter)
{
    Matrix4 m;
    m.Translate(Vector3<float>(1, 2, 3));
    m.Scale(Vector3<float>(2, 2, 2));
    // The scale applies after the translation, so it scales the translation too.
    EXPECT_EQ(m.m[12], 2.0f);
    EXPECT_EQ(m.m[13], 4.0f);
    EXPECT_EQ(m.m[14], 6.0f);
    ExpectNear(m.TransformPoint(Vector3<float>(1, 1, 1)), Vector3<float>(4, 6, 8));

    Matrix4 r = Matrix4::Translation(Vector3<float>(1, 0, 0));
    r.Rotate(kPi / 2, kAxisZ);
    ExpectNear(r.TransformPoint(Vector3<float>(0, 0, 0)), Vector3<float>(0, 1, 0));

    const Matrix4 product =
        Matrix4::Translation(Vector3<float>(1, 0, 0)) * Matrix4::Rotation(kPi / 2, kAxisZ);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(product.m[i], r.m[i]);
    // Scale multiplies in the same order as composing with a scaling matrix.
    const Matrix4 scaled = Matrix4::Translation(Vector3<float>(1, 2, 3)) * Matrix4::Scaling(2.0f);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(scaled.m[i], m.m[i]);
}

TEST(MathTest, Matrix3AndMatrix2MapPoints)
{
    Matrix3 m;
    m.Translate(Vector2<float>(1, 1));
    m.Scale(Vector2<float>(2, 3));
    m.Rotate(kPi / 2);
    m.Translate(Vector2<float>(10, 0));
    // (1, 0) -> (2, 1) -> (4, 3) -> (-3, 4) -> (7, 4).
    ExpectNear(m.TransformPoint(Vector2<float>(1, 0)), Vector2<float>(7, 4));

    const Matrix3 r = Matrix3::Rotation(kPi / 2);
    EXPECT_NEAR(r.m[0], 0.0f, kTolerance);
    EXPECT_NEAR(r.m[1], 1.0f, kTolerance);
    EXPECT_NEAR(r.m[3], -1.0f, kTolerance);
    const Matrix3 t = Matrix3::Translation(Vector2<float>(5, 6));
    EXPECT_EQ(t.m[6], 5.0f);
    EXPECT_EQ(t.m[7], 6.0f);
    // Translated to (6, 6) first, then turned a quarter.
    ExpectNear((t * r).TransformPoint(Vector2<float>(1, 0)), Vector2<float>(-6, 6));

    Matrix2 q = Matrix2::Rotation(kPi / 3);
    ExpectNear(q.Transform(Vector2<float>(1, 0)), Vector2<float>(0.5f, 0.8660254f));
    q.Rotate(kPi / 6);
    ExpectNear(q.Transform(Vector2<float>(1, 0)), Vector2<float>(0, 1));
}

TEST(MathTest, AnglesWrapIntoHalfOpenRange)
{
    EXPECT_EQ(WrapAngle(180.0f), -180.0f);
    EXPECT_EQ(WrapAngle(-540.0f), -180.0f);
    EXPECT_EQ(WrapAngle(359.0f), -1.0f);
    EXPECT_EQ(WrapAngle(-180.0f), -180.0f);
    EXPECT_EQ(WrapAngle(0.0f), 0.0f);
    EXPECT_EQ(WrapAngle(720.5f), 0.5f);
    EXPECT_EQ(WrapAngle(-181.0f), 179.0f);

    for (float angle : {0.0f, 0.3f, 2.0f, -2.5f, 3.1f})
    {
        float c, s;
        HalfTangentCosSin(angle, c, s);
        EXPECT_NEAR(c, std::cos(angle), kTolerance);
        EXPECT_NEAR(s, std::sin(angle), kTolerance);
    }
}

TEST(MathTest, LinesAndSegments)
{
    const Vector2<float> o(0, 0);
    EXPECT_EQ(Cross(o, Vector2<float>(1, 0), Vector2<float>(0, 1)), 1.0f);
    EXPECT_EQ(Cross(o, Vector2<float>(0, 1), Vector2<float>(1, 0)), -1.0f);
    EXPECT_EQ(Cross(o, Vector2<float>(1, 1), Vector2<float>(3, 3)), 0.0f);

    float t = -7.0f;
    EXPECT_TRUE(SegmentCrossesLine(o, Vector2<float>(2, 0), Vector2<float>(1, -1), Vector2<float>(1, 1), &t));
    EXPECT_EQ(t, 0.5f);
    EXPECT_FALSE(
        SegmentCrossesLine(o, Vector2<float>(2, 0), Vector2<float>(3, -1), Vector2<float>(3, 1), &t));
    EXPECT_EQ(t, 1.5f);
    EXPECT_TRUE(SegmentCrossesLine(o, Vector2<float>(2, 0), Vector2<float>(2, 5), Vector2<float>(2, 6)));
    t = -7.0f;
    EXPECT_FALSE(SegmentCrossesLine(o, Vector2<float>(2, 0), Vector2<float>(0, 1), Vector2<float>(1, 1), &t));
    EXPECT_EQ(t, -7.0f);

    float u = 0.0f;
    EXPECT_TRUE(IntersectLines(o, Vector2<float>(1, 1), Vector2<float>(0, 2), Vector2<float>(2, 0), &t, &u));
    EXPECT_EQ(t, 1.0f);
    EXPECT_EQ(u, 0.5f);
    EXPECT_FALSE(IntersectLines(o, Vector2<float>(1, 1), Vector2<float>(1, 0), Vector2<float>(2, 1), &t, &u));
    EXPECT_FALSE(IntersectLines(o, Vector2<float>(1, 1), Vector2<float>(2, 2), Vector2<float>(3, 3)));

    EXPECT_EQ(DistanceToLine(Vector2<float>(3, 4), o, Vector2<float>(1, 0)), 4.0f);
    EXPECT_EQ(DistanceToLine(Vector2<float>(3, -4), o, Vector2<float>(1, 0)), 4.0f);
    EXPECT_FLOAT_EQ(DistanceToLine(Vector3<float>(7, 3, 4), Vector3<float>(1, 0, 0), kAxisX), 5.0f);
    EXPECT_FLOAT_EQ(DistanceToLine(Vector3<float>(0, 0, 9), kZeroVector3f, kAxisZ), 0.0f);

    const Vector2<float> end(4, 0);
    float along = -1.0f;
    EXPECT_EQ(ClosestPointOnSegment(o, end, Vector2<float>(1, 5), &along), Vector2<float>(1, 0));
    EXPECT_EQ(along, 1.0f);
    EXPECT_EQ(ClosestPointOnSegment(o, end, Vector2<float>(-3, 1), &along), o);
    EXPECT_EQ(along, 0.0f);
    EXPECT_EQ(ClosestPointOnSegment(o, end, Vector2<float>(9, 1), &along), end);
    EXPECT_EQ(along, 4.0f);
    EXPECT_EQ(ClosestPointOnSegment(end, end, Vector2<float>(9, 1), &along), end);
    EXPECT_EQ(along, 0.0f);
}

TEST(MathTest, GridWalkerStepsThroughEveryOctant)
{
    GridWalker still(Vector2<int>(2, 3), Vector2<int>(2, 3));
    EXPECT_TRUE(still.IsDone());
    EXPECT_FALSE(still.Step());
    EXPECT_EQ(still.Current(), Vector2<int>(2, 3));

    GridWalker walker(Vector2<int>(0, 0), Vector2<int>(4, 2));
    const Vector2<int> expected[] = {{1, 1}, {2, 1}, {3, 2}, {4, 2}};
    for (const Vector2<int>& cell : expected)
    {
        ASSERT_TRUE(walker.Step());
        EXPECT_EQ(walker.Current(), cell);
    }
    EXPECT_FALSE(walker.Step());
    EXPECT_EQ(walker.Current(), Vector2<int>(4, 2));

    const Vector2<int> start(5, -3);
    const Vector2<int> offsets[] = {{7, 3},  {3, 7},  {-3, 7}, {-7, 3}, {-7, -3}, {-3, -7},
                                    {3, -7}, {7, -3}, {0, 5},  {-5, 0}, {4, 4},   {-4, 4}};
    for (const Vector2<int>& offset : offsets)
    {
        GridWalker w(start, start + offset);
        GridWalker mirror(-start, -(start + offset));
        EXPECT_EQ(w.StepCount(), std::max(std::abs(offset.x), std::abs(offset.y)));
        Vector2<int> previous = w.Current();
        while (w.Step())
        {
            ASSERT_TRUE(mirror.Step());
            EXPECT_EQ(mirror.Current(), -w.Current());
            const Vector2<int> move = w.Current() - previous;
            EXPECT_LE(std::abs(move.x), 1);
            EXPECT_LE(std::abs(move.y), 1);
            EXPECT_NE(move, kZeroVector2i);
            // Never more than half a cell off the ideal line.
            const Vector2<float> rel(w.Current() - start);
            EXPECT_LE(std::fabs(rel.x * offset.y - rel.y * offset.x) /
                          std::max(std::abs(offset.x), std::abs(offset.y)),
                      0.5f + kTolerance);
            previous = w.Current();
        }
        EXPECT_EQ(w.Current(), start + offset);
        EXPECT_EQ(w.StepIndex(), w.StepCount());
    }
}
