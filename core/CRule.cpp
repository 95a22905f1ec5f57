#include "core/CRule.h"

#include "core/CXmlNode.h"
#include "core/Colour.h"
#include "core/ContentLimits.h"
#include "core/ParseBool.h"
#include "core/TextFields.h"

namespace
{
void Parse(const char* text, int& value)
{
    value = ParseInt(text);
}

void Parse(const char* text, float& value)
{
    value = float(ParseFloat(text));
}

void Parse(const char* text, bool& value)
{
    value = ParseBool(text);
}

void Parse(const char* text, CString& value)
{
    value = text;
}

void Parse(const char* text, Vector2<int>& value)
{
    int32_t fields[2] = {};
    ParseIntFields(text, fields, 2);
    value = Vector2<int>(fields[0], fields[1]);
}

void Parse(const char* text, Vector2<float>& value)
{
    float fields[2] = {};
    ParseFloatFields(text, fields, 2);
    value = Vector2<float>(fields[0], fields[1]);
}

void Parse(const char* text, Vector3<float>& value)
{
    float fields[3] = {};
    ParseFloatFields(text, fields, 3);
    value = Vector3<float>(fields[0], fields[1], fields[2]);
}

void Parse(const char* text, Vector4<float>& value)
{
    value = ParseColourText(text, value);
}

constexpr std::string_view kFile = "rules.xml";

void Bound(int& value, int minimum, int maximum, const CString& key)
{
    value = BoundCount(value, minimum, maximum, kFile, key);
}

void Bound(float& value, float minimum, float maximum, const CString& key)
{
    value = float(BoundValue(value, minimum, maximum, kFile, key));
}

template <typename V>
void Bound(Vector2<V>& value, const Vector2<V>& minimum, const Vector2<V>& maximum, const CString& key)
{
    Bound(value.x, minimum.x, maximum.x, key);
    Bound(value.y, minimum.y, maximum.y, key);
}

// Texts, flags and colours have no bounds.
template <typename T> void Bound(T&, const T&, const T&, const CString&) {}
} // namespace

template <typename T> void CRule<T>::ReadFrom(const CXmlNode* root)
{
    if (!root)
    {
        m_value = T();
        return;
    }
    const CString& text = root->GetAttribute(GetKey());
    if (!text.empty())
    {
        Parse(text.c_str(), m_value);
        if (m_bounded)
            Bound(m_value, m_minimum, m_maximum, GetKey());
    }
}

template class CRule<int>;
template class CRule<float>;
template class CRule<bool>;
template class CRule<CString>;
template class CRule<Vector2<int>>;
template class CRule<Vector2<float>>;
template class CRule<Vector3<float>>;
template class CRule<Vector4<float>>;
