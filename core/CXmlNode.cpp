#include "core/CXmlNode.h"

#include "core/CStream.h"
#include "core/CXmlParser.h"

#include <algorithm>

namespace
{
// What every missing attribute reads as; never written to (handed out as const).
const CString kNoText;

// Output is gathered and handed to the stream in pieces of about this many bytes.
constexpr size_t kWriteFlushBytes = 64 * 1024;

// Elements with this many attributes or more write one attribute per line.
constexpr size_t kAttributesOnOneLine = 8;

// Every value goes out escaped, so that whatever was read (a damaged file's text with quotes
// and ">" in it) is written back as a document that reads back the same (CXmlParser decodes).
void AppendEscaped(CString& out, std::string_view value)
{
    for (const char c : value)
    {
        switch (c)
        {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
            break;
        }
    }
}

// Only elements and attributes whose names are names are written: a damaged file can leave
// others in the tree (a stray quote makes "\n    puzzle1002=" a name), and written out they would
// make the file something no reader takes for a document.
CXmlNode* FirstWritten(CXmlNode* node)
{
    while (node && !CXmlNode::IsValidName(node->GetName()))
        node = node->NextSibling();
    return node;
}

// Splits path at its first "/": head is the text before it, path keeps the text after it.
// False when path has no "/" (head is then the whole path).
bool SplitFirst(std::string_view& path, std::string_view& head)
{
    const size_t slash = path.find('/');
    if (slash == std::string_view::npos)
    {
        head = path;
        return false;
    }
    head = path.substr(0, slash);
    path.remove_prefix(slash + 1);
    return true;
}
} // namespace

CXmlNode::CXmlNode(std::string_view name) : m_name(name)
{
    m_sibling.SetOwner(this);
}

CXmlNode::~CXmlNode()
{
    // Flatten instead of recursing: a child's own children move up into this list before the
    // child is deleted, so every delete meets a leaf and the stack stays flat at any depth.
    while (CLinkNode* node = m_children.First())
    {
        CXmlNode* child = OwnerOf(node);
        while (CLinkNode* grandchild = child->m_children.First())
            m_children.PushBack(*grandchild);
        delete child;
    }
}

CXmlNode* CXmlNode::GetRoot()
{
    CXmlNode* node = this;
    while (CXmlNode* parent = node->GetParent())
        node = parent;
    return node;
}

CXmlNode* CXmlNode::FirstChild()
{
    CXmlNode* first = OwnerOf(m_children.First());
    m_cursor.Set(first);
    return first;
}

CXmlNode* CXmlNode::NextSibling() const
{
    return m_sibling.IsLinked() ? OwnerOf(m_sibling.Next()) : nullptr;
}

CXmlNode* CXmlNode::NextSiblingNamed(std::string_view name) const
{
    for (CXmlNode* node = NextSibling(); node; node = node->NextSibling())
    {
        if (node->m_name == name)
            return node;
    }
    return nullptr;
}

CXmlNode* CXmlNode::ChildNamed(std::string_view name) const
{
    if (name.empty())
        return nullptr;
    for (CLinkNode* node = m_children.First(); node; node = node->Next())
    {
        CXmlNode* child = OwnerOf(node);
        if (child->m_name == name)
            return child;
    }
    return nullptr;
}

CXmlNode* CXmlNode::FindChild(std::string_view path)
{
    CXmlNode* node = this;
    if (!path.empty() && path.front() == '/')
    {
        node = GetRoot();
        path.remove_prefix(1);
    }
    for (;;)
    {
        std::string_view segment;
        const bool more = SplitFirst(path, segment);
        CXmlNode* found = node->ChildNamed(segment);
        node->m_cursor.Set(found);
        if (!found || !more)
            return found;
        node = found;
    }
}

CXmlNode* CXmlNode::FindNextChild(std::string_view name)
{
    CXmlNode* current = m_cursor.Get();
    if (!current || current->GetParent() != this || current->m_name != name)
        return FindChild(name);
    CXmlNode* next = current->NextSiblingNamed(name);
    m_cursor.Set(next);
    return next;
}

const CXmlNode* CXmlNode::FollowPath(std::string_view path, std::string_view& leaf) const
{
    const CXmlNode* node = this;
    if (!path.empty() && path.front() == '/')
    {
        node = const_cast<CXmlNode*>(this)->GetRoot();
        path.remove_prefix(1);
    }
    std::string_view segment;
    while (SplitFirst(path, segment))
    {
        node = node->ChildNamed(segment);
        if (!node)
            return nullptr;
    }
    leaf = segment;
    return node;
}

const CString& CXmlNode::GetAttribute(std::string_view path) const
{
    std::string_view name;
    const CXmlNode* node = FollowPath(path, name);
    const CString* value = node ? node->FindOwnAttribute(name) : nullptr;
    return value ? *value : kNoText;
}

bool CXmlNode::HasAttribute(std::string_view path) const
{
    return !GetAttribute(path).empty();
}

