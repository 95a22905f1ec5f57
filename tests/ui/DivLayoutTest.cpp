// Flow layout: items and boxes into line boxes, breaking, alignment, padding, offsets, and words
// measured through the stand-in font.
#include "support/FakeClock.h"
#include "support/TestScopes.h"
#include "ui/CDivText.h"
#include "ui/CDivWord.h"
#include "ui/DivFixture.h"
#include "ui/FixedFontMetrics.h"

#include <gtest/gtest.h>

namespace
{
CRef<TestItem> Item(float width, float height, float gap = 0.0f)
{
    return MakeRef<TestItem>(width, height, gap);
}

std::vector<CDivWord*> WordsOf(CDiv* node)
{
    std::vector<CDivWord*> words;
    for (const CRef<CDiv>& child : node->GetChildren())
        if (auto* word = dynamic_cast<CDivWord*>(child.Get()))
            words.push_back(word);
    return words;
}
} // namespace

TEST(DivLayout, ItemsBreakOntoNewLines)
{
    CRef<CDivLine> first = CDivLine::Create(nullptr, kZeroVector2f, 100.0f);
    CRef<TestItem> a = Item(40, 10, 6), b = Item(40, 12, 6), c = Item(40, 8, 6);
    CRef<CDivLine> line = first->AddItem(a.Get());
    EXPECT_EQ(line.Get(), first.Get());
    EXPECT_FLOAT_EQ(first->GetPen().x, 46.0f);
    line = line->AddItem(b.Get());
    EXPECT_FLOAT_EQ(first->GetPen().x, 92.0f);
    EXPECT_FLOAT_EQ(first->GetRightEdge(), 86.0f);
    // 92 + 40 > 100: the third starts a line at the height of the first.
    line = line->AddItem(c.Get());
    ASSERT_NE(line.Get(), first.Get());
    EXPECT_EQ(first->GetNext().Get(), line.Get());
    EXPECT_EQ(line->GetPrevious(), first.Get());
    EXPECT_EQ(c->GetPosition(), Vector2<float>(0, 12));
    EXPECT_EQ(b->GetPosition(), Vector2<float>(46, 0));
    EXPECT_EQ(c->GetLine(), line.Get());
    // Every item of a line has the line's height.
    EXPECT_FLOAT_EQ(a->GetLineHeight(), 12.0f);
    EXPECT_FLOAT_EQ(b->GetLineHeight(), 12.0f);
    EXPECT_FLOAT_EQ(c->GetLineHeight(), 8.0f);
    EXPECT_EQ(first->Extent(), Vector2<float>(86, 20));

    // An item exactly as wide as the room left stays; an oversized one takes an empty line.
    CRef<CDivLine> exact = CDivLine::Create(nullptr, kZeroVector2f, 100.0f);
    CRef<TestItem> d = Item(60, 5, 0), e = Item(40, 5), huge = Item(300, 5);
    EXPECT_EQ(exact->AddItem(d.Get()).Get(), exact.Get());
    EXPECT_EQ(exact->AddItem(e.Get()).Get(), exact.Get());
    CRef<CDivLine> empty = CDivLine::Create(nullptr, kZeroVector2f, 100.0f);
    EXPECT_EQ(empty->AddItem(huge.Get()).Get(), empty.Get());
    EXPECT_EQ(huge->GetPosition(), kZeroVector2f);
}

