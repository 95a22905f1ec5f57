#include "core/CFileStream.h"
#include "core/CFileSystem.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>
#include <vector>

namespace
{
// The folder the injected platform reports; the provider is a plain function, as the platform's.
std::string s_callingPath;
std::vector<std::string> s_loads;

int FakeCallingPath(char* buffer, int size)
{
    if (s_callingPath.empty() || int(s_callingPath.size()) >= size)
        return -1;
    s_callingPath.copy(buffer, s_callingPath.size());
    buffer[s_callingPath.size()] = '\0';
    return 0;
}

// Every test starts without a file system instance and puts the platform hooks back afterwards.
class FileSystemTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        CSingleton<CFileSystem>::Toggle(false);
        m_provider = CFileSystem::SetCallingPathProvider(&FakeCallingPath);
        m_preferences = CFileSystem::SetPreferencesLoader([] { s_loads.push_back("preferences"); });
        m_rules = CFileSystem::SetRulesLoader([] { s_loads.push_back("rules"); });
        s_loads.clear();
        s_callingPath = m_folder.Path() + "/";
    }
    void TearDown() override
    {
        CSingleton<CFileSystem>::Toggle(false);
        CFileSystem::SetCallingPathProvider(m_provider);
        CFileSystem::SetPreferencesLoader(m_preferences);
        CFileSystem::SetRulesLoader(m_rules);
    }

    TempFolder m_folder;
    CFileSystem::CallingPathProvider m_provider = nullptr;
    CFileSystem::LoadHook m_preferences = nullptr;
    CFileSystem::LoadHook m_rules = nullptr;
};
} // namespace

TEST_F(FileSystemTest, NormaliseAndNames)
{
    EXPECT_EQ(CFileSystem::Normalise("a/./b"), "a/b");
    EXPECT_EQ(CFileSystem::Normalise("a/b/../c"), "a/c");
    EXPECT_EQ(CFileSystem::Normalise("../x"), "x");
    EXPECT_EQ(CFileSystem::Normalise("a\\b"), "a/b");
    EXPECT_EQ(CFileSystem::Normalise("./a/../b.xml"), "b.xml");
    EXPECT_EQ(CFileSystem::Normalise("a/b/c/../../d"), "a/d");
    EXPECT_EQ(CFileSystem::Normalise("/data/textures/../fonts/f.png"), "/data/fonts/f.png");
    EXPECT_EQ(CFileSystem::Normalise("/../x"), "/x");
    EXPECT_EQ(CFileSystem::Normalise("a/.../b"), "a/.../b");
    EXPECT_EQ(CFileSystem::Normalise("a/.."), "a/..");
    EXPECT_EQ(CFileSystem::Normalise(""), "");

    EXPECT_EQ(CFileSystem::FileNameOf("a/b\\c.xml"), "c.xml");
    EXPECT_EQ(CFileSystem::FileNameOf("c.xml"), "c.xml");
    EXPECT_EQ(CFileSystem::FileNameOf("a/"), "");

    const std::string folder = m_folder.MakeFolder("sub");
    m_folder.WriteFile("sub/f.txt", "x");
    char real[4096];
    ASSERT_TRUE(realpath(folder.c_str(), real));
    EXPECT_EQ(CFileSystem::RealFolderOf(folder + "/f.txt"), std::string(real) + "/");
    EXPECT_EQ(CFileSystem::RealFolderOf(folder + "/../sub/missing.txt"), std::string(real) + "/");
    EXPECT_EQ(CFileSystem::RealFolderOf(m_folder.PathOf("nowhere/f.txt")), "");

    EXPECT_TRUE(CFileSystem::FileExists((folder + "/f.txt").c_str()));
    EXPECT_FALSE(CFileSystem::FileExists(folder.c_str()));
    EXPECT_FALSE(CFileSystem::FileExists((folder + "/g.txt").c_str()));
    EXPECT_FALSE(CFileSystem::FileExists(nullptr));
}

TEST_F(FileSystemTest, NextFileInFolderWalksInNameOrder)
{
    const std::string folder = m_folder.MakeFolder("puzzle");
    // Made in the reverse of name order, with entries the walk must pass over.
    for (const char* name : {"puzzle1003.xml", "puzzle1001.xml", "puzzle1002.xml", ".hidden"})
        m_folder.WriteFile(std::string("puzzle/") + name, "<p/>");
    m_folder.MakeFolder("puzzle/puzzle1002b");
    ASSERT_EQ(symlink((folder + "/puzzle1001.xml").c_str(), (folder + "/puzzle1001a.xml").c_str()), 0);
    ASSERT_EQ(symlink((folder + "/gone.xml").c_str(), (folder + "/puzzle1001b.xml").c_str()), 0);

    const std::string prefix = folder + "/";
    EXPECT_EQ(CFileSystem::NextFileInFolder(prefix + "puzzle1001.xml", false), prefix + "puzzle1001a.xml");
    EXPECT_EQ(CFileSystem::NextFileInFolder(prefix + "puzzle1001a.xml", false), prefix + "puzzle1002.xml");
    EXPECT_EQ(CFileSystem::NextFileInFolder(prefix + "puzzle1002.xml", false), prefix + "puzzle1003.xml");
    EXPECT_EQ(CFileSystem::NextFileInFolder(prefix + "puzzle1003.xml", false), "");
    EXPECT_EQ(CFileSystem::NextFileInFolder(prefix + "puzzle1003.xml", true), prefix + "puzzle1001.xml");
    EXPECT_EQ(CFileSystem::NextFileInFolder(prefix + "puzzle0000.xml", false), prefix + "puzzle1001.xml");
    // The result keeps the caller's own form of the folder.
    const std::string relative = m_folder.Path() + "/puzzle/../puzzle/";
    EXPECT_EQ(CFileSystem::NextFileInFolder(relative + "x", false), relative + "puzzle1001.xml");
    EXPECT_EQ(CFileSystem::NextFileInFolder(m_folder.MakeFolder("empty") + "/x", true), "");
    EXPECT_EQ(CFileSystem::NextFileInFolder(m_folder.PathOf("nowhere/x"), true), "");
}

