#pragma once
// What the GL implementation offers: version, extensions, compressed-texture support, the wrap mode
// that "clamp" stands for, and the capability terms with which data files choose between variants.
// Invariant: every answer reflects the context current at the last Probe() (none: version 1.0, no
// extensions, no compression); the term logic itself is pure and needs no context.
#include "core/CBase.h"
#include "core/CSingleton.h"

#include <GLES/gl.h>
#include <cstdint>

class COpenGL : public CBase, public CSingleton<COpenGL>
{
  public:
    // Which compressed formats the context takes; the image readers consult these.
    struct Compression
    {
        bool s3tc = false;
        bool atc = false;
        bool dds = false; // S3TC or ATC: DDS files may be uploaded compressed
        bool pvrtc = false;
        bool pvrFiles = false; // PVR files are looked for at all
    };

    void Init() override;

    // Reads version and compression support from the current context. Init runs it; the renderer
    // runs it again whenever a context is made, so a COpenGL made before the context still ends up
    // with the real answers.
    void Probe();

    // Whether GL_EXTENSIONS of the current context lists an extension that ends in name.
    bool HasExtension(const char* name) const;

    // One capability term: "!term" negates; "mtN" needs at least max(N, 2) texture units (the count
    // CGraphics knows, 0 before a context); "rtt" is render-to-texture; anything else is false.
    bool TestCaps(const char* term) const;
    // True when every comma-separated term of list passes; an empty or null list is true.
    bool CheckCaps(const char* list) const;

    // Reads and discards pending GL errors; true when there was at least one.
    static bool CheckErrors();

    // The wrap mode of the keyword "clamp": GL_CLAMP_TO_EDGE (ES has no GL_CLAMP).
    GLenum GetClampMode() const { return m_clampMode; }
    int GetMajorVersion() const { return m_majorVersion; }
    int GetMinorVersion() const { return m_minorVersion; }
    bool IsRenderToTexture() const { return m_renderToTexture; }
    const Compression& GetCompression() const { return m_compression; }

    // The texture LOD bias last sent (LodBiasScope keeps it); 0 at start.
    float GetLodBias() const { return m_lodBias; }
    void SetLodBias(float bias);

    // The pure halves of the above, for any extension string and unit count.
    // A match counts when name ends an extension (end of string or a space follows); nothing is
    // required before it, so a vendor prefix is allowed. Empty name: true for any non-null list.
    static bool FindExtension(const char* extensions, const char* name);
    static bool EvaluateTerm(const char* term, uint32_t textureUnits, bool renderToTexture);
    static bool EvaluateList(const char* list, uint32_t textureUnits, bool renderToTexture);
    // "1.1", "OpenGL ES-CM 1.1 Mesa ..." or "OpenGL ES 2.0". Sets what it reads (a lone "2" sets
    // only major); false, outputs untouched, when no number stands where the version belongs.
    static bool ParseVersion(const char* text, int* major, int* minor);

  private:
    friend class CSingleton<COpenGL>;
    COpenGL() = default;

    uint32_t GetTextureUnits() const;

    GLenum m_clampMode = GL_CLAMP_TO_EDGE;
    int m_majorVersion = 1;
    int m_minorVersion = 0;
    bool m_renderToTexture = true;
    Compression m_compression;
    float m_lodBias = 0.0f;
};
