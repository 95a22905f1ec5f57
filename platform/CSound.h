#pragma once
// One named sound effect: samples to choose from by weight, each with its own level, and a choke
// that drops requests coming too soon after a play. Invariant: once loaded, every variant left
// holds a loaded sample (a sample that fails to load is dropped from the list). The device must
// outlive the sound.
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CString.h"

#include <cstdint>
#include <vector>

class CAudioDevice;
class CXmlNode;
struct AudioSample;

class CSound : public CBase
{
  public:
    struct Variant
    {
        CString sample;               // file name without folder or extension
        AudioSample* chunk = nullptr; // null until loaded
        float weight = 1.0f;          // relative chance
        float level = 1.0f;           // 0..1
    };

    // A sound read from its element; samples are "<folder><sample>.wav" (folder ends with "/").
    static CRef<CSound> Create(CXmlNode& element, CAudioDevice& device, const CString& folder);

    CSound(CAudioDevice& device, const CString& folder);
    ~CSound() override;

    // Reads "choke" (seconds, "min[,max]"), the "variant" children and "preload"; preloading
    // loads the samples at once.
    void Load(CXmlNode& element);
    // Loads every variant's sample once; true when at least one is loaded.
    bool LoadSamples();
    // Plays one variant picked by weight (with the global Random) unless the choke holds it back
    // (at the frame clock). The mixer channel, or -1 when nothing played.
    int32_t Play();

    const std::vector<Variant>& GetVariants() const { return m_variants; }
    bool IsLoaded() const { return m_loaded; }
    int32_t GetChokeMin() const { return m_chokeMin; }
    int32_t GetChokeMax() const { return m_chokeMax; }

  private:
    // The variant played, or -1 for none.
    int32_t PickVariant() const;

    CAudioDevice& m_device;
    CString m_folder;

    // Fixed at load.
    std::vector<Variant> m_variants;
    int32_t m_chokeMin = 0; // ms
    int32_t m_chokeMax = 0; // ms

    // Play state.
    bool m_loaded = false;
    bool m_choking = false;     // m_nextAllowed is meaningful (a play happened under a choke)
    uint32_t m_nextAllowed = 0; // frame tick (ms) before which requests are dropped
};
