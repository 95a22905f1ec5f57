// The real mixer on SDL's "disk" audio driver, which writes what it mixes to a file: proof that
// a sound and a music track asked for by name are really mixed. Audio only, no display.
#include "core/CPreferences.h"
#include "platform/CAudio.h"
#include "support/AppFolder.h"
#include "support/FakeClock.h"
#include "support/TestScopes.h"
#include "tools/CSoundSynth.h"

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>
#include <string>

namespace
{
// Sets an environment variable for one test and puts the previous value back.
class ScopedEnv
{
  public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name)
    {
        const char* previous = getenv(name);
        m_had = previous != nullptr;
        if (m_had)
            m_previous = previous;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (m_had)
            setenv(m_name, m_previous.c_str(), 1);
        else
            unsetenv(m_name);
    }

  private:
    const char* m_name;
    std::string m_previous;
    bool m_had = false;
};

class AudioDiskTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        mkdir(m_folder.PathOf("data/sounds").c_str(), 0755);
        m_folder.WriteData("sounds/audio.xml",
                           "<audio><properties frequency=\"22050\" channels=\"2\" "
                           "chunksize=\"512\"/><sounds><stick><variant sample=\"plop1\"/>"
                           "</stick></sounds><musics><pond track=\"music-pond\"/></musics></audio>");
        for (const char* name : {"plop1", "music-pond"})
            m_folder.WriteData(std::string("sounds/") + name + ".wav",
                               CSoundSynth::EncodeWav(CSoundSynth::Render(name), CSoundSynth::kRate));
        ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_AUDIO)) << SDL_GetError();
    }
    void TearDown() override
    {
        // As at the end of the game: the mixer closes before SDL's audio goes.
        if (CAudio* audio = CAudio::Peek())
            audio->Close();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        CSingleton<CAudio>::Toggle(false);
    }

    // Mixes for about ms of real time (the disk driver paces itself like a sound card).
    static void Mix(uint32_t ms) { SDL_Delay(ms); }

    // The loudest sample written so far, and how many are not silent.
    int32_t Peak(int32_t* audible) const
    {
        const std::string raw = TempFolder::ReadFile(m_output);
        int32_t peak = 0;
        *audible = 0;
        for (size_t n = 0; n + 1 < raw.size(); n += 2)
        {
            const int32_t value = int16_t(uint16_t(uint8_t(raw[n])) | uint16_t(uint8_t(raw[n + 1]) << 8));
            peak = std::max(peak, std::abs(value));
            *audible += value != 0;
        }
        return peak;
    }

    FakeClock m_clock;
    TestScopes m_scopes;
    AppFolder m_folder;
    std::string m_output = m_folder.PathOf("mixed.raw");
    ScopedEnv m_driver{"SDL_AUDIODRIVER", "disk"};
    ScopedEnv m_file{"SDL_DISKAUDIOFILE", m_output};
};

TEST_F(AudioDiskTest, APlayedSoundIsMixed)
{
    CAudio* audio = CAudio::Instance();
    ASSERT_TRUE(audio->IsSoundEnabled());
    Mix(100);
    int32_t audible = 0;
    EXPECT_EQ(0, Peak(&audible)); // silence before anything plays

    audio->PlaySound("stick");
    Mix(400);
    audio->Close();
    EXPECT_GT(Peak(&audible), 10000);
    EXPECT_GT(audible, 2000);
}

TEST_F(AudioDiskTest, TheMusicTrackIsMixedAtTheTick)
{
    CAudio* audio = CAudio::Instance();
    ASSERT_TRUE(audio->IsMusicEnabled());
    audio->PlayMusic("pond");
    audio->Tick();
    ASSERT_TRUE(audio->GetCurrentMusic()->IsPlaying());
    Mix(500);
    audio->Close();
    int32_t audible = 0;
    EXPECT_GT(Peak(&audible), 5000);
    EXPECT_GT(audible, 2000);
}
} // namespace
