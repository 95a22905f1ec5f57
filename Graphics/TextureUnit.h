#pragma once
// One stage of the fixed-function texture pipeline as a material describes it: texture, wrap,
// filter, uv transform, environment mode and the whole GL_COMBINE set-up. A plain record; copies
// share the texture. Every keyword is matched whole and ignoring case, and every keyword table
// falls back to a fixed value, so no attribute text is ever rejected.
#include "Graphics/CTexture.h"
#include "core/CRef.h"
#include "core/CString.h"
#include "core/Matrix4.h"
#include "core/Vector2.h"
#include "core/Vector4.h"

#include <GLES/gl.h>
#include <cstdint>
#include <string_view>

class CXmlNode;
struct MaterialCaps;

struct TextureUnit
{
    // Filter settings: the minifying filter CGraphics chooses from them (mipmapped when the
    // texture has levels).
    enum Filter : uint32_t
    {
        kPoint = 1,
        kLinear = 2,
        kTrilinear = 3,
    };

    // GL's own initial unit: no texture, repeat, linear, identity, GL_MODULATE.
    TextureUnit();
    // Reads a "textureunit" element (or a material element standing for its only unit). When
    // "texture" names one, the shared texture also takes "format", "mipmap" and "compress", so the
    // last unit read that names a texture decides those. "clamp" means caps.clampMode. A negative
    // "unit" reads as an index above every real unit.
    TextureUnit(const CXmlNode& element, const MaterialCaps& caps);

    // The texels the unit's uv rectangle covers (unit matrix, then the texture's uv transform);
    // (0, 0) without a texture.
    Vector2<int32_t> GetPixelSize() const;

    // The keyword tables.
    static uint32_t ReadFilter(std::string_view text);
    static GLenum ReadBlendFactor(std::string_view text);
    static GLenum ReadSource(std::string_view text);
    static GLenum ReadEnvMode(std::string_view text);
    static GLenum ReadCombine(std::string_view text);
    static GLenum ReadFormat(std::string_view text);
    static GLenum ReadWrap(std::string_view text, GLenum clampMode);
    static GLenum ReadOperand(std::string_view text);
    // The texture matrix that maps uv (u, v) to (x0 + u (x1 - x0), y0 + v (y1 - y0)).
    static Matrix4 RectMatrix(const Vector4<float>& rect);

    uint32_t unit = 0;
    CRef<CTexture> texture;
    GLenum wrap = GL_REPEAT;
    uint32_t filter = kLinear;
    Matrix4 matrix;
    GLenum envMode = GL_MODULATE;
    Vector4<float> envColour{0, 0, 0, 0};
    GLenum combineRgb = GL_MODULATE;
    GLenum sourceRgb[3] = {GL_TEXTURE, GL_PREVIOUS, GL_CONSTANT};
    GLenum operandRgb[2] = {GL_SRC_COLOR, GL_SRC_COLOR};
    float rgbScale = 1.0f;
    GLenum combineAlpha = GL_MODULATE;
    GLenum sourceAlpha[3] = {GL_TEXTURE, GL_PREVIOUS, GL_CONSTANT};
    GLenum operandAlpha[2] = {GL_SRC_ALPHA, GL_SRC_ALPHA};
    float alphaScale = 1.0f;
};

// The attribute name of element, or def when it is absent or empty.
CString GetAttributeOr(const CXmlNode& element, std::string_view name, const char* def);
