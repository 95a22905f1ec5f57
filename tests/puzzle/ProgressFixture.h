#pragma once
// A fresh application folder for progress tests: "<temp>/" holds preferences.xml, "<temp>/data"
// the content the test writes. The file system, preferences, rules, dictionary, collection, score
// and puzzle singletons start absent and are stopped again afterwards, so each test reads its own
// files.
#include "core/CDictionary.h"
#include "core/CFileSystem.h"
#include "core/CPreferences.h"
#include "core/CRules.h"
#include "puzzle/CPuzzle.h"
#include "puzzle/CPuzzles.h"
#include "puzzle/CScore.h"
#include "support/TempFolder.h"
#include "support/TestScopes.h"

#include <gtest/gtest.h>

#include <string>

class ProgressFixture : public testing::Test
{
  protected:
    void SetUp() override
    {
        StopAll();
        s_appFolder = m_folder.Path() + "/";
        m_folder.MakeFolder("data");
        m_folder.MakeFolder("data/puzzle");
        m_previousProvider = CFileSystem::SetCallingPathProvider(&AppFolder);
    }
    void TearDown() override
    {
        StopAll();
        CFileSystem::SetCallingPathProvider(m_previousProvider);
    }

    // Stops in dependency order: the preferences save into the file system's folder.
    static void StopAll()
    {
        CSingleton<CPuzzle>::Toggle(false);
        CSingleton<CScore>::Toggle(false);
        CSingleton<CPuzzles>::Toggle(false);
        CSingleton<CDictionary>::Toggle(false);
        CSingleton<CPreferences>::Toggle(false);
        CSingleton<CRules>::Toggle(false);
        CSingleton<CFileSystem>::Toggle(false);
    }

    // A restart: everything stops (pending preferences are saved) and the file system starts
    // again, loading preferences and rules from the files.
    static void Restart()
    {
        StopAll();
        CSingleton<CFileSystem>::Instance();
    }

    void WritePuzzle(const std::string& fileName) const
    {
        m_folder.WriteFile("data/puzzle/" + fileName, "<puzzle/>\n");
    }
    std::string PreferencesFile() const { return TempFolder::ReadFile(m_folder.PathOf("preferences.xml")); }

    TempFolder m_folder;
    TestScopes m_scopes;

  private:
    static int AppFolder(char* buffer, int size)
    {
        if (int(s_appFolder.size()) >= size)
            return -1;
        s_appFolder.copy(buffer, s_appFolder.size());
        buffer[s_appFolder.size()] = '\0';
        return 0;
    }

    static inline std::string s_appFolder;
    CFileSystem::CallingPathProvider m_previousProvider = nullptr;
};
