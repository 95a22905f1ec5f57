#include "tools/CMoveMapWriter.h"

#include "core/CFileStream.h"

#include <cmath>
#include <cstring>

namespace
{
void AppendU32(CString& out, uint32_t value)
{
    const char bytes[4] = {char(value & 0xFF), char(value >> 8 & 0xFF), char(value >> 16 & 0xFF),
                           char(value >> 24 & 0xFF)};
    out.append(bytes, sizeof(bytes));
}

void AppendF32(CString& out, float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    AppendU32(out, bits);
}

bool HasFiniteRest(const CMoveMap::Entry& entry)
{
    for (const Vector2<float>& point : entry.rest)
        if (!std::isfinite(point.x) || !std::isfinite(point.y))
            return false;
    return true;
}

// The XML reader drops poses that are 0 and refuses texts with digits above 7.
bool IsWritablePose(Pose pose)
{
    return !pose.IsNone() && Pose::IsOnBoard(pose);
}

bool WriteFile(const CString& bytes, const char* path)
{
    CFileStream stream;
    if (!stream.Open(path, CFileStream::kWriteTruncate))
        return false;
    return stream.Write(bytes.data(), bytes.size());
}
} // namespace

bool CMoveMapWriter::ToBinary(const CMoveMap::Entries& entries, CString& out)
{
    out.clear();
    if (entries.size() >= CMoveMap::kMaxEntries)
        return false;
    const size_t jointCount = entries.empty() ? 0 : entries.begin()->second.rest.size();
    if (jointCount > CMoveMap::kMaxJoints)
        return false;
    for (const auto& [key, entry] : entries)
        if (entry.rest.size() != jointCount || !HasFiniteRest(entry))
            return false;

    AppendU32(out, CMoveMap::kMagic);
    AppendU32(out, uint32_t(entries.size()));
    AppendU32(out, uint32_t(jointCount));
    for (const auto& [key, entry] : entries)
    {
        AppendU32(out, key.Bits());
        for (const std::vector<Pose>& targets : entry.targets)
        {
            AppendU32(out, uint32_t(targets.size()));
            for (Pose target : targets)
                AppendU32(out, target.Bits());
        }
        for (const Vector2<float>& point : entry.rest)
        {
            AppendF32(out, point.x);
            AppendF32(out, point.y);
        }
    }
    return true;
}

bool CMoveMapWriter::ToXml(const CMoveMap::Entries& entries, CString& out)
{
    out.clear();
    for (const auto& [key, entry] : entries)
    {
        if (!IsWritablePose(key) || !HasFiniteRest(entry))
            return false;
        for (const std::vector<Pose>& targets : entry.targets)
            for (Pose target : targets)
                if (!IsWritablePose(target))
                    return false;
    }

    out = "<movemap>\n";
    for (const auto& [key, entry] : entries)
    {
        out += "<reach from=\"";
        out += Pose::ToText(key);
        out += "\"";
        for (int limb = 0; limb < CMoveMap::kLimbCount; ++limb)
        {
            out += CString::Format(" foot%d=\"", limb);
            const char* separator = "";
            for (Pose target : entry.targets[limb])
            {
                out += separator;
                out += Pose::ToText(target);
                separator = ",";
            }
            out += "\"";
        }
        out += " rest=\"";
        const char* separator = "";
        // Nine significant digits read back to the same float.
        for (const Vector2<float>& point : entry.rest)
        {
            out += CString::Format("%s%.9g,%.9g", separator, double(point.x), double(point.y));
            separator = ",";
        }
        out += "\"/>\n";
    }
    out += "</movemap>\n";
    return true;
}

bool CMoveMapWriter::WriteBinary(const CMoveMap::Entries& entries, const char* path)
{
    CString bytes;
    return ToBinary(entries, bytes) && WriteFile(bytes, path);
}

bool CMoveMapWriter::WriteXml(const CMoveMap::Entries& entries, const char* path)
{
    CString text;
    return ToXml(entries, text) && WriteFile(text, path);
}
