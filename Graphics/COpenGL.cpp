#include "Graphics/COpenGL.h"

#include "Graphics/CGraphics.h"
#include "core/TextFields.h"

#include <GLES/glext.h>
#include <cstdio>
#include <cstring>

REGISTER_SINGLETON(COpenGL, "global", 50);

void COpenGL::Init()
{
    Probe();
}

void COpenGL::Probe()
{
    ParseVersion(reinterpret_cast<const char*>(glGetString(GL_VERSION)), &m_majorVersion, &m_minorVersion);
    m_clampMode = GL_CLAMP_TO_EDGE;

    m_compression = Compression();
    m_compression.s3tc = HasExtension("texture_compression_s3tc");
    m_compression.atc = HasExtension("compressed_ATC_texture") || HasExtension("compressed_texture_atitc") ||
                        HasExtension("texture_compression_atitc");
    m_compression.dds = m_compression.atc || m_compression.s3tc;
    m_compression.pvrtc = HasExtension("texture_compression_pvrtc");
    m_compression.pvrFiles = m_compression.pvrtc;
}

bool COpenGL::HasExtension(const char* name) const
{
    return FindExtension(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)), name);
}

bool COpenGL::TestCaps(const char* term) const
{
    return EvaluateTerm(term, GetTextureUnits(), m_renderToTexture);
}

bool COpenGL::CheckCaps(const char* list) const
{
    return EvaluateList(list, GetTextureUnits(), m_renderToTexture);
}

bool COpenGL::CheckErrors()
{
    bool any = false;
    GLenum previous = GL_NO_ERROR;
    // A context that keeps answering the same code (a lost one does) would never drain.
    for (GLenum error = glGetError(); error != GL_NO_ERROR && error != previous; error = glGetError())
    {
        any = true;
        previous = error;
    }
    return any;
}

void COpenGL::SetLodBias(float bias)
{
    glTexEnvf(GL_TEXTURE_FILTER_CONTROL_EXT, GL_TEXTURE_LOD_BIAS_EXT, bias);
    m_lodBias = bias;
}

bool COpenGL::FindExtension(const char* extensions, const char* name)
{
    if (extensions == nullptr || name == nullptr)
        return false;
    const size_t length = std::strlen(name);
    for (const char* match = std::strstr(extensions, name); match != nullptr;
         match = std::strstr(match + 1, name))
    {
        if (match[length] == '\0' || match[length] == ' ')
            return true;
    }
    return false;
}

bool COpenGL::EvaluateTerm(const char* term, uint32_t textureUnits, bool renderToTexture)
{
    if (term == nullptr)
        return false;
    if (term[0] == '!')
        return !EvaluateTerm(term + 1, textureUnits, renderToTexture);
    if (term[0] == 'm' && term[1] == 't')
    {
        // Unsigned on purpose: a negative count reads as huge and asks for more than any GL has.
        uint32_t wanted = static_cast<uint32_t>(ParseInt(term + 2));
        if (wanted < 2)
            wanted = 2;
        return wanted <= textureUnits;
    }
    if (std::strcmp(term, "rtt") == 0)
        return renderToTexture;
    return false;
}

bool COpenGL::EvaluateList(const char* list, uint32_t textureUnits, bool renderToTexture)
{
    if (list == nullptr || list[0] == '\0')
        return true;
    for (int32_t n = 0;; ++n)
    {
        const std::optional<CString> field = FieldOf(list, n);
        if (!field)
            return true;
        if (!EvaluateTerm(field->c_str(), textureUnits, renderToTexture))
            return false;
    }
}

bool COpenGL::ParseVersion(const char* text, int* major, int* minor)
{
    if (text == nullptr)
        return false;
    // ES names its profile first ("OpenGL ES-CM 1.1"); the number follows the first space after it.
    const char* number = text;
    if (std::strncmp(text, "OpenGL ES", 9) == 0)
    {
        number = std::strchr(text + 9, ' ');
        if (number == nullptr)
            return false;
        ++number;
    }
    int readMajor = 0;
    int readMinor = 0;
    const int read = std::sscanf(number, "%d.%d", &readMajor, &readMinor);
    if (read >= 1)
        *major = readMajor;
    if (read >= 2)
        *minor = readMinor;
    return read >= 1;
}

uint32_t COpenGL::GetTextureUnits() const
{
    const CGraphics* graphics = CGraphics::Peek();
    return graphics != nullptr ? graphics->GetUnitCount() : 0;
}
