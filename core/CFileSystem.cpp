#include "core/CFileSystem.h"

#include "core/CFileArchive.h"
#include "core/CFileStream.h"

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace
{
// The phone's library fills 256 bytes; a desktop path can be longer.
constexpr int kCallingPathSize = PATH_MAX;
constexpr const char* kPreferencesFile = "preferences.xml";

// Function pointers only: constant-initialised, so installing them from other static
// initialisers is safe in any order.
CFileSystem::CallingPathProvider s_callingPathProvider = nullptr;
CFileSystem::LoadHook s_preferencesLoader = nullptr;
CFileSystem::LoadHook s_rulesLoader = nullptr;

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

int32_t LastSeparator(const CString& path)
{
    return CString::FindLastOf(path, "/\\");
}

bool AskCallingPath(CString& folder)
{
    if (!s_callingPathProvider)
        return false;
    std::vector<char> buffer(kCallingPathSize, '\0');
    if (s_callingPathProvider(buffer.data(), kCallingPathSize) != 0)
        return false;
    buffer.back() = '\0';
    folder = buffer.data();
    if (folder.empty())
        return false;
    // Names are appended without a separator.
    if (!IsSeparator(folder.back()))
        folder += '/';
    return true;
}

CString AbsoluteIfExists(const CString& path)
{
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved))
        return CString(resolved);
    return path;
}

bool IsRegularFile(const char* path)
{
    struct stat status;
    return stat(path, &status) == 0 && S_ISREG(status.st_mode);
}
} // namespace

REGISTER_SINGLETON(CFileSystem, "hanging", 50);

CFileSystem::CFileSystem() : m_dataFolder(".") {}

void CFileSystem::Init()
{
    if (HasAppFolder())
    {
        const CString appFolder = GetAppFolder();
        m_dataFolder = AbsoluteIfExists(appFolder + "data");
        CopyLegacyPreferences(appFolder, kLegacyPreferencesPath);
    }
    if (s_preferencesLoader)
        s_preferencesLoader();
    if (s_rulesLoader)
        s_rulesLoader();
}

CFileSystem::CallingPathProvider CFileSystem::SetCallingPathProvider(CallingPathProvider provider)
{
    return std::exchange(s_callingPathProvider, provider);
}

CFileSystem::LoadHook CFileSystem::SetPreferencesLoader(LoadHook loader)
{
    return std::exchange(s_preferencesLoader, loader);
}

CFileSystem::LoadHook CFileSystem::SetRulesLoader(LoadHook loader)
{
    return std::exchange(s_rulesLoader, loader);
}

void CFileSystem::SetFolders(const CString& appFolder, const CString& dataFolder)
{
    m_appFolderOverride = appFolder;
    if (!m_appFolderOverride.empty() && !IsSeparator(m_appFolderOverride.back()))
        m_appFolderOverride += '/';
    m_dataFolder = dataFolder.empty() ? CString(".") : AbsoluteIfExists(dataFolder);
    while (m_dataFolder.size() > 1 && IsSeparator(m_dataFolder.back()))
        m_dataFolder.pop_back();
}

CString CFileSystem::GetAppFolder() const
{
    if (!m_appFolderOverride.empty())
        return m_appFolderOverride;
    CString folder;
    return AskCallingPath(folder) ? folder : CString("/");
}

bool CFileSystem::HasAppFolder() const
{
    CString folder;
    return !m_appFolderOverride.empty() || AskCallingPath(folder);
}

bool CFileSystem::OpenDocument(const CString& name, int location, CFileStream& out, CString* openedPath) const
{
    out.Close();
    const CString inData = m_dataFolder + "/" + name + ".xml";
    if (location == kInDataFolder && OpenCandidate(inData, out, openedPath))
        return true;
    if ((location == kInAppFolder || location == kAppThenDataFolder) && HasAppFolder() &&
        OpenCandidate(GetAppFolder() + name + ".xml", out, openedPath))
        return true;
    if (location == kAppThenDataFolder && OpenCandidate(inData, out, openedPath))
        return true;
    return OpenCandidate(name, out, openedPath);
}

bool CFileSystem::OpenCandidate(const CString& path, CFileStream& out, CString* openedPath) const
{
    const CFileArchive* archive = CFileArchive::PeekAttached();
    if (!(archive && archive->Contains(path.c_str())) && !FileExists(path.c_str()))
        return false;
    if (!out.Open(path.c_str(), CFileStream::kRead))
        return false;
    if (openedPath)
        *openedPath = path;
    return true;
}

