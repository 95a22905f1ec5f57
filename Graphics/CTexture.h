#pragma once
// One OpenGL ES texture known by name: made cheaply with settings only, its GL objects created on
// first use (from the image "<data folder>/textures/<name>", or empty as a render target with a
// framebuffer) and dropped at any time (a changed setting, 2000 frames without a bind, the loss of
// the context), to be created again on the next use.
// Invariant: a GL name is non-zero only while it names a live object of the current context; a
// failed texture makes no further attempt until its GL objects are released.
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CResizes.h"
#include "core/CString.h"
#include "core/Matrix4.h"
#include "core/Vector2.h"

#include <GLES/gl.h>
#include <cstddef>
#include <cstdint>

class CTexture : public CBase, public CResizes
{
  public:
    enum Compression : uint32_t
    {
        kCompressNever = 0,
        kCompressAlways = 1,
        kCompressByPreference = 2, // as the preference "compresstextures" says
    };
    enum Mipmaps : uint32_t
    {
        kMipmapsOff = 0,
        kMipmapsOn = 1,
        kMipmapsUnset = 2, // becomes off at upload
    };
    enum RenderTarget : uint32_t
    {
        kFileTexture = 0,
        kRenderTarget = 1,
        kDoubleBuffered = 2, // two colour textures, exchanged by SwapBuffers
    };

    // A file texture not bound for drawing for more than this many frames loses its GL objects.
    static constexpr int32_t kEvictFrames = 2000;
    // Decoded images are halved until their larger edge is at most this many pixels.
    static constexpr int32_t kMaxEdge = 1024;

    // Reduces an image (rows top to bottom, no padding) to half its size in place; size in pixels
    // is updated, each edge to max(edge / 2, 1).
    using HalvingFunction = void (*)(uint8_t* pixels, Vector2<int32_t>& size, GLenum format);

    // A texture with default settings (512 x 512, GL_RGBA, mipmaps unset). Reads nothing.
    static CRef<CTexture> Create(const CString& name);
    // Deletes the GL objects while a context is live.
    ~CTexture() override;

    // Each setter releases the GL objects when the value changes, so the next use rebuilds them.
    void SetCompression(uint32_t mode);
    // A render-target mode turns mipmaps off (on with generated mipmaps).
    void SetRenderTarget(uint32_t mode);
    void SetGenerateMipmaps(bool generate);
    // Off also stops generated mipmaps.
    void SetMipmaps(bool mipmaps);
    // Pixels; for a render target the size asked for.
    void SetSize(const Vector2<int32_t>& size);
    // GL format; 0 means "the image's own". depth: a render target gets a 16-bit depth buffer.
    void SetFormat(GLenum format);
    void SetFormat(GLenum format, bool depth);
    // A fraction of the whole-screen view's pixel size that a render target takes; (0, 0) uses
    // the size set.
    void SetRelativeSize(const Vector2<float>& fraction);
    void SetHalvingFunction(HalvingFunction function) { m_halve = function; }

    // Makes the GL objects unless they exist or creation failed since the last release.
    void EnsureLoaded();
    // For drawing (CGraphics calls it on the active unit): loads when needed, binds (texture 0 when
    // it failed) and records the frame count as the last use.
    void Bind();
    // Mode 1 or 2 makes this render target the framebuffer drawn into (2: into the second colour
    // texture); mode 0 restores the framebuffer bound before. Nothing for a file texture.
    void BindTarget(uint32_t mode);
    // Double-buffered render targets only: exchanges the two colour textures.
    void SwapBuffers();
    // Deletes the GL objects (only while a context is live) and forgets their names and the
    // failure; settings stay.
    void ReleaseGL();
    // Releases a file texture not bound for more than kEvictFrames frames.
    void EvictIfUnused();
    // The context is going: its names will mean nothing in the next one.
    void Invalidate() override { ReleaseGL(); }

    bool IsLoaded() const { return m_glTexture != 0; }
    // A context is live and holds the texture object.
    bool IsValid() const;
    bool IsFailed() const { return m_failed != 0; }

