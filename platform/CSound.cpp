#include "platform/CSound.h"

#include "core/CClock.h"
#include "core/CXmlNode.h"
#include "core/ContentLimits.h"
#include "core/ParseBool.h"
#include "core/Random.h"
#include "core/TextFields.h"
#include "platform/CAudioDevice.h"

#include <algorithm>

CRef<CSound> CSound::Create(CXmlNode& element, CAudioDevice& device, const CString& folder)
{
    CRef<CSound> sound = MakeRef<CSound>(device, folder);
    sound->Load(element);
    return sound;
}

CSound::CSound(CAudioDevice& device, const CString& folder) : m_device(device), m_folder(folder) {}

CSound::~CSound()
{
    for (Variant& variant : m_variants)
        m_device.FreeSample(variant.chunk);
}

void CSound::Load(CXmlNode& element)
{
    const CString& choke = element.GetAttribute("choke");
    const std::optional<CString> first = FieldOf(choke.c_str(), 0);
    const std::optional<CString> second = FieldOf(choke.c_str(), 1);
    const double minimum = first ? ParseFloat(first->c_str()) : 0.0;
    const double maximum = second ? ParseFloat(second->c_str()) : minimum;
    m_chokeMin = SecondsToNearestMs(minimum);
    m_chokeMax = SecondsToNearestMs(maximum);

    for (CXmlNode* child = element.FirstChild(); child; child = child->NextSibling())
    {
        if (child->GetName() != "variant")
            continue;
        Variant variant;
        variant.sample = child->GetAttribute("sample");
        const CString& weight = child->GetAttribute("weight");
        const CString& level = child->GetAttribute("level");
        if (!weight.empty())
            variant.weight = float(ParseFloat(weight.c_str()));
        if (!level.empty())
            variant.level = float(ParseFloat(level.c_str()));
        m_variants.push_back(variant);
    }

    const CString& preload = element.GetAttribute("preload");
    if (preload.empty() || ParseBool(preload.c_str()))
        LoadSamples();
}

bool CSound::LoadSamples()
{
    if (m_loaded)
        return true;
    for (size_t n = 0; n < m_variants.size();)
    {
        Variant& variant = m_variants[n];
        const CString path = m_folder + variant.sample + ".wav";
        variant.chunk = m_device.LoadSample(path.c_str());
        if (!variant.chunk)
        {
            m_variants.erase(m_variants.begin() + std::ptrdiff_t(n));
            continue;
        }
        m_device.SetSampleVolume(variant.chunk, CAudioDevice::VolumeFor(variant.level));
        m_loaded = true;
        ++n;
    }
    return m_loaded;
}

int32_t CSound::Play()
{
    if (!LoadSamples())
        return -1;
    if (m_chokeMin != 0 || m_chokeMax != 0)
    {
        const uint32_t now = CClock::Now();
        // Wrap-safe; the first play is never held back, whatever the tick reads.
        if (m_choking && CClock::Difference(now, m_nextAllowed) > 0)
            return -1;
        uint32_t silence = uint32_t(m_chokeMin);
        if (m_chokeMax > m_chokeMin)
            silence += GlobalRandom().Next() % uint32_t(m_chokeMax - m_chokeMin + 1);
        m_nextAllowed = now + silence;
        m_choking = true;
    }
    const int32_t picked = PickVariant();
    if (picked < 0 || !m_variants[size_t(picked)].chunk)
        return -1;
    return m_device.PlaySample(m_variants[size_t(picked)].chunk);
}

int32_t CSound::PickVariant() const
{
    int32_t picked = -1;
    double total = 0.0;
    for (size_t n = 0; n < m_variants.size(); ++n)
    {
        const double weight = m_variants[n].weight;
        total += weight;
        bool take;
        if (total > 0.0)
            take = total * GlobalRandom().NextFraction() <= weight;
        else
            take = 0.0 <= weight;
        if (take)
            picked = int32_t(n);
    }
    return picked;
}