bool CFileSystem::FileExists(const char* path)
{
    // fopen alone accepts folders on Linux.
    if (!path || !IsRegularFile(path))
        return false;
    FILE* file = fopen(path, "r");
    if (!file)
        return false;
    fclose(file);
    return true;
}

CString CFileSystem::Normalise(const CString& path)
{
    enum Segment
    {
        kEmpty,
        kDot,
        kDotDot,
        kOther,
    };
    CString out(path.size(), '\0');
    // ".." never climbs above the root of an absolute path.
    const size_t floor = !path.empty() && IsSeparator(path[0]) ? 1 : 0;
    size_t position = 0;
    Segment segment = kEmpty;
    for (const char c : path)
    {
        if (IsSeparator(c))
        {
            if (segment == kDot)
                position = position > 0 ? position - 1 : 0;
            else if (segment == kDotDot)
            {
                position -= 2;
                if (position > floor && IsSeparator(out[position - 1]))
                    --position;
                while (position > floor && !IsSeparator(out[position - 1]))
                    --position;
            }
            else
                out[position++] = '/';
            segment = kEmpty;
            continue;
        }
        if (c == '.' && segment == kEmpty)
            segment = kDot;
        else if (c == '.' && segment == kDot)
            segment = kDotDot;
        else
            segment = kOther;
        out[position++] = c;
    }
    out.resize(position);
    return out;
}

CString CFileSystem::FileNameOf(const CString& path)
{
    const int32_t separator = LastSeparator(path);
    return separator < 0 ? path : CString(path.substr(size_t(separator) + 1));
}

CString CFileSystem::RealFolderOf(const CString& path)
{
    if (path.empty())
        return CString();
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved))
    {
        const CString text(resolved);
        const int32_t separator = LastSeparator(text);
        return separator < 0 ? text : CString(text.substr(0, size_t(separator) + 1));
    }
    // A name that is not there yet still has a folder to walk.
    const int32_t separator = LastSeparator(path);
    const CString parent = separator < 0 ? CString(".") : CString(path.substr(0, size_t(separator) + 1));
    if (!realpath(parent.c_str(), resolved))
        return CString();
    CString folder(resolved);
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

CString CFileSystem::NextFileInFolder(const CString& path, bool wrap)
{
    const CString folder = RealFolderOf(path);
    if (folder.empty())
        return CString();
    const CString name = FileNameOf(path);
    const CString prefix = path.substr(0, path.size() - name.size());
    DIR* directory = opendir(folder.c_str());
    if (!directory)
        return CString();
    std::vector<CString> names;
    while (const dirent* entry = readdir(directory))
    {
        if (entry->d_name[0] == '.')
            continue;
        bool listed = entry->d_type == DT_REG;
        // Some file systems do not report types; links count when they lead to a file.
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK)
            listed = IsRegularFile((folder + entry->d_name).c_str());
        if (listed)
            names.emplace_back(entry->d_name);
    }
    closedir(directory);
    if (names.empty())
        return CString();
    // Directory order is hash order on most Linux file systems; numbered content must come in order.
    std::sort(names.begin(), names.end());
    const auto found = std::find(names.begin(), names.end(), name);
    if (found == names.end())
        return prefix + names.front();
    if (found + 1 != names.end())
        return prefix + *(found + 1);
    return wrap ? prefix + names.front() : CString();
}

bool CFileSystem::CopyLegacyPreferences(const CString& appFolder, const char* legacyFile)
{
    const CString target = appFolder + kPreferencesFile;
    // Anything at the name is kept: opening a FIFO there would block start-up, and a folder or
    // FIFO in its place is the player's, never to be replaced.
    struct stat status;
    if (lstat(target.c_str(), &status) == 0)
        return false;
    if (!legacyFile)
        return false;
    FILE* legacy = fopen(legacyFile, "rb");
    if (!legacy)
        return false;
    const CString temporary = target + ".part";
    FILE* copy = fopen(temporary.c_str(), "wb");
    if (!copy)
    {
        fclose(legacy);
        return false;
    }
    char chunk[4096];
    size_t got = 0;
    bool sound = true;
    while (sound && (got = fread(chunk, 1, sizeof(chunk), legacy)) > 0)
        sound = fwrite(chunk, 1, got, copy) == got;
    sound = sound && !ferror(legacy);
    sound = fclose(copy) == 0 && sound;
    fclose(legacy);
    if (sound && rename(temporary.c_str(), target.c_str()) == 0)
        return true;
    remove(temporary.c_str());
    return false;
}
