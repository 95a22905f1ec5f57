#include "scene/CDebug.h"

#include "Graphics/CFoundry.h"
#include "Graphics/CGraphics.h"
#include "core/CRule.h"
#include "core/ContentLimits.h"
#include "platform/CDirectJ.h"

#include <algorithm>
#include <cmath>

REGISTER_SINGLETON(CDebug, "global", 50);

namespace
{
CRule<CString> s_fontFace("default/fontface");

int64_t Now()
{
    const CDirectJ* platform = CDirectJ::Peek();
    return platform ? int64_t(platform->GetTicks()) : 0;
}

int64_t ExpiryOf(float lifetime)
{
    return Now() + SecondsToMs(lifetime);
}

// cos and sin of angle through t = tan(angle / 2), exact at the multiples of 90 degrees.
Vector2<float> UnitAt(double degrees)
{
    const double t = std::tan(degrees * 3.14159265358979323846 / 360.0);
    return Vector2<float>(float((1.0 - t * t) / (1.0 + t * t)), float(2.0 * t / (1.0 + t * t)));
}
} // namespace

CDebug::CDebug()
{
    Register("global", "debug");
}

CDebug::~CDebug()
{
    if (CDrawing::IsRegistered())
        Unregister("global", "debug");
}

void CDebug::AddLine(const Vector2<float>& start, const Vector2<float>& end, const Vector4<float>& colour,
                     float lifetime)
{
    m_lines.push_back({start, end, colour, ExpiryOf(lifetime)});
}

void CDebug::AddCircle(const Vector2<float>& centre, float radius, const Vector4<float>& colour, float lifetime)
{
    // tan(90 degrees) is infinite; its point is (0, 1) exactly, and 360 degrees closes on the
    // first point.
    auto point = [&](int k)
    {
        const int degrees = (15 * k) % 360;
        const Vector2<float> unit = degrees == 180 ? Vector2<float>(-1.0f, 0.0f) : UnitAt(double(degrees));
        return centre + unit * radius;
    };
    for (int k = 1; k <= 24; ++k)
        AddLine(point(k - 1), point(k), colour, lifetime);
}

void CDebug::AddText(const Vector2<float>& position, const CString& text, float lifetime)
{
    m_texts.push_back({position, text, ExpiryOf(lifetime)});
}

void CDebug::Expire(int64_t now)
{
    m_lines.erase(std::remove_if(m_lines.begin(), m_lines.end(), [now](const Line& l) { return l.expiry <= now; }),
                  m_lines.end());
    m_texts.erase(std::remove_if(m_texts.begin(), m_texts.end(), [now](const Text& t) { return t.expiry <= now; }),
                  m_texts.end());
}

void CDebug::Draw()
{
    Expire(Now());
    if (m_lines.empty() && m_texts.empty())
        return;
    CGraphics* graphics = CGraphics::Instance();
    for (const Line& line : m_lines)
        graphics->DrawLine(line.start, line.end, line.colour, 0.001f, false);
    if (m_texts.empty())
        return;
    if (!m_font)
        m_font = CFoundry::Instance()->GetFont(s_fontFace, 0);
    if (!m_font)
        return;
    for (const Text& text : m_texts)
        m_font->DrawText(text.text, text.position, 1.0f, Vector4<float>(0.0f, 0.0f, 0.0f, 1.0f));
}
