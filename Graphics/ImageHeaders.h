#pragma once
// Readers of image files held whole in memory, [begin, end): the DDS (S3TC or ATC blocks) and
// legacy PVR (PVRTC) headers for uploading compressed data as it is, the check that a DDS can be
// decoded in software, and the integer helpers of texture sizing. Pure: no GL, no files.
// Invariant: nothing here reads outside [begin, end), and a file is accepted only when every byte
// its header promises lies inside it.
#include "Graphics/COpenGL.h"
#include "Graphics/ImageDecoding.h"

#include <GLES/gl.h>
#include <cstddef>
#include <cstdint>

// What a header reader found: the top level's size in pixels, 3 or 4 channels, the number of mip
// levels stored, the GL compressed format and the first data byte (null: not accepted).
struct CompressedImage
{
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t channels = 0;
    uint32_t mipCount = 0;
    GLenum format = 0;
    const uint8_t* data = nullptr;
};

namespace ImageHeaders
{
// A DDS with DXT1/3/5 blocks when S3TC is offered, or ATC blocks when ATC is offered; cube maps,
// zero sizes and files too short for their top level are refused. Returns out.data.
const uint8_t* ParseDdsHeader(const uint8_t* begin, const uint8_t* end, const COpenGL::Compression& offered,
                              CompressedImage& out);
// A legacy 52-byte-header PVR with 2 or 4 bpp PVRTC, when PVRTC is offered. Returns out.data.
const uint8_t* ParsePvrHeader(const uint8_t* begin, const uint8_t* end, const COpenGL::Compression& offered,
                              CompressedImage& out);
// There is no software PVRTC decoder: always null.
const uint8_t* DecodePvr(const uint8_t* begin, const uint8_t* end);

// Whether the image library can decode this DDS (DXT1 to DXT5 blocks, or 24/32-bit RGB) reading
// only inside the file, within ImageDecoding's size limits.
bool CanDecodeDds(const uint8_t* begin, const uint8_t* end);
// Decodes a DDS that CanDecodeDds accepts; false (out empty) otherwise.
bool DecodeDds(const uint8_t* begin, const uint8_t* end, DecodedImage& out);

// Bytes of one level of a compressed format, in 64 bits and saturating (UINT64_MAX for edges past
// 2^24), so that no claimed size can wrap; 0 for a format that no upload accepts.
uint64_t CompressedLevelBytes(GLenum format, uint32_t width, uint32_t height);

// The exponent of the smallest power of two at least n, at least 1 (so 1 for 0, 1 and 2); 32 when
// n - 1 has its top bit set.
uint32_t CeilLog2(uint32_t n);
// x with its 32 bits in reverse order.
uint32_t ReverseBits(uint32_t x);
// Little-endian u32 at offset of a range known to hold it.
uint32_t ReadU32(const uint8_t* at);
} // namespace ImageHeaders
