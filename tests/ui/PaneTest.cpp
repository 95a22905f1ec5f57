// Panes: loading from XML text and documents, placement on the screen, finding panes and setting
// node states by id, pointer routing, pan and zoom, and live retranslation.
#include "core/CDictionary.h"
#include "platform/CControls.h"
#include "platform/CGame.h"
#include "platform/CView.h"
#include "platform/InputEvent.h"
#include "support/AppFolder.h"
#include "support/FakeClock.h"
#include "support/TestScopes.h"
#include "ui/CDivPane.h"
#include "ui/CDivWord.h"
#include "ui/FixedFontMetrics.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace
{
class PaneTest : public testing::Test
{
  protected:
    PaneTest() { SetScreen(); }
    ~PaneTest() override { SetScreen(); }

    static void SetScreen()
    {
        CView::SetScreen(Vector2<int32_t>(320, 480), 0.0f, Vector4<float>(-1, -1, 9, 9), 0.5f, 0.75f);
    }
    static CRef<CDivPane> Pane(const char* text) { return CDivPane::CreateByName(text); }
    static InputEvent Pointer(InputEvent::Kind kind, float x, float y)
    {
        return InputEvent::Pointer(kind, Vector2<float>(x, y), 0, InputEvent::kLeft);
    }

    FakeClock m_clock;
    TestScopes m_scopes;
    AppFolder m_folder;
    FixedFonts m_fonts;
};

std::string WordsOf(CDiv* node)
{
    std::string text;
    for (const CRef<CDiv>& child : node->GetChildren())
        if (auto* word = dynamic_cast<CDivWord*>(child.Get()))
            text += (text.empty() ? "" : " ") + word->GetText();
    return text;
}
} // namespace

TEST_F(PaneTest, AttributesFromXmlText)
{
    CRef<CDivPane> plain = Pane("<pane/>");
    EXPECT_EQ(plain->GetName(), "<pane/>") << "named by the whole text";
    EXPECT_EQ(plain->GetHAnchor(), CDivPane::kAnchorLeft);
    EXPECT_EQ(plain->GetVAnchor(), CDivPane::kAnchorTop);
    EXPECT_EQ(plain->GetPlacement(), kUnsetVector4f);
    EXPECT_EQ(plain->GetShadowVector(), Vector2<float>(-8, 12));
    EXPECT_FALSE(plain->IsModal());
    EXPECT_TRUE(plain->IsLiveTranslate());
    EXPECT_TRUE(plain->IsPlacementDirty());

    CRef<CDivPane> pane = Pane(R"(<pane origin="centre" placement="1,2" shadow-vector="3" modal="TRUE"
        livetranslate="false"/>)");
    EXPECT_EQ(pane->GetHAnchor(), CDivPane::kAnchorCentre);
    EXPECT_EQ(pane->GetVAnchor(), CDivPane::kAnchorCentre);
    EXPECT_EQ(pane->GetPlacement(), Vector4<float>(1, 2, 2, 2)) << "missing fields repeat the last";
    EXPECT_EQ(pane->GetShadowVector(), Vector2<float>(3, 3));
    EXPECT_TRUE(pane->IsModal());
    EXPECT_FALSE(pane->IsLiveTranslate());

    struct
    {
        const char* origin;
        int32_t h, v;
    } origins[] = {{"centre,bottom", CDivPane::kAnchorCentre, CDivPane::kAnchorBottom},
                   {"Top, Centre", CDivPane::kAnchorCentre, CDivPane::kAnchorTop},
                   {"bottom,right", CDivPane::kAnchorRight, CDivPane::kAnchorBottom},
                   {"middle,left", CDivPane::kAnchorLeft, CDivPane::kAnchorTop}};
    for (const auto& o : origins)
    {
        CRef<CDivPane> p = Pane((std::string("<pane origin=\"") + o.origin + "\"/>").c_str());
        EXPECT_EQ(p->GetHAnchor(), o.h) << o.origin;
        EXPECT_EQ(p->GetVAnchor(), o.v) << o.origin;
    }
    for (const char* modal : {"", "false", "0"})
        EXPECT_FALSE(Pane((std::string("<pane modal=\"") + modal + "\"/>").c_str())->IsModal()) << modal;
    EXPECT_TRUE(Pane(R"(<pane modal="2"/>)")->IsModal());
    for (const char* live : {"", "true", "1"})
        EXPECT_TRUE(Pane((std::string("<pane livetranslate=\"") + live + "\"/>").c_str())->IsLiveTranslate());
}

