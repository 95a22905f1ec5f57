#include "creatures/CTongue.h"

#include "Graphics/CGraphics.h"
#include "Graphics/CMaterial.h"
#include "Graphics/CMaterialSet.h"
#include "core/CRule.h"
#include "core/ContentLimits.h"
#include "core/CScheduler.h"
#include "core/CXmlNode.h"
#include "core/Ease.h"
#include "core/MathConstants.h"
#include "creatures/CFlap.h"
#include "creatures/CFly.h"
#include "creatures/CFrog.h"
#include "creatures/CSkeletonServices.h"
#include "creatures/FastAngle.h"
#include "creatures/PartAttributes.h"

namespace
{
CRule<int> s_animationInterval("interval/animation", CScheduler::kMinAnimationIntervalMs,
                               CScheduler::kMaxAnimationIntervalMs); // milliseconds
CRule<float> s_throw("frog/tonguethrow", 0.0f, kMaxContentSeconds);       // seconds for the tip to reach the fly
CRule<float> s_stick("frog/tonguestick", 0.0f, kMaxContentSeconds);       // seconds on the fly
CRule<float> s_stretch("frog/tonguestretch", 0.0f, kMaxContentSeconds);   // seconds the base pulls forward
CRule<float> s_snap("frog/tonguesnap", 0.0f, kMaxContentSeconds);         // seconds for the tip to come back
CRule<float> s_width("frog/tonguewidth");       // half the width, board cells
CRule<float> s_pullback("frog/tonguepullback"); // board cells

} // namespace

CRef<CTongue> CTongue::Create(CXmlNode& element)
{
    CRef<CTongue> tongue = MakeRef<CTongue>();
    tongue->ScheduleIn("maingame", s_animationInterval);
    tongue->Load(element);
    return tongue;
}

void CTongue::Load(CXmlNode& element)
{
    m_root = ReadPairAttribute(element, "uv", Vector2<float>());
    CXmlNode* material = FirstChildNamed(element, "material");
    if (!material)
        return;
    CMaterialSet* set = CMaterialSet::Instance();
    m_main = set->Find(material->GetAttribute("main"));
    m_shadow = set->Find(material->GetAttribute("shadow"));
    m_uv = ReadRectAttribute(*material, "uvs");
}

void CTongue::Throw(int32_t now)
{
    m_active = true;
    CSkeletonServices::Get().PlaySound("slurp");
    m_throwTime = now;
}

void CTongue::Reset()
{
    m_active = false;
    m_caught = false;
    m_extension = 0.0f;
    m_pull = 0.0f;
    if (CFly* fly = CFly::Peek())
        fly->SetFree(true);
}

void CTongue::OnSchedule(float)
{
    Step(CFrog::GetGameTime());
}

void CTongue::Step(int32_t now)
{
    if (!m_active)
        return;
    const float t = float(int64_t(now) - int64_t(m_throwTime)) * 0.001f;
    const float out = s_throw, stuck = out + s_stick, stretched = stuck + s_stretch, in = stretched + s_snap;
    if (t >= stuck && !m_caught)
    {
        if (CFly* fly = CFly::Peek())
            fly->SetFree(false);
        m_caught = true;
    }
    // Each phase is entered only while its own time runs, so a phase of no time is never divided by.
    if (t < out)
    {
        m_extension = Ease(0, t / out);
        m_pull = 0.0f;
    }
    else if (t < stuck)
    {
        m_extension = 1.0f;
        m_pull = 0.0f;
    }
    else if (t < stretched)
    {
        m_extension = 1.0f;
        m_pull = s_pullback * Ease(0, (t - stuck) / s_stretch);
    }
    else if (t < in)
    {
        m_pull = s_pullback;
        m_extension = 1.0f - Ease(0, (t - stretched) / s_snap);
    }
    else
    {
        m_extension = 0.0f;
        m_pull = 0.0f;
        CSkeletonServices::Get().PlaySound("gnom");
        m_active = false;
    }
}

void CTongue::Draw(const Matrix3& transform, int32_t mode, const Vector3<float>& offset,
                   Vector4<float>* bounds)
{
    if (!m_active)
        return;
    const CRef<CMaterial>& material = mode == CFlap::kShadow ? m_shadow : m_main;
    CFly* fly = CFly::Peek();
    Placement placement;
    if (!material || !fly || !Place(transform, fly->GetRestPoint(), placement))
        return;
    const Vector2<float> at(placement.root.x + offset.x, placement.root.y + offset.y);
    if (CGraphics* graphics = CGraphics::Peek(); graphics && graphics->IsLive())
        graphics->DrawQuad3D(material, Vector3<float>(at.x, at.y, offset.z), placement.rect, kWhite, m_uv,
                             placement.rotation);
    if (bounds)
        CGraphics::ExtendBounds(*bounds, at, placement.rect);
    if (mode == CFlap::kPlain && m_caught)
        fly->DrawBodyAt(placement.tip);
}

bool CTongue::Place(const Matrix3& transform, const Vector2<float>& target, Placement& placement) const
{
    if (!m_active)
        return false;
    const Vector2<float> root = transform.TransformPoint(m_root);
    Vector2<float> direction = target - root;
    float length = direction.Length();
    if (Dot(direction, direction) < 1e-20f)
    {
        direction = Vector2<float>(0.0f, 1.0f);
        length = 1e-10f;
    }
    else
        direction = direction / length;
    const float reach = length * m_extension;
    // Snapping back, the tip passes the pulled base: what is left would be drawn inside out.
    if (reach <= m_pull)
        return false;
    placement.root = root;
    placement.tip = root + direction * reach;
    placement.rect = Vector4<float>(-s_width.Get(), m_pull, s_width.Get(), reach);
    placement.rotation = FastAtan2(-direction.x, direction.y) * kDegreesPerRadian;
    return true;
}