    // Called by CSurface::Upload. pixels: rows top to bottom, tightly packed, 1 to 4 bytes a pixel
    // as format says; they are reduced in place for the size limit and the mip levels. size in
    // pixels.
    void Upload(uint8_t* pixels, Vector2<int32_t> size, GLenum format);
    // data holds length bytes: mipCount levels of format, the largest (size, pixels) first.
    void UploadCompressed(const uint8_t* data, size_t length, Vector2<int32_t> size, GLenum format,
                          int32_t mipCount);

    // The default halving: a 2x2 box, RGBA weighted by alpha (a block with no alpha gives
    // transparent black). An edge of 1 pixel repeats its last row or column.
    static void HalveImage(uint8_t* pixels, Vector2<int32_t>& size, GLenum format);
    // Bytes a pixel of an uncompressed format: 2 for luminance-alpha, 3 RGB, 4 RGBA, else 1.
    static int32_t ChannelsOf(GLenum format);
    // The square power-of-two edge a w x h image is padded to (an edge of 1 counts as 2).
    static int32_t PaddedEdge(const Vector2<int32_t>& size);

    const CString& GetName() const { return m_name; }
    // Pixels: the size set, or after creation the allocated (padded) size.
    const Vector2<int32_t>& GetSize() const { return m_size; }
    int32_t GetWidth() const { return m_size.x; }
    int32_t GetHeight() const { return m_size.y; }
    GLenum GetFormat() const { return m_format; }
    uint32_t GetCompression() const { return m_compression; }
    uint32_t GetMipmaps() const { return m_mipmaps; }
    // Whether the texture has (or will make) mip levels, for choosing a minifying filter.
    bool HasMipmaps() const { return m_mipmaps == kMipmapsOn; }
    bool GetGenerateMipmaps() const { return m_generateMipmaps != 0; }
    bool HasDepth() const { return m_depth != 0; }
    uint32_t GetRenderTarget() const { return m_renderTarget; }
    const Vector2<float>& GetRelativeSize() const { return m_relativeSize; }
    // Frame count at the last Bind.
    int32_t GetLastUsed() const { return m_lastUsed; }

    // Applied to texture coordinates by the texture units: identity, or the scale (w / p2, h / p2)
    // that maps 0..1 onto the image inside its padded square. Screen captures compose their
    // rotation compensation onto GetPaddingTransform(), never onto what is here already.
    const Matrix4& GetUvTransform() const { return m_uvTransform; }
    void SetUvTransform(const Matrix4& transform) { m_uvTransform = transform; }
    Matrix4 GetPaddingTransform() const;
    // The padding scale (u, v): 1 without padding.
    Vector2<float> GetUvScale() const { return Vector2<float>(m_uvScale.x, m_uvScale.y); }
    // The part of the texture the image covers, in pixels: size times uv scale, rounded.
    Vector2<int32_t> GetUsedSize() const;

    GLuint GetGlTexture() const { return m_glTexture; }
    GLuint GetSecondTexture() const { return m_secondTexture; }
    GLuint GetFramebuffer() const { return m_framebuffer; }

  private:
    explicit CTexture(const CString& name);

    void CreateRenderTarget();
    // Sets the uv transform to the padding scale of an image of size inside a square of edge.
    void SetPadding(const Vector2<int32_t>& size, int32_t edge);

    Matrix4 m_uvTransform;
    Vector2<float> m_uvScale{1.0f, 1.0f};
    CString m_name;

    // Settings, fixed until a setter changes them.
    Vector2<int32_t> m_size{512, 512};
    GLenum m_format = GL_RGBA;
    uint32_t m_compression = kCompressByPreference;
    uint32_t m_mipmaps = kMipmapsUnset;
    uint32_t m_renderTarget = kFileTexture;
    uint8_t m_generateMipmaps = 0;
    uint8_t m_depth = 0;
    Vector2<float> m_relativeSize{0.0f, 0.0f};
    HalvingFunction m_halve = &CTexture::HalveImage;

    // GL objects: lost with the context, rebuilt on use.
    int32_t m_lastUsed = 0;
    GLuint m_glTexture = 0;
    uint8_t m_failed = 0;
    GLuint m_framebuffer = 0;
    int32_t m_savedFramebuffer = -1; // framebuffer to restore; -1 while not bound as the target
    GLuint m_depthRenderbuffer = 0;
    GLuint m_secondTexture = 0;
    GLuint m_attachedTexture = 0;
};
