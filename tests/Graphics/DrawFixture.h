#pragma once
// A pbuffer context set up for drawing in pixels (x and y as glReadPixels counts them, z in
// -10..10), an empty data folder, and materials and textures made from text and pixels; the sets
// go before the context does, so their GL objects are deleted while it is live.
#include "Graphics/CMaterialSet.h"
#include "Graphics/CTextureSet.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "support/AppFolder.h"
#include "support/GlFixture.h"
#include "support/KeepGlDriver.h"

#include <cstdlib>
#include <vector>

class DrawFixture : public GlFixture
{
  public:
    using Pixel = std::array<uint8_t, 4>;

  protected:
    void SetUp() override
    {
        GlFixture::SetUp();
        KeepGlDriverLoaded();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrthof(0, float(kWidth), 0, float(kHeight), -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        m_graphics->SetViewport(0, 0, kWidth, kHeight);
        m_graphics->Clear(Vector4<float>(0, 0, 0, 1), 1.0f);
    }

    void TearDown() override
    {
        CMaterialSet::Toggle(false);
        CTextureSet::Toggle(false);
        GlFixture::TearDown();
    }

    // A material read from one element's text, as the materials document would hold it.
    static CRef<CMaterial> MakeMaterial(const char* text)
    {
        CXmlDocument document;
        EXPECT_TRUE(document.Parse(text, false)) << text;
        return CMaterial::Create(*document.GetRoot());
    }

    // The texture of name holding a 2 x 2 RGBA image: texels bottom left, bottom right, top left,
    // top right as uv (0, 0), (1, 0), (0, 1), (1, 1) sample them. Made after the materials that
    // name it, since reading a material's settings drops a texture's GL objects.
    static CRef<CTexture> MakeTexture(const char* name, const std::array<Pixel, 4>& texels)
    {
        CRef<CTexture> texture = CTextureSet::Instance()->Get(name);
        texture->SetMipmaps(false);
        std::vector<uint8_t> pixels;
        for (const Pixel& texel : texels)
            pixels.insert(pixels.end(), texel.begin(), texel.end());
        texture->Upload(pixels.data(), Vector2<int32_t>(2, 2), GL_RGBA);
        EXPECT_TRUE(texture->IsLoaded());
        return texture;
    }

    static bool Near(const Pixel& a, const Pixel& b, int tolerance = 2)
    {
        for (int i = 0; i < 3; ++i)
            if (std::abs(int(a[i]) - int(b[i])) > tolerance)
                return false;
        return true;
    }

    // The colour at (x, y), red, green and blue within tolerance.
    void ExpectPixel(const Pixel& expected, int x, int y, int tolerance = 2) const
    {
        const Pixel actual = ReadPixel(x, y);
        EXPECT_TRUE(Near(expected, actual, tolerance))
            << "at (" << x << ", " << y << "): " << int(actual[0]) << ", " << int(actual[1]) << ", "
            << int(actual[2]) << " instead of " << int(expected[0]) << ", " << int(expected[1]) << ", "
            << int(expected[2]);
    }

    AppFolder m_folder;
};
