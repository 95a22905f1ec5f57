// Floating labels: the fade timeline on the platform tick, refreshes, self-ownership and the
// keep-on-screen clamp, with a real bitmap font written into a fresh data folder.
#include "Graphics/CFoundry.h"
#include "Graphics/CMaterialSet.h"
#include "Graphics/CPrint.h"
#include "Graphics/CTextureSet.h"
#include "core/CLink.h"
#include "core/CRules.h"
#include "creatures/CFloater.h"
#include "platform/CGame.h"
#include "platform/CView.h"
#include "support/AppFolder.h"
#include "support/FakeClock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace
{
class FloaterTest : public testing::Test
{
  protected:
    FloaterTest()
    {
        WriteRules("1,1,1,1");
        // Page look-ups pass through the textures folder.
        std::filesystem::create_directories(m_folder.PathOf("data/textures"));
        std::filesystem::create_directories(m_folder.PathOf("data/fonts"));
        // One glyph "A", 10 units wide and a 10-unit line: at size 1 the text is 1 x 1.
        m_folder.WriteData("fonts/test.fnt",
                           "<font><common lineHeight=\"10\" base=\"8\" scaleW=\"64\" scaleH=\"64\"/>"
                           "<pages><page id=\"0\" file=\"test.png\"/></pages>"
                           "<chars><char id=\"65\" x=\"0\" y=\"0\" width=\"10\" height=\"10\" xoffset=\"0\" "
                           "yoffset=\"0\" xadvance=\"10\" page=\"0\"/></chars></font>");
        CSingleton<CGame>::Toggle(false);
        m_previousRect = CView::GetScreenView().GetRect();
    }
    ~FloaterTest() override
    {
        CSingleton<CGame>::Toggle(false); // ends the "global" list and every floater on it
        CFoundry::Toggle(false);
        CMaterialSet::Toggle(false);
        CTextureSet::Toggle(false);
        CFloater::SetOffset(Vector2<float>());
    }

    void WriteRules(const std::string& colour)
    {
        m_folder.WriteData("rules.xml",
                           "<rules><interval animation=\"20\"/><default fontface=\"test\"/>"
                           "<ui floaterfadein=\"0.2\" floatersurvive=\"1\" floaterfadeout=\"0.4\" "
                           "floatersize=\"0.5\" floatercolour=\"" +
                               colour + "\" floaterglow=\"0,0,0,1\"/></rules>");
        CRules::Instance()->Load();
    }
    // The tick of the floater at t ms.
    void TickAt(CFloater& floater, uint32_t ms)
    {
        m_clock.Set(ms);
        floater.Tick(0.02f);
    }

    FakeClock m_clock;
    AppFolder m_folder;
    Vector4<float> m_previousRect;
};
} // namespace

TEST_F(FloaterTest, FadesInSurvivesFadesOutAndDies)
{
    CRef<CFloater> held = CFloater::Create(MakeString("A"), 1.0f, 2.0f, 0.0f);
    CFloater* floater = held.Get();
    EXPECT_FLOAT_EQ(floater->GetSize(), 0.5f); // "ui/floatersize" for a size of 0
    EXPECT_FLOAT_EQ(floater->GetFadeIn(), 0.2f);
    EXPECT_EQ(floater->GetRefCount(), 2); // its own and ours
    CLink<CBase> link(floater);           // through its CBase part, as buttons link their tips
    held.Reset();                         // the creator may let go

    TickAt(*floater, 0);
    EXPECT_EQ(floater->GetState(), CFloater::kFadingIn);
    EXPECT_FLOAT_EQ(floater->GetOpacity(), 0.0f);
    EXPECT_EQ(floater->GetPrint(), nullptr); // nothing shows, so nothing is laid out yet
    TickAt(*floater, 100);
    EXPECT_FLOAT_EQ(floater->GetOpacity(), 0.5f);
    ASSERT_NE(floater->GetPrint(), nullptr);
    EXPECT_FLOAT_EQ(floater->GetPrint()->GetOpacity(), 0.5f);
    TickAt(*floater, 200);
    EXPECT_EQ(floater->GetState(), CFloater::kSurviving);
    TickAt(*floater, 1199);
    EXPECT_EQ(floater->GetState(), CFloater::kSurviving);
    EXPECT_FLOAT_EQ(floater->GetOpacity(), 1.0f);
    TickAt(*floater, 1200);
    EXPECT_EQ(floater->GetState(), CFloater::kFadingOut);
    TickAt(*floater, 1300);
    EXPECT_FLOAT_EQ(floater->GetOpacity(), 0.75f);
    ASSERT_TRUE(link.Get());
    TickAt(*floater, 1600); // the last reference goes with its own
    EXPECT_EQ(link.Get(), nullptr);
}

