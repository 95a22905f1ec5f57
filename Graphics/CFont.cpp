#include "Graphics/CFont.h"

#include "Graphics/CTextureSet.h"
#include "core/CFileSystem.h"
#include "core/CPreference.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/Matrix3.h"
#include "core/TextFields.h"
#include "platform/PlatformHooks.h"

#include <GLES/gl.h>

namespace
{
// Kept for the settings file; nothing reads it.
CPreference<bool> s_textBlobs("textblobs", true);

// The oblique style leans x by this much per unit of y (y grows downwards).
constexpr float kObliqueShear = -0.25f;

float FloatAttribute(const CXmlNode& node, const char* name, float fallback)
{
    return node.HasAttribute(name) ? float(ParseFloat(node.GetAttribute(name).c_str())) : fallback;
}

int32_t IntAttribute(const CXmlNode& node, const char* name, int32_t fallback)
{
    return node.HasAttribute(name) ? ParseInt(node.GetAttribute(name).c_str()) : fallback;
}

// A page size of 0 or less would make every coordinate infinite: such a font keeps the default.
float PageEdge(const CXmlNode& common, const char* name)
{
    const float edge = FloatAttribute(common, name, 1024.0f);
    return edge > 0.0f ? edge : 1024.0f;
}

CString FontPath(const CString& fileName)
{
    return CFileSystem::Instance()->GetDataFolder() + "/fonts/" + fileName;
}
} // namespace

CRef<CFont> CFont::Create(const CString& name, uint32_t style)
{
    CRef<CFont> font = CRef<CFont>::Adopt(new CFont());
    font->Load(name, style);
    font->ScheduleIn("global", kEvictIntervalMs);
    return font;
}

void CFont::Load(const CString& name, uint32_t style)
{
    CString path = FontPath(name + ".fnt");
    if (style == kItalic)
    {
        const CString italic = FontPath(name + "-i.fnt");
        if (CFileSystem::FileExists(italic.c_str()))
            path = italic;
        else
            style = kOblique;
    }
    m_style = style;
    CXmlDocument document;
    if (!document.Load(path, CFileSystem::kAsPath))
        return;
    Read(*document.GetRoot());
}

bool CFont::Read(CXmlNode& root)
{
    CXmlNode* common = root.FindChild("common");
    if (!common)
        return false;
    const float scaleW = PageEdge(*common, "scaleW");
    const float scaleH = PageEdge(*common, "scaleH");
    m_lineHeight = FloatAttribute(*common, "lineHeight", 256.0f) / scaleH;
    m_base = FloatAttribute(*common, "base", 128.0f) / scaleH;

    m_pages.clear();
    if (CXmlNode* pages = root.FindChild("pages"))
        for (CXmlNode* page = pages->FindChild("page"); page; page = page->NextSiblingNamed("page"))
        {
            CRef<CTexture> texture = CTextureSet::Instance()->Get("../fonts/" + page->GetAttribute("file"));
            texture->SetCompression(CTexture::kCompressNever);
            texture->SetFormat(GL_ALPHA);
            texture->SetMipmaps(true);
            m_pages.push_back(texture);
        }

    m_glyphs.clear();
    if (CXmlNode* chars = root.FindChild("chars"))
        for (CXmlNode* node = chars->FindChild("char"); node; node = node->NextSiblingNamed("char"))
        {
            const float x = FloatAttribute(*node, "x", 0.0f);
            const float y = FloatAttribute(*node, "y", 0.0f);
            const float width = FloatAttribute(*node, "width", 0.0f);
            const float height = FloatAttribute(*node, "height", 0.0f);
            const float xOffset = FloatAttribute(*node, "xoffset", 0.0f);
            const float yOffset = FloatAttribute(*node, "yoffset", 0.0f);
            Glyph& glyph = m_glyphs[uint32_t(IntAttribute(*node, "id", 0))];
            glyph.uv = Vector4<float>(x / scaleW, y / scaleH, (x + width) / scaleW, (y + height) / scaleH);
            glyph.quad = Vector4<float>(xOffset / scaleW, yOffset / scaleH, (xOffset + width) / scaleW,
                                        (yOffset + height) / scaleH);
            glyph.advance = FloatAttribute(*node, "xadvance", 0.0f) / scaleW;
            glyph.page = IntAttribute(*node, "page", 0);
        }

    m_kernings.clear();
    if (CXmlNode* kernings = root.FindChild("kernings"))
        for (CXmlNode* node = kernings->FindChild("kerning"); node; node = node->NextSiblingNamed("kerning"))
            m_kernings[uint32_t(IntAttribute(*node, "first", 0))]
                      [uint32_t(IntAttribute(*node, "second", 0))] =
                          FloatAttribute(*node, "amount", 0.0f) / scaleW;
    return true;
}

