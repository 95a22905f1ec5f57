#pragma once
// A fresh application folder (with its "data" folder) that the file system reports for one test,
// and a clean slate of the stores around it: the file system, rules, preferences and dictionary
// are released before the test and again after it (saving pending preferences into the folder).
// Construct it after any FakeClock or TestScopes the test uses, so that it dies before them.
#include "core/CDictionary.h"
#include "core/CFileSystem.h"
#include "core/CPreferences.h"
#include "core/CRules.h"
#include "support/TempFolder.h"

#include <string>

class AppFolder
{
  public:
    AppFolder()
    {
        ReleaseStores();
        m_previous = CFileSystem::SetCallingPathProvider(&Provide);
        s_path = m_folder.Path() + "/";
        m_folder.MakeFolder("data");
    }
    ~AppFolder()
    {
        ReleaseStores();
        CFileSystem::SetCallingPathProvider(m_previous);
        s_path.clear();
    }
    AppFolder(const AppFolder&) = delete;
    AppFolder& operator=(const AppFolder&) = delete;

    // The folder, ending with "/".
    const std::string& Path() const { return s_path; }
    std::string PathOf(const std::string& relative) const { return m_folder.PathOf(relative); }
    std::string WriteApp(const std::string& name, const std::string& bytes) const
    {
        return m_folder.WriteFile(name, bytes);
    }
    std::string WriteData(const std::string& name, const std::string& bytes) const
    {
        return m_folder.WriteFile("data/" + name, bytes);
    }
    std::string ReadApp(const std::string& name) const { return TempFolder::ReadFile(PathOf(name)); }

    // Preferences first: releasing them saves through the file system.
    static void ReleaseStores()
    {
        CSingleton<CPreferences>::Toggle(false);
        CSingleton<CDictionary>::Toggle(false);
        CSingleton<CRules>::Toggle(false);
        CSingleton<CFileSystem>::Toggle(false);
    }

  private:
    static int Provide(char* buffer, int size)
    {
        if (s_path.empty() || int(s_path.size()) >= size)
            return -1;
        s_path.copy(buffer, s_path.size());
        buffer[s_path.size()] = '\0';
        return 0;
    }

    static inline std::string s_path;
    TempFolder m_folder;
    CFileSystem::CallingPathProvider m_previous = nullptr;
};
