#pragma once
// Reads the XML dialect of the data files into a tree: elements, attributes with double-quoted
// or bare values, text and CDATA as "__content" children; comments, processing instructions and
// other "<!" declarations are skipped. Only the escapes the writer uses (&amp; &lt; &gt; &quot;) are
// decoded, in attribute values. The text is taken ">" by ">" from a stream.
#include "core/CString.h"

class CStream;
class CXmlNode;

class CXmlParser
{
  public:
    // Deeper nesting than this is taken as broken (or hostile) input.
    static constexpr int kMaxDepth = 1000;

    // Appends what the stream holds to holder's children. True only when the text was whole:
    // every element closed, no closing tag without its opening, no comment or CDATA left open at
    // the end, nesting within kMaxDepth and no zero byte. On false, holder keeps what was read
    // so far; callers discard it.
    static bool Parse(CStream& stream, CXmlNode& holder);
};
