#pragma once
// A whole XML document held as a tree of CXmlNodes: every data file, the preferences and the
// tuning values are read this way. Invariant: after any Load, Parse or Clear there is a root
// element, so readers never meet a null root; a failed load leaves an empty one (no children,
// no attributes), and whether the text was read is told by the result and by IsLoaded.
#include "core/CString.h"

#include <string_view>

class CStream;
class CXmlNode;

class CXmlDocument
{
  public:
    // An empty document: no root, no name (the preferences store and the rules start so).
    CXmlDocument();
    // As Load (name, where).
    CXmlDocument(const CString& name, int where);
    ~CXmlDocument();
    CXmlDocument(const CXmlDocument&) = delete;
    CXmlDocument& operator=(const CXmlDocument&) = delete;

    // Reads "<name>.xml" found by the document rules of CFileSystem for where (a
    // CFileSystem::Location), then the name itself as a path. True when the text was whole and
    // held exactly one top-level element, which becomes the root. Otherwise (missing file,
    // broken, truncated or binary text, no or several top-level elements) the root is an empty
    // element named name and the result is false. The document's name is name either way.
    bool Load(const CString& name, int where);
    // How Read takes its text.
    enum class Reading
    {
        // As Load: only a whole text gives a root.
        kWhole,
        // A text that is not whole (cut off, damaged further on, several top-level elements)
        // still gives its first top-level element as the root, with everything read whole
        // before the damage (IsPartial); the result stays false.
        kKeepWhatWasRead,
        // Only a text whole by the strict rules of CXmlParser::Mode::kStrict gives a root.
        kStrict,
    };
    // As Load, from an open stream (the document's name becomes name).
    bool Read(CStream& stream, const CString& name, Reading reading = Reading::kWhole);
    // Parses text as a document file is read; the document's name becomes "". keepAll: the root
    // is a new unnamed element holding every top-level element and text of the text. Otherwise
    // the text must hold exactly one top-level element, which becomes the root. False for broken
    // text, or with keepAll unset when there is not exactly one top-level element; the root is
    // then an empty unnamed element.
    bool Parse(std::string_view text, bool keepAll);
    // Writes the root to the file that where names: kInDataFolder "<data folder>/<name>.xml",
    // kInAppFolder "<application folder><name>.xml", kAsPath the name itself; any other where has
    // no file. The text goes to a temporary file beside the target that replaces it only once
    // it is completely written, closed and read back strictly whole, so a failure never leaves a
    // damaged document. False without a root, without a target, or when anything failed.
    bool Save(const CString& name, int where) const;
    // Writes the root (two blanks of indentation per level, attributes in name order, no
    // declaration) as CXmlNode::Write does. False without a root or when the stream failed a
    // write.
    bool Write(CStream& stream) const;
    // Frees the tree and starts again with an empty unnamed root; the name becomes "".
    void Clear();

    // Null only for a document that was never loaded, parsed or cleared.
    CXmlNode* GetRoot() const { return m_root; }
    const CString& GetName() const { return m_name; }
    // Whether the last Load, Read or Parse took its text whole.
    bool IsLoaded() const { return m_loaded; }
    // The last Read kept part of a text that was not whole.
    bool IsPartial() const { return m_partial; }

    // The root's FindChild (path); null without a root.
    CXmlNode* FindNode(std::string_view path);
    // The root's HasAttribute (path); false without a root.
    bool HasAttribute(std::string_view path) const;
    // The root's GetAttribute (path); "" without a root.
    const CString& GetAttribute(std::string_view path) const;

  private:
    // Parses the stream into a holding element and installs the root from it (see Parse); on
    // failure installs an empty root named rootName.
    bool Install(CStream& stream, bool keepAll, const CString& rootName, Reading reading = Reading::kWhole);
    void Free();

    CXmlNode* m_root = nullptr;
    CString m_name;
    bool m_loaded = false;
    bool m_partial = false;
};