TEST_F(PaneTest, CreatingFindingAndFailures)
{
    std::filesystem::create_directories(m_folder.PathOf("data/ui"));
    m_folder.WriteData("ui/menu.xml", R"(<pane><div id="x"/></pane>)");
    CRef<CDivPane> menu = CDivPane::CreateByName("menu");
    EXPECT_EQ(menu->GetName(), "menu");
    ASSERT_EQ(menu->GetChildren().size(), 1u);
    EXPECT_EQ(CDivPane::Find("menu").Get(), menu.Get());
    EXPECT_EQ(CDivPane::Find("Menu").Get(), nullptr) << "names compare exactly";

    // Missing documents, broken text, empty names: an empty, unnamed pane that is never found.
    for (const char* bad : {"missing", "<pane", "<a/><b/>", ""})
    {
        CRef<CDivPane> pane = CDivPane::CreateByName(bad);
        ASSERT_TRUE(pane) << bad;
        EXPECT_TRUE(pane->GetName().empty()) << bad;
        EXPECT_TRUE(pane->GetChildren().empty()) << bad;
        EXPECT_FALSE(pane->IsPlacementDirty()) << bad;
    }
    EXPECT_TRUE(CDivPane::CreateByName(nullptr)->GetName().empty());
    EXPECT_EQ(CDivPane::Find("missing").Get(), nullptr);
    EXPECT_EQ(CDivPane::Find("").Get(), nullptr);

    CRef<CDivPane> unnamed = CDivPane::CreateFromXml(nullptr);
    EXPECT_TRUE(unnamed->GetChildren().empty());
    // A pane that dies leaves the list.
    menu.Reset();
    EXPECT_EQ(CDivPane::Find("menu").Get(), nullptr);
}

TEST_F(PaneTest, PlacementAndScaleFollowTheView)
{
    const CView& screen = CView::GetScreenView();
    const Vector2<float> upp = screen.GetUnitsPerPixel();
    const float scale = 12.0f / (400.0f * (upp.x + upp.y));

    // Without a placement the pane covers the whole screen view.
    CRef<CDivPane> whole = Pane("<pane/>");
    whole->Place();
    EXPECT_FLOAT_EQ(whole->GetScale(), scale);
    EXPECT_NEAR(whole->GetRect().x, 0.0f, 1e-3f);
    EXPECT_NEAR(whole->GetRect().z, 320.0f, 1e-3f);
    EXPECT_NEAR(whole->GetRect().w, 480.0f, 1e-3f);
    EXPECT_FALSE(whole->IsPlacementDirty());

    // Bottom-right: x = vx + vw - (px + pw), measured in view units, then mapped to pixels.
    CRef<CDivPane> corner = Pane(R"(<pane origin="bottom,right" placement="1,1,2,3"/>)");
    corner->Place();
    const Vector4<float> v = screen.GetRect();
    const Vector2<float> expected = screen.ViewToScreen(Vector2<float>(v.x + v.z - 3, v.y + v.w - 4));
    EXPECT_NEAR(corner->GetRect().x, expected.x, 1e-3f);
    EXPECT_NEAR(corner->GetRect().y, expected.y, 1e-3f);
    EXPECT_NEAR(corner->GetRect().z, 2.0f / upp.x, 1e-3f);
    // Centred both ways around the view's centre.
    CRef<CDivPane> centred = Pane(R"(<pane origin="centre" placement="-1,-1,2,2"/>)");
    centred->Place();
    EXPECT_NEAR(centred->GetRect().x + centred->GetRect().z * 0.5f, 160.0f, 1e-3f);
    EXPECT_NEAR(centred->GetRect().y + centred->GetRect().w * 0.5f, 240.0f, 1e-3f);

    // The tree lays out at the rectangle's size in em; a change of size drops the layout, a
    // move of the same size keeps it.
    centred->Relayout();
    ASSERT_NE(centred->GetLines().Get(), nullptr);
    EXPECT_NEAR(centred->GetSize().x, centred->GetRect().z, 1e-3f);
    centred->SetRect(centred->GetRect() + Vector4<float>(5, 5, 0, 0));
    EXPECT_NE(centred->GetLines().Get(), nullptr);
    centred->SetRect(Vector4<float>(0, 0, 10, 10));
    EXPECT_EQ(centred->GetLines().Get(), nullptr);
    // A resize places again at the next draw.
    centred->Relayout();
    centred->Resize();
    EXPECT_TRUE(centred->IsPlacementDirty());
    EXPECT_EQ(centred->GetLines().Get(), nullptr);
}

