#include "core/CPreferences.h"
#include "core/CScheduler.h"
#include "core/Random.h"
#include "platform/CAudio.h"
#include "support/AppFolder.h"
#include "support/FakeAudioDevice.h"
#include "support/FakeClock.h"
#include "support/FakePlatform.h"
#include "support/TestScopes.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace
{
const char* const kDocument = R"(<audio>
  <properties frequency="44100" channels="1" chunksize="512" mixes="4"/>
  <sounds>
    <stick><variant sample="plop1"/></stick>
    <petal-waft preload="false"><variant sample="waft"/></petal-waft>
  </sounds>
  <musics>
    <menu track="music-menu"/>
    <pond track="music-pond"/>
  </musics>
</audio>
)";

std::vector<std::string> s_muteNodes;

void RecordMuteNode(const char* id, bool active)
{
    s_muteNodes.push_back(std::string(id) + (active ? "+" : "-"));
}

class AudioTest : public ::testing::Test
{
  protected:
    AudioTest() : m_previousHook(CAudio::SetMuteNodesHook(&RecordMuteNode))
    {
        GlobalRandom().Seed(5);
        s_muteNodes.clear();
    }
    ~AudioTest() override { CAudio::SetMuteNodesHook(m_previousHook); }

    CAudio* Start(const char* document = kDocument)
    {
        mkdir(m_folder.PathOf("data/sounds").c_str(), 0755);
        if (document)
            m_folder.WriteData("sounds/audio.xml", document);
        return CAudio::Instance();
    }
    FakeMixer& Mixer() { return m_audio.mixer(); }
    std::vector<std::string> TakeCalls() { return std::exchange(Mixer().calls, {}); }

    FakeClock m_clock;
    TestScopes m_scopes;
    AppFolder m_folder;
    FakeAudio m_audio;
    CAudio::SetActiveByIdHook m_previousHook;
};

TEST_F(AudioTest, ReadsTheDocumentAndOpensTheDevice)
{
    CAudio* audio = Start();
    EXPECT_TRUE(audio->IsSoundEnabled());
    EXPECT_TRUE(audio->IsMusicEnabled());
    EXPECT_EQ(44100, Mixer().frequency);
    EXPECT_EQ(1, Mixer().channels);
    EXPECT_EQ(512, Mixer().chunkSize);
    EXPECT_EQ(4, audio->GetMixingChannels());
    EXPECT_NE(nullptr, Mixer().hook);
    EXPECT_TRUE(m_scopes.Global()->IsScheduled(audio));

    ASSERT_NE(nullptr, audio->FindSound("stick"));
    EXPECT_TRUE(audio->FindSound("stick")->IsLoaded());
    EXPECT_FALSE(audio->FindSound("petal-waft")->IsLoaded());
    EXPECT_EQ("music-pond", audio->FindMusic("pond")->GetTrack());
    EXPECT_FALSE(audio->FindMusic("pond")->IsLoaded());
    EXPECT_EQ((std::vector<std::string>{"muteon-", "muteoff+"}), s_muteNodes);
    EXPECT_EQ("false", CPreferences::Instance()->GetString("disableaudio"));

    audio->LoadSound("petal-waft");
    EXPECT_TRUE(audio->FindSound("petal-waft")->IsLoaded());

    // Defaults for what a document leaves out, and for no document at all.
    CXmlDocument partial;
    ASSERT_TRUE(partial.Parse("<x><properties frequency=\"\" mixes=\"16\"/></x>", false));
    const CAudio::Settings settings = CAudio::ReadSettings(partial.GetRoot());
    EXPECT_EQ(22050, settings.frequency);
    EXPECT_EQ(2, settings.channels);
    EXPECT_EQ(4096, settings.chunkSize);
    EXPECT_EQ(16, settings.mixes);
    // What the mixer cannot open falls back to the default; a mix count beyond its bound clamps.
    const char* const unsupported[] = {
        R"(<x><properties frequency="2000000000" channels="7" chunksize="1000" mixes="100000"/></x>)",
        R"(<x><properties frequency="-1" channels="0" chunksize="65536" mixes="-4"/></x>)",
        R"(<x><properties frequency="abc" channels="-2" chunksize="0" mixes="64"/></x>)",
    };
    for (const char* text : unsupported)
    {
        ASSERT_TRUE(partial.Parse(text, false));
        const CAudio::Settings checked = CAudio::ReadSettings(partial.GetRoot());
        EXPECT_EQ(22050, checked.frequency) << text;
        EXPECT_EQ(2, checked.channels) << text;
        EXPECT_EQ(4096, checked.chunkSize) << text;
        EXPECT_TRUE(checked.mixes == 0 || checked.mixes == CAudio::Settings::kMaxMixes) << text;
    }
    CSingleton<CAudio>::Toggle(false);
    std::remove(m_folder.PathOf("data/sounds/audio.xml").c_str());
    audio = CAudio::Instance();
    EXPECT_TRUE(audio->IsSoundEnabled());
    EXPECT_EQ(22050, Mixer().frequency);
    EXPECT_EQ(8, audio->GetMixingChannels());
}

