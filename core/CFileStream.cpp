#include "core/CFileStream.h"

#include "core/CFileArchive.h"

#include <algorithm>
#include <sys/stat.h>

CFileStream::CFileStream(const char* path, int mode)
{
    Open(path, mode);
}

CFileStream::CFileStream(FILE* file, int64_t base, int64_t length)
    : m_borrowed(true), m_file(file), m_base(base < 0 ? 0 : base), m_length(length < 0 ? -1 : length)
{
    if (!m_file)
        return;
    m_flags = kOpen;
    if (ferror(m_file))
        m_flags |= kError;
    if (feof(m_file))
        m_flags |= kEnd;
}

CFileStream::~CFileStream()
{
    Close();
}

bool CFileStream::Open(const char* path, int mode)
{
    Close();
    if (!path)
        return false;
    if (mode & kRead)
    {
        if (CFileArchive* archive = CFileArchive::PeekAttached())
        {
            archive->Open(path, *this);
            if (IsOpen())
            {
                Seek(0, (mode & kSeekToEnd) ? kFromEnd : kFromStart);
                return true;
            }
        }
        Close();
        m_file = fopen(path, "rb");
    }
    else if (mode & (kWrite | kWriteTruncate))
        m_file = fopen(path, "wb");
    else if (mode & kAppend)
        m_file = fopen(path, "ab");
    if (!m_file)
        return false;
    m_flags = kOpen;
    if (mode & kSeekToEnd)
        Seek(0, kFromEnd);
    return true;
}

void CFileStream::AttachWindow(CFileStream& source, int64_t offset, int64_t length)
{
    FILE* const file = source.m_file;
    const int64_t sourceBase = source.m_base;
    int64_t sourceLength = source.m_length;
    // A whole file bounds its windows by its size.
    struct stat status;
    if (file && sourceLength < 0 && fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode))
        sourceLength = std::max<int64_t>(0, int64_t(status.st_size) - sourceBase);
    const uint8_t sourceFlags = source.m_flags;
    const bool self = &source == this;
    if (!self)
    {
        Close();
        m_borrowed = true;
    }
    if (!file)
    {
        m_flags = 0;
        return;
    }
    if (offset < 0)
        offset = 0;
    // The window may not reach outside its source: an archive's length fields cannot widen what a
    // member can read.
    if (sourceLength >= 0)
    {
        if (offset > sourceLength)
            offset = sourceLength;
        const int64_t room = sourceLength - offset;
        length = length < 0 ? room : std::min(length, room);
    }
    else if (length < 0)
        length = -1;
    m_file = file;
    m_base = sourceBase + offset;
    m_length = length;
    m_position = 0;
    m_flags = uint8_t(sourceFlags & (kOpen | kError | kReadWithoutFile));
}

bool CFileStream::Close()
{
    bool sound = !(m_flags & kError);
    if (m_file && !m_borrowed && fclose(m_file) != 0)
        sound = false;
    m_file = nullptr;
    m_flags = 0;
    m_borrowed = false;
    m_base = 0;
    m_length = -1;
    m_position = 0;
    m_lineBufferSize = 0;
    return sound;
}

bool CFileStream::Flush()
{
    if (!m_file)
        return false;
    if (fflush(m_file) != 0)
        m_flags |= kError;
    return !(m_flags & kError);
}

void CFileStream::Seek(int64_t offset, int whence)
{
    if (!m_file)
        return;
    int64_t target = 0;
    switch (whence)
    {
    case kFromStart:
        target = offset;
        break;
    case kFromCurrent:
        target = Tell() + offset;
        break;
    case kFromEnd:
        if (HasWindow())
            target = m_length + offset;
        else
        {
            if (fseeko(m_file, 0, SEEK_END) != 0)
            {
                m_flags |= kError;
                return;
            }
            target = int64_t(ftello(m_file)) - m_base + offset;
        }
        break;
    default:
        m_flags |= kError;
        return;
    }
    if (target < 0 || (HasWindow() && target > m_length))
    {
        m_flags |= kError;
        return;
    }
    if (fseeko(m_file, off_t(m_base + target), SEEK_SET) != 0)
    {
        m_flags |= kError;
        return;
    }
    m_position = target;
    if (ferror(m_file))
        m_flags |= kError;
    m_flags &= uint8_t(~kEnd);
}

