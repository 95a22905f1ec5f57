#include "Graphics/CTexture.h"

#include "Graphics/CGraphics.h"
#include "Graphics/COpenGL.h"
#include "Graphics/CSurface.h"
#include "Graphics/GlExtensions.h"
#include "Graphics/ImageHeaders.h"
#include "core/CPreference.h"
#include "core/CPreferences.h"
#include "platform/CView.h"
#include "platform/PlatformHooks.h"

#include <GLES/glext.h>
#include <algorithm>
#include <cmath>
#include <utility>

namespace
{
// Asks for generic compressed formats; registered so that it is kept with the other settings.
CPreference<bool> s_compressTextures("compresstextures", false);

// GL names are made and deleted only while a context is current: between the state cache's
// InitState and ReleaseState.
bool IsGlLive()
{
    const CGraphics* graphics = CGraphics::Peek();
    return COpenGL::Exists() && graphics != nullptr && graphics->GetUnitCount() > 0;
}

// Creating and filling a texture binds it on the active unit behind the state cache's back; this
// puts back what was bound, so the cache stays true.
class KeepTextureBinding
{
  public:
    KeepTextureBinding() { glGetIntegerv(GL_TEXTURE_BINDING_2D, &m_bound); }
    ~KeepTextureBinding() { glBindTexture(GL_TEXTURE_2D, GLuint(m_bound)); }
    KeepTextureBinding(const KeepTextureBinding&) = delete;
    KeepTextureBinding& operator=(const KeepTextureBinding&) = delete;

  private:
    GLint m_bound = 0;
};

void DeleteTexture(GLuint name)
{
    if (name != 0 && glIsTexture(name))
        glDeleteTextures(1, &name);
}

// 2x2 box sum of one byte of a pixel, the block's second row and column clamped to the image.
uint32_t BoxSum(const uint8_t* pixels, int32_t width, int32_t bytes, int32_t x0, int32_t x1, int32_t y0,
                int32_t y1, int32_t channel)
{
    const auto at = [&](int32_t x, int32_t y)
    { return uint32_t(pixels[(size_t(y) * size_t(width) + size_t(x)) * size_t(bytes) + size_t(channel)]); };
    return at(x0, y0) + at(x1, y0) + at(x0, y1) + at(x1, y1);
}

} // namespace

CRef<CTexture> CTexture::Create(const CString& name)
{
    return CRef<CTexture>::Adopt(new CTexture(name));
}

CTexture::CTexture(const CString& name) : m_name(name) {}

CTexture::~CTexture()
{
    ReleaseGL();
}

void CTexture::SetCompression(uint32_t mode)
{
    if (mode == m_compression)
        return;
    m_compression = mode;
    ReleaseGL();
}

void CTexture::SetRenderTarget(uint32_t mode)
{
    if (mode == m_renderTarget)
        return;
    m_renderTarget = mode;
    if (mode != kFileTexture)
        m_mipmaps = m_generateMipmaps ? kMipmapsOn : kMipmapsOff;
    ReleaseGL();
}

void CTexture::SetGenerateMipmaps(bool generate)
{
    if (uint8_t(generate) == m_generateMipmaps)
        return;
    m_generateMipmaps = generate;
    if (generate)
        m_mipmaps = kMipmapsOn;
    ReleaseGL();
}

void CTexture::SetMipmaps(bool mipmaps)
{
    const uint32_t wanted = mipmaps ? kMipmapsOn : kMipmapsOff;
    if (wanted == m_mipmaps && (mipmaps || !m_generateMipmaps))
        return;
    m_mipmaps = wanted;
    if (!mipmaps)
        m_generateMipmaps = 0;
    ReleaseGL();
}

void CTexture::SetSize(const Vector2<int32_t>& size)
{
    if (size.x == m_size.x && size.y == m_size.y)
        return;
    m_size = size;
    ReleaseGL();
}

void CTexture::SetFormat(GLenum format)
{
    // ES 1.1 has no generic compressed internal formats (GL_COMPRESSED_RGBA and kin are refused),
    // so the format stays plain whatever the compression setting and "compresstextures" say.
    if (format == m_format)
        return;
    m_format = format;
    ReleaseGL();
}

void CTexture::SetFormat(GLenum format, bool depth)
{
    if (uint8_t(depth) != m_depth)
    {
        m_depth = depth;
        ReleaseGL();
    }
    SetFormat(format);
}

