// The debug overlays' queues and the puzzle schematic, without a context.
#include "scene/CDebug.h"
#include "scene/CDebugPreview.h"
#include "support/AppFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace
{
TEST(DebugTest, ShapesLiveTheirLifetimeAndCirclesClose)
{
    CDebug* debug = CDebug::Instance();
    debug->AddLine(Vector2<float>(), Vector2<float>(1.0f, 1.0f), Vector4<float>(1.0f, 0.0f, 0.0f, 1.0f), 0.0f);
    debug->AddText(Vector2<float>(), "note", 2.0f);
    debug->AddCircle(Vector2<float>(3.0f, 4.0f), 2.0f, Vector4<float>(), 1.0f);
    ASSERT_EQ(debug->GetLines().size(), 25u);
    const CDebug::Line& first = debug->GetLines()[1];
    const CDebug::Line& last = debug->GetLines().back();
    EXPECT_EQ(first.start, Vector2<float>(5.0f, 4.0f));
    EXPECT_EQ(last.end, Vector2<float>(5.0f, 4.0f));
    EXPECT_NEAR(debug->GetLines()[18].end.y, 2.0f, 1e-5f) << "270 degrees is straight down the y axis";

    debug->Expire(0);
    EXPECT_EQ(debug->GetLines().size(), 24u) << "a lifetime of 0 ends before any draw";
    debug->Expire(1000);
    EXPECT_TRUE(debug->GetLines().empty());
    EXPECT_EQ(debug->GetTexts().size(), 1u);
    CDebug::Toggle(false);
}

TEST(DebugTest, TheSchematicMarksTheKnobsOfHomeAndGoal)
{
    AppFolder app;
    ::mkdir(app.PathOf("data/puzzle").c_str(), 0700);
    app.WriteData("puzzle/p.xml", R"(<puzzle><layout><knob position="1,2"/><knob position="1,2"/>
        <knob position="3,0"/><knob position="5"/></layout><home pose="00002100"/><goal pose="bad"/></puzzle>)");
    CDebugPreview* preview = CDebugPreview::Instance();
    preview->Load("p");
    const auto& cells = preview->GetCells();
    ASSERT_EQ(cells.size(), 3u) << "one square for a repeated knob";
    EXPECT_TRUE(cells.at({2, 1}).poseMark) << "limb 1 of home stands on (1, 2)";
    EXPECT_FALSE(cells.at({0, 3}).poseMark);
    EXPECT_TRUE(cells.at({5, 5}).knob) << "a missing second field repeats the first";
    EXPECT_EQ(cells.begin()->first, (CDebugPreview::Key{0, 3})) << "ordered by row";
    preview->Load("missing");
    EXPECT_TRUE(preview->GetCells().empty());
    CDebugPreview::Toggle(false);
}
} // namespace
