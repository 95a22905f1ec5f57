// Particle systems, single particles and knobs drawn on a real ES 1.1 context and read back.
#include "Graphics/DrawFixture.h"
#include "core/CRules.h"
#include "core/Random.h"
#include "platform/CGame.h"
#include "scene/CKnob.h"
#include "scene/CParticle.h"
#include "scene/CParticles.h"

namespace
{
using Pixel = DrawFixture::Pixel;

const Pixel kCleared{0, 0, 0, 255};

class ParticlesGlTest : public DrawFixture
{
  protected:
    void SetUp() override
    {
        DrawFixture::SetUp();
        GlobalRandom().Seed(7);
        m_folder.WriteData("rules.xml", "<rules><interval animation=\"20\"/></rules>");
        m_folder.WriteData("materials.xml",
                           "<materials><plain blend-src=\"one\" blend-dst=\"zero\"/></materials>");
        CRules::Instance()->Load();
        CSingleton<CGame>::Toggle(false);
    }
    void TearDown() override
    {
        CSingleton<CGame>::Toggle(false);
        DrawFixture::TearDown();
    }

    template <typename T> static CRef<T> Load(const char* text, CRef<T> (*make)(const CXmlNode&))
    {
        CXmlDocument document;
        EXPECT_TRUE(document.Parse(text, false)) << text;
        return make(*document.GetRoot());
    }
};
} // namespace

TEST_F(ParticlesGlTest, ABurstOfParticlesDrawsWhereTheSystemIsPlaced)
{
    m_folder.WriteData(
        "particles.xml",
        "<particles><dots poolsize=\"3\"><appearance material=\"plain\"/>"
        "<animation><key r=\"1\" a=\"1\" radius=\"5\"/><key tick=\"1000\"/></animation></dots></particles>");
    const Vector2<float> gravity = CParticles::GetGravity();
    CParticles::SetGravity(Vector2<float>(0, 0));
    CRef<CParticles> dots = CParticles::Create("dots");
    dots->SetTranslation(Vector2<float>(16, 16));
    dots->Draw();
    ExpectPixel(kCleared, 16, 16);

    dots->SetEmitting(true);
    dots->Update(0.0f);
    EXPECT_EQ(dots->CountAlive(), 3);
    dots->Draw();
    ExpectPixel(Pixel{255, 0, 0, 255}, 16, 16);
    ExpectPixel(Pixel{255, 0, 0, 255}, 12, 19);
    ExpectPixel(kCleared, 4, 4);
    ExpectPixel(kCleared, 28, 16);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    CParticles::SetGravity(gravity);
}

TEST_F(ParticlesGlTest, KnobsAndSparklesDrawTheirLook)
{
    CRef<CKnob> knob = Load<CKnob>(
        "<knob radius=\"4\" material=\"plain\" colour=\"0,1,0,1\" fade=\"0,0,1,1\"/>", &CKnob::Create);
    knob->Draw(Vector2<float>(6, 26), 1.0f);
    knob->Draw(Vector2<float>(26, 6), 0.0f);
    ExpectPixel(Pixel{0, 255, 0, 255}, 6, 26);
    ExpectPixel(Pixel{0, 0, 255, 255}, 26, 6);
    ExpectPixel(kCleared, 16, 16);
    EXPECT_EQ(COpenGL::Instance()->GetLodBias(), 0.0f) << "the bias is put back";

    CRef<CParticle> sparkle = Load<CParticle>(
        "<particle type=\"Sparkle\" position=\"26,26\" radius=\"3\" material=\"plain\" threshold=\"0\"/>",
        &CParticle::CreateFromXml);
    ASSERT_TRUE(sparkle);
    sparkle->Draw(0);
    ExpectPixel(Pixel{255, 255, 255, 255}, 26, 26);
    ExpectPixel(kCleared, 20, 26);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}
