#include "scene/CVerge.h"

#include "Graphics/CMaterialSet.h"
#include "Graphics/MatrixScope.h"
#include "core/CFileSystem.h"
#include "core/CRule.h"
#include "core/ContentLimits.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/Colour.h"
#include "core/MathConstants.h"
#include "core/Random.h"
#include "core/TextFields.h"
#include "creatures/CFloater.h"
#include "platform/CView.h"
#include "platform/InputEvent.h"
#include "puzzle/CPuzzles.h"
#include "ui/CButtonTransitionGrow.h"
#include "ui/CButtons.h"

#include <GLES/gl.h>
#include <algorithm>
#include <cmath>

namespace
{
// Seconds; below 0 the first buttons start their growth under way.
CRule<float> s_growDelay("ui/growtransitiondelay", -kMaxContentSeconds, kMaxContentSeconds);

constexpr int32_t kMaxRange = 10000;
// Points tried along the spiral in one layout: a spacing far below the buttons' size would
// otherwise walk for minutes. The shipped chooser tries a few hundred.
constexpr int32_t kMaxSpiralSteps = 1 << 20;
constexpr const char* kPuzzleAction = "puzzle";

// Up to count comma fields; a missing first field is 0, a missing later one repeats the one
// before; def when the text is empty.
template <int N>
void ReadFloats(const CXmlNode& element, const char* name, float (&values)[N], std::initializer_list<float> def)
{
    const CString& text = element.GetAttribute(name);
    if (text.empty())
    {
        std::copy(def.begin(), def.end(), values);
        return;
    }
    ParseFloatFields(text.c_str(), values, N);
}

float ReadFloat(const CXmlNode& element, const char* name, float def)
{
    const CString& text = element.GetAttribute(name);
    return text.empty() ? def : float(ParseFloat(text.c_str()));
}

// Uniform in [min, max) when min < max, else min.
float Pick(const float (&range)[2])
{
    return range[0] < range[1] ? range[0] + float(GlobalRandom().NextFraction()) * (range[1] - range[0]) : range[0];
}

// Green lies in [1 - b, 1): a little variety between otherwise equal buttons.
float GreenOf(float b)
{
    return std::min(1.0f, (1.0f - b) + float(GlobalRandom().NextFraction()) * b);
}

// cos and sin through t = tan(angle / 2).
Vector2<float> UnitAt(float angle)
{
    const float t = std::tan(angle * 0.5f);
    return Vector2<float>((1.0f - t * t) / (1.0f + t * t), 2.0f * t / (1.0f + t * t));
}
} // namespace

CRef<CVerge::CPuzzleData> CVerge::CPuzzleData::Create(const CString& name)
{
    CXmlDocument document("puzzle/" + name, CFileSystem::kInDataFolder);
    CXmlNode* root = document.GetRoot();
    if (!document.IsLoaded() || !root)
        return CRef<CPuzzleData>();
    CRef<CPuzzleData> data = CRef<CPuzzleData>::Adopt(new CPuzzleData());
    if (CXmlNode* pond = root->FindChild("pond"))
        data->pondTemplate = pond->GetAttribute("template");
    if (CXmlNode* frog = root->FindChild("frog"))
        data->species = frog->GetAttribute("species");
    if (CXmlNode* hint = root->FindChild("hint"))
        for (CXmlNode* child = hint->FirstChild(); child; child = child->NextSibling())
            if (child->GetName() != CXmlNode::kContentName)
                ++data->hints;
    return data;
}

CVerge::CVerge() = default;

CVerge::~CVerge()
{
    m_shownPreview.clear();
    m_preview.Reset();
    m_buttons.clear();
    Unregister();
}

int32_t CVerge::PuzzleNumber(const CButton& button)
{
    if (button.attributes.compare(0, 6, kPuzzleAction) != 0)
        return -1;
    return ParseInt(button.attributes.c_str() + 6);
}