TEST_F(FloaterTest, ZeroFadeInShowsAtOnceAndFinishEndsAnyState)
{
    m_folder.WriteData("rules.xml",
                       "<rules><default fontface=\"test\"/><ui floaterfadein=\"0\" floatersurvive=\"1\" "
                       "floaterfadeout=\"0.4\"/></rules>");
    CRules::Instance()->Load();
    CRef<CFloater> floater = CFloater::Create(MakeString("A"), 0.0f, 0.0f, 1.0f);
    TickAt(*floater, 1);
    EXPECT_FLOAT_EQ(floater->GetOpacity(), 1.0f);
    EXPECT_EQ(floater->GetState(), CFloater::kSurviving);

    floater->Finish();
    EXPECT_EQ(floater->GetState(), CFloater::kFinished);
    EXPECT_EQ(floater->GetPrint(), nullptr);
    EXPECT_EQ(floater->GetRefCount(), 1); // only ours is left
    floater->Refresh();                   // a finished floater stays finished
    floater->Draw();
    EXPECT_EQ(floater->GetState(), CFloater::kFinished);
    EXPECT_EQ(floater->GetRefCount(), 1);
}

TEST_F(FloaterTest, RefreshKeepsItUpWithoutAJump)
{
    CRef<CFloater> held = CFloater::Create(MakeString("A"), 0.0f, 0.0f, 1.0f);
    CFloater& floater = *held;
    TickAt(floater, 200);
    EXPECT_EQ(floater.GetState(), CFloater::kSurviving);
    m_clock.Set(1000);
    floater.Refresh(); // survive time starts again
    TickAt(floater, 1999);
    EXPECT_EQ(floater.GetState(), CFloater::kSurviving);
    TickAt(floater, 2000);
    EXPECT_EQ(floater.GetState(), CFloater::kFadingOut);
    TickAt(floater, 2100);
    EXPECT_FLOAT_EQ(floater.GetOpacity(), 0.75f);

    floater.Refresh(); // back into the fade-in at the same opacity
    EXPECT_EQ(floater.GetState(), CFloater::kFadingIn);
    TickAt(floater, 2100);
    EXPECT_NEAR(floater.GetOpacity(), 0.75f, 0.01f);
    TickAt(floater, 2150);
    EXPECT_EQ(floater.GetState(), CFloater::kSurviving);
}

TEST_F(FloaterTest, ACountedHolderKeepsItUpAndAWeakLinkDoesNot)
{
    CRef<CFloater> held = CFloater::Create(MakeString("A"), 0.0f, 0.0f, 1.0f);
    CFloater& floater = *held;
    TickAt(floater, 200);
    TickAt(floater, 1200);
    TickAt(floater, 1700); // faded out: its own reference goes, ours keeps it
    EXPECT_FLOAT_EQ(floater.GetOpacity(), 0.0f);
    EXPECT_EQ(floater.GetRefCount(), 1);
    floater.Draw(); // held by us: the draw takes it back up
    EXPECT_EQ(floater.GetRefCount(), 2);
    EXPECT_EQ(floater.GetState(), CFloater::kFadingIn);

    CLink<CBase> weak(held.Get());
    held.Reset();
    TickAt(floater, 1900);
    floater.Draw(); // only its own reference: no refresh
    EXPECT_EQ(floater.GetState(), CFloater::kSurviving);
    TickAt(floater, 2900);
    ASSERT_TRUE(weak.Get());
    TickAt(floater, 3300);
    EXPECT_EQ(weak.Get(), nullptr);
}