TEST_F(AudioTest, DisabledOrMissingAudioIsSilentEverywhere)
{
    CPreferences::Instance()->SetString("disableaudio", "TRUE");
    CAudio* audio = Start();
    EXPECT_EQ(0, Mixer().opens); // the device is not even asked
    EXPECT_EQ((std::vector<std::string>{"muteon-", "muteoff-"}), s_muteNodes);
    audio->PlaySound("stick");
    audio->PlayMusic("menu");
    audio->Tick();
    EXPECT_TRUE(Mixer().loads.empty());
    EXPECT_TRUE(Mixer().calls.empty());
    CSingleton<CAudio>::Toggle(false);

    // No device: the same silence, and nothing is left open.
    CPreferences::Instance()->SetString("disableaudio", "0");
    Mixer().failOpen = true;
    s_muteNodes.clear();
    audio = CAudio::Instance();
    EXPECT_EQ(1, Mixer().opens);
    EXPECT_FALSE(audio->IsSoundEnabled());
    EXPECT_EQ((std::vector<std::string>{"muteon-", "muteoff-"}), s_muteNodes);
    audio->PlaySound("stick");
    audio->PlayMusic("menu");
    audio->Tick();
    EXPECT_TRUE(Mixer().played.empty());
    EXPECT_TRUE(Mixer().calls.empty());

    // Closed (before the platform shuts SDL down): everything freed first, then every call idle.
    CSingleton<CAudio>::Toggle(false);
    Mixer().failOpen = false;
    audio = CAudio::Instance();
    audio->PlayMusic("menu");
    audio->Tick();
    ASSERT_EQ("music-menu", Mixer().music);
    audio->Close();
    EXPECT_FALSE(Mixer().open);
    EXPECT_EQ(0u, Mixer().LiveObjects());
    EXPECT_EQ(nullptr, audio->GetCurrentMusic());
    audio->PlaySound("stick");
    audio->PlayMusic("pond");
    audio->Tick();
    EXPECT_TRUE(Mixer().played.empty());
}

TEST_F(AudioTest, SoundsPlayByNameAtTheSoundVolume)
{
    CAudio* audio = Start();
    audio->PlaySound("stick");
    EXPECT_EQ(std::vector<std::string>{"plop1"}, Mixer().played);
    audio->PlaySound("nothing");
    EXPECT_TRUE(audio->HasSoundEntry("nothing")); // remembered as silent
    EXPECT_EQ(nullptr, audio->FindSound("nothing"));

    CPreferences::Instance()->SetFloat("soundvolume", 0.5f);
    audio->Tick();
    EXPECT_EQ(64, Mixer().channelsVolume);
    CPreferences::Instance()->SetFloat("soundvolume", 0.0f);
    audio->Tick();
    EXPECT_EQ(0, Mixer().channelsVolume);
    audio->PlaySound("stick");
    audio->PlaySound("petal-waft");
    EXPECT_EQ(1u, Mixer().played.size());
    EXPECT_FALSE(audio->FindSound("petal-waft")->IsLoaded()); // not even loaded
}

