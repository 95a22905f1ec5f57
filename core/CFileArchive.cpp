#include "core/CFileArchive.h"

#include "core/CFileSystem.h"

REGISTER_SINGLETON(CFileArchive, "hanging", 50);

namespace
{
constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr size_t kEndSize = 22;
constexpr size_t kCentralSize = 46;
constexpr size_t kLocalSize = 30;
constexpr uint32_t kMaxNameLength = 1024;
constexpr uint32_t kStored = 0;
// General-purpose flag: sizes follow the data, the local header's are 0.
constexpr uint32_t kSizesAfterData = 0x0008;

uint32_t Read16(const unsigned char* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8);
}

uint32_t Read32(const unsigned char* p)
{
    return Read16(p) | (Read16(p + 2) << 16);
}

bool ReadExactly(CFileStream& stream, void* buffer, size_t count)
{
    return stream.Read(buffer, count) == count && stream.IsGood();
}
} // namespace

CFileArchive* CFileArchive::PeekAttached()
{
    CFileArchive* archive = Peek();
    return archive && archive->IsAttached() ? archive : nullptr;
}

bool CFileArchive::Attach(CFileStream& stream, int64_t offset, int64_t length)
{
    m_directory.clear();
    m_archive.Close();
    if (&stream != &m_ownedFile)
        m_ownedFile.Close();
    m_archive.AttachWindow(stream, offset, length);
    if (ReadDirectory())
        return true;
    Detach();
    return false;
}

bool CFileArchive::AttachFile(const char* path)
{
    Detach();
    if (!m_ownedFile.Open(path, CFileStream::kRead))
        return false;
    return Attach(m_ownedFile, 0, -1);
}

void CFileArchive::Detach()
{
    m_directory.clear();
    m_archive.Close();
    m_ownedFile.Close();
    m_archiveLength = 0;
}

bool CFileArchive::ReadDirectory()
{
    m_directory.clear();
    if (!m_archive.IsGood())
        return false;
    m_archive.Seek(0, CStream::kFromEnd);
    m_archiveLength = m_archive.Tell();
    // No archive comment: the end record is exactly the last 22 bytes.
    if (m_archiveLength < int64_t(kEndSize))
        return false;
    const int64_t endRecord = m_archiveLength - int64_t(kEndSize);
    m_archive.Seek(endRecord, CStream::kFromStart);
    unsigned char end[kEndSize];
    if (!ReadExactly(m_archive, end, kEndSize) || Read32(end) != kEndSignature || Read16(end + 4) != 0 ||
        Read16(end + 6) != 0)
        return false;
    const int32_t total = int16_t(Read16(end + 10));
    const int64_t directoryOffset = Read32(end + 16);
    if (total < 0 || directoryOffset > endRecord)
        return false;
    m_archive.Seek(directoryOffset, CStream::kFromStart);
    for (int32_t i = 0; i < total; ++i)
    {
        unsigned char header[kCentralSize];
        if (!ReadExactly(m_archive, header, kCentralSize) || Read32(header) != kCentralSignature)
            return false;
        const uint32_t nameLength = Read16(header + 28);
        const int64_t skip = int64_t(Read16(header + 30)) + Read16(header + 32);
        if (nameLength < 1 || nameLength > kMaxNameLength)
            return false;
        char name[kMaxNameLength];
        if (!ReadExactly(m_archive, name, nameLength))
            return false;
        if (m_archive.Tell() + skip > endRecord)
            return false;
        m_archive.Seek(skip, CStream::kFromCurrent);
        if (!m_archive.IsGood())
            return false;
        // Compressed members cannot be read as a window: skip them and keep the rest.
        const uint32_t method = Read16(header + 10);
        const int64_t compressedSize = Read32(header + 20);
        const int64_t size = Read32(header + 24);
        const int64_t localHeader = Read32(header + 42);
        if (method != kStored || compressedSize != size)
            continue;
        // A member whose bytes cannot lie before the directory is never opened.
        if (localHeader + int64_t(kLocalSize) + nameLength + size > directoryOffset)
            continue;
        Entry& entry = m_directory[CString(name, nameLength)];
        entry.localHeaderOffset = localHeader;
        entry.dataOffset = 0;
        entry.size = size;
    }
    return true;
}

void CFileArchive::Open(const char* name, CFileStream& out)
{
    out.Close();
    const auto found = Find(name);
    if (found == m_directory.end() || !ResolveData(found->second))
        return;
    out.AttachWindow(m_archive, found->second.dataOffset, found->second.size);
}

bool CFileArchive::Contains(const char* name) const
{
    return Find(name) != m_directory.end();
}

CFileArchive::Directory::iterator CFileArchive::Find(const char* name)
{
    const auto found = static_cast<const CFileArchive*>(this)->Find(name);
    return m_directory.erase(found, found);
}

CFileArchive::Directory::const_iterator CFileArchive::Find(const char* name) const
{
    if (!name || m_directory.empty())
        return m_directory.end();
    const CString key = CFileSystem::Normalise(MakeString(name));
    const auto found = m_directory.find(key);
    if (found != m_directory.end())
        return found;
    // Readers ask for full paths; an archive of the data folder names its members relative to it.
    if (const CFileSystem* fileSystem = CFileSystem::Peek())
    {
        const CString folder = CFileSystem::Normalise(fileSystem->GetDataFolder()) + "/";
        if (key.size() > folder.size() && key.compare(0, folder.size(), folder) == 0)
            return m_directory.find(key.substr(folder.size()));
    }
    return m_directory.end();
}

bool CFileArchive::ResolveData(Entry& entry)
{
    if (entry.dataOffset != 0)
        return true;
    if (entry.localHeaderOffset + int64_t(kLocalSize) > m_archiveLength)
        return false;
    m_archive.Seek(entry.localHeaderOffset, CStream::kFromStart);
    unsigned char header[kLocalSize];
    if (!ReadExactly(m_archive, header, kLocalSize) || Read32(header) != kLocalSignature ||
        Read16(header + 8) != kStored)
        return false;
    const int64_t compressedSize = Read32(header + 18);
    const int64_t size = Read32(header + 22);
    // Sizes written after the data leave zeros here; the central directory's then stand.
    if (!(Read16(header + 6) & kSizesAfterData) && (compressedSize != entry.size || size != entry.size))
        return false;
    const int64_t dataOffset =
        entry.localHeaderOffset + int64_t(kLocalSize) + Read16(header + 26) + Read16(header + 28);
    if (dataOffset + entry.size > m_archiveLength)
        return false;
    entry.dataOffset = dataOffset;
    return true;
}
