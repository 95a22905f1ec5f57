#include "scene/CLayerBoard.h"

#include "Graphics/CMaterial.h"
#include "Graphics/CMaterialSet.h"
#include "Graphics/MatrixScope.h"
#include "core/CClock.h"
#include "core/CPreference.h"
#include "core/CRule.h"
#include "core/ContentLimits.h"
#include "core/CScheduler.h"
#include "core/CXmlNode.h"
#include "core/MathConstants.h"
#include "core/Random.h"
#include "core/ReadColourAttribute.h"
#include "creatures/EnticeGlowColour.h"
#include "platform/CView.h"
#include "puzzle/CPuzzle.h"
#include "puzzle/Pose.h"
#include "scene/LayerKindMap.h"

#include <GLES/gl.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace
{
[[maybe_unused]] const bool s_registered = LayerKindMap::Register("Board", &CLayerBoard::Make);

CRule<float> s_softShadows("graphics/softshadows");   // board units
CRule<float> s_knobFadeTime("graphics/knobfadetime", 0.0f, kMaxContentSeconds); // seconds
CRule<int> s_animationInterval("interval/animation", CScheduler::kMinAnimationIntervalMs,
                               CScheduler::kMaxAnimationIntervalMs); // ms
CPreference<float> s_shadowQuality("shadowquality", 0.75f);

CLayerBoard::ShadowDrawer s_shadowDrawer = nullptr;
CLayerBoard::HintDrawer s_hintDrawer = nullptr;
CLayerBoard::FlyLoader s_flyLoader = nullptr;

const Vector4<float> kDefaultGlowColour(0.5f, 0.5f, 0.4f, 1.0f);
const Vector4<float> kDefaultShadowColour(0.0f, 0.25f, 0.0f, 0.6f);
// Faint shadow passes would vanish in an 8-bit frame buffer.
constexpr float kMinShadowAlpha = 0.125f;
// Squared board units: a cell this near another counts as the same cell.
constexpr float kSameCellSquared = 0.25f;

constexpr const char* kLimbTypes[] = {"handl", "handr", "footl", "footr"};

float DistanceSquared(const Vector2<float>& a, const Vector2<float>& b)
{
    const Vector2<float> d = a - b;
    return Dot(d, d);
}

Vector2<float> CellOf(const Vector2<int>& cell)
{
    return Vector2<float>(float(cell.x), float(cell.y));
}
} // namespace

CLayerBoard::ShadowDrawer CLayerBoard::SetShadowDrawer(ShadowDrawer drawer)
{
    return std::exchange(s_shadowDrawer, drawer);
}

CLayerBoard::HintDrawer CLayerBoard::SetHintDrawer(HintDrawer drawer)
{
    return std::exchange(s_hintDrawer, drawer);
}

CLayerBoard::FlyLoader CLayerBoard::SetFlyLoader(FlyLoader loader)
{
    return std::exchange(s_flyLoader, loader);
}

CLayerBoard::CLayerBoard() : CLayer("CLayerBoard") {}

CRef<CLayer> CLayerBoard::Make()
{
    return MakeRef<CLayerBoard>();
}

void CLayerBoard::Load(CXmlNode& element)
{
    CLayer::Load(element);
    m_layoutStamp = -1;
    SetEnticeGlowColour(ReadColourAttribute(&element, "glowcolour", kDefaultGlowColour));

    // The per-pass colour is derived at each draw from the raw colour, since the pass count
    // follows the live "shadowquality".
    m_shadowColour = ReadColourAttribute(&element, "shadowcolour", kDefaultShadowColour);
    m_shadowQuad = QuadBatch();
    if (m_shadowColour.w > 0.0f)
    {
        const CString& name = element.GetAttribute("shadowmaterial");
        m_shadowQuad.SetMaterial(CMaterialSet::Instance()->Find(name.empty() ? CString("frogshadow") : name));
        m_shadowQuad.SetQuadRect(0, kZeroVector4f);
    }

    m_knobSet.clear();
    m_instances.clear();
    bool flyLoaded = false;
    for (CXmlNode* child = element.FirstChild(); child; child = child->NextSibling())
    {
        if (child->GetName() == "knob")
            m_knobSet.push_back(CKnob::Create(*child));
        else if (child->GetName() == "fly" && !flyLoaded)
        {
            flyLoaded = true;
            if (s_flyLoader)
                s_flyLoader(*child);
        }
    }
}

void CLayerBoard::Update(float)
{
    const float step = FadeStep(s_animationInterval.Get(), s_knobFadeTime.Get());
    for (KnobInstance& instance : m_instances)
        instance.fade =
            instance.dimmed ? std::max(0.0f, instance.fade - step) : std::min(1.0f, instance.fade + step);
}

