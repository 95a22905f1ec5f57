#include "platform/Pdl.h"

#include "core/CFileSystem.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
const char* const kXdgOpenFolders[] = {"/usr/bin/", "/usr/local/bin/", "/bin/"};

// The core asks for the application folder through this hook, so that core/
// stays free of platform headers and tests can inject their own folders.
struct InstallCallingPath
{
    InstallCallingPath() { CFileSystem::SetCallingPathProvider(&PDL_GetCallingPath); }
};
const InstallCallingPath s_installCallingPath;

bool FindXdgOpen(char* path, size_t size)
{
    for (const char* folder : kXdgOpenFolders)
    {
        const int written = snprintf(path, size, "%sxdg-open", folder);
        if (written > 0 && size_t(written) < size && access(path, X_OK) == 0)
            return true;
    }
    return false;
}
} // namespace

extern "C"
{

    int PDL_GetCallingPath(char* buffer, int size)
    {
        if (!buffer || size <= 0)
            return -1;
        buffer[0] = '\0';
        char exe[PATH_MAX];
        const ssize_t length = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
        if (length <= 0)
            return -1;
        exe[length] = '\0';
        char* slash = strrchr(exe, '/');
        if (!slash)
            return -1;
        slash[1] = '\0';
        const size_t needed = size_t(slash - exe) + 2;
        if (needed > size_t(size))
            return -1;
        memcpy(buffer, exe, needed);
        return 0;
    }

    int PDL_LaunchBrowser(const char* url)
    {
        if (!url || (strncmp(url, "http://", 7) != 0 && strncmp(url, "https://", 8) != 0))
            return -1;
        char tool[64];
        if (!FindXdgOpen(tool, sizeof(tool)))
            return -1;
        // A double fork leaves the browser to init, so no zombie waits on this process.
        const pid_t child = fork();
        if (child < 0)
            return -1;
        if (child == 0)
        {
            const pid_t grandchild = fork();
            if (grandchild == 0)
            {
                char* const argv[] = {tool, const_cast<char*>(url), nullptr};
                execv(tool, argv);
                _exit(127);
            }
            _exit(grandchild < 0 ? 1 : 0);
        }
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR)
        {
        }
        return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : -1;
    }

    void PDL_Quit() {}
}
