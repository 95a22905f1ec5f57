// Imposters without a context: the blur's easing and the material it picks, and when the picture
// covers the scene beneath it.
#include "Graphics/CImposter.h"
#include "Graphics/CMaterialSet.h"
#include "Graphics/CTextureSet.h"
#include "platform/CDirectJCommon.h"
#include "platform/CGame.h"
#include "platform/PlatformHooks.h"
#include "support/AppFolder.h"
#include "support/FakeClock.h"

#include <gtest/gtest.h>

TEST(ImposterBlur, EasesFromWhereItIsAndPicksTheMaterialOfTheMoment)
{
    FakeClock clock;
    clock.Set(1000);
    CRef<CImposter> imposter = CImposter::Create("overlays", "_test");
    EXPECT_EQ(imposter->GetBlur(clock.Now()), 0.0f);
    imposter->SetBlur(2.0f, 0.0f);
    EXPECT_EQ(imposter->GetBlur(clock.Now()), 2.0f) << "at once";
    imposter->SetBlur(0.0f, 2.0f);
    EXPECT_EQ(imposter->GetBlur(clock.Now()), 2.0f);
    EXPECT_FLOAT_EQ(imposter->GetBlur(clock.Now() + 1000), 1.0f) << "half-way on the smooth step";
    EXPECT_FLOAT_EQ(imposter->GetBlur(clock.Now() + 500), 2.0f - 2.0f * 0.15625f);
    EXPECT_EQ(imposter->GetBlur(clock.Now() + 5000), 0.0f);
    clock.Advance(1000);
    imposter->SetBlur(2.0f, 1.0f);
    EXPECT_FLOAT_EQ(imposter->GetBlur(clock.Now()), 1.0f) << "a new ease starts where the last one is";

    struct Case
    {
        float blur, amount;
        const char* material;
        float alpha;
    } cases[] = {{0.0f, 2.0f, "_test", 0.0f},
                 {2.0f, 2.0f, "_testblur_", 1.0f},
                 {1.0f, 2.0f, "_testblurrable", 0.5f},
                 {0.25f, 0.5f, "_testblurrable", 0.25f}};
    for (const Case& c : cases)
    {
        EXPECT_EQ(CImposter::MaterialFor("_test", c.blur, c.amount), c.material) << c.blur << " of " << c.amount;
        EXPECT_FLOAT_EQ(CImposter::AlphaFor(c.blur, c.amount), c.alpha) << c.blur << " of " << c.amount;
    }
    imposter.Reset();
    CSingleton<CGame>::Toggle(false);
}

TEST(ImposterCover, CoversOnceItHoldsAPictureUntilTheScreenTurns)
{
    AppFolder app;
    app.WriteData("game.xml", "<game><draw><pass id=\"preposter\"/><pass id=\"overlays\"/></draw></game>\n");
    PlatformHooks hooks;
    hooks.beginFrame = [] { return true; };
    const PlatformHooks previous = PlatformHooks::Install(hooks);
    CGame* game = CGame::Instance();
    game->PushMode("imposter");

    CRef<CImposter> imposter = CImposter::Create("overlays", "_test");
    imposter->SetStaleOnRotation(true);
    EXPECT_FALSE(imposter->CoversBelow()) << "no picture yet";
    game->Draw();
    EXPECT_TRUE(imposter->HasPicture());
    EXPECT_TRUE(imposter->CoversBelow());
    imposter->CaptureTo("_copy");
    EXPECT_FALSE(imposter->CoversBelow()) << "the frame to copy is drawn whole";
    game->Draw();
    EXPECT_TRUE(imposter->CoversBelow());

    CDirectJCommon::AdvanceDisplayGeneration();
    EXPECT_FALSE(imposter->CoversBelow());
    EXPECT_TRUE(imposter->IsStale());
    imposter->Rotate();
    EXPECT_FALSE(imposter->IsStale());
    EXPECT_TRUE(imposter->CoversBelow()) << "the old picture, as it is not taken again";
    imposter->SetRecaptureOnRotation(true);
    imposter->Rotate();
    EXPECT_FALSE(imposter->HasPicture());

    imposter.Reset();
    CSingleton<CGame>::Toggle(false);
    PlatformHooks::Install(previous);
    CMaterialSet::Toggle(false);
    CTextureSet::Toggle(false);
}
