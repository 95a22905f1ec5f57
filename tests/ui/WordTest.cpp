// Words and their fades: the schedule over a text's transition map, the fades on the scheduler
// clock, and words measured with the game's own baked font.
#include "Graphics/CFoundry.h"
#include "Graphics/CMaterialSet.h"
#include "Graphics/CTextureSet.h"
#include "core/Random.h"
#include "support/AppFolder.h"
#include "support/FakeClock.h"
#include "support/TestScopes.h"
#include "ui/CDivText.h"
#include "ui/CDivWord.h"
#include "ui/DivFixture.h"
#include "ui/FixedFontMetrics.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace
{
std::vector<CDivWord*> WordsOf(CDiv* node)
{
    std::vector<CDivWord*> words;
    for (const CRef<CDiv>& child : node->GetChildren())
        if (auto* word = dynamic_cast<CDivWord*>(child.Get()))
            words.push_back(word);
    return words;
}

std::vector<CDivWord*> LayOutText(CRef<CDiv>& root, const char* map, const char* content)
{
    root = BuildTree((std::string(R"(<pane width="1000" style="font-size: 10;"><Text id="t" transitionmap=")") +
                      map + "\" content=\"" + content + "\"/></pane>")
                         .c_str());
    LayOut(*root);
    return WordsOf(root->GetById("t"));
}

void Frame(FakeClock& clock, TestScopes& scopes, uint32_t ms)
{
    clock.Advance(ms);
    scopes.Update();
}
} // namespace

TEST(Word, TheScheduleSpreadsWordsOverTheTransitionMap)
{
    FixedFonts fonts;
    CRef<CDiv> root;
    // The default map: every word fades with the text.
    std::vector<CDivWord*> words = LayOutText(root, "", "one two three");
    ASSERT_EQ(words.size(), 3u);
    for (CDivWord* word : words)
    {
        EXPECT_FLOAT_EQ(word->GetSpan(), 1.0f);
        EXPECT_FLOAT_EQ(word->GetDelay(), 0.0f);
    }
    // (0, 1, 0.5, 0): each fades over half of the text's progress, starting at 0, 0.25, 0.5.
    words = LayOutText(root, "0,1,0.5,0", "one two three");
    ASSERT_EQ(words.size(), 3u);
    EXPECT_FLOAT_EQ(words[0]->GetDelay(), 0.0f);
    EXPECT_FLOAT_EQ(words[1]->GetDelay(), 0.25f);
    EXPECT_FLOAT_EQ(words[2]->GetDelay(), 0.5f);
    EXPECT_FLOAT_EQ(words[1]->GetSpan(), 0.5f);
    EXPECT_FLOAT_EQ(words[1]->GetFactor(0.5f), 0.5f);
    EXPECT_FLOAT_EQ(words[2]->GetFactor(0.5f), 0.0f);
    // Jitter draws new delays at each layout, always within 0 to start + length - span.
    GlobalRandom().Seed(7);
    for (int run = 0; run < 20; ++run)
        for (CDivWord* word : LayOutText(root, "0.1,0.8,0.25,1", "a b c d e"))
        {
            EXPECT_GE(word->GetDelay(), 0.0f);
            EXPECT_LE(word->GetDelay(), 0.1f + 0.8f - 0.2f);
        }
    // A word share of 0 gives words no span: each appears at once at its delay.
    words = LayOutText(root, "0,1,0,0", "x y");
    ASSERT_EQ(words.size(), 2u);
    EXPECT_FLOAT_EQ(words[1]->GetDelay(), 1.0f);
    EXPECT_FLOAT_EQ(words[0]->GetFactor(0.01f), 1.0f);
    EXPECT_FLOAT_EQ(words[1]->GetFactor(0.99f), 0.0f);
    // Only blanks: no words at all.
    EXPECT_TRUE(LayOutText(root, "", " \t ").empty());
}

