#include "creatures/CFloater.h"

#include "Graphics/CFont.h"
#include "Graphics/CFoundry.h"
#include "Graphics/CPrint.h"
#include "core/CClock.h"
#include "core/CRule.h"
#include "core/CScheduler.h"
#include "core/ContentLimits.h"
#include "core/Vector4.h"
#include "platform/CView.h"

#include <algorithm>

namespace
{
CRule<float> s_fadeInRule("ui/floaterfadein", 0.0f, kMaxContentSeconds);   // seconds
CRule<float> s_surviveRule("ui/floatersurvive", 0.0f, kMaxContentSeconds); // seconds
CRule<float> s_fadeOutRule("ui/floaterfadeout", 0.0f, kMaxContentSeconds); // seconds
CRule<float> s_sizeRule("ui/floatersize");       // whole-screen view units
CRule<Vector4<float>> s_colourRule("ui/floatercolour");
CRule<Vector4<float>> s_glowRule("ui/floaterglow");
CRule<int> s_animationInterval("interval/animation", CScheduler::kMinAnimationIntervalMs,
                               CScheduler::kMaxAnimationIntervalMs); // ms
CRule<CString> s_fontFace("default/fontface");

constexpr const char* kScope = "global";
constexpr const char* kPass = "floaters";

Vector2<float> s_offset;
} // namespace

CRef<CFloater> CFloater::Create(const CString& text, float x, float y, float size)
{
    return CRef<CFloater>::Adopt(new CFloater(text, x, y, size));
}

const Vector2<float>& CFloater::GetOffset()
{
    return s_offset;
}

void CFloater::SetOffset(const Vector2<float>& offset)
{
    s_offset = offset;
}

CFloater::CFloater(const CString& text, float x, float y, float size)
    : m_fadeIn(s_fadeInRule), m_survive(s_surviveRule), m_fadeOut(s_fadeOutRule), m_position(x, y),
      m_text(text), m_fontName(s_fontFace), m_phaseStart(CClock::Now())
{
    SetSize(size);
    m_self = this;
    Register(kScope, kPass);
    ScheduleIn(kScope, s_animationInterval);
}

CFloater::~CFloater()
{
    // A list being destroyed must not be looked up again.
    if (!m_listGone)
        Unregister(kScope, kPass);
}

void CFloater::SetSize(float size)
{
    m_size = size > 0.0f ? size : s_sizeRule.Get();
}

void CFloater::Refresh()
{
    if (m_state == kFinished)
        return;
    if (!m_self)
        m_self = this;
    const uint32_t now = CClock::Now();
    if (m_state == kSurviving)
        m_phaseStart = now;
    else if (m_state == kFadingOut)
    {
        // Back in time within the fade-in, so the opacity rises from where it stands.
        const float p = Progress(now);
        m_state = kFadingIn;
        m_phaseStart = now - uint32_t(SecondsToMs((1.0f - p) * m_fadeIn));
    }
}

void CFloater::Finish()
{
    m_state = kFinished;
    m_print.Reset();
    // Last: this may be the final reference.
    m_self.Reset();
}

void CFloater::Tick(float)
{
    const uint32_t now = CClock::Now();
    switch (m_state)
    {
    case kFinished:
        return;
    case kSurviving:
        m_opacity = 1.0f;
        if (CClock::Difference(m_phaseStart, now) >= SecondsToMs(m_survive))
        {
            m_state = kFadingOut;
            m_phaseStart = now;
        }
        break;
    case kFadingOut:
        m_opacity = 1.0f - Progress(now);
        if (m_opacity <= 0.0f)
        {
            // The scheduler holds us through this call.
            m_self.Reset();
            return;
        }
        break;
    case kFadingIn:
        m_opacity = Progress(now);
        if (m_opacity >= 1.0f)
        {
            m_state = kSurviving;
            m_phaseStart = now;
        }
        break;
    }
    if (m_opacity <= 0.0f)
        return;
    if (!m_print && !BuildPrint())
        return;

    Vector2<float> at = m_position + s_offset;
    if (m_centred)
        at = at - m_extent * 0.5f;
    m_print->SetPosition(at);
    m_print->SetOpacity(m_opacity);
}

void CFloater::Draw()
{
    if (m_state == kFinished)
        return;
    if (!m_self)
        m_self = this;
    if (GetRefCount() > 1)
        Refresh();
    if (m_print)
        m_print->Draw();
}

void CFloater::OnListDestroyed()
{
    m_listGone = true;
    Finish();
}

float CFloater::Progress(uint32_t now) const
{
    if (m_state == kFinished)
        return 1.0f;
    const int32_t elapsed = CClock::Difference(m_phaseStart, now);
    if (elapsed <= 0)
        return 0.0f;
    const float d = m_state == kFadingIn ? m_fadeIn : m_state == kSurviving ? m_survive : m_fadeOut;
    if (d <= 0.0f)
        return 1.0f;
    return std::clamp(float(elapsed) / 1000.0f / d, 0.0f, 1.0f);
}

bool CFloater::BuildPrint()
{
    CFoundry* foundry = CFoundry::Instance();
    const CRef<CFont> font = foundry->GetFont(m_fontName, 0);
    if (!font)
        return false;
    // Out of the font's cache: two floaters of one text must not share a position and opacity.
    m_print = font->GetPrint(m_text, false);
    if (!m_print)
        return false;

    const Vector4<float>& colour = s_colourRule.Get();
    m_print->SetVerticalAlign(CPrint::kAnchorAsIs);
    m_print->SetColour(colour);
    // A dark text needs the soft blob behind it to stand out.
    const bool blob = colour.x + colour.y + colour.z < 1.5f;
    m_print->SetGlow(s_glowRule.Get(), blob ? CPrint::kGlowBlob : CPrint::kGlowShapes);
    m_print->SetSize(m_size);
    m_extent = m_print->GetExtent() * m_print->GetScale();

    if (m_keepOnScreen)
    {
        const Vector4<float>& screen = CView::GetScreenView().GetRect();
        const float margin = 0.2f * m_size;
        m_position.x =
            std::max(screen.x + margin, std::min(m_position.x, screen.x + screen.z - m_extent.x - margin));
        m_position.y = std::max(screen.y, std::min(m_position.y, screen.y + screen.w - m_extent.y));
    }
    return true;
}