void CTexture::SetRelativeSize(const Vector2<float>& fraction)
{
    if (fraction.x == m_relativeSize.x && fraction.y == m_relativeSize.y)
        return;
    m_relativeSize = fraction;
    ReleaseGL();
}

void CTexture::EnsureLoaded()
{
    if (m_failed || m_glTexture != 0 || !IsGlLive())
        return;
    if (m_renderTarget != kFileTexture)
    {
        CreateRenderTarget();
        if (m_renderTarget == kDoubleBuffered && m_glTexture != 0)
        {
            std::swap(m_glTexture, m_secondTexture);
            CreateRenderTarget();
            if (m_glTexture == 0)
                ReleaseGL();
        }
    }
    else
    {
        const bool keepCompressed = CPreferences::Instance()->GetBool("uploadcompressed", true);
        CRef<CSurface> surface =
            CSurface::Create(m_name, keepCompressed ? CSurface::kKeepCompressed : CSurface::kDecode);
        surface->Upload(*this);
    }
    if (m_glTexture == 0)
        m_failed = 1;
    else
        m_lastUsed = PlatformHooks::GetFrameCount();
}

void CTexture::Bind()
{
    if (!IsGlLive())
        return;
    EnsureLoaded();
    glBindTexture(GL_TEXTURE_2D, m_glTexture);
    if (m_generateMipmaps && m_glTexture != 0 && GlExtensions::HasGenerateMipmap())
        GlExtensions::GenerateMipmapOES(GL_TEXTURE_2D);
    m_lastUsed = PlatformHooks::GetFrameCount();
}

void CTexture::BindTarget(uint32_t mode)
{
    CGraphics* graphics = CGraphics::Peek();
    if (m_renderTarget == kFileTexture || graphics == nullptr || !IsGlLive())
        return;
    if (mode == 0)
    {
        if (m_framebuffer != 0 && m_savedFramebuffer >= 0)
        {
            graphics->BindFramebuffer(uint32_t(m_savedFramebuffer));
            m_savedFramebuffer = -1;
        }
        return;
    }
    if (m_savedFramebuffer >= 0 || !GlExtensions::HasFramebufferObjects())
        return;

    m_compression = kCompressNever;
    EnsureLoaded();
    const GLuint colour = mode == kDoubleBuffered ? m_secondTexture : m_glTexture;
    if (colour == 0)
        return;
    {
        KeepTextureBinding keep;
        glBindTexture(GL_TEXTURE_2D, colour);
        if (!m_generateMipmaps)
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    }
    // The framebuffer really bound, which the state cache keeps through its invalidations.
    m_savedFramebuffer = int32_t(graphics->GetFramebuffer());
    const bool made = m_framebuffer == 0;
    if (made)
        GlExtensions::GenFramebuffersOES(1, &m_framebuffer);
    graphics->BindFramebuffer(m_framebuffer);
    if (made && m_depthRenderbuffer != 0)
        GlExtensions::FramebufferRenderbufferOES(GL_FRAMEBUFFER_OES, GL_DEPTH_ATTACHMENT_OES,
                                                 GL_RENDERBUFFER_OES, m_depthRenderbuffer);
    if (m_attachedTexture != colour)
    {
        GlExtensions::FramebufferTexture2DOES(GL_FRAMEBUFFER_OES, GL_COLOR_ATTACHMENT0_OES, GL_TEXTURE_2D,
                                              colour, 0);
        m_attachedTexture = colour;
    }
}

void CTexture::SwapBuffers()
{
    if (m_renderTarget != kDoubleBuffered)
        return;
    std::swap(m_glTexture, m_secondTexture);
    if (CGraphics* graphics = CGraphics::Peek())
        graphics->ForgetTexture(this);
}

