#include "scene/CPreview.h"

#include "Graphics/CFont.h"
#include "Graphics/CFoundry.h"
#include "Graphics/CGraphics.h"
#include "Graphics/CMaterialSet.h"
#include "core/CRule.h"
#include "core/ContentLimits.h"
#include "puzzle/CPuzzles.h"

#include <algorithm>

namespace
{
CRule<float> s_fadeRule("ui/previewfade", 0.0f, kMaxContentSeconds); // seconds
CRule<CString> s_fontFace("default/fontface");

float Smooth(float p)
{
    p = std::clamp(p, 0.0f, 1.0f);
    return p * p * (3.0f - 2.0f * p);
}
} // namespace

CRef<CPreview> CPreview::Create(float x, float y, float w, float h)
{
    return CRef<CPreview>::Adopt(new CPreview(x, y, w, h));
}

CPreview::CPreview(float x, float y, float w, float h)
    : m_fade(&s_fadeRule.Get()), m_rect(x, y, x + w, y + h),
      m_shadowMaterial(CMaterialSet::Instance()->Find("previewshadow")),
      m_glowMaterial(CMaterialSet::Instance()->Find("previewglowie"))
{
}

float CPreview::ThumbAlpha(float f)
{
    return Smooth(2.0f * f);
}

float CPreview::BackAlpha(float f)
{
    return Smooth(2.0f * f - 0.5f);
}

float CPreview::TextAlpha(float f)
{
    return Smooth(2.0f * f - 1.0f);
}

void CPreview::Set(const CString& puzzle, const CString& first, const CString& second, int32_t number)
{
    m_puzzle = puzzle;
    m_first = first;
    m_second = second;
    m_number = number;
    m_fade.SetDirection(0.0f);
}

void CPreview::LoadWaiting()
{
    CMaterialSet* materials = CMaterialSet::Instance();
    m_thumbnailA = materials->Find("thm_" + m_first);
    m_thumbnailB = materials->Find("thm_" + m_second);
    const CPuzzles* puzzles = CPuzzles::Peek();
    if (puzzles && puzzles->IsAvailable(m_puzzle))
    {
        m_text = CString::Format("%d", m_number);
        m_backMaterial = m_glowMaterial;
        m_tint = Vector4<float>(1.0f, 1.0f, 1.0f, 1.0f);
        m_backColour = Vector4<float>(0.9f, 1.0f, 0.2f, 0.8f);
    }
    else
    {
        m_text.clear();
        m_backMaterial = m_shadowMaterial;
        m_tint = Vector4<float>(0.5f, 0.5f, 0.5f, 1.0f);
        m_backColour = Vector4<float>(0.0f, 0.0f, 0.0f, 0.8f);
    }
    m_first.clear();
    m_fade.SetDirection(1.0f);
}

void CPreview::Draw()
{
    float f = m_fade.Value();
    if (f <= 0.0f && !m_first.empty())
    {
        LoadWaiting();
        f = m_fade.Value();
    }
    if (f <= 0.0f || !m_thumbnailA)
        return;

    const float thumb = ThumbAlpha(f), back = BackAlpha(f), text = TextAlpha(f);
    const float x0 = m_rect.x, y0 = m_rect.y, x1 = m_rect.z, y1 = m_rect.w;
    const float w = x1 - x0, h = y1 - y0;
    const Vector4<float> uv(0.0f, 0.0f, 1.0f, 1.0f);
    CGraphics* graphics = CGraphics::Instance();
    graphics->DrawQuad3D(m_backMaterial, Vector3<float>(0.0f, 0.0f, 1.0f),
                         Vector4<float>(x0 - w / 4, y0 - h / 4, x1 + w / 4, y1 + h / 4),
                         Vector4<float>(m_backColour.x * m_tint.x, m_backColour.y * m_tint.y,
                                        m_backColour.z * m_tint.z, m_backColour.w * back),
                         uv, 0.0f);
    const Vector4<float> tint(m_tint.x, m_tint.y, m_tint.z, thumb);
    graphics->DrawQuad3D(m_thumbnailA, Vector3<float>(0.0f, 0.0f, 1.0f), m_rect, tint, uv, 0.0f);
    graphics->DrawQuad3D(m_thumbnailB, Vector3<float>(0.0f, 0.0f, 1.0f), m_rect, tint, uv, 0.0f);

    if (!m_print || m_printed != m_text)
    {
        m_print.Reset();
        if (CRef<CFont> font = CFoundry::Instance()->GetFont(s_fontFace, 0))
            m_print = font->GetPrint(m_text, true);
        m_printed = m_text;
    }
    if (!m_print)
        return;
    m_print->SetColour(Vector4<float>(0.0f, 0.0f, 0.0f, text));
    m_print->SetGlow(Vector4<float>(0.9f * m_tint.x, m_tint.y, 0.2f * m_tint.z, 0.8f * text), 1);
    m_print->SetAlign(1);
    m_print->SetPosition(Vector2<float>(x0 + 0.75f * w, y0 + 0.85f * h));
    m_print->SetSize(0.33f * h);
    m_print->Draw();
}