void CLayerBoard::SetTargets(const std::vector<Vector2<float>>& cells)
{
    for (KnobInstance& instance : m_instances)
    {
        instance.dimmed = !cells.empty();
        for (const Vector2<float>& cell : cells)
            if (DistanceSquared(cell, instance.cell) < kSameCellSquared)
            {
                instance.dimmed = false;
                break;
            }
    }
}

void CLayerBoard::Draw()
{
    RebuildKnobs();
    const Vector2<float> offset = GetOffset();

    if (m_quad.material)
    {
        if (m_fit == kFitExact)
        {
            const CView pixels(CView::kPixels);
            m_quad.Draw();
        }
        else
        {
            const MatrixScope matrix;
            glTranslatef(offset.x, offset.y, 0.0f);
            m_quad.Draw();
        }
    }

    if (s_hintDrawer)
        s_hintDrawer();

    if (m_shadowQuad.material)
        DrawShadow(offset, PlanShadow(s_shadowQuality.Get(), s_softShadows.Get()));

    for (const KnobInstance& instance : m_instances)
        instance.knob->Draw(offset + instance.cell, instance.fade);
}

void CLayerBoard::Affect()
{
    if (!m_quad.material)
        return;
    CMaterial& material = *m_quad.material;
    const uint32_t* mask = material.GetColourMask();
    const bool kept[4] = {mask[0] != 0, mask[1] != 0, mask[2] != 0, mask[3] != 0};
    const Vector4<float> colour = m_quad.GetColour();

    const MatrixScope matrix;
    const Vector2<float> offset = GetOffset();
    glTranslatef(offset.x, offset.y, 0.0f);
    material.SetColourMask(true, false, false, false);
    m_quad.SetColour(Vector4<float>(PulseRed(CClock::Now()), 0.0f, 0.0f, 1.0f));
    m_quad.Draw();
    // The layer's own "colour", which need not be white.
    m_quad.SetColour(colour);
    material.SetColourMask(kept[0], kept[1], kept[2], kept[3]);
}

void CLayerBoard::RebuildKnobs()
{
    CPuzzle* puzzle = CPuzzle::Peek();
    // Without a puzzle (the front end) there is no layout to show; a board there stays bare
    // rather than making the in-game puzzle.
    if (!puzzle || m_layoutStamp == int64_t(puzzle->GetChangeCounter()))
        return;

    m_instances.clear();
    for (auto& [cell, knob] : puzzle->EditKnobs())
    {
        if (knob.homeOrGoalMark)
            knob.active = 1; // the home and goal cells get their knobs below
        else if (knob.active)
            AddInstance("drop", CellOf(cell));
    }

    const Pose goal = puzzle->GetGoal();
    if (Pose::HasDistinctCells(goal))
        for (int limb = 0; limb < 4; ++limb)
        {
            const int hand = limb & 1;
            const char letter = CompassLetter(Pose::GetCell(goal, hand) - Pose::GetCell(goal, hand + 2));
            char type[8];
            std::snprintf(type, sizeof type, "%s%c", kLimbTypes[limb], letter);
            AddInstance(type, CellOf(Pose::GetCell(goal, limb)));
        }

    const Pose home = puzzle->GetHome();
    if (Pose::HasDistinctCells(home))
        for (int limb = 0; limb < 4; ++limb)
        {
            const Vector2<float> cell = CellOf(Pose::GetCell(home, limb));
            const bool covered = std::any_of(m_instances.begin(), m_instances.end(),
                                             [&](const KnobInstance& i)
                                             { return DistanceSquared(i.cell, cell) < kSameCellSquared; });
            if (!covered)
                AddInstance("drop", cell);
        }

    m_layoutStamp = int64_t(puzzle->GetChangeCounter());
}

CRef<CKnob> CLayerBoard::PickKnob(const char* type) const
{
    CRef<CKnob> chosen;
    uint32_t matches = 0;
    for (const CRef<CKnob>& knob : m_knobSet)
    {
        if (strcmp(knob->GetType().c_str(), type) != 0)
            continue;
        ++matches;
        // Reservoir sampling: the k-th match replaces the choice with chance 1/k.
        if (matches == 1 || GlobalRandom().Next() % matches == 0)
            chosen = knob;
    }
    return chosen;
}

CLayerBoard::ShadowPlan CLayerBoard::PlanShadow(float quality, float softShadows)
{
    ShadowPlan plan;
    if (quality <= 0.0f)
        return plan;
    if (softShadows <= 0.0f || quality <= 0.5f)
    {
        plan.passes = {{Vector3<float>(0.0f, 0.0f, 0.0f), 0.1f}};
        return plan;
    }
    if (quality <= 0.75f)
    {
        const float s = 0.866f * softShadows;
        plan.passes = {{Vector3<float>(0.0f, -s, 0.85f), 0.85f},
                       {Vector3<float>(-0.866f * s, 0.5f * s, 0.7f), 0.7f},
                       {Vector3<float>(0.866f * s, 0.5f * s, 0.55f), 0.55f}};
        plan.growth = Vector4<float>(s, 0.0f, s, 2.0f * s);
        return plan;
    }
    const float s = softShadows;
    plan.passes = {{Vector3<float>(0.0f, 0.0f, 0.85f), 0.85f},
                   {Vector3<float>(-s, 0.5f * s, 0.7f), 0.7f},
                   {Vector3<float>(s, -0.5f * s, 0.55f), 0.55f},
                   {Vector3<float>(-0.5f * s, -s, 0.4f), 0.4f},
                   {Vector3<float>(0.5f * s, s, 0.25f), 0.25f}};
    plan.growth = Vector4<float>(s, s, s, s);
    return plan;
}

