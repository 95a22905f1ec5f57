#include "Graphics/ImageHeaders.h"
#include "Graphics/ImageDecoding.h"
#include "support/TestImages.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace ImageHeaders;

namespace
{

COpenGL::Compression Offer(bool s3tc, bool atc, bool pvrtc)
{
    COpenGL::Compression offered;
    offered.s3tc = s3tc;
    offered.atc = atc;
    offered.dds = s3tc || atc;
    offered.pvrtc = offered.pvrFiles = pvrtc;
    return offered;
}

const COpenGL::Compression kAll = Offer(true, true, true);

const uint8_t* ParseDds(const std::string& file, const COpenGL::Compression& offered, CompressedImage& out)
{
    const uint8_t* begin = reinterpret_cast<const uint8_t*>(file.data());
    return ParseDdsHeader(begin, begin + file.size(), offered, out);
}

const uint8_t* ParsePvr(const std::string& file, const COpenGL::Compression& offered, CompressedImage& out)
{
    const uint8_t* begin = reinterpret_cast<const uint8_t*>(file.data());
    return ParsePvrHeader(begin, begin + file.size(), offered, out);
}

bool CanDecode(const std::string& file)
{
    const uint8_t* begin = reinterpret_cast<const uint8_t*>(file.data());
    return CanDecodeDds(begin, begin + file.size());
}

} // namespace

TEST(ImageHeadersDds, AcceptsOfferedFormatsAndReportsTheirShape)
{
    TestImages::Dds dds;
    dds.fourCc = "DXT5";
    dds.width = 8;
    dds.height = 4;
    const std::string file = dds.Bytes(std::string(32, 'x'));
    CompressedImage image;
    EXPECT_EQ(ParseDds(file, kAll, image), reinterpret_cast<const uint8_t*>(file.data()) + 128);
    EXPECT_EQ(image.width, 8u);
    EXPECT_EQ(image.height, 4u);
    EXPECT_EQ(image.format, 0x83F3u);
    EXPECT_EQ(image.channels, 4u);
    EXPECT_EQ(image.mipCount, 0u); // no mipmap count stored

    const struct
    {
        const char* fourCc;
        GLenum format;
        uint32_t channels;
    } table[] = {{"DXT1", 0x83F1, 3},
                 {"DXT3", 0x83F2, 4},
                 {"ATC ", 0x8C92, 3},
                 {"ATCA", 0x8C93, 4},
                 {"ATCI", 0x87EE, 4}};
    for (const auto& row : table)
    {
        dds.fourCc = row.fourCc;
        const std::string other = dds.Bytes(std::string(32, 'x'));
        ASSERT_NE(ParseDds(other, kAll, image), nullptr) << row.fourCc;
        EXPECT_EQ(image.format, row.format) << row.fourCc;
        EXPECT_EQ(image.channels, row.channels) << row.fourCc;
    }

    // Each family needs its own extension.
    dds.fourCc = "DXT5";
    EXPECT_EQ(ParseDds(dds.Bytes(std::string(32, 'x')), Offer(false, true, true), image), nullptr);
    EXPECT_EQ(image.data, nullptr);
    dds.fourCc = "ATCA";
    EXPECT_EQ(ParseDds(dds.Bytes(std::string(32, 'x')), Offer(true, false, true), image), nullptr);
}

