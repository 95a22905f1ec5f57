#include "creatures/CFly.h"

#include "Graphics/CGraphics.h"
#include "Graphics/CMaterialSet.h"
#include "Graphics/LodBiasScope.h"
#include "core/Angle.h"
#include "core/CRule.h"
#include "core/CScheduler.h"
#include "core/CXmlNode.h"
#include "core/ContentLimits.h"
#include "core/MathConstants.h"
#include "core/Random.h"
#include "core/ReadColourAttribute.h"
#include "core/TextFields.h"
#include "creatures/BoardTranslation.h"
#include "creatures/CFrog.h"
#include "creatures/CFrogServices.h"
#include "creatures/CSkeleton.h"
#include "creatures/FastAngle.h"
#include "platform/CView.h"
#include "puzzle/CPuzzle.h"

#include <GLES/gl.h>
#include <algorithm>
#include <cmath>

REGISTER_SINGLETON(CFly, "maingame", 50);

namespace
{
CRule<int> s_animationInterval("interval/animation", CScheduler::kMinAnimationIntervalMs,
                               CScheduler::kMaxAnimationIntervalMs); // milliseconds

constexpr const char* kScope = "maingame";
constexpr const char* kPass = "fly";
constexpr float kRadiansToDegrees = kFullTurnDegrees / kTwoPi;
// A pose whose hands-minus-feet vectors cancel has no heading; it faces up the board.
const Vector2<float> kDefaultFacing{0.0f, -1.0f};
// The start point steps back out of the view at most this often, so that a view of any size
// (or a wrong one) cannot hold the placement forever.
constexpr int kMaxStepsOut = 64;
const Vector4<float> kWholeTexture{0.0f, 0.0f, 1.0f, 1.0f};
const Vector4<float> kUnitQuad{-1.0f, -1.0f, 1.0f, 1.0f};

float FloatAttribute(const CXmlNode& element, const char* name, float fallback)
{
    const CString& text = element.GetAttribute(name);
    return text.empty() ? fallback : float(ParseFloat(text.c_str()));
}

bool IsContent(const CXmlNode& element)
{
    return element.GetName() == CXmlNode::kContentName;
}

// The unit direction of the hands minus the feet of a pose.
Vector2<float> FacingOf(Pose pose)
{
    Vector2<float> cells[4];
    for (int limb = 0; limb < 4; ++limb)
    {
        const Vector2<int> cell = Pose::GetCell(pose, limb);
        cells[limb] = Vector2<float>(float(cell.x), float(cell.y));
    }
    Vector2<float> heading = (cells[0] - cells[2]) + (cells[1] - cells[3]);
    if (Dot(heading, heading) < 1e-20f)
        return kDefaultFacing;
    heading.Normalise();
    return heading;
}

Vector2<float> HandsMidpoint(Pose pose)
{
    const Vector2<int> left = Pose::GetCell(pose, 0);
    const Vector2<int> right = Pose::GetCell(pose, 1);
    return Vector2<float>(float(left.x + right.x) * 0.5f, float(left.y + right.y) * 0.5f);
}

bool Inside(const Vector2<float>& point, const Vector4<float>& rect)
{
    return rect.x <= point.x && point.x < rect.x + rect.z && rect.y <= point.y && point.y < rect.y + rect.w;
}

float Sign(float value)
{
    return value > 0.0f ? 1.0f : (value < 0.0f ? -1.0f : 0.0f);
}

// Each component of colour moved by rate times the target's component, kept within 0 and target.
Vector4<float> FadeTowards(const Vector4<float>& colour, const Vector4<float>& target, float rate)
{
    const auto step = [rate](float value, float full) {
        return std::clamp(value + full * rate, 0.0f, std::max(full, 0.0f));
    };
    return Vector4<float>(step(colour.x, target.x), step(colour.y, target.y), step(colour.z, target.z),
                          step(colour.w, target.w));
}

void SetTranslation(QuadBatch& batch, const Vector2<float>& point)
{
    batch.translation = Vector3<float>(point.x, point.y, batch.translation.z);
}

bool IsDrawing()
{
    const CGraphics* graphics = CGraphics::Peek();
    return graphics && graphics->IsLive();
}
} // namespace

void CFly::Init()
{
    CDrawing::Register(kScope, kPass);
    ScheduleIn(kScope, s_animationInterval);
}

CFly::~CFly()
{
    CDrawing::Unregister(kScope, kPass);
}

