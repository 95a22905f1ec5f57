#pragma once
// Software decoding of PNG and JPEG files held whole in memory, [begin, end), into 8-bit pixels with
// the channel count as stored. Invariant: a file is decoded only when its header's size is within
// the limits and what the file's bytes could hold, so a lying header never makes a large allocation.
#include <cstdint>

// Pixels decoded by an image library: malloc'd, rows top to bottom, 1 to 4 bytes a pixel, no row
// padding; the owner frees them with free().
struct DecodedImage
{
    uint8_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t channels = 0;
};

namespace ImageDecoding
{
// Decoded images larger than this are refused before decoding (edge and area in pixels).
constexpr uint32_t kMaxEdge = 8192;
constexpr uint64_t kMaxPixels = 4096ull * 4096ull;

// Each returns false, with out empty, for anything but a whole, sound image of its format.
bool DecodePng(const uint8_t* begin, const uint8_t* end, DecodedImage& out);
bool DecodeJpeg(const uint8_t* begin, const uint8_t* end, DecodedImage& out);
} // namespace ImageDecoding
