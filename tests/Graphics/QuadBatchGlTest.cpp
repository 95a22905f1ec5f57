// Quad batches, meshes and the immediate helpers drawn on a real ES 1.1 context and read back.
#include "DrawFixture.h"
#include "Graphics/CMaterial.h"
#include "Graphics/MatrixScope.h"
#include "Graphics/Mesh.h"
#include "Graphics/QuadBatch.h"

namespace
{

using Pixel = DrawFixture::Pixel;

const Pixel kBlack{0, 0, 0, 255};
const Vector4<float> kWhole(0, 0, 1, 1);
const Vector4<float> kRed(1, 0, 0, 1);
const Vector4<float> kGreen(0, 1, 0, 1);
const Vector4<float> kBlue(0, 0, 1, 1);

class QuadBatchGlTest : public DrawFixture
{
};

TEST_F(QuadBatchGlTest, ColouredQuadsDrawInOneBatch)
{
    QuadBatch batch;
    batch.translation = Vector3<float>(0, 0, 0);
    batch.AddQuad(Vector4<float>(0, 0, 8, 8), kWhole, kRed);
    batch.AddQuad(Vector4<float>(8, 8, 16, 16), kWhole, kGreen);
    batch.AddQuad(Vector4<float>(16, 16, 32, 32), kWhole, kBlue);
    batch.Draw();
    ExpectPixel(Pixel{255, 0, 0, 255}, 4, 4);
    ExpectPixel(Pixel{0, 255, 0, 255}, 12, 12);
    ExpectPixel(Pixel{0, 0, 255, 255}, 24, 24);
    ExpectPixel(kBlack, 4, 12);
    ExpectPixel(kBlack, 24, 4);

    // Cut to one quad, the batch is a fan of four vertices again: nothing of the others remains.
    m_graphics->Clear(Vector4<float>(0, 0, 0, 1), 1.0f);
    batch.SetQuadCount(1);
    batch.SetQuadColour(0, kGreen);
    batch.Draw();
    ExpectPixel(Pixel{0, 255, 0, 255}, 4, 4);
    ExpectPixel(kBlack, 12, 12);
    ExpectPixel(kBlack, 24, 24);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST_F(QuadBatchGlTest, PlacementAppliesScaleRotationTranslationAndIsUndone)
{
    QuadBatch batch(Vector3<float>(16, 16, 0), Vector4<float>(0, 0, 4, 2), CRef<CMaterial>(), kRed, kWhole,
                    90);
    batch.scale = Vector2<float>(2, 1);
    batch.Draw();
    // (0..8, 0..2) turned a quarter counter-clockwise: x in 14..16, y in 16..24.
    ExpectPixel(Pixel{255, 0, 0, 255}, 15, 20);
    ExpectPixel(kBlack, 20, 15);
    ExpectPixel(kBlack, 17, 20);

    // The model-view matrix is back: a batch at the origin lands where its corners say.
    QuadBatch plain(Vector3<float>(0, 0, 0), Vector4<float>(0, 0, 4, 4), CRef<CMaterial>(), kBlue, kWhole, 0);
    plain.Draw();
    ExpectPixel(Pixel{0, 0, 255, 255}, 2, 2);

    // Zero scale and null-style materials draw nothing; a scale of (0, 1) is still drawn.
    QuadBatch hidden(Vector3<float>(0, 0, 0), Vector4<float>(20, 0, 32, 12), CRef<CMaterial>(), kGreen,
                     kWhole, 0);
    hidden.scale = Vector2<float>(0, 0);
    hidden.Draw();
    hidden.scale = Vector2<float>(1, 1);
    hidden.SetMaterial(MakeMaterial(R"(<m style="null"/>)"));
    hidden.Draw();
    ExpectPixel(kBlack, 26, 6);
    hidden.SetMaterial(CRef<CMaterial>());
    hidden.Draw();
    ExpectPixel(Pixel{0, 255, 0, 255}, 26, 6);
}

TEST_F(QuadBatchGlTest, SecondUnitGetsUvsItWasNeverGiven)
{
    const CRef<CMaterial> both = MakeMaterial(R"(<m blend-src="one" blend-dst="zero">
        <textureunit texture="yellow" mipmap="false"/><textureunit unit="1" texture="cyan" mipmap="false"/></m>)");
    MakeTexture("yellow", {Pixel{255, 255, 0, 255}, Pixel{255, 255, 0, 255}, Pixel{255, 255, 0, 255},
                           Pixel{255, 255, 0, 255}});
    MakeTexture("cyan", {Pixel{0, 255, 255, 255}, Pixel{0, 255, 255, 255}, Pixel{0, 255, 255, 255},
                         Pixel{0, 255, 255, 255}});
    QuadBatch batch;
    batch.translation = Vector3<float>(0, 0, 0);
    batch.AddQuad(Vector4<float>(0, 0, 16, 16), kWhole, Vector4<float>(1, 1, 1, 1));
    batch.Draw();
    ExpectPixel(Pixel{255, 255, 255, 255}, 8, 8);
    // The material comes after the first draw; the batch grows a second uv set for it.
    batch.SetMaterial(both);
    batch.Draw();
    ExpectPixel(Pixel{0, 255, 0, 255}, 8, 8);
    EXPECT_EQ(size_t(2), batch.GetUvSets().size());
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST_F(QuadBatchGlTest, MeshGridDrawsWithItsOwnMatrix)
{
    Mesh mesh;
    mesh.BuildGrid(Vector4<float>(0, 0, 16, 8), 3, 3);
    std::fill(mesh.colours.begin(), mesh.colours.end(), kBlue);
    mesh.matrix = Matrix4::Translation(Vector3<float>(8, 16, 0));
    {
        MatrixScope scope;
        glTranslatef(100, 100, 0); // replaced by the mesh's own matrix for its draw
        mesh.Draw();
    }
    ExpectPixel(Pixel{0, 0, 255, 255}, 16, 20);
    ExpectPixel(kBlack, 16, 12);
    ExpectPixel(kBlack, 4, 20);

    // Indices past the vertices draw nothing rather than reading outside the arrays.
    m_graphics->Clear(Vector4<float>(0, 0, 0, 1), 1.0f);
    mesh.indices.push_back(uint16_t(mesh.positions.size()));
    mesh.Draw();
    ExpectPixel(kBlack, 16, 20);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST_F(QuadBatchGlTest, ImmediateHelpersDraw)
{
    m_graphics->FillRect(Vector2<float>(0, 0), Vector2<float>(16, 16), kRed);
    m_graphics->FillRectInt(Vector2<int16_t>(16, 0), Vector2<int16_t>(32, 16), kGreen);
    m_graphics->DrawSquare(Vector2<float>(8, 24), 4, kBlue);
    const CRef<CMaterial> replace = MakeMaterial(R"(<m blend-src="one" blend-dst="zero"/>)");
    m_graphics->DrawQuad(replace, Vector2<float>(24, 24), Vector4<float>(-4, -4, 4, 4),
                         Vector4<float>(1, 1, 1, 0.5f), kWhole, 45);
    ExpectPixel(Pixel{255, 0, 0, 255}, 8, 8);
    ExpectPixel(Pixel{0, 255, 0, 255}, 24, 8);
    ExpectPixel(Pixel{0, 0, 255, 255}, 8, 24);
    ExpectPixel(kBlack, 8, 30);
    ExpectPixel(Pixel{255, 255, 255, 255}, 24, 24);
    // Turned 45 degrees the square reaches 5.6 along the axes and leaves its corners.
    ExpectPixel(Pixel{255, 255, 255, 255}, 28, 24);
    ExpectPixel(kBlack, 27, 27);

    m_graphics->Clear(Vector4<float>(0, 0, 0, 1), 1.0f);
    m_graphics->DrawLine(Vector2<float>(0, 10.5f), Vector2<float>(32, 10.5f), kRed, 1, false);
    m_graphics->DrawLineInt(Vector2<int16_t>(20, 0), Vector2<int16_t>(20, 32), kGreen, 2);
    m_graphics->DrawRectOutline(Vector2<float>(2.5f, 20.5f), Vector2<float>(12.5f, 28.5f), kBlue, 1, false);
    ExpectPixel(Pixel{255, 0, 0, 255}, 5, 10);
    ExpectPixel(kBlack, 5, 12);
    ExpectPixel(Pixel{0, 255, 0, 255}, 20, 5);
    ExpectPixel(Pixel{0, 0, 255, 255}, 7, 20);
    ExpectPixel(kBlack, 7, 24);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

} // namespace
