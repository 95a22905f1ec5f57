// The screen border's frame: its width from the "border/" tuning values and the viewport, one
// pixel beyond every edge, and the texture's outer band spread over it.
#include "Graphics/CMaterialSet.h"
#include "core/CRules.h"
#include "platform/CGame.h"
#include "support/AppFolder.h"
#include "ui/CBorder.h"

#include <gtest/gtest.h>

namespace
{
class BorderTest : public testing::Test
{
  protected:
    ~BorderTest() override
    {
        CSingleton<CBorder>::Toggle(false);
        CSingleton<CGame>::Toggle(false);
        CMaterialSet::Toggle(false);
    }
    AppFolder m_folder;
};

TEST_F(BorderTest, FrameOfTheViewportWithTheRulesOrTheirDefaults)
{
    m_folder.WriteData("rules.xml", "<rules><border material=\"frame\"/></rules>");
    CRules::Instance()->Load();
    CBorder* border = CBorder::Instance();
    EXPECT_FLOAT_EQ(border->GetThickness(), 0.1f) << "the default of an absent key";
    border->BuildFrame(Vector4<int32_t>(0, 0, 320, 480));
    const Mesh& mesh = border->GetMesh();
    ASSERT_EQ(mesh.positions.size(), 16u);
    ASSERT_EQ(mesh.indices.size(), 48u);
    // 49 pixels wide (0.1 x 480 + 1), reaching one pixel beyond each edge.
    EXPECT_EQ(mesh.positions[15], Vector3<float>(-1, -1, 1));
    EXPECT_EQ(mesh.positions[7], Vector3<float>(320, 480, 1));
    EXPECT_EQ(mesh.positions[13], Vector3<float>(48, 48, 1)) << "the open centre's top left corner";
    EXPECT_EQ(mesh.positions[5], Vector3<float>(271, 431, 1));
    // The default uvs: the outer rectangle grown by one pixel of the height, the inner 80 % open.
    EXPECT_FLOAT_EQ(mesh.uvSets[0][15].x, -1.0f / 480.0f);
    EXPECT_FLOAT_EQ(mesh.uvSets[0][7].y, 1.0f + 1.0f / 480.0f);
    EXPECT_FLOAT_EQ(mesh.uvSets[0][13].x, 0.1f);
    EXPECT_FLOAT_EQ(mesh.uvSets[0][5].y, 0.9f);

    border->Resize();
    EXPECT_TRUE(border->GetMesh().positions.empty()) << "the next draw builds it for the new viewport";
    EXPECT_EQ(border->GetMesh().indices.size(), 48u);
}

TEST_F(BorderTest, NoRulesDocumentGivesNoFrame)
{
    CBorder* border = CBorder::Instance();
    EXPECT_FLOAT_EQ(border->GetThickness(), 0.0f);
    border->BuildFrame(Vector4<int32_t>(0, 0, 480, 320));
    EXPECT_EQ(border->GetMesh().positions[13], Vector3<float>(0, 0, 1));
}
} // namespace