TEST(ImageHeadersDds, RefusesEveryBrokenOrLyingHeader)
{
    CompressedImage image;
    const std::string data(8, 'x');
    const auto refused = [&](const TestImages::Dds& dds)
    { return ParseDds(dds.Bytes(data), kAll, image) == nullptr && !CanDecode(dds.Bytes(data)); };
    TestImages::Dds good;
    ASSERT_NE(ParseDds(good.Bytes(data), kAll, image), nullptr);
    ASSERT_TRUE(CanDecode(good.Bytes(data)));

    TestImages::Dds dds;
    dds.magic = "DDT ";
    EXPECT_TRUE(refused(dds));
    dds = good;
    dds.headerSize = 120;
    EXPECT_TRUE(refused(dds));
    dds = good;
    dds.flags = 0x1006;
    EXPECT_TRUE(refused(dds));
    dds = good;
    dds.pixelFormatSize = 24;
    EXPECT_TRUE(refused(dds));
    dds = good;
    dds.caps = 0x8;
    EXPECT_TRUE(refused(dds));
    dds = good;
    dds.caps2 = 0x200; // cube map
    EXPECT_TRUE(refused(dds));
    dds = good;
    dds.fourCc = "DXT2";
    EXPECT_EQ(ParseDds(dds.Bytes(data), kAll, image), nullptr);
    EXPECT_EQ(image.format, 0u);
    dds = good;
    dds.pixelFlags = 0x40; // plain RGB: nothing to upload compressed
    EXPECT_EQ(ParseDds(dds.Bytes(data), kAll, image), nullptr);

    // Sizes the file cannot back: the top level must be inside it.
    dds = good;
    dds.width = dds.height = 65536;
    EXPECT_TRUE(refused(dds));
    dds = good;
    dds.width = 0;
    EXPECT_TRUE(refused(dds));
    dds = good;
    dds.width = 0x80000000u;
    dds.height = 0x80000000u;
    EXPECT_TRUE(refused(dds));
    const std::string whole = good.Bytes(data);
    for (size_t cut = 0; cut < whole.size(); ++cut)
    {
        EXPECT_EQ(ParseDds(whole.substr(0, cut), kAll, image), nullptr) << cut;
        EXPECT_FALSE(CanDecode(whole.substr(0, cut))) << cut;
    }
    // Non-power-of-two blocks cannot be uploaded on ES, but can be decoded.
    dds = good;
    dds.width = 12;
    EXPECT_EQ(ParseDds(dds.Bytes(std::string(24, 'x')), kAll, image), nullptr);
    EXPECT_TRUE(CanDecode(dds.Bytes(std::string(24, 'x'))));
}

TEST(ImageHeadersDds, DecodesBlocksAndPlainPixelsInSoftware)
{
    TestImages::Dds dds;
    // Pure red (0xF800) as colour 0 of every texel.
    const std::string file = dds.Bytes(TestImages::Dxt1Block(0xF800, 0x001F));
    const uint8_t* begin = reinterpret_cast<const uint8_t*>(file.data());
    DecodedImage image;
    ASSERT_TRUE(DecodeDds(begin, begin + file.size(), image));
    EXPECT_EQ(image.width, 4);
    EXPECT_EQ(image.height, 4);
    ASSERT_GE(image.channels, 3);
    EXPECT_EQ(image.pixels[0], 255);
    EXPECT_EQ(image.pixels[1], 0);
    EXPECT_EQ(image.pixels[2], 0);
    std::free(image.pixels);

    // 24-bit BGR: the library swaps to RGB and wants exactly 3 bytes a pixel.
    dds.pixelFlags = 0x40;
    dds.fourCc = "\0\0\0\0";
    dds.bitCount = 24;
    dds.width = dds.height = 1;
    const std::string plain = dds.Bytes(std::string("\x01\x02\x03", 3));
    begin = reinterpret_cast<const uint8_t*>(plain.data());
    ASSERT_TRUE(DecodeDds(begin, begin + plain.size(), image));
    EXPECT_EQ(image.channels, 3);
    EXPECT_EQ(image.pixels[0], 3);
    EXPECT_EQ(image.pixels[2], 1);
    std::free(image.pixels);
    dds.bitCount = 32; // the library would read 3 bytes a pixel regardless
    EXPECT_FALSE(CanDecode(dds.Bytes(std::string(4, 'x'))));
}

