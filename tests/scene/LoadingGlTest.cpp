#include "Graphics/CMaterialSet.h"
#include "core/CClock.h"
#include "core/CSingletonBase.h"
#include "core/HashString.h"
#include "platform/CDirectJ.h"
#include "platform/PlatformHooks.h"
#include "scene/CLoading.h"
#include "support/AppFolder.h"
#include "support/FakePlatform.h"
#include "support/GlFixture.h"
#include "support/TestImages.h"

#include <algorithm>
#include <memory>
#include <sys/stat.h>
#include <vector>

namespace
{
using Pixel = std::array<uint8_t, 4>;
using Frame = std::vector<uint8_t>;
// The pbuffer's size in pixels (GlFixture's).
constexpr int kBufferSize = 32;
const Pixel kRed{200, 40, 40, 255};
const Pixel kGreen{40, 200, 40, 255};
const Pixel kBlue{40, 60, 100, 255};
const Pixel kOchre{120, 100, 60, 255};
const Pixel kMagenta{255, 0, 255, 255};

// The stand-in system with a window the size of the pbuffer, so the screen is the whole buffer.
std::unique_ptr<CPlatformBackend> MakePbufferSizedFake()
{
    auto backend = std::make_unique<FakeBackend>();
    backend->nativeSize = Vector2<int>(kBufferSize, kBufferSize);
    s_backend = backend.get();
    return backend;
}

// A 16 x 16 RGB image of four single-colour quadrants.
std::string QuadrantPng(const Pixel& topLeft, const Pixel& topRight, const Pixel& bottomLeft,
                        const Pixel& bottomRight)
{
    std::vector<uint8_t> pixels;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
        {
            const Pixel& p = y < 8 ? (x < 8 ? topLeft : topRight) : (x < 8 ? bottomLeft : bottomRight);
            pixels.insert(pixels.end(), p.begin(), p.begin() + 3);
        }
    return TestImages::Png(16, 16, 3, pixels);
}

// A 16 x 8 RGB image: a red band down its left quarter and a blue one down its right, green
// between them above and ochre below.
std::string WidePng()
{
    std::vector<uint8_t> pixels;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
        {
            const Pixel& p = x < 4 ? kRed : x >= 12 ? kBlue : y < 4 ? kGreen : kOchre;
            pixels.insert(pixels.end(), p.begin(), p.begin() + 3);
        }
    return TestImages::Png(16, 8, 3, pixels);
}

class LoadingGlTest : public GlFixture
{
  protected:
    void SetUp() override
    {
        GlFixture::SetUp();
        ASSERT_EQ(kWidth, kBufferSize);
        ASSERT_EQ(kHeight, kBufferSize);
        m_factory = CDirectJ::SetBackendFactory(&MakePbufferSizedFake);
        m_clock = CClock::GetSource();
        m_hooks = PlatformHooks::Installed();
        ASSERT_EQ(mkdir(m_folder.PathOf("data/textures").c_str(), 0700), 0);
    }

    void TearDown() override
    {
        // Every texture goes while the context is live.
        CSingletonBase::StopScope(HashString("nuke"));
        CDirectJ::SetBackendFactory(m_factory);
        CClock::SetSource(m_clock);
        PlatformHooks::Install(m_hooks);
        s_backend = nullptr;
        GlFixture::TearDown();
    }

    // Begins loading on the pbuffer with the screen as the whole buffer.
    CLoading* BeginLoading()
    {
        CFileSystem::Instance();
        CDirectJ::Instance();
        CLoading* loading = CLoading::Instance();
        loading->Begin();
        EXPECT_TRUE(CDirectJ::Peek()->IsReady());
        m_graphics->SetViewport(0, 0, kWidth, kHeight);
        return loading;
    }

    void ExpectPixel(const Pixel& expected, int x, int y) const
    {
        const Pixel actual = ReadPixel(x, y);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(int(actual[i]), int(expected[i]), 3)
                << "channel " << i << " at (" << x << ", " << y << ")";
    }

    // A picture twice as wide as high, and a sheet of sixteen greys, so that droplets differ from
    // each other.
    void WritePictures()
    {
        m_folder.WriteData("textures/startup.png", WidePng());
        std::vector<uint8_t> greys(16);
        for (size_t i = 0; i < greys.size(); ++i)
            greys[i] = uint8_t(i * 17);
        m_folder.WriteData("textures/droplet.png", TestImages::Png(4, 4, 1, greys));
    }

    static Frame ReadFrame()
    {
        Frame frame(kWidth * kHeight * 4);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, frame.data());
        return frame;
    }

    // What the buffer held before a step: only a frame drawn whole leaves none of it.
    static void FillMagenta()
    {
        glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    AppFolder m_folder;
    CDirectJ::BackendFactory m_factory = nullptr;
    CClock::Source m_clock = nullptr;
    PlatformHooks m_hooks;
};

} // namespace