void CFly::Load(CXmlNode& element)
{
    m_restDistance = FloatAttribute(element, "restdistance", 1.0f);
    const float scale = FloatAttribute(element, "scale", 1.0f);

    std::map<std::string, Vector4<float>> frames;
    m_flightFrames.clear();
    if (CXmlNode* list = element.FindChild("frames"))
        for (CXmlNode* frame = list->FirstChild(); frame; frame = frame->NextSibling())
        {
            if (IsContent(*frame))
                continue;
            const std::string name(frame->GetName().c_str());
            const Vector4<float> uv = ReadColourAttribute(frame, "uvs", kWholeTexture);
            frames[name] = uv;
            if (name.compare(0, 3, "fly") == 0)
                m_flightFrames.push_back(uv);
        }
    const auto frameOf = [&frames](const CString& name) {
        const auto found = frames.find(std::string(name.c_str()));
        return found == frames.end() ? Vector4<float>() : found->second;
    };
    m_restFrame = frameOf("rest");

    m_actions.clear();
    if (CXmlNode* list = element.FindChild("actions"))
        for (CXmlNode* child = list->FirstChild(); child; child = child->NextSibling())
        {
            if (IsContent(*child))
                continue;
            FlyAction action;
            action.weight = FloatAttribute(*child, "weight", 1.0f);
            for (CXmlNode* step = child->FindChild("step"); step; step = step->NextSiblingNamed("step"))
            {
                FlyStep played;
                played.uv = frameOf(step->GetAttribute("frame"));
                // A negative duration is a slip of the pen; it would make the pause drawn after
                // the action negative too.
                played.time = SecondsToMs(FloatAttribute(*step, "time", 0.0f));
                played.rotate = FloatAttribute(*step, "rotate", 0.0f);
                action.steps.push_back(played);
            }
            m_actions[std::string(child->GetName().c_str())] = std::move(action);
        }

    const CRef<CMaterial> material = CMaterialSet::Instance()->Find(element.GetAttribute("material"));
    const Vector4<float> bodyColour = ReadColourAttribute(&element, "body", Vector4<float>(1.0f, 1.0f, 1.0f, 1.0f));
    m_body = QuadBatch(Vector2<float>(), kUnitQuad, material, bodyColour, m_restFrame, 0.0f);
    m_body.scale = Vector2<float>(scale, scale);
    m_heading = 0.0f;
    m_shadow = m_body;
    m_shadowColour = ReadColourAttribute(&element, "shadow", Vector4<float>(0.0f, 0.0f, 0.0f, 0.25f));
    m_shadow.SetColour(m_shadowColour);

    m_glowColour = ReadColourAttribute(&element, "glowcolour", Vector4<float>(1.0f, 1.0f, 1.0f, 1.0f));
    const float glow = FloatAttribute(element, "glow", 0.0f);
    m_glow = QuadBatch(Vector2<float>(), kUnitQuad, CMaterialSet::Instance()->Find("blob"), Vector4<float>(),
                       kWholeTexture, 0.0f);
    m_glow.scale = Vector2<float>(scale * glow, scale * glow);

    m_currentAction.clear();
    m_currentStep = 0;
    m_state = kLoaded;
    m_nextStepTime = Now() + kFirstActionDelay;
    PlaceForGoal();
}

void CFly::LoadOnBoard(const CXmlNode& element)
{
    Instance()->Load(const_cast<CXmlNode&>(element));
}

void CFly::PlaceForGoal()
{
    const CPuzzle* puzzle = CPuzzle::Peek();
    const Pose goal = puzzle ? puzzle->GetGoal() : Pose();
    const Pose home = puzzle ? puzzle->GetHome() : Pose();
    PlaceForGoal(goal, home, CView::GetCurrent().GetRect());
}

void CFly::PlaceForGoal(Pose goal, Pose home, const Vector4<float>& viewRect)
{
    m_restPoint = HandsMidpoint(goal) + m_restDistance * FacingOf(goal);

    const Vector2<float> back = 0.5f * FacingOf(home);
    Vector2<float> start = HandsMidpoint(home) - back;
    for (int step = 0; step < kMaxStepsOut && Inside(start, viewRect); ++step)
        start -= back;
    position = start - back;
    m_height = 0.0f;
}

void CFly::JumpToRest()
{
    position = m_restPoint;
    m_height = 0.0f;
    m_state = kResting;
}

void CFly::SetFree(bool free)
{
    if (!free)
        m_state = kCaught;
    else if (m_state == kCaught)
        m_state = kFlying;
}

void CFly::Update(float dt)
{
    switch (m_state)
    {
    case kLoaded:
        m_state = kResting;
        UpdateRest(dt);
        break;
    case kResting:
        UpdateRest(dt);
        break;
    case kFlying:
        UpdateFlight(dt);
        break;
    case kCaught:
        m_glow.SetColour(FadeTowards(m_glow.GetColour(), m_glowColour, -dt / kGlowFadeTime));
        break;
    }
}

