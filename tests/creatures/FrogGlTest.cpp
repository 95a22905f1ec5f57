// The frog drawn on a real ES 1.1 context: its textured pieces cover its skeleton, its shadow
// passes cast them, the pass "body" follows the board's offset, and its eyes and toes show where
// they ride.
#include "Graphics/DrawFixture.h"
#include "core/CRules.h"
#include "core/MathConstants.h"
#include "creatures/CFrog.h"
#include "creatures/CFrogServices.h"
#include "creatures/CSkeleton.h"
#include "platform/CGame.h"
#include "puzzle/CMoveMap.h"

#include <string>
#include <sys/stat.h>

namespace
{
using Pixel = DrawFixture::Pixel;

const Pixel kCleared{0, 0, 0, 255};
const Pixel kBody{255, 0, 0, 255};
const Pixel kShadow{0, 255, 0, 255};
// Eyes and toes, which the species draws with its own material in place of the pieces' one.
const Pixel kParts{0, 0, 255, 255};
// Pixels per board cell.
constexpr float kScale = 4.0f;

class PondAt : public CFrogServices
{
  public:
    PondAt() : m_previous(CFrogServices::Install(this)) {}
    ~PondAt() override { CFrogServices::Install(m_previous); }
    bool GetBoardOffset(Vector2<float>& offset) override
    {
        offset = board;
        return true;
    }
    Vector2<float> board;

  private:
    CFrogServices* m_previous;
};

class FrogGlTest : public DrawFixture
{
  protected:
    void SetUp() override
    {
        DrawFixture::SetUp();
        CSingleton<CGame>::Toggle(false);
        m_folder.WriteData("rules.xml", "<rules><interval animation=\"20\"/><graphics shadowbias=\"0.05\"/></rules>");
        m_folder.WriteData("materials.xml",
                           "<materials>"
                           "<frogbody texture=\"skin\" mode=\"replace\" blend-src=\"one\" blend-dst=\"zero\"/>"
                           "<frog-shadow texture=\"dark\" mode=\"replace\" blend-src=\"one\" blend-dst=\"zero\"/>"
                           "<parts texture=\"eyetoe\" mode=\"replace\" blend-src=\"one\" blend-dst=\"zero\"/>"
                           "</materials>");
        mkdir(m_folder.PathOf("data/species").c_str(), 0700);
        m_folder.WriteData("species/d-azureus.xml",
                           TempFolder::ReadFile(std::string(FROG_SOURCE_DIR) + "/data/species/d-azureus.xml"));
        CRules::Instance()->Load();
        CMaterialSet::Instance();
        MakeTexture("skin", {kBody, kBody, kBody, kBody});
        MakeTexture("dark", {kShadow, kShadow, kShadow, kShadow});
        MakeTexture("eyetoe", {kParts, kParts, kParts, kParts});

        m_frog = CFrog::Instance();
        LoadSpecies("d-azureus");
        glScalef(kScale, kScale, 1.0f);
    }
    // The frog of a species, standing at home.
    void LoadSpecies(const char* name)
    {
        m_frog->LoadSpecies(name);
        Pose home;
        Pose::FromText("54533433", home); // hands on (3,3), (4,3), feet on (3,5), (4,5)
        m_frog->GetSkeleton()->SetPose(home);
    }
    void TearDown() override
    {
        CSingleton<CFrog>::Toggle(false);
        CSingleton<CMoveMap>::Toggle(false);
        CSingleton<CGame>::Toggle(false);
        DrawFixture::TearDown();
    }

    // The pixel over a board point.
    Pixel At(const Vector2<float>& board) const
    {
        return ReadPixel(int(board.x * kScale), int(board.y * kScale));
    }
    Vector2<float> Joint(unsigned joint) const { return m_frog->GetSkeleton()->GetJointPosition(joint); }
    // Pixels of exactly that colour on the whole surface.
    int Count(const Pixel& colour) const
    {
        int count = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                count += Near(ReadPixel(x, y), colour, 8);
        return count;
    }

    PondAt m_pond;
    CFrog* m_frog = nullptr;
};
} // namespace

