#pragma once
// Splits a stream's text at every ">" for the XML readers, through a block buffer so that a
// large document is scanned with memchr rather than byte by byte. Memory in use is one block
// plus the longest piece that spans two blocks.
#include "core/CString.h"

#include <string_view>

class CStream;

class CXmlChunkReader
{
  public:
    // Bytes asked of the stream at a time.
    static constexpr size_t kBlockBytes = 64 * 1024;

    explicit CXmlChunkReader(CStream& stream);
    CXmlChunkReader(const CXmlChunkReader&) = delete;
    CXmlChunkReader& operator=(const CXmlChunkReader&) = delete;

    // The text up to the next ">" (which is consumed and not part of it), or the final text
    // that the end of the stream closes. The view is valid until the next call. False when
    // nothing is left, or the stream failed a read.
    bool Next(std::string_view& chunk);
    // The piece last returned was closed by the end of the stream, not by a ">".
    bool EndedUnclosed() const { return m_unclosed; }
    bool HasError() const;
    // Forgets buffered text, for a stream that was reopened or moved.
    void Reset();

  private:
    bool Fill();

    CStream& m_stream;
    CString m_block;
    size_t m_begin = 0;
    size_t m_end = 0;
    // A piece that spans blocks is gathered here.
    CString m_carry;
    bool m_drained = false;
    bool m_unclosed = false;
    bool m_filled = false; // a block was read: a byte order mark is skipped only at the start

    static constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
};
