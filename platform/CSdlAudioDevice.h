#pragma once
// The audio device on SDL_mixer. It never starts SDL's audio itself: when the platform could
// not start it (no sound hardware, no driver), Open fails and the game stays silent.
// Invariant: m_open is true exactly between a successful Mix_OpenAudio and its Mix_CloseAudio.
#include "platform/CAudioDevice.h"

class CSdlAudioDevice : public CAudioDevice
{
  public:
    ~CSdlAudioDevice() override;

    bool Open(int32_t frequency, int32_t channels, int32_t chunkSize) override;
    bool IsOpen() const override { return m_open; }
    void Close() override;
    int32_t AllocateChannels(int32_t count) override;
    void SetMusicFinishedHook(MusicFinishedHook hook) override;
    AudioSample* LoadSample(const char* path) override;
    void SetSampleVolume(AudioSample* sample, int32_t volume) override;
    void FreeSample(AudioSample* sample) override;
    int32_t PlaySample(AudioSample* sample) override;
    void SetChannelsVolume(int32_t volume) override;
    AudioTrack* LoadTrack(const char* path) override;
    void FreeTrack(AudioTrack* track) override;
    bool PlayTrack(AudioTrack* track, int32_t fadeInMs) override;
    void FadeOutMusic(int32_t ms) override;
    void SetMusicVolume(int32_t volume) override;

  private:
    bool m_open = false;
};
