#include "platform/EssentialDocuments.h"

#include "core/CFileSystem.h"
#include "core/CXmlDocument.h"
#include "platform/GameOrder.h"

#include <cctype>
#include <cstdio>
#include <string_view>
#include <vector>

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

bool IsNameStart(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == ':';
}

bool IsNameChar(char c)
{
    return IsNameStart(c) || std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '.';
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Reads the dialect strictly, as an essential document must be written: the parser takes almost
// any bytes as some tree, so a file with a flipped byte would pass as a document that draws or
// hears nothing. Elements nest and close by name; attributes are name="value" or name=value;
// comments, CDATA, processing instructions and declarations are whole; outside the one top
// element there are only blanks, comments, processing instructions and declarations.
bool IsStrictlyWhole(std::string_view text)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::vector<std::string_view> open;
    bool rootSeen = false;
    size_t i = 0;
    // Skips past the end marker of a construct begun at i; false when it never ends.
    auto skipPast = [&](std::string_view end)
    {
        const size_t at = text.find(end, i);
        if (at == std::string_view::npos)
            return false;
        i = at + end.size();
        return true;
    };
    auto skipBlanks = [&]
    {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
    };
    auto readName = [&]
    {
        const size_t start = i;
        if (i < text.size() && IsNameStart(text[i]))
            while (++i < text.size() && IsNameChar(text[i]))
            {
            }
        return text.substr(start, i - start);
    };
    while (i < text.size())
    {
        if (text[i] != '<')
        {
            // Text: only within the top element, or blanks outside it.
            if (open.empty() && !IsBlank(text[i]))
                return false;
            ++i;
            continue;
        }
        const std::string_view rest = text.substr(i);
        if (rest.substr(0, 4) == "<!--")
        {
            if (!skipPast("-->"))
                return false;
        }
        else if (rest.substr(0, 9) == "<![CDATA[")
        {
            if (open.empty() || !skipPast("]]>"))
                return false;
        }
        else if (rest.substr(0, 2) == "<?" || rest.substr(0, 2) == "<!")
        {
            if ((rest[1] == '!' && !open.empty()) || !skipPast(rest[1] == '?' ? "?>" : ">"))
                return false;
        }
        else if (rest.substr(0, 2) == "</")
        {
            i += 2;
            const std::string_view name = readName();
            skipBlanks();
            if (open.empty() || name != open.back() || i >= text.size() || text[i] != '>')
                return false;
            ++i;
            open.pop_back();
        }
        else
        {
            ++i;
            if (open.empty() && rootSeen)
                return false; // a second top element
            const std::string_view name = readName();
            if (name.empty())
                return false;
            for (;;)
            {
                const size_t before = i;
                skipBlanks();
                if (i >= text.size())
                    return false;
                if (text.substr(i, 2) == "/>" || text[i] == '>')
                    break;
                if (i == before || readName().empty())
                    return false;
                skipBlanks();
                if (i >= text.size() || text[i] != '=')
                    return false;
                ++i;
                skipBlanks();
                if (i < text.size() && text[i] == '"')
                {
                    ++i;
                    if (!skipPast("\""))
                        return false;
                }
                else
                {
                    const size_t start = i;
                    while (i < text.size() && !IsBlank(text[i]) &&
                           std::string_view("\"'<>=/").find(text[i]) == std::string_view::npos)
                        ++i;
                    if (i == start)
                        return false;
                }
            }
            rootSeen = true;
            if (text[i] == '/')
                i += 2;
            else
            {
                ++i;
                open.push_back(name);
            }
        }
    }
    return rootSeen && open.empty();
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
    // The strict reading also refuses a text cut short: the parser takes elements that its end
    // left open as complete.
    if (!document.Parse(text, false) || !IsStrictlyWhole(text))
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
