#pragma once
// One element of an XML document tree. A parent owns its children, so destroying an element
// destroys its subtree (without recursion, however deep). Text and CDATA are children named
// "__content" whose attribute "content" holds the text. Attribute names are unique and kept in
// byte-wise order, which is the order they are written in.
#include "core/CLink.h"
#include "core/CLinkList.h"
#include "core/CString.h"

#include <string_view>
#include <utility>
#include <vector>

class CStream;

class CXmlNode
{
  public:
    using Attribute = std::pair<CString, CString>;
    // Sorted by name, byte-wise, each name once: an ordered map that costs one allocation per
    // element rather than one per attribute, which matters for large documents.
    using AttributeList = std::vector<Attribute>;

    // The name of the children that hold text and CDATA.
    static constexpr const char* kContentName = "__content";

    explicit CXmlNode(std::string_view name = {});
    ~CXmlNode();
    // Children and weak links hold the element's address: it never copies or moves.
    CXmlNode(const CXmlNode&) = delete;
    CXmlNode& operator=(const CXmlNode&) = delete;

    const CString& GetName() const { return m_name; }
    void SetName(std::string_view name) { m_name.assign(name.data(), name.size()); }
    // Null for a root, or for a child whose parent has died.
    CXmlNode* GetParent() const { return m_parent.Get(); }
    // The top-most ancestor; the element itself when it has no parent.
    CXmlNode* GetRoot();

    // The first child (remembered as the cursor), or null.
    CXmlNode* FirstChild();
    // The next element in the parent's children, or null after the last.
    CXmlNode* NextSibling() const;
    // The next following sibling whose name equals name byte-wise, or null.
    CXmlNode* NextSiblingNamed(std::string_view name) const;
    int CountChildren() const { return m_children.Count(); }
    bool HasChildren() const { return !m_children.IsEmpty(); }

    // Follows a "/"-separated path of element names, each the first child of that name
    // (case-sensitive); a leading "/" starts at the top-most ancestor, whose own name is not
    // matched. An empty segment matches nothing. Each element passed remembers the child it
    // found (or null) as its cursor.
    CXmlNode* FindChild(std::string_view path);
    // Walks the children named name: the next one after the cursor when the cursor holds such a
    // child, else the first; null after the last (and the walk starts over).
    CXmlNode* FindNextChild(std::string_view name);

    // The attribute at a path of element names ending with the attribute's name (as FindChild,
    // but cursors are left alone). A missing element or attribute gives a shared empty text,
    // so the reference is always valid. Creates nothing.
    const CString& GetAttribute(std::string_view path) const;
    // GetAttribute is not empty: an attribute present with an empty value counts as absent.
    bool HasAttribute(std::string_view path) const;
    // Sets the attribute at a path, creating the missing elements on the way. Refuses (false,
    // nothing created) a path with an empty segment (a leading "/" among them) or a name that
    // could not be read back (see IsValidName and IsValidAttributeName).
    bool SetAttribute(std::string_view path, std::string_view value);
    // This element's own attribute named name (no path), inserted or replaced; no checks.
    void SetOwnAttribute(std::string_view name, std::string_view value);
    // Gives an element without attributes all of its own at once, in any order, sorting them once
    // (a name given twice keeps its last value): linear in the count where inserting one by one
    // into the sorted list is quadratic. The views are copied.
    void SetOwnAttributes(std::vector<std::pair<std::string_view, std::string_view>>& attributes);
    // This element's own attribute named name, or null when it has none.
    const CString* FindOwnAttribute(std::string_view name) const;
    const AttributeList& GetAttributes() const { return m_attributes; }

    // A new element appended to the children.
    CXmlNode* AddChild(std::string_view name);
    // Makes this element a root: it leaves its parent's children, and the caller owns it.
    void Detach();

    // Writes the element and its subtree as text, depth blanks of indentation for this element
    // and two more per level, values escaped, so that the text is one document by the strict
    // rules of CXmlParser: elements and attributes whose names are not names (IsValidName,
    // IsValidAttributeName) are left out. False when the stream failed a write, when this
    // element's own name is not a name, or when the subtree nests deeper than a parse accepts
    // (CXmlParser::kMaxDepth).
    bool Write(CStream& stream, int depth) const;

    // A name that the writer writes and every reading takes back as written: one that
    // CXmlParser::NameLength reads whole.
    static bool IsValidName(std::string_view name);
    // The same for an attribute's name (CXmlParser::AttributeNameLength).
    static bool IsValidAttributeName(std::string_view name);

  private:
    template <typename> friend class CLink;
    CLinkList& BackLinks() { return m_backLinks; }

    static CXmlNode* OwnerOf(const CLinkNode* node) { return node ? node->GetOwner<CXmlNode>() : nullptr; }
    // The first child named name, or null; an empty name matches nothing.
    CXmlNode* ChildNamed(std::string_view name) const;
    // Where name is or would be inserted in m_attributes.
    AttributeList::const_iterator LowerBound(std::string_view name) const;
    // The element a path's element segments lead to, starting at this one (or at the top-most
    // ancestor for a leading "/"); leaf receives the last segment. Null when one is missing.
    const CXmlNode* FollowPath(std::string_view path, std::string_view& leaf) const;

    CLink<CXmlNode> m_parent;
    CString m_name;
    CLinkList m_children;
    // How this element sits in its parent's children; its owner is this element.
    CLinkNode m_sibling;
    AttributeList m_attributes;
    CLink<CXmlNode> m_cursor;
    // Parent links of the children and cursors of other elements; detached when this dies.
    CLinkList m_backLinks;
};
