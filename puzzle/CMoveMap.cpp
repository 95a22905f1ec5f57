#include "puzzle/CMoveMap.h"

#include "core/CFileStream.h"
#include "core/CFileSystem.h"
#include "core/CXmlReader.h"
#include "core/TextFields.h"
#include "puzzle/CPoseSkeleton.h"

#include <cmath>
#include <cstring>

namespace
{
// Bounds-checked little-endian reads over the bytes of a ".mvm" file.
class ByteReader
{
  public:
    ByteReader(const uint8_t* bytes, size_t size) : m_bytes(bytes), m_left(size) {}

    size_t Left() const { return m_left; }

    bool ReadU32(uint32_t& value)
    {
        if (m_left < 4)
            return false;
        value = uint32_t(m_bytes[0]) | uint32_t(m_bytes[1]) << 8 | uint32_t(m_bytes[2]) << 16 |
                uint32_t(m_bytes[3]) << 24;
        m_bytes += 4;
        m_left -= 4;
        return true;
    }

    bool ReadF32(float& value)
    {
        uint32_t bits;
        if (!ReadU32(bits))
            return false;
        std::memcpy(&value, &bits, sizeof(value));
        return true;
    }

  private:
    const uint8_t* m_bytes;
    size_t m_left;
};

// Rest points far outside the board are corrupt data; they would throw the body off the screen.
bool IsSaneCoordinate(float value)
{
    return std::isfinite(value) && std::fabs(value) < 1e6f;
}

// Calls visit (start, length) for each comma-separated field of text, empty ones included.
template <typename Visit> void ForEachField(const CString& text, Visit visit)
{
    size_t start = 0;
    for (;;)
    {
        const size_t comma = text.find(',', start);
        const size_t end = comma == CString::npos ? text.size() : comma;
        visit(text.c_str() + start, end - start);
        if (comma == CString::npos)
            return;
        start = comma + 1;
    }
}
} // namespace

bool CMoveMap::Entry::operator==(const Entry& other) const
{
    for (int limb = 0; limb < kLimbCount; ++limb)
        if (targets[limb] != other.targets[limb])
            return false;
    return rest == other.rest;
}

REGISTER_SINGLETON(CMoveMap, "global", 50);

void CMoveMap::Init()
{
    Load("movemap");
}

bool CMoveMap::LoadBinary(const char* name)
{
    m_entries.clear();
    if (!name)
        return false;
    const CString path = CString::Format("%s/%s.mvm", CFileSystem::Instance()->GetDataFolder().c_str(), name);
    return LoadBinaryFile(path.c_str());
}

void CMoveMap::LoadXml(const char* name)
{
    m_entries.clear();
    CXmlReader reader;
    if (name && reader.Open(name))
        ReadXml(reader);
}

bool CMoveMap::Load(const char* name)
{
    if (LoadBinary(name))
        return true;
    LoadXml(name);
    return false;
}

