#include "Graphics/ImageHeaders.h"

#include <GLES/glext.h>
#include <SOIL/stb_image_aug.h>
// The DDS reader's header declares C functions without saying so.
extern "C"
{
#include <SOIL/stbi_DDS_aug.h>
}
#include <climits>
#include <cstdlib>
#include <cstring>

namespace
{

constexpr size_t kDdsHeaderBytes = 128;
constexpr size_t kPvrHeaderBytes = 52;

constexpr uint32_t kDdsRequiredFlags = 0x1007; // caps, height, width, pixel format
constexpr uint32_t kDdsFourCc = 0x4;
constexpr uint32_t kDdsRgb = 0x40;
constexpr uint32_t kDdsAlphaPixels = 0x1;
constexpr uint32_t kDdsCapsTexture = 0x1000;
constexpr uint32_t kDdsCubeMap = 0x200;

// GL_ATC_* of AMD_compressed_ATC_texture, which the ES headers may not carry.
constexpr GLenum kAtcRgb = 0x8C92;
constexpr GLenum kAtcExplicitAlpha = 0x8C93;
constexpr GLenum kAtcInterpolatedAlpha = 0x87EE;
constexpr GLenum kDxt1 = 0x83F1;
constexpr GLenum kDxt3 = 0x83F2;
constexpr GLenum kDxt5 = 0x83F3;
constexpr GLenum kPvrtcRgb4 = 0x8C00;
constexpr GLenum kPvrtcRgb2 = 0x8C01;
constexpr GLenum kPvrtcRgba4 = 0x8C02;
constexpr GLenum kPvrtcRgba2 = 0x8C03;

constexpr uint32_t FourCc(const char (&text)[5])
{
    return uint32_t(uint8_t(text[0])) | uint32_t(uint8_t(text[1])) << 8 | uint32_t(uint8_t(text[2])) << 16 |
           uint32_t(uint8_t(text[3])) << 24;
}

bool IsPowerOfTwo(uint32_t n)
{
    return n != 0 && (n & (n - 1)) == 0;
}

size_t Length(const uint8_t* begin, const uint8_t* end)
{
    return begin != nullptr && end > begin ? size_t(end - begin) : 0;
}

// The checks the image library's DDS reader and ours share.
bool HasDdsBasics(const uint8_t* begin, size_t length)
{
    using ImageHeaders::ReadU32;
    return length >= kDdsHeaderBytes && std::memcmp(begin, "DDS ", 4) == 0 && ReadU32(begin + 4) == 124 &&
           (ReadU32(begin + 8) & kDdsRequiredFlags) == kDdsRequiredFlags && ReadU32(begin + 76) == 32 &&
           (ReadU32(begin + 108) & kDdsCapsTexture) != 0 && (ReadU32(begin + 112) & kDdsCubeMap) == 0;
}

} // namespace