CRef<CPrint> CFont::GetPrint(const CString& text, bool keep)
{
    auto found = m_prints.find(text);
    if (found == m_prints.end())
        found = m_prints.emplace(text, Build(text)).first;
    CRef<CPrint> print = found->second;
    if (!keep)
        m_prints.erase(found);
    return print;
}

Vector2<float> CFont::MeasureText(const CString& text, float size)
{
    CRef<CPrint> print = GetPrint(text, true);
    print->SetSize(size);
    return print->GetExtent() * print->GetScale();
}

void CFont::DrawText(const CString& text, const Vector2<float>& position, float size,
                     const Vector4<float>& colour)
{
    CRef<CPrint> print = GetPrint(text, true);
    print->SetPosition(position);
    print->SetSize(size);
    print->SetColour(colour);
    print->Draw();
}

float CFont::GetDescent(float size) const
{
    if (m_lineHeight <= 0.0f)
        return 0.0f;
    return (1.0f - m_base / m_lineHeight) * size;
}

float CFont::GetKerning(uint32_t first, uint32_t second) const
{
    const auto row = m_kernings.find(first);
    if (row == m_kernings.end())
        return 0.0f;
    const auto amount = row->second.find(second);
    return amount == row->second.end() ? 0.0f : amount->second;
}

uint32_t CFont::DecodeUtf8(const char*& text)
{
    if (!text || *text == '\0')
        return 0;
    const uint8_t lead = uint8_t(*text++);
    if (lead < 0x80)
        return lead;
    int continuations = 0;
    uint32_t codePoint = 0;
    if ((lead & 0xE0) == 0xC0)
    {
        continuations = 1;
        codePoint = lead & 0x1F;
    }
    else if ((lead & 0xF0) == 0xE0)
    {
        continuations = 2;
        codePoint = lead & 0x0F;
    }
    else if ((lead & 0xF8) == 0xF0)
    {
        continuations = 3;
        codePoint = lead & 0x07;
    }
    else if ((lead & 0xC0) == 0x80)
        return lead & 0x7F; // a continuation byte out of place stands for itself, less its top bit
    else
        return kReplacement; // F8-FF, which UTF-8 never uses
    for (; continuations > 0; --continuations)
    {
        const uint8_t next = uint8_t(*text);
        // A cut sequence keeps the bits it has; the byte that cut it starts the next character.
        if (next < 0x80)
            break;
        codePoint = (codePoint << 6) | (next & 0x3F);
        ++text;
    }
    return codePoint;
}

void CFont::Update(float)
{
    const int64_t now = PlatformHooks::GetFrameCount();
    for (auto entry = m_prints.begin(); entry != m_prints.end();)
    {
        if (now - int64_t(entry->second->GetLastDrawn()) > int64_t(kEvictFrames) - 1)
            entry = m_prints.erase(entry);
        else
            ++entry;
    }
}

void CFont::OnResize()
{
    m_prints.clear();
}

void CFont::OnInvalidate()
{
    m_prints.clear();
}

const CFont::Glyph* CFont::FindGlyph(uint32_t codePoint) const
{
    const auto found = m_glyphs.find(codePoint);
    return found == m_glyphs.end() ? nullptr : &found->second;
}

CPrint* CFont::FindCached(const CString& text) const
{
    const auto found = m_prints.find(text);
    return found == m_prints.end() ? nullptr : found->second.Get();
}

CRef<CPrint> CFont::Build(const CString& text) const
{
    CRef<CPrint> print = CPrint::Create(m_lineHeight, m_base);
    const auto hasPage = [this](const Glyph& glyph)
    { return glyph.page >= 0 && size_t(glyph.page) < m_pages.size(); };
    if (const Glyph* blob = FindGlyph(kGlowGlyph); blob && hasPage(*blob))
        print->SetGlowGlyph(blob->uv, m_pages[size_t(blob->page)]);
    Matrix3 shear;
    shear.m[3] = kObliqueShear;
    const Matrix3* shearing = m_style == kOblique ? &shear : nullptr;

    const char* cursor = text.c_str();
    uint32_t next = DecodeUtf8(cursor);
    // The text ends at its NUL byte only: a sequence decoding to 0 is a character without a glyph.
    bool more = !text.empty();
    while (more)
    {
        const uint32_t current = next;
        more = *cursor != '\0';
        next = DecodeUtf8(cursor);
        if (current == '\n')
        {
            print->NewLine();
            continue;
        }
        const Glyph* glyph = FindGlyph(current);
        if (!glyph || !hasPage(*glyph))
            continue;
        print->AddGlyph(glyph->quad, glyph->uv, m_pages[size_t(glyph->page)].Get(),
                        glyph->advance + GetKerning(current, next), shearing);
    }
    return print;
}
