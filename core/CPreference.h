#pragma once
// A persisted setting with a default, declared as a static object and read at the point of use:
//   static CPreference<float> s_volume("soundvolume", 0.8f);
// Invariant: after the store is loaded the value is the store's text at the key, or the default,
// which is then written into the store. Floats are written "%f" ("0.800000") and booleans "true"
// or "false", read back in the "C" locale; a boolean also reads "TRUE" or a non-zero integer.
#include "core/CPreferenceBase.h"

template <typename T> class CPreference : public CPreferenceBase
{
  public:
    // Holds the default until the store is read; reads at once when the store is already loaded.
    CPreference(const char* key, T defaultValue);

    const T& Get() const { return m_value; }
    operator const T&() const { return m_value; }

    void Read() override;
    void RestoreDefault() override { m_value = m_default; }

  private:
    T m_value;
    T m_default;
};

extern template class CPreference<float>;
extern template class CPreference<bool>;
