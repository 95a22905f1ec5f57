#include "scene/CStatFrame.h"

#include "Graphics/CGraphics.h"
#include "Graphics/CMaterialSet.h"
#include "core/CXmlNode.h"
#include "core/Colour.h"
#include "core/TextFields.h"
#include "platform/CDirectJ.h"

#include <algorithm>

REGISTER_SINGLETON(CStatFrame, "maingame", 50);

namespace
{
float ReadSeconds(const CXmlNode* element, const char* name, float def)
{
    const CString& text = element->GetAttribute(name);
    return text.empty() ? def : float(ParseFloat(text.c_str()));
}
} // namespace

CStatFrame::CStatFrame()
{
    Register("maingame", "statframe");
}

CStatFrame::~CStatFrame()
{
    if (CDrawing::IsRegistered())
        Unregister("maingame", "statframe");
}

void CStatFrame::Read(const CXmlNode* element)
{
    m_shown = false;
    if (!element)
        return;
    m_material = CMaterialSet::Instance()->Find(element->GetAttribute("material"));
    m_colour = ParseColourText(element->GetAttribute("colour").c_str(), Vector4<float>(1.0f, 1.0f, 1.0f, 1.0f));
    m_fadeInTime = ReadSeconds(element, "fadein", 1.0f);
    m_fadeOutTime = ReadSeconds(element, "fadeout", 1.0f);
    const Vector4<float> place =
        ParseColourText(element->GetAttribute("placement").c_str(), Vector4<float>(0.0f, 0.0f, 7.0f, 7.0f));
    m_placement = Vector4<float>(place.x, place.y, place.x + place.z, place.y + place.w);
}

void CStatFrame::Show(bool fadeIn)
{
    m_shown = true;
    m_fadingIn = fadeIn;
    m_start = 0;
}

float CStatFrame::AlphaAt(uint32_t now)
{
    if (!m_shown)
        return 0.0f;
    if (m_start == 0)
        m_start = now;
    const float elapsed = float(int64_t(now) - int64_t(m_start)) * 0.001f;
    // A zero fade time is an instant change rather than a division by zero.
    if (m_fadingIn)
        return m_fadeInTime > 0.0f ? std::clamp(elapsed / m_fadeInTime, 0.0f, 1.0f) : 1.0f;
    const float t = m_fadeOutTime > 0.0f ? elapsed / m_fadeOutTime : 2.0f;
    if (t > 1.0f)
    {
        m_shown = false;
        return 0.0f;
    }
    return t < 0.0f ? 1.0f : 1.0f - t;
}

void CStatFrame::Draw()
{
    if (!m_shown)
        return;
    const CDirectJ* platform = CDirectJ::Peek();
    const float alpha = AlphaAt(platform ? platform->GetTicks() : 0);
    if (!m_shown)
        return;
    Vector4<float> colour = m_colour;
    colour.w *= alpha;
    CGraphics::Instance()->DrawQuad(m_material, Vector2<float>(0.0f, 0.0f), m_placement, colour,
                                    Vector4<float>(0.0f, 0.0f, 1.0f, 1.0f), 0.0f);
}
