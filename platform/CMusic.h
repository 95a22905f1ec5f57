#pragma once
// One named music track, loaded on its first play and kept until the object dies. Invariant:
// playing is set by a successful play and cleared only when the mixer reports the music
// finished (through CAudio, on the main thread), so a fading track still counts as playing.
// The device must outlive the track.
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CString.h"

#include <cstdint>

class CAudioDevice;
class CXmlNode;
struct AudioTrack;

class CMusic : public CBase
{
  public:
    // A track read from its element ("track"); the file is "<folder><track>.wav".
    static CRef<CMusic> Create(CXmlNode& element, CAudioDevice& device, const CString& folder);

    CMusic(CAudioDevice& device, const CString& folder);
    ~CMusic() override;

    void Load(CXmlNode& element);
    // Loads the track when not yet loaded (a failure is retried at the next play, and leaves
    // playing as it was), then starts it looping, fading in over fadeInMs when positive.
    void Play(int32_t fadeInMs);
    // Fades out over ms (below 1: stops at once). Playing stays set until OnFinished.
    void FadeOut(int32_t ms);
    void OnFinished() { m_playing = false; }

    const CString& GetTrack() const { return m_track; }
    bool IsLoaded() const { return m_loaded != nullptr; }
    bool IsPlaying() const { return m_playing; }

  private:
    CAudioDevice& m_device;
    CString m_folder;
    CString m_track;
    AudioTrack* m_loaded = nullptr;
    bool m_playing = false;
};
