#include "Graphics/CTexture.h"
#include "Graphics/CTextureSet.h"
#include "Graphics/RenderTargetScope.h"

#include <gtest/gtest.h>
#include <vector>

TEST(TextureHalving, BoxFiltersAndWeightsColourByAlpha)
{
    // RGBA: a block with no alpha at all is transparent black whatever its colour.
    std::vector<uint8_t> rgba = {255, 255, 255, 0, 10, 20, 30, 0, 90, 90, 90, 0, 1, 2, 3, 0};
    Vector2<int32_t> size(2, 2);
    CTexture::HalveImage(rgba.data(), size, GL_RGBA);
    EXPECT_EQ(size.x, 1);
    EXPECT_EQ(size.y, 1);
    EXPECT_EQ(std::vector<uint8_t>(rgba.begin(), rgba.begin() + 4), (std::vector<uint8_t>{0, 0, 0, 0}));

    // Colour comes from the opaque pixels only; alpha is the average.
    rgba = {200, 100, 0, 255, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0};
    size = Vector2<int32_t>(2, 2);
    CTexture::HalveImage(rgba.data(), size, GL_RGBA);
    EXPECT_EQ(std::vector<uint8_t>(rgba.begin(), rgba.begin() + 4), (std::vector<uint8_t>{200, 100, 0, 63}));

    // A 4 x 2 luminance image halves in place into 2 x 1.
    std::vector<uint8_t> grey = {0, 4, 8, 12, 16, 20, 24, 28};
    size = Vector2<int32_t>(4, 2);
    CTexture::HalveImage(grey.data(), size, GL_LUMINANCE);
    EXPECT_EQ(size.x, 2);
    EXPECT_EQ(size.y, 1);
    EXPECT_EQ(grey[0], (0 + 4 + 16 + 20) / 4);
    EXPECT_EQ(grey[1], (8 + 12 + 24 + 28) / 4);

    // One pixel wide or one row high: the edge repeats instead of reading past the image.
    std::vector<uint8_t> column = {10, 20, 30, 40, 50, 60}; // 1 x 3 luminance-alpha
    size = Vector2<int32_t>(1, 3);
    CTexture::HalveImage(column.data(), size, GL_LUMINANCE_ALPHA);
    EXPECT_EQ(size.x, 1);
    EXPECT_EQ(size.y, 1);
    EXPECT_EQ(column[0], (10 + 10 + 30 + 30) / 4);
    EXPECT_EQ(column[1], (20 + 20 + 40 + 40) / 4);
    std::vector<uint8_t> row = {0, 0, 0, 100, 100, 100, 50, 50, 50}; // 3 x 1 RGB
    size = Vector2<int32_t>(3, 1);
    CTexture::HalveImage(row.data(), size, GL_RGB);
    EXPECT_EQ(size.x, 1);
    EXPECT_EQ(row[0], 50);
}

TEST(TextureSizing, PadsToSquarePowersOfTwoAndCountsChannels)
{
    EXPECT_EQ(CTexture::PaddedEdge(Vector2<int32_t>(300, 200)), 512);
    EXPECT_EQ(CTexture::PaddedEdge(Vector2<int32_t>(1024, 512)), 1024);
    EXPECT_EQ(CTexture::PaddedEdge(Vector2<int32_t>(256, 64)), 256);
    EXPECT_EQ(CTexture::PaddedEdge(Vector2<int32_t>(1, 1)), 2); // an edge of 1 counts as 2
    EXPECT_EQ(CTexture::PaddedEdge(Vector2<int32_t>(0, -5)), 2);
    EXPECT_EQ(CTexture::PaddedEdge(Vector2<int32_t>(33, 2)), 64);

    EXPECT_EQ(CTexture::ChannelsOf(GL_RGBA), 4);
    EXPECT_EQ(CTexture::ChannelsOf(GL_RGB), 3);
    EXPECT_EQ(CTexture::ChannelsOf(GL_LUMINANCE_ALPHA), 2);
    EXPECT_EQ(CTexture::ChannelsOf(GL_ALPHA), 1);
    EXPECT_EQ(CTexture::ChannelsOf(0), 1);

    EXPECT_EQ(RenderTargetScope::ViewportFor(nullptr).x, 1);
    CRef<CTexture> texture = CTexture::Create("t");
    EXPECT_EQ(RenderTargetScope::ViewportFor(texture.Get()).x, 512);
}

TEST(TextureSettings, DefaultsAndSettersWithoutAContext)
{
    CRef<CTexture> texture = CTexture::Create("leaf");
    EXPECT_EQ(texture->GetName(), "leaf");
    EXPECT_EQ(texture->GetWidth(), 512);
    EXPECT_EQ(texture->GetFormat(), GLenum(GL_RGBA));
    EXPECT_EQ(texture->GetCompression(), uint32_t(CTexture::kCompressByPreference));
    EXPECT_EQ(texture->GetMipmaps(), uint32_t(CTexture::kMipmapsUnset));
    EXPECT_FALSE(texture->IsLoaded());

    // Without a context nothing is made, and nothing is marked failed either.
    texture->EnsureLoaded();
    texture->Bind();
    EXPECT_FALSE(texture->IsLoaded());
    EXPECT_FALSE(texture->IsFailed());
    EXPECT_FALSE(texture->IsValid());

    texture->SetGenerateMipmaps(true);
    EXPECT_EQ(texture->GetMipmaps(), uint32_t(CTexture::kMipmapsOn));
    texture->SetMipmaps(false);
    EXPECT_FALSE(texture->GetGenerateMipmaps());
    texture->SetMipmaps(true);
    texture->SetRenderTarget(CTexture::kRenderTarget);
    EXPECT_EQ(texture->GetMipmaps(), uint32_t(CTexture::kMipmapsOff)); // targets draw without levels
    texture->SetFormat(GL_RGB, true);
    EXPECT_TRUE(texture->HasDepth());
    texture->SetFormat(GL_RGB); // ES has no generic compressed formats: the format stays plain
    texture->SetCompression(CTexture::kCompressAlways);
    EXPECT_EQ(texture->GetFormat(), GLenum(GL_RGB));
    EXPECT_FLOAT_EQ(texture->GetUvScale().x, 1.0f);
}

TEST(TextureSet, HandsOutOneTexturePerName)
{
    CTextureSet::Toggle(false);
    CTextureSet* set = CTextureSet::Instance();
    EXPECT_EQ(set->Find("pond"), nullptr); // looking never creates
    CRef<CTexture> first = set->Get("pond");
    CRef<CTexture> again = set->Get("pond");
    ASSERT_TRUE(first);
    EXPECT_EQ(first.Get(), again.Get());
    EXPECT_NE(set->Get("Pond").Get(), first.Get()); // names are case-sensitive
    EXPECT_EQ(set->Find("pond"), first.Get());
    EXPECT_EQ(set->GetCount(), 2u);
    set->ReleaseAll();
    set->Update(0.0f);
    CTextureSet::Toggle(false);
    // A holder keeps its texture after the set is gone.
    EXPECT_EQ(first->GetName(), "pond");
}