namespace ImageHeaders
{

uint32_t ReadU32(const uint8_t* at)
{
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

uint64_t CompressedLevelBytes(GLenum format, uint32_t width, uint32_t height)
{
    // Past 2^24 pixels an edge no file can hold the level; saturating keeps the products below 2^64.
    constexpr uint64_t kHuge = 1u << 24;
    const uint64_t w = width;
    const uint64_t h = height;
    if ((w > kHuge || h > kHuge) && CompressedLevelBytes(format, 1, 1) != 0)
        return UINT64_MAX;
    switch (format)
    {
    case kDxt1:
    case kAtcRgb:
        return ((w + 3) / 4) * ((h + 3) / 4) * 8;
    case kDxt3:
    case kDxt5:
    case kAtcInterpolatedAlpha:
    case kAtcExplicitAlpha:
        return ((w + 3) / 4) * ((h + 3) / 4) * 16;
    case kPvrtcRgb4:
    case kPvrtcRgba4:
        return (w < 8 ? 8 : w) * (h < 8 ? 8 : h) * 4 / 8;
    case kPvrtcRgb2:
    case kPvrtcRgba2:
        return (w < 16 ? 16 : w) * (h < 8 ? 8 : h) * 2 / 8;
    default:
        return 0;
    }
}

const uint8_t* ParseDdsHeader(const uint8_t* begin, const uint8_t* end, const COpenGL::Compression& offered,
                              CompressedImage& out)
{
    out = CompressedImage();
    const size_t length = Length(begin, end);
    if (!HasDdsBasics(begin, length) || (ReadU32(begin + 80) & kDdsFourCc) == 0)
        return nullptr;

    struct Entry
    {
        uint32_t fourCc;
        bool atc;
        GLenum format;
        uint32_t channels;
    };
    static constexpr Entry kTable[] = {
        {FourCc("DXT1"), false, kDxt1, 3},
        {FourCc("DXT3"), false, kDxt3, 4},
        {FourCc("DXT5"), false, kDxt5, 4},
        {FourCc("ATC "), true, kAtcRgb, 3},
        {FourCc("ATCA"), true, kAtcExplicitAlpha, 4},
        {FourCc("ATCI"), true, kAtcInterpolatedAlpha, 4},
    };
    const uint32_t fourCc = ReadU32(begin + 84);
    const Entry* found = nullptr;
    for (const Entry& entry : kTable)
        if (entry.fourCc == fourCc)
            found = &entry;
    if (found == nullptr || !(found->atc ? offered.atc : offered.s3tc))
        return nullptr;

    const uint32_t height = ReadU32(begin + 12);
    const uint32_t width = ReadU32(begin + 16);
    // ES takes only power-of-two textures; such a file is decoded instead. The top level must be
    // wholly inside the file, or the upload would have nothing to show.
    if (!IsPowerOfTwo(width) || !IsPowerOfTwo(height) ||
        CompressedLevelBytes(found->format, width, height) > length - kDdsHeaderBytes)
        return nullptr;

    out.width = width;
    out.height = height;
    out.mipCount = ReadU32(begin + 28);
    out.channels = found->channels;
    out.format = found->format;
    out.data = begin + kDdsHeaderBytes;
    return out.data;
}

const uint8_t* ParsePvrHeader(const uint8_t* begin, const uint8_t* end, const COpenGL::Compression& offered,
                              CompressedImage& out)
{
    out = CompressedImage();
    const size_t length = Length(begin, end);
    if (!offered.pvrtc || length < kPvrHeaderBytes || std::memcmp(begin + 44, "PVR!", 4) != 0)
        return nullptr;

    const uint32_t pixelType = ReadU32(begin + 16) & 0xFF;
    const uint32_t bitCount = ReadU32(begin + 24);
    const bool alpha = ReadU32(begin + 40) != 0;
    GLenum format = 0;
    if (pixelType == 0x19 && bitCount == 4)
        format = alpha ? kPvrtcRgba4 : kPvrtcRgb4;
    else if (pixelType == 0x18 && bitCount == 2)
        format = alpha ? kPvrtcRgba2 : kPvrtcRgb2;
    else
        return nullptr;

    const uint32_t headerSize = ReadU32(begin);
    const uint32_t height = ReadU32(begin + 4);
    const uint32_t width = ReadU32(begin + 8);
    // A header claiming to be shorter than the fields just read would put the data over them.
    if (headerSize < kPvrHeaderBytes || headerSize >= length || !IsPowerOfTwo(width) ||
        !IsPowerOfTwo(height) || CompressedLevelBytes(format, width, height) > length - headerSize)
        return nullptr;

    out.width = width;
    out.height = height;
    const uint32_t storedMips = ReadU32(begin + 12);
    out.mipCount = storedMips == UINT32_MAX ? storedMips : storedMips + 1;
    out.channels = alpha ? 4 : 3;
    out.format = format;
    out.data = begin + headerSize;
    return out.data;
}

const uint8_t* DecodePvr(const uint8_t*, const uint8_t*)
{
    return nullptr;
}

bool CanDecodeDds(const uint8_t* begin, const uint8_t* end)
{
    const size_t length = Length(begin, end);
    if (!HasDdsBasics(begin, length) || length > size_t(INT_MAX))
        return false;
    const uint32_t height = ReadU32(begin + 12);
    const uint32_t width = ReadU32(begin + 16);
    if (width == 0 || height == 0 || width > ImageDecoding::kMaxEdge || height > ImageDecoding::kMaxEdge ||
        uint64_t(width) * height > ImageDecoding::kMaxPixels)
        return false;

    // The library reads exactly the top level after the header, and nothing checks that it is
    // there: the file must hold it.
    const uint32_t pixelFlags = ReadU32(begin + 80);
    uint64_t needed = 0;
    if (pixelFlags & kDdsFourCc)
    {
        const uint32_t fourCc = ReadU32(begin + 84);
        // The library looks at the last character only; anything but DXT1..DXT5 would decode as noise.
        if ((fourCc & 0x00FFFFFF) != (FourCc("DXT1") & 0x00FFFFFF) || (fourCc >> 24) < '1' ||
            (fourCc >> 24) > '5')
            return false;
        const uint64_t blocks = uint64_t((width + 3) / 4) * ((height + 3) / 4);
        needed = blocks * ((fourCc >> 24) == '1' ? 8 : 16);
    }
    else if (pixelFlags & kDdsRgb)
    {
        // The library takes 3 or 4 bytes a pixel by the alpha flag, whatever the bit count says.
        const uint32_t bytes = (pixelFlags & kDdsAlphaPixels) ? 4 : 3;
        if (ReadU32(begin + 88) != bytes * 8)
            return false;
        needed = uint64_t(width) * height * bytes;
    }
    else
        return false;
    return needed <= length - kDdsHeaderBytes;
}

bool DecodeDds(const uint8_t* begin, const uint8_t* end, DecodedImage& out)
{
    out = DecodedImage();
    if (!CanDecodeDds(begin, end))
        return false;
    int width = 0, height = 0, channels = 0;
    stbi_uc* pixels = stbi_dds_load_from_memory(begin, int(end - begin), &width, &height, &channels, 0);
    if (pixels == nullptr)
        return false;
    if (width <= 0 || height <= 0 || channels < 1 || channels > 4)
    {
        std::free(pixels);
        return false;
    }
    out.pixels = pixels;
    out.width = width;
    out.height = height;
    out.channels = channels;
    return true;
}

uint32_t CeilLog2(uint32_t n)
{
    if (n <= 2)
        return 1;
    uint32_t bits = 0;
    for (uint32_t v = n - 1; v != 0; v >>= 1)
        ++bits;
    return bits;
}

uint32_t ReverseBits(uint32_t x)
{
    x = ((x >> 1) & 0x55555555u) | ((x & 0x55555555u) << 1);
    x = ((x >> 2) & 0x33333333u) | ((x & 0x33333333u) << 2);
    x = ((x >> 4) & 0x0F0F0F0Fu) | ((x & 0x0F0F0F0Fu) << 4);
    x = ((x >> 8) & 0x00FF00FFu) | ((x & 0x00FF00FFu) << 8);
    return (x >> 16) | (x << 16);
}

} // namespace ImageHeaders
