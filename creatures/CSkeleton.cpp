#include "creatures/CSkeleton.h"

#include "core/CFileSystem.h"
#include "core/CRule.h"
#include "core/CScheduler.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/MathConstants.h"
#include "core/ParseBool.h"
#include "core/TextFields.h"
#include "creatures/FastAngle.h"
#include "puzzle/CMoveMap.h"
#include "puzzle/CPuzzle.h"

#include <algorithm>
#include <cmath>

namespace
{
CRule<int> s_animationInterval("interval/animation", CScheduler::kMinAnimationIntervalMs,
                               CScheduler::kMaxAnimationIntervalMs); // milliseconds

constexpr float kDegreesToRadians = kTwoPi / 360.0f;
constexpr float kHeadAhead = 0.6f; // board cells from the front joints to the head point

const std::vector<uint32_t> kNoIndices;

bool IsJoint(int32_t index, size_t count)
{
    return index >= 0 && size_t(index) < count;
}
} // namespace

CSkeleton::CSkeleton()
{
    ScheduleIn("maingame", s_animationInterval);
}

CSkeleton::~CSkeleton() = default;

CRef<CSkeleton> CSkeleton::Create(const CString& name)
{
    CRef<CSkeleton> skeleton = MakeRef<CSkeleton>();
    skeleton->Load(name);
    return skeleton;
}

bool CSkeleton::Load(const CString& name)
{
    CXmlDocument document;
    const bool loaded = document.Load(name, CFileSystem::kInDataFolder);
    const bool usable = LoadDocument(loaded ? document.GetRoot() : nullptr);
    m_name = name;
    return usable;
}

bool CSkeleton::LoadDocument(CXmlNode* root)
{
    Clear();
    if (!root || !ReadJoints(root))
    {
        Clear();
        return false;
    }
    ReadBones(root);
    ReadLigaments(root);
    ReadHome(root);

    m_jointBones.assign(m_joints.size(), {});
    m_jointLigaments.assign(m_joints.size(), {});
    for (uint32_t i = 0; i < m_bones.size(); ++i)
    {
        m_jointBones[size_t(m_bones[i].one)].push_back(i);
        m_jointBones[size_t(m_bones[i].two)].push_back(i);
    }
    for (uint32_t i = 0; i < m_ligaments.size(); ++i)
        for (int32_t joint : {m_ligaments[i].pivot, m_ligaments[i].one, m_ligaments[i].two})
        {
            std::vector<uint32_t>& list = m_jointLigaments[size_t(joint)];
            if (list.empty() || list.back() != i)
                list.push_back(i);
        }
    for (CJoint& joint : m_joints)
        joint.distances.assign(m_limbCount, kNoPath);
    for (uint32_t limb = 0; limb < m_limbCount; ++limb)
        SpreadDistance(limb);
    m_queued.assign(m_joints.size(), 0);
    UpdateHeading();
    return true;
}

CJoint* CSkeleton::GetJoint(int32_t index)
{
    return IsJoint(index, m_joints.size()) ? &m_joints[size_t(index)] : nullptr;
}

const CJoint* CSkeleton::GetJoint(int32_t index) const
{
    return IsJoint(index, m_joints.size()) ? &m_joints[size_t(index)] : nullptr;
}

const std::vector<uint32_t>& CSkeleton::GetJointBones(int32_t joint) const
{
    return IsJoint(joint, m_jointBones.size()) ? m_jointBones[size_t(joint)] : kNoIndices;
}

const std::vector<uint32_t>& CSkeleton::GetJointLigaments(int32_t joint) const
{
    return IsJoint(joint, m_jointLigaments.size()) ? m_jointLigaments[size_t(joint)] : kNoIndices;
}

const CBone* CSkeleton::FindBone(int32_t a, int32_t b) const
{
    for (uint32_t index : GetJointBones(a))
        if (m_bones[index].Other(a) == b)
            return &m_bones[index];
    return nullptr;
}

Vector2<float> CSkeleton::GetOutwardDirection(int32_t joint) const
{
    const CJoint* self = GetJoint(joint);
    const std::vector<uint32_t>& bones = GetJointBones(joint);
    if (!self || bones.empty())
        return Vector2<float>(0.0f, -1.0f);
    Vector2<float> sum;
    for (uint32_t index : bones)
        sum += self->position - m_joints[size_t(m_bones[index].Other(joint))].position;
    sum /= float(bones.size());
    // A joint in the middle of its neighbours points nowhere in particular.
    if (!(sum.Normalise() > 1e-6f))
        return Vector2<float>(0.0f, -1.0f);
    return sum;
}