TEST(DivLayout, BoxesSitOnLinesOfTheirOwn)
{
    CRef<CDivLine> first = CDivLine::Create(nullptr, kZeroVector2f, 100.0f);
    CRef<TestItem> a = Item(10, 10), box = MakeRef<TestItem>(20, 30, 0.0f, true), b = Item(10, 10);
    CRef<CDivLine> line = first->AddItem(a.Get());
    line = line->AddItem(box.Get());
    EXPECT_EQ(box->GetPosition(), Vector2<float>(0, 10));
    CRef<CDivLine> after = line->AddItem(b.Get());
    EXPECT_NE(after.Get(), line.Get());
    EXPECT_EQ(b->GetPosition(), Vector2<float>(0, 40));

    // Advance moves the pen, on a new line when the line has items.
    CRef<CDivLine> moved = after->Advance(Vector2<float>(5, 7));
    EXPECT_NE(moved.Get(), after.Get());
    EXPECT_EQ(moved->GetPen(), Vector2<float>(5, 57));
    EXPECT_EQ(moved->Advance(kZeroVector2f).Get(), moved.Get());
    CRef<CDivLine> fresh = CDivLine::Create(nullptr, Vector2<float>(0, 3), 50.0f);
    EXPECT_EQ(fresh->Advance(Vector2<float>(2, 0)).Get(), fresh.Get());
    EXPECT_EQ(fresh->GetPen(), Vector2<float>(2, 3));
    // A forced break.
    CRef<CDivLine> below = moved->NewLineBelow();
    EXPECT_EQ(below->GetOrigin(), Vector2<float>(0, 57));
    EXPECT_FLOAT_EQ(below->GetMaxWidth(), 100.0f);
}

TEST(DivLayout, MovingAndAligningLines)
{
    CRef<CDivLine> first = CDivLine::Create(nullptr, kZeroVector2f, 100.0f);
    CRef<TestItem> a = Item(30, 10, 5), b = Item(30, 10, 5), c = Item(50, 10), d = Item(10, 10);
    first->AddItem(a.Get())->AddItem(b.Get())->AddItem(c.Get())->AddItem(d.Get());
    // Lines: [a b] right edge 65, [c d] right edge 60.
    first->AlignLines(100.0f, CDiv::kAlignMiddle, 2.0f);
    EXPECT_EQ(a->GetPosition(), Vector2<float>(17.5f, 2));
    EXPECT_EQ(b->GetPosition(), Vector2<float>(52.5f, 2));
    EXPECT_EQ(c->GetPosition(), Vector2<float>(20, 12)) << "max width 100, right edge 60";

    CRef<CDivLine> other = CDivLine::Create(nullptr, kZeroVector2f, 100.0f);
    CRef<TestItem> e = Item(40, 10);
    other->AddItem(e.Get());
    other->AlignLines(0.0f, CDiv::kAlignEnd, 0.0f);
    EXPECT_EQ(e->GetPosition(), Vector2<float>(60, 0));

    // Moving stops at the first absolutely placed item: it and what follows are in root space.
    CRef<CDivLine> stack = CDivLine::Create(nullptr, kZeroVector2f, 100.0f);
    CRef<TestItem> f = Item(10, 10), fixed = Item(10, 10), g = Item(10, 10), h = Item(200, 10);
    fixed->SetMode(CDiv::kPositionAbsolute);
    stack->AddItem(f.Get())->AddItem(fixed.Get())->AddItem(g.Get())->AddItem(h.Get());
    stack->Move(Vector2<float>(3, 4));
    EXPECT_EQ(f->GetPosition(), Vector2<float>(3, 4));
    EXPECT_EQ(fixed->GetPosition(), Vector2<float>(10, 0));
    EXPECT_EQ(g->GetPosition(), Vector2<float>(20, 0));
    EXPECT_EQ(h->GetPosition(), Vector2<float>(0, 10));
    EXPECT_EQ(stack->GetOffset(), Vector2<float>(3, 4));
    EXPECT_EQ(stack->GetNext()->GetOffset(), kZeroVector2f);
    stack->MoveTo(Vector2<float>(5, 5));
    EXPECT_EQ(stack->GetOffset(), Vector2<float>(5, 5));
    EXPECT_EQ(f->GetPosition(), Vector2<float>(5, 5));
}

