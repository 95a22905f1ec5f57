#pragma once
// Reads members of a ZIP archive stored without compression, so that CFileStream can take a file
// from an attached archive before it looks on disk. Nothing attaches one at start-up. Invariant:
// the directory lists only stored members whose name was read whole from a sound directory; a
// member is opened only when its local header agrees and its bytes lie inside the archive.
#include "core/CBase.h"
#include "core/CFileStream.h"
#include "core/CSingleton.h"

#include <map>

class CFileArchive : public CBase, public CSingleton<CFileArchive>
{
  public:
    CFileArchive() = default;
    ~CFileArchive() override = default;

    // The instance when it exists and has an archive attached; never creates it.
    static CFileArchive* PeekAttached();

    // Reads the archive that lies in stream's bytes [offset, offset + length) (length -1: to the
    // end). stream's FILE must outlive the attachment. False, with an empty directory, when the
    // directory cannot be read.
    bool Attach(CFileStream& stream, int64_t offset, int64_t length);
    // Opens and owns the archive file at path, then attaches it whole.
    bool AttachFile(const char* path);
    // Forgets the archive; reads go to plain files again.
    void Detach();
    bool IsAttached() const { return m_archive.IsOpen(); }

    // Rebuilds the directory from the end record and central directory. Members that are not
    // stored (compressed, or sizes that differ) are skipped. False on a corrupt directory; the
    // members read before the fault stay listed.
    bool ReadDirectory();
    // Makes out a window over the bytes of the named member; out stays closed when the archive has
    // no such member or its local header is unusable. The name is normalised; a path inside the
    // data folder also finds the member named relative to that folder.
    void Open(const char* name, CFileStream& out);
    bool Contains(const char* name) const;
    size_t GetMemberCount() const { return m_directory.size(); }

  private:
    struct Entry
    {
        int64_t localHeaderOffset = 0;
        int64_t dataOffset = 0; // 0 until the local header was read
        int64_t size = 0;       // bytes, from the central directory
    };
    using Directory = std::map<CString, Entry>;

    Directory::iterator Find(const char* name);
    Directory::const_iterator Find(const char* name) const;
    // Reads the local header once; false when it does not describe the stored member.
    bool ResolveData(Entry& entry);

    CFileStream m_ownedFile;
    CFileStream m_archive;
    Directory m_directory;
    int64_t m_archiveLength = 0; // bytes, measured when the directory is read
};
