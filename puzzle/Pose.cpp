#include "puzzle/Pose.h"

#include "puzzle/CPoseSkeleton.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace
{
constexpr int kLimbs = 4;

bool IsLimb(int limb)
{
    return limb >= 0 && limb < kLimbs;
}

int CellX(uint32_t bits, int limb)
{
    return int((bits >> (8 * limb)) & 15u);
}

int CellY(uint32_t bits, int limb)
{
    return int((bits >> (8 * limb + 4)) & 15u);
}

uint32_t WithByte(uint32_t bits, int limb, uint8_t byte)
{
    const int shift = 8 * limb;
    return (bits & ~(0xFFu << shift)) | (uint32_t(byte) << shift);
}

// Integer part of value + 0.5, as a pose cell is read from an anchor. Anchors far off the board
// (or not numbers) are clamped first: converting them to int would be undefined.
int RoundAnchor(float value)
{
    const float shifted = value + 0.5f;
    if (!(shifted > -65536.0f))
        return -65536;
    if (shifted > 65536.0f)
        return 65536;
    return int(shifted);
}
} // namespace

Vector2<int> Pose::GetCell(Pose pose, int limb)
{
    if (!IsLimb(limb))
        return Vector2<int>(INT_MAX, INT_MAX);
    return Vector2<int>(CellX(pose.m_bits, limb), CellY(pose.m_bits, limb));
}

Pose Pose::SetCell(Pose pose, int limb, const Vector2<int>& cell)
{
    if (!IsLimb(limb))
        return pose;
    return Pose(WithByte(pose.m_bits, limb, PackCell(cell)));
}

uint8_t Pose::PackCell(const Vector2<int>& cell)
{
    return uint8_t(((unsigned(cell.y) & 15u) << 4) | (unsigned(cell.x) & 15u));
}

bool Pose::IsOnBoard(Pose pose)
{
    return (pose.m_bits & 0x88888888u) == 0;
}

bool Pose::HasDistinctCells(Pose pose)
{
    for (int i = 0; i < kLimbs; ++i)
        for (int j = i + 1; j < kLimbs; ++j)
            if (((pose.m_bits >> (8 * i)) & 0xFFu) == ((pose.m_bits >> (8 * j)) & 0xFFu))
                return false;
    return true;
}

int Pose::CountEqualCells(Pose a, Pose b)
{
    int count = 0;
    for (int i = 0; i < kLimbs; ++i)
        if (((a.m_bits ^ b.m_bits) >> (8 * i) & 0xFFu) == 0)
            ++count;
    return count;
}

int Pose::ChangedLimb(Pose a, Pose b)
{
    int changed = -1;
    for (int i = 0; i < kLimbs; ++i)
    {
        if (((a.m_bits ^ b.m_bits) >> (8 * i) & 0xFFu) == 0)
            continue;
        if (changed >= 0)
            return -1;
        changed = i;
    }
    return changed;
}

Pose Pose::AlignTo(Pose pose, Pose other, int limb)
{
    if (!IsLimb(limb))
        return pose;
    const int dx = CellX(other.m_bits, limb) - CellX(pose.m_bits, limb);
    const int dy = CellY(other.m_bits, limb) - CellY(pose.m_bits, limb);
    uint32_t bits = 0;
    for (int i = 0; i < kLimbs; ++i)
    {
        const int x = CellX(pose.m_bits, i) + dx;
        const int y = CellY(pose.m_bits, i) + dy;
        if (x < 0 || x > 7 || y < 0 || y > 7)
            return Pose();
        bits = WithByte(bits, i, PackCell(Vector2<int>(x, y)));
    }
    return Pose(bits);
}

Vector2<int> Pose::Normalise(Pose& pose)
{
    Vector2<int> offset(7, 7);
    for (int i = 0; i < kLimbs; ++i)
    {
        offset.x = std::min(offset.x, CellX(pose.m_bits, i));
        offset.y = std::min(offset.y, CellY(pose.m_bits, i));
    }
    // Both minima are at most every nibble, so no nibble borrows from its neighbour.
    const uint32_t perByte = uint32_t(offset.y) << 4 | uint32_t(offset.x);
    pose.m_bits -= perByte * 0x01010101u;
    return offset;
}

void Pose::MirrorX(Pose& pose)
{
    uint32_t bits = pose.m_bits;
    for (int i = 0; i < kLimbs; ++i)
        bits = WithByte(bits, i, PackCell(Vector2<int>(7 - CellX(bits, i), CellY(bits, i))));
    pose.m_bits = bits;
}

Pose Pose::Transform(Pose pose, int flags)
{
    if (flags & 4)
        MirrorX(pose);
    for (int turn = 0; turn < (flags & 3); ++turn)
    {
        uint32_t bits = pose.m_bits;
        for (int i = 0; i < kLimbs; ++i)
            bits =
                WithByte(bits, i, PackCell(Vector2<int>(CellY(pose.m_bits, i), 7 - CellX(pose.m_bits, i))));
        pose.m_bits = bits;
    }
    return pose;
}

CString Pose::ToText(Pose pose)
{
    return CString::Format("%08X", unsigned(pose.m_bits));
}

bool Pose::FromText(const char* text, Pose& pose)
{
    if (!text)
        return false;
    for (int i = 0; i < 8; ++i)
        if (text[i] < '0' || text[i] > '7')
            return false;
    if (text[8] != '\0')
        return false;
    uint32_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits = bits << 4 | uint32_t(text[i] - '0');
    pose.m_bits = bits;
    return true;
}

Pose Pose::FromSkeleton(const CPoseSkeleton& skeleton)
{
    const unsigned limbs =
        std::min({skeleton.GetLimbJointCount(), skeleton.GetJointCount(), unsigned(kLimbs)});
    uint32_t bits = 0;
    for (unsigned i = 0; i < limbs; ++i)
    {
        const Vector2<float> anchor = skeleton.GetJointAnchor(i);
        const Vector2<int> cell(RoundAnchor(anchor.x), RoundAnchor(anchor.y));
        bits = WithByte(bits, int(i), PackCell(cell));
    }
    return Pose(bits);
}

void Pose::ApplyToSkeleton(Pose pose, CPoseSkeleton& skeleton)
{
    const unsigned limbs =
        std::min({skeleton.GetLimbJointCount(), skeleton.GetJointCount(), unsigned(kLimbs)});
    for (unsigned i = 0; i < limbs; ++i)
    {
        const Vector2<float> cell(Vector2<int>(CellX(pose.m_bits, int(i)), CellY(pose.m_bits, int(i))));
        skeleton.SetJointPosition(i, cell);
        skeleton.SetJointAnchor(i, cell);
    }
}
