// The shipped ponds drawn on a real ES 1.1 context with the textures the build paints: every pond
// fills the frame, under each of its treatments, and no two look alike.
#include "Graphics/DrawFixture.h"
#include "core/CRules.h"
#include "core/CSingleton.h"
#include "core/Random.h"
#include "platform/CGame.h"
#include "platform/CView.h"
#include "scene/CLayer.h"
#include "scene/CPond.h"
#include "support/TempFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace
{

const char* const kPonds[] = {"morning", "reeds", "blossom", "rain", "dusk", "night"};

class PondsGlTest : public DrawFixture
{
  protected:
    void SetUp() override
    {
        DrawFixture::SetUp();
        CSingleton<CGame>::Toggle(false);
        const std::string source = std::string(FROG_SOURCE_DIR) + "/data/";
        for (const char* document : {"rules.xml", "materials.xml"})
            m_folder.WriteData(document, TempFolder::ReadFile(source + document));
        mkdir(m_folder.PathOf("data/pond").c_str(), 0755);
        for (const char* name : kPonds)
        {
            const std::string file = std::string("pond/") + name + ".xml";
            m_folder.WriteData(file, TempFolder::ReadFile(source + file));
        }
        ASSERT_EQ(0, symlink(FROG_DATA_DIR "/textures", m_folder.PathOf("data/textures").c_str()));
        CRules::Instance()->Load();
        CView::SetScreen(Vector2<int32_t>(kWidth, kHeight), 0.0f, Vector4<float>(-1, -1, 9, 9), 0.0f, 0.0f);
        CView::GetCurrent().Apply();
    }
    void TearDown() override
    {
        CSingleton<CGame>::Toggle(false);
        CPond::SetCapsTest(m_previousCaps);
        CPond::SetLightVector(CPond::kDefaultLightVector);
        DrawFixture::TearDown();
    }

    // One frame of the pond, every pixel as 0xRRGGBB.
    std::vector<uint32_t> Frame(const char* name)
    {
        GlobalRandom().Seed(19);
        m_graphics->Clear(Vector4<float>(0, 0, 0, 1), 1.0f);
        {
            CRef<CPond> pond = CPond::Create(name);
            std::set<std::string> kinds;
            for (const CRef<CLayer>& layer : pond->GetLayers())
                kinds.insert(layer->GetClassName());
            // The sound switch is a pane of a text layer, so that it shows whether sound is on.
            EXPECT_EQ(kinds, std::set<std::string>({"CLayerBoard", "CLayerParticles", "CLayerPetals",
                                                    "CLayerPlane", "CLayerRays", "CLayerText"}))
                << name;
            pond->Draw();
        }
        EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError()) << name;
        std::vector<uint8_t> rgba(size_t(kWidth * kHeight * 4));
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        std::vector<uint32_t> frame;
        for (size_t i = 0; i < rgba.size(); i += 4)
            frame.push_back(uint32_t(rgba[i]) << 16 | uint32_t(rgba[i + 1]) << 8 | rgba[i + 2]);
        return frame;
    }

    void ExpectEveryPondDrawnAndItsOwn()
    {
        std::map<std::vector<uint32_t>, std::string> seen;
        for (const char* name : kPonds)
        {
            const std::vector<uint32_t> frame = Frame(name);
            int32_t black = 0;
            for (uint32_t pixel : frame)
                black += pixel == 0;
            EXPECT_EQ(0, black) << name << ": the pond leaves part of the screen undrawn";
            const auto [other, added] = seen.emplace(frame, name);
            EXPECT_TRUE(added) << name << " looks exactly like " << other->second;
        }
    }

    CPond::CapsTest m_previousCaps = CPond::SetCapsTest([](const CString&) { return true; });
};

TEST_F(PondsGlTest, EveryPondDrawsAPictureOfItsOwnUnderEachTreatment)
{
    ExpectEveryPondDrawnAndItsOwn();
    // Graphics with a single texture unit take the second treatment.
    CPond::SetCapsTest([](const CString& caps) { return caps.empty(); });
    ExpectEveryPondDrawnAndItsOwn();
}

} // namespace
