#include "platform/EssentialDocuments.h"
#include "platform/GameOrder.h"
#include "support/AppFolder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace
{
// A game document that names every pass and group, with extra as the last pass's attributes.
std::string GameText(const std::string& extraPass = "")
{
    std::string text = "<game><draw>";
    for (std::string_view pass : GamePasses())
        text += "<pass id=\"" + std::string(pass) + "\"/>";
    text += extraPass + "</draw><control>";
    for (std::string_view group : GameControlGroups())
        text += "<group id=\"" + std::string(group) + "\"/>";
    return text + "</control></game>";
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
// strictly, and the game document must name every pass and group the game has, and no other.
TEST(EssentialDocumentsTest, AFlippedByteOrAnUnknownPassIsRefusedWithWhatIsWrong)
{
    AppFolder app;
    const std::string rules = app.PathOf("data/rules.xml"), game = app.PathOf("data/game.xml");
    const std::string damaged = rules + " is damaged: not one whole XML document";
    const std::string pond = "<pass id=\"pond\"/>";
    struct Case
    {
        std::string rulesText, gameText, problem;
    } cases[] = {
        {"<?xml version=\"1.0\"?>\n<!-- a > b --><rules>\n  <ui a=\"x > y\" b=2\n c = \"\"/><!-- c --><t><![CDATA[<>]]>"
         "text &amp; more</t></rules>\n",
         GameText(), ""},
        {"<rules><ui a=\"1\"/></rulXs>", GameText(), damaged},
        {"<rules><ui a=\"1\" b/></rules>", GameText(), damaged},
        {"<rules><ui a=\"1/></rules>", GameText(), damaged},
        {"<rules><u\xa3i a=\"1\"/></rules>", GameText(), damaged},
        {"<rules><ui a=\"1\"\x1a/></rules>", GameText(), damaged},
        {"<rules><ui a=\"1\"/>\x1a</rules>x", GameText(), damaged},
        {"<rules><ui a=\"1\"/></rules><!-- open", GameText(), damaged},
        {"<rules/>", GameText("<pass id=\"\"/>"), game + ": a pass in \"draw\" without an id"},
        {"<rules/>", GameText("<pass id=\"pXnd\"/>"),
         game + ": the pass \"pXnd\" in \"draw\" is not one of the game's"},
        {"<rules/>", GameText().replace(GameText().find(pond), pond.size(), ""),
         game + ": the pass \"pond\" is missing from \"draw\""},
        {"<rules/>", "<game><draw/></game>", game + ": the pass \"predraw1\" is missing from \"draw\""},
        {"<rules/>", "<game/>", game + ": no \"draw\" element"},
    };
    for (const Case& c : cases)
    {
        app.WriteData("rules.xml", c.rulesText);
        app.WriteData("game.xml", c.gameText);
        EXPECT_EQ(EssentialDocuments::CheckAll(), c.problem) << c.rulesText << "\n" << c.gameText;
    }

    // The shipped documents are whole, and the game's passes and groups are the shipped ones.
    app.WriteData("rules.xml", TempFolder::ReadFile(FROG_SOURCE_DIR "/data/rules.xml"));
    app.WriteData("game.xml", TempFolder::ReadFile(FROG_SOURCE_DIR "/data/game.xml"));
    EXPECT_EQ(EssentialDocuments::CheckAll(), "");
}
