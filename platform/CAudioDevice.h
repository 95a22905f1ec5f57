#pragma once
// The mixer services audio takes from the system (SDL_mixer), behind one interface so that the
// sound and music logic runs against a stand-in in tests. Invariant: while the device is not
// open every call is a no-op that reports failure (null, -1 or false), so a machine without
// sound runs silent and never crashes. Volumes are 0..128, times in milliseconds.

#include <cstdint>

// Handles of loaded samples and music tracks; only the device that made them knows what they are.
struct AudioSample;
struct AudioTrack;

class CAudioDevice
{
  public:
    // Called when the music stops (fade-out ended, halted), possibly on the mixer's own thread.
    using MusicFinishedHook = void (*)();

    static constexpr int32_t kMaxVolume = 128;

    virtual ~CAudioDevice() = default;

    // A volume fraction 0..1 as a device volume, truncated towards zero; out of range and NaN
    // clamp (0 for NaN).
    static int32_t VolumeFor(float fraction)
    {
        if (!(fraction > 0.0f))
            return 0;
        return fraction >= 1.0f ? kMaxVolume : int32_t(fraction * float(kMaxVolume));
    }

    // Opens the output: rate in Hz, 16-bit little-endian samples, 1 or 2 channels, buffer size in
    // sample frames. False (device stays closed) when there is no usable audio device.
    virtual bool Open(int32_t frequency, int32_t channels, int32_t chunkSize) = 0;
    virtual bool IsOpen() const = 0;
    // Stops every channel and the music, unhooks, then closes. Every sample and track must have
    // been freed before. Safe when not open.
    virtual void Close() = 0;

    // The number of mixing channels now allocated (0 when closed).
    virtual int32_t AllocateChannels(int32_t count) = 0;
    // Null unhooks.
    virtual void SetMusicFinishedHook(MusicFinishedHook hook) = 0;

    // The WAV file at path, or null.
    virtual AudioSample* LoadSample(const char* path) = 0;
    virtual void SetSampleVolume(AudioSample* sample, int32_t volume) = 0;
    virtual void FreeSample(AudioSample* sample) = 0;
    // Once on the first free channel; the channel, or -1 when none was free.
    virtual int32_t PlaySample(AudioSample* sample) = 0;
    // Every channel's volume.
    virtual void SetChannelsVolume(int32_t volume) = 0;

    // The WAV file at path as a music track, or null.
    virtual AudioTrack* LoadTrack(const char* path) = 0;
    virtual void FreeTrack(AudioTrack* track) = 0;
    // Starts the track looping forever, fading in over fadeInMs when positive; true when started.
    virtual bool PlayTrack(AudioTrack* track, int32_t fadeInMs) = 0;
    // Fades the music out over ms; below 1 halts it at once.
    virtual void FadeOutMusic(int32_t ms) = 0;
    virtual void SetMusicVolume(int32_t volume) = 0;
};
