#include "core/CMemoryStream.h"

#include <cstring>

CMemoryStream::CMemoryStream()
{
    m_flags = kOpen;
}

CMemoryStream::CMemoryStream(const std::string& bytes) : m_bytes(bytes)
{
    m_flags = kOpen;
}

CMemoryStream::CMemoryStream(const void* bytes, size_t count)
{
    m_flags = kOpen;
    if (bytes && count)
        m_bytes.assign(static_cast<const char*>(bytes), count);
}

void CMemoryStream::SetBytes(const std::string& bytes)
{
    m_bytes = bytes;
    m_position = 0;
    m_flags = kOpen;
}

void CMemoryStream::Seek(int64_t offset, int whence)
{
    int64_t target = 0;
    switch (whence)
    {
    case kFromStart:
        target = offset;
        break;
    case kFromCurrent:
        target = int64_t(m_position) + offset;
        break;
    case kFromEnd:
        target = int64_t(m_bytes.size()) + offset;
        break;
    default:
        m_flags |= kError;
        return;
    }
    if (target < 0 || target > int64_t(m_bytes.size()))
    {
        m_flags |= kError;
        return;
    }
    m_position = size_t(target);
    m_flags &= uint8_t(~kEnd);
}

bool CMemoryStream::ReadString(CString& out, char delimiter)
{
    out.clear();
    if (m_position >= m_bytes.size())
    {
        m_flags |= kEnd;
        return false;
    }
    const char* start = m_bytes.data() + m_position;
    const size_t available = m_bytes.size() - m_position;
    const void* found = std::memchr(start, static_cast<unsigned char>(delimiter), available);
    if (found)
    {
        const size_t length = size_t(static_cast<const char*>(found) - start);
        out.assign(start, length);
        m_position += length + 1;
    }
    else
    {
        out.assign(start, available);
        m_position = m_bytes.size();
        m_flags |= kEnd;
    }
    return true;
}

bool CMemoryStream::Write(const void* bytes, size_t count)
{
    if (count == 0)
        return true;
    if (!bytes)
    {
        m_flags |= kError;
        return false;
    }
    if (m_position + count > m_bytes.size())
        m_bytes.resize(m_position + count);
    std::memcpy(&m_bytes[m_position], bytes, count);
    m_position += count;
    return true;
}

size_t CMemoryStream::Read(void* buffer, size_t count)
{
    const size_t available = m_bytes.size() - m_position;
    m_flags &= uint8_t(~kEnd);
    if (count >= available)
    {
        m_flags |= kEnd;
        count = available;
    }
    if (count && buffer)
    {
        std::memcpy(buffer, m_bytes.data() + m_position, count);
        m_position += count;
        return count;
    }
    return 0;
}
