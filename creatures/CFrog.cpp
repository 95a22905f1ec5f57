#include "creatures/CFrog.h"

#include "Graphics/CGraphics.h"
#include "core/CFileSystem.h"
#include "core/CRule.h"
#include "core/CScheduler.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/ContentLimits.h"
#include "core/Random.h"
#include "creatures/BoardTranslation.h"
#include "creatures/CFly.h"
#include "creatures/CFrogServices.h"
#include "creatures/CSkeleton.h"
#include "creatures/CSkeletonServices.h"
#include "platform/PlatformHooks.h"
#include "puzzle/CMoveMap.h"

#include <GLES/gl.h>
#include <cmath>

REGISTER_SINGLETON(CFrog, "maingame", 50);

namespace
{
CRule<int> s_animationInterval("interval/animation", CScheduler::kMinAnimationIntervalMs,
                               CScheduler::kMaxAnimationIntervalMs); // milliseconds
// Seconds, minimum and maximum; an hour at most, so that the deadline in ms stays in range.
CRule<Vector2<float>> s_blinkPeriod("frog/blinkperiod", Vector2<float>(0.0f, 0.0f),
                                    Vector2<float>(3600.0f, 3600.0f));
CRule<Vector2<float>> s_ribbitPeriod("frog/ribbitperiod", Vector2<float>(0.0f, 0.0f),
                                     Vector2<float>(3600.0f, 3600.0f));
CRule<bool> s_springEnable("leaf/springenable");
CRule<float> s_springMass("leaf/springmass");
CRule<float> s_springDamp("leaf/springdamp"); // fraction of the velocity lost per update
CRule<float> s_springCap("leaf/springcap");   // board cells

constexpr const char* kScope = "maingame";
constexpr const char* kPass = "body";

} // namespace

void CFrog::Init()
{
    CDrawing::Register(kScope, kPass);
    ScheduleIn(kScope, s_animationInterval);
}

CFrog::~CFrog()
{
    CDrawing::Unregister(kScope, kPass);
}

void CFrog::LoadSpecies(const CString& name)
{
    m_species = name;
    const CString path = CString("species/") + name;
    // The skeleton is replaced first, even by an empty one; the body pieces only by a document
    // that has them. Pieces left from another species find no joint of this one and draw nothing.
    m_skeleton = CSkeleton::Create(path);
    m_lastChangeCount = -1;

    CXmlDocument document;
    document.Load(path, CFileSystem::kInDataFolder);
    CXmlNode* root = document.GetRoot();
    CXmlNode* flaps = root ? root->FindChild("body/flaps") : nullptr;
    if (!flaps)
        return;
    m_flaps.clear();
    m_flaps.reserve(size_t(flaps->CountChildren()));
    for (CXmlNode* group = flaps->FirstChild(); group; group = group->NextSibling())
    {
        m_flaps.emplace_back();
        m_flaps.back().Load(*group);
    }
    CXmlNode* feet = root->FindChild("body/feet");
    if (!feet)
    {
        // A species without feet has no ribbit, whatever its sound says.
        m_ribbitSound.clear();
        return;
    }
    m_feet.clear();
    m_feet.reserve(size_t(feet->CountChildren()));
    for (CXmlNode* foot = feet->FirstChild(); foot; foot = foot->NextSibling())
    {
        // The toes' looks sit beside the feet; read as a foot they would be one more on joint 0.
        if (foot->GetName() == "toes")
            continue;
        m_feet.emplace_back();
        m_feet.back().Load(*m_skeleton, *foot);
    }
    m_ribbitSound = root->GetAttribute("sound/ribbit/sound");
}

CSkeleton* CFrog::GetSkeleton()
{
    if (!m_skeleton)
        LoadSpecies(m_species);
    return m_skeleton.Get();
}

void CFrog::Update(float dt)
{
    CSkeleton* skeleton = GetSkeleton();
    // Wrap-safe: both counts are platform frames.
    const int32_t framesAway = int32_t(uint32_t(PlatformHooks::GetFrameCount()) - uint32_t(GetFrameStamp()));
    if (framesAway >= kOffScreenFrames && int64_t(skeleton->GetChangeCount()) == m_lastChangeCount)
    {
        // Nobody sees the frog and it is still: its timers stand still with it.
        const int32_t elapsed = SecondsToMs(dt);
        m_blinkDeadline += elapsed;
        m_ribbitDeadline += elapsed;
        return;
    }
    m_lastChangeCount = int64_t(skeleton->GetChangeCount());

    const int32_t now = GetGameTime();
    const float weight = ComputeFidgetWeight();
    for (CFoot& foot : m_feet)
        foot.Update(weight, now, GlobalRandom());

    if (now > m_blinkDeadline)
    {
        m_blinkDeadline = now + SecondsToMs(DrawPeriod(s_blinkPeriod));
        for (CFlap& chain : m_flaps)
            chain.Blink(now);
    }
    if (now > m_ribbitDeadline && !m_ribbitSound.empty())
    {
        m_ribbitDeadline = now + SecondsToMs(DrawPeriod(s_ribbitPeriod));
        for (CFlap& chain : m_flaps)
            chain.Ribbit(now);
        CSkeletonServices::Get().PlaySound(m_ribbitSound.c_str());
    }
    if (s_springEnable)
        StepSpring();
}

void CFrog::Draw()
{
    GetSkeleton();
    Vector2<float> offset;
    if (CFrogServices::Get().GetBoardOffset(offset))
        DrawAt(offset);
}

