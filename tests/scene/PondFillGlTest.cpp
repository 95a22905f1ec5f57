// The fill of the shipped ponds on a real ES 1.1 context at the phone's 320x480: the pixels each
// pond's layers cover in a frame, counted from its draws (FrameFill), stay within what the picture
// needs, so layers that cover the screen again and again cannot creep back. A whole frame may fill
// 2.5 screens in play and 2 on the front end; what is not drawn here takes part of that, as
// bench/PondFrameBench measures it: in play the knobs, the frog with its shadow, its fly and the
// play buttons about 0.4 screens; on the front end the lilies of the puzzle board and the menu
// about 0.8.
#include "Graphics/CMaterialSet.h"
#include "Graphics/CTextureSet.h"
#include "core/CRules.h"
#include "core/CSingleton.h"
#include "core/Random.h"
#include "platform/CGame.h"
#include "platform/CView.h"
#include "scene/CLayer.h"
#include "scene/CPond.h"
#include "support/AppFolder.h"
#include "support/FrameFill.h"
#include "support/GlFixture.h"
#include "support/TempFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace
{
constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 480;

struct PondLimit
{
    const char* name;
    float screens; // the pond's own layers'
};

// The water is not drawn under the board's opaque middle: 1.5 to 1.7 screens in play.
const PondLimit kLimits[] = {{"morning", 1.8f}, {"reeds", 1.8f}, {"blossom", 1.8f}, {"rain", 1.8f},
                             {"dusk", 1.8f},    {"night", 1.8f}, {"menu", 1.2f}};

class PondFillGlTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_context.CreatePbuffer(kScreenWidth, kScreenHeight, CEglContext::Attributes()))
            << "no ES 1.1 pbuffer context: " << m_context.GetFailure();
        KeepGlDriverLoaded();
        CGraphics::Instance()->InitState();
        CSingleton<CGame>::Toggle(false);
        const std::string source = std::string(FROG_SOURCE_DIR) + "/data/";
        for (const char* document : {"rules.xml", "materials.xml"})
            m_folder.WriteData(document, TempFolder::ReadFile(source + document));
        mkdir(m_folder.PathOf("data/pond").c_str(), 0755);
        for (const PondLimit& pond : kLimits)
        {
            const std::string file = std::string("pond/") + pond.name + ".xml";
            m_folder.WriteData(file, TempFolder::ReadFile(source + file));
        }
        ASSERT_EQ(0, symlink(FROG_DATA_DIR "/textures", m_folder.PathOf("data/textures").c_str()));
        CRules::Instance()->Load();
        CView::SetScreenFromRules(Vector2<int32_t>(kScreenWidth, kScreenHeight), 0.0f);
        CView::GetCurrent().Apply();
    }
    void TearDown() override
    {
        CSingleton<CGame>::Toggle(false);
        CPond::SetCapsTest(m_previousCaps);
        CPond::SetLightVector(CPond::kDefaultLightVector);
        CMaterialSet::Toggle(false);
        CTextureSet::Toggle(false);
        m_context.Release();
        CGraphics::Toggle(false);
        COpenGL::Toggle(false);
    }

    // Screens of pixels the pond's layers cover in one frame (the textures loaded before).
    static double PondFill(const char* name)
    {
        GlobalRandom().Seed(19);
        CRef<CPond> pond = CPond::Create(name);
        pond->Draw();
        FrameFill::Start();
        pond->Draw();
        FrameFill::Stop();
        return FrameFill::DrawnPixels() / (double(kScreenWidth) * double(kScreenHeight));
    }

    CEglContext m_context;
    AppFolder m_folder;
    // The graphics here have two texture units: every pond takes its first treatment.
    CPond::CapsTest m_previousCaps = CPond::SetCapsTest([](const CString&) { return true; });
};

TEST_F(PondFillGlTest, EveryPondFillsNoMoreThanItsPictureNeeds)
{
    for (const PondLimit& pond : kLimits)
    {
        const double fill = PondFill(pond.name);
        // A pond that drew nothing would pass for the wrong reason: the water covers the screen.
        EXPECT_GE(fill, 1.0) << pond.name;
        EXPECT_LE(fill, pond.screens) << pond.name << " fills " << fill << " screens a frame";
    }
}

// The ponds draw no water under the board's opaque middle: the water's strips and the board
// together must still cover every pixel, with the board sprung as far as a held limb pulls it.
TEST_F(PondFillGlTest, WaterAndBoardLeaveNoGap)
{
    static Vector2<float> s_pull;
    const CLayer::SpringSource previous = CLayer::SetSpringSource([] { return s_pull; });
    // Beyond the furthest pull: "springcap" cells, with the spring's overshoot.
    const float far = 0.8f;
    for (const PondLimit& pond : kLimits)
    {
        if (std::string(pond.name) == "menu")
            continue;
        CRef<CPond> scene = CPond::Create(pond.name);
        scene->Draw();
        for (const Vector2<float> pull : {Vector2<float>(far, far), Vector2<float>(-far, far),
                                          Vector2<float>(far, -far), Vector2<float>(-far, -far)})
        {
            s_pull = pull;
            // A colour no pond shows: what is left of it was covered by nothing.
            glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT);
            for (const CRef<CLayer>& layer : scene->GetLayers())
                if (layer->GetClassName() == "CLayerBoard" || strncmp(layer->GetName().c_str(), "water", 5) == 0)
                    layer->Draw();
            std::vector<uint8_t> rgba(size_t(kScreenWidth) * kScreenHeight * 4);
            glReadPixels(0, 0, kScreenWidth, kScreenHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
            // Seen through the board's soft edge a gap still tints the pixel towards the clear colour.
            int uncovered = 0;
            for (size_t i = 0; i < rgba.size(); i += 4)
                uncovered += rgba[i + 1] + 40 < rgba[i] && rgba[i + 1] + 40 < rgba[i + 2];
            EXPECT_EQ(uncovered, 0) << pond.name << " pulled by " << pull.x << "," << pull.y;
        }
    }
    CLayer::SetSpringSource(previous);
}

} // namespace
