// Inline style sheets: the tokenizer, the value forms of each property and what nodes inherit.
#include "Graphics/CMaterialSet.h"
#include "Graphics/MaterialCaps.h"
#include "core/CPreferences.h"
#include "core/CRules.h"
#include "support/AppFolder.h"
#include "ui/CDivLine.h"
#include "ui/CPaneTransition.h"
#include "ui/DivFixture.h"

#include <gtest/gtest.h>

namespace
{
CRef<CDiv> Styled(const char* style)
{
    CRef<CDiv> node = CDiv::Create();
    node->ParseStyle(style);
    return node;
}

const Vector4<float> kUnsetSides = kUnsetVector4f;
} // namespace

TEST(DivStyle, TokenizerFindsClosedDeclarations)
{
    EXPECT_EQ(Styled("{ colour: 1,0,0; width: 4 }")->GetColour(), Vector4<float>(1, 0, 0, 0));
    EXPECT_FLOAT_EQ(Styled("{ colour: 1,0,0; width: 4 }")->GetSpecifiedSize().x, 4.0f);
    // The last declaration is dropped when nothing closes it, and only that one.
    CRef<CDiv> open = Styled("height: 2; width: 4");
    EXPECT_FLOAT_EQ(open->GetSpecifiedSize().y, 2.0f);
    EXPECT_EQ(open->GetSpecifiedSize().x, kFloatMax);
    // Unknown keys are skipped; keys are case-sensitive; blanks and line breaks separate freely.
    CRef<CDiv> mixed = Styled("bogus: 1; Width: 3;\n\tleft:\t12px;\r\ntop :2}");
    EXPECT_EQ(mixed->GetSpecifiedSize(), kUnsetVector2f);
    EXPECT_EQ(mixed->GetOffsets(), Vector4<float>(12, 2, kFloatMax, kFloatMax)) << "'12px' reads as 12";
    // Keyword values are the whole text up to ";": a trailing blank matches no keyword.
    EXPECT_EQ(Styled("position: absolute ;")->GetPositionMode(), CDiv::kPositionFlow);
    EXPECT_EQ(Styled("position: Absolute;")->GetPositionMode(), CDiv::kPositionAbsolute);
    EXPECT_EQ(Styled("position: relative}")->GetPositionMode(), CDiv::kPositionRelative);
    EXPECT_EQ(Styled("position: fixed;")->GetPositionMode(), CDiv::kPositionFlow);
    // Nothing at all for empty or blank texts.
    EXPECT_EQ(Styled("")->GetSpecifiedSize(), kUnsetVector2f);
    EXPECT_EQ(Styled(" ;; } ")->GetOwnPadding(), kUnsetSides);
}

