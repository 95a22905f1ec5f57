#include "Graphics/CSurface.h"

#include "Graphics/CTexture.h"
#include "Graphics/ImageDecoding.h"
#include "Graphics/ImageHeaders.h"
#include "core/CFileStream.h"
#include "core/CFileSystem.h"

#include <cstdlib>
#include <cstring>

namespace
{

const Vector4<float> kZeroColour(0.0f, 0.0f, 0.0f, 0.0f);

COpenGL::Compression OfferedNow()
{
    const COpenGL* gl = COpenGL::Peek();
    return gl ? gl->GetCompression() : COpenGL::Compression();
}

} // namespace

CRef<CSurface> CSurface::Create(const CString& name, uint32_t mode)
{
    return Create(name, mode, OfferedNow());
}

CRef<CSurface> CSurface::Create(const CString& name, uint32_t mode, const COpenGL::Compression& offered)
{
    CRef<CSurface> surface = CRef<CSurface>::Adopt(new CSurface(name, mode, offered));
    surface->Load(name);
    return surface;
}

CSurface::CSurface(const CString& name, uint32_t mode, const COpenGL::Compression& offered)
    : m_mode(mode == kKeepCompressed ? kKeepCompressed : kDecode), m_name(name), m_offered(offered)
{
}

CSurface::~CSurface()
{
    DropPixels();
}

bool CSurface::Load(const CString& name)
{
    DropPixels();
    if (ReadFile(name, "dds") && DecodeDds())
        return true;
    if (m_offered.pvrFiles && ReadFile(name, "pvr") && DecodePvr())
        return true;
    m_mode = kDecode;
    if (ReadFile(name, "png") && DecodePng())
        return true;
    return ReadFile(name, "jpg") && DecodeJpeg();
}

bool CSurface::ReadFile(const CString& name, const char* extension)
{
    m_fileBytes.clear();
    CString path = CFileSystem::Instance()->GetDataFolder() + "/textures/";
    const size_t length = name.size();
    if (length >= 4 && name[length - 4] == '.')
    {
        if (name.compare(length - 3, 3, extension) != 0)
            return false;
        path += name;
    }
    else
        path += name + "." + extension;

    CFileStream stream;
    if (!stream.Open(path, CFileStream::kRead))
        return false;
    stream.Seek(0, CStream::kFromEnd);
    const int64_t size = stream.Tell();
    stream.Seek(0, CStream::kFromStart);
    if (size <= 0 || stream.HasError())
        return false;
    m_fileBytes.resize(size_t(size));
    if (stream.Read(m_fileBytes.data(), m_fileBytes.size()) != m_fileBytes.size())
    {
        m_fileBytes.clear();
        return false;
    }
    return true;
}

void CSurface::Upload(CTexture& texture)
{
    if (m_pixels == nullptr)
        return;
    if (m_mode == kKeepCompressed && HoldsCompressed())
    {
        const size_t length = size_t(m_fileBytes.data() + m_fileBytes.size() - m_pixels);
        texture.UploadCompressed(m_pixels, length, Vector2<int32_t>(m_width, m_height), m_compressedFormat,
                                 m_mipCount);
    }
    else
        texture.Upload(m_pixels, Vector2<int32_t>(m_width, m_height), GetFormat());
    DropPixels();
}

GLenum CSurface::FormatOfChannels(int32_t channels)
{
    switch (channels)
    {
    case 4:
        return GL_RGBA;
    case 3:
        return GL_RGB;
    case 2:
        return GL_LUMINANCE_ALPHA;
    default:
        return GL_LUMINANCE;
    }
}