TEST(ImageHeadersPvr, AcceptsPvrtcAndRefusesLies)
{
    TestImages::Pvr pvr;
    const std::string data(32, 'x');
    CompressedImage image;
    std::string file = pvr.Bytes(data);
    EXPECT_EQ(ParsePvr(file, kAll, image), reinterpret_cast<const uint8_t*>(file.data()) + 52);
    EXPECT_EQ(image.format, 0x8C00u);
    EXPECT_EQ(image.channels, 3u);
    EXPECT_EQ(image.mipCount, 1u); // a stored count of 0 is one level
    EXPECT_EQ(image.width, 8u);

    pvr.pixelType = 0x18;
    pvr.bitCount = 2;
    pvr.alphaMask = 0xFF;
    pvr.width = 16;
    pvr.mipCount = 3;
    file = pvr.Bytes(data);
    ASSERT_NE(ParsePvr(file, kAll, image), nullptr);
    EXPECT_EQ(image.format, 0x8C03u);
    EXPECT_EQ(image.channels, 4u);
    EXPECT_EQ(image.mipCount, 4u);
    EXPECT_EQ(ParsePvr(file, Offer(true, true, false), image), nullptr);

    TestImages::Pvr bad;
    bad.pixelType = 0x18; // 2 bpp whose bit count says 4
    EXPECT_EQ(ParsePvr(bad.Bytes(data), kAll, image), nullptr);
    bad = TestImages::Pvr();
    bad.pixelType = 0x10;
    EXPECT_EQ(ParsePvr(bad.Bytes(data), kAll, image), nullptr);
    bad = TestImages::Pvr();
    bad.magic = "PVR?";
    EXPECT_EQ(ParsePvr(bad.Bytes(data), kAll, image), nullptr);
    bad = TestImages::Pvr();
    std::string lying = bad.Bytes(data);
    lying[0] = char(200); // data would start past the end
    EXPECT_EQ(ParsePvr(lying, kAll, image), nullptr);
    lying[0] = 4; // data would start inside the header
    EXPECT_EQ(ParsePvr(lying, kAll, image), nullptr);
    bad.width = bad.height = 4096; // the file holds far less than the top level
    EXPECT_EQ(ParsePvr(bad.Bytes(data), kAll, image), nullptr);
    const std::string whole = TestImages::Pvr().Bytes(data);
    for (size_t cut = 0; cut < whole.size(); ++cut)
        EXPECT_EQ(ParsePvr(whole.substr(0, cut), kAll, image), nullptr) << cut;
    EXPECT_EQ(DecodePvr(reinterpret_cast<const uint8_t*>(whole.data()),
                        reinterpret_cast<const uint8_t*>(whole.data()) + whole.size()),
              nullptr);
}

TEST(ImageHeadersMaths, CeilLog2ReverseBitsAndLevelSizes)
{
    EXPECT_EQ(CeilLog2(0), 1u);
    EXPECT_EQ(CeilLog2(1), 1u);
    EXPECT_EQ(CeilLog2(2), 1u);
    EXPECT_EQ(CeilLog2(3), 2u);
    EXPECT_EQ(CeilLog2(4), 2u);
    EXPECT_EQ(CeilLog2(5), 3u);
    EXPECT_EQ(CeilLog2(8), 3u);
    EXPECT_EQ(CeilLog2(1025), 11u);
    EXPECT_EQ(CeilLog2(0x80000001u), 32u);
    EXPECT_EQ(CeilLog2(0xFFFFFFFFu), 32u);

    EXPECT_EQ(ReverseBits(1), 0x80000000u);
    EXPECT_EQ(ReverseBits(0x80000000u), 1u);
    EXPECT_EQ(ReverseBits(0x0000FFFFu), 0xFFFF0000u);
    EXPECT_EQ(ReverseBits(0x12345678u), 0x1E6A2C48u);

    EXPECT_EQ(CompressedLevelBytes(0x83F1, 1, 1), 8u);
    EXPECT_EQ(CompressedLevelBytes(0x83F1, 8, 4), 16u);
    EXPECT_EQ(CompressedLevelBytes(0x83F3, 5, 5), 64u);
    EXPECT_EQ(CompressedLevelBytes(0x8C00, 2, 2), 32u);
    EXPECT_EQ(CompressedLevelBytes(0x8C01, 2, 2), 32u);
    EXPECT_EQ(CompressedLevelBytes(0x8C01, 32, 32), 256u);
    EXPECT_EQ(CompressedLevelBytes(0x8C92, 4, 4), 8u);
    EXPECT_EQ(CompressedLevelBytes(GL_RGBA, 4, 4), 0u);
    // No wrap for the largest sizes a header can claim.
    EXPECT_EQ(CompressedLevelBytes(0x83F3, 0xFFFFFFFFu, 0xFFFFFFFFu), UINT64_MAX);
    EXPECT_EQ(CompressedLevelBytes(0x8C00, 0xFFFFFFFFu, 2), UINT64_MAX);
    EXPECT_EQ(CompressedLevelBytes(0x83F1, 1u << 24, 1u << 24), (1ull << 44) * 8);
}
