#include "core/CXmlReader.h"

#include "core/CFileSystem.h"

#include <algorithm>

namespace
{
const CString kNoText;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool EndsWith(std::string_view text, std::string_view tail)
{
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// Ends a tag name, and (with "=") an attribute's bare value.
bool EndsName(char c)
{
    return IsBlank(c) || c == '/' || c == '>';
}

bool SeparatesAttributes(char c)
{
    return EndsName(c) || c == '=';
}

// How the skipped constructs end, so that a ">" inside them does not end them early.
std::string_view SkippedUntil(std::string_view tag)
{
    if (tag.substr(0, 3) == "!--")
        return "--";
    if (tag.substr(0, 8) == "![CDATA[")
        return "]]";
    if (!tag.empty() && tag.front() == '?')
        return "?";
    return {};
}
} // namespace

CXmlReader::CXmlReader() : m_input(m_file) {}

CXmlReader::CXmlReader(const CString& name) : CXmlReader()
{
    Open(name);
}

bool CXmlReader::Open(const CString& name)
{
    return OpenPath(CSingleton<CFileSystem>::Instance()->GetDataFolder() + "/" + name + ".xml");
}

bool CXmlReader::OpenPath(const CString& path)
{
    Restart();
    m_opened = m_file.Open(path, CFileStream::kRead);
    m_end = !m_opened;
    if (m_opened)
        ReadTag();
    return m_opened;
}

void CXmlReader::Restart()
{
    m_file.Close();
    m_input.Reset();
    m_tagText.clear();
    m_tagStart = 0;
    m_name.clear();
    m_attributes.clear();
    m_attributesRead = false;
    m_end = true;
    m_opened = false;
}

bool CXmlReader::ReadTag()
{
    m_name.clear();
    m_attributes.clear();
    m_attributesRead = false;
    std::string_view chunk;
    while (!m_end)
    {
        // A tag cut off by the end of the file is not a tag.
        if (!m_input.Next(chunk) || m_input.EndedUnclosed())
            break;
        const size_t lt = chunk.find('<');
        if (lt == std::string_view::npos)
            continue; // text that held a ">"
        const std::string_view until = SkippedUntil(chunk.substr(lt + 1));
        if (!until.empty())
        {
            // Comments, CDATA and processing instructions may hold ">": read on to their end.
            bool closed = EndsWith(chunk, until);
            while (!closed && m_input.Next(chunk) && !m_input.EndedUnclosed())
                closed = EndsWith(chunk, until);
            if (!closed)
                break;
            continue;
        }
        if (chunk.size() > lt + 1 && std::count(chunk.begin() + lt, chunk.end(), '"') % 2)
        {
            // A quoted value holding ">" was split there: join the pieces until it closes.
            m_joined.assign(chunk.data(), chunk.size());
            size_t quotes = size_t(std::count(chunk.begin() + lt, chunk.end(), '"'));
            bool closed = true;
            while (quotes % 2)
            {
                closed = m_input.Next(chunk) && !m_input.EndedUnclosed();
                if (!closed)
                    break;
                m_joined += '>';
                m_joined.append(chunk.data(), chunk.size());
                quotes += size_t(std::count(chunk.begin(), chunk.end(), '"'));
            }
            if (!closed)
                break;
            chunk = m_joined;
        }
        std::string_view name = chunk.substr(lt + 1);
        const size_t skip = !name.empty() && name.front() == '/' ? 1 : 0;
        size_t length = skip;
        while (length < name.size() && !EndsName(name[length]))
            ++length;
        name = name.substr(0, length);
        // "<>", "</>" and "<!...>" declarations carry no element.
        if (name.size() == skip || name.substr(skip, 1) == "!")
            continue;
        m_tagText.assign(chunk.data(), chunk.size());
        m_tagStart = lt;
        m_name.assign(name.data(), name.size());
        return true;
    }
    m_end = true;
    m_tagText.clear();
    m_tagStart = 0;
    return false;
}

bool CXmlReader::EnterElement()
{
    if (m_end || IsSelfClosing() || m_name.empty() || m_name.front() == '/')
        return false;
    if (!ReadTag())
        return false;
    return m_name.front() != '/';
}

bool CXmlReader::NextElement()
{
    if (m_end)
        return false;
    // Skip the content of an opening tag. Only like-named opening tags nest: a self-closing one
    // has no closing tag to balance it.
    if (!IsSelfClosing() && !m_name.empty() && m_name.front() != '/')
    {
        const CString element = m_name;
        int depth = 1;
        while (depth > 0 && ReadTag())
        {
            const std::string_view name = m_name;
            if (name == element && !IsSelfClosing())
                ++depth;
            else if (name.front() == '/' && name.substr(1) == element)
                --depth;
        }
    }
    if (!ReadTag())
        return false;
    if (m_name.front() == '/')
    {
        ReadTag();
        return false;
    }
    return true;
}

bool CXmlReader::NextElementNamed(std::string_view name)
{
    do
    {
        if (!NextElement())
            return false;
    } while (m_name != name);
    return true;
}

bool CXmlReader::FirstChildNamed(std::string_view name)
{
    if (!EnterElement())
        return false;
    while (m_name != name)
    {
        if (!NextElement())
            return false;
    }
    return true;
}

const CString& CXmlReader::GetAttribute(std::string_view name)
{
    if (!m_attributesRead)
        ReadAttributes();
    const auto found = m_attributes.find(name);
    return found == m_attributes.end() ? kNoText : found->second;
}

void CXmlReader::ReadAttributes()
{
    m_attributesRead = true;
    if (m_name.empty())
        return;
    // Attributes follow the tag's own name, not its first mention in text before the "<".
    const std::string_view text = m_tagText;
    const size_t size = text.size();
    size_t at = m_tagStart + 1 + m_name.size();
    for (;;)
    {
        while (at < size && (SeparatesAttributes(text[at]) || text[at] == '"'))
            ++at;
        const size_t nameStart = at;
        while (at < size && !SeparatesAttributes(text[at]) && text[at] != '"')
            ++at;
        if (at == nameStart)
            return;
        const std::string_view attribute = text.substr(nameStart, at - nameStart);
        while (at < size && SeparatesAttributes(text[at]))
            ++at;
        if (at >= size)
            return;
        std::string_view value;
        if (text[at] == '"')
        {
            const size_t close = text.find('"', at + 1);
            if (close == std::string_view::npos)
                return;
            value = text.substr(at + 1, close - at - 1);
            at = close + 1;
        }
        else
        {
            // A bare value may run to the very end of the tag.
            const size_t start = at;
            while (at < size && !SeparatesAttributes(text[at]))
                ++at;
            value = text.substr(start, at - start);
        }
        m_attributes.insert_or_assign(CString(attribute), CString(value));
    }
}
