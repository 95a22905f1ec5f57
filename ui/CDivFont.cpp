#include "ui/CDivFont.h"

#include "core/CRule.h"
#include "core/CXmlNode.h"
#include "core/Colour.h"
#include "core/TextFields.h"

#include <cmath>

namespace
{
CRule<int> s_defaultFontSize("default/fontsize", CDiv::kMinDefaultFontSize,
                             CDiv::kMaxDefaultFontSize); // em

// Each "size" step above 3 makes the text this many times larger.
constexpr float kSizeStep = 1.35f;
constexpr float kDefaultStep = 3.0f;

const bool s_registered = (CDiv::RegisterTag("Font", &CDivFont::Create), true);
} // namespace

CDivFont::CDivFont() : CDiv("font")
{
    m_box = false;
}

CRef<CDiv> CDivFont::Create()
{
    return MakeRef<CDivFont>();
}

void CDivFont::Load(CXmlNode* element)
{
    CDiv::Load(element);
    if (!element)
        return;
    m_colour = ParseColourText(element->GetAttribute("color").c_str(), m_colour);
    m_shadowColour = ParseColourText(element->GetAttribute("glow").c_str(), m_shadowColour);
    const CString& size = element->GetAttribute("size");
    if (!size.empty())
        m_fontSize = SizeOfStep(float(ParseFloat(size.c_str())));
}

float CDivFont::SizeOfStep(float step)
{
    return float(s_defaultFontSize.Get()) * std::pow(kSizeStep, step - kDefaultStep);
}
