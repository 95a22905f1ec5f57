#pragma once
// Sound effects and one looping music track, by the names of the document "sounds/audio", at
// the volumes of the preferences "soundvolume" and "musicvolume". Music changes are never
// immediate: a new track waits until the old one has faded out, and a tick every 100 ms starts
// it. Invariants: every call is a no-op while audio is disabled, the device failed to open or
// the mixer was closed; only OnMusicFinished runs on the mixer's thread, and it touches nothing
// but an atomic flag, which the main thread consumes at its next tick or music request.
#include "core/CLink.h"
#include "core/CRef.h"
#include "core/CScheduled.h"
#include "core/CSingleton.h"
#include "core/CString.h"
#include "platform/CAudioDevice.h"
#include "platform/CMusic.h"
#include "platform/CSound.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>

class CScheduler;
class CXmlNode;

class CAudio : public CScheduled, public CSingleton<CAudio>
{
  public:
    // Makes the device when audio starts; the default makes the SDL_mixer one.
    using DeviceFactory = std::unique_ptr<CAudioDevice> (*)();
    // Shows or hides a user-interface node by id (the mute buttons "muteon" and "muteoff").
    using SetActiveByIdHook = void (*)(const char* id, bool active);

    // The device settings of the document's "properties"; a missing or empty attribute (or a
    // missing document) takes the default.
    struct Settings
    {
        int32_t frequency = 22050; // Hz
        int32_t channels = 2;      // 1 mono, 2 stereo
        int32_t chunkSize = 4096;  // sample frames per mixer buffer
        int32_t mixes = 8;         // mixing channels, at most kMaxMixes

        // Sounds that can play at once; each channel costs mixing time on every buffer.
        static constexpr int32_t kMaxMixes = 64;
    };

    static constexpr int32_t kTickMs = 100;
    static constexpr int32_t kFadeOutMs = 1000;

    // Tests install a stand-in before the singleton is created; null puts the SDL one back.
    // Each setter returns the previous value.
    static DeviceFactory SetDeviceFactory(DeviceFactory factory);
    // Installed by the user-interface tree; without it the mute nodes are left alone.
    static SetActiveByIdHook SetMuteNodesHook(SetActiveByIdHook hook);

    static Settings ReadSettings(const CXmlNode* root);

    ~CAudio() override;

    // Reads "disableaudio" (written "false" when missing), opens the device and reads the
    // document; schedules the tick in "global" in every case.
    void Init() override;
    void OnSchedule(float dt) override;

    // Plays the named sound once, when sound is on and "soundvolume" is above 0. A name the
    // document does not define stays silent.
    void PlaySound(const char* name);
    // Loads the named sound's samples now (for sounds that do not preload).
    void LoadSound(const char* name);
    // Makes the named track the next one ("" for none); the current one, when different and
    // playing, fades out over kFadeOutMs first.
    void PlayMusic(const char* name);
    // Applies the volumes; starts the waiting track once nothing plays; with "musicvolume" at 0
    // stops the music and keeps the track waiting for the volume to come back. When the music
    // volume has crossed 0 since the mute nodes were last set, sets them again ("muteon" active
    // while it is not above 0, "muteoff" while it is).
    void Tick();

    // Stops everything, frees every sample and track and closes the mixer; audio is off from then
    // on. The platform calls it before it shuts SDL down; the destructor does it otherwise.
    void Close();

    // The mixer's music-finished hook: may run on the mixer's thread, and only sets the finished flag.
    static void OnMusicFinished();

    bool IsSoundEnabled() const { return m_soundEnabled; }
    bool IsMusicEnabled() const { return m_musicEnabled; }
    const Settings& GetSettings() const { return m_settings; }
    int32_t GetMixingChannels() const { return m_mixingChannels; }
    // Null when the name has no entry or an empty one.
    CSound* FindSound(const CString& name) const;
    CMusic* FindMusic(const CString& name) const;
    bool HasSoundEntry(const CString& name) const { return m_sounds.count(name) != 0; }
    CMusic* GetCurrentMusic() const { return m_current.Get(); }
    CMusic* GetNextMusic() const { return m_next.Get(); }

  private:
    friend class CSingleton<CAudio>;
    CAudio() = default;

    void EnsureScheduled();
    void ReadDocument(CXmlNode* root);
    // Applies a finish the mixer reported since the last call to the current music.
    void ConsumeMusicFinished();
    static void SetMuteNodes(bool muteOn, bool muteOff);

    // Set up at Init, fixed until Close.
    std::unique_ptr<CAudioDevice> m_device;
    Settings m_settings;
    int32_t m_mixingChannels = 0;
    bool m_soundEnabled = false;
    bool m_musicEnabled = false;
    CString m_folder;                         // "<data folder>/sounds/"
    std::map<CString, CRef<CSound>> m_sounds; // an empty entry: a name known to be silent
    std::map<CString, CRef<CMusic>> m_musics;

    // Music state.
    bool m_muted = false;   // what the mute nodes were last set to show
    CRef<CMusic> m_current; // playing or last played
    CRef<CMusic> m_next;    // waiting to start

    CLink<CScheduler> m_scheduler;

    static inline std::atomic<bool> s_musicFinished{false};
};
