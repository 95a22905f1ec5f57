// The cursor's looks by name and button, its timed return to "default" and what its document
// registers; the console's typing and its toggle.
#include "Graphics/CMaterialSet.h"
#include "core/CXmlDocument.h"
#include "platform/CConsole.h"
#include "platform/CCursor.h"
#include "platform/CControls.h"
#include "platform/CGame.h"
#include "platform/InputEvent.h"
#include "support/AppFolder.h"

#include <gtest/gtest.h>

namespace
{
class CursorTest : public testing::Test
{
  protected:
    ~CursorTest() override
    {
        CCursor::Toggle(false);
        CSingleton<CConsole>::Toggle(false);
        CMaterialSet::Toggle(false);
        CGame::Toggle(false);
    }
    CCursor* Read(const char* document)
    {
        m_app.WriteData("cursor.xml", document);
        CCursor::Toggle(false);
        return CCursor::Instance();
    }
    int CountIn(const char* group) { return CGame::Instance()->GetScope("global").GetControls().CountInGroup(group); }

    AppFolder m_app;
};

TEST_F(CursorTest, TheLookFollowsTheNameAndTheLeftButton)
{
    CCursor* cursor = Read(R"(<cursor><default size="2,1" hotspot="0.5" colour="1,0,0,1"/>
        <default-p uvs="0.5,0,1,1"/><grab/><touch size="40"/></cursor>)");
    ASSERT_TRUE(cursor->HasCursors());
    EXPECT_EQ(cursor->GetCurrent(), "default");
    EXPECT_EQ(cursor->GetFallbackTime(), CCursor::kNever);
    EXPECT_EQ(CountIn("app"), 1);

    const CCursor::Look* plain = cursor->ChooseLook(false);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->rect, Vector4<float>(-1.0f, -0.5f, 1.0f, 0.5f)) << "size about the hotspot";
    EXPECT_EQ(plain->colour, Vector4<float>(1.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_EQ(cursor->ChooseLook(true)->uvs, Vector4<float>(0.5f, 0.0f, 1.0f, 1.0f)) << "pressed look";

    // "grab" has no pressed look; a name the document lacks has no look at all.
    cursor->SetCursor("grab", 500);
    EXPECT_EQ(cursor->ChooseLook(true)->rect, Vector4<float>(0.0f, 0.0f, 0.5f, 0.5f));
    EXPECT_EQ(cursor->GetFallbackTime(), 500) << "default returns 500 ms from now";
    cursor->SetCursor("grab", 0);
    EXPECT_EQ(cursor->GetFallbackTime(), CCursor::kNever);
    cursor->SetCursor("nosuch", 0);
    EXPECT_EQ(cursor->ChooseLook(false), nullptr);

    EXPECT_FALSE(cursor->IsMarkerPending());
    cursor->SetMarkerPosition(Vector2<float>(10.0f, 20.0f));
    EXPECT_TRUE(cursor->IsMarkerPending());
    // A draw shows the pending marker once and reports it shown; the next, with none, does not.
    EXPECT_FALSE(cursor->IsMarkerShown());
    cursor->Draw();
    EXPECT_FALSE(cursor->IsMarkerPending());
    EXPECT_TRUE(cursor->IsMarkerShown());
    cursor->Draw();
    EXPECT_FALSE(cursor->IsMarkerShown());

    // No touch sprite: a pending marker counts as shown at every draw.
    cursor = Read("<cursor><default/></cursor>");
    cursor->SetMarkerPosition(Vector2<float>(10.0f, 20.0f));
    cursor->Draw();
    EXPECT_TRUE(cursor->IsMarkerShown());

    // Only a marker: a drawing but no control and no cursor.
    cursor = Read("<cursor><touch/></cursor>");
    EXPECT_FALSE(cursor->HasCursors());
    EXPECT_EQ(CountIn("app"), 0);
    EXPECT_TRUE(cursor->CDrawing::IsRegistered());
    cursor = Read("not a document");
    EXPECT_FALSE(cursor->CDrawing::IsRegistered());
}

TEST_F(CursorTest, TheConsoleEchoesPrintableKeysWhileShown)
{
    CConsole* console = CConsole::Instance();
    EXPECT_FALSE(console->IsVisible());
    console->Toggle();
    EXPECT_EQ(CountIn("console"), 1);
    for (uint32_t key : {uint32_t('a'), 13u, 8u, uint32_t('b'), 273u, 256u})
        EXPECT_TRUE(console->OnKey(InputEvent::Key(true, key, 0, 0))) << "every key is taken";
    EXPECT_EQ(console->GetText(), CString("ab") + char(17)) << "return and control keys add nothing";
    console->Toggle();
    EXPECT_FALSE(console->CDrawing::IsRegistered());
    EXPECT_EQ(CountIn("console"), 0);
    console->Toggle();
    EXPECT_EQ(console->GetText().size(), 3u) << "the text is kept";
}
} // namespace
