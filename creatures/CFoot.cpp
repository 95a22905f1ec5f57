#include "creatures/CFoot.h"

#include "core/CRule.h"
#include "core/ContentLimits.h"
#include "core/CXmlNode.h"
#include "core/Matrix3.h"
#include "core/ParseBool.h"
#include "core/Random.h"
#include "core/TextFields.h"
#include "creatures/CFlap.h"
#include "creatures/CSkeleton.h"
#include "creatures/FastAngle.h"

#include <algorithm>
#include <cmath>

namespace
{
CRule<float> s_fidgetOffset("frog/fidgetoffset"); // added to the turn rate
CRule<float> s_fidgetPeriod("frog/fidgetperiod", 0.0f, kMaxContentSeconds); // seconds that rate x time must pass

// The largest fidget turn, and the random spread added to it (degrees).
constexpr float kMaxFidget = 60.0f;
constexpr float kFidgetSpread = 10.0f;
// Feet start their fidgets up to this far apart (ms).
constexpr uint32_t kFidgetStagger = 3001;

Vector2<float> Turned(const Vector2<float>& direction, float radians)
{
    return Matrix3::Rotation(radians).TransformPoint(direction);
}
} // namespace

void CFoot::Load(CSkeleton& owner, CXmlNode& element)
{
    skeleton.Set(&owner);
    joint = ParseInt(element.GetAttribute("joint").c_str());
    ankle = ParseBool(element.GetAttribute("ankle").c_str());
    toes.clear();
    toes.reserve(size_t(element.CountChildren()));
    for (CXmlNode* child = element.FirstChild(); child; child = child->NextSibling())
        if (child->GetName() == "toe")
        {
            toes.emplace_back();
            toes.back().Load(*child);
        }
    facing = Vector2<float>();
    fidgetStamp = 0;
}

Vector2<float> CFoot::GetTargetDirection() const
{
    const CSkeleton* body = skeleton.Get();
    if (!body)
        return Vector2<float>(0.0f, -1.0f);
    Vector2<float> target = body->GetOutwardDirection(joint);
    if (ankle)
        target += 0.9f * body->GetHeading();
    if (target.Normalise() <= 0.0f)
        return Vector2<float>(0.0f, -1.0f);
    return target;
}

void CFoot::Update(float weight, int32_t now, Random& random)
{
    const CSkeleton* body = skeleton.Get();
    const CJoint* record = body ? body->GetJoint(joint) : nullptr;
    if (!record)
        return;
    const float height = body->GetHeldHeight(joint);
    const Vector2<float> target = GetTargetDirection();
    if (joint != body->GetActiveJointIndex() && facing != Vector2<float>())
    {
        // Resting: the further out of line, the sooner the next jump towards the body's direction.
        float e =
            -FastAtan2(target.x * facing.y - facing.x * target.y, target.x * facing.x + target.y * facing.y) *
            kDegreesPerRadian;
        if (fidgetStamp == 0)
            fidgetStamp = now - int32_t(random.Next() % kFidgetStagger);
        const float rate = std::fabs(e / 180.0f) + s_fidgetOffset;
        if (rate * float(int64_t(now) - int64_t(fidgetStamp)) * 0.001f > s_fidgetPeriod)
        {
            fidgetStamp = now;
            e = std::clamp(e, -kMaxFidget, kMaxFidget);
            e += -kFidgetSpread + 2.0f * kFidgetSpread * float(random.NextFraction());
            facing = Turned(facing, e / kDegreesPerRadian);
            for (CToe& toe : toes)
                toe.Aim(facing, CToe::kSwinging, now);
        }
    }
    else
    {
        fidgetStamp = now;
        facing = Turned(target, std::sin(float(now) * 0.02f) * 0.2f * weight);
        for (CToe& toe : toes)
            toe.Aim(facing, CToe::kAimed, now);
    }
    const Vector3<float> foot(record->position.x, record->position.y, height);
    const Vector3<float> base(record->anchor.x, record->anchor.y, height);
    for (CToe& toe : toes)
        toe.Update(foot, base, weight, now);
}

void CFoot::ResetFacing(int32_t now, Random& random)
{
    facing = Vector2<float>();
    Update(0.0f, now, random);
}

void CFoot::Draw(int32_t mode, const Vector3<float>& offset, Vector4<float>* bounds)
{
    const CSkeleton* body = skeleton.Get();
    const CJoint* record = body ? body->GetJoint(joint) : nullptr;
    if (!record)
        return;
    const Vector3<float> at(record->position.x, record->position.y, body->GetHeldHeight(joint));
    Vector3<float> handed = offset;
    if (mode == CFlap::kGhost)
    {
        const Vector2<float> target = GetTargetDirection();
        handed = Vector3<float>(target.x, target.y, 0.0f);
    }
    for (CToe& toe : toes)
    {
        toe.foot = at;
        toe.Draw(mode, handed, bounds);
    }
}
