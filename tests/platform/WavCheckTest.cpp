#include "platform/WavCheck.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace
{
void PutU32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out += char((v >> (8 * i)) & 0xFF);
}

void PutU16(std::string& out, uint32_t v)
{
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}

// A WAV file as the sound tool writes it, with every field open to damage.
struct Wav
{
    uint32_t riffExtra = 0, formatLength = 16, format = 1, channels = 1, rate = 22050, bits = 16;
    uint32_t dataLength = 8, dataLengthLie = 0;
    std::string Bytes() const
    {
        const uint32_t align = channels * bits / 8;
        std::string out = "RIFF";
        PutU32(out, 4 + 8 + formatLength + 8 + dataLength + riffExtra);
        out += "WAVEfmt ";
        PutU32(out, formatLength);
        PutU16(out, format);
        PutU16(out, channels);
        PutU32(out, rate);
        PutU32(out, rate * align);
        PutU16(out, align);
        PutU16(out, bits);
        out.append(formatLength - 16, '\0');
        out += "data";
        PutU32(out, dataLength + dataLengthLie);
        out.append(dataLength, '\x11');
        return out;
    }
};
} // namespace

TEST(WavCheckTest, OnlyWholePcmFilesTheMixerPlaysPass)
{
    Wav good;
    EXPECT_EQ(CheckWav(good.Bytes()), "");
    Wav stereo8;
    stereo8.channels = 2;
    stereo8.bits = 8;
    EXPECT_EQ(CheckWav(stereo8.Bytes()), "");
    EXPECT_EQ(CheckWav(good.Bytes() + "trailing bytes outside the RIFF"), "");

    struct Case
    {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"not RIFF", "RIFX" + good.Bytes().substr(4)},
        {"cut in the header", good.Bytes().substr(0, 10)},
        {"cut in the data", good.Bytes().substr(0, good.Bytes().size() - 3)},
        {"RIFF length lies",
         []
         {
             Wav w;
             w.riffExtra = 1000;
             return w.Bytes();
         }()},
        {"data length lies",
         []
         {
             Wav w;
             w.dataLengthLie = 0x7FFFFFF0;
             return w.Bytes();
         }()},
        {"format length lies",
         []
         {
             std::string b = Wav().Bytes();
             b[16] = '\x7F';
             return b;
         }()},
        {"format too short",
         []
         {
             std::string b = Wav().Bytes();
             b[16] = 8;
             return b;
         }()},
        {"ADPCM",
         []
         {
             Wav w;
             w.format = 2;
             return w.Bytes();
         }()},
        {"six channels",
         []
         {
             Wav w;
             w.channels = 6;
             return w.Bytes();
         }()},
        {"24 bits",
         []
         {
             Wav w;
             w.bits = 24;
             return w.Bytes();
         }()},
        {"rate 0",
         []
         {
             Wav w;
             w.rate = 0;
             return w.Bytes();
         }()},
        {"no data chunk",
         []
         {
             std::string b = Wav().Bytes();
             return b.replace(36, 4, "junk");
         }()},
    };
    for (const Case& c : cases)
        EXPECT_NE(CheckWav(c.bytes), "") << c.what;
    EXPECT_NE(CheckWavFile("/nonexistent/sound.wav"), "");
    EXPECT_NE(CheckWavFile("/"), "");
}