TEST(DivLayout, BoxesPaddingAndTheRoot)
{
    CRef<CDiv> root = BuildTree(R"(<pane width="100" style="padding: 5;">
        <div id="a" height="10"/>
        <div id="b" style="padding: 2; padding-top: 4;"><div id="c" width="30" height="6"/></div>
    </pane>)");
    LayOut(*root);
    CDiv* a = root->GetById("a");
    CDiv* b = root->GetById("b");
    CDiv* c = root->GetById("c");
    // A box without a width takes the width of the line it is laid out in.
    EXPECT_EQ(a->GetPosition(), Vector2<float>(5, 5));
    EXPECT_EQ(a->GetSize(), Vector2<float>(90, 10));
    EXPECT_EQ(b->GetPosition(), Vector2<float>(5, 15));
    EXPECT_EQ(b->GetSize(), Vector2<float>(90, 12)) << "content 6 and paddings 4 and 2";
    EXPECT_FLOAT_EQ(b->GetInnerWidth(), 86.0f);
    EXPECT_EQ(c->GetPosition(), Vector2<float>(7, 19));
    EXPECT_EQ(root->GetSize(), Vector2<float>(100, 32));
    // The root of a layout sits on no line, so its stack never holds it.
    for (CDivLine* line = root->GetLines().Get(); line; line = line->GetNext().Get())
        for (const CRef<CDiv>& item : line->GetItems())
            EXPECT_NE(item.Get(), root.Get());
    EXPECT_TRUE(root->IsShown());
    EXPECT_TRUE(c->IsShown());
}

TEST(DivLayout, AlignmentMovesBoxesWithTheirContent)
{
    CRef<CDiv> root = BuildTree(R"(<pane width="100" align="centre">
        <div id="box" width="40" height="30" style="padding: 2; vertical-align: middle;">
            <div id="inner" width="10" height="10"/>
        </div>
        <div id="low" width="20" height="30" valign="bottom" halign="right" style="padding: 3;">
            <div id="end" width="4" height="4"/>
        </div>
    </pane>)");
    LayOut(*root);
    CDiv* box = root->GetById("box");
    EXPECT_EQ(box->GetPosition(), Vector2<float>(30, 0));
    // The content follows its box: centred across the content box, (40 - 4 - 10) / 2, and down
    // by half of the whole height less the content's, (30 - 10) / 2, after the top padding.
    EXPECT_EQ(root->GetById("inner")->GetPosition(), Vector2<float>(30 + 2 + 13, 2 + 10));
    CDiv* low = root->GetById("low");
    EXPECT_EQ(low->GetPosition(), Vector2<float>(40, 30));
    EXPECT_EQ(root->GetById("end")->GetPosition(), Vector2<float>(40 + 3 + 10, 30 + 3 + 26));
}

TEST(DivLayout, RelativeAndAbsoluteOffsets)
{
    CRef<CDiv> root = BuildTree(R"(<pane width="100" height="80">
        <div id="first" height="10"/>
        <div id="rel" width="20" height="10" style="position: relative; left: 4; top: 2;"/>
        <div id="right" width="20" height="10" style="position: relative; right: 5;"/>
        <div id="abs" width="10" height="10" style="position: absolute; right: 1; bottom: 2;">
            <div id="inside" width="2" height="2"/>
        </div>
    </pane>)");
    root->SetScale(2.0f);
    LayOut(*root);
    EXPECT_EQ(root->GetById("first")->GetPosition(), Vector2<float>(0, 0));
    EXPECT_EQ(root->GetById("first")->GetSize(), Vector2<float>(200, 20));
    EXPECT_EQ(root->GetById("rel")->GetPosition(), Vector2<float>(8, 24));
    // From the parent's right edge: 200 - 40 - 10.
    EXPECT_EQ(root->GetById("right")->GetPosition(), Vector2<float>(150, 44));
    // In root coordinates, from the root's far corner: (200 - 20 - 2, 160 - 20 - 4).
    EXPECT_EQ(root->GetById("abs")->GetPosition(), Vector2<float>(178, 136));
    EXPECT_EQ(root->GetById("inside")->GetPosition(), Vector2<float>(178, 136));
}

