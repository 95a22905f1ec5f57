// The button node: its box at the node's scale, the node it recolours by the button's state, its
// shortcuts, and input refused while the node or an ancestor is inactive or disabled.
#include "DivFixture.h"
#include "platform/InputEvent.h"
#include "ui/ButtonFixture.h"
#include "ui/CDivButton.h"

namespace
{

class DivButtonTest : public ButtonTest
{
  protected:
    // A tree of a label and one button; the button's centre is put at (5, 5).
    CDivButton* Build(const char* button)
    {
        m_tree = BuildTree(
            (std::string(R"(<Div><Text id="label" style="colour: 0.4,0.6,0.8,1;"/>)") + button + "</Div>")
                .c_str());
        CDivButton* node = dynamic_cast<CDivButton*>(m_tree->GetChildren()[1].Get());
        EXPECT_NE(nullptr, node);
        node->GetButton().SetScreenPosition(Vector2<float>(5.0f, 5.0f));
        return node;
    }
    static InputEvent Pointer(InputEvent::Kind kind, float x, float y, uint8_t held)
    {
        return InputEvent::Pointer(kind, Vector2<float>(x, y), held, kind == InputEvent::kMotion ? 0 : 1);
    }
    Vector4<float> LabelColour() { return m_tree->GetById("label")->GetColour(); }

    CRef<CDiv> m_tree;
};

TEST_F(DivButtonTest, TheAffectedNodeBrightensOnHoverAndFadesWhenDisabled)
{
    CDivButton* node = Build(R"(<Button type="round" action="go" affects="label" overlaps="false"/>)");
    node->GetButton().MarkDrawn();
    node->OnMotion(Pointer(InputEvent::kMotion, 5.0f, 5.0f, 0));
    ASSERT_EQ(CButton::kHover, node->GetButton().GetState());
    ExpectVector(Vector4<float>(0.35f, 0.65f, 0.95f, 1.0f), LabelColour());

    CButtons::Instance()->SetEnabled("go", false);
    node->GetButton().Update();
    node->Update(0.05f);
    ExpectVector(Vector4<float>(0.4f, 0.6f, 0.8f, 0.25f), LabelColour());
    CButtons::Instance()->SetEnabled("go", true);

    // A missing id changes nothing.
    CDivButton* stray = Build(R"(<Button type="round" action="go" affects="nobody"/>)");
    stray->GetButton().MarkDrawn();
    stray->OnMotion(Pointer(InputEvent::kMotion, 5.0f, 5.0f, 0));
    ExpectVector(Vector4<float>(0.4f, 0.6f, 0.8f, 1.0f), LabelColour());
}

TEST_F(DivButtonTest, TheBoxIsTheButtonAtTheNodesScaleAndAnchorsMeanNothing)
{
    CDivButton* node = Build(R"(<Button type="sized" origin="1,1"/>)");
    m_tree->SetScale(0.03f); // zoom 2: a radius of (1, 2) cells is a box of 4 x 8 pixels
    LayOut(*m_tree);
    EXPECT_EQ(Vector2<float>(4.0f, 8.0f), node->GetSize());
    EXPECT_FALSE(node->GetButton().IsAnchoredRight());
    EXPECT_FALSE(node->GetButton().IsAnchoredBottom());
}

TEST_F(DivButtonTest, ShortcutsAndTapsReachOnlyAnActiveEnabledButton)
{
    CDivButton* node = Build(R"(<Button type="round" action="go" shortcut="undo,z" overlaps="false"/>)");
    EXPECT_FALSE(node->OnEvent(InputEvent::Command("Z", "")));
    EXPECT_TRUE(node->OnEvent(InputEvent::Command("z", "")));
    EXPECT_EQ(std::vector<std::string>{"go()"}, m_services.posts);

    // A disabled ancestor (a pane the flip is turning) or an inactive node takes nothing.
    for (bool parentDisabled : {true, false})
    {
        m_tree->SetEnabled(!parentDisabled);
        node->SetActive(parentDisabled);
        EXPECT_FALSE(node->OnEvent(InputEvent::Command("z", "")));
        EXPECT_FALSE(node->OnPress(Pointer(InputEvent::kButtonDown, 5.0f, 5.0f, 1)));
        EXPECT_FALSE(node->OnRelease(Pointer(InputEvent::kButtonUp, 5.0f, 5.0f, 0)));
    }
    EXPECT_EQ(1u, m_services.posts.size());

    m_tree->SetEnabled(true);
    node->SetActive(true);
    EXPECT_TRUE(node->OnPress(Pointer(InputEvent::kButtonDown, 5.0f, 5.0f, 1)));
    EXPECT_TRUE(node->OnRelease(Pointer(InputEvent::kButtonUp, 5.0f, 5.0f, 0)));
    EXPECT_EQ(2u, m_services.posts.size());
}

} // namespace
