#include "Graphics/ImageDecoding.h"

#include <climits>
#include <cstdlib>
#include <cstring>

// The library is compiled into this file alone, its functions static, so its names cannot meet
// the image library that decodes DDS files. Only the two formats read here are built in.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 8192
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace
{

static_assert(STBI_MAX_DIMENSIONS == ImageDecoding::kMaxEdge, "one edge limit");

// Most pixels one byte of the file can stand for. Deflate expands at most 1032 to 1; the
// smallest JPEG block (a 1-bit DC code and a 1-bit end of block) covers 64 pixels of a component,
// so 256 pixels a byte, and chroma subsampling cannot more than double that.
constexpr uint64_t kPngPixelsPerByte = 1032;
constexpr uint64_t kJpegPixelsPerByte = 512;

uint32_t ReadBigU32(const uint8_t* at)
{
    return uint32_t(at[0]) << 24 | uint32_t(at[1]) << 16 | uint32_t(at[2]) << 8 | uint32_t(at[3]);
}

// Walks the chunks: each must lie inside the file, IHDR first, some IDAT, IEND last. Returns the
// bytes of compressed image data, 0 when the structure is not sound.
uint64_t PngDataBytes(const uint8_t* begin, size_t length)
{
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (length < 8 || std::memcmp(begin, kSignature, 8) != 0)
        return 0;
    uint64_t data = 0;
    size_t at = 8;
    bool first = true;
    while (length - at >= 12)
    {
        const uint32_t chunk = ReadBigU32(begin + at);
        if (chunk > length - at - 12)
            return 0;
        const uint8_t* type = begin + at + 4;
        if (first && std::memcmp(type, "IHDR", 4) != 0)
            return 0;
        first = false;
        if (std::memcmp(type, "IDAT", 4) == 0)
            data += chunk;
        if (std::memcmp(type, "IEND", 4) == 0)
            return data;
        at += 12 + size_t(chunk);
    }
    return 0;
}

bool Fits(uint64_t width, uint64_t height, uint64_t pixelLimit)
{
    return width > 0 && height > 0 && width <= ImageDecoding::kMaxEdge && height <= ImageDecoding::kMaxEdge &&
           width * height <= ImageDecoding::kMaxPixels && width * height <= pixelLimit;
}

bool Decode(const uint8_t* begin, const uint8_t* end, uint64_t pixelLimit, bool png, DecodedImage& out)
{
    out = DecodedImage();
    const size_t length = size_t(end - begin);
    int width = 0, height = 0, channels = 0;
    stbi__context context;
    stbi__start_mem(&context, begin, int(length));
    const int known = png ? stbi__png_info(&context, &width, &height, &channels)
                          : stbi__jpeg_info(&context, &width, &height, &channels);
    if (!known || !Fits(uint64_t(width), uint64_t(height), pixelLimit))
        return false;

    stbi__start_mem(&context, begin, int(length));
    stbi__result_info info;
    std::memset(&info, 0, sizeof info);
    info.bits_per_channel = 8; // what a loader leaves alone
    void* pixels = png ? stbi__png_load(&context, &width, &height, &channels, 0, &info)
                       : stbi__jpeg_load(&context, &width, &height, &channels, 0, &info);
    if (pixels == nullptr || (info.bits_per_channel != 8 && info.bits_per_channel != 16) || width <= 0 ||
        height <= 0 || channels < 1 || channels > 4)
    {
        std::free(pixels);
        return false;
    }
    if (info.bits_per_channel == 16)
    {
        // Keep the high byte of each sample, in place: byte i is read from bytes 2i and 2i + 1.
        uint8_t* bytes = static_cast<uint8_t*>(pixels);
        const size_t samples = size_t(width) * size_t(height) * size_t(channels);
        for (size_t i = 0; i < samples; ++i)
        {
            uint16_t sample;
            std::memcpy(&sample, bytes + 2 * i, 2);
            bytes[i] = uint8_t(sample >> 8);
        }
    }
    out.pixels = static_cast<uint8_t*>(pixels);
    out.width = width;
    out.height = height;
    out.channels = channels;
    return true;
}

bool Usable(const uint8_t* begin, const uint8_t* end)
{
    return begin != nullptr && end > begin && size_t(end - begin) <= size_t(INT_MAX);
}

} // namespace

namespace ImageDecoding
{

bool DecodePng(const uint8_t* begin, const uint8_t* end, DecodedImage& out)
{
    out = DecodedImage();
    if (!Usable(begin, end))
        return false;
    const uint64_t data = PngDataBytes(begin, size_t(end - begin));
    return data > 0 && Decode(begin, end, (data + 1) * kPngPixelsPerByte, true, out);
}

bool DecodeJpeg(const uint8_t* begin, const uint8_t* end, DecodedImage& out)
{
    out = DecodedImage();
    if (!Usable(begin, end))
        return false;
    return Decode(begin, end, uint64_t(end - begin) * kJpegPixelsPerByte, false, out);
}

} // namespace ImageDecoding