TEST_F(PaneTest, ActiveStatesAreSetByIdAndRemembered)
{
    CRef<CDivPane> a = Pane(R"(<pane><div id="muteon"/><div id="muteon"/></pane>)");
    CRef<CDivPane> b = Pane(R"(<pane><div><div id="muteon"/></div></pane>)");
    CDivPane::SetActiveById("muteon", false);
    EXPECT_FALSE(a->GetById("muteon")->IsActive());
    EXPECT_TRUE(a->GetChildren()[1]->IsActive()) << "the first node with the id only";
    EXPECT_FALSE(b->GetById("muteon")->IsActive());

    // A pane made later gets the remembered state when it is laid out.
    CDivPane::SetActiveById("pt_later", false);
    CRef<CDivPane> later = Pane(R"(<pane><div id="pt_later"/></pane>)");
    EXPECT_TRUE(later->GetById("pt_later")->IsActive());
    later->Place();
    later->Relayout();
    EXPECT_FALSE(later->GetById("pt_later")->IsActive());
    CDivPane::SetActiveById("pt_later", true);
    EXPECT_TRUE(later->GetById("pt_later")->IsActive());
    CDivPane::SetActiveById("muteon", true);
    CDivPane::SetActiveById(nullptr, false);
}

TEST_F(PaneTest, PointerInputIsRoutedByTheRectangleOrTheModalFlag)
{
    CSingleton<CGame>::Toggle(false);
    CGame::Instance()->PushMode("pane_test");
    CRef<CDivPane> pane = Pane(R"(<pane origin="centre" placement="-1,-1,2,2">
        <div height="1000" onclick="hit"/></pane>)");
    pane->Place();
    pane->Relayout();
    const Vector4<float> r = pane->GetRect();
    const auto& queue = CGame::Instance()->GetCurrentScope().GetControls().GetQueue();

    // Outside a plain pane: refused, and nothing reaches the tree.
    const InputEvent outside = Pointer(InputEvent::kButtonUp, r.x - 5, r.y + 5);
    EXPECT_FALSE(pane->AcceptsPress(outside));
    EXPECT_FALSE(pane->OnClick(outside));
    // Inside: the point is mapped to the tree's corner, and the node's command is posted.
    const InputEvent inside = Pointer(InputEvent::kButtonUp, r.x + 5, r.y + 5);
    EXPECT_NEAR(pane->MapToTree(inside.position).x, 5.0f, 1e-4f);
    EXPECT_NEAR(pane->MapToTree(inside.position).y, 5.0f, 1e-4f);
    EXPECT_TRUE(pane->HandleEvent(inside));
    ASSERT_EQ(queue.size(), 1u);
    EXPECT_STREQ(queue.back().name, "hit");
    // Releases go through whatever the point; with no taker a plain pane answers false.
    EXPECT_FALSE(pane->OnRelease(outside));

    // A modal pane swallows every pointer event, inside or out, but lets commands through.
    CRef<CDivPane> modal = Pane(R"(<pane modal="true" placement="0,0,1,1"/>)");
    modal->Place();
    for (bool taken : {modal->AcceptsPress(outside), modal->OnClick(outside), modal->OnPress(outside),
                       modal->OnMotion(outside), modal->OnRelease(outside), modal->OnDragEnd(outside),
                       modal->OnDragCancel(outside), modal->OnDragBegin(outside)})
        EXPECT_TRUE(taken);
    EXPECT_FALSE(modal->HandleEvent(InputEvent::Command("cancel", "")));
    CSingleton<CGame>::Toggle(false);
}