TEST_F(AudioTest, MusicWaitsForTheFadeOutBeforeTheNextTrackStarts)
{
    CAudio* audio = Start();
    audio->PlayMusic("menu");
    EXPECT_TRUE(TakeCalls().empty()); // only at the tick
    audio->Tick();
    EXPECT_EQ(std::vector<std::string>{"play music-menu 0"}, TakeCalls());
    EXPECT_EQ(102, Mixer().musicVolume);

    audio->PlayMusic("menu"); // the same track goes on
    audio->Tick();
    EXPECT_TRUE(TakeCalls().empty());

    audio->PlayMusic("pond");
    EXPECT_EQ(std::vector<std::string>{"fade 1000"}, TakeCalls());
    audio->Tick();
    audio->Tick();
    EXPECT_TRUE(TakeCalls().empty()); // still fading
    std::thread([this] { Mixer().EndFade(); }).join();
    EXPECT_EQ("music-menu", audio->GetCurrentMusic()->GetTrack()); // marked, not yet acted on
    audio->Tick();
    EXPECT_EQ(std::vector<std::string>{"play music-pond 0"}, TakeCalls());
    EXPECT_EQ(audio->FindMusic("pond"), audio->GetCurrentMusic());

    // No music: a fade and nothing after it.
    audio->PlayMusic("");
    std::thread([this] { Mixer().EndFade(); }).join();
    audio->Tick();
    EXPECT_EQ(std::vector<std::string>{"fade 1000"}, TakeCalls());
    EXPECT_FALSE(audio->GetCurrentMusic()->IsPlaying());
    EXPECT_EQ(nullptr, audio->GetNextMusic());

    // An unknown name is silent.
    audio->PlayMusic("none");
    audio->Tick();
    EXPECT_TRUE(TakeCalls().empty());
    EXPECT_TRUE(Mixer().music.empty());
}

// The switch follows the music volume whoever sets it (a slider writes the preference alone):
// muted while it is not above 0, set again only when that changes.
TEST_F(AudioTest, MusicVolumeZeroStopsAndRaisingItRestartsTheTrack)
{
    CPreferences::Instance()->SetFloat("musicvolume", 0.0f);
    CAudio* audio = Start();
    EXPECT_EQ((std::vector<std::string>{"muteon+", "muteoff-"}), std::exchange(s_muteNodes, {}));
    audio->PlayMusic("pond");
    audio->Tick();
    EXPECT_TRUE(TakeCalls().empty()); // waits for the volume
    EXPECT_TRUE(s_muteNodes.empty());

    CPreferences::Instance()->SetFloat("musicvolume", 0.3f);
    audio->Tick();
    EXPECT_EQ(38, Mixer().musicVolume);
    EXPECT_EQ(std::vector<std::string>{"play music-pond 0"}, TakeCalls());
    EXPECT_EQ((std::vector<std::string>{"muteon-", "muteoff+"}), std::exchange(s_muteNodes, {}));

    CPreferences::Instance()->SetFloat("musicvolume", 0.0f);
    CPreferences::Instance()->SetFloat("soundvolume", 0.4f); // the sounds alone do not decide
    audio->Tick();
    EXPECT_EQ(std::vector<std::string>{"halt"}, TakeCalls());
    EXPECT_EQ(nullptr, audio->GetCurrentMusic());
    EXPECT_EQ(audio->FindMusic("pond"), audio->GetNextMusic());
    EXPECT_EQ((std::vector<std::string>{"muteon+", "muteoff-"}), std::exchange(s_muteNodes, {}));
    audio->Tick();
    EXPECT_TRUE(TakeCalls().empty());
    EXPECT_TRUE(s_muteNodes.empty());

    CPreferences::Instance()->SetFloat("musicvolume", 0.8f);
    audio->Tick();
    EXPECT_EQ(std::vector<std::string>{"play music-pond 0"}, TakeCalls());
    EXPECT_TRUE(audio->GetCurrentMusic()->IsPlaying()); // the halt's report did not stop it
    EXPECT_EQ((std::vector<std::string>{"muteon-", "muteoff+"}), s_muteNodes);
}
} // namespace

namespace
{
class AudioShutdownTest : public PlatformTest
{
};

TEST_F(AudioShutdownTest, ThePlatformClosesTheMixerBeforeItStopsTheSystem)
{
    FakeAudio fake;
    Layer();
    CAudio* audio = CAudio::Instance();
    ASSERT_TRUE(fake.mixer().open);
    const int stops = FakeBackend::s_stops;
    CSingleton<CDirectJ>::Toggle(false);
    EXPECT_EQ(stops + 1, FakeBackend::s_stops);
    EXPECT_FALSE(fake.mixer().open);
    EXPECT_EQ(audio, CAudio::Peek()); // still there, and silent until its group ends
    audio->PlaySound("stick");
    EXPECT_TRUE(fake.mixer().played.empty());
}
} // namespace
