// Quad batches and meshes as arrays: corner layout, the completion Prepare does, colours, uv sets
// and indices, without a GL context.
#include "Graphics/QuadBatch.h"
#include "Graphics/CMaterial.h"
#include "Graphics/CMaterialSet.h"
#include "Graphics/CTextureSet.h"
#include "Graphics/MaterialCaps.h"
#include "Graphics/Mesh.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/MathConstants.h"

#include <gtest/gtest.h>
#include <vector>

namespace
{

const Vector4<float> kWhole(0, 0, 1, 1);
const Vector4<float> kRed(1, 0, 0, 1);
const Vector4<float> kBlue(0, 0, 1, 1);

class QuadBatchTest : public ::testing::Test
{
  protected:
    QuadBatchTest()
    {
        m_caps.textureUnits = 2;
        MaterialCaps::SetOverride(&m_caps);
    }
    ~QuadBatchTest() override
    {
        CTextureSet::Toggle(false);
        MaterialCaps::SetOverride(nullptr);
    }

    MaterialCaps m_caps;
};

std::vector<uint16_t> IndicesOf(uint16_t quads)
{
    std::vector<uint16_t> indices;
    for (uint16_t q = 0; q < quads; ++q)
        for (uint16_t corner : {0, 1, 2, 3, 0, 2})
            indices.push_back(uint16_t(4 * q + corner));
    return indices;
}

TEST_F(QuadBatchTest, CornersAndUvsFollowTheQuadLayout)
{
    QuadBatch batch;
    EXPECT_EQ(Vector3<float>(0, 0, 1), batch.translation);
    EXPECT_EQ(kUnsetVector3f, batch.normal);
    batch.AddQuad(Vector4<float>(1, 2, 3, 4), Vector4<float>(0.1f, 0.2f, 0.3f, 0.4f), kRed);
    ASSERT_EQ(uint32_t(1), batch.GetQuadCount());
    const std::vector<Vector3<float>>& p = batch.GetPositions();
    EXPECT_EQ(Vector3<float>(1, 4, 0), p[0]);
    EXPECT_EQ(Vector3<float>(3, 4, 0), p[1]);
    EXPECT_EQ(Vector3<float>(3, 2, 0), p[2]);
    EXPECT_EQ(Vector3<float>(1, 2, 0), p[3]);
    const std::vector<Vector2<float>>& uv = batch.GetUvSets()[0];
    EXPECT_EQ(Vector2<float>(0.1f, 0.4f), uv[0]);
    EXPECT_EQ(Vector2<float>(0.3f, 0.2f), uv[2]);
    EXPECT_EQ(Vector4<float>(1, 2, 3, 4), batch.GetQuadRect(0));
    EXPECT_EQ(Vector4<float>(0.1f, 0.2f, 0.3f, 0.4f), batch.GetQuadUv(0, 0));
    EXPECT_EQ(kRed, batch.GetQuadColour(0));
    EXPECT_EQ(Vector4<float>(), batch.GetQuadRect(1));
    EXPECT_EQ(Vector4<float>(), batch.GetQuadUv(0, 1));
    EXPECT_EQ(Vector4<float>(), batch.GetQuadUv(1, 0));

    // Moving an existing quad needs no Prepare; reaching a new one does.
    batch.Prepare();
    batch.SetQuadRect(0, Vector4<float>(0, 0, 1, 1));
    EXPECT_FALSE(batch.IsDirty());
    Matrix3 move = Matrix3::Translation(Vector2<float>(10, 20));
    batch.TransformQuad(0, move);
    EXPECT_EQ(Vector4<float>(10, 20, 11, 21), batch.GetQuadRect(0));
    EXPECT_FALSE(batch.IsDirty());
    batch.TransformQuad(2, move);
    EXPECT_TRUE(batch.IsDirty());
    EXPECT_EQ(uint32_t(3), batch.GetQuadCount());
    EXPECT_EQ(Vector4<float>(10, 20, 10, 20), batch.GetQuadRect(2));

    const QuadBatch one(Vector2<float>(5, 6), Vector4<float>(-1, -1, 1, 1), CRef<CMaterial>(), kBlue, kWhole,
                        45);
    EXPECT_EQ(Vector3<float>(5, 6, 1), one.translation);
    EXPECT_EQ(45.0f, one.rotation);
    EXPECT_EQ(kBlue, one.GetColour());
    EXPECT_EQ(kWhole, one.GetQuadUv(0, 0));
}

TEST_F(QuadBatchTest, PrepareCompletesColoursUvsAndIndices)
{
    // Empty: one quad with every corner at the origin, drawn as a fan.
    QuadBatch empty;
    empty.Prepare();
    EXPECT_EQ(uint32_t(1), empty.GetQuadCount());
    EXPECT_EQ(Vector4<float>(), empty.GetQuadRect(0));
    EXPECT_TRUE(empty.GetIndices().empty());
    ASSERT_EQ(size_t(1), empty.GetUvSets().size());
    EXPECT_EQ(kWhole, empty.GetQuadUv(0, 0));
    EXPECT_EQ(size_t(4), empty.GetColours().size());
    EXPECT_FALSE(empty.IsDirty());

    QuadBatch batch;
    batch.AddQuad(Vector4<float>(0, 0, 1, 1), kWhole, kRed);
    batch.Prepare();
    EXPECT_TRUE(batch.GetIndices().empty());
    batch.AddQuad(Vector4<float>(1, 1, 2, 2), kWhole, kRed);
    batch.Prepare();
    EXPECT_EQ(IndicesOf(2), batch.GetIndices());

    // A quad made by its rectangle alone gets the whole texture and the batch colour.
    batch.SetQuadRect(2, Vector4<float>(2, 2, 3, 3));
    batch.Prepare();
    EXPECT_EQ(IndicesOf(3), batch.GetIndices());
    EXPECT_EQ(kWhole, batch.GetQuadUv(2, 0));
    EXPECT_EQ(kRed, batch.GetQuadColour(2));
    EXPECT_EQ(size_t(12), batch.GetColours().size());
}

TEST_F(QuadBatchTest, ColoursStayUniformUntilTheyDiffer)
{
    QuadBatch same;
    for (int i = 0; i < 3; ++i)
        same.AddQuad(Vector4<float>(0, 0, 1, 1), kWhole, kBlue);
    EXPECT_TRUE(same.GetColours().empty());
    same.Prepare();
    ASSERT_EQ(size_t(12), same.GetColours().size());
    for (const Vector4<float>& colour : same.GetColours())
        EXPECT_EQ(kBlue, colour);

    QuadBatch mixed;
    mixed.AddQuad(Vector4<float>(0, 0, 1, 1), kWhole, kBlue);
    mixed.AddQuad(Vector4<float>(0, 0, 1, 1), kWhole, kBlue);
    mixed.AddQuad(Vector4<float>(0, 0, 1, 1), kWhole, kRed);
    ASSERT_EQ(size_t(12), mixed.GetColours().size());
    EXPECT_EQ(kBlue, mixed.GetQuadColour(0));
    EXPECT_EQ(kBlue, mixed.GetQuadColour(1));
    EXPECT_EQ(kRed, mixed.GetQuadColour(2));

    // Colouring an earlier quad leaves the later quads' colours alone.
    mixed.SetQuadColour(0, Vector4<float>(0, 1, 0, 1));
    EXPECT_EQ(Vector4<float>(0, 1, 0, 1), mixed.GetQuadColour(0));
    EXPECT_EQ(kBlue, mixed.GetQuadColour(1));
    EXPECT_EQ(kRed, mixed.GetQuadColour(2));
    EXPECT_EQ(Vector4<float>(), mixed.GetQuadColour(7));

    mixed.SetColour(kBlue);
    EXPECT_TRUE(mixed.GetColours().empty());
    EXPECT_EQ(kBlue, mixed.GetQuadColour(2));
}

TEST_F(QuadBatchTest, UvSetsOnlyGrowAndStayWithinTheUnits)
{
    QuadBatch batch;
    batch.AddQuad(Vector4<float>(0, 0, 1, 1), Vector4<float>(0, 0, 0.5f, 0.5f), kRed);
    batch.AddQuad(Vector4<float>(0, 0, 1, 1), Vector4<float>(0.5f, 0.5f, 1, 1), kRed);
    batch.Prepare();
    // Set 2 needs a third unit: only marks the batch dirty.
    batch.SetQuadUv(0, 2, kWhole);
    EXPECT_TRUE(batch.IsDirty());
    EXPECT_EQ(size_t(1), batch.GetUvSets().size());
    // Writing an earlier quad never cuts a later one's uvs.
    batch.SetQuadUv(0, 0, kWhole);
    EXPECT_EQ(Vector4<float>(0.5f, 0.5f, 1, 1), batch.GetQuadUv(1, 0));
    batch.SetQuadUv(1, 1, Vector4<float>(0.25f, 0.25f, 0.75f, 0.75f));
    batch.Prepare();
    ASSERT_EQ(size_t(2), batch.GetUvSets().size());
    // Quad 0 was passed over in set 1: it has the whole texture there.
    EXPECT_EQ(kWhole, batch.GetQuadUv(0, 1));
    EXPECT_EQ(Vector4<float>(0.25f, 0.25f, 0.75f, 0.75f), batch.GetQuadUv(1, 1));

    // A material with more units than the batch has sets gets sets of whole-texture uvs.
    CXmlDocument document;
    ASSERT_TRUE(
        document.Parse("<m><textureunit texture=\"a\"/><textureunit unit=\"1\" texture=\"b\"/></m>", false));
    QuadBatch two;
    two.AddQuad(Vector4<float>(0, 0, 1, 1), kWhole, kRed);
    two.Prepare();
    two.SetMaterial(CMaterial::Create(*document.GetRoot()));
    two.Prepare();
    ASSERT_EQ(size_t(2), two.GetUvSets().size());
    EXPECT_EQ(kWhole, two.GetQuadUv(0, 1));

    QuadBatch listed;
    listed.AddQuad(Vector4<float>(0, 0, 1, 1), {kWhole, Vector4<float>(0, 0, 2, 2)}, kRed);
    EXPECT_EQ(Vector4<float>(0, 0, 2, 2), listed.GetQuadUv(0, 1));
}

TEST_F(QuadBatchTest, CuttingAndClearingDropStaleIndices)
{
    QuadBatch batch;
    for (int i = 0; i < 3; ++i)
        batch.AddQuad(Vector4<float>(0, 0, 1, 1), kWhole, i == 1 ? kRed : kBlue);
    batch.Prepare();
    ASSERT_EQ(size_t(18), batch.GetIndices().size());

    batch.SetQuadCount(2);
    EXPECT_TRUE(batch.IsDirty());
    EXPECT_EQ(size_t(8), batch.GetColours().size());
    EXPECT_EQ(size_t(8), batch.GetUvSets()[0].size());
    batch.Prepare();
    EXPECT_EQ(IndicesOf(2), batch.GetIndices());
    batch.SetQuadCount(1);
    batch.Prepare();
    EXPECT_TRUE(batch.GetIndices().empty());

    // Growing adds white whole-texture quads (-1, -1, 1, 1).
    batch.SetQuadCount(3);
    EXPECT_EQ(Vector4<float>(-1, -1, 1, 1), batch.GetQuadRect(2));
    EXPECT_EQ(Vector4<float>(1, 1, 1, 1), batch.GetQuadColour(2));

    batch.SetMaterial(CMaterial::CreateDefault());
    batch.rotation = 30;
    batch.Clear();
    EXPECT_EQ(uint32_t(0), batch.GetQuadCount());
    EXPECT_TRUE(batch.GetIndices().empty());
    EXPECT_FALSE(batch.material);
    EXPECT_EQ(Vector3<float>(0, 0, 0), batch.translation);
    EXPECT_EQ(0.0f, batch.rotation);
    EXPECT_EQ(Vector2<float>(1, 1), batch.scale);
}

TEST_F(QuadBatchTest, QuadsBeyondTheIndexRangeAreIgnored)
{
    QuadBatch batch;
    batch.SetQuadCount(QuadBatch::kMaxQuads + 5);
    EXPECT_EQ(QuadBatch::kMaxQuads, batch.GetQuadCount());
    batch.AddQuad(Vector4<float>(0, 0, 1, 1), kWhole, kRed);
    batch.SetQuadRect(QuadBatch::kMaxQuads, Vector4<float>(0, 0, 1, 1));
    batch.SetQuadColour(QuadBatch::kMaxQuads, kRed);
    batch.TransformQuad(QuadBatch::kMaxQuads, Matrix3());
    EXPECT_EQ(QuadBatch::kMaxQuads, batch.GetQuadCount());
    batch.Prepare();
    ASSERT_EQ(size_t(6) * QuadBatch::kMaxQuads, batch.GetIndices().size());
    EXPECT_EQ(uint16_t(65535), batch.GetIndices()[6 * QuadBatch::kMaxQuads - 3]);
}

TEST_F(QuadBatchTest, GridRunsRowByRow)
{
    Mesh mesh;
    mesh.BuildGrid(Vector4<float>(0, 0, 2, 4), 2, 2);
    ASSERT_EQ(size_t(4), mesh.positions.size());
    EXPECT_EQ((std::vector<uint16_t>{0, 2, 3, 3, 1, 0}), mesh.indices);
    EXPECT_EQ(Vector3<float>(2, 0, 0), mesh.positions[1]);
    EXPECT_EQ(Vector3<float>(0, 4, 0), mesh.positions[2]);
    ASSERT_EQ(size_t(1), mesh.uvSets.size());
    EXPECT_EQ(Vector2<float>(1, 1), mesh.uvSets[0][3]);
    EXPECT_EQ(Vector3<float>(0, 0, -1), mesh.normals[2]);
    EXPECT_EQ(Vector4<float>(1, 1, 1, 1), mesh.colours[3]);

    mesh.BuildGrid(Vector4<float>(-1, -1, 1, 1), 3, 4);
    EXPECT_EQ(size_t(12), mesh.positions.size());
    EXPECT_EQ(size_t(6 * 2 * 3), mesh.indices.size());
    EXPECT_EQ(Vector3<float>(0, -1, 0), mesh.positions[1]);
    EXPECT_EQ(Vector2<float>(0.5f, 1.0f), mesh.uvSets[0][10]);

    // Too few columns count as two; more vertices than u16 indices reach leave nothing.
    mesh.BuildGrid(Vector4<float>(0, 0, 1, 1), 1, 0);
    EXPECT_EQ(size_t(4), mesh.positions.size());
    mesh.BuildGrid(Vector4<float>(0, 0, 1, 1), 257, 256);
    EXPECT_TRUE(mesh.positions.empty());
    EXPECT_TRUE(mesh.indices.empty());
    mesh.BuildGrid(Vector4<float>(0, 0, 1, 1), 256, 256);
    EXPECT_EQ(size_t(65536), mesh.positions.size());
}

} // namespace