void CTexture::ReleaseGL()
{
    CGraphics* graphics = CGraphics::Peek();
    if (IsGlLive())
    {
        // Deleting the bound framebuffer would leave the cache believing it is still bound.
        if (m_framebuffer != 0 && graphics->GetFramebuffer() == m_framebuffer)
            graphics->BindFramebuffer(m_savedFramebuffer >= 0 ? uint32_t(m_savedFramebuffer) : 0);
        DeleteTexture(m_glTexture);
        DeleteTexture(m_secondTexture);
        if (m_framebuffer != 0 && GlExtensions::IsFramebufferOES != nullptr &&
            GlExtensions::IsFramebufferOES(m_framebuffer))
            GlExtensions::DeleteFramebuffersOES(1, &m_framebuffer);
        if (m_depthRenderbuffer != 0 && GlExtensions::IsRenderbufferOES != nullptr &&
            GlExtensions::IsRenderbufferOES(m_depthRenderbuffer))
            GlExtensions::DeleteRenderbuffersOES(1, &m_depthRenderbuffer);
    }
    if (graphics != nullptr)
        graphics->ForgetTexture(this);
    m_glTexture = 0;
    m_secondTexture = 0;
    m_framebuffer = 0;
    m_depthRenderbuffer = 0;
    m_attachedTexture = 0;
    m_savedFramebuffer = -1;
    m_failed = 0;
}

void CTexture::EvictIfUnused()
{
    // Wrap-safe: the frame count is compared by difference.
    const int64_t idle = int64_t(PlatformHooks::GetFrameCount()) - int64_t(m_lastUsed);
    if (m_renderTarget == kFileTexture && m_glTexture != 0 && idle > kEvictFrames)
        ReleaseGL();
}

bool CTexture::IsValid() const
{
    return IsGlLive() && m_glTexture != 0 && glIsTexture(m_glTexture);
}

void CTexture::Upload(uint8_t* pixels, Vector2<int32_t> size, GLenum format)
{
    ReleaseGL();
    if (pixels == nullptr || size.x < 1 || size.y < 1 || !IsGlLive())
        return;

    // A format of 0 means the image's own. A one-channel image takes the texture's one-channel
    // format (luminance bytes into an alpha texture); ES wants internal and external formats equal.
    GLenum external = format;
    if (m_format != 0 && ChannelsOf(m_format) == ChannelsOf(format))
    {
        if (ChannelsOf(format) == 1)
            external = m_format;
    }
    else
        m_format = format;
    const GLenum internal = external;

    while (m_halve != nullptr && std::max(size.x, size.y) > kMaxEdge)
        m_halve(pixels, size, external);

    const int32_t edge0 = PaddedEdge(size);
    const bool padded = size.x != edge0 || size.y != edge0;
    SetPadding(size, edge0);
    m_size = Vector2<int32_t>(edge0, edge0);

    uint32_t levels = 1;
    if (m_mipmaps == kMipmapsUnset || m_halve == nullptr)
        m_mipmaps = kMipmapsOff;
    else if (m_mipmaps == kMipmapsOn)
        levels = ImageHeaders::CeilLog2(uint32_t(size.x) + uint32_t(size.y)) + 2;

    COpenGL::CheckErrors();
    KeepTextureBinding keep;
    // Rows are tightly packed: a 4-byte alignment would skew grey, grey-alpha and RGB rows.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glGenTextures(1, &m_glTexture);
    glBindTexture(GL_TEXTURE_2D, m_glTexture);

    int32_t edge = edge0;
    for (uint32_t level = 0; level < levels; ++level)
    {
        if (padded)
        {
            glTexImage2D(GL_TEXTURE_2D, GLint(level), GLint(internal), edge, edge, 0, external,
                         GL_UNSIGNED_BYTE, nullptr);
            glTexSubImage2D(GL_TEXTURE_2D, GLint(level), 0, 0, size.x, size.y, external, GL_UNSIGNED_BYTE,
                            pixels);
        }
        else
            glTexImage2D(GL_TEXTURE_2D, GLint(level), GLint(internal), edge, edge, 0, external,
                         GL_UNSIGNED_BYTE, pixels);
        if (edge < 2 || m_mipmaps != kMipmapsOn)
            break;
        m_halve(pixels, size, external);
        edge = std::max(edge / 2, 1);
    }
    // A chain that stopped short of 1 x 1 is incomplete: sample it without mipmaps.
    if (m_mipmaps == kMipmapsOn && edge >= 2)
        m_mipmaps = kMipmapsOff;
    if (m_mipmaps != kMipmapsOn)
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);

    // A texture GL refused to fill would draw white: no texture, so the texture fails instead.
    if (COpenGL::CheckErrors())
    {
        DeleteTexture(m_glTexture);
        m_glTexture = 0;
    }
}