Vector4<float> CLayerBoard::PassColour(const Vector4<float>& colour, size_t passes, bool multiplying)
{
    Vector4<float> out = colour;
    if (passes > 1)
    {
        const float n = float(passes);
        if (multiplying)
            out = Vector4<float>(std::pow(colour.x, 1.0f / n), std::pow(colour.y, 1.0f / n),
                                 std::pow(colour.z, 1.0f / n), std::pow(colour.w, 1.0f / n));
        else
            out = Vector4<float>(colour.x / n, colour.y / n, colour.z / n, colour.w / n);
    }
    out.w = std::max(out.w, kMinShadowAlpha);
    return out;
}

char CLayerBoard::CompassLetter(const Vector2<int>& d)
{
    if (std::abs(d.y) < std::abs(d.x))
        return d.x >= 1 ? 'e' : 'w';
    return d.y >= 1 ? 's' : 'n';
}

float CLayerBoard::PulseRed(uint32_t ms)
{
    return 0.15f * (std::sin(0.012f * float(ms)) + 1.0f) * 0.5f;
}

float CLayerBoard::FadeStep(int32_t intervalMs, float fadeSeconds)
{
    if (fadeSeconds <= 0.0f)
        return 1.0f;
    return float(intervalMs) * 0.001f / fadeSeconds;
}

void CLayerBoard::AddInstance(const char* type, const Vector2<float>& cell)
{
    // A type the set lacks shows no knob there, and the knobs after it still show.
    CRef<CKnob> knob = PickKnob(type);
    if (!knob)
        return;
    KnobInstance instance;
    instance.knob = std::move(knob);
    instance.cell = cell;
    m_instances.push_back(std::move(instance));
}

void CLayerBoard::DrawShadow(const Vector2<float>& offset, const ShadowPlan& plan)
{
    if (plan.passes.empty())
        return;
    const MatrixScope matrix;
    glTranslatef(offset.x, offset.y, 0.0f);

    // Inverted over the whole screen, so that the first pass's minimum and maximum make the box.
    const Vector4<float>& view = CView::GetScreenView().GetRect();
    Vector4<float> bounds(view.x + view.z, view.y + view.w, view.x, view.y);

    Vector4<float> region;
    if (m_shadowQuad.material->GetTexture(0))
    {
        if (m_fit == kFitExact)
            region = CView::GetCurrent().GetRect();
        else
        {
            const Vector4<float> rect = m_quad.GetQuadRect(0);
            region = Vector4<float>(rect.x + m_quad.translation.x, rect.y + m_quad.translation.y,
                                    rect.z - rect.x, rect.w - rect.y);
        }
    }

    const bool multiplying = m_shadowQuad.material->GetBlendDestination() == GL_SRC_COLOR;
    m_shadowQuad.SetColour(PassColour(m_shadowColour, plan.passes.size(), multiplying));
    // A frog that drew nothing leaves the box inverted: a quad over it would cover the screen.
    bool frogDrawn = false;
    for (size_t i = 0; i < plan.passes.size(); ++i)
    {
        const ShadowPass& pass = plan.passes[i];
        if (s_shadowDrawer)
            s_shadowDrawer(pass.frog, i == 0 ? &bounds : nullptr);
        if (i == 0)
        {
            frogDrawn = bounds.x < bounds.z && bounds.y < bounds.w;
            if (!frogDrawn)
                continue;
            bounds = Vector4<float>(bounds.x - plan.growth.x, bounds.y - plan.growth.y,
                                    bounds.z + plan.growth.z, bounds.w + plan.growth.w);
            m_shadowQuad.SetQuadRect(0, bounds);
            if (region.z != 0.0f && region.w != 0.0f)
                m_shadowQuad.SetQuadUv(
                    0, 0,
                    Vector4<float>((bounds.x - region.x) / region.z, (bounds.y - region.y) / region.w,
                                   (bounds.z - region.x) / region.z, (bounds.w - region.y) / region.w));
        }
        if (!frogDrawn)
            continue;
        m_shadowQuad.translation = Vector3<float>(0.0f, 0.0f, pass.quadDepth);
        m_shadowQuad.Draw();
    }
}