TEST_F(FrogGlTest, TheBodyCoversItsSkeletonWithTexturedPieces)
{
    m_frog->DrawAt(Vector2<float>());
    // Torso between chest and hips, the arms' and legs' middle joints, and every limb's piece.
    ExpectPixel(kBody, int((Joint(5).x + Joint(6).x) * 0.5f * kScale), int((Joint(5).y + Joint(6).y) * 0.5f * kScale));
    for (unsigned joint : {8u, 9u, 10u, 11u, 7u})
        EXPECT_TRUE(Near(At(Joint(joint)), kBody, 8)) << "joint " << joint;
    // The far corners stay clear: the pieces are pinned where the frog stands.
    ExpectPixel(kCleared, 0, 0);
    ExpectPixel(kCleared, kWidth - 1, kHeight - 1);
    ExpectPixel(kCleared, kWidth - 1, 0);
    EXPECT_GT(Count(kBody), 60);
    EXPECT_EQ(Count(kShadow), 0);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());

    // The pass "body" draws at the board's offset: two cells to the right, the torso follows.
    const Vector2<float> torso = (Joint(5) + Joint(6)) * 0.5f;
    m_graphics->Clear(Vector4<float>(0, 0, 0, 1), 1.0f);
    m_pond.board = Vector2<float>(2.0f, 0.0f);
    m_frog->Draw();
    EXPECT_TRUE(Near(At(torso + Vector2<float>(2.0f, 0.0f)), kBody, 8));
    ExpectPixel(kCleared, int((Joint(8).x - 0.3f) * kScale), int(Joint(8).y * kScale));
}

TEST_F(FrogGlTest, ShadowPassesCastThePiecesAndGrowTheBounds)
{
    Vector4<float> bounds(kFloatMax, kFloatMax, -kFloatMax, -kFloatMax);
    m_frog->DrawShadow(Vector3<float>(0.5f, 0.0f, 0.0f), &bounds);
    EXPECT_GT(Count(kShadow), 60);
    EXPECT_EQ(Count(kBody), 0);
    // Every pixel drawn lies inside the bounds the pass reported.
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (Near(ReadPixel(x, y), kShadow, 8))
            {
                EXPECT_GE(float(x + 1), bounds.x * kScale);
                EXPECT_LE(float(x), bounds.z * kScale);
                EXPECT_GE(float(y + 1), bounds.y * kScale);
                EXPECT_LE(float(y), bounds.w * kScale);
            }

    // The body drawn over it hides the shadow beneath the torso.
    m_frog->DrawAt(Vector2<float>());
    const Vector2<float> torso = (Joint(5) + Joint(6)) * 0.5f;
    EXPECT_TRUE(Near(At(torso), kBody, 8));
    EXPECT_GT(Count(kShadow), 0) << "the cast shadow shows beside the body";
}

TEST_F(FrogGlTest, EyesAndToesDrawWhereTheyRide)
{
    // Close up: 32 pixels a cell, point at the surface's centre.
    auto view = [](const Vector2<float>& point)
    {
        glLoadIdentity();
        glTranslatef(float(kWidth) * 0.5f, float(kHeight) * 0.5f, 0.0f);
        glScalef(32.0f, 32.0f, 1.0f);
        glTranslatef(-point.x, -point.y, 0.0f);
    };
    // The species' eyes and toes drawn in a material of their own.
    std::string species = TempFolder::ReadFile(std::string(FROG_SOURCE_DIR) + "/data/species/d-azureus.xml");
    for (size_t at = species.find("material=\"frogbody\""); at != std::string::npos;
         at = species.find("material=\"frogbody\"", at))
        species.replace(at, 19, "material=\"parts\"   ");
    m_folder.WriteData("species/painted.xml", species);
    LoadSpecies("painted");
    m_frog->DrawAt(Vector2<float>()); // the feet take their pose
    CFlap& head = m_frog->GetFlaps()[4];
    CFlap::Placement placement;
    ASSERT_TRUE(head.Place(*m_frog->GetSkeleton(), CFlap::kPlain, Vector3<float>(), 0, placement));
    for (const CEye& eye : head.eyes)
    {
        m_graphics->Clear(Vector4<float>(0, 0, 0, 1), 1.0f);
        view(head.GetTransform(placement).TransformPoint(eye.centre));
        m_frog->DrawAt(Vector2<float>());
        ExpectPixel(kParts, kWidth / 2, kHeight / 2, 8);
    }
    // Fingers spread from each hand, toes from each foot.
    for (unsigned limb = 0; limb < 4; ++limb)
    {
        m_graphics->Clear(Vector4<float>(0, 0, 0, 1), 1.0f);
        view(Joint(limb));
        m_frog->DrawAt(Vector2<float>());
        EXPECT_GT(Count(kParts), 8) << "limb " << limb;
    }
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}
