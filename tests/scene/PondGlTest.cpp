// A pond drawn on a real ES 1.1 context: plain coloured plane layers in document order, one in
// screen pixels, and a layer with a pass of its own left out of the pond's draw.
#include "Graphics/DrawFixture.h"
#include "core/CRules.h"
#include "core/CSingleton.h"
#include "platform/CGame.h"
#include "platform/CView.h"
#include "scene/CLayer.h"
#include "scene/CPond.h"

#include <sys/stat.h>

namespace
{

using Pixel = DrawFixture::Pixel;

class PondGlTest : public DrawFixture
{
  protected:
    void SetUp() override
    {
        DrawFixture::SetUp();
        CSingleton<CGame>::Toggle(false);
        m_previousCaps = CPond::SetCapsTest([](const CString& list) { return list.empty(); });
        m_folder.WriteData("materials.xml", R"(<materials><default alphathreshold="0"/></materials>)");
        mkdir(m_folder.PathOf("data/pond").c_str(), 0755);
        // The screen view is the pbuffer: 32 x 32 view units, one a pixel, y down.
        CView::SetScreen(Vector2<int32_t>(kWidth, kHeight), 0.0f, Vector4<float>(0, 0, kWidth, kHeight), 0.0f,
                         0.0f);
        CView::GetCurrent().Apply();
    }
    void TearDown() override
    {
        m_pond.Reset();
        CSingleton<CGame>::Toggle(false);
        CPond::SetCapsTest(m_previousCaps);
        DrawFixture::TearDown();
    }

    // glReadPixels counts rows from the bottom; the view's y grows downwards.
    Pixel At(int x, int yFromTop) const { return ReadPixel(x, kHeight - 1 - yFromTop); }

    CRef<CPond> m_pond;
    CPond::CapsTest m_previousCaps = nullptr;
};

TEST_F(PondGlTest, PlainColouredLayersDrawInDocumentOrder)
{
    m_folder.WriteData("pond/gl.xml", R"(<pond><treatment caps="mt16"/><treatment>
        <layer type="Plane" name="blue" material="default" colour="0,0,1,1" fit="exact"/>
        <layer type="Plane" name="red" material="default" colour="1,0,0,1" placement="0,0,16,32" height="0"/>
        <layer type="Plane" name="green" material="default" colour="0,1,0,1" placement="0,0,32,8" order="ui"/>
        <layer type="Plane" name="bare" placement="0,24,32,8" colour="1,1,1,1"/>
        <layer type="Plane" name="nudged" material="default" colour="1,1,0,1" placement="0,28,4,4" nudgeable="true"/>
      </treatment></pond>)");
    m_pond = CPond::Create("gl");
    ASSERT_EQ(5u, m_pond->GetLayers().size());
    // Height 0 keeps the red half still; the yellow square moves to x 20..24, y 26..30.
    m_pond->SetNudge(Vector2<float>(20, -2));

    m_pond->Draw();
    EXPECT_EQ((Pixel{255, 0, 0, 255}), At(4, 4));     // red over blue, left half
    EXPECT_EQ((Pixel{0, 0, 255, 255}), At(28, 4));    // blue, right half; green waits for its pass
    EXPECT_EQ((Pixel{255, 0, 0, 255}), At(4, 26));    // the layer without material drew nothing
    EXPECT_EQ((Pixel{255, 255, 0, 255}), At(22, 28)); // moved by the nudge
    EXPECT_EQ((Pixel{0, 0, 255, 255}), At(28, 30));
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

} // namespace