bool CMoveMap::LoadBinaryFile(const char* path)
{
    m_entries.clear();
    CFileStream stream;
    if (!stream.Open(path, CFileStream::kRead))
        return false;
    CString bytes;
    if (!stream.ReadAll(bytes))
        return false;
    return LoadBinaryBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

bool CMoveMap::LoadBinaryBytes(const uint8_t* bytes, size_t size)
{
    m_entries.clear();
    if (ParseBinary(bytes, size))
        return true;
    // A half-read table would offer hops from some poses and not others.
    m_entries.clear();
    return false;
}

void CMoveMap::LoadXmlFile(const char* path)
{
    m_entries.clear();
    CXmlReader reader;
    if (path && reader.OpenPath(path))
        ReadXml(reader);
}

bool CMoveMap::Contains(Pose pose) const
{
    return Find(pose, nullptr) != nullptr;
}

void CMoveMap::GetLandingCells(Pose pose, int limb, std::vector<Vector2<float>>& out) const
{
    out.clear();
    if (m_entries.empty() || limb < 0 || limb >= kLimbCount)
    {
        out.reserve(64);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                out.emplace_back(float(x), float(y));
        return;
    }
    out.emplace_back(Pose::GetCell(pose, limb));
    const Entry* entry = Find(pose, nullptr);
    if (!entry)
        return;

    Vector2<int> low(7, 7), high(0, 0);
    for (int i = 0; i < kLimbCount; ++i)
    {
        const Vector2<int> cell = Pose::GetCell(pose, i);
        low.x = std::min(low.x, cell.x);
        low.y = std::min(low.y, cell.y);
        high.x = std::max(high.x, cell.x);
        high.y = std::max(high.y, cell.y);
    }
    // Targets are placed against the pose moved to the board's centre, so that a hop reaching
    // past the pose's box on either side still fits on the board; then moved back.
    const Vector2<int> shift((low.x + high.x - 7) / 2, (low.y + high.y - 7) / 2);
    Pose centred = pose;
    for (int i = 0; i < kLimbCount; ++i)
        centred = Pose::SetCell(centred, i, Pose::GetCell(pose, i) - shift);

    const int reference = GetReferenceLimb(limb);
    const std::vector<Pose>& targets = entry->targets[limb];
    out.reserve(1 + targets.size());
    for (Pose target : targets)
    {
        const Pose aligned = Pose::AlignTo(target, centred, reference);
        if (!aligned.IsNone())
            out.emplace_back(Pose::GetCell(aligned, limb) + shift);
    }
}

void CMoveMap::ApplyRestPose(CPoseSkeleton& skeleton, Pose pose) const
{
    Vector2<int> offset;
    if (const Entry* entry = Find(pose, &offset))
        AddRest(skeleton, *entry, offset, 1.0f, true);
}

void CMoveMap::AddRestPose(CPoseSkeleton& skeleton, Pose pose, float weight) const
{
    Vector2<int> offset;
    if (const Entry* entry = Find(pose, &offset))
        AddRest(skeleton, *entry, offset, weight, false);
}

void CMoveMap::ScaleJoints(CPoseSkeleton& skeleton, float factor)
{
    const unsigned count = skeleton.GetJointCount();
    for (unsigned i = 0; i < count; ++i)
        skeleton.SetJointPosition(i, skeleton.GetJointPosition(i) * factor);
}

bool CMoveMap::SnapToRestPose(CPoseSkeleton& skeleton) const
{
    const unsigned limbs = std::min(skeleton.GetLimbJointCount(), skeleton.GetJointCount());
    for (unsigned i = 0; i < limbs; ++i)
    {
        const Vector2<float> anchor = skeleton.GetJointAnchor(i);
        const Vector2<float> cell(std::floor(anchor.x + 0.5f), std::floor(anchor.y + 0.5f));
        // Written so that an anchor that is not a number fails too.
        if (!(cell.x >= 0.0f && cell.x <= 7.0f && cell.y >= 0.0f && cell.y <= 7.0f))
            return false;
        const Vector2<float> off = anchor - cell;
        if (Dot(off, off) > 0.001f)
            return false;
        if (!skeleton.HasKnobAt(cell))
            return false;
    }
    Vector2<int> offset;
    const Entry* entry = Find(Pose::FromSkeleton(skeleton), &offset);
    if (!entry)
        return false;
    AddRest(skeleton, *entry, offset, 1.0f, true);
    skeleton.QueueAllJoints();
    return true;
}

void CMoveMap::BlendDragPose(CPoseSkeleton& skeleton, Pose pose, int limb) const
{
    if (m_entries.empty() || limb < 0 || limb >= kLimbCount || unsigned(limb) >= skeleton.GetJointCount())
        return;
    const Entry* entry = Find(pose, nullptr);
    if (!entry)
        return;
    const Vector2<float> p = skeleton.GetJointPosition(unsigned(limb));
    // A dragged joint is confined near the board; anything else is not worth a shape.
    if (!(std::fabs(p.x) < 1000.0f && std::fabs(p.y) < 1000.0f))
        return;

    // Corners of the cell square around the joint. The fraction is taken from the floor, so that
    // it stays in 0..1 left of and above the board too (landing cells at -1 exist).
    const float floorX = std::floor(p.x), floorY = std::floor(p.y);
    const int x0 = int(floorX + 0.5f), y0 = int(floorY + 0.5f);
    const int x1 = int(std::ceil(p.x) + 0.5f), y1 = int(std::ceil(p.y) + 0.5f);
    const float fx = p.x - floorX, fy = p.y - floorY;

    const int reference = GetReferenceLimb(limb);
    const std::vector<Pose>& targets = entry->targets[limb];
    float total = 0.0f;
    for (size_t i = 0; i <= targets.size() && total < 1.0f; ++i)
    {
        const Pose candidate = i < targets.size() ? targets[i] : pose;
        const Pose aligned = Pose::AlignTo(candidate, pose, reference);
        if (aligned.IsNone())
            continue;
        const Vector2<int> c = Pose::GetCell(aligned, limb);
        float weight;
        if (c.x == x0 && c.y == y0)
            weight = (1.0f - fx) * (1.0f - fy);
        else if (c.x == x1 && c.y == y0)
            weight = fx * (1.0f - fy);
        else if (c.x == x0 && c.y == y1)
            weight = (1.0f - fx) * fy;
        else if (c.x == x1 && c.y == y1)
            weight = fx * fy;
        else
            continue;
        // Only shapes the table has count: a missing one would pull the body toward the origin.
        Vector2<int> offset;
        const Entry* shape = Find(aligned, &offset);
        if (!shape || !(weight > 0.0f))
            continue;
        if (total == 0.0f)
            ScaleJoints(skeleton, 0.0f);
        AddRest(skeleton, *shape, offset, weight, false);
        total += weight;
    }
    if (total != 0.0f && total != 1.0f)
        ScaleJoints(skeleton, 1.0f / total);
}

const CMoveMap::Entry* CMoveMap::Find(Pose pose, Vector2<int>* offset) const
{
    if (pose.IsNone())
        return nullptr;
    const Vector2<int> shift = Pose::Normalise(pose);
    const auto found = m_entries.find(pose);
    if (found == m_entries.end())
        return nullptr;
    if (offset)
        *offset = shift;
    return &found->second;
}

bool CMoveMap::ParseBinary(const uint8_t* bytes, size_t size)
{
    if (!bytes)
        return false;
    ByteReader in(bytes, size);
    uint32_t magic = 0, entryCount = 0, jointCount = 0;
    if (!in.ReadU32(magic) || magic != kMagic)
        return false;
    if (!in.ReadU32(entryCount) || entryCount >= kMaxEntries)
        return false;
    if (!in.ReadU32(jointCount) || jointCount > kMaxJoints)
        return false;
    // Every entry holds at least its key, four counts and its rest points: a header that claims
    // more than the file can hold is refused before anything is allocated.
    const uint64_t smallestEntry = 4 * (1 + kLimbCount) + 8 * uint64_t(jointCount);
    if (uint64_t(entryCount) * smallestEntry > in.Left())
        return false;

    for (uint32_t e = 0; e < entryCount; ++e)
    {
        uint32_t key = 0;
        if (!in.ReadU32(key))
            return false;
        // A repeated key reads into the entry it already has.
        Entry& entry = m_entries[Pose(key)];
        for (int limb = 0; limb < kLimbCount; ++limb)
        {
            uint32_t count = 0;
            if (!in.ReadU32(count))
                return false;
            if (count == 0)
                continue;
            // A count the file cannot hold is corrupt: refuse it rather than allocate for it.
            if (count > in.Left() / 4)
                return false;
            std::vector<Pose>& targets = entry.targets[limb];
            targets.resize(count);
            for (Pose& target : targets)
            {
                uint32_t bits = 0;
                in.ReadU32(bits);
                target = Pose(bits);
            }
        }
        if (uint64_t(jointCount) * 8 > in.Left())
            return false;
        entry.rest.resize(jointCount);
        for (Vector2<float>& point : entry.rest)
        {
            in.ReadF32(point.x);
            in.ReadF32(point.y);
            if (!IsSaneCoordinate(point.x) || !IsSaneCoordinate(point.y))
                return false;
        }
    }
    return true;
}

void CMoveMap::ReadXml(CXmlReader& reader)
{
    if (!reader.FirstChildNamed("reach"))
        return;
    do
    {
        Pose key;
        if (!Pose::FromText(reader.GetAttribute("from").c_str(), key) || key.IsNone())
            continue;
        // A repeated key adds to its entry.
        Entry& entry = m_entries[key];
        for (int limb = 0; limb < kLimbCount; ++limb)
        {
            const CString& list = reader.GetAttribute(CString::Format("foot%d", limb));
            ForEachField(list,
                         [&](const char* field, size_t length)
                         {
                             char text[9];
                             Pose target;
                             if (length != 8)
                                 return;
                             std::memcpy(text, field, 8);
                             text[8] = '\0';
                             if (Pose::FromText(text, target) && !target.IsNone())
                                 entry.targets[limb].push_back(target);
                         });
        }
        std::vector<float> numbers;
        ForEachField(reader.GetAttribute("rest"),
                     [&](const char* field, size_t)
                     {
                         const float value = float(ParseFloat(field));
                         numbers.push_back(IsSaneCoordinate(value) ? value : 0.0f);
                     });
        for (size_t i = 0; i + 1 < numbers.size(); i += 2)
            entry.rest.emplace_back(numbers[i], numbers[i + 1]);
    } while (reader.NextElementNamed("reach"));
}

void CMoveMap::AddRest(CPoseSkeleton& skeleton, const Entry& entry, const Vector2<int>& offset, float weight,
                       bool replace) const
{
    const Vector2<float> shift(offset);
    const size_t count = std::min(entry.rest.size(), size_t(skeleton.GetJointCount()));
    for (size_t i = 0; i < count; ++i)
    {
        const Vector2<float> placed = entry.rest[i] + shift;
        const unsigned joint = unsigned(i);
        skeleton.SetJointPosition(joint,
                                  replace ? placed : skeleton.GetJointPosition(joint) + placed * weight);
    }
}