void CVerge::Load(CXmlNode& element)
{
    m_name = element.GetAttribute("name");
    float side[2];
    ReadFloats(element, "side", side, {0.0f, 0.0f});
    m_side = Vector2<float>(side[0], side[1]);
    m_height = ReadFloat(element, "height", 0.0f);

    m_backdrop.SetMaterial(CMaterialSet::Instance()->Find(element.GetAttribute("material")));
    m_backdrop.SetQuadUv(0, 0, Vector4<float>(0.0f, 0.0f, 1.5f, 1.0f));
    m_backdrop.SetColour(Vector4<float>(1.0f, 1.0f, 1.0f, 1.0f));
    m_backdrop.rotation = m_side.y == 0.0f ? (m_side.x > 0.0f ? 0.0f : 180.0f) : m_side.y > 0.0f ? 90.0f : 270.0f;

    m_buttons.clear();
    for (CXmlNode* child = element.FirstChild(); child; child = child->NextSibling())
        if (child->GetName() == "button")
        {
            m_buttons.push_back(std::make_unique<CButton>());
            m_buttons.back()->Load(*child);
        }

    CXmlNode* puzzles = element.FindChild("puzzles");
    CXmlNode* model = puzzles ? puzzles->FindChild("button") : nullptr;
    if (puzzles)
    {
        int32_t range[2] = {0, 9999};
        if (!puzzles->GetAttribute("range").empty())
            ParseIntFields(puzzles->GetAttribute("range").c_str(), range, 2);
        const int32_t first = range[0];
        const int32_t count = std::clamp(range[1] + 1 - first, 0, kMaxRange);
        float scaly[2], angly[2], origin[2], preview[2];
        ReadFloats(*puzzles, "scaly", scaly, {1.0f, 1.0f});
        ReadFloats(*puzzles, "angly", angly, {0.0f, 0.0f});
        m_buttonSpacing = ReadFloat(*puzzles, "buttonspacing", 0.5f);
        m_gapSpacing = ReadFloat(*puzzles, "gapspacing", 0.2f);
        m_spiralSpacing = ReadFloat(*puzzles, "spiralspacing", 0.65f);
        ReadFloats(*puzzles, "origin", origin, {2.0f, 2.0f});
        ReadFloats(*puzzles, "previewsize", preview, {2.0f, 2.0f});
        m_origin = Vector2<float>(origin[0], origin[1]);
        m_previewSize = Vector2<float>(preview[0], preview[1]);

        const CPuzzles* collection = CPuzzles::Instance();
        int32_t smallest = first + count, largest = first;
        CString name = model ? collection->FirstAfterNumber(first - 1) : CString();
        while (!name.empty())
        {
            const int32_t number = CPuzzles::NumberOf(name);
            // Numbers rise through the collection; one past the range ends the walk.
            if (number < first || number >= first + count)
                break;
            model->SetAttribute("attributes", name);
            model->SetAttribute("position", CString::Format("%f,%f", 0.0, 0.0));
            model->SetAttribute("scale", CString::Format("%f", double(Pick(scaly))));
            model->SetAttribute("angle", CString::Format("%f", double(Pick(angly))));
            m_buttons.push_back(std::make_unique<CButton>());
            CButton& button = *m_buttons.back();
            button.Load(*model);
            button.transition = CButtonTransitionGrow::Create();
            button.userData = CPuzzleData::Create(name);
            m_colourRange = ParseColourText(model->GetAttribute("colourrange").c_str(), Vector4<float>());
            smallest = std::min(smallest, number);
            largest = std::max(largest, number);
            const CString next = collection->NextPuzzle(name);
            if (next.empty() || CPuzzles::NumberOf(next) < first)
                break;
            name = next;
        }
        if (smallest < largest)
            for (const std::unique_ptr<CButton>& button : m_buttons)
            {
                const int32_t number = PuzzleNumber(*button);
                if (number < 0)
                    continue;
                const float t = float(number - smallest) / float(largest - smallest);
                const float a = m_colourRange.x, b = m_colourRange.y, c = m_colourRange.z;
                button->colour.x = (1.0f - a) + 2.0f * a * std::min(t, 0.5f);
                button->colour.y = GreenOf(b);
                button->colour.z = (1.0f - c) + 2.0f * c * std::min(1.0f - t, 0.5f);
            }
    }

    Resize();
    RegisterInCurrentScope("frontend");
}

