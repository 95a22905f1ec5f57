#include "ui/CDivA.h"

#include "core/CClock.h"
#include "core/CXmlNode.h"
#include "core/ContentLimits.h"
#include "core/TextFields.h"
#include "platform/InputEvent.h"
#include "ui/CButtonServices.h"

#include <cstring>

namespace
{
const bool s_registered = (CDiv::RegisterTag("A", &CDivA::Create), true);

uint32_t Milliseconds(float seconds)
{
    return uint32_t(SecondsToMs(seconds));
}
} // namespace

CDivA::CDivA() : CDiv("a")
{
    m_box = false;
}

CRef<CDiv> CDivA::Create()
{
    return MakeRef<CDivA>();
}

void CDivA::Load(CXmlNode* element)
{
    CDiv::Load(element);
    if (!element)
        return;
    m_href = element->GetAttribute("href");
    m_value = element->GetAttribute("value");
    const CString& throttle = element->GetAttribute("throttle");
    m_throttle = throttle.empty() ? 1.0f : float(ParseFloat(throttle.c_str()));
    m_nextAllowed = CClock::Now() - Milliseconds(m_throttle) - 1;
    AddHandlerBits(kHandlesPress | kHandlesRelease | kHandlesMotion);
    m_inline = true;
}

void CDivA::Draw()
{
    if (IsPressed())
        CButtonServices::Get().SetMarkerPosition(m_pressPoint);
}

bool CDivA::IsRaised()
{
    return false;
}

bool CDivA::IsPressed()
{
    return m_pressed && m_pressPoint != kUnsetVector2f && m_enabled && !IsResting();
}

bool CDivA::OnMotion(const InputEvent& event)
{
    m_pressed = HitTest(event.position);
    if (!((event.held & InputEvent::kLeft) && m_pressed))
        m_pressPoint = kUnsetVector2f;
    return false;
}

bool CDivA::OnPress(const InputEvent& event)
{
    if (m_active && HitTest(event.position))
    {
        m_pressed = true;
        m_pressPoint = CButtonServices::Get().GetPointerPosition();
        return true;
    }
    m_pressed = false;
    return false;
}

bool CDivA::OnRelease(const InputEvent& event)
{
    m_pressed = HitTest(event.position);
    if (!m_active || !m_enabled || IsResting())
    {
        m_pressPoint = kUnsetVector2f;
        return false;
    }
    // A press that began elsewhere fires nothing, nor one whose marker the cursor has not shown.
    if (m_pressed && !m_href.empty() && m_pressPoint != kUnsetVector2f && CButtonServices::Get().IsMarkerShown())
    {
        if (IsWebAddress(m_href))
            CButtonServices::Get().LaunchBrowser(m_href.c_str());
        else
            CButtonServices::Get().PostMessage(m_href.c_str(), m_value.c_str());
        m_nextAllowed = CClock::Now() + Milliseconds(m_throttle);
    }
    m_pressPoint = kUnsetVector2f;
    return m_pressed;
}

bool CDivA::IsWebAddress(const CString& href)
{
    return strncmp(href.c_str(), "http://", 7) == 0 || strncmp(href.c_str(), "https://", 8) == 0;
}

bool CDivA::IsResting() const
{
    return CClock::Difference(CClock::Now(), m_nextAllowed) > 0;
}
