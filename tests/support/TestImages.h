#pragma once
// Image files made in memory for the image and texture tests: PNG and JPEG through an encoder,
// DDS and PVR headers written field by field so that tests can make them lie.
#include <cstdint>
#include <string>
#include <vector>

namespace TestImages
{
// pixels: rows top to bottom, channels bytes a pixel.
std::string Png(int width, int height, int channels, const std::vector<uint8_t>& pixels);
// A 16 x 8 RGB JPEG of the colour (200, 60, 30).
std::string Jpeg();

// The 128-byte header of a valid texture DDS with the given FOURCC; data bytes follow.
struct Dds
{
    uint32_t width = 4;
    uint32_t height = 4;
    uint32_t mipCount = 0;
    uint32_t flags = 0x1007;
    uint32_t headerSize = 124;
    uint32_t pixelFormatSize = 32;
    uint32_t pixelFlags = 0x4;
    const char* fourCc = "DXT1";
    uint32_t bitCount = 0;
    uint32_t caps = 0x1000;
    uint32_t caps2 = 0;
    const char* magic = "DDS ";
    std::string Bytes(const std::string& data) const;
};

// The 52-byte legacy PVR header; data bytes follow at headerSize.
struct Pvr
{
    uint32_t headerSize = 52;
    uint32_t width = 8;
    uint32_t height = 8;
    uint32_t mipCount = 0;
    uint32_t pixelType = 0x19;
    uint32_t bitCount = 4;
    uint32_t alphaMask = 0;
    const char* magic = "PVR!";
    std::string Bytes(const std::string& data) const;
};

// One DXT1 block: colour 0 and colour 1 (RGB565), every texel index 0.
std::string Dxt1Block(uint16_t colour0, uint16_t colour1);

std::vector<uint8_t> Bytes(const std::string& text);
} // namespace TestImages
