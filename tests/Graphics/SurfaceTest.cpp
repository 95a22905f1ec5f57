#include "Graphics/CSurface.h"
#include "Graphics/ImageDecoding.h"
#include "support/AppFolder.h"
#include "support/TestImages.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace
{

COpenGL::Compression Offer(bool s3tc, bool pvrtc)
{
    COpenGL::Compression offered;
    offered.s3tc = offered.dds = s3tc;
    offered.pvrtc = offered.pvrFiles = pvrtc;
    return offered;
}

// A 3 x 2 RGBA image: red, green, blue / white, black, half-transparent grey.
std::vector<uint8_t> Pixels()
{
    return {255, 0,   0,   255, 0, 255, 0, 255, 0,   0,   255, 255,
            255, 255, 255, 255, 0, 0,   0, 255, 128, 128, 128, 128};
}

class SurfaceTest : public ::testing::Test
{
  protected:
    SurfaceTest() { ::mkdir(m_app.PathOf("data/textures").c_str(), 0700); }

    void Write(const std::string& name, const std::string& bytes)
    {
        m_app.WriteData("textures/" + name, bytes);
    }

    CRef<CSurface> Load(const char* name, uint32_t mode = CSurface::kDecode,
                        const COpenGL::Compression& offered = COpenGL::Compression())
    {
        return CSurface::Create(name, mode, offered);
    }

    AppFolder m_app;
};

bool DecodesPng(const std::string& file)
{
    const uint8_t* begin = reinterpret_cast<const uint8_t*>(file.data());
    DecodedImage image;
    const bool decoded = ImageDecoding::DecodePng(begin, begin + file.size(), image);
    std::free(image.pixels);
    return decoded;
}

bool DecodesJpeg(const std::string& file)
{
    const uint8_t* begin = reinterpret_cast<const uint8_t*>(file.data());
    DecodedImage image;
    const bool decoded = ImageDecoding::DecodeJpeg(begin, begin + file.size(), image);
    std::free(image.pixels);
    return decoded;
}

void PutBigU32(std::string& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + size_t(i)] = char(value >> (24 - 8 * i));
}

} // namespace

TEST_F(SurfaceTest, DecodesPngAndJpegWithStoredChannels)
{
    Write("pic.png", TestImages::Png(3, 2, 4, Pixels()));
    CRef<CSurface> surface = Load("pic");
    ASSERT_NE(surface->GetPixels(), nullptr);
    EXPECT_EQ(surface->GetWidth(), 3);
    EXPECT_EQ(surface->GetHeight(), 2);
    EXPECT_EQ(surface->GetChannels(), 4);
    EXPECT_EQ(surface->GetFormat(), GLenum(GL_RGBA));
    EXPECT_EQ(surface->GetFileSize(), 0u); // the file is dropped once decoded
    const Vector4<float> green = surface->GetPixel(1, 0);
    EXPECT_FLOAT_EQ(green.y, 1.0f);
    EXPECT_FLOAT_EQ(green.x, 0.0f);
    EXPECT_NEAR(surface->GetPixel(2, 1).w, 128.0f / 255.0f, 1e-6);
    EXPECT_EQ(surface->GetPixel(3, 0).w, 0.0f); // outside: the zero colour
    EXPECT_EQ(surface->GetPixel(0, -1).w, 0.0f);

    Write("grey.png", TestImages::Png(2, 1, 1, {10, 200}));
    surface = Load("grey");
    EXPECT_EQ(surface->GetChannels(), 1);
    EXPECT_EQ(surface->GetFormat(), GLenum(GL_LUMINANCE));
    EXPECT_NEAR(surface->GetPixel(1, 0).z, 200.0f / 255.0f, 1e-6);
    EXPECT_EQ(surface->GetPixel(1, 0).w, 1.0f);

    Write("photo.jpg", TestImages::Jpeg());
    surface = Load("photo");
    EXPECT_EQ(surface->GetWidth(), 16);
    EXPECT_EQ(surface->GetHeight(), 8);
    EXPECT_EQ(surface->GetChannels(), 3);
    EXPECT_NEAR(surface->GetPixel(5, 5).x, 200.0f / 255.0f, 4.0f / 255.0f);
    EXPECT_NEAR(surface->GetPixel(5, 5).z, 30.0f / 255.0f, 4.0f / 255.0f);
    EXPECT_EQ(CSurface::FormatOfChannels(2), GLenum(GL_LUMINANCE_ALPHA));
}

