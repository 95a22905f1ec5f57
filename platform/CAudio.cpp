#include "platform/CAudio.h"

#include "core/CFileSystem.h"
#include "core/CPreference.h"
#include "core/CPreferences.h"
#include "core/CScheduler.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/ContentLimits.h"
#include "core/TextFields.h"
#include "platform/CSdlAudioDevice.h"

REGISTER_SINGLETON(CAudio, "hanging", 50);

namespace
{
CPreference<float> s_soundVolume("soundvolume", 0.8f);
CPreference<float> s_musicVolume("musicvolume", 0.8f);

std::unique_ptr<CAudioDevice> MakeSdlDevice()
{
    return std::make_unique<CSdlAudioDevice>();
}

CAudio::DeviceFactory s_deviceFactory = &MakeSdlDevice;
CAudio::SetActiveByIdHook s_muteNodesHook = nullptr;

constexpr const char* kDocumentFile = "sounds/audio.xml";

// What SDL_mixer opens reliably: outside these a device may hang at start-up, overflow the
// library's buffers (the buffer size is 16-bit there) or crash at shutdown.
bool IsSupportedFrequency(int32_t hz)
{
    return hz >= 8000 && hz <= 96000;
}

bool IsSupportedChannels(int32_t channels)
{
    return channels == 1 || channels == 2;
}

bool IsSupportedChunkSize(int32_t frames)
{
    return frames >= 256 && frames <= 16384 && (frames & (frames - 1)) == 0;
}

// An unsupported value keeps the default already in *value, reported once.
void ReadSupported(const CXmlNode* root, const char* path, int32_t* value, bool (*supported)(int32_t))
{
    const CString& text = root->GetAttribute(path);
    if (text.empty())
        return;
    const int32_t read = ParseInt(text.c_str());
    if (supported(read))
    {
        *value = read;
        return;
    }
    ReportContentOnce(kDocumentFile, path,
                      CString::Format("%d is not supported by the mixer, %d used", read, *value));
}

bool IsElement(const CXmlNode& node)
{
    return node.GetName() != CXmlNode::kContentName;
}
} // namespace

CAudio::DeviceFactory CAudio::SetDeviceFactory(DeviceFactory factory)
{
    DeviceFactory previous = s_deviceFactory;
    s_deviceFactory = factory ? factory : &MakeSdlDevice;
    return previous;
}

CAudio::SetActiveByIdHook CAudio::SetMuteNodesHook(SetActiveByIdHook hook)
{
    SetActiveByIdHook previous = s_muteNodesHook;
    s_muteNodesHook = hook;
    return previous;
}

CAudio::Settings CAudio::ReadSettings(const CXmlNode* root)
{
    // Without the document the device still opens with usable values rather than a rate of 0.
    Settings settings;
    if (!root)
        return settings;
    ReadSupported(root, "properties/frequency", &settings.frequency, &IsSupportedFrequency);
    ReadSupported(root, "properties/channels", &settings.channels, &IsSupportedChannels);
    ReadSupported(root, "properties/chunksize", &settings.chunkSize, &IsSupportedChunkSize);
    const CString& mixes = root->GetAttribute("properties/mixes");
    if (!mixes.empty())
        settings.mixes =
            BoundCount(ParseInt(mixes.c_str()), 0, Settings::kMaxMixes, kDocumentFile, "properties/mixes");
    return settings;
}

CAudio::~CAudio()
{
    Close();
}

void CAudio::Init()
{
    EnsureScheduled();
    const bool disabled = CPreferences::Instance()->GetBool("disableaudio", false);
    if (disabled)
    {
        SetMuteNodes(false, false);
        return;
    }

    CXmlDocument document("sounds/audio", CFileSystem::kInDataFolder);
    m_settings = ReadSettings(document.GetRoot());
    m_folder = CFileSystem::Instance()->GetDataFolder() + "/sounds/";
    m_device = s_deviceFactory();
    if (m_device && m_device->Open(m_settings.frequency, m_settings.channels, m_settings.chunkSize))
    {
        m_soundEnabled = m_musicEnabled = true;
        ReadDocument(document.GetRoot());
    }
    else
    {
        m_device.reset();
        SetMuteNodes(false, false);
        return;
    }
    m_muted = CPreferences::Instance()->GetFloat("musicvolume", 0.0f) <= 0.0f;
    SetMuteNodes(m_muted, !m_muted);
}

void CAudio::OnSchedule(float)
{
    Tick();
}

void CAudio::PlaySound(const char* name)
{
    if (!m_soundEnabled || !(s_soundVolume.Get() > 0.0f) || !name)
        return;
    EnsureScheduled();
    // An unknown name gets an empty entry, so every later request for it stops here.
    const CRef<CSound>& sound = m_sounds[name];
    if (sound)
        sound->Play();
}