void CFly::Draw()
{
    Vector2<float> offset;
    if (!CFrogServices::Get().GetBoardOffset(offset))
        offset = Vector2<float>();
    DrawAt(offset);
}

void CFly::DrawAt(const Vector2<float>& offset)
{
    PlaceSprites();
    BoardTranslation board(offset);
    if (m_state == kResting || m_state == kFlying)
    {
        if (IsDrawing())
        {
            LodBiasScope blur(kShadowLodBias);
            m_shadow.Draw();
        }
        m_body.Draw();
    }
    m_glow.Draw();
}

void CFly::DrawBodyAt(const Vector2<float>& point)
{
    SetTranslation(m_body, point);
    m_body.Draw();
}

void CFly::PlaceSprites()
{
    if (m_state != kResting && m_state != kFlying)
        return;
    const Vector2<float> lift = (m_height + 0.2f) * Vector2<float>(0.1f, -0.2f);
    SetTranslation(m_body, position + lift);
    SetTranslation(m_shadow, position - lift);
    SetTranslation(m_glow, position);
    if (m_state == kFlying)
    {
        if (m_flightFrames.size() >= 2)
        {
            m_flightFrame = (m_flightFrame + 1) % m_flightFrames.size();
            ShowFrame(m_flightFrames[m_flightFrame]);
        }
        const float k = std::clamp(7.0f * m_height, 0.0f, 1.0f);
        Vector4<float> colour = m_shadowColour;
        colour.w *= 1.0f - k * 0.5f;
        m_shadow.SetColour(colour);
    }
    else
        m_shadow.SetColour(m_shadowColour);
}

bool CFly::IsFrogNear() const
{
    const FrogSight& sight = LookAtFrogNow();
    for (const Vector2<float>& joint : sight.joints)
    {
        const Vector2<float> d = joint - position;
        if (Dot(d, d) < kNearDistance * kNearDistance)
            return true;
    }
    return false;
}

Vector2<float> CFly::AvoidPoint(const Vector2<float>& point) const
{
    Vector2<float> away = position - point;
    const float squared = Dot(away, away);
    if (squared >= kAvoidRadius * kAvoidRadius)
        return Vector2<float>();
    const float length = std::sqrt(squared);
    const Vector2<float> unit = squared < 1e-20f ? Vector2<float>(0.0f, 1.0f) : away / length;
    return unit * ((kAvoidRadius - length) / kAvoidRadius);
}

int32_t CFly::GameTime()
{
    const CScheduler* scheduler = CScheduler::ForScope(kScope);
    return scheduler ? scheduler->GetClock() : 0;
}

void CFly::LookAtFrog(FrogSight& sight)
{
    sight.present = false;
    sight.joints.clear();
    sight.activeJoint = -1;
    sight.head = Vector2<float>();
    CFrog* frog = CFrog::Peek();
    if (!frog)
        return;
    const CSkeleton* skeleton = frog->GetSkeleton();
    sight.present = true;
    for (const CJoint& joint : skeleton->GetJoints())
        sight.joints.push_back(joint.position);
    sight.activeJoint = skeleton->GetActiveJointIndex();
    sight.head = skeleton->GetHeadPoint();
}

float CFly::HeadingOf(const Vector2<float>& direction)
{
    return WrapAngle(FastAtan2(direction.x, -direction.y) * kRadiansToDegrees);
}

void CFly::UpdateRest(float dt)
{
    FadeGlowIn(dt);
    if (position != m_restPoint || IsFrogNear())
    {
        m_state = kFlying;
        m_velocity = Vector2<float>();
        return;
    }
    const int32_t now = Now();
    const FrogSight& sight = m_sight; // looked at by IsFrogNear just now
    const float diff = WrapAngle(HeadingOf(sight.head - position) - m_heading);
    const bool headAhead = sight.present && std::fabs(diff) < 90.0f;

    if (m_currentAction.empty())
    {
        if (now < m_nextStepTime)
            return;
        const bool turning = headAhead && StartAction(diff > 0.0f ? "turnleft" : "turnright", now);
        if (!turning && !ChooseAction(now))
            return;
    }
    PlayStep(now, headAhead);
}

