// The button registry: enabled flags by action and the templates of the document "buttons", and
// the scene's play service that drives the flags for the puzzle.
#include "core/CXmlNode.h"
#include "core/TextFields.h"
#include "scene/CScenePlayServices.h"
#include "ui/ButtonFixture.h"

#include <fstream>
#include <iterator>

namespace
{

TEST_F(ButtonTest, ActionsAreEnabledUntilSetOtherwiseCaseByCase)
{
    CButtons* buttons = CButtons::Instance();
    EXPECT_TRUE(buttons->IsEnabled("back"));
    buttons->SetEnabled("back", false);
    EXPECT_FALSE(buttons->IsEnabled("back"));
    EXPECT_TRUE(buttons->IsEnabled("Back"));
    EXPECT_TRUE(buttons->IsEnabled("redo"));
    buttons->SetEnabled("back", true);
    EXPECT_TRUE(buttons->IsEnabled("back"));

    // The puzzle's service reaches the same flags, which every button of the action reads.
    CButton undo;
    Load(undo, R"(<button type="plain" action="redo"/>)");
    CScenePlayServices services;
    services.SetButtonEnabled("redo", false);
    EXPECT_FALSE(buttons->IsEnabled("redo"));
    EXPECT_FALSE(undo.IsEnabled());
    services.SetButtonEnabled("redo", true);
    EXPECT_TRUE(undo.IsEnabled());
}

TEST_F(ButtonTest, TemplatesAreTheRootsChildrenByName)
{
    CButtons* buttons = CButtons::Instance();
    EXPECT_FALSE(buttons->HasReadDocument());
    CXmlNode* round = buttons->FindType("round");
    ASSERT_NE(nullptr, round);
    EXPECT_EQ("0.5", round->GetAttribute("radius"));
    EXPECT_EQ(nullptr, buttons->FindType("Round"));
    EXPECT_EQ(nullptr, buttons->FindType("nosuch"));
    EXPECT_EQ(nullptr, buttons->FindType(""));
    // Read once: a changed file is not seen by the same registry.
    m_folder.WriteData("buttons.xml", "<buttons><other/></buttons>");
    EXPECT_EQ(round, buttons->FindType("round"));

    CButtons::Toggle(false);
    EXPECT_NE(nullptr, CButtons::Instance()->FindType("other"));
    CButtons::Toggle(false);
    m_folder.WriteData("buttons.xml", "<buttons><broken");
    EXPECT_EQ(nullptr, CButtons::Instance()->FindType("broken"));
}

TEST(ButtonContent, TheShippedTemplatesShowTheirCells)
{
    std::ifstream file(FROG_SOURCE_DIR "/data/buttons.xml");
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    CXmlDocument document;
    ASSERT_TRUE(document.Parse(text, false));
    const char* kCells[] = {"0,0,0.25,0.25", "0.25,0,0.5,0.25", "0.5,0,0.75,0.25", "0.75,0,1,0.25"};
    int i = 0;
    for (const char* type : {"undo", "redo", "hint", "menu"})
    {
        CXmlNode* pattern = document.FindNode(type);
        ASSERT_NE(nullptr, pattern) << type;
        CXmlNode* frames = pattern->FindChild("frames");
        ASSERT_NE(nullptr, frames) << type;
        int count = 0;
        for (CXmlNode* frame = frames->FirstChild(); frame; frame = frame->NextSibling(), ++count)
        {
            EXPECT_EQ("buttons", frame->GetAttribute("material")) << type;
            EXPECT_EQ(kCells[i], frame->GetAttribute("uvs")) << type;
        }
        CXmlNode* state = pattern->FindChild("state");
        ASSERT_NE(nullptr, state) << type;
        for (const char* look : ButtonStateSet::kLookNames)
            EXPECT_LT(ParseInt(state->GetAttribute(std::string(look) + "/frame").c_str()), count) << type;
        ++i;
    }
}

} // namespace
