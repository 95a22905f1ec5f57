#pragma once
// A data folder with a "fonts" folder (and the "textures" folder that page look-ups pass through),
// font descriptions written from text, and the font, material and texture registries ended after
// each test.
#include "Graphics/CFoundry.h"
#include "Graphics/CMaterialSet.h"
#include "Graphics/CTextureSet.h"
#include "support/AppFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

class FontFixture : public ::testing::Test
{
  protected:
    FontFixture()
    {
        std::filesystem::create_directories(m_folder.PathOf("data/fonts"));
        std::filesystem::create_directories(m_folder.PathOf("data/textures"));
    }

    void TearDown() override
    {
        CFoundry::Toggle(false);
        CMaterialSet::Toggle(false);
        CTextureSet::Toggle(false);
    }

    void WriteFont(const std::string& name, const std::string& text) const
    {
        m_folder.WriteData("fonts/" + name + ".fnt", text);
    }

  public:
    // One glyph line: a width x height rectangle at (x, y) on the page, drawn at (xoffset, yoffset).
    static std::string Char(int id, int x, int y, int width, int height, int xoffset, int yoffset,
                            int xadvance, int page = 0)
    {
        return "<char id=\"" + std::to_string(id) + "\" x=\"" + std::to_string(x) + "\" y=\"" +
               std::to_string(y) + "\" width=\"" + std::to_string(width) + "\" height=\"" +
               std::to_string(height) + "\" xoffset=\"" + std::to_string(xoffset) + "\" yoffset=\"" +
               std::to_string(yoffset) + "\" xadvance=\"" + std::to_string(xadvance) + "\" page=\"" +
               std::to_string(page) + "\"/>\n";
    }

  protected:
    AppFolder m_folder;
};