TEST(DivStyle, ValueForms)
{
    EXPECT_EQ(Styled("colour: 0.2;")->GetColour(), Vector4<float>(0.2f, 0.2f, 0.2f, 0.2f));
    EXPECT_EQ(Styled("color: 1,0;")->GetColour(), Vector4<float>(1, 0, 0, 0));
    EXPECT_EQ(Styled("colour: #ff0000;")->GetColour(), Vector4<float>(1, 0, 0, 1));
    EXPECT_EQ(Styled("background-color: 0,0,1,1;")->GetBackgroundColour(), Vector4<float>(0, 0, 1, 1));

    EXPECT_EQ(Styled("padding: 1; padding-left: 2;")->GetOwnPadding(), Vector4<float>(2, 1, 1, 1));
    EXPECT_EQ(Styled("padding-left: 2; padding: 1;")->GetOwnPadding(), Vector4<float>(1, 1, 1, 1));
    EXPECT_EQ(Styled("margin-top: 3; margin-right: 4;")->GetOwnMargin(),
              Vector4<float>(kFloatMax, 3, 4, kFloatMax));

    EXPECT_EQ(Styled("font-style: ITALIC;")->GetFontStyle(), CDiv::kFontItalic);
    EXPECT_EQ(Styled("font-style: oblique;")->GetFontStyle(), CDiv::kFontOblique);
    EXPECT_EQ(Styled("font-style: bold;")->GetFontStyle(), CDiv::kFontNormal) << "only the tag b makes bold";
    EXPECT_EQ(Styled("font-face: serif;")->GetFontFace(), "serif");

    CRef<CDiv> aligned = Styled("text-align: Centre; vertical-align: bottom;");
    EXPECT_EQ(aligned->GetHAlign(), CDiv::kAlignMiddle);
    EXPECT_EQ(aligned->GetVAlign(), CDiv::kAlignEnd);
    EXPECT_EQ(Styled("text-align: justify;")->GetHAlign(), CDiv::kAlignStart) << "inherit, root left";

    CRef<CDiv> timed =
        Styled("transition: 0.5; transition-out: 2; transition-delay: 0.25; transition-in-delay: 1;");
    EXPECT_FLOAT_EQ(timed->GetTransitionIn(), 0.5f);
    EXPECT_FLOAT_EQ(timed->GetTransitionOut(), 2.0f);
    EXPECT_FLOAT_EQ(timed->GetTransitionInDelay(), 1.0f);
    EXPECT_FLOAT_EQ(timed->GetTransitionOutDelay(), 0.25f);

    CRef<CDiv> glow = Styled("shadow-colour: 0,0,0,0.5; glow-colour: 1,1,0,1;");
    EXPECT_EQ(glow->GetShadowColour(), Vector4<float>(1, 1, 0, 1));
    EXPECT_TRUE(glow->IsGlow());
    EXPECT_FALSE(Styled("glow-colour: 1; shadow-color: 0;")->IsGlow());

    // Pane transitions by registered name, whatever its case; an unknown name changes nothing.
    EXPECT_TRUE(Styled("pane-transition: DEFAULT;")->GetPaneTransition());
    EXPECT_FALSE(Styled("pane-transition: nosuch;")->GetPaneTransition());
    CRef<CDiv> kept = Styled("pane-transition: default; pane-transition: nosuch;");
    EXPECT_TRUE(kept->GetPaneTransition());
}

TEST(DivStyle, MaterialsAndTheShadowColour)
{
    AppFolder folder;
    MaterialCaps caps;
    MaterialCaps::SetOverride(&caps);
    {
        CRef<CDiv> plain = Styled("shadow-material: blur;");
        ASSERT_TRUE(plain->GetShadowQuads().material);
        EXPECT_EQ(plain->GetShadowQuads().material->GetName(), "blur");
        EXPECT_EQ(plain->GetShadowColour(), kWhite);
        EXPECT_FALSE(plain->IsGlow());
        EXPECT_EQ(Styled("shadow-colour: 0,0,0,0.5; shadow-material: blur;")->GetShadowColour(),
                  Vector4<float>(0, 0, 0, 0.5f));

        // The background material is inherited.
        CRef<CDiv> root = BuildTree(R"(<pane style="material: paper;"><div id="a"/></pane>)");
        ASSERT_NE(root->GetById("a")->GetMaterial(), nullptr);
        EXPECT_EQ(root->GetById("a")->GetMaterial(), root->GetMaterial());
        EXPECT_EQ(CDiv::Create()->GetMaterial(), nullptr);
    }
    CMaterialSet::Toggle(false);
    MaterialCaps::SetOverride(nullptr);
}