int64_t CFileStream::Tell()
{
    if (!m_file)
        return 0;
    if (TracksPosition())
        return m_position;
    const int64_t position = int64_t(ftello(m_file)) - m_base;
    return position < 0 ? -1 : position;
}

bool CFileStream::ReadString(CString& out, char delimiter)
{
    out.clear();
    if (!m_file)
        return false;
    if (m_lineBufferSize == 0)
        m_lineBufferSize = kFirstLineBufferSize;
    if (m_lineBufferSize >= kLineBufferLimit)
        return false;
    if (!BeginAccess())
        return false;
    int64_t remaining = Remaining();
    const int wanted = static_cast<unsigned char>(delimiter);
    int64_t consumed = 0;
    bool overflow = false;
    bool failed = false;
    // Each pass scans a run of up to chunk - 1 bytes other than the delimiter, and then the byte
    // after it. Only that byte is tested for the delimiter, 0xFF and 0: inside the run both are
    // data. The end of the input counts as 0xFF there.
    size_t chunk = m_lineBufferSize;
    for (;;)
    {
        size_t run = 0;
        int after = 0xFF;
        while (remaining != 0)
        {
            const int c = getc(m_file);
            if (c == EOF)
            {
                // A read that failed now, not the end of the input: what was read is not the text.
                failed = ferror(m_file) && !feof(m_file);
                break;
            }
            ++consumed;
            if (remaining > 0)
                --remaining;
            if (c == wanted || run == chunk - 1)
            {
                after = c;
                break;
            }
            out.push_back(char(c));
            ++run;
        }
        if (after == wanted || after == 0xFF || after == 0)
            break;
        // The run filled the chunk: the byte after it is text too, and the buffer grows.
        out.push_back(char(after));
        m_lineBufferSize += 2 * chunk;
        chunk *= 2;
        if (chunk >= kLineBufferLimit)
        {
            overflow = true;
            break;
        }
    }
    EndAccess(consumed);
    if (remaining == 0)
        m_flags |= kEnd;
    // A text the scan delimited is returned whatever an earlier operation left in the flags.
    if (overflow || consumed == 0 || failed)
    {
        out.clear();
        return false;
    }
    // A NUL ends the text; the rest of the line was read with it.
    const size_t nul = out.find('\0');
    if (nul != CString::npos)
        out.resize(nul);
    return true;
}

bool CFileStream::Write(const void* bytes, size_t count)
{
    if (count == 0)
        return true;
    if (!m_file || !bytes)
        return false;
    if (!BeginAccess())
        return false;
    size_t allowed = count;
    const int64_t remaining = Remaining();
    if (remaining >= 0 && int64_t(count) > remaining)
        allowed = size_t(remaining);
    const size_t written = allowed ? fwrite(bytes, 1, allowed, m_file) : 0;
    EndAccess(int64_t(written));
    if (written < count)
    {
        m_flags |= kError;
        return false;
    }
    return true;
}

size_t CFileStream::Read(void* buffer, size_t count)
{
    if (!m_file)
    {
        m_flags |= kReadWithoutFile;
        return 0;
    }
    if (!BeginAccess())
        return 0;
    const int64_t remaining = Remaining();
    if (remaining >= 0 && int64_t(count) >= remaining)
    {
        count = size_t(remaining);
        m_flags |= kEnd;
    }
    const size_t got = count && buffer ? fread(buffer, 1, count, m_file) : 0;
    EndAccess(int64_t(got));
    return got;
}

bool CFileStream::BeginAccess()
{
    if (TracksPosition() && fseeko(m_file, off_t(m_base + m_position), SEEK_SET) != 0)
    {
        m_flags |= kError;
        return false;
    }
    if (!feof(m_file))
        m_flags &= uint8_t(~kEnd);
    return true;
}

void CFileStream::EndAccess(int64_t bytesMoved)
{
    if (TracksPosition())
        m_position += bytesMoved;
    if (ferror(m_file))
        m_flags |= kError;
    if (feof(m_file))
        m_flags |= kEnd;
}

int64_t CFileStream::Remaining() const
{
    if (!HasWindow())
        return -1;
    const int64_t position = TracksPosition() ? m_position : int64_t(ftello(m_file)) - m_base;
    return position >= m_length ? 0 : m_length - (position < 0 ? 0 : position);
}