void CAudio::LoadSound(const char* name)
{
    if (!m_soundEnabled || !name)
        return;
    const CRef<CSound>& sound = m_sounds[name];
    if (sound)
        sound->LoadSamples();
}

void CAudio::PlayMusic(const char* name)
{
    if (!m_musicEnabled)
        return;
    EnsureScheduled();
    ConsumeMusicFinished();
    m_next.Reset();
    if (name && *name)
        m_next = m_musics[name];
    if (m_next.Get() != m_current.Get() && m_current && m_current->IsPlaying())
        m_current->FadeOut(kFadeOutMs);
}

void CAudio::Tick()
{
    if (m_soundEnabled)
        m_device->SetChannelsVolume(CAudioDevice::VolumeFor(s_soundVolume.Get()));
    if (!m_musicEnabled)
        return;
    ConsumeMusicFinished();
    m_device->SetMusicVolume(CAudioDevice::VolumeFor(s_musicVolume.Get()));
    // The sliders change the volume without "_mute": the switch follows it by the rule it
    // started with, so the speaker and the menu's sound line never show the other state.
    const bool muted = !(s_musicVolume.Get() > 0.0f);
    if (muted != m_muted)
    {
        m_muted = muted;
        SetMuteNodes(muted, !muted);
    }
    if (s_musicVolume.Get() > 0.0f)
    {
        // While the current track plays, fading out included, the next one waits.
        if (m_next && (!m_current || !m_current->IsPlaying()))
        {
            m_current = std::move(m_next);
            m_next.Reset();
            m_current->Play(0);
        }
        return;
    }
    if (!m_current)
        return;
    if (m_current->IsPlaying())
    {
        m_current->FadeOut(0);
        // A halt stops the music at once and SDL_mixer reports it from inside the call: the mark
        // belongs to this track, which must not pass it on to the next one.
        s_musicFinished.store(false);
        m_current->OnFinished();
    }
    // Kept waiting, so that raising the volume starts it again.
    if (!m_next)
        m_next = m_current;
    m_current.Reset();
}

void CAudio::Close()
{
    m_soundEnabled = m_musicEnabled = false;
    if (!m_device)
        return;
    m_device->SetMusicFinishedHook(nullptr);
    // Halted before the tracks are freed: freeing a fading track would wait for its fade.
    m_device->FadeOutMusic(0);
    m_device->AllocateChannels(0);
    m_mixingChannels = 0;
    m_current.Reset();
    m_next.Reset();
    m_sounds.clear();
    m_musics.clear();
    m_device->Close();
    m_device.reset();
    s_musicFinished.store(false);
}

void CAudio::OnMusicFinished()
{
    s_musicFinished.store(true);
}

CSound* CAudio::FindSound(const CString& name) const
{
    const auto entry = m_sounds.find(name);
    return entry == m_sounds.end() ? nullptr : entry->second.Get();
}

CMusic* CAudio::FindMusic(const CString& name) const
{
    const auto entry = m_musics.find(name);
    return entry == m_musics.end() ? nullptr : entry->second.Get();
}

void CAudio::EnsureScheduled()
{
    if (!m_scheduler.Get())
        m_scheduler.Set(ScheduleIn("global", kTickMs));
}

void CAudio::ReadDocument(CXmlNode* root)
{
    m_mixingChannels = m_device->AllocateChannels(m_settings.mixes);
    m_device->SetMusicFinishedHook(&CAudio::OnMusicFinished);
    if (!root)
        return;
    if (CXmlNode* sounds = root->FindChild("sounds"))
    {
        for (CXmlNode* element = sounds->FirstChild(); element; element = element->NextSibling())
        {
            if (IsElement(*element))
                m_sounds[element->GetName()] = CSound::Create(*element, *m_device, m_folder);
        }
    }
    if (CXmlNode* musics = root->FindChild("musics"))
    {
        for (CXmlNode* element = musics->FirstChild(); element; element = element->NextSibling())
        {
            if (IsElement(*element))
                m_musics[element->GetName()] = CMusic::Create(*element, *m_device, m_folder);
        }
    }
}

void CAudio::ConsumeMusicFinished()
{
    if (s_musicFinished.exchange(false) && m_current)
        m_current->OnFinished();
}

void CAudio::SetMuteNodes(bool muteOn, bool muteOff)
{
    if (s_muteNodesHook)
    {
        s_muteNodesHook("muteon", muteOn);
        s_muteNodesHook("muteoff", muteOff);
    }
}