TEST(Word, FadesRunOnTheSchedulerClock)
{
    FakeClock clock;
    TestScopes scopes;
    // Frames of 100 ms, each node's fade read once per frame as the drawing does.
    auto frames = [&](int count, std::initializer_list<CDiv*> nodes) {
        for (int i = 0; i < count; ++i)
        {
            Frame(clock, scopes, 100);
            for (CDiv* node : nodes)
                node->GetTransitionAlpha();
        }
    };
    // A delay holds the alpha at 0, then it rises.
    CRef<CDiv> root = BuildTree(R"(<pane style="transition: 0.5; transition-delay: 0.25;"/>)");
    root->Show(true);
    frames(2, {root.Get()});
    EXPECT_FLOAT_EQ(root->GetTransitionAlpha(), 0.0f);
    frames(1, {root.Get()});
    EXPECT_FLOAT_EQ(root->GetTransitionAlpha(), 0.1f);

    // A node never shown follows its parent's fade; after an instant hide its alpha is 0.
    CRef<CDiv> plain = BuildTree(R"(<pane><div id="child"/></pane>)");
    CDiv* child = plain->GetById("child");
    plain->ShowTimed(true, 1.0f, 0.0f);
    CRef<CDiv> never = CDiv::Create();
    plain->AddChild(never);
    child->ShowTimed(false, 0.0f, 0.0f);
    frames(1, {plain.Get(), child, never.Get()});
    EXPECT_FLOAT_EQ(plain->GetTransitionAlpha(), 0.1f);
    EXPECT_FLOAT_EQ(child->GetTransitionAlpha(), 0.0f);
    EXPECT_FLOAT_EQ(never->GetTransitionAlpha(), 0.1f);

    // Showing what is shown already restarts nothing, but still reaches the children.
    frames(5, {plain.Get(), child, never.Get()});
    EXPECT_FLOAT_EQ(plain->GetTransitionAlpha(), 0.6f);
    plain->ShowTimed(true, 1.0f, 0.0f);
    EXPECT_FLOAT_EQ(plain->GetTransitionAlpha(), 0.6f);
    EXPECT_TRUE(child->IsShown());
    // Reversal at 0.6 with one second out: 400 ms left (whole milliseconds, cut), continuing
    // from 0.6.
    plain->ShowTimed(false, 1.0f, 0.0f);
    EXPECT_NEAR(plain->GetTransitionAlpha(), 0.6f, 0.002f);
    frames(1, {plain.Get(), child, never.Get()});
    EXPECT_NEAR(plain->GetTransitionAlpha(), 0.5f, 0.002f);
    EXPECT_TRUE(plain->IsShowing());
    frames(5, {plain.Get(), child, never.Get()});
    EXPECT_TRUE(plain->IsShowing());
    frames(1, {plain.Get(), child, never.Get()});
    EXPECT_FLOAT_EQ(plain->GetTransitionAlpha(), 0.0f);
    EXPECT_FALSE(plain->IsShowing());
}

TEST(Word, TheBakedFontMeasuresWords)
{
    const std::string baked = std::string(FROG_DATA_DIR) + "/fonts/body.fnt";
    if (!std::filesystem::exists(baked))
        GTEST_SKIP() << "no baked font at " << baked;
    AppFolder folder;
    std::filesystem::create_directories(folder.PathOf("data/fonts"));
    std::filesystem::copy_file(baked, folder.PathOf("data/fonts/body.fnt"));
    CFoundry::Instance();

    CRef<CDiv> root = BuildTree(R"(<pane width="400" style="font-face: body; font-size: 20;">
        <Text id="t" content="Hi Hello"/><Text id="big" style="font-size: 40;" content="Hi"/></pane>)");
    LayOut(*root);
    std::vector<CDivWord*> words = WordsOf(root->GetById("t"));
    ASSERT_EQ(words.size(), 2u);
    ASSERT_TRUE(words[0]->HasFont());
    EXPECT_GT(words[0]->GetSize().x, 0.0f);
    EXPECT_GT(words[1]->GetSize().x, words[0]->GetSize().x);
    EXPECT_FLOAT_EQ(words[0]->GetHeight(), 20.0f) << "one line of the font is its size";
    EXPECT_GT(words[0]->GetDescent(), 0.0f);
    EXPECT_LT(words[0]->GetDescent(), 10.0f);
    EXPECT_GT(words[0]->GetTrailingGap().x, 0.0f);
    // The big word doubles every measure and shares the line's baseline.
    CDivWord* big = WordsOf(root->GetById("big"))[0];
    EXPECT_NEAR(big->GetSize().x, 2.0f * words[0]->GetSize().x, 1e-3f);
    EXPECT_FLOAT_EQ(words[0]->GetLineDescent(), big->GetDescent());
    EXPECT_FLOAT_EQ(words[0]->GetDrawPosition().y + words[0]->GetHeight() - words[0]->GetDescent(),
                    big->GetDrawPosition().y + big->GetHeight() - big->GetDescent());
    // Without the registry there is no finder, and a word takes no place.
    CFoundry::Toggle(false);
    LayOut(*root);
    EXPECT_FALSE(WordsOf(root->GetById("t"))[0]->HasFont());
    CMaterialSet::Toggle(false);
    CTextureSet::Toggle(false);
}
