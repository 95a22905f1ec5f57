#include "Graphics/TextureUnit.h"

#include "Graphics/CTextureSet.h"
#include "Graphics/MaterialCaps.h"
#include "core/CXmlNode.h"
#include "core/Colour.h"
#include "core/ParseBool.h"
#include "core/TextFields.h"

#include <GLES/glext.h>
#include <algorithm>
#include <cmath>

namespace
{

struct Keyword
{
    const char* text;
    GLenum value;
};

template <size_t N> GLenum Lookup(std::string_view text, const Keyword (&table)[N], GLenum fallback)
{
    for (const Keyword& keyword : table)
        if (CString::CompareNoCase(text, keyword.text) == 0)
            return keyword.value;
    return fallback;
}

constexpr Keyword kBlendFactors[] = {
    {"zero", GL_ZERO},
    {"one", GL_ONE},
    {"src_color", GL_SRC_COLOR},
    {"src_colour", GL_SRC_COLOR},
    {"one_minus_src_color", GL_ONE_MINUS_SRC_COLOR},
    {"one_minus_src_colour", GL_ONE_MINUS_SRC_COLOR},
    {"src_alpha", GL_SRC_ALPHA},
    {"one_minus_src_alpha", GL_ONE_MINUS_SRC_ALPHA},
    {"dst_alpha", GL_DST_ALPHA},
    {"one_minus_dst_alpha", GL_ONE_MINUS_DST_ALPHA},
    {"dst_color", GL_DST_COLOR},
    {"dst_colour", GL_DST_COLOR},
    {"one_minus_dst_color", GL_ONE_MINUS_DST_COLOR},
    {"one_minus_dst_colour", GL_ONE_MINUS_DST_COLOR},
    {"src_alpha_saturate", GL_SRC_ALPHA_SATURATE},
};

constexpr Keyword kSources[] = {
    {"texture", GL_TEXTURE},     {"constant", GL_CONSTANT}, {"colour", GL_PRIMARY_COLOR},
    {"color", GL_PRIMARY_COLOR}, {"previous", GL_PREVIOUS},
};

constexpr Keyword kEnvModes[] = {
    {"modulate", GL_MODULATE}, {"decal", GL_DECAL}, {"blend", GL_BLEND},
    {"replace", GL_REPLACE},   {"add", GL_ADD},     {"combine", GL_COMBINE},
};

constexpr Keyword kCombines[] = {
    {"modulate", GL_MODULATE},     {"replace", GL_REPLACE},         {"add", GL_ADD},
    {"add_signed", GL_ADD_SIGNED}, {"interpolate", GL_INTERPOLATE}, {"dot3_rgb", GL_DOT3_RGB},
    {"dot3_rgba", GL_DOT3_RGBA},
};

constexpr Keyword kFormats[] = {
    {"rgba8", GL_RGBA},
    {"rgba", GL_RGBA},
    {"rgb8", GL_RGB},
    {"rgb", GL_RGB},
    {"luminancealpha", GL_LUMINANCE_ALPHA},
    {"luminance", GL_LUMINANCE},
    {"alpha8", GL_ALPHA},
    {"alpha", GL_ALPHA},
};

constexpr Keyword kOperands[] = {
    {"src_colour", GL_SRC_COLOR},
    {"src_color", GL_SRC_COLOR},
    {"one_minus_src_colour", GL_ONE_MINUS_SRC_COLOR},
    {"one_minus_src_color", GL_ONE_MINUS_SRC_COLOR},
    {"src_alpha", GL_SRC_ALPHA},
    {"one_minus_src_alpha", GL_ONE_MINUS_SRC_ALPHA},
};

// The booleans of texture settings: "" and "true" (any case) are true, else a non-zero integer.
bool ReadSettingBool(const CString& text)
{
    return text.empty() || ParseBool(text.c_str());
}

float ReadFloatOr(const CXmlNode& element, std::string_view name, float def)
{
    const CString* text = element.FindOwnAttribute(name);
    return text == nullptr || text->empty() ? def : static_cast<float>(ParseFloat(text->c_str()));
}

} // namespace

TextureUnit::TextureUnit() = default;