void CFrog::DrawAt(const Vector2<float>& offset)
{
    CSkeleton* skeleton = GetSkeleton();
    const BoardTranslation translation(offset);
    if (skeleton->TakePoseSet())
        ResetFeet();
    DrawBody(CFlap::kPlain, Vector3<float>(), nullptr);
}

void CFrog::DrawShadow(const Vector3<float>& offset, Vector4<float>* bounds)
{
    CSkeleton* skeleton = GetSkeleton();
    Vector2<float> board;
    if (!CFrogServices::Get().GetBoardOffset(board))
        return;
    if (skeleton->TakePoseSet())
        ResetFeet();
    DrawBody(CFlap::kShadow, offset, bounds);
}

void CFrog::DrawAtPose(Pose pose, Vector4<float>* bounds)
{
    CSkeleton* skeleton = GetSkeleton();
    Vector2<float> offset;
    if (!CFrogServices::Get().GetBoardOffset(offset))
        return;
    const BoardTranslation translation(offset);
    skeleton->SaveJoints();
    if (const CMoveMap* map = CMoveMap::Peek())
        map->ApplyRestPose(*skeleton, pose);
    const bool poseSet = skeleton->TakePoseSet();
    if (poseSet)
        ResetFeet();
    DrawBody(CFlap::kGhost, Vector3<float>(), bounds);
    skeleton->RestoreJoints();
    // The flag belongs to the frog's own drawing, which has not seen the new pose yet.
    if (poseSet)
        skeleton->SetPose(Pose::FromSkeleton(*skeleton));
}

void CFrog::DrawShadowOfFrog(const Vector3<float>& offset, Vector4<float>* bounds)
{
    if (CFrog* frog = Peek())
        frog->DrawShadow(offset, bounds);
}

void CFrog::CatchFly()
{
    CSkeleton* skeleton = GetSkeleton();
    const int32_t now = GetGameTime();
    for (CFlap& chain : m_flaps)
        chain.ThrowTongue(now);
    skeleton->StartLunge();
}

void CFrog::CancelCatch()
{
    if (!m_skeleton)
        return;
    for (CFlap& chain : m_flaps)
        chain.ResetTongue();
    m_skeleton->EndLunge();
}

Vector2<float> CFrog::SpringOfFrog()
{
    const CFrog* frog = Peek();
    return frog ? frog->m_springPosition : Vector2<float>();
}

bool CFrog::ProbeLimb(int32_t limb, Vector2<float>* position, bool* held)
{
    CSkeleton* skeleton = Instance()->GetSkeleton();
    const CJoint* joint = skeleton ? skeleton->GetJoint(limb) : nullptr;
    if (!joint)
        return false;
    if (position)
        *position = joint->position;
    if (held)
        *held = skeleton->GetGrabbedJoint() == limb;
    return true;
}

float CFrog::ComputeFidgetWeight() const
{
    const CSkeleton* skeleton = m_skeleton.Get();
    if (!skeleton)
        return 0.0f;
    const CJoint* joint = skeleton->GetJoint(skeleton->GetGrabbedJoint());
    if (!joint)
        return 0.0f;
    const Vector2<float> cell(std::floor(joint->position.x + 0.5f), std::floor(joint->position.y + 0.5f));
    if (!skeleton->HasKnobAt(cell) || skeleton->GetDrag().IsLandingCell(cell))
        return 0.0f;
    const float distance = (joint->position - cell).Length();
    return 2.0f * distance > 1.0f ? 0.0f : 1.0f - 2.0f * distance;
}

float CFrog::DrawPeriod(const Vector2<float>& range)
{
    if (range.y <= range.x)
        return range.x;
    return range.x + float(GlobalRandom().NextFraction()) * (range.y - range.x);
}

int32_t CFrog::GetGameTime()
{
    const CScheduler* scheduler = CScheduler::ForScope(kScope);
    return scheduler ? scheduler->GetClock() : 0;
}

void CFrog::DrawBody(int32_t mode, const Vector3<float>& offset, Vector4<float>* bounds)
{
    // The feet lie beneath the body.
    for (CFoot& foot : m_feet)
        foot.Draw(mode, offset, bounds);
    const int32_t now = GetGameTime();
    CFly* fly = CFly::Peek();
    for (CFlap& chain : m_flaps)
        chain.Draw(*m_skeleton, mode, offset, bounds, now, fly);
}

void CFrog::ResetFeet()
{
    const int32_t now = GetGameTime();
    for (CFoot& foot : m_feet)
        foot.ResetFacing(now, GlobalRandom());
}

void CFrog::StepSpring()
{
    Vector2<float> target;
    const CJoint* joint = m_skeleton ? m_skeleton->GetJoint(m_skeleton->GetGrabbedJoint()) : nullptr;
    if (joint)
    {
        Vector2<float> offset;
        CFrogServices::Get().GetBoardOffset(offset);
        target = CSkeletonServices::Get().GetPointerViewPosition() - (joint->position + offset);
        const float cap = std::max(s_springCap.Get(), 0.0f);
        const float length = target.Length();
        if (length > cap)
            target = target * (cap / length);
    }
    // A spring without mass would fling the pond away: it stays where it is.
    if (!(s_springMass.Get() > 0.0f))
        return;
    m_springVelocity += (target - m_springPosition) / s_springMass.Get();
    m_springPosition += m_springVelocity;
    m_springVelocity *= 1.0f - s_springDamp.Get();
}