TEST(DivLayout, WordsAreMeasuredAndShareABaseline)
{
    FixedFonts fonts;
    CRef<CDiv> root = BuildTree(R"(<pane width="60" style="font-size: 10;">
        <Text id="t" content="aaaa bbbb  cccc"/>
    </pane>)");
    LayOut(*root);
    std::vector<CDivWord*> words = WordsOf(root->GetById("t"));
    ASSERT_EQ(words.size(), 3u);
    // Each 20 wide, a gap of one and a half spaces (7.5); 55 + 20 > 60 breaks.
    EXPECT_EQ(words[0]->GetText(), "aaaa");
    EXPECT_EQ(words[0]->GetPosition(), Vector2<float>(0, 0));
    EXPECT_EQ(words[0]->GetSize(), Vector2<float>(20, 10));
    EXPECT_EQ(words[0]->GetTrailingGap(), Vector2<float>(7.5f, 2.5f));
    EXPECT_EQ(words[1]->GetPosition(), Vector2<float>(27.5f, 0));
    EXPECT_EQ(words[2]->GetPosition(), Vector2<float>(0, 10));
    EXPECT_EQ(root->GetSize(), Vector2<float>(60, 20));

    // Words of two sizes on one line take the line's height and largest descent.
    CRef<CDiv> mixed = BuildTree(R"(<pane width="200" style="font-size: 10;">
        <Text id="small" content="ab"/><Text id="big" style="font-size: 20;" content="cd"/>
        <Text id="none" style="font-face: missing;" content="gone"/><div>plain text</div>
    </pane>)");
    LayOut(*mixed);
    CDivWord* small = WordsOf(mixed->GetById("small"))[0];
    CDivWord* big = WordsOf(mixed->GetById("big"))[0];
    EXPECT_EQ(big->GetPosition(), Vector2<float>(17.5f, 0));
    for (CDivWord* word : {small, big})
    {
        EXPECT_FLOAT_EQ(word->GetLineHeight(), 20.0f);
        EXPECT_FLOAT_EQ(word->GetLineDescent(), 4.0f);
        // Baseline: top + line height - line descent, whatever the word's own size.
        const float top = word->GetPosition().y + word->GetLineHeight() - word->GetHeight() -
                          word->GetLineDescent() + word->GetDescent();
        EXPECT_FLOAT_EQ(top + word->GetHeight() - word->GetDescent(), 16.0f);
    }
    // Laid out again smaller, as after a change of screen, the line takes the new descent only:
    // the picture before the word keeps nothing of its last line.
    CRef<CDiv> pictured = BuildTree(R"(<pane width="200" style="font-size: 20;">
        <Img width="10" height="10"/><Text id="t" content="ab"/></pane>)");
    LayOut(*pictured);
    pictured->SetScale(0.5f);
    LayOut(*pictured);
    EXPECT_FLOAT_EQ(WordsOf(pictured->GetById("t"))[0]->GetLineDescent(), 2.0f);

    // Without a font a word takes no place.
    std::vector<CDivWord*> none = WordsOf(mixed->GetById("none"));
    ASSERT_EQ(none.size(), 1u);
    EXPECT_FALSE(none[0]->HasFont());
    EXPECT_EQ(none[0]->GetLine(), nullptr);
    // Character data inside a box: its own line stack, below the first line.
    CDiv* plain = mixed->GetChildren()[3].Get();
    std::vector<CDivWord*> inside = WordsOf(plain->GetChildren()[0].Get());
    ASSERT_EQ(inside.size(), 2u);
    EXPECT_EQ(inside[0]->GetPosition(), Vector2<float>(0, 20));
    EXPECT_EQ(inside[1]->GetPosition(), Vector2<float>(32.5f, 20));
}

