// Input on nodes: events go down only into subtrees that declared a handler, a click on a node
// with "onclick" posts its command, and hit tests cover a word's trailing gap.
#include "platform/CControls.h"
#include "platform/CGame.h"
#include "platform/InputEvent.h"
#include "ui/DivFixture.h"

#include <cstring>
#include <gtest/gtest.h>

namespace
{
// A node that takes the operations whose bits it declares, and counts what reaches it.
class Receiver : public CDiv
{
  public:
    explicit Receiver(uint32_t bits) : CDiv("receiver") { m_bits = bits; }
    void Declare() { AddHandlerBits(m_bits); }
    bool OnRelease(const InputEvent&) override { return ++releases, true; }
    bool OnDragEnd(const InputEvent&) override { return ++dragEnds, true; }
    bool OnMotion(const InputEvent&) override { return ++motions, true; }
    int releases = 0, dragEnds = 0, motions = 0;

  private:
    uint32_t m_bits;
};

InputEvent At(float x, float y)
{
    return InputEvent::Pointer(InputEvent::kButtonUp, Vector2<float>(x, y), 0, InputEvent::kLeft);
}

class DivInput : public testing::Test
{
  protected:
    void SetUp() override
    {
        CSingleton<CGame>::Toggle(false);
        m_game = CGame::Instance();
        m_game->PushMode("divinput_test");
    }
    void TearDown() override { CSingleton<CGame>::Toggle(false); }

    // The names of the commands posted so far.
    std::vector<std::string> Posted() const
    {
        std::vector<std::string> names;
        for (const InputEvent& event : m_game->GetCurrentScope().GetControls().GetQueue())
            names.emplace_back(event.name);
        return names;
    }

    CGame* m_game = nullptr;
};
} // namespace

TEST_F(DivInput, OnclickPostsItsCommandWhenTheClickHitsTheNode)
{
    CRef<CDiv> root = BuildTree(R"(<pane width="100">
        <div id="a" height="10" onclick="first"/><div id="quiet" height="10"/>
        <div id="b" height="10" onclick="second"/>
    </pane>)");
    LayOut(*root);
    EXPECT_TRUE(root->GetHandlerMask() & CDiv::kHandlesClick);
    EXPECT_FALSE(root->GetById("quiet")->GetHandlerMask() & CDiv::kHandlesClick);

    EXPECT_TRUE(root->OnClick(At(50, 25)));
    EXPECT_EQ(Posted(), std::vector<std::string>{"second"}) << "the node hit, not the first with an onclick";
    EXPECT_TRUE(root->OnClick(At(5, 5)));
    EXPECT_EQ(Posted(), (std::vector<std::string>{"second", "first"}));
    // A click on no node with an onclick is not taken.
    EXPECT_FALSE(root->OnClick(At(50, 15)));
    EXPECT_FALSE(root->OnClick(At(150, 5)));
    // An inactive node takes nothing.
    root->GetById("a")->SetActive(false);
    EXPECT_FALSE(root->OnClick(At(5, 5)));
    EXPECT_EQ(Posted().size(), 2u);

    // The root's own onclick takes every click that reaches it: its owner has tested the point.
    CRef<CDiv> whole = BuildTree(R"(<pane width="100" onclick="anywhere"><div height="10"/></pane>)");
    LayOut(*whole);
    EXPECT_TRUE(whole->OnClick(At(500, 500)));
    EXPECT_EQ(Posted().back(), "anywhere");
}

TEST_F(DivInput, EventsReachOnlySubtreesThatDeclaredThem)
{
    CRef<CDiv> root = BuildTree(R"(<pane width="100"><div id="left"/><div id="right"/></pane>)");
    CRef<Receiver> release = MakeRef<Receiver>(CDiv::kHandlesRelease | CDiv::kHandlesMotion);
    CRef<Receiver> drag = MakeRef<Receiver>(CDiv::kHandlesDragEnd | CDiv::kHandlesMotion);
    root->GetById("left")->AddChild(release);
    root->GetById("right")->AddChild(drag);

    // Nothing declared yet: nothing is visited.
    EXPECT_FALSE(root->OnRelease(At(0, 0)));
    EXPECT_EQ(release->releases, 0);

    release->Declare();
    drag->Declare();
    EXPECT_EQ(root->GetHandlerMask(), CDiv::kHandlesRelease | CDiv::kHandlesMotion | CDiv::kHandlesDragEnd);
    EXPECT_EQ(root->GetById("left")->GetHandlerMask(), CDiv::kHandlesRelease | CDiv::kHandlesMotion);
    // A drag end reaches only the subtree with bit 128; a release the first taker.
    EXPECT_TRUE(root->OnDragEnd(At(0, 0)));
    EXPECT_EQ(drag->dragEnds, 1);
    EXPECT_TRUE(root->OnRelease(At(0, 0)));
    EXPECT_EQ(release->releases, 1);
    EXPECT_FALSE(root->OnPress(At(0, 0)));
    // Motion goes to every child, not only the first taker.
    EXPECT_TRUE(root->OnMotion(At(0, 0)));
    EXPECT_EQ(release->motions, 1);
    EXPECT_EQ(drag->motions, 1);
}

TEST_F(DivInput, HitTestsCoverTheTrailingGapAndTheChildren)
{
    CRef<CDiv> root = BuildTree(R"(<pane width="100"><div id="box" width="20" height="10"/></pane>)");
    CRef<TestItem> word = MakeRef<TestItem>(30, 10, 6);
    root->GetById("box")->AddChild(word);
    word->SetPosition(Vector2<float>(40, 50));
    EXPECT_TRUE(word->HitTest(Vector2<float>(40, 50)));
    EXPECT_TRUE(word->HitTest(Vector2<float>(75, 59))) << "the space after the word";
    EXPECT_FALSE(word->HitTest(Vector2<float>(76, 55)));
    EXPECT_FALSE(word->HitTest(Vector2<float>(50, 60)));
    CDiv* box = root->GetById("box");
    EXPECT_TRUE(box->HitTest(Vector2<float>(19, 9)));
    EXPECT_TRUE(box->HitTest(Vector2<float>(70, 55))) << "through its child";
    EXPECT_FALSE(box->HitTest(Vector2<float>(25, 5)));
}