void CSkeleton::UpdateHeading()
{
    Vector2<float> front, back;
    int fronts = 0, backs = 0;
    for (const CJoint& joint : m_joints)
    {
        if (joint.front)
            front += joint.position, ++fronts;
        if (joint.back)
            back += joint.position, ++backs;
    }
    if (fronts == 0 || backs == 0)
    {
        m_heading = Vector2<float>(0.0f, -1.0f);
        return;
    }
    front /= float(fronts);
    back /= float(backs);
    Vector2<float> heading = front - back;
    if (Dot(heading, heading) < 1e-20f)
        heading = Vector2<float>(0.0f, 1.0f);
    else
        heading.Normalise();
    m_heading = heading;
    m_headPoint = front + heading * kHeadAhead;
}

void CSkeleton::SaveJoints()
{
    for (CJoint& joint : m_joints)
        joint.saved = joint.position;
}

void CSkeleton::RestoreJoints()
{
    for (CJoint& joint : m_joints)
        joint.position = joint.saved;
}

void CSkeleton::RevertJoints()
{
    for (CJoint& joint : m_joints)
        joint.position = joint.previous;
}

void CSkeleton::ShiftHistory()
{
    for (CJoint& joint : m_joints)
        joint.ShiftHistory();
}

void CSkeleton::PushJoint(int32_t joint)
{
    if (!IsJoint(joint, m_queued.size()) || m_queued[size_t(joint)])
        return;
    m_queued[size_t(joint)] = 1;
    m_queue.push_back(uint32_t(joint));
}

void CSkeleton::ClearQueue()
{
    m_queue.clear();
    std::fill(m_queued.begin(), m_queued.end(), uint8_t(0));
}

bool CSkeleton::Relax(int budget, bool withInertia)
{
    QueueAllJoints();
    const int32_t moving = GetActiveJointIndex();
    if (moving >= 0)
        std::stable_sort(m_queue.begin(), m_queue.end(), [&](uint32_t a, uint32_t b) {
            return m_joints[a].GetDistance(moving) < m_joints[b].GetDistance(moving);
        });
    for (;;)
    {
        if (m_queue.empty())
            return true;
        if (budget < 1)
            return false;
        const uint32_t index = m_queue.front();
        m_queue.pop_front();
        m_queued[index] = 0;
        for (uint32_t bone : m_jointBones[index])
            m_bones[bone].Solve(*this);
        for (uint32_t ligament : m_jointLigaments[index])
            m_ligaments[ligament].Solve(*this);
        CJoint& joint = m_joints[index];
        if (withInertia)
            joint.LimitInertia();
        if (joint.PullToAnchor(m_anchorPullThreshold))
            PushJoint(int32_t(index));
        --budget;
    }
}

void CSkeleton::Update(float dt)
{
    UpdateHeading();
    if (m_state == kDrag)
        DragStep(dt);
    else if (m_state == kLunge)
        m_drag.LungeStep(dt);
}

int32_t CSkeleton::GetActiveJointIndex() const
{
    return m_grabbed >= 0 ? m_grabbed : m_pending;
}

bool CSkeleton::TakePoseSet()
{
    const bool set = m_poseSet != 0;
    m_poseSet = 0;
    return set;
}

Vector2<float> CSkeleton::GetJointPosition(unsigned joint) const
{
    return joint < m_joints.size() ? m_joints[joint].position : Vector2<float>();
}

void CSkeleton::SetJointPosition(unsigned joint, const Vector2<float>& position)
{
    if (joint < m_joints.size())
        m_joints[joint].position = position;
}

Vector2<float> CSkeleton::GetJointAnchor(unsigned joint) const
{
    return joint < m_joints.size() ? m_joints[joint].anchor : Vector2<float>();
}

void CSkeleton::SetJointAnchor(unsigned joint, const Vector2<float>& anchor)
{
    if (joint < m_joints.size())
        m_joints[joint].anchor = anchor;
}

