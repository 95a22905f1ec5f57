#include "core/CXmlChunkReader.h"

#include "core/CStream.h"

#include <cstring>

CXmlChunkReader::CXmlChunkReader(CStream& stream) : m_stream(stream) {}

bool CXmlChunkReader::Next(std::string_view& chunk)
{
    m_carry.clear();
    m_unclosed = false;
    bool carrying = false;
    for (;;)
    {
        if (m_begin == m_end && !Fill())
        {
            if (!carrying || m_stream.HasError())
                return false;
            m_unclosed = true;
            chunk = m_carry;
            return true;
        }
        const char* start = m_block.data() + m_begin;
        const size_t available = m_end - m_begin;
        const char* found = static_cast<const char*>(std::memchr(start, '>', available));
        if (found)
        {
            const size_t length = size_t(found - start);
            m_begin += length + 1;
            if (!carrying)
            {
                chunk = std::string_view(start, length);
                return true;
            }
            m_carry.append(start, length);
            chunk = m_carry;
            return true;
        }
        m_carry.append(start, available);
        m_begin = m_end;
        carrying = true;
    }
}

bool CXmlChunkReader::HasError() const
{
    return m_stream.HasError();
}

void CXmlChunkReader::Reset()
{
    m_begin = 0;
    m_end = 0;
    m_carry.clear();
    m_drained = false;
    m_unclosed = false;
    m_filled = false;
}

bool CXmlChunkReader::Fill()
{
    if (m_drained)
        return false;
    if (m_block.empty())
        m_block.resize(kBlockBytes);
    const size_t got = m_stream.Read(m_block.data(), m_block.size());
    m_begin = 0;
    m_end = got;
    if (got == 0 || m_stream.HasError())
    {
        m_drained = true;
        m_end = 0;
        return false;
    }
    // Editors put a UTF-8 byte order mark before the first element; it is not text.
    if (!m_filled && got >= kByteOrderMark.size() &&
        std::string_view(m_block.data(), kByteOrderMark.size()) == kByteOrderMark)
        m_begin = kByteOrderMark.size();
    m_filled = true;
    return true;
}
