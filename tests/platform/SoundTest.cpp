#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/Random.h"
#include "platform/CMusic.h"
#include "platform/CSound.h"
#include "support/FakeAudioDevice.h"
#include "support/FakeClock.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
class SoundTest : public ::testing::Test
{
  protected:
    SoundTest()
    {
        GlobalRandom().Seed(11);
        m_mixer.open = true;
    }

    CRef<CSound> MakeSound(const char* xml)
    {
        CXmlDocument document;
        EXPECT_TRUE(document.Parse(xml, false));
        return CSound::Create(*document.GetRoot(), m_device, "/data/sounds/");
    }
    int Count(const std::string& sample) const
    {
        return int(std::count(m_mixer.played.begin(), m_mixer.played.end(), sample));
    }

    FakeClock m_clock;
    FakeMixer m_mixer;
    FakeAudioDevice m_device{m_mixer};
};

TEST_F(SoundTest, ReadsChokeVariantsAndPreload)
{
    CRef<CSound> plain = MakeSound("<a><variant sample=\"one\"/><other sample=\"no\"/></a>");
    EXPECT_EQ(0, plain->GetChokeMin());
    EXPECT_EQ(0, plain->GetChokeMax());
    ASSERT_EQ(1u, plain->GetVariants().size());
    EXPECT_EQ(1.0f, plain->GetVariants()[0].weight);
    EXPECT_TRUE(plain->IsLoaded()); // preloads by default
    EXPECT_EQ(128, m_mixer.sampleVolumes.begin()->second);

    CRef<CSound> choked =
        MakeSound("<a choke=\"0.2\"><variant sample=\"x\" weight=\"2.5\" level=\"0.5\"/></a>");
    EXPECT_EQ(200, choked->GetChokeMin());
    EXPECT_EQ(200, choked->GetChokeMax());
    EXPECT_EQ(2.5f, choked->GetVariants()[0].weight);
    EXPECT_EQ(64, m_mixer.sampleVolumes.rbegin()->second);

    CRef<CSound> ranged = MakeSound("<a choke=\"0.25,0.6\"/>");
    EXPECT_EQ(250, ranged->GetChokeMin());
    EXPECT_EQ(600, ranged->GetChokeMax());
    EXPECT_EQ(0, MakeSound("<a choke=\"nan\"/>")->GetChokeMin());

    for (const char* lazy : {"false", "0", "no"})
    {
        const std::string xml = std::string("<a preload=\"") + lazy + "\"><variant sample=\"lazy\"/></a>";
        EXPECT_FALSE(MakeSound(xml.c_str())->IsLoaded()) << lazy;
    }
    EXPECT_TRUE(MakeSound("<a preload=\"TRUE\"><variant sample=\"b\"/></a>")->IsLoaded());
    EXPECT_TRUE(MakeSound("<a preload=\"2\"><variant sample=\"b\"/></a>")->IsLoaded());

    // A lazy sound loads on its first play; its samples are freed with it.
    m_mixer.loads.clear();
    CRef<CSound> lazy = MakeSound("<a preload=\"false\"><variant sample=\"lazy\"/></a>");
    EXPECT_TRUE(m_mixer.loads.empty());
    EXPECT_EQ(0, lazy->Play());
    EXPECT_EQ(std::vector<std::string>{"lazy"}, m_mixer.loads);
    const size_t live = m_mixer.samples.size();
    lazy.Reset();
    EXPECT_EQ(live - 1, m_mixer.samples.size());
}

TEST_F(SoundTest, ChokeDropsRequestsThatComeTooSoon)
{
    CRef<CSound> sound = MakeSound("<a choke=\"0.2\"><variant sample=\"s\"/></a>");
    m_clock.Set(1000);
    EXPECT_EQ(0, sound->Play());
    m_clock.Set(1150);
    EXPECT_EQ(-1, sound->Play()); // dropped, not delayed
    m_clock.Set(1200);
    EXPECT_EQ(0, sound->Play());
    EXPECT_EQ(2, Count("s"));

    // A range: never before its minimum, always by its maximum.
    CRef<CSound> ranged = MakeSound("<a choke=\"0.1,0.3\"><variant sample=\"r\"/></a>");
    uint32_t now = 5000;
    for (int n = 0; n < 50; ++n)
    {
        m_clock.Set(now);
        ASSERT_EQ(0, ranged->Play());
        m_clock.Set(now + 99);
        EXPECT_EQ(-1, ranged->Play());
        now += 300;
    }

    // The first play is never held back, even where the tick reads as "before" 0.
    CRef<CSound> late = MakeSound("<a choke=\"1\"><variant sample=\"l\"/></a>");
    m_clock.Set(0x90000000u);
    EXPECT_EQ(0, late->Play());
}

TEST_F(SoundTest, VariantsArePickedByWeight)
{
    CRef<CSound> sound =
        MakeSound("<a><variant sample=\"one\"/><variant sample=\"three\" weight=\"3\"/></a>");
    for (int n = 0; n < 4000; ++n)
        sound->Play();
    EXPECT_NEAR(0.25, Count("one") / 4000.0, 0.03);
    EXPECT_EQ(4000, Count("one") + Count("three"));

    m_mixer.played.clear();
    CRef<CSound> zeroFirst =
        MakeSound("<a><variant sample=\"zero\" weight=\"0\"/><variant sample=\"two\" weight=\"2\"/></a>");
    for (int n = 0; n < 200; ++n)
        zeroFirst->Play();
    EXPECT_EQ(0, Count("zero"));

    // A sample that fails to load is dropped; with none left the sound is silent.
    m_mixer.missing = {"gone", "gone2"};
    CRef<CSound> partial = MakeSound("<a><variant sample=\"gone\"/><variant sample=\"kept\"/></a>");
    ASSERT_EQ(1u, partial->GetVariants().size());
    EXPECT_EQ("kept", partial->GetVariants()[0].sample);
    CRef<CSound> silent = MakeSound("<a><variant sample=\"gone\"/><variant sample=\"gone2\"/></a>");
    EXPECT_TRUE(silent->GetVariants().empty());
    EXPECT_EQ(-1, silent->Play());
}

TEST_F(SoundTest, MusicLoadsOnceAndOnlyTheHookEndsPlaying)
{
    CXmlDocument document;
    ASSERT_TRUE(document.Parse("<m track=\"tune\"/>", false));
    m_mixer.missing = {"tune"};
    CRef<CMusic> music = CMusic::Create(*document.GetRoot(), m_device, "/data/sounds/");
    EXPECT_EQ("tune", music->GetTrack());
    EXPECT_FALSE(music->IsLoaded()); // not before the first play

    music->Play(0);
    EXPECT_FALSE(music->IsPlaying());
    m_mixer.missing.clear();
    music->Play(500); // retried
    EXPECT_TRUE(music->IsPlaying());
    music->Play(0);
    EXPECT_EQ((std::vector<std::string>{"tune", "tune"}), m_mixer.loads);
    EXPECT_EQ((std::vector<std::string>{"play tune 500", "play tune 0"}), m_mixer.calls);

    music->FadeOut(300);
    EXPECT_TRUE(music->IsPlaying());
    music->OnFinished();
    EXPECT_FALSE(music->IsPlaying());
    music.Reset();
    EXPECT_TRUE(m_mixer.tracks.empty());
}
} // namespace
