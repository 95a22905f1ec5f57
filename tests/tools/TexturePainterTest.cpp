#include "Graphics/CImposter.h"
#include "Graphics/ImageDecoding.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "scene/CInstructions.h"
#include "support/TempFolder.h"
#include "tools/CTexturePainter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>

namespace
{
bool IsPowerOfTwo(int32_t n)
{
    return n > 0 && (n & (n - 1)) == 0;
}

uint8_t AlphaAt(const CTexturePainter::Picture& picture, int32_t x, int32_t y)
{
    return picture.pixels[(size_t(y) * size_t(picture.width) + size_t(x)) * 4 + 3];
}

TEST(TexturePainter, EveryTexturePaintsAtItsSizeTheSameEveryTime)
{
    const std::vector<std::string> names = CTexturePainter::Names();
    EXPECT_EQ(names.size(), std::set<std::string>(names.begin(), names.end()).size());
    for (const std::string& name : names)
    {
        const CTexturePainter::Picture picture = CTexturePainter::Paint(name);
        if (name == "startup")
        {
            // The loading picture has the phone's shape, so that it fills the phone's screen
            // unstretched; the game pads it.
            EXPECT_EQ(2 * picture.height, 3 * picture.width);
        }
        else
        {
            EXPECT_TRUE(IsPowerOfTwo(picture.width)) << name;
            EXPECT_TRUE(IsPowerOfTwo(picture.height)) << name;
        }
        EXPECT_LE(std::max(picture.width, picture.height), 1024) << name; // the game halves larger ones
        ASSERT_EQ(size_t(picture.width) * size_t(picture.height) * size_t(picture.channels),
                  picture.pixels.size())
            << name;
        const std::string png = CTexturePainter::EncodePng(picture);
        EXPECT_EQ(png, CTexturePainter::EncodePng(CTexturePainter::Paint(name))) << name;

        // The game's own decoder reads back the same pixels.
        DecodedImage decoded;
        ASSERT_TRUE(ImageDecoding::DecodePng(reinterpret_cast<const uint8_t*>(png.data()),
                                             reinterpret_cast<const uint8_t*>(png.data()) + png.size(),
                                             decoded))
            << name;
        EXPECT_EQ(picture.width, decoded.width) << name;
        EXPECT_EQ(picture.height, decoded.height) << name;
        EXPECT_EQ(picture.channels, decoded.channels) << name;
        EXPECT_TRUE(std::equal(picture.pixels.begin(), picture.pixels.end(), decoded.pixels)) << name;
        std::free(decoded.pixels);
    }
    EXPECT_EQ(0, CTexturePainter::Paint("no-such-texture").width);
    EXPECT_TRUE(CTexturePainter::EncodePng(CTexturePainter::Paint("no-such-texture")).empty());
}

// Sprites and sheets are cut out (clear texels around solid ones); whole-screen and tiling pictures
// are opaque.
TEST(TexturePainter, HasAlphaWhereItIsCutOut)
{
    const std::set<std::string> opaque = {"startup", "droplet", "water"};
    for (const std::string& name : CTexturePainter::Names())
    {
        const CTexturePainter::Picture picture = CTexturePainter::Paint(name);
        if (opaque.count(name))
        {
            EXPECT_EQ(3, picture.channels) << name;
            continue;
        }
        ASSERT_EQ(4, picture.channels) << name;
        uint8_t least = 255;
        uint8_t most = 0;
        for (int32_t y = 0; y < picture.height; ++y)
            for (int32_t x = 0; x < picture.width; ++x)
            {
                least = std::min(least, AlphaAt(picture, x, y));
                most = std::max(most, AlphaAt(picture, x, y));
            }
        EXPECT_EQ(0, least) << name;
        EXPECT_GE(most, 160) << name;
    }

    // Sprites fade out before their edges, so filtering never bleeds a neighbour in.
    for (const char* name : {"glow", "blob", "shadow", "sparkle", "ripple", "knobs", "buttons", "fly"})
    {
        const CTexturePainter::Picture picture = CTexturePainter::Paint(name);
        EXPECT_EQ(0, AlphaAt(picture, 0, 0)) << name;
        EXPECT_EQ(0, AlphaAt(picture, picture.width - 1, picture.height - 1)) << name;
    }
    // The border's open centre is clear, its outer edge solid.
    const CTexturePainter::Picture border = CTexturePainter::Paint("border");
    EXPECT_EQ(0, AlphaAt(border, 64, 64));
    EXPECT_EQ(255, AlphaAt(border, 0, 64));
    EXPECT_EQ(255, AlphaAt(border, 0, 0));
    // Along an edge section (between the corner squares) the frame does not change, so it stretches.
    for (int32_t y = 33; y < 96; ++y)
        for (int32_t x = 0; x < 32; ++x)
            EXPECT_EQ(AlphaAt(border, x, 32), AlphaAt(border, x, y)) << x << "," << y;
}

TEST(TexturePainter, WholeScreenPicturesKeepTheirPromises)
{
    // The droplet sheet is multiplied in twice: mid grey outside the droplets changes nothing.
    const CTexturePainter::Picture droplet = CTexturePainter::Paint("droplet");
    ASSERT_EQ(3, droplet.channels);
    for (int32_t y = 0; y < droplet.height / 2; ++y)
        for (int32_t x = 0; x < droplet.width; ++x)
            ASSERT_EQ(128, droplet.pixels[(size_t(y) * size_t(droplet.width) + size_t(x)) * 3])
                << x << "," << y;
    int32_t framesWithADroplet = 0;
    for (int k = 0; k < 8; ++k)
    {
        const int32_t cx = (k % 4) * 64 + 32;
        const int32_t cy = 128 + (k / 4) * 64 + 36;
        framesWithADroplet += droplet.pixels[(size_t(cy) * size_t(droplet.width) + size_t(cx)) * 3] != 128;
    }
    EXPECT_EQ(8, framesWithADroplet);

    // The water tiles: across the wrap it changes no more than between neighbouring columns.
    const CTexturePainter::Picture water = CTexturePainter::Paint("water");
    auto column = [&water](int32_t x0, int32_t x1)
    {
        long difference = 0;
        for (int32_t y = 0; y < water.height; ++y)
            for (int32_t c = 0; c < 3; ++c)
                difference += std::labs(
                    long(water.pixels[(size_t(y) * size_t(water.width) + size_t(x0)) * 3 + size_t(c)]) -
                    long(water.pixels[(size_t(y) * size_t(water.width) + size_t(x1)) * 3 + size_t(c)]));
        return difference;
    };
    EXPECT_LE(column(water.width - 1, 0), 3 * column(0, 1) + water.height);
    EXPECT_GT(column(0, water.width / 2), column(water.width - 1, 0));
}

// The build declares every file the painter makes, and every texture the shipped documents name
// by a "texture" attribute is painted.
TEST(TexturePainter, PaintsEveryTextureTheBuildAndTheDocumentsName)
{
    const std::vector<std::string> names = CTexturePainter::Names();
    const std::set<std::string> made(names.begin(), names.end());

    const std::string cmake = TempFolder::ReadFile(FROG_SOURCE_DIR "/tools/CMakeLists.txt");
    const std::string key = "set(FROG_TEXTURE_NAMES";
    const size_t start = cmake.find(key);
    ASSERT_NE(std::string::npos, start);
    std::istringstream listed(cmake.substr(start + key.size(), cmake.find(')', start) - start - key.size()));
    std::set<std::string> declared;
    for (std::string name; listed >> name;)
        declared.insert(name);
    EXPECT_EQ(made, declared);

    // Render targets ("_...", the tutorial's picture and its blurred copy) and font pages
    // ("../fonts/...") are not painted.
    const std::set<std::string> targets = {CInstructions::kImposterTexture,
                                           std::string(CInstructions::kImposterTexture) + CImposter::kBlurredSuffix};
    std::vector<CXmlNode*> pending;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(FROG_SOURCE_DIR "/data"))
    {
        if (entry.path().extension() != ".xml")
            continue;
        CXmlDocument document;
        ASSERT_TRUE(document.Parse(TempFolder::ReadFile(entry.path().string()), false)) << entry.path();
        pending.assign(1, document.GetRoot());
        while (!pending.empty())
        {
            CXmlNode* node = pending.back();
            pending.pop_back();
            const std::string texture = node->GetAttribute("texture");
            if (!texture.empty() && texture[0] != '_' && !targets.count(texture) &&
                texture.find('/') == std::string::npos)
            {
                EXPECT_TRUE(made.count(texture)) << entry.path() << ": " << texture;
            }
            for (CXmlNode* child = node->FirstChild(); child; child = child->NextSibling())
                pending.push_back(child);
        }
    }
    EXPECT_TRUE(made.count("startup"));
    EXPECT_TRUE(made.count("droplet"));
    EXPECT_TRUE(made.count("blob"));
}
} // namespace

namespace
{
// An imposter that eases its blur draws its material T + "blurrable", which must blend its own
// picture T with its blurred copy: without it the picture is not drawn while the scene is hidden.
TEST(TexturePainter, EveryBlurringImposterHasItsBlurrableMaterial)
{
    CXmlDocument document;
    ASSERT_TRUE(document.Parse(TempFolder::ReadFile(FROG_SOURCE_DIR "/data/materials.xml"), false));
    for (const std::string& picture : {std::string(CInstructions::kImposterTexture), std::string("_imposter")})
    {
        CXmlNode* material = document.GetRoot()->FindChild(picture + CImposter::kBlurrableSuffix);
        ASSERT_TRUE(material) << picture;
        std::set<std::string> textures;
        std::vector<CXmlNode*> pending(1, material);
        while (!pending.empty())
        {
            CXmlNode* node = pending.back();
            pending.pop_back();
            if (node->HasAttribute("texture"))
                textures.insert(node->GetAttribute("texture"));
            for (CXmlNode* child = node->FirstChild(); child; child = child->NextSibling())
                pending.push_back(child);
        }
        EXPECT_EQ(textures, (std::set<std::string>{picture, picture + CImposter::kBlurredSuffix})) << picture;
    }
}
} // namespace
