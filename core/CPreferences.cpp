#include "core/CPreferences.h"

#include "core/CClock.h"
#include "core/CFileStream.h"
#include "core/CFileSystem.h"
#include "core/CPreferenceBase.h"
#include "core/CScheduler.h"
#include "core/CXmlNode.h"
#include "core/ParseBool.h"
#include "core/TextFields.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr const char* kName = "preferences";
constexpr int kMaxSetAside = 1000;

bool CopyFile(const CString& from, const CString& to)
{
    FILE* in = fopen(from.c_str(), "rb");
    if (!in)
        return false;
    FILE* out = fopen(to.c_str(), "wbx");
    bool copied = out != nullptr;
    char block[65536];
    size_t got = 0;
    while (copied && (got = fread(block, 1, sizeof(block), in)) > 0)
        copied = fwrite(block, 1, got, out) == got;
    copied = copied && !ferror(in);
    if (out)
        copied = fclose(out) == 0 && copied;
    fclose(in);
    return copied;
}

void LoadPreferences()
{
    CSingleton<CPreferences>::Instance()->Load();
}

// The file system's start-up loads the preferences through this hook.
const bool s_loaderInstalled = (CFileSystem::SetPreferencesLoader(&LoadPreferences), true);

// Whether the attribute at key (a path, as CXmlNode::GetAttribute reads it) exists, empty or not.
bool HoldsKey(CXmlNode& root, std::string_view key)
{
    const size_t slash = key.rfind('/');
    CXmlNode* element = slash == std::string_view::npos ? &root : root.FindChild(key.substr(0, slash));
    return element &&
           element->FindOwnAttribute(slash == std::string_view::npos ? key : key.substr(slash + 1));
}
} // namespace

REGISTER_SINGLETON(CPreferences, "global", 50);

CPreferences::CPreferences() = default;

void CPreferences::Init()
{
    EnsureScheduled();
}

void CPreferences::Exit()
{
    // Never bring the file system back at the end: without it there is no folder to save to.
    if (m_dirty && m_loaded && CSingleton<CFileSystem>::Exists())
        Save();
}

void CPreferences::OnSchedule(float)
{
    if (!m_dirty)
        return;
    if (!m_waiting)
    {
        MarkDirty();
        return;
    }
    if (CClock::Difference(m_saveDue, CClock::Now()) > 0)
        Save();
}

bool CPreferences::Load()
{
    if (m_loading)
        return false;
    if (m_loaded && m_dirty && !Save())
        return false;
    m_loading = true;
    CFileSystem* files = CSingleton<CFileSystem>::Instance();
    CFileStream file;
    CString path;
    bool read = false;
    if (files->OpenDocument(kName, CFileSystem::kAppThenDataFolder, file, &path))
    {
        // What was read whole before any damage is the player's progress: kept.
        read = m_store.Read(file, kName, CXmlDocument::Reading::kKeepWhatWasRead);
        file.Close();
        // The next save would replace the only copy of the player's progress: a damaged file
        // keeps a copy aside, and leaves when nothing of it could be read.
        if (!read && path == TargetPath())
            SetAside(path, m_store.IsPartial());
    }
    else
        read = m_store.Load(kName, CFileSystem::kAppThenDataFolder);
    // A damaged name of the top element would keep the store from ever being written (the
    // writer writes only names); no reader looks at it.
    if (!CXmlNode::IsValidName(m_store.GetRoot()->GetName()))
        m_store.GetRoot()->SetName(kName);
    m_loaded = true;
    m_dirty = false;
    m_waiting = false;
    m_loading = false;
    ReadAll();
    // A damaged file is replaced by a whole one holding what was kept.
    if (m_store.IsPartial())
        MarkDirty();
    return read;
}

