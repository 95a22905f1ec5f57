// A button on a real context: it draws the texture cell of its look, tinted by the look's frame.
#include "Graphics/DrawFixture.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "ui/CButton.h"
#include "ui/CButtons.h"

namespace
{

using Pixel = DrawFixture::Pixel;

class ButtonGlTest : public DrawFixture
{
  protected:
    void SetUp() override
    {
        // Before the renderer starts, which may read the materials.
        m_folder.WriteData("materials.xml", R"(<materials>
            <cells texture="cells" mipmap="false" filter="point" clamp="clamp" blend-src="one" blend-dst="zero"/>
          </materials>)");
        // Pixels of the texture's cells by uv: bottom left, bottom right, top left, top right.
        m_folder.WriteData("buttons.xml", R"(<buttons>
            <cell radius="6">
              <frames>
                <normal material="cells" uvs="0.5,0,1,0.5" duration="0"/>
                <off material="cells" uvs="0.5,0,1,0.5" colour="0.5,0.5,0.5,1" duration="0"/>
              </frames>
              <state><active frame="0"/><inactive frame="1"/></state>
            </cell>
          </buttons>)");
        DrawFixture::SetUp();
    }
    void TearDown() override
    {
        CButtons::Toggle(false);
        DrawFixture::TearDown();
    }
    static void Load(CButton& button, const char* element)
    {
        CXmlDocument document;
        ASSERT_TRUE(document.Parse(element, false));
        button.Load(*document.GetRoot());
    }
    // The texture "cells": 2 x 2 cells of 8 x 8 texels, so that magnification blends only at the
    // borders between cells. Colours of the cells at uv (0, 0), (1, 0), (0, 1), (1, 1).
    static void MakeCells(const std::array<Pixel, 4>& cells)
    {
        CRef<CTexture> texture = CTextureSet::Instance()->Get("cells");
        texture->SetMipmaps(false);
        std::vector<uint8_t> pixels;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
            {
                const Pixel& texel = cells[size_t((y / 8) * 2 + x / 8)];
                pixels.insert(pixels.end(), texel.begin(), texel.end());
            }
        texture->Upload(pixels.data(), Vector2<int32_t>(16, 16), GL_RGBA);
        ASSERT_TRUE(texture->IsLoaded());
    }
    void DrawOnce(CButton& button)
    {
        m_graphics->Clear(Vector4<float>(0, 0, 0, 1), 1.0f);
        button.Update();
        button.Draw();
    }
};

TEST_F(ButtonGlTest, AButtonDrawsTheCellOfItsLook)
{
    CButton button;
    Load(button, R"(<button type="cell" position="16,16,0" action="back"/>)");
    MakeCells(
        {Pixel{255, 0, 0, 255}, Pixel{0, 255, 0, 255}, Pixel{0, 0, 255, 255}, Pixel{255, 255, 255, 255}});
    DrawOnce(button);
    ExpectPixel(Pixel{0, 255, 0, 255}, 16, 16);
    ExpectPixel(Pixel{0, 255, 0, 255}, 11, 20);
    ExpectPixel(Pixel{0, 0, 0, 255}, 8, 16); // outside its radius of 6
    ExpectPixel(Pixel{0, 0, 0, 255}, 16, 24);

    // Disabled: the inactive frame, darkened.
    CButtons::Instance()->SetEnabled("back", false);
    DrawOnce(button);
    ExpectPixel(Pixel{0, 128, 0, 255}, 16, 16);

    // Moved and zoomed about its centre.
    CButtons::Instance()->SetEnabled("back", true);
    button.position = Vector3<float>(8, 8, 0);
    button.zoom = 0.5f;
    DrawOnce(button);
    ExpectPixel(Pixel{0, 255, 0, 255}, 8, 8);
    ExpectPixel(Pixel{0, 0, 0, 255}, 12, 8);
    ExpectPixel(Pixel{0, 0, 0, 255}, 16, 16);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

} // namespace