void CVerge::ColourByProgress()
{
    const CPuzzles* puzzles = CPuzzles::Instance();
    const float a = m_colourRange.x, b = m_colourRange.y, c = m_colourRange.z;
    for (const std::unique_ptr<CButton>& button : m_buttons)
    {
        if (button->action != kPuzzleAction)
            continue;
        const CString& name = button->attributes;
        if (!puzzles->HasRecord(name))
        {
            button->stateSet = 0;
            button->active = puzzles->IsAvailable(name);
            continue;
        }
        button->stateSet = 1;
        button->active = true;
        const float s = puzzles->GetBestScore(name);
        Vector4<float> colour(1.0f, 1.0f, 1.0f, 1.0f);
        if (s > 0.5f)
            colour.x = (1.0f - a) + a * std::pow(std::clamp(1.5f - s, 0.0f, 1.0f), 1.25f);
        else
            colour.z = (1.0f - c) + c * std::pow(std::clamp(2.0f * s, 0.0f, 1.0f), 1.25f);
        colour.y = GreenOf(b);
        const float brightness = std::clamp(0.5f + 0.5f * s, 0.0f, 1.0f);
        colour.x *= brightness, colour.y *= brightness, colour.z *= brightness;
        button->colour = colour;
    }
}

void CVerge::Layout(const Vector4<float>& view)
{
    const float k = m_spiralSpacing / kTwoPi;
    float theta = 620.0f * kTwoPi / 360.0f;
    // Without spacing the spiral has no length: everything is parked.
    const float thetaEnd = k > 0.0f ? 12.0f / k : 0.0f;
    const Vector2<float> offset(m_side.x * view.z * m_height, m_side.y * view.w * m_height);
    const float left = view.x + offset.x + 1.0f, top = view.y + offset.y + 1.0f;
    const float width = view.z - 2.0f, bottom = top + view.w - 2.0f;
    const Vector2<float> centre(left + m_origin.x, bottom - m_origin.y);

    uint32_t prev = UINT32_MAX;
    bool ended = false;
    int32_t steps = 0;
    for (const std::unique_ptr<CButton>& button : m_buttons)
    {
        const int32_t number = PuzzleNumber(*button);
        if (number < 0)
        {
            const Vector3<float> at = button->GetScreenPosition();
            button->SetScreenPosition(Vector2<float>(at.x, at.y) + (centre - m_centre));
            continue;
        }
        if (ended)
        {
            button->SetScreenPosition(Vector2<float>(kParked, kParked));
            continue;
        }
        const uint32_t n = uint32_t(number);
        if (n <= prev)
            prev = n;
        float r = k * theta;
        // A gap in the numbers leaves a gap on the spiral.
        while (prev < n && theta < thetaEnd && r > 0.0f)
        {
            theta += m_gapSpacing / r;
            ++prev;
        }
        bool placed = false;
        while (theta < thetaEnd && r > 0.0f && steps < kMaxSpiralSteps)
        {
            ++steps;
            const Vector2<float> p = centre + UnitAt(theta) * r;
            const float before = theta;
            theta += m_buttonSpacing / r;
            if (p.x >= left && p.x < left + width && p.y >= top && p.y < bottom)
            {
                button->SetScreenPosition(p);
                placed = true;
                break;
            }
            // A spacing of 0 or less (or too small to move theta) never leaves this point.
            if (!(theta > before))
                break;
            r = k * theta;
        }
        if (!placed)
        {
            ended = true;
            button->SetScreenPosition(Vector2<float>(kParked, kParked));
        }
    }
    m_centre = centre;

    const Vector2<float> q(centre.x - 0.33f * m_spiralSpacing, centre.y + 0.22f * m_spiralSpacing);
    m_preview = CPreview::Create(q.x - 0.9f, q.y - 0.9f, 1.8f, 1.8f);
    m_shownPreview.clear();
}

