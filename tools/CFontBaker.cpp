#include "tools/CFontBaker.h"

#include "core/CString.h"
#include "tools/CSoundSynth.h"

// Both live only in this file: static, so they cannot clash with the image library's copies.
#define STBTT_STATIC
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <system_error>

namespace
{
// Pixels between glyphs and around the page edge, so that the smaller mipmap levels of a glyph do
// not take in its neighbours.
constexpr int32_t kGap = 4;
// Kerning pairs are looked for among the printable ASCII characters, where nearly all text is.
constexpr uint32_t kFirstKerned = 32;
constexpr uint32_t kLastKerned = 126;
// Smaller kernings (pixels) are not worth a line.
constexpr float kSmallestKerning = 0.1f;

struct Bitmap
{
    uint32_t codePoint = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t xOffset = 0; // from the pen
    int32_t yOffset = 0; // from the top of the line
    float advance = 0.0f;
    std::vector<uint8_t> pixels;
    int32_t page = 0;
    int32_t x = 0;
    int32_t y = 0;
};

// A soft round blob: full in the middle, fading to nothing at the rim.
Bitmap MakeBlob(int32_t edge)
{
    Bitmap blob;
    blob.codePoint = CFontBaker::kBlobCodePoint;
    blob.width = blob.height = edge;
    blob.pixels.resize(size_t(edge) * size_t(edge));
    const float radius = 0.5f * float(edge);
    for (int32_t y = 0; y < edge; ++y)
        for (int32_t x = 0; x < edge; ++x)
        {
            const float dx = (float(x) + 0.5f - radius) / radius;
            const float dy = (float(y) + 0.5f - radius) / radius;
            const float inside = std::max(0.0f, 1.0f - (dx * dx + dy * dy));
            blob.pixels[size_t(y) * size_t(edge) + size_t(x)] =
                uint8_t(std::lround(255.0f * inside * inside));
        }
    return blob;
}

// Shelves, tallest glyphs first, onto as many square pages as they need.
int32_t Pack(std::vector<Bitmap>& bitmaps)
{
    std::vector<Bitmap*> order;
    for (Bitmap& bitmap : bitmaps)
        if (bitmap.width > 0 && bitmap.height > 0)
            order.push_back(&bitmap);
    std::stable_sort(order.begin(), order.end(),
                     [](const Bitmap* a, const Bitmap* b) { return a->height > b->height; });
    int32_t page = 0, x = kGap, y = kGap, shelf = 0;
    for (Bitmap* bitmap : order)
    {
        if (x + bitmap->width + kGap > CFontBaker::kPageSize)
        {
            x = kGap;
            y += shelf + kGap;
            shelf = 0;
        }
        if (y + bitmap->height + kGap > CFontBaker::kPageSize)
        {
            ++page;
            x = y = kGap;
            shelf = 0;
        }
        bitmap->page = page;
        bitmap->x = x;
        bitmap->y = y;
        x += bitmap->width + kGap;
        shelf = std::max(shelf, bitmap->height);
    }
    return order.empty() ? 1 : page + 1;
}

void AppendBytes(void* context, void* data, int size)
{
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), size_t(size));
}

std::string EncodePage(const std::vector<Bitmap>& bitmaps, int32_t page)
{
    const size_t edge = size_t(CFontBaker::kPageSize);
    std::vector<uint8_t> pixels(edge * edge, 0);
    for (const Bitmap& bitmap : bitmaps)
    {
        if (bitmap.page != page || bitmap.width <= 0 || bitmap.height <= 0)
            continue;
        for (int32_t row = 0; row < bitmap.height; ++row)
            std::copy_n(bitmap.pixels.begin() + ptrdiff_t(row) * bitmap.width, bitmap.width,
                        pixels.begin() + ptrdiff_t((size_t(bitmap.y + row)) * edge + size_t(bitmap.x)));
    }
    std::string png;
    stbi_write_png_to_func(&AppendBytes, &png, int(edge), int(edge), 1, pixels.data(), int(edge));
    return png;
}