Vector4<float> CSurface::GetPixel(int32_t x, int32_t y) const
{
    if (m_pixels == nullptr || HoldsCompressed() || x < 0 || y < 0 || x >= m_width || y >= m_height ||
        m_channels < 1 || m_channels > 4)
        return kZeroColour;
    const uint8_t* p = m_pixels + (size_t(y) * size_t(m_width) + size_t(x)) * size_t(m_channels);
    const auto unit = [](uint8_t byte) { return float(byte) / 255.0f; };
    switch (m_channels)
    {
    case 1:
        return Vector4<float>(unit(p[0]), unit(p[0]), unit(p[0]), 1.0f);
    case 2:
        return Vector4<float>(unit(p[0]), unit(p[0]), unit(p[0]), unit(p[1]));
    case 3:
        return Vector4<float>(unit(p[0]), unit(p[1]), unit(p[2]), 1.0f);
    default:
        return Vector4<float>(unit(p[0]), unit(p[1]), unit(p[2]), unit(p[3]));
    }
}

bool CSurface::HoldsCompressed() const
{
    return m_pixels != nullptr && !m_fileBytes.empty() && m_pixels >= m_fileBytes.data() &&
           m_pixels < m_fileBytes.data() + m_fileBytes.size();
}

bool CSurface::DecodeDds()
{
    const uint8_t* begin = m_fileBytes.data();
    const uint8_t* end = begin + m_fileBytes.size();
    if (m_mode == kKeepCompressed && m_offered.dds)
    {
        CompressedImage image;
        if (ImageHeaders::ParseDdsHeader(begin, end, m_offered, image) != nullptr)
        {
            m_pixels = const_cast<uint8_t*>(image.data);
            m_width = int32_t(image.width);
            m_height = int32_t(image.height);
            m_channels = int32_t(image.channels);
            m_compressedFormat = image.format;
            m_mipCount = image.mipCount > uint32_t(INT32_MAX) ? INT32_MAX : int32_t(image.mipCount);
            return true;
        }
    }
    DecodedImage decoded;
    if (ImageHeaders::DecodeDds(begin, end, decoded) && TakeDecoded(decoded))
    {
        m_mode = kDecode;
        return true;
    }
    m_fileBytes.clear();
    return false;
}

bool CSurface::DecodePvr()
{
    const uint8_t* begin = m_fileBytes.data();
    const uint8_t* end = begin + m_fileBytes.size();
    CompressedImage image;
    if (m_mode == kKeepCompressed && ImageHeaders::ParsePvrHeader(begin, end, m_offered, image) != nullptr)
    {
        m_pixels = const_cast<uint8_t*>(image.data);
        m_width = int32_t(image.width);
        m_height = int32_t(image.height);
        m_channels = int32_t(image.channels);
        m_compressedFormat = image.format;
        m_mipCount = image.mipCount > uint32_t(INT32_MAX) ? INT32_MAX : int32_t(image.mipCount);
        return true;
    }
    // No PVRTC decoder exists: a PVR that cannot stay compressed is no image.
    m_fileBytes.clear();
    return ImageHeaders::DecodePvr(begin, end) != nullptr;
}

bool CSurface::DecodePng()
{
    DecodedImage decoded;
    const uint8_t* begin = m_fileBytes.data();
    return ImageDecoding::DecodePng(begin, begin + m_fileBytes.size(), decoded) && TakeDecoded(decoded);
}

bool CSurface::DecodeJpeg()
{
    DecodedImage decoded;
    const uint8_t* begin = m_fileBytes.data();
    return ImageDecoding::DecodeJpeg(begin, begin + m_fileBytes.size(), decoded) && TakeDecoded(decoded);
}

bool CSurface::TakeDecoded(const DecodedImage& image)
{
    m_fileBytes.clear();
    m_fileBytes.shrink_to_fit();
    m_pixels = image.pixels;
    m_width = image.width;
    m_height = image.height;
    m_channels = image.channels;
    m_compressedFormat = 0;
    m_mipCount = 0;
    return m_pixels != nullptr;
}

void CSurface::DropPixels()
{
    if (HoldsCompressed())
    {
        m_fileBytes.clear();
        m_fileBytes.shrink_to_fit();
    }
    else
        std::free(m_pixels);
    m_pixels = nullptr;
}
