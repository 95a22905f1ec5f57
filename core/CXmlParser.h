#pragma once
// Reads the XML dialect of the data files into a tree: elements, attributes with double-quoted
// or bare values, text and CDATA as "__content" children; comments, processing instructions and
// other "<!" declarations are skipped. Only the escapes the writer uses (&amp; &lt; &gt; &quot;) are
// decoded, in attribute values. The text is taken ">" by ">" from a stream.
#include "core/CString.h"

#include <string_view>

class CStream;
class CXmlNode;

class CXmlParser
{
  public:
    // Deeper nesting than this is taken as broken (or hostile) input.
    static constexpr int kMaxDepth = 1000;

    enum class Mode
    {
        // Almost any bytes give some tree: what a damaged file still holds can be read.
        kLenient,
        // The text must be one document as it is meant to be written, for a file that must not
        // pass as some other tree when a byte of it is damaged: exactly one top element with only
        // blanks, comments, processing instructions and declarations around it; every element
        // closed by its own name; names as NameLength and AttributeNameLength read them; each
        // attribute after a blank, as name="value" or name=value; CDATA only within the top
        // element.
        kStrict,
    };

    // Appends what the stream holds to holder's children. True only when the text was whole:
    // no tag, comment or CDATA left open at the end, nesting within kMaxDepth and no zero byte,
    // and in kStrict the rules of that mode. On false, holder keeps what was read whole before
    // the damage (of a tag the end or a zero byte cut, its attributes complete before the cut);
    // callers discard it or salvage it.
    static bool Parse(CStream& stream, CXmlNode& holder, Mode mode = Mode::kLenient);

    // The length of the element name that text begins with: the bytes up to the first blank,
    // "=", double quote, "<", ">", "/" or zero byte. 0 when text begins with "!" or "?", as a
    // declaration, comment or processing instruction does: a name read back as it was written.
    static size_t NameLength(std::string_view text);
    // The same for an attribute's name, which only a comment's "!--" or a "?" first ends the
    // tag before: "!x" is an attribute's name.
    static size_t AttributeNameLength(std::string_view text);
};