TEST_F(LoadingGlTest, AStepShowsThePictureUprightWithTheDropletsMultipliedOverIt)
{
    m_folder.WriteData("textures/startup.png", QuadrantPng(kRed, kGreen, kBlue, kOchre));
    // A white sheet doubles whatever a droplet covers.
    m_folder.WriteData("textures/droplet.png", TestImages::Png(4, 4, 1, std::vector<uint8_t>(16, 255)));
    CLoading* loading = BeginLoading();

    loading->Step();          // nothing stepped yet: the picture alone
    ExpectPixel(kRed, 8, 24); // glReadPixels counts rows from the bottom
    ExpectPixel(kGreen, 24, 24);
    ExpectPixel(kBlue, 8, 8);
    ExpectPixel(kOchre, 24, 8);

    loading->Step(); // droplet 0 appears at the row's left end
    const CLoading::DropletQuad droplet = CLoading::MakeDroplet(0);
    const int x = int((droplet.offset.x + 1.0f) * 0.5f * float(kWidth));
    const int y = int((droplet.offset.y + 1.0f) * 0.5f * float(kHeight));
    ExpectPixel(Pixel{80, 120, 200, 255}, x, y);
    ExpectPixel(kBlue, x + 8, y); // where droplet 1 will be, not yet drawn
    ExpectPixel(kRed, 8, 24);
}

TEST_F(LoadingGlTest, MissingPicturesLeaveTheScreenBlack)
{
    // Black whatever colour the game clears its own frames to.
    m_folder.WriteData("rules.xml", "<rules><ui clearcolour=\"0.2,0.4,0.6,1\"/></rules>");
    CSingleton<CRules>::Toggle(false); // read afresh: the fixture read them before they were written
    CLoading* loading = BeginLoading();
    loading->Step();
    loading->Step();
    EXPECT_EQ(loading->GetStepCount(), 2);
    ExpectPixel(Pixel{0, 0, 0, 255}, 16, 16);
    ExpectPixel(Pixel{0, 0, 0, 255}, 3, 6);
}

TEST_F(LoadingGlTest, FinishKeepsThePictureLoadedForTheGameAndFreesTheSheet)
{
    m_folder.WriteData("textures/startup.png", QuadrantPng(kRed, kGreen, kBlue, kOchre));
    m_folder.WriteData("textures/droplet.png", TestImages::Png(4, 4, 1, std::vector<uint8_t>(16, 128)));
    m_folder.WriteData("materials.xml", "<materials><startup texture=\"startup\" mipmap=\"false\" "
                                        "blend-src=\"one\" blend-dst=\"zero\"/></materials>");
    CLoading* loading = BeginLoading();
    loading->Step();
    loading->Step();
    // A grey sheet leaves the picture as it is, droplet or not.
    const CLoading::DropletQuad droplet = CLoading::MakeDroplet(0);
    ExpectPixel(kBlue, int((droplet.offset.x + 1.0f) * 16.0f), int((droplet.offset.y + 1.0f) * 16.0f));

    const CRef<CTexture> picture = loading->GetPicture();
    const GLuint sheetName = loading->GetDropletSheet()->GetGlTexture();
    ASSERT_TRUE(picture->IsLoaded());
    ASSERT_NE(sheetName, 0u);
    CMaterialSet::Instance();
    loading->Finish();

    EXPECT_FALSE(glIsTexture(sheetName));
    const CRef<CMaterial> material = CMaterialSet::Instance()->Find("startup");
    ASSERT_EQ(material->GetTexture(0).Get(), picture.Get());
    EXPECT_TRUE(picture->IsLoaded());

    // The game's first drawing of the material shows the same picture, from the same GL object.
    const GLuint pictureName = picture->GetGlTexture();
    m_graphics->Clear(Vector4<float>(0, 0, 0, 1), 1.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    m_graphics->DrawQuad3D(material, Vector3<float>(0, 0, 0), Vector4<float>(-1, -1, 1, 1),
                           Vector4<float>(1, 1, 1, 1), Vector4<float>(0, 1, 1, 0), 0.0f);
    EXPECT_EQ(picture->GetGlTexture(), pictureName);
    ExpectPixel(kRed, 8, 24);
    ExpectPixel(kOchre, 24, 8);
}

TEST_F(LoadingGlTest, ThePictureIsStretchedOverTheWholeScreen)
{
    WritePictures();
    CLoading* loading = BeginLoading();
    loading->Step();
    // The 2:1 picture on the square screen, two pixels to a texel: every band reaches the
    // screen's edges, the left quarter is red to its last texel (kept whole, not cut at the
    // sides) and the picture is upright.
    ExpectPixel(kRed, 1, 16);
    ExpectPixel(kBlue, 30, 16);
    ExpectPixel(kGreen, 16, 28);
    ExpectPixel(kOchre, 16, 3);
    ExpectPixel(kRed, 6, 28);
    ExpectPixel(kGreen, 9, 28);
}

TEST_F(LoadingGlTest, EveryStepDrawsTheWholeFrame)
{
    WritePictures();
    CLoading* loading = BeginLoading();
    FillMagenta();
    loading->Step();
    const Frame alone = ReadFrame();
    const Pixel magenta{255, 0, 255, 255};
    for (int step = 1; step < 40; ++step)
    {
        FillMagenta();
        loading->Step();
        ASSERT_EQ(s_backend->swaps, step + 1);
        const Frame frame = ReadFrame();
        for (size_t i = 0; i < frame.size(); i += 4)
            ASSERT_FALSE(std::equal(magenta.begin(), magenta.end(), frame.begin() + long(i)))
                << "step " << step << ", pixel " << i / 4;
        // Droplets show until the row has emptied; then the picture stands alone again.
        EXPECT_EQ(step >= 32, frame == alone) << step;
    }
    loading->Finish();
}
