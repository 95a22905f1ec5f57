#pragma once
// Switches the process to a locale whose decimal point is a comma (as a player's German system
// would be) for one test, and back when it dies. Uses an installed one, else compiles de_DE into
// a temporary folder with localedef; Active() is false when neither works (skip the test then).
#include "support/TempFolder.h"

#include <clocale>
#include <cstdlib>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

class CommaLocale
{
  public:
    CommaLocale()
    {
        const char* current = std::setlocale(LC_ALL, nullptr);
        m_saved = current ? current : "C";
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"})
            if (TrySet(name))
                return;
        if (Compile())
        {
            const char* path = std::getenv("LOCPATH");
            m_savedPath = path ? std::optional<std::string>(path) : std::nullopt;
            m_pathSet = true;
            setenv("LOCPATH", m_folder.Path().c_str(), 1);
            TrySet("de_DE.UTF-8");
        }
    }
    ~CommaLocale()
    {
        std::setlocale(LC_ALL, m_saved.c_str());
        // The LOCPATH the process came with is kept: later tests find their locales through it.
        if (m_pathSet)
        {
            if (m_savedPath)
                setenv("LOCPATH", m_savedPath->c_str(), 1);
            else
                unsetenv("LOCPATH");
        }
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    bool Active() const { return m_active; }

  private:
    bool TrySet(const char* name)
    {
        m_active = std::setlocale(LC_ALL, name) && *std::localeconv()->decimal_point == ',';
        if (!m_active)
            std::setlocale(LC_ALL, m_saved.c_str());
        return m_active;
    }
    bool Compile() const
    {
        const std::string target = m_folder.PathOf("de_DE.UTF-8");
        const pid_t child = fork();
        if (child == 0)
        {
            execlp("localedef", "localedef", "-i", "de_DE", "-f", "UTF-8", target.c_str(), (char*)nullptr);
            _exit(127);
        }
        int status = 0;
        return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
               WEXITSTATUS(status) == 0;
    }

    TempFolder m_folder;
    std::string m_saved;
    std::optional<std::string> m_savedPath;
    bool m_pathSet = false;
    bool m_active = false;
};