void CSkeleton::QueueAllJoints()
{
    m_queue.clear();
    for (uint32_t i = 0; i < m_joints.size(); ++i)
        m_queue.push_back(i);
    std::fill(m_queued.begin(), m_queued.end(), uint8_t(1));
}

bool CSkeleton::HasKnobAt(const Vector2<float>& cell) const
{
    if (const CPuzzle* puzzle = CPuzzle::Peek())
        return puzzle->FindKnobNear(cell) != nullptr;
    return cell.x >= 0.0f && cell.x <= 7.0f && cell.y >= 0.0f && cell.y <= 7.0f;
}

void CSkeleton::ShiftJointHistory(unsigned joint)
{
    if (joint < m_joints.size())
        m_joints[joint].ShiftHistory();
}

bool CSkeleton::GetLastDraggedLimb(int& limb, Vector2<float>& position) const
{
    const CJoint* joint = GetJoint(m_activeJoint);
    if (!joint)
        return false;
    limb = joint->id >= 0 ? joint->id : m_activeJoint;
    position = joint->position;
    return true;
}

void CSkeleton::SetPose(Pose pose)
{
    m_drag.CancelDrag();
    TakePose(pose);
}

void CSkeleton::TakePose(Pose pose)
{
    Pose::ApplyToSkeleton(pose, *this);
    const CMoveMap* map = GetMoveMap();
    const unsigned limbs = std::min(m_limbCount, kMaxLimbs);
    if (limbs != 0 && !(map && map->SnapToRestPose(*this)))
    {
        // Without a rest shape for the pose, the body takes the document's own shape, centred
        // on the limbs: relaxing from whatever shape it had may leave it tangled or stretched
        // across the board.
        Vector2<float> offset;
        for (unsigned i = 0; i < limbs; ++i)
            offset += m_joints[i].position - m_joints[i].rest;
        offset /= float(limbs);
        for (size_t i = limbs; i < m_joints.size(); ++i)
            m_joints[i].position = m_joints[i].rest + offset;
    }
    // Whether or not the map knew the pose, the frog stands still in it: a limb that jumped
    // with its old history would be dragged back by its own inertia, tearing the body apart.
    ShiftHistory();
    ShiftHistory();
    m_currentPose = pose;
    m_poseSet = 1;
    ++m_changeCount;
    UpdateHeading();
}

void CSkeleton::ReleaseJoint(const Vector2<float>& point)
{
    m_drag.ReleaseJoint(point);
}

void CSkeleton::Clear()
{
    m_joints.clear();
    m_bones.clear();
    m_ligaments.clear();
    m_jointBones.clear();
    m_jointLigaments.clear();
    m_limbCount = 0;
    for (Vector2<float>& home : m_home)
        home = Vector2<float>();
    m_grabbed = m_pending = m_activeJoint = -1;
    m_state = kDrag;
    m_heading = Vector2<float>(0.0f, -1.0f);
    m_headPoint = Vector2<float>();
    m_queue.clear();
    m_queued.clear();
}

bool CSkeleton::ReadJoints(CXmlNode* root)
{
    float scale = 1.0f;
    if (root->HasAttribute("fix/scale"))
        scale = float(ParseFloat(root->GetAttribute("fix/scale").c_str()));

    bool limbsDone = false;
    for (CXmlNode* node = root->FindChild("joint"); node; node = node->NextSiblingNamed("joint"))
    {
        CJoint joint;
        float rest[3];
        ParseFloatFields(node->GetAttribute("restposition").c_str(), rest, 3);
        joint.rest = joint.position = joint.previous = joint.older = Vector2<float>(rest[0], rest[1]) * scale;
        // Held where it stands until a pose gives it a knob.
        joint.anchor = joint.saved = joint.position;
        joint.height = rest[2] * scale;
        joint.draggable = joint.pinned = ParseBool(node->GetAttribute("draggable").c_str()) ? 1 : 0;
        if (node->HasAttribute("acceleration"))
            joint.acceleration = std::fabs(float(ParseFloat(node->GetAttribute("acceleration").c_str())));
        joint.accelerationSquared = joint.acceleration * joint.acceleration;
        const CString& torso = node->GetAttribute("torso");
        joint.front = torso == "front" ? 1 : 0;
        joint.back = torso == "back" ? 1 : 0;
        if (node->HasAttribute("id"))
            joint.id = ParseInt(node->GetAttribute("id").c_str());

        // Poses address limb i as joint i: the draggable joints must come first.
        if (joint.draggable)
        {
            if (limbsDone || m_limbCount == kMaxLimbs)
                return false;
            ++m_limbCount;
        }
        else
            limbsDone = true;
        m_joints.push_back(std::move(joint));
    }
    // The moving limb arcs around joint 4, the body joint.
    return m_joints.size() > kBodyJoint;
}

