// Building user-interface trees from XML text: node kinds by tag, common attributes, ignored
// elements, look-up by id and loading again.
#include "ui/CDivText.h"
#include "ui/DivFixture.h"

#include <gtest/gtest.h>

namespace
{
CDiv* Child(CDiv* node, size_t i)
{
    return i < node->GetChildren().size() ? node->GetChildren()[i].Get() : nullptr;
}
} // namespace

TEST(DivTree, TagsMakeNodeKindsWithoutRegardToCase)
{
    CRef<CDiv> root = BuildTree(R"(<pane>
        <DIV id="a"/><div id="b"/><Div id="c"/>
        <section id="s" width="3"><div id="inner"/></section>
        <TEXT content="hi there"/>
        <div>Hello  world</div>
    </pane>)");
    ASSERT_EQ(root->GetChildren().size(), 6u);
    for (size_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ(Child(root.Get(), i)->GetClassName(), "div");
        EXPECT_TRUE(Child(root.Get(), i)->IsBox());
        EXPECT_EQ(Child(root.Get(), i)->GetParent(), root.Get());
    }
    // An unknown tag is a plain node that keeps its attributes and children.
    CDiv* section = Child(root.Get(), 3);
    EXPECT_EQ(section->GetClassName(), "div");
    EXPECT_EQ(section->GetId(), "s");
    EXPECT_FLOAT_EQ(section->GetSpecifiedSize().x, 3.0f);
    ASSERT_EQ(section->GetChildren().size(), 1u);
    EXPECT_EQ(Child(section, 0)->GetId(), "inner");
    EXPECT_EQ(Child(section, 0)->GetParent(), section);

    auto* text = dynamic_cast<CDivText*>(Child(root.Get(), 4));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetContent(), "hi there");
    EXPECT_FALSE(text->IsBox());
    EXPECT_TRUE(text->IsInline());
    EXPECT_EQ(text->GetTransitionMap(), Vector4<float>(0, 1, 1, 0));
    // Character data written inside an element becomes a text node too.
    CDiv* withText = Child(root.Get(), 5);
    ASSERT_EQ(withText->GetChildren().size(), 1u);
    auto* data = dynamic_cast<CDivText*>(Child(withText, 0));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->GetContent(), "Hello  world");
}

TEST(DivTree, IgnoredElementsAreSkippedWithTheirSubtree)
{
    CRef<CDiv> root = BuildTree(R"(<pane>
        <div id="a" ignore="TRUE"><div id="deep"/></div>
        <div id="b" ignore="2"/>
        <div id="c" ignore="false"/>
        <div id="d" ignore="0"/>
        <div id="e" ignore="yes"/>
    </pane>)");
    ASSERT_EQ(root->GetChildren().size(), 3u);
    EXPECT_EQ(Child(root.Get(), 0)->GetId(), "c");
    EXPECT_EQ(Child(root.Get(), 1)->GetId(), "d");
    EXPECT_EQ(Child(root.Get(), 2)->GetId(), "e");
    EXPECT_FALSE(root->FindById("deep", 0));
}

TEST(DivTree, CommonAttributes)
{
    CRef<CDiv> root = BuildTree(R"(<pane>
        <div id="a" align="middle"/>
        <div id="b" align="right" halign="bogus"/>
        <div id="c" halign="LEFT" align="centre" valign="Bottom"/>
        <div id="d" z="0" width="2.5" height="12px"/>
        <div id="e"><div id="f" onclick="play"/></div>
    </pane>)");
    EXPECT_EQ(root->GetById("a")->GetHAlign(), CDiv::kAlignMiddle);
    // "halign" wins over "align", even with a word that means "inherit".
    EXPECT_EQ(root->GetById("b")->GetHAlign(), CDiv::kAlignStart) << "inherits the root's left";
    EXPECT_EQ(root->GetById("c")->GetHAlign(), CDiv::kAlignStart);
    EXPECT_EQ(root->GetById("c")->GetVAlign(), CDiv::kAlignEnd);
    EXPECT_FLOAT_EQ(root->GetById("a")->GetZ(), 1.0f);
    EXPECT_FLOAT_EQ(root->GetById("d")->GetZ(), 0.0f);
    EXPECT_EQ(root->GetById("d")->GetSpecifiedSize(), Vector2<float>(2.5f, 12.0f));
    EXPECT_EQ(root->GetById("a")->GetSpecifiedSize(), kUnsetVector2f);

    // An onclick marks its node and every ancestor as handling clicks, and nothing else.
    EXPECT_EQ(root->GetById("f")->GetOnClick(), "play");
    EXPECT_EQ(root->GetById("f")->GetHandlerMask(), uint32_t(CDiv::kHandlesClick));
    EXPECT_EQ(root->GetById("e")->GetHandlerMask(), uint32_t(CDiv::kHandlesClick));
    EXPECT_EQ(root->GetHandlerMask(), uint32_t(CDiv::kHandlesClick));
    EXPECT_EQ(root->GetById("a")->GetHandlerMask(), 0u);
}

