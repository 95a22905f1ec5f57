// Every test leaves the process as it found it, so that the tests pass in one process and in any
// order. This listener, installed in every test executable, ends every singleton after each test
// (a fixture that stops only what it uses leaves the rest to it), puts the tuning values, the
// preferences' values, the content reports made and the whole-screen view back as a new process
// has them, and fails a test that moves the working folder or leaves files in it or in the
// executable's folder (the game's application folder when a test names none).
#include "core/CPreferenceBase.h"
#include "core/CRuleBase.h"
#include "core/CSingletonBase.h"
#include "core/ContentLimits.h"
#include "platform/CView.h"

#include <gtest/gtest.h>

#include <climits>
#include <dirent.h>
#include <set>
#include <string>
#include <unistd.h>

namespace
{
std::string WorkingFolder()
{
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof(buffer)) ? std::string(buffer) : std::string();
}

std::string ExecutableFolder()
{
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (length <= 0)
        return std::string();
    const std::string path(buffer, size_t(length));
    return path.substr(0, path.find_last_of('/'));
}

// The entries of both folders, as paths.
std::set<std::string> Entries(const std::string& workingFolder)
{
    std::set<std::string> paths;
    for (const std::string& folder : {workingFolder, ExecutableFolder()})
    {
        if (DIR* dir = opendir(folder.c_str()))
        {
            while (const dirent* entry = readdir(dir))
                paths.insert(folder + "/" + entry->d_name);
            closedir(dir);
        }
    }
    return paths;
}

class ProcessStateGuard : public testing::EmptyTestEventListener
{
    void OnTestStart(const testing::TestInfo&) override
    {
        m_folder = WorkingFolder();
        m_entries = Entries(m_folder);
    }

    void OnTestEnd(const testing::TestInfo&) override
    {
        CSingletonBase::StopAll();
        CPreferenceBase::RestoreAllDefaults();
        CRuleBase::ResetAll();
        ForgetContentReports();
        if (CView::GetLogicalSize() != Vector2<int32_t>() || CView::GetPlatformRotation() != 0.0f ||
            CView::GetScreenView().GetViewport() != Vector4<int32_t>())
            CView::SetScreen(Vector2<int32_t>(), 0.0f, Vector4<float>(), 0.0f, 0.0f);

        if (WorkingFolder() != m_folder)
        {
            ADD_FAILURE() << "the test left the working folder at " << WorkingFolder();
            EXPECT_EQ(chdir(m_folder.c_str()), 0);
        }
        for (const std::string& path : Entries(m_folder))
        {
            if (!m_entries.count(path))
                ADD_FAILURE() << "the test left " << path << " behind";
        }
    }

    std::string m_folder;
    std::set<std::string> m_entries;
};

// Appended after the result printer: the end of a test reaches the listeners in reverse order,
// so a failure added here is printed with the test.
const bool s_installed = (testing::UnitTest::GetInstance()->listeners().Append(new ProcessStateGuard), true);
} // namespace