void CSkeleton::ReadBones(CXmlNode* root)
{
    for (CXmlNode* node = root->FindChild("bone"); node; node = node->NextSiblingNamed("bone"))
    {
        CBone bone;
        bone.one = ParseInt(node->GetAttribute("one").c_str());
        bone.two = ParseInt(node->GetAttribute("two").c_str());
        if (!IsJoint(bone.one, m_joints.size()) || !IsJoint(bone.two, m_joints.size()) || bone.one == bone.two)
            continue;
        const Vector2<float> span = m_joints[size_t(bone.two)].position - m_joints[size_t(bone.one)].position;
        bone.restLengthSquared = Dot(span, span);
        bone.restLength = std::sqrt(bone.restLengthSquared);
        m_bones.push_back(bone);
    }
}

void CSkeleton::ReadLigaments(CXmlNode* root)
{
    for (CXmlNode* node = root->FindChild("ligament"); node; node = node->NextSiblingNamed("ligament"))
    {
        CLigament ligament;
        ligament.pivot = ParseInt(node->GetAttribute("pivot").c_str());
        ligament.one = ParseInt(node->GetAttribute("one").c_str());
        ligament.two = ParseInt(node->GetAttribute("two").c_str());
        const size_t count = m_joints.size();
        if (!IsJoint(ligament.pivot, count) || !IsJoint(ligament.one, count) || !IsJoint(ligament.two, count) ||
            ligament.pivot == ligament.one || ligament.pivot == ligament.two)
            continue;
        const CString& min = node->GetAttribute("min");
        const CString& max = node->GetAttribute("max");
        ligament.minAngle = (min.empty() ? -360.0f : float(ParseFloat(min.c_str()))) * kDegreesToRadians;
        ligament.maxAngle = (max.empty() ? 360.0f : float(ParseFloat(max.c_str()))) * kDegreesToRadians;
        if (ParseBool(node->GetAttribute("rigid").c_str()))
        {
            const Vector2<float> pivot = m_joints[size_t(ligament.pivot)].position;
            ligament.minAngle = ligament.maxAngle = FastAngle(m_joints[size_t(ligament.one)].position - pivot,
                                                              m_joints[size_t(ligament.two)].position - pivot);
        }
        m_ligaments.push_back(ligament);
    }
}

void CSkeleton::ReadHome(CXmlNode* root)
{
    CXmlNode* home = root->FindChild("home");
    if (!home)
        return;
    for (unsigned foot = 0; foot < kMaxLimbs; ++foot)
    {
        float point[2];
        ParseFloatFields(home->GetAttribute(CString::Format("foot%u", foot).c_str()).c_str(), point, 2);
        m_home[foot] = Vector2<float>(point[0], point[1]);
    }
}

void CSkeleton::SpreadDistance(uint32_t limb)
{
    // Shortest bone paths, found by repeated passes: the walk of a tree, and safe on content
    // whose bones close a loop.
    m_joints[limb].SetDistance(int(limb), 0.0f);
    for (bool changed = true; changed;)
    {
        changed = false;
        for (const CBone& bone : m_bones)
        {
            CJoint& a = m_joints[size_t(bone.one)];
            CJoint& b = m_joints[size_t(bone.two)];
            const float viaA = a.GetDistance(int(limb)) + bone.restLength;
            const float viaB = b.GetDistance(int(limb)) + bone.restLength;
            if (viaA < b.GetDistance(int(limb)))
                b.SetDistance(int(limb), viaA), changed = true;
            else if (viaB < a.GetDistance(int(limb)))
                a.SetDistance(int(limb), viaB), changed = true;
        }
    }
}

void CSkeleton::DragStep(float dt)
{
    m_drag.DragStep(dt);
}

const CMoveMap* CSkeleton::GetMoveMap() const
{
    return m_moveMap ? m_moveMap : CMoveMap::Peek();
}