TEST_F(SurfaceTest, TriesFormatsInOrderAndHonoursNamedExtensions)
{
    // A DDS beats a PNG of the same name; decoded when compressed upload is not possible.
    Write("both.png", TestImages::Png(3, 2, 4, Pixels()));
    Write("both.dds", TestImages::Dds().Bytes(TestImages::Dxt1Block(0xF800, 0)));
    CRef<CSurface> surface = Load("both", CSurface::kKeepCompressed);
    EXPECT_EQ(surface->GetWidth(), 4);
    EXPECT_EQ(surface->GetMode(), uint32_t(CSurface::kDecode));
    EXPECT_FALSE(surface->HoldsCompressed());
    EXPECT_FLOAT_EQ(surface->GetPixel(0, 0).x, 1.0f);

    // Kept compressed where the graphics unit takes the blocks.
    surface = Load("both", CSurface::kKeepCompressed, Offer(true, false));
    EXPECT_TRUE(surface->HoldsCompressed());
    EXPECT_EQ(surface->GetCompressedFormat(), GLenum(0x83F1));
    EXPECT_EQ(surface->GetMode(), uint32_t(CSurface::kKeepCompressed));

    // A PVR is looked at only where PVRTC is offered, and never decoded.
    Write("tex.pvr", TestImages::Pvr().Bytes(std::string(32, 'x')));
    Write("tex.png", TestImages::Png(3, 2, 4, Pixels()));
    EXPECT_EQ(Load("tex", CSurface::kKeepCompressed)->GetWidth(), 3);
    surface = Load("tex", CSurface::kKeepCompressed, Offer(false, true));
    EXPECT_TRUE(surface->HoldsCompressed());
    EXPECT_EQ(surface->GetCompressedFormat(), GLenum(0x8C00));
    surface = Load("tex", CSurface::kDecode, Offer(false, true));
    EXPECT_EQ(surface->GetWidth(), 3);

    // A name with its own extension is read only in that step, under that very name.
    Write("named.jpg", TestImages::Jpeg());
    Write("named.jpg.png", TestImages::Png(3, 2, 4, Pixels()));
    EXPECT_EQ(Load("named.jpg")->GetWidth(), 16);
    Write("wrong.jpg", TestImages::Png(3, 2, 4, Pixels())); // PNG bytes under a jpg name
    EXPECT_EQ(Load("wrong.jpg")->GetPixels(), nullptr);
    Write("upper.PNG", TestImages::Png(3, 2, 4, Pixels()));
    EXPECT_EQ(Load("upper.PNG")->GetPixels(), nullptr); // extensions compare case-sensitively
    EXPECT_FALSE(Load("upper.PNG")->ReadFile("upper.PNG", "png"));

    // An empty file counts as missing; short names are safe.
    Write("empty.dds", "");
    Write("empty.png", TestImages::Png(3, 2, 4, Pixels()));
    EXPECT_EQ(Load("empty", CSurface::kKeepCompressed, Offer(true, true))->GetWidth(), 3);
    EXPECT_EQ(Load("")->GetPixels(), nullptr);
    EXPECT_EQ(Load("a.")->GetPixels(), nullptr);
    EXPECT_EQ(Load("nothing")->GetPixels(), nullptr);
}

TEST_F(SurfaceTest, BadFilesFailCleanly)
{
    const std::string png = TestImages::Png(3, 2, 4, Pixels());
    const std::string jpeg = TestImages::Jpeg();
    ASSERT_TRUE(DecodesPng(png));
    ASSERT_TRUE(DecodesJpeg(jpeg));
    for (size_t cut = 0; cut < png.size(); ++cut)
        EXPECT_FALSE(DecodesPng(png.substr(0, cut))) << cut;
    for (size_t cut = 0; cut < jpeg.size(); ++cut)
        DecodesJpeg(jpeg.substr(0, cut)); // may decode a grey rest; must not crash
    // Every byte flipped in turn: whatever decodes, nothing reads out of bounds.
    for (size_t at = 0; at < png.size(); ++at)
    {
        std::string broken = png;
        broken[at] = char(broken[at] ^ 0x5A);
        DecodesPng(broken);
    }
    for (size_t at = 0; at < jpeg.size(); ++at)
    {
        std::string broken = jpeg;
        broken[at] = char(broken[at] ^ 0xA5);
        DecodesJpeg(broken);
    }

    // IHDR dimensions that lie (huge, or far more than the data could inflate to).
    std::string lying = png;
    PutBigU32(lying, 16, 100000);
    EXPECT_FALSE(DecodesPng(lying));
    lying = png;
    PutBigU32(lying, 16, 8000);
    PutBigU32(lying, 20, 8000);
    EXPECT_FALSE(DecodesPng(lying));
    // A chunk length running past the end of the file.
    lying = png;
    PutBigU32(lying, 33, 0x7FFFFFF0);
    EXPECT_FALSE(DecodesPng(lying));
    EXPECT_FALSE(DecodesPng("not an image at all"));
    EXPECT_FALSE(DecodesJpeg("not an image at all"));
    EXPECT_FALSE(DecodesPng(jpeg));

    // Through the surface: a DDS lying about its size falls through to the next format.
    TestImages::Dds dds;
    dds.width = dds.height = 8192;
    Write("liar.dds", dds.Bytes(TestImages::Dxt1Block(1, 2)));
    Write("liar.png", png);
    EXPECT_EQ(Load("liar", CSurface::kKeepCompressed, Offer(true, true))->GetWidth(), 3);
    Write("junk.png", std::string(1000, '\x89'));
    EXPECT_EQ(Load("junk")->GetPixels(), nullptr);
}