void CTexture::UploadCompressed(const uint8_t* data, size_t length, Vector2<int32_t> size, GLenum format,
                                int32_t mipCount)
{
    ReleaseGL();
    if (ImageHeaders::CompressedLevelBytes(format, 1, 1) == 0 || data == nullptr || !IsGlLive())
        return;

    m_mipmaps = kMipmapsOff;
    // Compressed files are never padded: texture coordinates map straight onto them.
    SetPadding(Vector2<int32_t>(1, 1), 1);
    m_size = Vector2<int32_t>(1, 1);
    if (size.x < 1 || size.y < 1)
        return;

    COpenGL::CheckErrors();
    KeepTextureBinding keep;
    glGenTextures(1, &m_glTexture);
    glBindTexture(GL_TEXTURE_2D, m_glTexture);

    const int64_t levels = std::max<int64_t>(mipCount, 1);
    uint32_t w = uint32_t(size.x);
    uint32_t h = uint32_t(size.y);
    uint64_t offset = 0;
    GLint glLevel = 0;
    bool reachedOne = false;
    for (int64_t level = 0; level < levels; ++level)
    {
        const uint64_t bytes = ImageHeaders::CompressedLevelBytes(format, w, h);
        if (bytes > length || offset > length - bytes)
            break;
        if (std::max(w, h) <= uint32_t(kMaxEdge))
        {
            glCompressedTexImage2D(GL_TEXTURE_2D, glLevel, format, GLsizei(w), GLsizei(h), 0, GLsizei(bytes),
                                   data + offset);
            if (glLevel == 0)
                m_size = Vector2<int32_t>(int32_t(w), int32_t(h));
            ++glLevel;
            reachedOne = w == 1 && h == 1;
        }
        else if (glLevel > 0)
            break; // a larger level after a smaller one: the chain is broken
        if (w == 1 && h == 1)
            break;
        w = std::max(w / 2, 1u);
        h = std::max(h / 2, 1u);
        offset += bytes;
    }
    // Mipmapped sampling needs every level down to 1 x 1.
    m_mipmaps = glLevel > 1 && reachedOne ? kMipmapsOn : kMipmapsOff;
    if (m_mipmaps != kMipmapsOn)
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);

    // No level uploaded, or one GL refused: a texture without an image would draw white.
    if (glLevel == 0 || COpenGL::CheckErrors())
    {
        DeleteTexture(m_glTexture);
        m_glTexture = 0;
        m_size = Vector2<int32_t>(1, 1);
    }
}

void CTexture::HalveImage(uint8_t* pixels, Vector2<int32_t>& size, GLenum format)
{
    const int32_t width = size.x;
    const int32_t height = size.y;
    const Vector2<int32_t> half(std::max(width / 2, 1), std::max(height / 2, 1));
    if (pixels == nullptr || width < 1 || height < 1)
    {
        size = half;
        return;
    }
    const int32_t bytes = ChannelsOf(format);
    // In place: output pixel (x, y) is written at or before the first byte its block reads, and
    // later outputs read only further on.
    for (int32_t y = 0; y < half.y; ++y)
    {
        const int32_t y0 = std::min(2 * y, height - 1);
        const int32_t y1 = std::min(2 * y + 1, height - 1);
        for (int32_t x = 0; x < half.x; ++x)
        {
            const int32_t x0 = std::min(2 * x, width - 1);
            const int32_t x1 = std::min(2 * x + 1, width - 1);
            uint8_t* out = pixels + (size_t(y) * size_t(half.x) + size_t(x)) * size_t(bytes);
            if (format == GL_RGBA)
            {
                const uint32_t alpha = BoxSum(pixels, width, 4, x0, x1, y0, y1, 3);
                uint32_t colour[3] = {0, 0, 0};
                if (alpha != 0)
                {
                    const auto at = [&](int32_t px, int32_t py)
                    { return pixels + (size_t(py) * size_t(width) + size_t(px)) * 4; };
                    const uint8_t* block[4] = {at(x0, y0), at(x1, y0), at(x0, y1), at(x1, y1)};
                    for (int32_t c = 0; c < 3; ++c)
                    {
                        uint32_t sum = 0;
                        for (const uint8_t* p : block)
                            sum += uint32_t(p[c]) * uint32_t(p[3]);
                        colour[c] = sum / alpha;
                    }
                }
                out[0] = uint8_t(colour[0]);
                out[1] = uint8_t(colour[1]);
                out[2] = uint8_t(colour[2]);
                out[3] = uint8_t(alpha >> 2);
            }
            else
            {
                for (int32_t c = 0; c < bytes; ++c)
                    out[c] = uint8_t(BoxSum(pixels, width, bytes, x0, x1, y0, y1, c) >> 2);
            }
        }
    }
    size = half;
}

