#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "platform/CAudio.h"
#include "support/TempFolder.h"
#include "tools/CSoundSynth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>

namespace
{
uint32_t U32At(const std::string& bytes, size_t at)
{
    uint32_t value = 0;
    for (int n = 3; n >= 0; --n)
        value = (value << 8) | uint8_t(bytes[at + size_t(n)]);
    return value;
}

TEST(SoundSynth, EverySoundIsAudibleDeterministicAndClickFree)
{
    for (const std::string& name : CSoundSynth::Names())
    {
        const std::vector<int16_t> samples = CSoundSynth::Render(name);
        ASSERT_FALSE(samples.empty()) << name;
        EXPECT_EQ(samples, CSoundSynth::Render(name)) << name;
        int32_t peak = 0;
        for (int16_t sample : samples)
            peak = std::max(peak, std::abs(int32_t(sample)));
        EXPECT_GT(peak, 16000) << name; // about -3 dB, less the edge ramps of the shortest
        EXPECT_LE(peak, 22938) << name;
        const double seconds = double(samples.size()) / CSoundSynth::kRate;
        if (CSoundSynth::IsTrack(name))
        {
            EXPECT_GE(seconds, 3.0) << name;
            EXPECT_LE(seconds, 10.0) << name;
            // Looping: the end runs into the start without a jump.
            EXPECT_LT(std::abs(samples.back() - samples.front()), 3000) << name;
        }
        else
        {
            EXPECT_LE(seconds, 1.0) << name;
            EXPECT_EQ(0, samples.front()) << name;
            EXPECT_EQ(0, samples.back()) << name;
        }
    }
    EXPECT_TRUE(CSoundSynth::Render("no-such-sound").empty());
}

TEST(SoundSynth, WritesPcmWaveFiles)
{
    const std::vector<int16_t> samples = {0, 1, -1, 32767, -32768};
    const std::string wav = CSoundSynth::EncodeWav(samples, 22050);
    ASSERT_EQ(44u + 10u, wav.size());
    EXPECT_EQ("RIFF", wav.substr(0, 4));
    EXPECT_EQ(wav.size() - 8, U32At(wav, 4));
    EXPECT_EQ("WAVEfmt ", wav.substr(8, 8));
    EXPECT_EQ(1u, U32At(wav, 20) & 0xFFFF);    // PCM
    EXPECT_EQ(1u, U32At(wav, 20) >> 16);       // mono
    EXPECT_EQ(22050u, U32At(wav, 24));         // rate
    EXPECT_EQ(44100u, U32At(wav, 28));         // bytes per second
    EXPECT_EQ(16u << 16 | 2u, U32At(wav, 32)); // frame of 2 bytes, 16 bits
    EXPECT_EQ("data", wav.substr(36, 4));
    EXPECT_EQ(10u, U32At(wav, 40));
    EXPECT_EQ('\xFF', wav[48]);
    EXPECT_EQ('\x80', wav[53]);

    TempFolder folder;
    const std::string path = folder.PathOf("a.wav");
    ASSERT_TRUE(CSoundSynth::WriteFile(path, wav));
    EXPECT_EQ(wav, TempFolder::ReadFile(path));
    EXPECT_FALSE(CSoundSynth::WriteFile(folder.PathOf("missing/a.wav"), wav));
}

// Every file the shipped audio document names is made by the synthesiser, and the build
// declares every file the synthesiser makes.
TEST(SoundSynth, MakesEverySoundTheGameNames)
{
    const std::vector<std::string> names = CSoundSynth::Names();
    const std::set<std::string> made(names.begin(), names.end());

    CXmlDocument document;
    ASSERT_TRUE(document.Parse(TempFolder::ReadFile(FROG_SOURCE_DIR "/data/sounds/audio.xml"), false));
    CXmlNode* root = document.GetRoot();
    const CAudio::Settings settings = CAudio::ReadSettings(root);
    EXPECT_EQ(CSoundSynth::kRate, settings.frequency);
    int sounds = 0;
    for (CXmlNode* sound = root->FindChild("sounds")->FirstChild(); sound;
         sound = sound->NextSibling(), ++sounds)
    {
        ASSERT_TRUE(sound->FindChild("variant")) << sound->GetName();
        for (CXmlNode* variant = sound->FindChild("variant"); variant;
             variant = variant->NextSiblingNamed("variant"))
            EXPECT_TRUE(made.count(variant->GetAttribute("sample"))) << sound->GetName();
    }
    for (CXmlNode* music = root->FindChild("musics")->FirstChild(); music; music = music->NextSibling())
    {
        EXPECT_TRUE(made.count(music->GetAttribute("track"))) << music->GetName();
        EXPECT_TRUE(CSoundSynth::IsTrack(music->GetAttribute("track"))) << music->GetName();
    }
    EXPECT_GE(sounds, 10);

    // The build's list in tools/CMakeLists.txt, between "set(FROG_SOUND_NAMES" and ")".
    const std::string cmake = TempFolder::ReadFile(FROG_SOURCE_DIR "/tools/CMakeLists.txt");
    const size_t start = cmake.find("set(FROG_SOUND_NAMES");
    ASSERT_NE(std::string::npos, start);
    std::istringstream listed(cmake.substr(start + 20, cmake.find(')', start) - start - 20));
    std::set<std::string> declared;
    for (std::string name; listed >> name;)
        declared.insert(name);
    EXPECT_EQ(made, declared);
}
} // namespace
