#pragma once
// A readable and writable stream over bytes it holds itself: how XML texts are parsed and written
// without touching disk. Always open; the position never lies past the end of the bytes.
#include "core/CStream.h"

class CMemoryStream : public CStream
{
  public:
    CMemoryStream();
    // Starts with a copy of the bytes, positioned at byte 0.
    explicit CMemoryStream(const std::string& bytes);
    CMemoryStream(const void* bytes, size_t count);

    void Seek(int64_t offset, int whence) override;
    int64_t Tell() override { return int64_t(m_position); }
    // Every byte but the delimiter is data, and a text may be of any length.
    bool ReadString(CString& out, char delimiter) override;
    // Overwrites from the position and grows the bytes when it writes past their end.
    bool Write(const void* bytes, size_t count) override;
    size_t Read(void* buffer, size_t count) override;
    bool IsOpen() const override { return true; }

    const CString& GetBytes() const { return m_bytes; }
    // Replaces the bytes, positioned at byte 0, flags cleared but open.
    void SetBytes(const std::string& bytes);

  private:
    CString m_bytes;
    size_t m_position = 0;
};
