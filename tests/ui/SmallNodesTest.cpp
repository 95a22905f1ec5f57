// The small node kinds: style aliases, line breaks, font steps, image frames, links with their
// throttle, and transform keyframes panning their pane.
#include "core/CRules.h"
#include "platform/CView.h"
#include "support/AppFolder.h"
#include "support/FakeClock.h"
#include "support/TestScopes.h"
#include "ui/ButtonFixture.h"
#include "ui/CDivA.h"
#include "ui/CDivFont.h"
#include "ui/CDivImg.h"
#include "ui/CDivPane.h"
#include "ui/CDivTransform.h"
#include "ui/DivFixture.h"
#include "ui/FixedFontMetrics.h"

#include <gtest/gtest.h>

#include <utility>

namespace
{
class LinkServices : public RecordingButtonServices
{
  public:
    void LaunchBrowser(const char* url) override { posts.push_back(std::string("browse ") + url); }
    // The cursor's draw: shows the marker asked for since the last one.
    void SetMarkerPosition(const Vector2<float>&) override { markerPending = true; }
    bool IsMarkerShown() override { return markerShown; }
    void DrawCursor() { markerShown = std::exchange(markerPending, false); }

    bool markerPending = false, markerShown = false;
};

InputEvent Pointer(InputEvent::Kind kind, float x, float y, uint8_t held)
{
    return InputEvent::Pointer(kind, Vector2<float>(x, y), held, InputEvent::kLeft);
}
} // namespace

TEST(SmallNodes, AliasesBreaksAndFontsLendTheirStyle)
{
    FixedFonts fonts;
    AppFolder folder;
    folder.WriteData("rules.xml", R"(<rules><default fontsize="20"/></rules>)");
    CRules::Instance()->Load();
    CRef<CDiv> root = BuildTree(R"(<pane width="1000" style="font-size: 10;">
        <i id="i">a</i><b id="b">b</b><em id="em">c</em><centre id="centre">d</centre><I id="I">e</I>
        <Div id="flow">aa<Br/>bb</Div><Font id="f3" size="3" color="#ff0000"/><Font id="f5" size="5" glow="0,0,1,1"/>
        </pane>)");
    EXPECT_EQ(root->GetById("i")->GetFontStyle(), CDiv::kFontItalic);
    EXPECT_EQ(root->GetById("b")->GetFontStyle(), CDiv::kFontBold);
    EXPECT_EQ(root->GetById("em")->GetFontStyle(), CDiv::kFontNormal);
    EXPECT_EQ(root->GetById("centre")->GetHAlign(), CDiv::kAlignMiddle);
    // "I" is an alias by the registry, which ignores case, but sets nothing: the tag test is exact.
    EXPECT_EQ(root->GetById("I")->GetClassName(), "alias");
    EXPECT_EQ(root->GetById("I")->GetFontStyle(), CDiv::kFontNormal);
    EXPECT_FLOAT_EQ(root->GetById("f3")->GetFontSize(), 20.0f);
    EXPECT_FLOAT_EQ(root->GetById("f5")->GetFontSize(), 20.0f * 1.8225f);
    EXPECT_EQ(root->GetById("f3")->GetColour(), Vector4<float>(1, 0, 0, 1));
    EXPECT_EQ(root->GetById("f5")->GetShadowColour(), Vector4<float>(0, 0, 1, 1));

    LayOut(*root);
    // The break starts a new line although the first has room.
    const std::vector<CRef<CDiv>>& texts = root->GetById("flow")->GetChildren();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_FLOAT_EQ(texts[2]->GetChildren()[0]->GetPosition().y - texts[0]->GetChildren()[0]->GetPosition().y, 10.0f);
    EXPECT_FALSE(CDiv::CreateForTag("Br")->Layout(CRef<CDivLine>()));
}

TEST(SmallNodes, ImageFramesAreLimitedToTheLast)
{
    AppFolder folder;
    const struct
    {
        const char* frame;
        uint32_t expected;
    } cases[] = {{"", 0}, {"1", 1}, {"7", 2}, {"-1", 2}};
    for (const auto& c : cases)
    {
        CRef<CDiv> root = BuildTree((std::string(R"(<pane><Img id="img" width="4" height="2" frame=")") + c.frame +
                                     R"("><f/><f uvs="0,0,0.5,0.5"/><f/></Img></pane>)")
                                        .c_str());
        CDivImg* image = static_cast<CDivImg*>(root->GetById("img"));
        ASSERT_EQ(image->GetFrames().size(), 3u);
        EXPECT_EQ(image->GetFrame(), c.expected) << c.frame;
        EXPECT_EQ(image->GetFrames()[1].GetQuadRect(0), Vector4<float>(0, 0, 4, 2));
        EXPECT_EQ(image->GetFrames()[1].GetQuadUv(0, 0), Vector4<float>(0, 0, 0.5f, 0.5f));
    }
    CRef<CDiv> bare = BuildTree(R"(<pane><Img id="img" frame="3"/></pane>)");
    EXPECT_EQ(static_cast<CDivImg*>(bare->GetById("img"))->GetFrame(), 0u);
}

