#include "platform/WavCheck.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <sys/stat.h>

namespace
{
constexpr size_t kMaxFileBytes = 64u << 20;
constexpr int32_t kPcm = 1;

uint32_t U32At(std::string_view bytes, size_t at)
{
    return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8 |
           uint32_t(uint8_t(bytes[at + 2])) << 16 | uint32_t(uint8_t(bytes[at + 3])) << 24;
}

uint32_t U16At(std::string_view bytes, size_t at)
{
    return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8;
}

CString CheckFormat(std::string_view fmt)
{
    if (fmt.size() < 16)
        return "format chunk too short";
    if (U16At(fmt, 0) != kPcm)
        return "not PCM";
    const uint32_t channels = U16At(fmt, 2);
    const uint32_t rate = U32At(fmt, 4);
    const uint32_t byteRate = U32At(fmt, 8);
    const uint32_t blockAlign = U16At(fmt, 12);
    const uint32_t bits = U16At(fmt, 14);
    if (channels < 1 || channels > 2)
        return "neither mono nor stereo";
    if (bits != 8 && bits != 16)
        return "neither 8 nor 16 bits";
    if (rate < 1000 || rate > 192000)
        return "sample rate out of range";
    if (blockAlign != channels * bits / 8 || byteRate != rate * blockAlign)
        return "inconsistent frame size";
    return CString();
}
} // namespace

CString CheckWav(std::string_view bytes)
{
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE")
        return "not a WAV file";
    // The RIFF length may not promise more than the file holds.
    if (uint64_t(U32At(bytes, 4)) + 8 > bytes.size())
        return "RIFF length beyond the end of the file";
    const size_t end = size_t(U32At(bytes, 4)) + 8;
    bool haveFormat = false;
    bool haveData = false;
    size_t at = 12;
    while (at < end)
    {
        if (end - at < 8)
            return "chunk header cut off";
        const std::string_view id = bytes.substr(at, 4);
        const uint64_t length = U32At(bytes, at + 4);
        if (length > end - at - 8)
            return CString::Format("chunk \"%.4s\" longer than the file", id.data());
        const std::string_view body = bytes.substr(at + 8, size_t(length));
        if (id == "fmt ")
        {
            if (haveFormat)
                return "two format chunks";
            const CString problem = CheckFormat(body);
            if (!problem.empty())
                return problem;
            haveFormat = true;
        }
        else if (id == "data")
        {
            if (!haveFormat)
                return "data before the format chunk";
            if (haveData)
                return "two data chunks";
            haveData = true;
        }
        // Chunks are padded to an even length; a last chunk may lack its pad byte.
        at += 8 + size_t(length) + (length & 1);
    }
    if (!haveFormat)
        return "no format chunk";
    if (!haveData)
        return "no data chunk";
    return CString();
}

CString CheckWavFile(const char* path)
{
    // A FIFO would block the open; a folder reads as nothing.
    struct stat status;
    if (!path || stat(path, &status) != 0 || !S_ISREG(status.st_mode))
        return "not a regular file";
    FILE* file = fopen(path, "rb");
    if (!file)
        return "cannot be read";
    std::string bytes;
    char block[65536];
    size_t got = 0;
    while ((got = fread(block, 1, sizeof(block), file)) > 0 && bytes.size() <= kMaxFileBytes)
        bytes.append(block, got);
    const bool failed = ferror(file) != 0;
    fclose(file);
    if (failed)
        return "cannot be read";
    if (bytes.size() > kMaxFileBytes)
        return "larger than 64 MiB";
    return CheckWav(bytes);
}
