#include "platform/CSdlAudioDevice.h"

#include "core/CFileSystem.h"
#include "core/ContentLimits.h"
#include "platform/WavCheck.h"

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

#include <algorithm>

namespace
{
// A negative volume asks SDL_mixer for the current one instead of setting it.
int ClampVolume(int32_t volume)
{
    return std::clamp<int32_t>(volume, 0, MIX_MAX_VOLUME);
}

Mix_Chunk* ChunkOf(AudioSample* sample)
{
    return reinterpret_cast<Mix_Chunk*>(sample);
}

Mix_Music* MusicOf(AudioTrack* track)
{
    return reinterpret_cast<Mix_Music*>(track);
}

// SDL_mixer wants a callback for finished channels; nothing needs to know.
void IgnoreChannelFinished(int) {}

// Whether the file may go to SDL_mixer. A missing file fails silently, as the mixer's own load
// would; a damaged one is reported once and stays silent.
bool IsPlayableFile(const char* path)
{
    if (!CFileSystem::FileExists(path))
        return false;
    const CString problem = CheckWavFile(path);
    if (problem.empty())
        return true;
    ReportContentOnce(path, "skipped", problem);
    return false;
}
} // namespace

CSdlAudioDevice::~CSdlAudioDevice()
{
    Close();
}

bool CSdlAudioDevice::Open(int32_t frequency, int32_t channels, int32_t chunkSize)
{
    if (m_open)
        return true;
    // Mix_OpenAudio would start SDL's audio on its own, outside the platform's control.
    if (SDL_WasInit(SDL_INIT_AUDIO) == 0)
        return false;
    if (Mix_OpenAudio(frequency, AUDIO_S16LSB, channels, chunkSize) != 0)
        return false;
    m_open = true;
    Mix_ChannelFinished(&IgnoreChannelFinished);
    return true;
}

void CSdlAudioDevice::Close()
{
    if (!m_open)
        return;
    Mix_ChannelFinished(nullptr);
    Mix_HookMusicFinished(nullptr);
    Mix_HaltMusic();
    Mix_AllocateChannels(0);
    Mix_CloseAudio();
    m_open = false;
}

int32_t CSdlAudioDevice::AllocateChannels(int32_t count)
{
    return m_open ? Mix_AllocateChannels(std::max<int32_t>(count, 0)) : 0;
}

void CSdlAudioDevice::SetMusicFinishedHook(MusicFinishedHook hook)
{
    if (m_open)
        Mix_HookMusicFinished(hook);
}

AudioSample* CSdlAudioDevice::LoadSample(const char* path)
{
    if (!m_open || !path || !IsPlayableFile(path))
        return nullptr;
    SDL_RWops* stream = SDL_RWFromFile(path, "rb");
    if (!stream)
        return nullptr;
    return reinterpret_cast<AudioSample*>(Mix_LoadWAV_RW(stream, 1));
}

void CSdlAudioDevice::SetSampleVolume(AudioSample* sample, int32_t volume)
{
    if (m_open && sample)
        Mix_VolumeChunk(ChunkOf(sample), ClampVolume(volume));
}

void CSdlAudioDevice::FreeSample(AudioSample* sample)
{
    // SDL_mixer frees a chunk without the device; freeing after a close must not leak.
    if (sample)
        Mix_FreeChunk(ChunkOf(sample));
}

int32_t CSdlAudioDevice::PlaySample(AudioSample* sample)
{
    if (!m_open || !sample)
        return -1;
    return Mix_PlayChannelTimed(-1, ChunkOf(sample), 0, -1);
}

void CSdlAudioDevice::SetChannelsVolume(int32_t volume)
{
    if (m_open)
        Mix_Volume(-1, ClampVolume(volume));
}

AudioTrack* CSdlAudioDevice::LoadTrack(const char* path)
{
    if (!m_open || !path || !IsPlayableFile(path))
        return nullptr;
    return reinterpret_cast<AudioTrack*>(Mix_LoadMUS(path));
}

void CSdlAudioDevice::FreeTrack(AudioTrack* track)
{
    if (track)
        Mix_FreeMusic(MusicOf(track));
}

bool CSdlAudioDevice::PlayTrack(AudioTrack* track, int32_t fadeInMs)
{
    if (!m_open || !track)
        return false;
    if (fadeInMs > 0)
        return Mix_FadeInMusic(MusicOf(track), -1, fadeInMs) == 0;
    return Mix_PlayMusic(MusicOf(track), -1) == 0;
}

void CSdlAudioDevice::FadeOutMusic(int32_t ms)
{
    if (!m_open)
        return;
    if (ms < 1)
        Mix_HaltMusic();
    else
        Mix_FadeOutMusic(ms);
}

void CSdlAudioDevice::SetMusicVolume(int32_t volume)
{
    if (m_open)
        Mix_VolumeMusic(ClampVolume(volume));
}