TEST(DivStyle, InheritedValues)
{
    CRef<CDiv> root = BuildTree(R"(<pane style="font-size: 1; colour: 0,1,0,1; font-face: sans;">
        <div id="scaled" style="font-size: 2; glow-colour: 1;">
            <div id="deep" style="padding: 1; margin-left: 2;"><div id="deeper"/></div>
        </div>
        <div id="plain"/>
    </pane>)");
    root->GetById("scaled")->SetScale(3.0f);
    EXPECT_FLOAT_EQ(root->GetFontSize(), 1.0f);
    // Its own size times its own scale; below it the size already scaled.
    EXPECT_FLOAT_EQ(root->GetById("scaled")->GetFontSize(), 6.0f);
    EXPECT_FLOAT_EQ(root->GetById("deeper")->GetFontSize(), 6.0f);
    EXPECT_FLOAT_EQ(root->GetById("deeper")->GetScale(), 3.0f);
    EXPECT_FLOAT_EQ(root->GetById("plain")->GetFontSize(), 1.0f);
    EXPECT_EQ(root->GetById("deeper")->GetFontFace(), "sans");
    EXPECT_EQ(root->GetById("deeper")->GetColour(), Vector4<float>(0, 1, 0, 1));
    EXPECT_TRUE(root->GetById("deeper")->IsGlow());
    EXPECT_EQ(root->GetById("deeper")->GetShadowColour(), kWhite);
    EXPECT_FALSE(root->GetById("plain")->IsGlow());
    EXPECT_EQ(root->GetById("plain")->GetShadowColour(), kZeroVector4f);
    EXPECT_EQ(root->GetById("plain")->GetBackgroundColour(), kZeroVector4f);

    // Padding and margins are not inherited, and come scaled.
    EXPECT_EQ(root->GetById("deep")->GetPadding(), Vector4<float>(3, 3, 3, 3));
    EXPECT_EQ(root->GetById("deep")->GetMargin(), Vector4<float>(6, 0, 0, 0));
    EXPECT_EQ(root->GetById("deeper")->GetPadding(), kZeroVector4f);

    // Root defaults.
    CRef<CDiv> bare = CDiv::Create();
    EXPECT_FLOAT_EQ(bare->GetScale(), 1.0f);
    EXPECT_EQ(bare->GetColour(), kBlack);
    EXPECT_EQ(bare->GetFontStyle(), CDiv::kFontNormal);
    EXPECT_EQ(bare->GetHAlign(), CDiv::kAlignStart);
    EXPECT_EQ(bare->GetVAlign(), CDiv::kAlignStart);
    EXPECT_FLOAT_EQ(bare->GetTransitionOutDelay(), 0.0f);
    EXPECT_TRUE(bare->GetFontTransition().empty());
}

TEST(DivStyle, DefaultsFromTheRulesAndThePreferenceGate)
{
    AppFolder folder;
    folder.WriteData("rules.xml", R"(<rules><default fontsize="36" fontface="dejavu" /></rules>)");
    ASSERT_TRUE(CSingleton<CRules>::Instance()->Load());
    CRef<CDiv> root = BuildTree(R"(<pane style="font-transition: wave;">
        <div id="half"/><div id="own" style="font-transition: drop;"/></pane>)");
    root->GetById("half")->SetScale(0.5f);
    EXPECT_FLOAT_EQ(root->GetFontSize(), 36.0f);
    EXPECT_FLOAT_EQ(root->GetById("half")->GetFontSize(), 36.0f) << "the parent's, already scaled";
    root->SetScale(2.0f);
    EXPECT_FLOAT_EQ(root->GetById("own")->GetFontSize(), 72.0f);
    EXPECT_EQ(root->GetById("own")->GetFontFace(), "dejavu");

    EXPECT_EQ(root->GetById("half")->GetFontTransition(), "wave");
    EXPECT_EQ(root->GetById("own")->GetFontTransition(), "drop");
    ASSERT_TRUE(CSingleton<CPreferences>::Instance()->SetBool("fonttransitions", false));
    EXPECT_TRUE(root->GetFontTransition().empty());
    EXPECT_TRUE(root->GetById("own")->GetFontTransition().empty());
    ASSERT_TRUE(CSingleton<CPreferences>::Instance()->SetBool("fonttransitions", true));
    EXPECT_EQ(root->GetById("own")->GetFontTransition(), "drop");
}

TEST(DivStyle, ChangingTheScaleDropsTheLayout)
{
    CRef<CDiv> root = BuildTree(R"(<pane width="10"><div/></pane>)");
    LayOut(*root);
    ASSERT_TRUE(root->GetLines());
    root->SetScale(1.0f);
    EXPECT_FALSE(root->GetLines()) << "inherited 1 and a stored 1 differ";
    LayOut(*root);
    root->SetScale(1.0f);
    EXPECT_TRUE(root->GetLines()) << "the same stored scale keeps it";
    root->SetScale(2.0f);
    EXPECT_FALSE(root->GetLines());
}