TEST_F(FloaterTest, KeepOnScreenClampsOnceWhenLaidOut)
{
    CView::GetScreenView().ApplyOrtho(Vector4<int32_t>(0, 0, 320, 480),
                                      Vector4<float>(0.0f, 0.0f, 10.0f, 15.0f));
    CRef<CFloater> kept = CFloater::Create(MakeString("AA"), 9.5f, 20.0f, 1.0f);
    kept->SetKeepOnScreen(true);
    CRef<CFloater> free = CFloater::Create(MakeString("AA"), 9.5f, 20.0f, 1.0f);
    TickAt(*kept, 100);
    TickAt(*free, 100);
    // Two glyphs of width 1 end 0.2 x size inside the right edge; the bottom line holds the text.
    EXPECT_FLOAT_EQ(kept->GetPosition().x, 10.0f - 2.0f - 0.2f);
    EXPECT_FLOAT_EQ(kept->GetPosition().y, 15.0f - 1.0f);
    EXPECT_FLOAT_EQ(kept->GetPrint()->GetPosition().x, 7.8f);
    EXPECT_FLOAT_EQ(free->GetPosition().x, 9.5f);

    CView::GetScreenView().ApplyOrtho(Vector4<int32_t>(0, 0, 320, 480),
                                      Vector4<float>(0.0f, 0.0f, 4.0f, 6.0f));
    TickAt(*kept, 150); // laid out already: no second clamp
    EXPECT_FLOAT_EQ(kept->GetPosition().x, 7.8f);

    CFloater::SetOffset(Vector2<float>(0.0f, -1.0f));
    CRef<CFloater> centred = CFloater::Create(MakeString("AA"), 3.0f, 3.0f, 1.0f);
    centred->SetCentred(true);
    TickAt(*centred, 200);
    EXPECT_FLOAT_EQ(centred->GetPrint()->GetPosition().x, 2.0f);
    EXPECT_FLOAT_EQ(centred->GetPrint()->GetPosition().y, 1.5f);
    CView::GetScreenView().ApplyOrtho(Vector4<int32_t>(0, 0, 320, 480), m_previousRect);
}

TEST_F(FloaterTest, GlowModeFollowsTheTextColour)
{
    WriteRules("0.2,0.2,0.2,1");
    CRef<CFloater> dark = CFloater::Create(MakeString("A"), 0.0f, 0.0f, 1.0f);
    TickAt(*dark, 100);
    ASSERT_NE(dark->GetPrint(), nullptr);
    EXPECT_EQ(dark->GetPrint()->GetGlowMode(), uint32_t(CPrint::kGlowBlob));
    dark->Finish();

    WriteRules("1,1,1,1");
    CRef<CFloater> light = CFloater::Create(MakeString("A"), 0.0f, 0.0f, 1.0f);
    TickAt(*light, 200);
    ASSERT_NE(light->GetPrint(), nullptr);
    EXPECT_EQ(light->GetPrint()->GetGlowMode(), uint32_t(CPrint::kGlowShapes));
}

TEST_F(FloaterTest, EndingTheGlobalListFinishesFloaters)
{
    CRef<CFloater> held = CFloater::Create(MakeString("A"), 0.0f, 0.0f, 1.0f);
    CLink<CBase> weak(CFloater::Create(MakeString("A"), 0.0f, 0.0f, 1.0f).Get());
    ASSERT_TRUE(weak.Get());
    CSingleton<CGame>::Toggle(false);
    EXPECT_EQ(weak.Get(), nullptr);
    EXPECT_EQ(held->GetState(), CFloater::kFinished);
}
