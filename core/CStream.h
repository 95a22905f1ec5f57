#pragma once
// Byte-stream interface through which every reader of files and texts works (XML, images, the
// move map). Positions and lengths are in bytes. State flags only ever gain a failure until the
// stream is reopened or seeked: an end flag is cleared by a successful seek.
#include "core/CString.h"

#include <cstddef>
#include <cstdint>

class CStream
{
  public:
    enum Whence
    {
        kFromStart = 0,
        kFromCurrent = 1,
        kFromEnd = 2,
    };

    enum Flags : uint8_t
    {
        kOpen = 0x01,
        kError = 0x02,
        kReadWithoutFile = 0x08,
        kEnd = 0x10,
    };

    CStream() = default;
    CStream(const CStream&) = delete;
    CStream& operator=(const CStream&) = delete;
    virtual ~CStream() = default;

    // Moves the position. A target outside the stream (before byte 0, or past the end of a window
    // or a memory stream) sets the error flag and does not move.
    virtual void Seek(int64_t offset, int whence) = 0;
    // The position in bytes from byte 0 of the stream; 0 when nothing is open.
    virtual int64_t Tell() = 0;
    // Reads the bytes up to the next delimiter, which is consumed and not stored (each stream says
    // which further bytes end a text and how long one may be). A final text that the end of the
    // stream closes is returned too. False, with out emptied, when the stream is at its end before
    // any byte, on a read error, or when nothing is open.
    virtual bool ReadString(CString& out, char delimiter) = 0;
    // Writes count bytes at the position; false, with the error flag set, when fewer were written.
    virtual bool Write(const void* bytes, size_t count) = 0;
    // Reads up to count bytes; returns how many were read. Reading up to the end sets the end flag.
    virtual size_t Read(void* buffer, size_t count) = 0;
    virtual bool IsOpen() const = 0;

    uint8_t GetFlags() const { return m_flags; }
    bool HasError() const { return (m_flags & kError) != 0; }
    bool IsAtEnd() const { return (m_flags & kEnd) != 0; }
    // Open, and no error or read without a file so far (the end flag does not count).
    bool IsGood() const { return (m_flags & kOpen) && !(m_flags & (kError | kReadWithoutFile)); }

    // The rest of the stream from the position; false when nothing is open or a read failed.
    bool ReadAll(CString& out);

  protected:
    uint8_t m_flags = 0;
};
