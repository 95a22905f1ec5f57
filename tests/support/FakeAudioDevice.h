#pragma once
// A stand-in mixer for the audio tests: records what the game asks of it and plays music as
// SDL_mixer does (a halt reports the finish from inside the call; a fade reports it when the test
// ends it, from any thread). FakeAudio installs it as the device CAudio makes for one test.
#include "platform/CAudio.h"
#include "platform/CAudioDevice.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

// What the device was asked, as the test reads it. File names are kept without folder or ".wav".
struct FakeMixer
{
    bool failOpen = false;
    std::set<std::string> missing; // files that fail to load

    bool open = false;
    int opens = 0;
    int32_t frequency = 0, channels = 0, chunkSize = 0;
    int32_t allocated = 0;
    CAudioDevice::MusicFinishedHook hook = nullptr;
    std::map<uintptr_t, std::string> samples; // live samples by handle
    std::map<uintptr_t, int32_t> sampleVolumes;
    std::vector<std::string> loads;  // every load asked for, samples and tracks
    std::vector<std::string> played; // samples played, in order
    int32_t channelsVolume = -1, musicVolume = -1;
    std::map<uintptr_t, std::string> tracks;
    std::string music;              // the track playing, "" for none
    std::vector<std::string> calls; // music calls: "play <track> <fade-in>", "fade <ms>", "halt"
    bool fading = false;
    uintptr_t nextHandle = 1;

    static std::string Stem(const char* path)
    {
        std::string name = path;
        name = name.substr(name.rfind('/') + 1);
        return name.substr(0, name.size() - 4);
    }
    // The mixer's thread ends a fade-out: the music stops and the hook runs.
    void EndFade()
    {
        if (!fading)
            return;
        fading = false;
        music.clear();
        if (hook)
            hook();
    }
    size_t LiveObjects() const { return samples.size() + tracks.size(); }
};

class FakeAudioDevice : public CAudioDevice
{
  public:
    explicit FakeAudioDevice(FakeMixer& mixer) : m(mixer) {}

    bool Open(int32_t frequency, int32_t channels, int32_t chunkSize) override
    {
        ++m.opens;
        m.frequency = frequency;
        m.channels = channels;
        m.chunkSize = chunkSize;
        m.open = !m.failOpen;
        return m.open;
    }
    bool IsOpen() const override { return m.open; }
    void Close() override
    {
        // Everything must be freed first, as SDL_mixer needs.
        EXPECT_EQ(0u, m.LiveObjects());
        m.open = false;
        m.hook = nullptr;
    }
    int32_t AllocateChannels(int32_t count) override { return m.allocated = m.open ? count : 0; }
    void SetMusicFinishedHook(MusicFinishedHook hook) override { m.hook = hook; }
    AudioSample* LoadSample(const char* path) override
    {
        m.loads.push_back(FakeMixer::Stem(path));
        if (!m.open || m.missing.count(FakeMixer::Stem(path)))
            return nullptr;
        m.samples[m.nextHandle] = FakeMixer::Stem(path);
        return reinterpret_cast<AudioSample*>(m.nextHandle++);
    }
    void SetSampleVolume(AudioSample* sample, int32_t volume) override
    {
        m.sampleVolumes[reinterpret_cast<uintptr_t>(sample)] = volume;
    }
    void FreeSample(AudioSample* sample) override { m.samples.erase(reinterpret_cast<uintptr_t>(sample)); }
    int32_t PlaySample(AudioSample* sample) override
    {
        m.played.push_back(m.samples.at(reinterpret_cast<uintptr_t>(sample)));
        return 0;
    }
    void SetChannelsVolume(int32_t volume) override { m.channelsVolume = volume; }
    AudioTrack* LoadTrack(const char* path) override
    {
        m.loads.push_back(FakeMixer::Stem(path));
        if (!m.open || m.missing.count(FakeMixer::Stem(path)))
            return nullptr;
        m.tracks[m.nextHandle] = FakeMixer::Stem(path);
        return reinterpret_cast<AudioTrack*>(m.nextHandle++);
    }
    void FreeTrack(AudioTrack* track) override
    {
        if (m.tracks.count(reinterpret_cast<uintptr_t>(track)) &&
            m.music == m.tracks[reinterpret_cast<uintptr_t>(track)])
            m.music.clear();
        m.tracks.erase(reinterpret_cast<uintptr_t>(track));
    }
    bool PlayTrack(AudioTrack* track, int32_t fadeInMs) override
    {
        m.music = m.tracks.at(reinterpret_cast<uintptr_t>(track));
        m.fading = false;
        m.calls.push_back("play " + m.music + " " + std::to_string(fadeInMs));
        return true;
    }
    void FadeOutMusic(int32_t ms) override
    {
        if (ms >= 1)
        {
            m.calls.push_back("fade " + std::to_string(ms));
            m.fading = !m.music.empty();
            return;
        }
        m.calls.push_back("halt");
        const bool wasPlaying = !m.music.empty();
        m.music.clear();
        m.fading = false;
        if (wasPlaying && m.hook)
            m.hook();
    }
    void SetMusicVolume(int32_t volume) override { m.musicVolume = volume; }

  private:
    FakeMixer& m;
};

// Makes CAudio use a FakeAudioDevice over mixer() for the life of the object.
class FakeAudio
{
  public:
    FakeAudio() : m_previous(CAudio::SetDeviceFactory(&Make)) { s_mixer = &m_mixer; }
    ~FakeAudio()
    {
        CSingleton<CAudio>::Toggle(false);
        CAudio::SetDeviceFactory(m_previous);
        s_mixer = nullptr;
    }
    FakeAudio(const FakeAudio&) = delete;
    FakeAudio& operator=(const FakeAudio&) = delete;

    FakeMixer& mixer() { return m_mixer; }

  private:
    static std::unique_ptr<CAudioDevice> Make() { return std::make_unique<FakeAudioDevice>(*s_mixer); }

    static inline FakeMixer* s_mixer = nullptr;
    FakeMixer m_mixer;
    CAudio::DeviceFactory m_previous;
};
