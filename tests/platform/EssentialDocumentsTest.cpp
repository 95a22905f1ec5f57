#include "platform/EssentialDocuments.h"
#include "platform/GameOrder.h"
#include "support/AppFolder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace
{
// A game document that names every pass and group, followed by the extra ones given.
std::string GameText(const std::string& extraPass = "", const std::string& extraGroup = "")
{
    std::string text = "<game><draw>";
    for (std::string_view pass : GamePasses())
        text += "<pass id=\"" + std::string(pass) + "\"/>";
    text += extraPass + "</draw><control>";
    for (std::string_view group : GameControlGroups())
        text += "<group id=\"" + std::string(group) + "\"/>";
    return text + extraGroup + "</control></game>";
}
} // namespace

TEST(EssentialDocumentsTest, AMissingEmptyOrDamagedEssentialIsNamedWithWhatIsWrong)
{
    AppFolder app;
    const std::string rules = app.PathOf("data/rules.xml"), game = app.PathOf("data/game.xml");
    const std::string whole = GameText();
    struct Case
    {
        const char* rulesText; // null: no file
        const char* gameText;
        std::string problem;
    } cases[] = {
        {"<rules/>", whole.c_str(), ""},
        {"\xEF\xBB\xBF<rules/>", whole.c_str(), ""},
        // Valid however the end is written: a comment or blanks after the top element, a blank
        // before the closing ">".
        {"<rules><ui a=\"1\"/></rules>\n<!-- tuned by hand -->\n  \n", whole.c_str(), ""},
        {"<rules><ui a=\"1\"/></rules >", whole.c_str(), ""},
        {"<rules><ui a=\"1\"/></rules\n>\t", whole.c_str(), ""},
        {nullptr, "<game/>", "missing " + rules},
        {"", "<game/>", rules + " is empty"},
        {"<rules><ui clearcolour=\"#fff\"", "<game/>", rules + " is damaged: not one whole XML document"},
        {"<rules><ui clearcolour=\"#fff\" />\n", "<game/>",
         rules + " is damaged: not one whole XML document"},
        {"\x89PNG garbage", "<game/>", rules + " is damaged: not one whole XML document"},
        {"<rules/>", nullptr, "missing " + game},
        {"<rules/>", "<game/><game/>", game + " is damaged: not one whole XML document"},
    };
    for (const Case& c : cases)
    {
        std::remove(rules.c_str());
        std::remove(game.c_str());
        if (c.rulesText)
            app.WriteData("rules.xml", c.rulesText);
        if (c.gameText)
            app.WriteData("game.xml", c.gameText);
        EXPECT_EQ(EssentialDocuments::CheckAll(), c.problem) << (c.rulesText ? c.rulesText : "no rules");
    }
}

// A file with a byte flipped still parses, leniently, as some tree: an essential one is read
// strictly.
TEST(EssentialDocumentsTest, AFlippedByteIsRefusedWithWhatIsWrong)
{
    AppFolder app;
    const std::string rules = app.PathOf("data/rules.xml");
    const std::string damaged = rules + " is damaged: not one whole XML document";
    struct Case
    {
        std::string rulesText, problem;
    } cases[] = {
        {"<?xml version=\"1.0\"?>\n<!-- a > b --><rules>\n  <ui a=\"x > y\" b=2\n c = \"\"/><!-- c --><t><![CDATA[<>]]>"
         "text &amp; more</t></rules>\n",
         ""},
        {"<rules><ui a=\"1\"/></rulXs>", damaged},
        {"<rules><ui a=\"1\" b/></rules>", damaged},
        {"<rules><ui a=\"1/></rules>", damaged},
        {"<rules><u=i a=\"1\"/></rules>", damaged},
        {"<rules><ui a=\"1\"\x1a/></rules>", damaged},
        {"<rules><ui a=\"1\"/>\x1a</rules>x", damaged},
        {"<rules><ui a=\"1\"/></rules><!-- open", damaged},
        {"<rules><ui a=\"1\"\"\n b=\"2\"/></rules>", damaged},
        {std::string("<rules><ui a=\"1\"/>") + '\0' + "</rules>", damaged},
        {"<rules/>>", damaged},
        {"<rules><![cdata[x]]></rules>", damaged},
        {"<rules><!DOCTYPE x></rules>", damaged},
        {"<rules></rules></rules>", damaged},
    };
    for (const Case& c : cases)
    {
        app.WriteData("rules.xml", c.rulesText);
        app.WriteData("game.xml", GameText());
        EXPECT_EQ(EssentialDocuments::CheckAll(), c.problem) << c.rulesText;
    }
}

// The game document is refused only where the game could not run: a pass the game draws in or a
// group its controls join is missing. What else it names, and in what order, is the content's.
TEST(EssentialDocumentsTest, AGameDocumentIsRefusedOnlyForAMissingPassOrGroup)
{
    AppFolder app;
    app.WriteData("rules.xml", "<rules/>");
    const std::string game = app.PathOf("data/game.xml");
    const std::string whole = GameText();
    const auto without = [&](const std::string& element)
    {
        std::string text = whole;
        return text.replace(text.find(element), element.size(), "");
    };
    struct Case
    {
        std::string gameText, problem;
    } cases[] = {
        {whole, ""},
        {GameText("<pass id=\"pXnd\"/><pass/><pass id=\"\"/><pass id=\"pond\"/>"), ""},
        {GameText("", "<group id=\"spare\"/><group id=\"app\"/>"), ""},
        {without("<pass id=\"pond\"/>"), game + ": the pass \"pond\" is missing from \"draw\""},
        {without("<group id=\"skeleton\"/>"), game + ": the group \"skeleton\" is missing from \"control\""},
        {"<game><draw/><control/></game>", game + ": the pass \"predraw1\" is missing from \"draw\""},
        {"<game/>", game + ": no \"draw\" element"},
        {"<game><draw>" + whole.substr(whole.find("<pass"), whole.find("</draw>") - whole.find("<pass")) +
             "</draw></game>",
         game + ": no \"control\" element"},
    };
    for (const Case& c : cases)
    {
        app.WriteData("game.xml", c.gameText);
        EXPECT_EQ(EssentialDocuments::CheckAll(), c.problem) << c.gameText;
    }

    // The shipped documents are whole, and name every pass and group of the game.
    app.WriteData("rules.xml", TempFolder::ReadFile(FROG_SOURCE_DIR "/data/rules.xml"));
    app.WriteData("game.xml", TempFolder::ReadFile(FROG_SOURCE_DIR "/data/game.xml"));
    EXPECT_EQ(EssentialDocuments::CheckAll(), "");
}