void CFly::UpdateFlight(float dt)
{
    FadeGlowIn(dt);
    const int32_t now = Now();

    Vector2<float> toRest = m_restPoint - position;
    float length = toRest.Length();
    Vector2<float> direction(1.0f, 0.0f);
    if (length * length < 1e-20f)
        length = 1e-10f;
    else
        direction = toRest / length;
    // From afar it aims beside its rest point, and so spirals in.
    const Vector2<float> aim =
        length > 1.0f ? m_restPoint + (length - 1.0f) * Vector2<float>(direction.y, -direction.x) : m_restPoint;
    Vector2<float> desired = 4.0f * (aim - position);

    Vector2<float> push;
    const FrogSight& sight = LookAtFrogNow();
    if (length < 1.0f && sight.activeJoint >= 0 && size_t(sight.activeJoint) < sight.joints.size())
    {
        push = 15.0f * AvoidPoint(sight.joints[size_t(sight.activeJoint)]) + 15.0f * AvoidPoint(sight.head);
        desired += push;
    }

    m_velocity = m_velocity * std::max(0.0f, 1.0f - dt * kDrag) + (dt * kSteeringGain) * desired;
    const float speed = m_velocity.Length();
    if (speed > kMaxSpeed)
        m_velocity *= kMaxSpeed / speed;
    position += dt * m_velocity;

    m_turnRate *= std::max(0.0f, 1.0f - dt * kTurnDamping);
    if (Dot(desired, desired) > 0.01f)
    {
        // The difference is not wrapped again: across +-180 the fly may turn the long way round.
        const float turn = Sign(HeadingOf(desired) - WrapAngle(m_heading));
        m_turnRate += dt * turn * kTurnAcceleration;
    }
    SetHeading(m_heading + dt * m_turnRate);

    const float distance = (m_restPoint - position).Length();
    if (push == Vector2<float>() && distance < kArrivalDistance && !IsFrogNear())
    {
        position = m_restPoint;
        m_height = 0.0f;
        m_velocity = Vector2<float>();
        m_state = kResting;
        m_nextStepTime = now;
        ShowFrame(m_restFrame);
        return;
    }
    const float bob = std::sin(float(now) * 0.18f / kRadiansToDegrees); // a period of 2 s
    m_height = std::min(distance, 1.0f) + (bob + 1.0f) * 0.1f;
}

void CFly::FadeGlowIn(float dt)
{
    m_glow.SetColour(FadeTowards(m_glow.GetColour(), m_glowColour, dt / kGlowFadeTime));
}

bool CFly::StartAction(const std::string& name, int32_t now)
{
    if (m_actions.find(name) == m_actions.end())
        return false;
    m_currentAction = name;
    m_currentStep = 0;
    m_nextStepTime = now;
    return true;
}

bool CFly::ChooseAction(int32_t now)
{
    // A reservoir draw: each action replaces the choice so far with probability weight / total,
    // so the last of equal (or all zero) weights wins ties.
    Random& random = Generator();
    const std::string* chosen = nullptr;
    float total = 0.0f;
    for (const auto& [name, action] : m_actions)
    {
        total += action.weight;
        const float r = total > 0.0f ? float(double(total) * random.NextFraction()) : 0.0f;
        if (action.weight >= r)
            chosen = &name;
    }
    if (!chosen)
        return false;
    return StartAction(*chosen, now);
}

void CFly::PlayStep(int32_t now, bool headAhead)
{
    if (now < m_nextStepTime)
        return;
    const auto found = m_actions.find(m_currentAction);
    const std::vector<FlyStep>& steps = found->second.steps;
    // An action without steps ends at once, as if its last step lasted no time.
    int32_t played = 0;
    if (m_currentStep < steps.size())
    {
        const FlyStep& step = steps[m_currentStep];
        m_nextStepTime += step.time;
        ShowFrame(step.uv);
        if (step.rotate != 0.0f)
            SetHeading(m_heading + step.rotate);
        played = step.time;
        ++m_currentStep;
    }
    if (m_currentStep < steps.size())
        return;

    m_currentAction.clear();
    m_currentStep = 0;
    Random& random = Generator();
    int32_t pause = 0;
    if (headAhead)
        pause = 400 + int32_t(random.NextBelow(401));
    else if (played / 2 < played)
        pause = played / 2 + int32_t(random.NextBelow(uint32_t(played + 1 - played / 2)));
    else
        pause = played / 2;
    m_nextStepTime = now + pause;
}

void CFly::SetHeading(float degrees)
{
    m_heading = WrapAngle(degrees);
    m_body.rotation = m_heading;
    m_shadow.rotation = m_heading;
}

void CFly::ShowFrame(const Vector4<float>& uv)
{
    m_body.SetQuadUv(0, 0, uv);
    m_shadow.SetQuadUv(0, 0, uv);
}

int32_t CFly::Now() const
{
    return m_clock ? m_clock() : GameTime();
}

Random& CFly::Generator() const
{
    return m_random ? *m_random : GlobalRandom();
}

FrogSight& CFly::LookAtFrogNow() const
{
    (m_frogLook ? m_frogLook : &LookAtFrog)(m_sight);
    return m_sight;
}