void CVerge::Resize()
{
    ColourByProgress();
    CView& view = CView::GetCurrent();
    Layout(view.GetRect());

    const Vector4<float> v = view.GetRect();
    const float e = view.GetMaxExtent() * 0.5f;
    const float p = view.GetUnitsPerPixel().x;
    m_backdrop.translation = Vector3<float>(v.x + v.z / 2 + m_side.x * v.z / 2 + e * m_side.x,
                                            v.y + v.w / 2 + m_side.y * v.w / 2 + e * m_side.y, 1.0f);
    m_backdrop.SetQuadRect(0, Vector4<float>(-e, -(e + p), 2.0f * e, e + p));
}

void CVerge::Update()
{
    const CButton* due = nullptr;
    for (const std::unique_ptr<CButton>& button : m_buttons)
    {
        button->Update();
        if (PuzzleNumber(*button) >= 0 && button->IsTipDue())
            due = button.get();
    }
    if (!m_preview)
        return;
    if (due && due->attributes != m_shownPreview)
    {
        // The hovered puzzle in the preview: its own thumbnail over its pond's.
        const CPuzzleData* data = static_cast<const CPuzzleData*>(due->userData.Get());
        m_shownPreview = due->attributes;
        m_preview->Set(due->attributes, data ? data->pondTemplate : due->attributes, due->attributes,
                       PuzzleNumber(*due));
    }
    else if (!due && !m_shownPreview.empty())
    {
        m_preview->Set(CString(), CString(), CString(), 0);
        m_shownPreview.clear();
    }
}

Vector2<float> CVerge::NudgeOffset() const
{
    const CPond* pond = GetPond();
    return pond ? m_height * pond->GetNudge() : Vector2<float>();
}

void CVerge::Draw()
{
    if (!m_pond)
        return;
    const Vector2<float> offset = NudgeOffset();
    const MatrixScope matrix;
    glTranslatef(offset.x, offset.y, 0.0f);
    CFloater::SetOffset(offset);
    m_backdrop.Draw();
    if (m_preview)
        m_preview->Draw();
    // The hovered button last, so that it lies on top.
    const CButton* hover = CButton::GetCurrent();
    CButton* last = nullptr;
    for (const std::unique_ptr<CButton>& button : m_buttons)
    {
        if (button.get() == hover)
            last = button.get();
        else
            button->Draw();
    }
    if (last)
        last->Draw();
}

void CVerge::StartGrowIn()
{
    float delay = s_growDelay;
    float step = 0.05f;
    for (const std::unique_ptr<CButton>& button : m_buttons)
    {
        if (!button->transition || !button->IsEnabled())
            continue;
        button->transition->Start(0, delay + float(GlobalRandom().NextFraction()) * 0.1f - 0.05f);
        delay += step;
        step *= 0.98f;
    }
    CButtons::Instance()->SetEnabled("back", true);
}

bool CVerge::PointOf(const InputEvent& event, Vector2<float>& point) const
{
    const CPond* pond = GetPond();
    if (!pond || pond->IsNudging())
        return false;
    point = CView::GetCurrent().ScreenToView(event.position) - NudgeOffset();
    return true;
}

bool CVerge::OnPress(const InputEvent& event)
{
    Vector2<float> point;
    if (!PointOf(event, point))
        return false;
    for (const std::unique_ptr<CButton>& button : m_buttons)
        if (button->OnPress(point))
            return true;
    return false;
}

bool CVerge::OnMove(const InputEvent& event)
{
    Vector2<float> point;
    if (!PointOf(event, point))
        return false;
    for (const std::unique_ptr<CButton>& button : m_buttons)
        button->OnMotion(point, (event.held & InputEvent::kLeft) != 0);
    return false;
}

bool CVerge::OnRelease(const InputEvent& event)
{
    Vector2<float> point;
    if (!PointOf(event, point))
        return false;
    for (const std::unique_ptr<CButton>& button : m_buttons)
        button->OnRelease(point);
    return false;
}
