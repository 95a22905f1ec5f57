#include "core/CPreference.h"

#include "core/CPreferences.h"
#include "core/ParseBool.h"
#include "core/TextFields.h"

namespace
{
void Parse(const char* text, float& value)
{
    value = float(ParseFloat(text));
}

void Parse(const char* text, bool& value)
{
    value = ParseBool(text);
}

CString Format(float value)
{
    return CString::Format("%f", double(value));
}

CString Format(bool value)
{
    return value ? "true" : "false";
}
} // namespace

template <typename T>
CPreference<T>::CPreference(const char* key, T defaultValue) : CPreferenceBase(key), m_value(defaultValue), m_default(defaultValue)
{
    const CPreferences* preferences = CSingleton<CPreferences>::Peek();
    if (preferences && preferences->IsLoaded())
        Read();
}

template <typename T> void CPreference<T>::Read()
{
    CPreferences* preferences = CSingleton<CPreferences>::Instance();
    const CString& text = preferences->GetString(GetKey());
    if (!text.empty())
    {
        Parse(text.c_str(), m_value);
        return;
    }
    preferences->SetString(GetKey(), Format(m_value));
}

template class CPreference<float>;
template class CPreference<bool>;