// "12.5" rather than "12.50"; the reader takes any decimal number.
CString Number(float value)
{
    CString text = CString::Format("%.2f", double(value));
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return text == "-0" ? CString("0") : text;
}

bool ReadFile(const std::string& path, std::string& bytes)
{
    std::ifstream stream(path, std::ios::binary);
    if (!stream)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    return !bytes.empty();
}
} // namespace

std::vector<CFontBaker::Face> CFontBaker::Faces()
{
    // Sized for a 320 x 480 screen: text is drawn at 12 to 40 pixels, scaled down from these.
    return {
        {"body", "DejaVuSans.ttf", "DejaVu Sans", 36.0f},
        {"body-i", "DejaVuSans-Oblique.ttf", "DejaVu Sans Oblique", 36.0f},
        {"title", "DejaVuSans-Bold.ttf", "DejaVu Sans Bold", 48.0f},
    };
}

std::vector<uint32_t> CFontBaker::CodePoints(const std::vector<uint32_t>& extra)
{
    std::set<uint32_t> points(extra.begin(), extra.end());
    for (uint32_t c = 32; c <= 126; ++c)
        points.insert(c);
    for (uint32_t c = 160; c <= 255; ++c)
        points.insert(c);
    for (uint32_t c : {0x2013u, 0x2014u, 0x2018u, 0x2019u, 0x201Cu, 0x201Du, 0x2022u, 0x2026u, 0x20ACu,
                       0x2190u, 0x2192u, 0x2605u, 0xFFFDu})
        points.insert(c);
    points.erase(kBlobCodePoint);
    return std::vector<uint32_t>(points.begin(), points.end());
}

std::vector<uint32_t> CFontBaker::NonAsciiCodePoints(const std::string& text)
{
    std::set<uint32_t> points;
    for (size_t i = 0; i < text.size();)
    {
        const uint8_t lead = uint8_t(text[i]);
        int32_t count = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        uint32_t codePoint = lead >= 0xF0 ? lead & 0x07u : lead >= 0xE0 ? lead & 0x0Fu : lead & 0x1Fu;
        ++i;
        if (lead < 0xC0 || lead >= 0xF8)
            continue; // ASCII, or a byte that starts no character
        for (; count > 0 && i < text.size() && (uint8_t(text[i]) & 0xC0) == 0x80; --count, ++i)
            codePoint = (codePoint << 6) | (uint8_t(text[i]) & 0x3Fu);
        if (count == 0)
            points.insert(codePoint);
    }
    return std::vector<uint32_t>(points.begin(), points.end());
}