TEST(DivLayout, MarkupInsideTextBecomesNodes)
{
    FixedFonts fonts;
    CRef<CDiv> root = BuildTree(R"(<pane width="100" style="font-size: 10;">
        <div id="holder"><![CDATA[<Text content="x y"/><div id="made" height="3"/>]]></div>
    </pane>)");
    LayOut(*root);
    CDiv* holder = root->GetById("holder");
    ASSERT_EQ(holder->GetChildren().size(), 1u);
    CDiv* text = holder->GetChildren()[0].Get();
    ASSERT_EQ(text->GetChildren().size(), 2u);
    EXPECT_EQ(WordsOf(text->GetChildren()[0].Get()).size(), 2u);
    ASSERT_NE(root->FindById("made", 0).Get(), nullptr);
    EXPECT_EQ(root->GetById("made")->GetParent(), text);
    EXPECT_EQ(root->GetById("made")->GetPosition(), Vector2<float>(0, 10));
    EXPECT_EQ(holder->GetSize(), Vector2<float>(100, 13));
    // Laid out again, the text makes its children anew rather than adding to them.
    LayOut(*root);
    EXPECT_EQ(text->GetChildren().size(), 2u);
    EXPECT_EQ(root->GetById("made")->GetPosition(), Vector2<float>(0, 10));
}

TEST(DivLayout, LaidOutNodesFadeInOnTheSchedulerClock)
{
    FakeClock clock;
    TestScopes scopes;
    CRef<CDiv> root = BuildTree(R"(<pane width="10" style="transition: 0.5;"><div id="a"/></pane>)");
    LayOut(*root);
    CDiv* a = root->GetById("a");
    EXPECT_FLOAT_EQ(root->GetTransitionAlpha(), 0.0f);
    clock.Advance(100);
    scopes.Update();
    EXPECT_FLOAT_EQ(root->GetTransitionAlpha(), 0.2f);
    EXPECT_FLOAT_EQ(a->GetTransitionAlpha(), 0.2f) << "the style is inherited: a fade of its own";
    // Three frames between two readings advance the fade by one frame's worth only.
    for (int i = 0; i < 3; ++i)
    {
        clock.Advance(100);
        scopes.Update();
    }
    EXPECT_FLOAT_EQ(root->GetTransitionAlpha(), 0.4f);
    // Hiding continues from the alpha reached.
    root->Show(false);
    EXPECT_FLOAT_EQ(root->GetTransitionAlpha(), 0.4f);
    EXPECT_TRUE(root->IsShowing());
    for (int i = 0; i < 3; ++i)
    {
        clock.Advance(100);
        scopes.Update();
        root->GetTransitionAlpha();
    }
    EXPECT_FLOAT_EQ(root->GetTransitionAlpha(), 0.0f);
    EXPECT_FALSE(root->IsShown());
}

TEST(DivLayout, ADelayHoldsTheFadeBackAndANegativeOneIsAHeadStart)
{
    struct Case
    {
        float delay;
        float alphaAtOnce, alphaAfter400Ms;
    } cases[] = {{0.25f, 0.0f, 0.15f}, {0.0f, 0.0f, 0.4f}, {-0.25f, 0.25f, 0.65f}, {-2.0f, 1.0f, 1.0f}};
    for (const Case& c : cases)
    {
        FakeClock clock;
        TestScopes scopes;
        CRef<CDiv> root = BuildTree(R"(<pane width="10"/>)");
        root->ShowTimed(true, 1.0f, c.delay);
        EXPECT_FLOAT_EQ(root->GetTransitionAlpha(), c.alphaAtOnce) << c.delay;
        for (int i = 0; i < 4; ++i)
        {
            clock.Advance(100);
            scopes.Update();
            root->GetTransitionAlpha();
        }
        EXPECT_FLOAT_EQ(root->GetTransitionAlpha(), c.alphaAfter400Ms) << c.delay;
    }
}