TextureUnit::TextureUnit(const CXmlNode& element, const MaterialCaps& caps)
{
    // A negative index wraps to one no hardware has, so the material drops the unit rather than
    // letting it take the place of unit 0.
    unit = static_cast<uint32_t>(ParseInt(GetAttributeOr(element, "unit", "0").c_str()));

    const CString textureName = GetAttributeOr(element, "texture", "");
    if (!textureName.empty())
    {
        texture = CTextureSet::Instance()->Get(textureName);
        texture->SetFormat(ReadFormat(GetAttributeOr(element, "format", "")));
        const CString* mipmap = element.FindOwnAttribute("mipmap");
        texture->SetMipmaps(mipmap == nullptr || ReadSettingBool(*mipmap));
        const CString compress = GetAttributeOr(element, "compress", "");
        if (!compress.empty())
            texture->SetCompression(ParseBool(compress.c_str()) ? CTexture::kCompressAlways
                                                                : CTexture::kCompressNever);
    }

    const Vector4<float> uvs =
        ParseColourText(GetAttributeOr(element, "uvs", "").c_str(), Vector4<float>(0, 0, 1, 1));
    if (uvs != Vector4<float>(0, 0, 1, 1))
        matrix = RectMatrix(uvs);

    wrap = ReadWrap(GetAttributeOr(element, "clamp", "repeat"), caps.clampMode);
    filter = ReadFilter(GetAttributeOr(element, "filter", "linear"));
    envMode = ReadEnvMode(GetAttributeOr(element, "mode", "modulate"));
    envColour = ParseColourText(GetAttributeOr(element, "colour", "").c_str(), Vector4<float>(0, 0, 0, 0));

    combineRgb = ReadCombine(GetAttributeOr(element, "combine-rgb", "modulate"));
    sourceRgb[0] = ReadSource(GetAttributeOr(element, "src0-rgb", "texture"));
    sourceRgb[1] = ReadSource(GetAttributeOr(element, "src1-rgb", "previous"));
    sourceRgb[2] = ReadSource(GetAttributeOr(element, "src2-rgb", "constant"));
    operandRgb[0] = ReadOperand(GetAttributeOr(element, "operand0-rgb", "src_colour"));
    operandRgb[1] = ReadOperand(GetAttributeOr(element, "operand1-rgb", "src_colour"));
    rgbScale = ReadFloatOr(element, "scale-rgb", 1.0f);
    combineAlpha = ReadCombine(GetAttributeOr(element, "combine-alpha", "modulate"));
    sourceAlpha[0] = ReadSource(GetAttributeOr(element, "src0-alpha", "texture"));
    sourceAlpha[1] = ReadSource(GetAttributeOr(element, "src1-alpha", "previous"));
    sourceAlpha[2] = ReadSource(GetAttributeOr(element, "src2-alpha", "constant"));
    operandAlpha[0] = ReadOperand(GetAttributeOr(element, "operand0-alpha", "src_alpha"));
    operandAlpha[1] = ReadOperand(GetAttributeOr(element, "operand1-alpha", "src_alpha"));
    alphaScale = ReadFloatOr(element, "scale-alpha", 1.0f);
}

Vector2<int32_t> TextureUnit::GetPixelSize() const
{
    if (!texture)
        return Vector2<int32_t>(0, 0);
    const Matrix4 m = matrix * texture->GetUvTransform();
    const float width =
        std::sqrt(m.m[0] * m.m[0] + m.m[1] * m.m[1]) * static_cast<float>(texture->GetWidth());
    const float height =
        std::sqrt(m.m[4] * m.m[4] + m.m[5] * m.m[5]) * static_cast<float>(texture->GetHeight());
    return Vector2<int32_t>(static_cast<int32_t>(width + 0.5f), static_cast<int32_t>(height + 0.5f));
}

uint32_t TextureUnit::ReadFilter(std::string_view text)
{
    static constexpr Keyword kFilters[] = {{"point", kPoint}, {"linear", kLinear}, {"trilinear", kTrilinear}};
    return Lookup(text, kFilters, kLinear);
}

GLenum TextureUnit::ReadBlendFactor(std::string_view text)
{
    return Lookup(text, kBlendFactors, GL_ONE);
}

GLenum TextureUnit::ReadSource(std::string_view text)
{
    return Lookup(text, kSources, GL_TEXTURE);
}

GLenum TextureUnit::ReadEnvMode(std::string_view text)
{
    return Lookup(text, kEnvModes, GL_MODULATE);
}

GLenum TextureUnit::ReadCombine(std::string_view text)
{
    return Lookup(text, kCombines, GL_MODULATE);
}

GLenum TextureUnit::ReadFormat(std::string_view text)
{
    return Lookup(text, kFormats, 0);
}

GLenum TextureUnit::ReadWrap(std::string_view text, GLenum clampMode)
{
    const Keyword wraps[] = {
        {"repeat", GL_REPEAT},
        {"clamp", clampMode},
        {"clamp_to_edge", clampMode},
        {"mirror", GL_MIRRORED_REPEAT_OES},
    };
    return Lookup(text, wraps, GL_REPEAT);
}

GLenum TextureUnit::ReadOperand(std::string_view text)
{
    return Lookup(text, kOperands, GL_SRC_COLOR);
}

Matrix4 TextureUnit::RectMatrix(const Vector4<float>& rect)
{
    Matrix4 m;
    m.Scale(Vector3<float>(rect.z - rect.x, rect.w - rect.y, 1.0f));
    m.Translate(Vector3<float>(rect.x, rect.y, 0.0f));
    return m;
}

CString GetAttributeOr(const CXmlNode& element, std::string_view name, const char* def)
{
    const CString* text = element.FindOwnAttribute(name);
    return text == nullptr || text->empty() ? CString(def) : *text;
}
