#pragma once
// A typed tuning value: declare it as a static object with its key path and read the value at
// the point of use, so every reload of rules.xml takes effect everywhere:
//   static CRule<float> s_lungeTime("frog/lungetime"); // seconds
// Invariant: the value is zero (empty text) until rules.xml gives one, and afterwards keeps the
// last non-empty text's value; the program has no defaults of its own.
//
// Texts: int strtol base 10; float strtod; bool "true" in any case or a non-zero integer; CString
// the whole text; vectors comma fields (a missing first field 0, each later missing one repeats
// the one before: "0.5" is (0.5, 0.5, 0.5)); Vector4<float> also "#" hexadecimal colours. Numbers
// are read as the "C" locale writes them, whatever the process locale.
//
// A count, size or interval declares its bounds, kept beside the declaration; a text beyond them
// gives the nearer bound, reported once on standard error (ContentLimits.h):
//   static CRule<int> s_interval("interval/animation", 0, 1000); // milliseconds
#include "core/CRuleBase.h"
#include "core/CString.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "core/Vector4.h"

template <typename T> class CRule : public CRuleBase
{
  public:
    explicit CRule(const char* key) : CRuleBase(key), m_value() {}
    // Bounded: int, float and their pairs (each component within the same bounds).
    CRule(const char* key, T minimum, T maximum)
        : CRuleBase(key), m_value(), m_minimum(minimum), m_maximum(maximum), m_bounded(true)
    {
    }

    const T& Get() const { return m_value; }
    operator const T&() const { return m_value; }

  protected:
    void ReadFrom(const CXmlNode* root) override;
    void Reset() override { m_value = T(); }

  private:
    T m_value;
    T m_minimum{};
    T m_maximum{};
    bool m_bounded = false;
};

extern template class CRule<int>;
extern template class CRule<float>;
extern template class CRule<bool>;
extern template class CRule<CString>;
extern template class CRule<Vector2<int>>;
extern template class CRule<Vector2<float>>;
extern template class CRule<Vector3<float>>;
extern template class CRule<Vector4<float>>;