bool CPreferences::Save()
{
    if (m_loading)
        return false;
    EnsureLoaded();
    if (m_store.Save(kName, CFileSystem::kInAppFolder))
    {
        m_dirty = false;
        m_waiting = false;
        m_retryMs = kSaveDelayMs;
        ++m_saveCount;
        return true;
    }
    // The player learns once that progress is not being kept; the retries stay quiet.
    if (!m_saveFailureReported)
    {
        m_saveFailureReported = true;
        const CString target = TargetPath();
        fprintf(stderr, "frogpond: cannot save %s: progress is not being kept\n",
                target.empty() ? "preferences.xml" : target.c_str());
    }
    if (m_dirty)
    {
        m_saveDue = CClock::Now() + uint32_t(m_retryMs);
        m_waiting = true;
        m_retryMs = std::min(m_retryMs * 2, kMaxRetryMs);
        EnsureScheduled();
    }
    return false;
}

void CPreferences::MarkDirty()
{
    m_dirty = true;
    if (!m_waiting)
    {
        m_saveDue = CClock::Now() + uint32_t(kSaveDelayMs);
        m_waiting = true;
    }
    EnsureScheduled();
}

CXmlNode* CPreferences::GetRoot()
{
    EnsureLoaded();
    return m_store.GetRoot();
}

const CString& CPreferences::GetString(std::string_view key)
{
    EnsureLoaded();
    return m_store.GetAttribute(key);
}

bool CPreferences::GetBool(std::string_view key, bool defaultValue)
{
    const CString& text = GetString(key);
    if (!text.empty())
        return ParseBool(text.c_str());
    SetBool(key, defaultValue);
    return defaultValue;
}

float CPreferences::GetFloat(std::string_view key, float defaultValue)
{
    const CString& text = GetString(key);
    if (!text.empty())
        return float(ParseFloat(text.c_str()));
    SetFloat(key, defaultValue);
    return defaultValue;
}

bool CPreferences::SetString(std::string_view key, std::string_view text)
{
    EnsureLoaded();
    CXmlNode* root = m_store.GetRoot();
    if (!root)
        return false;
    // An empty text where the key is missing is a change: the key is then stored, empty.
    if (root->GetAttribute(key) == text && (!text.empty() || HoldsKey(*root, key)))
        return true;
    if (!root->SetAttribute(key, text))
        return false;
    ReadKey(key);
    MarkDirty();
    return true;
}

bool CPreferences::SetBool(std::string_view key, bool value)
{
    return SetString(key, value ? "true" : "false");
}

bool CPreferences::SetFloat(std::string_view key, float value)
{
    return SetString(key, CString::Format("%f", double(value)));
}

void CPreferences::EnsureLoaded()
{
    if (!m_loaded && !m_loading)
        Load();
    // The store is usually made and loaded before the "global" scope exists.
    EnsureScheduled();
}

void CPreferences::EnsureScheduled()
{
    if (!m_scheduler.Get())
        m_scheduler.Set(ScheduleIn("global", kTickMs));
}

void CPreferences::ReadAll()
{
    for (CPreferenceBase* preference = CPreferenceBase::FirstRegistered(); preference;
         preference = preference->NextRegistered())
        preference->Read();
}

void CPreferences::ReadKey(std::string_view key)
{
    for (CPreferenceBase* preference = CPreferenceBase::FirstRegistered(); preference;
         preference = preference->NextRegistered())
        if (preference->GetKey() == key)
            preference->Read();
}

CString CPreferences::TargetPath() const
{
    const CFileSystem* files = CSingleton<CFileSystem>::Peek();
    if (!files || !files->HasAppFolder())
        return CString();
    return files->GetAppFolder() + kName + ".xml";
}

bool CPreferences::SetAside(const CString& path, bool keep)
{
    for (int n = 1; n <= kMaxSetAside; ++n)
    {
        const CString aside = CString::Format("%s.corrupt-%d", path.c_str(), n);
        // A hard link never replaces an existing name, unlike rename.
        if (link(path.c_str(), aside.c_str()) == 0)
            return keep || unlink(path.c_str()) == 0;
        if (errno == EEXIST)
            continue;
        // A file system without hard links: rename (or copy) to a name seen free.
        struct stat status;
        if (lstat(aside.c_str(), &status) == 0 || errno != ENOENT)
            return false;
        return keep ? CopyFile(path, aside) : std::rename(path.c_str(), aside.c_str()) == 0;
    }
    return false;
}
