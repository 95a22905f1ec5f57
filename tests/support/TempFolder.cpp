#include "support/TempFolder.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <ftw.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{
int RemoveEntry(const char* path, const struct stat*, int, struct FTW*)
{
    return remove(path);
}
} // namespace

TempFolder::TempFolder()
{
    const char* base = getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/frogtest-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()))
        m_path = buffer.data();
}

TempFolder::~TempFolder()
{
    if (!m_path.empty())
        nftw(m_path.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

std::string TempFolder::PathOf(const std::string& relative) const
{
    return m_path + "/" + relative;
}

std::string TempFolder::WriteFile(const std::string& relative, const std::string& bytes) const
{
    const std::string path = PathOf(relative);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return path;
}

std::string TempFolder::MakeFolder(const std::string& relative) const
{
    const std::string path = PathOf(relative);
    mkdir(path.c_str(), 0700);
    return path;
}

std::string TempFolder::ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::string();
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}
