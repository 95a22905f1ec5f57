#include "core/CDictionary.h"
#include "core/CTranslates.h"
#include "core/TranslateScope.h"
#include "support/AppFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
const char* const kText = R"(<text>
  <!-- the first element groups the texts -->
  <english>
    <greeting>Hello</greeting>
    <par_line>Par: %puz_par%</par_line>
    <spaced>
  two lines  </spaced>
    <markup><![CDATA[a <b> c]]></markup>
    <mixed>a<![CDATA[b]]></mixed>
    <twice>first</twice>
    <twice>second</twice>
    <nothing></nothing>
    <sale>50% off</sale>
    <empty_ref>x%%y</empty_ref>
    <unknown_ref>see %nope% here</unknown_ref>
    <self>x%self%</self>
    <ping>A%pong%</ping>
    <pong>B%ping%</pong>
  </english>
  <ignored><greeting>other</greeting></ignored>
</text>
)";

class Probe : public CTranslates
{
  public:
    void Retranslate(const char* key) override { told.emplace_back(key); }
    std::vector<std::string> told;
};

class DictionaryTest : public testing::Test
{
  protected:
    CDictionary* Dictionary()
    {
        CSingleton<CFileSystem>::Instance();
        return CSingleton<CDictionary>::Instance();
    }

    AppFolder m_app;
};
} // namespace

TEST_F(DictionaryTest, LookUpsAndReferences)
{
    m_app.WriteData("text.xml", kText);
    CDictionary* dictionary = Dictionary();
    EXPECT_EQ(dictionary->GetText("greeting"), "Hello");
    EXPECT_EQ(dictionary->GetText("spaced"), "\n  two lines  ");
    EXPECT_EQ(dictionary->GetText("markup"), "a <b> c");
    EXPECT_EQ(dictionary->GetText("mixed"), "a") << "the first text child is the key's text";
    EXPECT_EQ(dictionary->GetText("twice"), "second");
    EXPECT_TRUE(dictionary->HasText("nothing"));
    EXPECT_EQ(dictionary->GetText("nothing"), "");
    EXPECT_EQ(dictionary->GetText("absent_key"), "absent_key");
    EXPECT_EQ(dictionary->GetText(""), "");
    EXPECT_EQ(dictionary->GetText("sale"), "50 off") << "an unmatched % is dropped";
    EXPECT_EQ(dictionary->GetText("empty_ref"), "x[]y");
    EXPECT_EQ(dictionary->GetText("unknown_ref"), "see [nope] here");
    EXPECT_EQ(dictionary->GetText("par_line"), "Par: [puz_par]");
    dictionary->SetText("puz_par", "12");
    EXPECT_EQ(dictionary->GetText("par_line"), "Par: 12");
    EXPECT_EQ(dictionary->GetText("%greeting%, %puz_par% frogs"), "Hello, 12 frogs");
    EXPECT_EQ(dictionary->ExpandReferences("no signs"), "no signs");
    EXPECT_EQ(dictionary->ExpandReferences("%greeting%!"), "Hello!");

    // A missing document leaves an empty dictionary that still answers.
    std::remove(m_app.PathOf("data/text.xml").c_str());
    EXPECT_FALSE(dictionary->Load());
    EXPECT_EQ(dictionary->GetText("greeting"), "greeting");
}

TEST_F(DictionaryTest, CyclesAndDeepNestingEnd)
{
    m_app.WriteData("text.xml", kText);
    CDictionary* dictionary = Dictionary();
    EXPECT_EQ(dictionary->GetText("self"), "x[self]");
    EXPECT_EQ(dictionary->GetText("ping"), "AB[ping]");
    EXPECT_EQ(dictionary->GetText("pong"), "BA[pong]");

    // chain: link0 -> link1 -> ... -> link<n> = "end".
    auto makeChain = [dictionary](int length)
    {
        for (int i = 0; i < length; ++i)
            dictionary->SetText("link" + std::to_string(i), "%link" + std::to_string(i + 1) + "%");
        dictionary->SetText("link" + std::to_string(length), "end");
    };
    makeChain(CDictionary::kMaxDepth);
    EXPECT_EQ(dictionary->GetText("link0"), "end") << "16 nested references resolve";
    makeChain(CDictionary::kMaxDepth + 1);
    EXPECT_EQ(dictionary->GetText("link0"), "[link17]");

    // Each level doubles the work: bounded, not exponential.
    for (int i = 0; i < 15; ++i)
        dictionary->SetText("fan" + std::to_string(i),
                            "%fan" + std::to_string(i + 1) + "%%fan" + std::to_string(i + 1) + "%");
    dictionary->SetText("fan15", "z");
    const CString fanned = dictionary->GetText("fan0");
    EXPECT_LE(fanned.size(), size_t(CDictionary::kMaxReferences) * 8);
    EXPECT_NE(fanned.find("[fan"), std::string::npos);
}

TEST_F(DictionaryTest, ChangedTextsRetranslateTheirUsers)
{
    m_app.WriteData("text.xml", kText);
    CDictionary* dictionary = Dictionary();
    Probe pane, other, bystander;
    {
        TranslateScope scope(&pane);
        dictionary->GetText("par_line"); // refers to a variable not set yet
        {
            TranslateScope inner(&other);
            dictionary->GetText("greeting");
        }
        dictionary->GetText("puz_title"); // a variable looked up directly
    }
    dictionary->GetText("greeting"); // outside any scope: recorded for nobody
    EXPECT_TRUE(pane.UsesKey("par_line"));
    EXPECT_TRUE(pane.UsesKey("puz_par"));
    EXPECT_FALSE(pane.UsesKey("greeting"));

    dictionary->SetText("puz_par", "12");
    EXPECT_EQ(pane.told, std::vector<std::string>{"puz_par"});
    dictionary->SetText("puz_par", "12");
    EXPECT_EQ(pane.told.size(), 1u) << "the same text again tells nobody";
    dictionary->SetText("puz_title", "Lily pads");
    dictionary->SetText("greeting", "Hi");
    EXPECT_EQ(pane.told, (std::vector<std::string>{"puz_par", "puz_title"}));
    EXPECT_EQ(other.told, std::vector<std::string>{"greeting"});
    EXPECT_TRUE(bystander.told.empty());
}