bool CXmlNode::SetAttribute(std::string_view path, std::string_view value)
{
    // Check every name before creating anything, so a refused path leaves the tree unchanged:
    // an element with an empty or unreadable name would be written out and never found again.
    // A leading "/" is such an empty name, not the root as in GetAttribute.
    std::string_view rest = path;
    std::string_view segment;
    while (SplitFirst(rest, segment))
        if (!IsValidName(segment))
            return false;
    if (!IsValidAttributeName(segment))
        return false;
    CXmlNode* node = this;
    while (SplitFirst(path, segment))
    {
        CXmlNode* child = node->FindChild(segment);
        node = child ? child : node->AddChild(segment);
    }
    node->SetOwnAttribute(segment, value);
    return true;
}

void CXmlNode::SetOwnAttribute(std::string_view name, std::string_view value)
{
    const auto at = m_attributes.begin() + (LowerBound(name) - m_attributes.cbegin());
    if (at != m_attributes.end() && std::string_view(at->first) == name)
        at->second.assign(value.data(), value.size());
    else
        m_attributes.emplace(at, CString(name), CString(value));
}

void CXmlNode::SetOwnAttributes(std::vector<std::pair<std::string_view, std::string_view>>& attributes)
{
    if (!m_attributes.empty())
    {
        for (const auto& [name, value] : attributes)
            SetOwnAttribute(name, value);
        return;
    }
    std::stable_sort(attributes.begin(), attributes.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    m_attributes.reserve(attributes.size());
    for (const auto& [name, value] : attributes)
    {
        if (!m_attributes.empty() && std::string_view(m_attributes.back().first) == name)
            m_attributes.back().second.assign(value.data(), value.size());
        else
            m_attributes.emplace_back(CString(name), CString(value));
    }
}

const CString* CXmlNode::FindOwnAttribute(std::string_view name) const
{
    const auto at = LowerBound(name);
    return at != m_attributes.end() && std::string_view(at->first) == name ? &at->second : nullptr;
}

CXmlNode::AttributeList::const_iterator CXmlNode::LowerBound(std::string_view name) const
{
    return std::lower_bound(m_attributes.begin(), m_attributes.end(), name,
                            [](const Attribute& attribute, std::string_view key)
                            { return std::string_view(attribute.first) < key; });
}

CXmlNode* CXmlNode::AddChild(std::string_view name)
{
    CXmlNode* child = new CXmlNode(name);
    m_children.PushBack(child->m_sibling);
    child->m_parent.Set(this);
    return child;
}

void CXmlNode::Detach()
{
    m_sibling.Unlink();
    m_parent.Clear();
}

bool CXmlNode::Write(CStream& stream, int depth) const
{
    // An iterative walk over the subtree (down to the first child, on to the next sibling, back
    // up to the parent), so any depth writes without growing the call stack.
    CString out;
    bool ok = true;
    const auto flush = [&](bool always)
    {
        if (out.size() >= kWriteFlushBytes || (always && !out.empty()))
        {
            ok = stream.Write(out.data(), out.size()) && ok;
            out.clear();
        }
    };
    const auto closeTag = [&](const CXmlNode* node, int indent)
    {
        out.append(size_t(indent), ' ');
        out += "</";
        out += node->m_name;
        out += ">\n";
        flush(false);
    };

    if (!IsValidName(m_name))
        return false;
    const CXmlNode* node = this;
    int indent = depth < 0 ? 0 : depth;
    int level = 0;
    for (;;)
    {
        out.append(size_t(indent), ' ');
        out += '<';
        out += node->m_name;
        const size_t written =
            size_t(std::count_if(node->m_attributes.begin(), node->m_attributes.end(),
                                 [](const Attribute& a) { return IsValidAttributeName(a.first); }));
        const bool oneLine = written < kAttributesOnOneLine;
        for (const auto& [name, value] : node->m_attributes)
        {
            if (!IsValidAttributeName(name))
                continue;
            if (oneLine)
                out += ' ';
            else
            {
                out += "\n    ";
                out.append(size_t(indent), ' ');
            }
            out += name;
            out += "=\"";
            AppendEscaped(out, value);
            out += '"';
        }
        flush(false);
        if (CXmlNode* child = FirstWritten(OwnerOf(node->m_children.First())))
        {
            // Deeper than any parse accepts: the text could never be read back.
            if (++level >= CXmlParser::kMaxDepth)
                return false;
            out += ">\n";
            node = child;
            indent += 2;
            continue;
        }
        out += " />\n";
        // Climb until a sibling is left to write, closing each finished parent.
        while (node != this)
        {
            if (const CXmlNode* next = FirstWritten(node->NextSibling()))
            {
                node = next;
                break;
            }
            node = node->GetParent();
            indent -= 2;
            --level;
            closeTag(node, indent);
        }
        if (node == this)
            break;
    }
    flush(true);
    return ok && !stream.HasError();
}

bool CXmlNode::IsValidName(std::string_view name)
{
    return !name.empty() && CXmlParser::NameLength(name) == name.size();
}

bool CXmlNode::IsValidAttributeName(std::string_view name)
{
    return !name.empty() && CXmlParser::AttributeNameLength(name) == name.size();
}
