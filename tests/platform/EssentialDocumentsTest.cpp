#include "platform/EssentialDocuments.h"
#include "support/AppFolder.h"

#include <gtest/gtest.h>

TEST(EssentialDocumentsTest, AMissingEmptyOrDamagedEssentialIsNamedWithWhatIsWrong)
{
    AppFolder app;
    const std::string rules = app.PathOf("data/rules.xml"), game = app.PathOf("data/game.xml");
    struct Case
    {
        const char* rulesText; // null: no file
        const char* gameText;
        std::string problem;
    } cases[] = {
        {"<rules/>", "<game><draw/></game>", ""},
        {"\xEF\xBB\xBF<rules/>", "<game/>", ""},
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
