#pragma once
// An image held in memory between reading its file and uploading it into a CTexture: found under
// "<data folder>/textures/" as "dds", "pvr" (only where PVRTC is offered), "png" or "jpg", in that
// order, and kept either as decoded 8-bit pixels or, when compressed upload is wanted and the
// graphics unit takes the format, as the compressed mip chain inside the file's bytes.
// Invariant: the pixels are null, or a block of the decoder's that this surface frees, or point
// into the file bytes (mode kKeepCompressed) with the whole top level inside them.
#include "Graphics/COpenGL.h"
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CString.h"
#include "core/Vector4.h"

#include <GLES/gl.h>
#include <cstdint>
#include <vector>

class CTexture;
struct DecodedImage;

class CSurface : public CBase
{
  public:
    enum Mode : uint32_t
    {
        kDecode = 0,
        kKeepCompressed = 1, // falls back to kDecode when the file has to be decoded
    };

    // A surface of name, loaded at once with the compression the current context offers (none
    // before COpenGL exists). Never null; null pixels mean the load failed.
    static CRef<CSurface> Create(const CString& name, uint32_t mode);
    // The same with the offered compression given (tests, tools).
    static CRef<CSurface> Create(const CString& name, uint32_t mode, const COpenGL::Compression& offered);
    ~CSurface() override;

    // Tries the formats in order; true when pixels or compressed data are present.
    bool Load(const CString& name);
    // Reads "<data folder>/textures/<name>.<extension>" whole into the file bytes. A name that
    // carries a three-letter extension of its own is read as it stands, and only for that
    // extension (case-sensitive). False for a missing, unreadable or empty file.
    bool ReadFile(const CString& name, const char* extension);
    // Hands the image to texture (compressed or plain) and then drops it. Nothing without pixels.
    void Upload(CTexture& texture);

    // The GL pixel format of the channel count: 4 RGBA, 3 RGB, 2 luminance-alpha, else luminance.
    GLenum GetFormat() const { return FormatOfChannels(m_channels); }
    static GLenum FormatOfChannels(int32_t channels);
    // The pixel at (x, y) of decoded pixels, each channel 0..1 (luminance spread over r, g, b;
    // alpha 1 without an alpha channel); (0, 0, 0, 0) outside the image or without pixels.
    Vector4<float> GetPixel(int32_t x, int32_t y) const;

    const uint8_t* GetPixels() const { return m_pixels; }
    int32_t GetWidth() const { return m_width; }
    int32_t GetHeight() const { return m_height; }
    int32_t GetChannels() const { return m_channels; }
    uint32_t GetMode() const { return m_mode; }
    const CString& GetName() const { return m_name; }
    GLenum GetCompressedFormat() const { return m_compressedFormat; }
    int32_t GetMipCount() const { return m_mipCount; }
    size_t GetFileSize() const { return m_fileBytes.size(); }
    // Whether the pixels point into the file bytes (compressed data).
    bool HoldsCompressed() const;

  private:
    CSurface(const CString& name, uint32_t mode, const COpenGL::Compression& offered);

    // Each decodes or parses the file bytes; true when an image is present.
    bool DecodeDds();
    bool DecodePvr();
    bool DecodePng();
    bool DecodeJpeg();
    bool TakeDecoded(const DecodedImage& image);
    void DropPixels();

    std::vector<uint8_t> m_fileBytes;
    uint8_t* m_pixels = nullptr;
    int32_t m_width = 0;
    int32_t m_height = 0;
    int32_t m_channels = 0;
    uint32_t m_mode = kDecode;
    CString m_name;
    GLenum m_compressedFormat = 0;
    int32_t m_mipCount = 0;
    COpenGL::Compression m_offered;
};
