#pragma once
// A stream over a standard-library FILE: either a whole file that it opened and owns, or a
// borrowed window (base offset and length, in bytes) of a file another stream owns, which is how
// archive members are read. A borrowed stream never closes the FILE and keeps its own position,
// re-seeking before each access, so several windows over one file can be read in turns.
#include "core/CStream.h"

#include <cstdio>

class CFileStream : public CStream
{
  public:
    // Mode bits of Open.
    enum Mode
    {
        kAppend = 1,
        kSeekToEnd = 2,
        kRead = 8,
        kWrite = 16,
        kWriteTruncate = 32,
    };

    // ReadString's line buffer: its first size, and the size from which it fails.
    static constexpr size_t kFirstLineBufferSize = 256;
    static constexpr size_t kLineBufferLimit = 65536;

    CFileStream() = default;
    CFileStream(const char* path, int mode);
    CFileStream(const std::string& path, int mode) : CFileStream(path.c_str(), mode) {}
    // A borrowed stream over file; length -1 means no window (up to the end of the file).
    CFileStream(FILE* file, int64_t base, int64_t length);
    ~CFileStream() override;

    // Opens path. For reading, an attached archive (CFileArchive) is consulted first and a member
    // of it is opened as a window; otherwise the plain file ("rb"). Write modes open "wb", append
    // "ab". A mode without read, write or append bits opens nothing. Returns IsOpen().
    bool Open(const char* path, int mode);
    bool Open(const std::string& path, int mode) { return Open(path.c_str(), mode); }
    // Makes this stream a borrowed window of source: base = source base + offset, length clamped
    // so that the window lies inside source's own window, or inside the file for a whole file
    // (length -1: up to that end). Closes what this stream owned first.
    // The window starts at its byte 0; source's FILE must outlive this stream.
    void AttachWindow(CFileStream& source, int64_t offset, int64_t length);
    // Closes an owned FILE (a borrowed one is left alone); flags become 0. False when a write
    // failed on the way, including the last buffered bytes that fclose writes out: a writer that
    // must know its file is complete checks this.
    bool Close();
    // Writes buffered bytes out; false when this or an earlier access failed.
    bool Flush();
    bool IsOpen() const override { return m_file != nullptr; }

    void Seek(int64_t offset, int whence) override;
    int64_t Tell() override;
    // Every byte but the delimiter is read as part of the text, but the text returned ends at its
    // first NUL (the rest of it is consumed all the same). The text is scanned in runs that fill a
    // line buffer, which starts at kFirstLineBufferSize bytes and at each full run grows by twice
    // the run's room while the room doubles; a 0xFF or NUL that comes just after a full run ends
    // the text there, as the delimiter does. A run's room reaching kLineBufferLimit fails the
    // call, and once the buffer has grown to kLineBufferLimit every later call fails, until the
    // stream is opened again.
    bool ReadString(CString& out, char delimiter) override;
    bool Write(const void* bytes, size_t count) override;
    size_t Read(void* buffer, size_t count) override;

    bool IsBorrowed() const { return m_borrowed; }
    int64_t GetWindowBase() const { return m_base; }
    // -1 when the stream is not a window.
    int64_t GetWindowLength() const { return m_length; }

  private:
    bool HasWindow() const { return m_length >= 0; }
    // A borrowed FILE or a window keeps its position here rather than in the FILE.
    bool TracksPosition() const { return m_borrowed || HasWindow(); }
    // Another stream may have moved a shared FILE: put it back at this stream's position.
    bool BeginAccess();
    // Moves the kept position on by the bytes read or written and takes the FILE's error and end.
    void EndAccess(int64_t bytesMoved);
    // Bytes from the position to the end of the window; -1 for a stream without a window.
    int64_t Remaining() const;

    bool m_borrowed = false;
    FILE* m_file = nullptr;
    int64_t m_base = 0;
    int64_t m_length = -1;
    // Offset from the base, kept when TracksPosition(); other streams use the FILE's own.
    int64_t m_position = 0;
    // ReadString's line buffer size in bytes, kept between calls; 0 until first used.
    size_t m_lineBufferSize = 0;
};