bool CFontBaker::Bake(const Face& face, const std::string& fontBytes, const std::vector<uint32_t>& codePoints,
                      Output& out)
{
    out = Output();
    const auto* data = reinterpret_cast<const unsigned char*>(fontBytes.data());
    stbtt_fontinfo info;
    if (fontBytes.size() < 12 || stbtt_GetFontOffsetForIndex(data, 0) < 0 ||
        !stbtt_InitFont(&info, data, stbtt_GetFontOffsetForIndex(data, 0)))
        return false;
    const float scale = stbtt_ScaleForPixelHeight(&info, face.pixelHeight);
    int ascent = 0, descent = 0, lineGap = 0;
    stbtt_GetFontVMetrics(&info, &ascent, &descent, &lineGap);
    const int32_t base = int32_t(std::lround(float(ascent) * scale));
    const int32_t lineHeight = int32_t(std::lround(float(ascent - descent + lineGap) * scale));

    std::vector<Bitmap> bitmaps;
    for (uint32_t codePoint : codePoints)
    {
        if (codePoint == kBlobCodePoint || stbtt_FindGlyphIndex(&info, int(codePoint)) == 0)
            continue;
        Bitmap bitmap;
        bitmap.codePoint = codePoint;
        int advance = 0, bearing = 0, x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        stbtt_GetCodepointHMetrics(&info, int(codePoint), &advance, &bearing);
        stbtt_GetCodepointBitmapBox(&info, int(codePoint), scale, scale, &x0, &y0, &x1, &y1);
        bitmap.advance = float(advance) * scale;
        if (x1 > x0 && y1 > y0)
        {
            bitmap.width = x1 - x0;
            bitmap.height = y1 - y0;
            bitmap.xOffset = x0;
            bitmap.yOffset = base + y0;
            bitmap.pixels.resize(size_t(bitmap.width) * size_t(bitmap.height));
            stbtt_MakeCodepointBitmap(&info, bitmap.pixels.data(), bitmap.width, bitmap.height, bitmap.width,
                                      scale, scale, int(codePoint));
        }
        bitmaps.push_back(std::move(bitmap));
    }
    bitmaps.push_back(MakeBlob(lineHeight));
    std::stable_sort(bitmaps.begin(), bitmaps.end(),
                     [](const Bitmap& a, const Bitmap& b) { return a.codePoint < b.codePoint; });
    const int32_t pageCount = Pack(bitmaps);

    CString text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<font>\n";
    text += CString::Format("  <info face=\"%s\" size=\"%s\"/>\n", face.faceName.c_str(),
                            Number(face.pixelHeight).c_str());
    text += CString::Format(
        "  <common lineHeight=\"%d\" base=\"%d\" scaleW=\"%d\" scaleH=\"%d\" pages=\"%d\"/>\n", lineHeight,
        base, kPageSize, kPageSize, pageCount);
    text += "  <pages>\n";
    for (int32_t page = 0; page < pageCount; ++page)
    {
        Page file{face.name + "_" + std::to_string(page) + ".png", EncodePage(bitmaps, page)};
        text += CString::Format("    <page id=\"%d\" file=\"%s\"/>\n", page, file.file.c_str());
        out.pages.push_back(std::move(file));
    }
    text += "  </pages>\n";
    text += CString::Format("  <chars count=\"%zu\">\n", bitmaps.size());
    for (const Bitmap& bitmap : bitmaps)
        text +=
            CString::Format("    <char id=\"%u\" x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" xoffset=\"%d\" "
                            "yoffset=\"%d\" xadvance=\"%s\" page=\"%d\"/>\n",
                            bitmap.codePoint, bitmap.x, bitmap.y, bitmap.width, bitmap.height, bitmap.xOffset,
                            bitmap.yOffset, Number(bitmap.advance).c_str(), bitmap.page);
    text += "  </chars>\n";

    CString kernings;
    int32_t kerningCount = 0;
    for (uint32_t first = kFirstKerned; first <= kLastKerned; ++first)
        for (uint32_t second = kFirstKerned; second <= kLastKerned; ++second)
        {
            const float amount = float(stbtt_GetCodepointKernAdvance(&info, int(first), int(second))) * scale;
            if (std::fabs(amount) < kSmallestKerning)
                continue;
            kernings += CString::Format("    <kerning first=\"%u\" second=\"%u\" amount=\"%s\"/>\n", first,
                                        second, Number(amount).c_str());
            ++kerningCount;
        }
    text += CString::Format("  <kernings count=\"%d\">\n", kerningCount) + kernings + "  </kernings>\n";
    text += "</font>\n";
    out.description = std::move(text);
    return true;
}

bool CFontBaker::BakeAll(const std::string& faceFolder, const std::string& outFolder,
                         const std::vector<uint32_t>& codePoints, std::string& error)
{
    std::error_code made;
    std::filesystem::create_directories(outFolder, made);
    if (made)
    {
        error = "cannot make " + outFolder + ": " + made.message();
        return false;
    }
    for (const Face& face : Faces())
    {
        const std::string source = faceFolder + "/" + face.file;
        std::string bytes;
        Output output;
        if (!ReadFile(source, bytes) || !Bake(face, bytes, codePoints, output))
        {
            error = "cannot read the font " + source;
            return false;
        }
        for (const Page& page : output.pages)
            if (!CSoundSynth::WriteFile(outFolder + "/" + page.file, page.png))
            {
                error = "cannot write " + outFolder + "/" + page.file;
                return false;
            }
        if (!CSoundSynth::WriteFile(outFolder + "/" + face.name + ".fnt", output.description))
        {
            error = "cannot write " + outFolder + "/" + face.name + ".fnt";
            return false;
        }
    }
    return true;
}
