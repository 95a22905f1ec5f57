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
#include "scene/CPond.h"
#include "support/AppFolder.h"
#include "support/FrameFill.h"
#include "support/GlFixture.h"
#include "support/TempFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace
{
constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 480;

struct PondLimit
{
    const char* name;
    float screens; // the pond's own layers'
};

const PondLimit kLimits[] = {{"morning", 2.1f}, {"reeds", 2.1f}, {"blossom", 2.1f}, {"rain", 2.1f},
                             {"dusk", 2.1f},    {"night", 2.1f}, {"menu", 1.2f}};

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

} // namespace