TEST_F(PaneTest, PanAndZoomEaseOnThePanesClock)
{
    CRef<CDivPane> pane = Pane("<pane/>");
    pane->SetClock(m_scopes.Global());
    EXPECT_EQ(pane->GetClock(), m_scopes.Global());
    EXPECT_EQ(pane->GetPanZoom(), Vector4<float>(0, 0, 1, 0));
    pane->AnimateTo(Vector2<float>(1, 0), 2.0f, 0.0f);
    EXPECT_EQ(pane->GetPanZoom(), Vector4<float>(1, 0, 2, 0)) << "a duration of 0 jumps";
    pane->AnimateTo(Vector2<float>(0, 0), 1.0f, 1.0f);
    for (int i = 0; i < 5; ++i)
    {
        m_clock.Advance(100);
        m_scopes.Update();
    }
    // Halfway, the smoothstep is halfway too; but a move home is not drawn, nor mapped.
    EXPECT_NEAR(pane->GetPanZoom().x, 0.5f, 1e-4f);
    EXPECT_NEAR(pane->GetPanZoom().z, 1.5f, 1e-4f);
    EXPECT_EQ(pane->GetAppliedPanZoom(), Vector4<float>(0, 0, 1, 0));
    const Vector4<float> r = pane->GetRect();
    EXPECT_EQ(pane->MapToTree(Vector2<float>(r.x + 7, r.y + 9)), Vector2<float>(7, 9));
    for (int i = 0; i < 5; ++i)
    {
        m_clock.Advance(100);
        m_scopes.Update();
    }
    EXPECT_EQ(pane->GetPanZoom(), Vector4<float>(0, 0, 1, 0));
    // Without a clock of its own, the current scope's.
    pane->SetClock(nullptr);
    EXPECT_EQ(pane->GetClock(), m_scopes.Mode());
}

TEST_F(PaneTest, ChangedTextsLayTheTreeOutAgain)
{
    m_folder.WriteData("text.xml", "<text><english><pt_greeting>Hello there</pt_greeting></english></text>");
    const char* xml = R"(<pane><Text id="t" content="%pt_greeting% friend"/></pane>)";
    CRef<CDivPane> live = Pane(xml);
    CRef<CDivPane> fixed = Pane(R"(<pane livetranslate="false"><Text id="t" content="%pt_greeting%"/></pane>)");
    for (CDivPane* pane : {live.Get(), fixed.Get()})
    {
        pane->Place();
        pane->Relayout();
    }
    EXPECT_EQ(WordsOf(live->GetById("t")), "Hello there friend");
    EXPECT_TRUE(live->UsesKey("pt_greeting"));
    EXPECT_FALSE(fixed->UsesKey("pt_greeting"));

    CDictionary::Instance()->SetText("pt_greeting", "Good bye");
    EXPECT_EQ(live->GetLines().Get(), nullptr) << "the layout was dropped";
    EXPECT_NE(fixed->GetLines().Get(), nullptr) << "no live translation: kept";
    live->Relayout();
    EXPECT_EQ(WordsOf(live->GetById("t")), "Good bye friend");
    EXPECT_EQ(WordsOf(fixed->GetById("t")), "Hello there");
}
