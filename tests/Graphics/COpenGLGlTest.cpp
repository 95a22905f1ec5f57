// Capabilities read from a real ES 1.1 context, and the LOD bias scope against GL's own value.
#include "Graphics/GlExtensions.h"
#include "Graphics/LodBiasScope.h"
#include "support/GlFixture.h"

#include <GLES/glext.h>
#include <cstring>
#include <string>

namespace
{

class COpenGLGlTest : public GlFixture
{
  protected:
    static float GetLodBias()
    {
        GLfloat bias = -99.0f;
        glGetTexEnvfv(GL_TEXTURE_FILTER_CONTROL_EXT, GL_TEXTURE_LOD_BIAS_EXT, &bias);
        return bias;
    }
};

TEST_F(COpenGLGlTest, ProbeReadsTheContext)
{
    const COpenGL* gl = COpenGL::Instance();
    EXPECT_EQ(1, gl->GetMajorVersion());
    EXPECT_EQ(1, gl->GetMinorVersion());
    EXPECT_TRUE(gl->HasExtension("OES_framebuffer_object"));
    EXPECT_TRUE(GlExtensions::HasFramebufferObjects());
    EXPECT_TRUE(GlExtensions::HasGenerateMipmap());
    EXPECT_EQ(gl->HasExtension("texture_compression_s3tc"), gl->GetCompression().s3tc);
    EXPECT_EQ(gl->HasExtension("texture_compression_pvrtc"), gl->GetCompression().pvrtc);
    EXPECT_EQ(gl->GetCompression().s3tc || gl->GetCompression().atc, gl->GetCompression().dds);

    // The clamp mode is one that ES takes as a wrap mode.
    EXPECT_EQ(GLenum(GL_CLAMP_TO_EDGE), gl->GetClampMode());
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(gl->GetClampMode()));
    EXPECT_FALSE(COpenGL::CheckErrors());
    glDeleteTextures(1, &texture);
}

TEST_F(COpenGLGlTest, ExtensionsMatchTheRealListByTheirEnds)
{
    const COpenGL* gl = COpenGL::Instance();
    const std::string list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    const std::string last = list.substr(list.find_last_of(' ', list.size() - 2) + 1);
    std::string name = last;
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    ASSERT_FALSE(name.empty());
    EXPECT_TRUE(gl->HasExtension(name.c_str()));
    EXPECT_TRUE(gl->HasExtension(name.substr(3).c_str()));     // without "GL_"
    EXPECT_FALSE(gl->HasExtension(name.substr(0, 5).c_str())); // "GL_OE" ends no name
    EXPECT_FALSE(gl->HasExtension("GL_OES"));                  // inside many names, at the end of none
    EXPECT_FALSE(gl->HasExtension("GL_no_such_extension"));
}

TEST_F(COpenGLGlTest, UnitTermsFollowTheContextsUnits)
{
    const COpenGL* gl = COpenGL::Instance();
    const int units = GetInteger(GL_MAX_TEXTURE_UNITS);
    const std::string enough = "mt" + std::to_string(units);
    const std::string tooMany = "mt" + std::to_string(units + 1);
    EXPECT_TRUE(gl->TestCaps(enough.c_str()));
    EXPECT_FALSE(gl->TestCaps(tooMany.c_str()));
    EXPECT_TRUE(gl->TestCaps(("!" + tooMany).c_str()));
    EXPECT_TRUE(gl->CheckCaps(("rtt," + enough).c_str()));
    EXPECT_FALSE(gl->CheckCaps(("rtt," + tooMany).c_str()));
    EXPECT_TRUE(gl->CheckCaps(""));

    // Before a context (no units known) every unit term fails.
    m_context.Release();
    EXPECT_FALSE(gl->TestCaps("mt2"));
    EXPECT_TRUE(gl->TestCaps("rtt"));
}

TEST_F(COpenGLGlTest, LodBiasScopesRestoreWhatTheyReplaced)
{
    ASSERT_TRUE(COpenGL::Instance()->HasExtension("texture_lod_bias"));
    EXPECT_FLOAT_EQ(0.0f, GetLodBias());
    {
        LodBiasScope outer(0.5f);
        EXPECT_FLOAT_EQ(0.5f, GetLodBias());
        {
            // Same bias: no GL call, and nothing to restore.
            glTexEnvf(GL_TEXTURE_FILTER_CONTROL_EXT, GL_TEXTURE_LOD_BIAS_EXT, 0.25f);
            LodBiasScope inner(0.5f);
            EXPECT_FLOAT_EQ(0.25f, GetLodBias());
        }
        EXPECT_FLOAT_EQ(0.25f, GetLodBias());
    }
    EXPECT_FLOAT_EQ(0.0f, GetLodBias());

    // A negative bias is restored like any other.
    {
        LodBiasScope outer(-1.0f);
        {
            LodBiasScope inner(0.5f);
            EXPECT_FLOAT_EQ(0.5f, GetLodBias());
        }
        EXPECT_FLOAT_EQ(-1.0f, GetLodBias());
    }
    EXPECT_FLOAT_EQ(0.0f, GetLodBias());
    EXPECT_FLOAT_EQ(0.0f, COpenGL::Instance()->GetLodBias());
}

TEST_F(COpenGLGlTest, CheckErrorsDrainsTheQueue)
{
    EXPECT_FALSE(COpenGL::CheckErrors());
    glEnable(0x1234);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, 0x2900); // desktop GL_CLAMP: ES refuses it
    EXPECT_TRUE(COpenGL::CheckErrors());
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    EXPECT_FALSE(COpenGL::CheckErrors());
}

} // namespace
