#include "platform/CMusic.h"

#include "core/CXmlNode.h"
#include "platform/CAudioDevice.h"

CRef<CMusic> CMusic::Create(CXmlNode& element, CAudioDevice& device, const CString& folder)
{
    CRef<CMusic> music = MakeRef<CMusic>(device, folder);
    music->Load(element);
    return music;
}

CMusic::CMusic(CAudioDevice& device, const CString& folder) : m_device(device), m_folder(folder) {}

CMusic::~CMusic()
{
    m_device.FreeTrack(m_loaded);
}

void CMusic::Load(CXmlNode& element)
{
    m_track = element.GetAttribute("track");
}

void CMusic::Play(int32_t fadeInMs)
{
    if (!m_loaded)
    {
        const CString path = m_folder + m_track + ".wav";
        m_loaded = m_device.LoadTrack(path.c_str());
        if (!m_loaded)
            return;
    }
    m_playing = m_device.PlayTrack(m_loaded, fadeInMs);
}

void CMusic::FadeOut(int32_t ms)
{
    m_device.FadeOutMusic(ms);
}
