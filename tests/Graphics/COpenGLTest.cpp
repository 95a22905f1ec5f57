// Capability terms and version strings, on texts and unit counts given here: no GL needed.
#include "Graphics/COpenGL.h"
#include "Graphics/CGraphics.h"

#include <gtest/gtest.h>

namespace
{

const char* const kExtensions = "GL_OES_texture_env_crossbar GL_EXT_texture_compression_s3tc_srgb "
                                "GL_OES_framebuffer_object GL_IMG_texture_compression_pvrtc";

TEST(COpenGLTest, ExtensionMatchesOnlyAtTheEndOfAName)
{
    EXPECT_TRUE(COpenGL::FindExtension(kExtensions, "GL_OES_framebuffer_object"));
    // A vendor prefix is allowed; the match must end the name.
    EXPECT_TRUE(COpenGL::FindExtension(kExtensions, "texture_compression_pvrtc"));
    EXPECT_TRUE(COpenGL::FindExtension(kExtensions, "framebuffer_object"));
    // Found first inside "..._s3tc_srgb", which does not count, and nowhere at an end.
    EXPECT_FALSE(COpenGL::FindExtension(kExtensions, "texture_compression_s3tc"));
    EXPECT_FALSE(COpenGL::FindExtension(kExtensions, "texture_env"));
    EXPECT_TRUE(COpenGL::FindExtension("GL_A_s3tc_x GL_B_s3tc", "s3tc"));
    EXPECT_TRUE(COpenGL::FindExtension(kExtensions, ""));
    EXPECT_TRUE(COpenGL::FindExtension("", ""));
    EXPECT_FALSE(COpenGL::FindExtension(nullptr, ""));
    EXPECT_FALSE(COpenGL::FindExtension(kExtensions, nullptr));
}

TEST(COpenGLTest, TermsAskForUnitsRenderTargetsOrNothing)
{
    EXPECT_TRUE(COpenGL::EvaluateTerm("mt2", 2, true));
    EXPECT_FALSE(COpenGL::EvaluateTerm("mt3", 2, true));
    EXPECT_TRUE(COpenGL::EvaluateTerm("!mt3", 2, true));
    EXPECT_FALSE(COpenGL::EvaluateTerm("!!mt3", 2, true));
    // "mt", "mt0" and "mt1" all ask for two units.
    EXPECT_FALSE(COpenGL::EvaluateTerm("mt", 1, true));
    EXPECT_TRUE(COpenGL::EvaluateTerm("mt", 2, true));
    EXPECT_TRUE(COpenGL::EvaluateTerm("mt1", 2, true));
    EXPECT_FALSE(COpenGL::EvaluateTerm("mt0", 0, true));
    // A negative count is huge, never satisfied.
    EXPECT_FALSE(COpenGL::EvaluateTerm("mt-1", 8, true));
    EXPECT_TRUE(COpenGL::EvaluateTerm("mt8", 8, true));

    EXPECT_TRUE(COpenGL::EvaluateTerm("rtt", 0, true));
    EXPECT_FALSE(COpenGL::EvaluateTerm("rtt", 0, false));
    EXPECT_FALSE(COpenGL::EvaluateTerm("RTT", 0, true));
    EXPECT_FALSE(COpenGL::EvaluateTerm("sm2", 8, true));
    EXPECT_FALSE(COpenGL::EvaluateTerm("nul", 8, true));
    EXPECT_FALSE(COpenGL::EvaluateTerm("", 8, true));
    EXPECT_TRUE(COpenGL::EvaluateTerm("!", 8, true));
}

TEST(COpenGLTest, ListNeedsEveryTerm)
{
    EXPECT_TRUE(COpenGL::EvaluateList("", 2, true));
    EXPECT_TRUE(COpenGL::EvaluateList(nullptr, 2, true));
    EXPECT_TRUE(COpenGL::EvaluateList("mt2,rtt", 2, true));
    EXPECT_FALSE(COpenGL::EvaluateList("mt2,rtt", 2, false));
    EXPECT_FALSE(COpenGL::EvaluateList("rtt,mt3", 2, true));
    EXPECT_TRUE(COpenGL::EvaluateList("!sm2,!mt4", 2, true));
    // An empty field is the empty term, which is false.
    EXPECT_FALSE(COpenGL::EvaluateList("rtt,", 2, true));
}

TEST(COpenGLTest, VersionIsReadAfterTheProfileName)
{
    int major = 1;
    int minor = 0;
    EXPECT_TRUE(COpenGL::ParseVersion("OpenGL ES-CM 1.1 Mesa 22.3.6", &major, &minor));
    EXPECT_EQ(1, major);
    EXPECT_EQ(1, minor);
    EXPECT_TRUE(COpenGL::ParseVersion("2.1 Mesa", &major, &minor));
    EXPECT_EQ(2, major);
    EXPECT_EQ(1, minor);
    EXPECT_TRUE(COpenGL::ParseVersion("OpenGL ES 3.2", &major, &minor));
    EXPECT_EQ(3, major);
    EXPECT_EQ(2, minor);

    major = 7;
    minor = 7;
    EXPECT_FALSE(COpenGL::ParseVersion("Mesa 1.1", &major, &minor));
    EXPECT_FALSE(COpenGL::ParseVersion("OpenGL ES-CM", &major, &minor));
    EXPECT_FALSE(COpenGL::ParseVersion(nullptr, &major, &minor));
    EXPECT_EQ(7, major);
    EXPECT_EQ(7, minor);
    EXPECT_TRUE(COpenGL::ParseVersion("4", &major, &minor));
    EXPECT_EQ(4, major);
    EXPECT_EQ(7, minor);
}

TEST(CGraphicsTest, MinFilterIsMipmappedOnlyWithLevels)
{
    EXPECT_EQ(GLenum(GL_NEAREST_MIPMAP_NEAREST), CGraphics::ChooseMinFilter(1, true));
    EXPECT_EQ(GLenum(GL_NEAREST), CGraphics::ChooseMinFilter(1, false));
    EXPECT_EQ(GLenum(GL_LINEAR_MIPMAP_NEAREST), CGraphics::ChooseMinFilter(2, true));
    EXPECT_EQ(GLenum(GL_LINEAR), CGraphics::ChooseMinFilter(2, false));
    EXPECT_EQ(GLenum(GL_LINEAR_MIPMAP_LINEAR), CGraphics::ChooseMinFilter(3, true));
    EXPECT_EQ(GLenum(GL_LINEAR), CGraphics::ChooseMinFilter(3, false));
    EXPECT_EQ(GLenum(GL_NEAREST), CGraphics::ChooseMinFilter(0, true));
    EXPECT_EQ(GLenum(GL_NEAREST), CGraphics::ChooseMinFilter(4, true));
}

TEST(CGraphicsTest, BoundsHoldTheRectUnderAnyRotation)
{
    // Far corner (3, 4) from the position: radius 5.
    Vector4<float> box(0, 0, 0, 0);
    CGraphics::ExtendBounds(box, Vector2<float>(10, 20), Vector4<float>(-1, -4, 3, 2));
    EXPECT_FLOAT_EQ(0, box.x); // already lower than 10 - 5
    EXPECT_FLOAT_EQ(0, box.y);
    EXPECT_FLOAT_EQ(15, box.z);
    EXPECT_FLOAT_EQ(25, box.w);
    CGraphics::ExtendBounds(box, Vector2<float>(-10, 2), Vector4<float>(-3, -4, 0, 0));
    EXPECT_FLOAT_EQ(-15, box.x);
    EXPECT_FLOAT_EQ(-3, box.y);
    EXPECT_FLOAT_EQ(15, box.z);
    EXPECT_FLOAT_EQ(25, box.w);
}

TEST(CGraphicsTest, PulseHasAPeriodOfOneSecond)
{
    EXPECT_NEAR(0.5f, CGraphics::GetPulse(0), 1e-6f);
    EXPECT_NEAR(1.0f, CGraphics::GetPulse(250), 1e-6f);
    EXPECT_NEAR(0.0f, CGraphics::GetPulse(750), 1e-6f);
    EXPECT_NEAR(CGraphics::GetPulse(250), CGraphics::GetPulse(4000000250u), 1e-6f);
}

} // namespace