TEST_F(FileSystemTest, InitSetsFoldersAndRunsLoaders)
{
    m_folder.MakeFolder("data");
    CFileSystem* fileSystem = CSingleton<CFileSystem>::Instance();
    char real[4096];
    ASSERT_TRUE(realpath(m_folder.PathOf("data").c_str(), real));
    EXPECT_EQ(fileSystem->GetDataFolder(), real);
    EXPECT_TRUE(fileSystem->HasAppFolder());
    EXPECT_EQ(fileSystem->GetAppFolder(), m_folder.Path() + "/");
    EXPECT_EQ(s_loads, (std::vector<std::string>{"preferences", "rules"}));

    // A relative data folder with ".." becomes absolute, so later normalising cannot lose it.
    const std::string app = m_folder.MakeFolder("app");
    fileSystem->SetFolders(app, app + "/../data/");
    EXPECT_EQ(fileSystem->GetDataFolder(), real);
    EXPECT_EQ(fileSystem->GetAppFolder(), app + "/");

    // The platform failing: application folder "/", data folder ".".
    CSingleton<CFileSystem>::Toggle(false);
    s_callingPath.clear();
    fileSystem = CSingleton<CFileSystem>::Instance();
    EXPECT_FALSE(fileSystem->HasAppFolder());
    EXPECT_EQ(fileSystem->GetAppFolder(), "/");
    EXPECT_EQ(fileSystem->GetDataFolder(), ".");
}

TEST_F(FileSystemTest, LegacyPreferencesCopiedOnlyWhenAbsent)
{
    const std::string app = m_folder.MakeFolder("app") + "/";
    const std::string legacy = m_folder.WriteFile("legacy.xml", "<preferences unlocked=\"7\"/>");
    EXPECT_FALSE(CFileSystem::CopyLegacyPreferences(app, m_folder.PathOf("missing.xml").c_str()));
    EXPECT_FALSE(CFileSystem::FileExists((app + "preferences.xml").c_str()));

    EXPECT_TRUE(CFileSystem::CopyLegacyPreferences(app, legacy.c_str()));
    EXPECT_EQ(TempFolder::ReadFile(app + "preferences.xml"), "<preferences unlocked=\"7\"/>");
    EXPECT_FALSE(CFileSystem::FileExists((app + "preferences.xml.part").c_str()));

    m_folder.WriteFile("app/preferences.xml", "<preferences/>");
    EXPECT_FALSE(CFileSystem::CopyLegacyPreferences(app, legacy.c_str()));
    EXPECT_EQ(TempFolder::ReadFile(app + "preferences.xml"), "<preferences/>");
}

TEST_F(FileSystemTest, OpenDocumentFollowsLocations)
{
    const std::string app = m_folder.MakeFolder("app");
    const std::string data = m_folder.MakeFolder("data");
    m_folder.WriteFile("app/preferences.xml", "app");
    m_folder.WriteFile("data/preferences.xml", "data");
    m_folder.WriteFile("data/rules.xml", "rules");
    m_folder.MakeFolder("data/folder.xml");
    const std::string loose = m_folder.WriteFile("loose.xml", "loose");
    CFileSystem* fileSystem = CSingleton<CFileSystem>::Instance();
    fileSystem->SetFolders(app, data);

    CFileStream stream;
    CString path;
    CString text;
    ASSERT_TRUE(fileSystem->OpenDocument("preferences", CFileSystem::kAppThenDataFolder, stream, &path));
    EXPECT_EQ(path, app + "/preferences.xml");
    ASSERT_TRUE(fileSystem->OpenDocument("preferences", CFileSystem::kInDataFolder, stream, &path));
    EXPECT_TRUE(stream.ReadAll(text));
    EXPECT_EQ(text, "data");
    ASSERT_TRUE(fileSystem->OpenDocument("rules", CFileSystem::kAppThenDataFolder, stream, &path));
    EXPECT_TRUE(stream.ReadAll(text));
    EXPECT_EQ(text, "rules");
    EXPECT_FALSE(fileSystem->OpenDocument("rules", CFileSystem::kInAppFolder, stream));
    EXPECT_FALSE(stream.IsOpen());
    // Every location falls back to the name as a path; a folder is never a document.
    ASSERT_TRUE(fileSystem->OpenDocument(loose, CFileSystem::kInDataFolder, stream));
    EXPECT_TRUE(stream.ReadAll(text));
    EXPECT_EQ(text, "loose");
    EXPECT_FALSE(fileSystem->OpenDocument("folder", CFileSystem::kInDataFolder, stream));
    EXPECT_FALSE(fileSystem->OpenDocument(m_folder.PathOf("rules.xml"), CFileSystem::kAsPath, stream));
}