int32_t CTexture::ChannelsOf(GLenum format)
{
    switch (format)
    {
    case GL_LUMINANCE_ALPHA:
    case 0x84EB: // GL_COMPRESSED_LUMINANCE_ALPHA
        return 2;
    case GL_RGB:
    case 0x84ED: // GL_COMPRESSED_RGB
        return 3;
    case GL_RGBA:
    case 0x84EE: // GL_COMPRESSED_RGBA
        return 4;
    default:
        return 1;
    }
}

int32_t CTexture::PaddedEdge(const Vector2<int32_t>& size)
{
    const uint32_t w = uint32_t(std::max(size.x, 1));
    const uint32_t h = uint32_t(std::max(size.y, 1));
    const uint32_t exponent = std::max(ImageHeaders::CeilLog2(w), ImageHeaders::CeilLog2(h));
    return exponent >= 31 ? INT32_MAX : int32_t(1) << exponent;
}

Matrix4 CTexture::GetPaddingTransform() const
{
    Matrix4 transform;
    transform.Scale(Vector3<float>(m_uvScale.x, m_uvScale.y, 1.0f));
    return transform;
}

Vector2<int32_t> CTexture::GetUsedSize() const
{
    return Vector2<int32_t>(int32_t(std::lround(float(m_size.x) * m_uvScale.x)),
                            int32_t(std::lround(float(m_size.y) * m_uvScale.y)));
}

void CTexture::CreateRenderTarget()
{
    Vector2<int32_t> size = m_size;
    if (m_relativeSize.x != 0.0f || m_relativeSize.y != 0.0f)
    {
        const Vector4<int32_t>& screen = CView::GetScreenView().GetViewport();
        size = Vector2<int32_t>(int32_t(m_relativeSize.x * float(screen.z) + 0.5f),
                                int32_t(m_relativeSize.y * float(screen.w) + 0.5f));
    }
    size = Vector2<int32_t>(std::max(size.x, 1), std::max(size.y, 1));
    const int32_t edge = PaddedEdge(size);
    GLint maxEdge = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxEdge);
    if (edge > maxEdge)
        return; // no texture: the target fails rather than asking GL for the impossible

    COpenGL::CheckErrors();
    KeepTextureBinding keep;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    SetPadding(size, edge);
    m_size = Vector2<int32_t>(edge, edge);
    if (m_format == 0)
        m_format = GL_RGBA;

    glTexImage2D(GL_TEXTURE_2D, 0, GLint(m_format), edge, edge, 0, m_format, GL_UNSIGNED_BYTE, nullptr);
    if (m_generateMipmaps && GlExtensions::HasGenerateMipmap())
        GlExtensions::GenerateMipmapOES(GL_TEXTURE_2D);
    else if (m_mipmaps == kMipmapsOn)
    {
        GLint level = 1;
        for (int32_t e = edge / 2; e >= 1; e /= 2)
            glTexImage2D(GL_TEXTURE_2D, level++, GLint(m_format), e, e, 0, m_format, GL_UNSIGNED_BYTE,
                         nullptr);
    }
    else
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);

    if (m_depth && m_depthRenderbuffer == 0)
    {
        const COpenGL* gl = COpenGL::Peek();
        if (gl != nullptr && gl->IsRenderToTexture() && GlExtensions::HasFramebufferObjects())
        {
            GlExtensions::GenRenderbuffersOES(1, &m_depthRenderbuffer);
            GlExtensions::BindRenderbufferOES(GL_RENDERBUFFER_OES, m_depthRenderbuffer);
            GlExtensions::RenderbufferStorageOES(GL_RENDERBUFFER_OES, GL_DEPTH_COMPONENT16_OES, edge, edge);
        }
        else
            m_depth = 0;
    }

    if (COpenGL::CheckErrors())
    {
        DeleteTexture(texture);
        return;
    }
    m_glTexture = texture;
}

void CTexture::SetPadding(const Vector2<int32_t>& size, int32_t edge)
{
    m_uvScale = Vector2<float>(float(size.x) / float(edge), float(size.y) / float(edge));
    m_uvTransform = GetPaddingTransform();
}
