#include "core/CXmlParser.h"

#include "core/CXmlChunkReader.h"
#include "core/CXmlNode.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <string_view>
#include <utility>
#include <vector>

namespace
{
constexpr std::string_view kCdataOpen = "<![CDATA[";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

size_t SkipBlanks(std::string_view text, size_t at)
{
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    return at;
}

// What ends a name: a byte that separates the tokens of a tag or ends the tag, or a zero byte.
bool EndsName(char c)
{
    return IsBlank(c) || c == '=' || c == '"' || c == '<' || c == '>' || c == '/' || c == '\0';
}

size_t BareNameLength(std::string_view text)
{
    size_t length = 0;
    while (length < text.size() && !EndsName(text[length]))
        ++length;
    return length;
}

bool IsAllBlank(std::string_view text)
{
    for (const char c : text)
    {
        if (!IsBlank(c))
            return false;
    }
    return true;
}

bool EndsWith(std::string_view text, std::string_view tail)
{
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

bool StartsWithNoCase(std::string_view text, std::string_view head)
{
    if (text.size() < head.size())
        return false;
    for (size_t i = 0; i < head.size(); ++i)
    {
        char c = text[i];
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
        if (c != head[i])
            return false;
    }
    return true;
}

struct Token
{
    std::string_view text;
    bool quoted = false;
    // Ended by its closing quote or by a separator, not by the end of the text: whole.
    bool closed = false;
};

// The next token of a tag's text from position, or false at the end of the tag. Blanks, "<"
// and "=" separate tokens; a double quote starts a token that runs to the next double quote
// (quotes dropped); a bare token ends before a separator, ">" or a double quote, and before a
// "/" unless the "/" is its first character.
bool NextToken(std::string_view tag, size_t& position, Token& token)
{
    const size_t size = tag.size();
    size_t at = position;
    while (at < size && (IsBlank(tag[at]) || tag[at] == '<' || tag[at] == '='))
        ++at;
    if (at >= size)
    {
        position = size;
        return false;
    }
    if (tag[at] == '"')
    {
        const size_t start = at + 1;
        size_t end = tag.find('"', start);
        if (end == std::string_view::npos)
            end = size;
        token.text = tag.substr(start, end - start);
        token.quoted = true;
        token.closed = end < size;
        position = end < size ? end + 1 : size;
        return true;
    }
    const size_t start = at;
    if (tag[at] == '/')
        ++at;
    while (at < size)
    {
        const char c = tag[at];
        if (IsBlank(c) || c == '<' || c == '>' || c == '=' || c == '"' || (c == '/' && at > start))
            break;
        ++at;
    }
    token.text = tag.substr(start, at - start);
    token.quoted = false;
    token.closed = at < size;
    position = at;
    return true;
}

class TreeBuilder
{
  public:
    TreeBuilder(CStream& stream, CXmlNode& holder, CXmlParser::Mode mode)
        : m_input(stream), m_holder(holder), m_current(&holder), m_strict(mode == CXmlParser::Mode::kStrict)
    {
    }

    bool Run()
    {
        while (NextChunk())
        {
            if (!Chunk())
                return false;
        }
        if (m_zero || m_input.HasError() || m_skipping)
            return false;
        // Text after the last tag is kept: an inline fragment ends with it.
        if (m_textRunsOn)
            m_pendingText += '>';
        if (!AddText(m_pendingText))
            return false;
        // Leniently, elements still open at the end are simply complete.
        return !m_strict || (m_rootSeen && m_current == &m_holder);
    }

  private:
    // Takes the next piece of input into m_chunk. A zero byte is damage that ends the text as
    // the end of the input would: the piece stops before it, and nothing after it is read.
    bool NextChunk()
    {
        if (m_zero || !m_input.Next(m_chunk))
            return false;
        if (const void* zero = std::memchr(m_chunk.data(), 0, m_chunk.size()))
        {
            m_chunk = m_chunk.substr(0, size_t(static_cast<const char*>(zero) - m_chunk.data()));
            m_zero = true;
        }
        return true;
    }

    // The piece last taken ended where the text does, not at a ">".
    bool Cut() const { return m_zero || m_input.EndedUnclosed(); }

    // One piece of input up to (without) a ">". False on broken input.
    bool Chunk()
    {
        if (m_ignoringRest)
            return true;
        if (m_skipping)
        {
            if (Cut())
                return false;
            if (EndsWith(m_chunk, "--") || EndsWith(m_chunk, "?"))
                m_skipping = false;
            return true;
        }
        const std::string_view chunk = m_chunk;
        const size_t lt = chunk.find('<');
        // A tag that the end of the input cut off: the text is truncated (false), but what the
        // tag holds whole up to the cut is kept for a caller that salvages.
        const bool cut = lt != std::string_view::npos && Cut();
        if (m_textRunsOn)
            m_pendingText += '>';
        if (lt == std::string_view::npos)
        {
            // No tag here: the ">" that ended the chunk was text, so the text runs on.
            m_pendingText.append(chunk.data(), chunk.size());
            m_textRunsOn = !Cut();
            return true;
        }
        m_textRunsOn = false;
        bool text = true;
        if (m_pendingText.empty())
            text = AddText(chunk.substr(0, lt));
        else
        {
            m_pendingText.append(chunk.data(), lt);
            text = AddText(m_pendingText);
        }
        m_pendingText.clear();
        if (!text)
            return false;

        const std::string_view tag = chunk.substr(lt);
        if (StartsWithNoCase(tag, kCdataOpen))
        {
            if (m_strict && (m_current == &m_holder || tag.substr(0, kCdataOpen.size()) != kCdataOpen))
                return false;
            return Cdata(tag.substr(kCdataOpen.size()));
        }
        if (tag.size() > 1 && tag[1] != '!' && tag[1] != '?' && CountQuotes(tag) % 2)
            return JoinQuoted(tag);
        return CutTag(tag, cut);
    }

    // Tag, for a tag the input's end may have cut (then only its whole tokens count, and false).
    bool CutTag(std::string_view tag, bool cut)
    {
        if (m_strict && (cut || !IsStrictTag(tag)))
            return false;
        m_cut = cut;
        const bool read = Tag(tag);
        m_cut = false;
        return read && !cut;
    }

    static size_t CountQuotes(std::string_view text)
    {
        return size_t(std::count(text.begin(), text.end(), '"'));
    }

    // A quoted value that holds ">" was split there: join the pieces until its quote closes, so
    // that every value the writer puts out reads back.
    bool JoinQuoted(std::string_view tag)
    {
        m_joined.assign(tag.data(), tag.size());
        size_t quotes = CountQuotes(tag);
        bool cut = false;
        while (quotes % 2 && !cut)
        {
            if (!NextChunk())
            {
                cut = true;
                break;
            }
            cut = Cut();
            m_joined += '>';
            m_joined.append(m_chunk.data(), m_chunk.size());
            quotes += CountQuotes(m_chunk);
        }
        m_chunk = m_joined;
        return CutTag(m_chunk, cut);
    }

    // False where strict reading allows no text: outside the top element.
    bool AddText(std::string_view text)
    {
        if (IsAllBlank(text))
            return true;
        if (m_strict && m_current == &m_holder)
            return false;
        CXmlNode* content = m_current->AddChild(CXmlNode::kContentName);
        content->SetOwnAttribute("content", text);
        content->SetOwnAttribute("type", "content");
        return true;
    }

    // The CDATA text runs to the first "]]" followed by ">"; ">" inside it split the input.
    bool Cdata(std::string_view start)
    {
        CString data(start);
        while (!EndsWith(data, "]]"))
        {
            if (!NextChunk() || Cut())
                return false;
            data += '>';
            data += m_chunk;
        }
        data.resize(data.size() - 2);
        CXmlNode* content = m_current->AddChild(CXmlNode::kContentName);
        content->SetOwnAttribute("content", data);
        content->SetOwnAttribute("type", "cdata");
        return true;
    }

    bool Tag(std::string_view tag)
    {
        enum State
        {
            kName,
            kAttributeName,
            kAttributeValue,
        };
        State state = kName;
        std::string_view attributeName;
        // The element this tag opens gets its attributes at once when the tag ends.
        m_tagAttributes.clear();
        m_decoded.clear();
        CXmlNode* element = nullptr;
        const auto finish = [&]
        {
            if (element && !m_tagAttributes.empty())
                element->SetOwnAttributes(m_tagAttributes);
        };
        size_t position = 0;
        Token token;
        while (NextToken(tag, position, token))
        {
            // A token the cut ended may be only the start of what was written.
            if (m_cut && !token.closed)
                break;
            const bool slash = !token.quoted && !token.text.empty() && token.text.front() == '/';
            switch (state)
            {
            case kName:
                if (!token.quoted && !token.text.empty() &&
                    (token.text.front() == '!' || token.text.front() == '?'))
                {
                    // A comment or processing instruction may hold ">": skip to its real end.
                    // Other declarations (a DOCTYPE) are dropped rather than opening an element
                    // that would swallow the document.
                    const bool comment = token.text.substr(0, 3) == "!--" || token.text.front() == '?';
                    if (comment && !EndsWith(m_chunk, "--") && !EndsWith(m_chunk, "?"))
                        m_skipping = true;
                    return true;
                }
                if (slash)
                    return Close();
                if (token.text.empty())
                    return true;
                if (m_depth >= CXmlParser::kMaxDepth)
                    return false;
                m_rootSeen = m_rootSeen || m_current == &m_holder;
                m_current = m_current->AddChild(token.text);
                element = m_current;
                ++m_depth;
                state = kAttributeName;
                break;
            case kAttributeName:
                if (slash)
                {
                    finish();
                    return Close();
                }
                attributeName = token.text;
                state = kAttributeValue;
                break;
            case kAttributeValue:
                // A valueless attribute right before the self-closing "/" ("<a flag/>").
                if (slash && token.text.size() == 1 && IsAllBlank(tag.substr(position)))
                {
                    SetAttribute(attributeName, {});
                    finish();
                    return Close();
                }
                SetAttribute(attributeName, token.text);
                state = kAttributeName;
                break;
            }
        }
        // A name the cut left without its value is dropped: the value is unknown.
        if (state == kAttributeValue && !m_cut)
            SetAttribute(attributeName, {});
        finish();
        return true;
    }

    void SetAttribute(std::string_view name, std::string_view value)
    {
        if (name.empty())
            return;
        if (value.find('&') != std::string_view::npos)
        {
            m_decoded.push_back(Unescape(value));
            value = m_decoded.back();
        }
        m_tagAttributes.emplace_back(name, value);
    }

    // Undoes the writer's escapes (CXmlNode::Write) so that every value reads back as it was
    // written; any other "&" stays as it stands.
    static CString Unescape(std::string_view value)
    {
        static constexpr std::pair<std::string_view, char> kEscapes[] = {
            {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}};
        CString out;
        out.reserve(value.size());
        for (size_t i = 0; i < value.size(); ++i)
        {
            bool replaced = false;
            if (value[i] == '&')
            {
                for (const auto& [escape, c] : kEscapes)
                {
                    if (value.substr(i, escape.size()) == escape)
                    {
                        out += c;
                        i += escape.size() - 1;
                        replaced = true;
                        break;
                    }
                }
            }
            if (!replaced)
                out += value[i];
        }
        return out;
    }

    // Whether a tag (from its "<", without its ">") is written as kStrict asks: the start of a
    // comment or processing instruction (their ends are found by the skipping), a declaration
    // outside the top element, a closing tag with the open element's name, or a start tag.
    bool IsStrictTag(std::string_view tag) const
    {
        const std::string_view rest = tag.substr(1);
        if (rest.substr(0, 3) == "!--" || rest.substr(0, 1) == "?")
            return true;
        if (rest.substr(0, 1) == "!")
            return m_current == &m_holder;
        if (rest.substr(0, 1) == "/")
        {
            const std::string_view name = rest.substr(1, CXmlParser::NameLength(rest.substr(1)));
            return m_current != &m_holder && !name.empty() && name == m_current->GetName() &&
                   IsAllBlank(rest.substr(1 + name.size()));
        }
        if (m_current == &m_holder && m_rootSeen)
            return false; // a second top element
        size_t at = CXmlParser::NameLength(rest);
        if (at == 0)
            return false;
        for (;;)
        {
            const size_t before = at;
            at = SkipBlanks(rest, at);
            if (at == rest.size() || rest.substr(at) == "/")
                return true;
            const size_t name = at == before ? 0 : CXmlParser::AttributeNameLength(rest.substr(at));
            if (name == 0)
                return false;
            at = SkipBlanks(rest, at + name);
            if (at == rest.size() || rest[at] != '=')
                return false;
            at = SkipBlanks(rest, at + 1);
            if (at < rest.size() && rest[at] == '"')
            {
                at = rest.find('"', at + 1);
                if (at == std::string_view::npos)
                    return false;
                ++at;
                continue;
            }
            const size_t start = at;
            while (at < rest.size() && !IsBlank(rest[at]) &&
                   std::string_view("\"'<>=/").find(rest[at]) == std::string_view::npos)
                ++at;
            if (at == start)
                return false;
        }
    }

    // A closing tag or the end of a self-closing one; its name is not checked. A close with no
    // element open ends the document: the rest of the input is ignored.
    bool Close()
    {
        if (m_current == &m_holder)
        {
            m_ignoringRest = true;
            return true;
        }
        m_current = m_current->GetParent();
        --m_depth;
        return true;
    }

    CXmlChunkReader m_input;
    CXmlNode& m_holder;
    CXmlNode* m_current;
    const bool m_strict;
    // An element was opened at the top.
    bool m_rootSeen = false;
    // A zero byte ended the input.
    bool m_zero = false;
    int m_depth = 0;
    // Inside a comment or processing instruction that the chunk did not end.
    bool m_skipping = false;
    // More elements were closed than opened.
    bool m_ignoringRest = false;
    // The tag being read was cut by the end of the input.
    bool m_cut = false;
    // Text before a tag that a ">" interrupted; m_textRunsOn is set while that ">" is owed.
    CString m_pendingText;
    bool m_textRunsOn = false;
    // The piece of input being read; valid until the next is taken.
    std::string_view m_chunk;
    CString m_joined;
    std::vector<std::pair<std::string_view, std::string_view>> m_tagAttributes;
    // Decoded values of the tag's attributes; a deque keeps their addresses as it grows.
    std::deque<CString> m_decoded;
};
} // namespace

bool CXmlParser::Parse(CStream& stream, CXmlNode& holder, Mode mode)
{
    TreeBuilder builder(stream, holder, mode);
    return builder.Run();
}

size_t CXmlParser::NameLength(std::string_view text)
{
    // A tag that begins so is a declaration, comment or processing instruction.
    if (text.empty() || text.front() == '!' || text.front() == '?')
        return 0;
    return BareNameLength(text);
}

size_t CXmlParser::AttributeNameLength(std::string_view text)
{
    // A token that begins so ends the tag wherever it stands.
    if (text.substr(0, 3) == "!--" || text.substr(0, 1) == "?")
        return 0;
    return BareNameLength(text);
}
