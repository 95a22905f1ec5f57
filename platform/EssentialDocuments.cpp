#include "platform/EssentialDocuments.h"

#include "core/CFileSystem.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"

#include <cstdio>
#include <string_view>

namespace
{
bool ReadWhole(const CString& path, CString& text)
{
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return false;
    char block[65536];
    size_t got = 0;
    while ((got = fread(block, 1, sizeof(block), file)) > 0)
        text.append(block, got);
    const bool failed = ferror(file) != 0;
    fclose(file);
    return !failed;
}

// The parser takes elements that the end of the text left open as complete; an essential
// document cut short must still be refused, so its root has to be closed by the text itself.
bool EndsWithRootClosed(std::string_view text, CXmlNode& root)
{
    const size_t last = text.find_last_not_of(" \t\r\n");
    if (last == std::string_view::npos)
        return false;
    text = text.substr(0, last + 1);
    const CString closing = "</" + root.GetName() + ">";
    const bool selfClosed = !root.FirstChild() && text.size() >= 2 && text.substr(text.size() - 2) == "/>";
    return selfClosed ||
           (text.size() >= closing.size() && text.substr(text.size() - closing.size()) == closing);
}
} // namespace

namespace EssentialDocuments
{
CString Check(const char* name)
{
    const CString path = CFileSystem::Instance()->GetDataFolder() + "/" + name + ".xml";
    CString text;
    if (!CFileSystem::FileExists(path.c_str()) || !ReadWhole(path, text))
        return "missing " + path;
    if (text.empty())
        return path + " is empty";
    CXmlDocument document;
    if (!document.Parse(text, false) || !EndsWithRootClosed(text, *document.GetRoot()))
        return path + " is damaged: not one whole XML document";
    return CString();
}

CString CheckAll()
{
    for (const char* name : {"rules", "game"})
    {
        const CString problem = Check(name);
        if (!problem.empty())
            return problem;
    }
    return CString();
}
} // namespace EssentialDocuments
