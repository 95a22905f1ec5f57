#include "core/CXmlDocument.h"

#include "core/CFileStream.h"
#include "core/CFileSystem.h"
#include "core/CMemoryStream.h"
#include "core/CXmlNode.h"
#include "core/CXmlParser.h"

#include <cstdio>
#include <sys/stat.h>

namespace
{
const CString kNoText;
}

CXmlDocument::CXmlDocument() = default;

CXmlDocument::CXmlDocument(const CString& name, int where)
{
    Load(name, where);
}

CXmlDocument::~CXmlDocument()
{
    Free();
}

bool CXmlDocument::Load(const CString& name, int where)
{
    CFileStream file;
    if (!CSingleton<CFileSystem>::Instance()->OpenDocument(name, where, file))
    {
        Free();
        m_root = new CXmlNode(name);
        m_name = name;
        m_loaded = false;
        m_partial = false;
        return false;
    }
    return Read(file, name);
}

bool CXmlDocument::Read(CStream& stream, const CString& name, Reading reading)
{
    const bool loaded = Install(stream, false, name, reading);
    m_name = name;
    return loaded;
}

bool CXmlDocument::Parse(std::string_view text, bool keepAll)
{
    CMemoryStream stream(text.data(), text.size());
    const bool loaded = Install(stream, keepAll, CString());
    m_name.clear();
    return loaded;
}

bool CXmlDocument::Install(CStream& stream, bool keepAll, const CString& rootName, Reading reading)
{
    Free();
    m_partial = false;
    CXmlNode* holder = new CXmlNode();
    bool whole = CXmlParser::Parse(stream, *holder,
                                   reading == Reading::kStrict ? CXmlParser::Mode::kStrict
                                                               : CXmlParser::Mode::kLenient);
    if (whole && keepAll)
    {
        m_root = holder;
        m_loaded = true;
        return true;
    }
    CXmlNode* top = holder->FirstChild();
    whole = whole && top && !top->NextSibling();
    if (!whole && reading == Reading::kKeepWhatWasRead)
    {
        // The first element, whatever text came before it.
        while (top && top->GetName() == CXmlNode::kContentName)
            top = top->NextSibling();
        m_partial = top != nullptr;
    }
    if (whole || m_partial)
        top->Detach();
    // Otherwise a broken text is dropped whole: half a document read as if complete would hand
    // its readers defaults for everything after the break.
    delete holder;
    m_root = whole || m_partial ? top : new CXmlNode(rootName);
    m_loaded = whole;
    return whole;
}

bool CXmlDocument::Save(const CString& name, int where) const
{
    if (!m_root)
        return false;
    CString target;
    switch (where)
    {
    case CFileSystem::kInDataFolder:
        target = CSingleton<CFileSystem>::Instance()->GetDataFolder() + "/" + name + ".xml";
        break;
    case CFileSystem::kInAppFolder:
    {
        const CFileSystem* files = CSingleton<CFileSystem>::Instance();
        if (!files->HasAppFolder())
            return false;
        target = files->GetAppFolder() + name + ".xml";
        break;
    }
    case CFileSystem::kAsPath:
        target = name;
        break;
    default:
        return false;
    }
    if (target.empty())
        return false;

    // Only a regular file is replaced: a FIFO or a folder at the name is not ours to overwrite.
    struct stat status;
    if (stat(target.c_str(), &status) == 0 && !S_ISREG(status.st_mode))
        return false;
    const CString temporary = target + ".tmp";
    CFileStream file;
    bool written = file.Open(temporary, CFileStream::kWrite | CFileStream::kWriteTruncate);
    if (!written)
        return false;
    written = Write(file);
    written = file.Close() && written;
    // Read back before it replaces the old file: only a text that is strictly one document
    // may, as the writer always writes it.
    if (written)
    {
        CFileStream check;
        CXmlDocument reread;
        written = check.Open(temporary, CFileStream::kRead) && reread.Read(check, name, Reading::kStrict);
    }
    if (written && std::rename(temporary.c_str(), target.c_str()) == 0)
        return true;
    std::remove(temporary.c_str());
    return false;
}

bool CXmlDocument::Write(CStream& stream) const
{
    return m_root && m_root->Write(stream, 0);
}

void CXmlDocument::Clear()
{
    Free();
    m_root = new CXmlNode();
    m_loaded = false;
    m_partial = false;
}

CXmlNode* CXmlDocument::FindNode(std::string_view path)
{
    return m_root ? m_root->FindChild(path) : nullptr;
}

bool CXmlDocument::HasAttribute(std::string_view path) const
{
    return m_root && m_root->HasAttribute(path);
}

const CString& CXmlDocument::GetAttribute(std::string_view path) const
{
    return m_root ? m_root->GetAttribute(path) : kNoText;
}

void CXmlDocument::Free()
{
    delete m_root;
    m_root = nullptr;
    m_name.clear();
}
