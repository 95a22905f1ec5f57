#include "ui/CDivDaisy.h"

#include "core/CXmlNode.h"
#include "core/ParseBool.h"
#include "core/TextFields.h"
#include "ui/CDivPane.h"

namespace
{
const bool s_registered = (CDiv::RegisterTag("Daisy", &CDivDaisy::Create), true);

// The two round spots of the relief: radius and height, in diameters of the flower.
constexpr float kOuterRadius = 0.4f;
constexpr float kOuterHeight = 0.08f;
constexpr float kInnerRadius = 0.2f;
constexpr float kInnerHeight = 0.05f;
} // namespace

CDivDaisy::CDivDaisy() : CDiv("daisy")
{
    m_box = false;
    m_inline = true;
    Schedule(kUpdateMs);
}

CRef<CDiv> CDivDaisy::Create()
{
    return MakeRef<CDivDaisy>();
}

void CDivDaisy::Load(CXmlNode* element)
{
    CDiv::Load(element);
    if (!element)
        return;
    const CString& scale = element->GetAttribute("scale");
    m_scale = scale.empty() ? 1.0f : float(ParseFloat(scale.c_str()));
    m_daisy.SetShadowOffset(ParseFloatPair(element->GetAttribute("shadow").c_str(), kZeroVector2f));
    m_daisy.SetHold(ParseBool(element->GetAttribute("hold").c_str()));
}

CRef<CDivLine> CDivDaisy::Layout(CRef<CDivLine> line)
{
    const float d = GetDiameter();
    m_computedSize = Vector2<float>(d, d);
    return CDiv::Layout(line);
}

void CDivDaisy::Draw()
{
    CDiv::Draw();
    const float d = GetDiameter();
    m_daisy.SetPosition(m_position + Vector2<float>(d * 0.5f, d * 0.5f));
    m_daisy.SetSize(d);
    m_daisy.Draw();
}

void CDivDaisy::CollectEmboss(std::vector<float>& spots)
{
    const float d = GetDiameter();
    // Spots are screen pixels; the tree is laid out from its pane's corner.
    Vector2<float> centre = m_position + Vector2<float>(d * 0.5f, d * 0.5f);
    CDiv* root = GetRoot().Get();
    if (root && root->GetClassName() == "pane")
    {
        const Vector4<float>& rect = static_cast<CDivPane*>(root)->GetRect();
        centre += Vector2<float>(rect.x, rect.y);
    }
    spots.insert(spots.end(), {centre.x, centre.y, kOuterRadius * d, 0.0f, 0.0f, kOuterHeight * d});
    spots.insert(spots.end(), {centre.x, centre.y, kInnerRadius * d, 0.0f, 0.0f, kInnerHeight * d});
    CDiv::CollectEmboss(spots);
}

void CDivDaisy::Update(float dt)
{
    m_daisy.Update(dt);
}

void CDivDaisy::Rearm()
{
    m_daisy.Rearm();
    ScheduleIn("global", kUpdateMs);
}

float CDivDaisy::GetDiameter()
{
    return m_scale * GetScale() / CDivPane::kViewUnitsPerEm;
}
