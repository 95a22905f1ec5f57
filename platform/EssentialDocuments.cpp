#include "platform/EssentialDocuments.h"

#include "core/CFileStream.h"
#include "core/CFileSystem.h"
#include "core/CXmlDocument.h"
#include "platform/GameOrder.h"

#include <cstdio>
#include <string_view>

namespace EssentialDocuments
{
CString Check(const char* name)
{
    const CString path = CFileSystem::Instance()->GetDataFolder() + "/" + name + ".xml";
    CFileStream file;
    if (!CFileSystem::FileExists(path.c_str()) || !file.Open(path, CFileStream::kRead))
        return "missing " + path;
    file.Seek(0, SEEK_END);
    const bool empty = file.Tell() == 0;
    file.Seek(0, SEEK_SET);
    if (empty)
        return path + " is empty";
    // Read strictly: the lenient reading takes almost any bytes as some tree, and elements its
    // end left open as complete, so a file with a flipped byte or cut short would pass as a
    // document that draws or hears nothing.
    CXmlDocument document;
    if (!document.Read(file, name, CXmlDocument::Reading::kStrict))
        return path + " is damaged: not one whole XML document";
    if (std::string_view(name) == "game")
        if (const CString problem = CheckGameOrder(*document.GetRoot()); !problem.empty())
            return path + ": " + problem;
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