TEST(SmallNodes, LinksFireOnAReleaseOverThemWithAThrottle)
{
    FixedFonts fonts;
    FakeClock clock;
    LinkServices services;
    CButtonServices* previous = CButtonServices::Install(&services);
    clock.Set(5000);
    CRef<CDiv> root = BuildTree(R"(<pane width="1000" style="font-size: 10;">
        <A id="go" href="settings" value="7">go</A><A id="web" href="https://example.org" throttle="0">web</A>
        <A id="file" href="file:///etc/passwd">file</A></pane>)");
    LayOut(*root);
    CDivA* link = static_cast<CDivA*>(root->GetById("go"));
    const Vector2<float> on = link->GetChildren()[0]->GetChildren()[0]->GetPosition() + Vector2<float>(2, 2);
    // A press, one frame (the link asks for the marker, the cursor shows it), a release.
    auto click = [&](CDivA* target, const Vector2<float>& down, const Vector2<float>& up) {
        services.pointer = down;
        target->OnPress(Pointer(InputEvent::kButtonDown, down.x, down.y, InputEvent::kLeft));
        target->Draw();
        services.DrawCursor();
        return target->OnRelease(Pointer(InputEvent::kButtonUp, up.x, up.y, 0));
    };

    // Released before the cursor has shown the press marker: taken, but nothing fires.
    services.pointer = on;
    EXPECT_TRUE(link->OnPress(Pointer(InputEvent::kButtonDown, on.x, on.y, InputEvent::kLeft)));
    EXPECT_TRUE(link->IsPressed()) << "its words are drawn pressed";
    EXPECT_TRUE(link->OnRelease(Pointer(InputEvent::kButtonUp, on.x, on.y, 0)));
    EXPECT_TRUE(services.posts.empty());
    EXPECT_TRUE(click(link, on, on));
    ASSERT_EQ(services.posts.size(), 1u);
    EXPECT_EQ(services.posts[0], "settings(7)");
    // Within the throttle: neither fired nor taken.
    clock.Advance(500);
    EXPECT_FALSE(click(link, on, on));
    clock.Advance(600);
    // A press elsewhere and a release over the link fires nothing, but the release is taken.
    EXPECT_TRUE(click(link, Vector2<float>(900, 900), on));
    EXPECT_EQ(services.posts.size(), 1u);
    link->SetEnabled(false);
    EXPECT_FALSE(click(link, on, on));
    link->SetEnabled(true);
    link->SetActive(false);
    EXPECT_FALSE(click(link, on, on));
    link->SetActive(true);
    EXPECT_TRUE(click(link, on, on));
    EXPECT_EQ(services.posts.size(), 2u);

    // Web addresses go to the browser, every time with a throttle of 0; other schemes open nothing.
    CDivA* web = static_cast<CDivA*>(root->GetById("web"));
    const Vector2<float> onWeb = web->GetChildren()[0]->GetChildren()[0]->GetPosition() + Vector2<float>(2, 2);
    EXPECT_TRUE(click(web, onWeb, onWeb));
    EXPECT_TRUE(click(web, onWeb, onWeb));
    EXPECT_EQ(services.posts.back(), "browse https://example.org");
    EXPECT_EQ(services.posts.size(), 4u);
    EXPECT_FALSE(CDivA::IsWebAddress(static_cast<CDivA*>(root->GetById("file"))->GetHref()));
    CButtonServices::Install(previous);
}

TEST(SmallNodes, TransformsPanTheirPaneToEachKeyframe)
{
    FakeClock clock;
    TestScopes scopes;
    AppFolder folder;
    CView::SetScreen(Vector2<int32_t>(320, 480), 0.0f, Vector4<float>(-1, -1, 9, 9), 0.5f, 0.75f);
    CRef<CDivPane> pane = CDivPane::CreateByName(R"(<pane><Transform id="ignored" style="font-size: 99;">
        <home/><settings pan="1" zoom="1" time="1"/><about pan="0,-1.5" zoom="2"/><settings pan="2,0" time="1"/>
        </Transform></pane>)");
    pane->SetClock(scopes.Global());
    ASSERT_EQ(pane->GetChildren().size(), 1u);
    CDivTransform* transform = static_cast<CDivTransform*>(pane->GetChildren()[0].Get());
    EXPECT_EQ(transform->GetKeyframes().size(), 3u) << "a later keyframe of a name replaces the earlier";
    EXPECT_TRUE(transform->GetId().empty());

    EXPECT_FALSE(transform->OnEvent(InputEvent::Command("about", "")));
    EXPECT_EQ(pane->GetPanZoom(), Vector4<float>(0, -1.5f, 2, 0)) << "a time of 0 moves at once";
    // Input follows: the tree is moved by 1.5 heights of the screen's view (13.5 cells at 320 x 480)
    // times the pane's scale, then zoomed about the pane's corner.
    const Vector4<float> r = pane->GetRect();
    const Vector2<float> mapped = pane->MapToTree(Vector2<float>(r.x + 10, r.y + 10));
    EXPECT_NEAR(mapped.x, 5.0f, 1e-3f);
    EXPECT_NEAR(mapped.y, 5.0f + 1.5f * 13.5f * pane->GetScale(), 1e-3f);
    EXPECT_FALSE(transform->OnEvent(InputEvent::Command("nothing", "")));
    EXPECT_EQ(pane->GetPanZoom(), Vector4<float>(0, -1.5f, 2, 0));
    EXPECT_FALSE(transform->OnEvent(InputEvent::Command("settings", "")));
    for (int i = 0; i < 10; ++i)
    {
        clock.Advance(100);
        scopes.Update();
    }
    EXPECT_EQ(pane->GetPanZoom(), Vector4<float>(2, 0, 1, 0));
    EXPECT_FALSE(transform->OnEvent(InputEvent::Command("home", "")));
    EXPECT_EQ(pane->GetPanZoom(), Vector4<float>(0, 0, 1, 0));

    // Under a root that is not a pane, nothing moves; without keyframes nothing registers.
    CRef<CDiv> plain = BuildTree("<div><Transform><home pan=\"1\"/></Transform><Transform/></div>");
    EXPECT_FALSE(plain->GetChildren()[0]->OnEvent(InputEvent::Command("home", "")));
    EXPECT_FALSE(static_cast<CDivTransform*>(plain->GetChildren()[1].Get())->IsRegistered());
}