TEST(DivTree, FindAndGetById)
{
    CRef<CDiv> root = BuildTree(R"(<pane id="root">
        <div id="x"><div id="y"/><div id="x"/></div>
        <div id="x"/>
        <div id="Y"/>
    </pane>)");
    EXPECT_EQ(root->GetById(""), root.Get());
    EXPECT_EQ(root->FindById("", 0).Get(), root.Get());
    // Matches count down one path: each child gets the index its parent passes on, whatever
    // its siblings matched.
    CDiv* first = Child(root.Get(), 0);
    EXPECT_EQ(root->FindById("", 1).Get(), first);
    EXPECT_EQ(root->FindById("", 2).Get(), root->GetById("y"));
    EXPECT_FALSE(root->FindById("", 3)) << "no path three deep below the root";
    EXPECT_EQ(root->FindById("x", 0).Get(), first);
    EXPECT_EQ(root->FindById("x", 1).Get(), Child(first, 1));
    EXPECT_FALSE(root->FindById("x", 2)) << "the second x at the top is not counted after the first's";
    EXPECT_FALSE(root->FindById("x", -1));
    // Ids compare case-sensitively.
    EXPECT_EQ(root->GetById("Y"), Child(root.Get(), 2));
    EXPECT_EQ(root->GetById("y"), Child(first, 0));

    // A missing id gives one detached node, the same on every call.
    CDiv* dummy = root->GetById("nothing");
    ASSERT_NE(dummy, nullptr);
    EXPECT_EQ(root->GetById("other"), dummy);
    EXPECT_EQ(dummy->GetParent(), nullptr);
    EXPECT_EQ(dummy->GetClassName(), "div");
    dummy->SetColour(kWhite);
    EXPECT_EQ(root->GetColour(), kBlack);
}

TEST(DivTree, LoadingAgainReplacesEverything)
{
    CXmlDocument first, second;
    ASSERT_TRUE(first.Parse(R"(<pane id="one" width="4" onclick="go"
            style="colour: 1,0,0,1; font-face: serif; padding: 2; transition: 1;">
        <div id="old"/><div id="old2"/></pane>)",
                            false));
    ASSERT_TRUE(second.Parse(R"(<pane id="two"><div id="new"/></pane>)", false));
    CRef<CDiv> node = CDiv::Create();
    node->Load(first.GetRoot());
    node->SetEnabled(false);
    node->Show(true);
    EXPECT_EQ(node->GetChildren().size(), 2u);

    node->Load(second.GetRoot());
    EXPECT_EQ(node->GetId(), "two");
    ASSERT_EQ(node->GetChildren().size(), 1u);
    EXPECT_EQ(node->GetChildren()[0]->GetId(), "new");
    EXPECT_FALSE(node->FindById("old", 0));
    EXPECT_EQ(node->GetColour(), kBlack);
    EXPECT_EQ(node->GetSpecifiedSize(), kUnsetVector2f);
    EXPECT_EQ(node->GetPadding(), kZeroVector4f);
    EXPECT_EQ(node->GetFontFace(), CDiv::Create()->GetFontFace()) << "the root default";
    EXPECT_FLOAT_EQ(node->GetTransitionIn(), 0.0f);
    EXPECT_TRUE(node->IsEnabled());
    EXPECT_TRUE(node->GetOnClick().empty());
    // What loading leaves alone: the shown state and the handler mask.
    EXPECT_TRUE(node->IsShown());
    EXPECT_EQ(node->GetHandlerMask(), uint32_t(CDiv::kHandlesClick));
    // A null element changes nothing.
    node->Load(nullptr);
    EXPECT_EQ(node->GetId(), "two");
}

TEST(DivTree, EnabledAndActiveReachTheWholeSubtree)
{
    CRef<CDiv> root = BuildTree(R"(<pane style="colour: 0,0,1,1; disabled-colour: 0.5;">
        <div id="a" style="disabled-colour: 1,0,0,1;"><div id="b"/></div>
        <div id="c" style="colour: 0,1,0,1;"/>
    </pane>)");
    root->SetEnabled(false);
    root->SetActive(false);
    for (const char* id : {"a", "b", "c"})
    {
        EXPECT_FALSE(root->GetById(id)->IsEnabled()) << id;
        EXPECT_FALSE(root->GetById(id)->IsActive()) << id;
    }
    EXPECT_EQ(root->GetById("a")->GetColour(), Vector4<float>(1, 0, 0, 1));
    EXPECT_EQ(root->GetById("b")->GetColour(), Vector4<float>(1, 0, 0, 1)) << "its parent's, as it shows";
    // Disabled without a disabled colour of its own: its normal colour.
    EXPECT_EQ(root->GetById("c")->GetColour(), Vector4<float>(0, 1, 0, 1));
    root->GetById("a")->SetEnabled(true);
    EXPECT_TRUE(root->GetById("b")->IsEnabled());
    EXPECT_EQ(root->GetById("a")->GetColour(), Vector4<float>(0.5f, 0.5f, 0.5f, 0.5f))
        << "the root is disabled";
    root->SetEnabled(true);
    EXPECT_EQ(root->GetById("a")->GetColour(), Vector4<float>(0, 0, 1, 1));
}
