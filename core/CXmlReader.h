#pragma once
// Forward-only reader of a large XML file (the puzzles, the move map in XML form), one tag at a
// time, without building a tree. Navigation is by the elements of one level; text, comments,
// CDATA and processing instructions between tags are never reported. Invariant: once the file
// is exhausted (or was never opened) the reader stays at its end and finds no element.
#include "core/CFileStream.h"
#include "core/CString.h"
#include "core/CXmlChunkReader.h"

#include <functional>
#include <map>
#include <string_view>

class CXmlReader
{
  public:
    // A reader at its end; Open gives it a file.
    CXmlReader();
    // As Open (name).
    explicit CXmlReader(const CString& name);
    CXmlReader(const CXmlReader&) = delete;
    CXmlReader& operator=(const CXmlReader&) = delete;

    // Opens "<data folder>/<name>.xml" and reads its first tag. A file that cannot be opened
    // leaves the reader at its end. Returns Ok().
    bool Open(const CString& name);
    // As Open, for a file given by its path.
    bool OpenPath(const CString& path);
    // Whether the file opened.
    bool Ok() const { return m_opened; }
    bool IsAtEnd() const { return m_end; }

    // Reads the next tag (skipping text and comments) and forgets the attributes. False, and
    // at the end from then on, when the file holds no further whole tag.
    bool ReadTag();
    // The current tag's name; a closing tag's name keeps its leading "/".
    const CString& GetName() const { return m_name; }
    // The current tag's text up to its ">", including any text before its "<".
    const CString& GetTagText() const { return m_tagText; }
    bool IsSelfClosing() const { return !m_tagText.empty() && m_tagText.back() == '/'; }

    // Steps into the current element: true when it has a first child element, which becomes
    // current. False at the end or for a self-closing element (nothing read), or when the
    // element's closing tag comes first (it becomes current).
    bool EnterElement();
    // Steps over the current element (and its content) to its next sibling. When the parent's
    // closing tag comes instead, the reader moves to the tag after it and the result is false.
    bool NextElement();
    // NextElement until the current element is named name; false when the level ends first.
    bool NextElementNamed(std::string_view name);
    // EnterElement, then NextElement until the current element is named name.
    bool FirstChildNamed(std::string_view name);

    // The value of the current tag's attribute name: a double-quoted value without its quotes,
    // or a bare one up to a blank, "/", ">" or "=" (or the end of the tag). "" when missing.
    const CString& GetAttribute(std::string_view name);

  private:
    void Restart();
    void ReadAttributes();

    CFileStream m_file;
    CXmlChunkReader m_input;
    CString m_tagText;
    // A tag whose quoted value held ">" is gathered here.
    CString m_joined;
    // Where the current tag's "<" lies in m_tagText.
    size_t m_tagStart = 0;
    CString m_name;
    bool m_end = true;
    bool m_opened = false;
    std::map<CString, CString, std::less<>> m_attributes;
    bool m_attributesRead = false;
};
