// Every shipped pane (data/ui and the tutorials' panes) laid out with the game's own data and
// fonts at the screen sizes a player may have, at every pan keyframe, with the longest texts the
// game can put in it: nothing drawn outside its panel or the screen, no two items over each
// other, and each keyframe showing the same panel, moved by the same em, on every screen.
#include "Graphics/CFoundry.h"
#include "Graphics/CMaterialSet.h"
#include "Graphics/CPrint.h"
#include "Graphics/CTextureSet.h"
#include "core/CDictionary.h"
#include "core/CFileSystem.h"
#include "core/CRules.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "creatures/CFloater.h"
#include "platform/CGame.h"
#include "platform/CView.h"
#include "support/AppFolder.h"
#include "support/FakeClock.h"
#include "support/TestScopes.h"
#include "ui/CDivA.h"
#include "ui/CDivButton.h"
#include "ui/CDivPane.h"
#include "ui/CDivTransform.h"
#include "ui/CDivWord.h"
#include "wiring/GameButtonServices.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;

const Vector2<int32_t> kScreens[] = {{320, 480},  {640, 960},  {768, 1024},
                                     {1024, 768}, {1280, 800}, {1920, 1080}};
// Layout pixels a box may stray (rounding).
constexpr float kSlack = 0.5f;

// (left, top, right, bottom).
struct Box
{
    float l, t, r, b;
    bool Inside(const Box& o) const
    {
        return l >= o.l - kSlack && t >= o.t - kSlack && r <= o.r + kSlack && b <= o.b + kSlack;
    }
    bool Overlaps(const Box& o) const
    {
        return l < o.r - kSlack && o.l < r - kSlack && t < o.b - kSlack && o.t < b - kSlack;
    }
    Box Clip(const Box& o) const
    {
        return {std::max(l, o.l), std::max(t, o.t), std::min(r, o.r), std::min(b, o.b)};
    }
};

std::ostream& operator<<(std::ostream& out, const Box& b)
{
    return out << "(" << b.l << ", " << b.t << ")-(" << b.r << ", " << b.b << ")";
}

Box BoxOf(CDiv* node)
{
    Vector2<float> corner = node->GetPosition();
    if (auto* word = dynamic_cast<CDivWord*>(node))
        corner = word->GetDrawPosition();
    const Vector2<float> size = node->GetSize();
    return {corner.x, corner.y, corner.x + size.x, corner.y + size.y};
}

// The box a node's hit test takes: its own box with the gap after it, and its children's (a link
// is no box of its own: its words, or the boxes it holds, are what is hit).
Box HitBoxOf(CDiv* node)
{
    const Vector2<float> p = node->GetPosition();
    const Vector2<float> size = node->GetSize() + Vector2<float>(node->GetTrailingGap().x, 0.0f);
    std::optional<Box> box;
    if (size.x > 0.0f && size.y > 0.0f)
        box = Box{p.x, p.y, p.x + size.x, p.y + size.y};
    for (const CRef<CDiv>& child : node->GetChildren())
    {
        if (!child)
            break;
        const Box inner = HitBoxOf(child.Get());
        if (!(inner.r > inner.l && inner.b > inner.t))
            continue;
        box = box ? Box{std::min(box->l, inner.l), std::min(box->t, inner.t), std::max(box->r, inner.r),
                        std::max(box->b, inner.b)}
                  : inner;
    }
    return box.value_or(Box{p.x, p.y, p.x, p.y});
}

// The pane at rest, then each keyframe of its Transform, by name.
using Keyframes = std::vector<std::pair<std::string, CDivTransform::Keyframe>>;
Keyframes KeyframesOf(CDivPane& pane)
{
    Keyframes keyframes{{"at rest", {}}};
    for (const CRef<CDiv>& child : pane.GetChildren())
        if (auto* transform = dynamic_cast<CDivTransform*>(child.Get()))
            for (const auto& [name, keyframe] : transform->GetKeyframes())
                keyframes.emplace_back(name, keyframe);
    return keyframes;
}

// The states the tests turn nodes on and off by are remembered for every pane made later: all on
// again at the end.
struct ActiveAgain
{
    ~ActiveAgain()
    {
        for (const char* id : {"abandon", "reset", "muteoff", "muteon", "best"})
            CDivPane::SetActiveById(id, true);
    }
};

// What a player sees of a tree: each drawn item (words, buttons, sliders, daisies, pictures)
// with the top-level node (panel) it belongs to.
struct Item
{
    CDiv* node;
    CDiv* panel;
    std::string name;
};

std::string NameOf(CDiv* node)
{
    if (auto* word = dynamic_cast<CDivWord*>(node))
        return "\"" + std::string(word->GetText().c_str()) + "\"";
    return std::string(node->GetClassName().c_str()) + (node->GetId().empty() ? "" : "#") +
           node->GetId().c_str();
}

void CollectItems(CDiv* node, CDiv* panel, std::vector<Item>& items)
{
    if (!node->IsActive() || node->GetClassName() == "transform")
        return;
    const CString& kind = node->GetClassName();
    if (kind == "word" || kind == "button" || kind == "slider" || kind == "daisy" || kind == "img")
        items.push_back({node, panel, NameOf(node)});
    for (const CRef<CDiv>& child : node->GetChildren())
        if (child)
            CollectItems(child.Get(), panel, items);
}

// The texts the game sets while it runs, each with every value it can take; the longest of each
// is found by laying the panes out.
std::map<std::string, std::vector<std::string>> GameTexts()
{
    std::map<std::string, std::vector<std::string>> texts;
    for (const auto& entry : fs::directory_iterator(std::string(FROG_DATA_DIR) + "/puzzle"))
    {
        CXmlDocument document;
        if (document.Load(("puzzle/" + entry.path().stem().string()).c_str(), CFileSystem::kInDataFolder))
            texts["puz_title"].push_back(document.GetRoot()->GetAttribute("title").c_str());
    }
    CXmlDocument dictionary;
    if (dictionary.Load("text", CFileSystem::kInDataFolder))
        for (CXmlNode* language = dictionary.GetRoot()->FirstChild(); language;
             language = language->NextSibling())
            for (CXmlNode* key = language->FirstChild(); key; key = key->NextSibling())
            {
                // Dictionary keys by prefix, and the text of the game that shows one of them.
                const std::pair<std::string, const char*> kinds[] = {{"pond_", "puz_pond"},
                                                                     {"name_", "puz_frogname"},
                                                                     {"species_", "puz_species"},
                                                                     {"prf_", "puz_performance"},
                                                                     {"puz_rating", "puz_rating"}};
                const std::string name = key->GetName().c_str();
                for (const auto& [prefix, text] : kinds)
                    if (name.rfind(prefix, 0) == 0)
                        texts[text].push_back("%" + name + "%");
            }
    // Moves are not bounded: four digits are more than any player makes on one puzzle. Par
    // comes from the shipped puzzles, two digits at most.
    texts["puz_moved"] = {"9999"};
    texts["puz_best"] = {"9999", "%puz_unsolved%"};
    texts["puz_par"] = {"99"};
    return texts;
}

struct PaneSource
{
    std::string label;
    std::string name; // in data/ui; empty: the element
    CXmlNode* element;
};

class ShippedPanesTest : public testing::Test
{
  protected:
    ShippedPanesTest()
    {
        // The game's own data, fonts included, as the data folder.
        fs::remove_all(m_folder.PathOf("data"));
        fs::create_directory_symlink(FROG_DATA_DIR, m_folder.PathOf("data"));
        // The rules too, loaded before any screen is laid out, as the game loads them at start.
        CRules::Instance()->GetRoot();
        CFoundry::Instance();
    }
    ~ShippedPanesTest() override
    {
        CFoundry::Toggle(false);
        CMaterialSet::Toggle(false);
        CTextureSet::Toggle(false);
        CView::SetScreen(Vector2<int32_t>(320, 480), 0.0f, Vector4<float>(-1, -1, 9, 9), 0.5f, 0.75f);
    }

    CRef<CDivPane> Make(const PaneSource& source)
    {
        return source.name.empty() ? CDivPane::CreateFromXml(source.element)
                                   : CDivPane::CreateByName(source.name.c_str());
    }

    static void LayOut(CDivPane& pane)
    {
        pane.Invalidate();
        pane.Place();
        pane.Relayout();
    }

    // Height and width of what the pane draws, to find its longest texts.
    static float Extent(CDivPane& pane)
    {
        std::vector<Item> items;
        CollectItems(&pane, &pane, items);
        float top = 0.0f, bottom = 0.0f, width = 0.0f; // width: of every item together
        for (const Item& item : items)
        {
            const Box box = BoxOf(item.node);
            top = std::min(top, box.t);
            bottom = std::max(bottom, box.b);
            width += box.r - box.l;
        }
        return (bottom - top) * 1000.0f + width;
    }

    // The screen view's viewport in pixels.
    static Box ShownOf(const CView& view)
    {
        const Vector4<int32_t>& v = view.GetViewport();
        return {float(v.x), float(v.y), float(v.x + v.z), float(v.y + v.w)};
    }

    // The opening of the screen's frame inside the viewport, as the border draws it: as wide as
    // "border/thickness" of the viewport's height.
    static Box FramedOf(const CView& view)
    {
        const float frame = float(
            std::strtod(CRules::Instance()->GetRoot()->GetAttribute("border/thickness").c_str(), nullptr));
        EXPECT_GT(frame, 0.0f);
        const Box shown = ShownOf(view);
        const float k = frame * float(view.GetViewport().w) + 1.0f;
        return {shown.l + k, shown.t + k, shown.r - k, shown.b - k};
    }

    // The game's tips (floaters), put back and ended however the test leaves.
    struct Tips : GameButtonServices
    {
        CButtonServices* previous = CButtonServices::Install(this);
        ~Tips() override
        {
            CButtonServices::Install(previous);
            CSingleton<CGame>::Toggle(false); // ends the floaters' list
        }
    };

    // The screen box of a button's tip as the game shows it: through its own tip service, in the
    // pixels of the pane's rectangle, as the button shows it while drawn. False when none shows.
    bool TipBox(Tips& services, const Vector4<float>& paneRect, const CButton& button,
                const Vector2<float>& centre, Box& box)
    {
        CRef<CFloater> tip;
        {
            const CView pixels(Vector4<int32_t>(int32_t(paneRect.x + 0.5f), int32_t(paneRect.y + 0.5f),
                                                int32_t(paneRect.z + 0.5f), int32_t(paneRect.w + 0.5f)));
            tip = dynamic_cast<CFloater*>(
                services.ShowTip(button.GetTipText(), centre + button.GetTipPosition(), button.GetTipSize()));
        }
        if (!tip)
            return false;
        m_clock.Advance(100);
        tip->Tick(0.1f);
        const CPrint* print = tip->GetPrint();
        if (print)
        {
            const CView& view = CView::GetScreenView();
            const Vector2<float> a = view.ViewToScreen(tip->GetPosition());
            const Vector2<float> b =
                view.ViewToScreen(tip->GetPosition() + print->GetExtent() * print->GetScale());
            box = {a.x, a.y, b.x, b.y};
        }
        tip->Finish();
        return print != nullptr;
    }

    FakeClock m_clock;
    TestScopes m_scopes;
    AppFolder m_folder;
    std::vector<std::unique_ptr<CXmlDocument>> m_tutorials; // holding the tutorials' panes
};

// The pane's top-level nodes (panels) that show some of themselves in seen.
std::vector<CDiv*> PanelsIn(CDivPane& pane, const Box& seen)
{
    std::vector<CDiv*> panels;
    for (const CRef<CDiv>& panel : pane.GetChildren())
        if (panel && panel->IsActive() && panel->GetClassName() != "transform")
            if (const Box part = BoxOf(panel.Get()).Clip(seen);
                part.r > part.l + kSlack && part.b > part.t + kSlack)
                panels.push_back(panel.Get());
    return panels;
}

void ForEachNode(CDiv* node, const std::function<void(CDiv*)>& visit)
{
    visit(node);
    for (const CRef<CDiv>& child : node->GetChildren())
        if (child)
            ForEachNode(child.Get(), visit);
}

// A box of a pane's tree in the screen's pixels, as the pane stands now (panned or not).
Box OnScreen(CDivPane& pane, const Box& tree)
{
    const Vector4<float> r = pane.GetRect();
    // The tree's point of the rectangle's corner and the tree's units per pixel.
    const Vector2<float> o = pane.MapToTree(Vector2<float>(r.x, r.y));
    const Vector2<float> u = pane.MapToTree(Vector2<float>(r.x + 1.0f, r.y + 1.0f)) - o;
    return {r.x + (tree.l - o.x) / u.x, r.y + (tree.t - o.y) / u.y, r.x + (tree.r - o.x) / u.x,
            r.y + (tree.b - o.y) / u.y};
}

// The game never makes both nodes of a pair active, as the panes' ids name them: a move made or
// not (reset, abandon), the sound off or on (muteon, muteoff).
using States = std::vector<std::pair<const char*, bool>>;
const States kPairStates[] = {
    {{"reset", false}, {"abandon", true}, {"muteon", false}, {"muteoff", true}},
    {{"reset", false}, {"abandon", true}, {"muteon", true}, {"muteoff", false}},
    {{"reset", true}, {"abandon", false}, {"muteon", false}, {"muteoff", true}},
    {{"reset", true}, {"abandon", false}, {"muteon", true}, {"muteoff", false}},
};

// What a tap takes in a laid-out tree: each active node with an onclick, each link, and each
// button by its hit rectangle, in the tree's pixels, with what it does.
struct Target
{
    std::string name;
    Box box;
    bool button;
    std::string does; // the command it posts or the keyframe it pans to
};

std::vector<Target> TapTargetsOf(CDiv* root)
{
    std::vector<Target> targets;
    ForEachNode(root,
                [&](CDiv* node)
                {
                    if (!node->IsActive())
                        return;
                    if (auto* divButton = dynamic_cast<CDivButton*>(node))
                    {
                        const CButton& button = divButton->GetButton();
                        const Vector2<float> centre = node->GetPosition() + button.zoom * button.GetRadius();
                        const Vector2<float> half = button.zoom * button.GetActiveRadius();
                        targets.push_back(
                            {NameOf(node) + " " + button.GetTipText().c_str(),
                             {centre.x - half.x, centre.y - half.y, centre.x + half.x, centre.y + half.y},
                             true,
                             button.action.c_str()});
                    }
                    else if (auto* link = dynamic_cast<CDivA*>(node))
                        targets.push_back({NameOf(node) + " to " + link->GetHref().c_str(), HitBoxOf(node),
                                           false, link->GetHref().c_str()});
                    else if (!node->GetOnClick().empty())
                        targets.push_back({NameOf(node) + " posting " + node->GetOnClick().c_str(),
                                           HitBoxOf(node), false, node->GetOnClick().c_str()});
                });
    return targets;
}

// Each screen of the list as it stands and turned by the keys either way: the logical screen then
// has the window's sides swapped, and the whole-screen view is letterboxed again for it.
std::vector<std::pair<Vector2<int32_t>, float>> ScreensUprightAndTurned()
{
    std::vector<std::pair<Vector2<int32_t>, float>> screens;
    for (const Vector2<int32_t>& screen : kScreens)
        for (const float rotation : {0.0f, 90.0f, 270.0f})
            screens.emplace_back(rotation == 0.0f ? screen : Vector2<int32_t>(screen.y, screen.x), rotation);
    return screens;
}

void FindPanes(CXmlNode* node, const std::string& label, std::vector<PaneSource>& out)
{
    for (CXmlNode* child = node->FirstChild(); child; child = child->NextSibling())
    {
        if (child->GetName() == "pane")
            out.push_back({label + "/" + node->GetName().c_str(), "", child});
        else
            FindPanes(child, label, out);
    }
}
} // namespace

TEST_F(ShippedPanesTest, EveryPaneHoldsItsLongestTextsOnEveryScreenAndEveryKeyframe)
{
    std::vector<PaneSource> sources;
    for (const auto& entry : fs::directory_iterator(std::string(FROG_DATA_DIR) + "/ui"))
        sources.push_back({entry.path().stem().string(), entry.path().stem().string(), nullptr});
    for (const auto& entry : fs::directory_iterator(std::string(FROG_DATA_DIR) + "/tutorial"))
    {
        CXmlDocument& document = *m_tutorials.emplace_back(std::make_unique<CXmlDocument>());
        ASSERT_TRUE(
            document.Load(("tutorial/" + entry.path().stem().string()).c_str(), CFileSystem::kInDataFolder))
            << entry.path();
        FindPanes(document.GetRoot(), entry.path().stem().string(), sources);
    }
    ASSERT_GE(sources.size(), 6u);

    const auto texts = GameTexts();
    CDictionary* dictionary = CDictionary::Instance();
    const ActiveAgain activeAgain;
    for (const auto& [key, values] : texts)
        dictionary->SetText(key, values.front());

    for (const PaneSource& source : sources)
    {
        // The longest texts for this pane, one variable at a time, on the phone's screen.
        CView::SetScreenFromRules(kScreens[0], 0.0f);
        CRef<CDivPane> pane = Make(source);
        for (const auto& [key, values] : texts)
        {
            std::string longest = values.front();
            float most = -1.0f;
            for (const std::string& value : values)
            {
                dictionary->SetText(key, value);
                LayOut(*pane);
                if (const float extent = Extent(*pane); extent > most)
                    most = extent, longest = value;
            }
            dictionary->SetText(key, longest);
        }

        // Each keyframe (and the pane at rest): the panels in view and the pan in em.
        const Keyframes keyframes = KeyframesOf(*pane);
        std::map<std::string, std::pair<std::vector<CDiv*>, Vector2<float>>> first;

        for (const Vector2<int32_t>& screen : kScreens)
            for (bool before : {true, false})
            {
                // The nodes the game turns on and off: before the first move, sound on, unsolved;
                // and after it, sound off, solved.
                for (const auto& [id, active] : std::map<const char*, bool>{{"abandon", before},
                                                                            {"reset", !before},
                                                                            {"muteoff", before},
                                                                            {"muteon", !before},
                                                                            {"best", !before}})
                    CDivPane::SetActiveById(id, active);
                CView::SetScreenFromRules(screen, 0.0f);
                LayOut(*pane);
                std::vector<Item> items;
                for (const CRef<CDiv>& panel : pane->GetChildren())
                    if (panel)
                        CollectItems(panel.Get(), panel.Get(), items);
                const float k = pane->GetScale();
                for (const auto& [name, keyframe] : keyframes)
                {
                    std::ostringstream where;
                    where << source.label << " at " << screen.x << "x" << screen.y
                          << (before ? ", before" : ", after") << " the first move, " << name << ": ";
                    pane->AnimateTo(keyframe.pan, keyframe.zoom, 0.0f);
                    // The pane's rectangle and the screen, in the tree's coordinates.
                    const Vector4<float> r = pane->GetRect();
                    const Vector2<float> a = pane->MapToTree(Vector2<float>(r.x, r.y));
                    const Vector2<float> b = pane->MapToTree(Vector2<float>(r.x + r.z, r.y + r.w));
                    const Vector2<float> s0 = pane->MapToTree(Vector2<float>(0, 0));
                    const Vector2<float> s1 =
                        pane->MapToTree(Vector2<float>(float(screen.x), float(screen.y)));
                    const Box seen = Box{a.x, a.y, b.x, b.y}.Clip(Box{s0.x, s0.y, s1.x, s1.y});

                    const std::vector<CDiv*> panels = PanelsIn(*pane, seen);
                    const Vector2<float> panEm(a.x / k, a.y / k);
                    if (!first.count(name))
                        first[name] = {panels, panEm};
                    EXPECT_EQ(panels, first[name].first) << where.str() << "another panel in view";
                    EXPECT_NEAR(panEm.x, first[name].second.x, 1.0f) << where.str() << "panned by other em";
                    EXPECT_NEAR(panEm.y, first[name].second.y, 1.0f) << where.str() << "panned by other em";

                    std::vector<const Item*> shown;
                    for (const Item& item : items)
                        if (std::find(panels.begin(), panels.end(), item.panel) != panels.end())
                            shown.push_back(&item);
                    // The banner after a win shows only while its command pans it in.
                    const bool hidden = source.label == "tapon" && keyframe.pan == Vector2<float>();
                    EXPECT_EQ(shown.empty(), hidden)
                        << where.str() << (hidden ? "in view" : "nothing in view");
                    for (const Item* item : shown)
                    {
                        const Box box = BoxOf(item->node);
                        EXPECT_TRUE(box.Inside(BoxOf(item->panel)))
                            << where.str() << item->name << " outside its panel";
                        EXPECT_TRUE(box.Inside(seen))
                            << where.str() << item->name << " outside the pane or the screen";
                        for (const Item* other : shown)
                            if (other < item && box.Overlaps(BoxOf(other->node)))
                                ADD_FAILURE() << where.str() << item->name << " over " << other->name;
                    }
                }
            }
    }
}

// The buttons of play (the strip along the bottom and the pond's sound switch) on every screen,
// as it stands and turned: each, as drawn and as hit, inside the screen's frame (the border the
// rules make as wide as a fraction of the screen's height) and clear of every cell of the board as
// the board is placed there (the whole-screen view; every pond lies at (0, 0)); each tip, shown as
// the game shows it, inside the frame too (the border is drawn over it) and off the other buttons;
// and the words of the banner after a win, at each of its pans, inside the frame and off the board.
TEST_F(ShippedPanesTest, ButtonsOfPlayLieOffTheBoardAndTheirTipsOnTheScreen)
{
    Tips services;
    for (const auto& [screen, rotation] : ScreensUprightAndTurned())
    {
        CView::SetScreenFromRules(screen, rotation);
        const CView& view = CView::GetScreenView();
        std::vector<Box> cells;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
            {
                const Vector2<float> a = view.ViewToScreen(Vector2<float>(x - 0.5f, y - 0.5f));
                const Vector2<float> b = view.ViewToScreen(Vector2<float>(x + 0.5f, y + 0.5f));
                cells.push_back({a.x, a.y, b.x, b.y});
            }
        const Box framed = FramedOf(view);

        struct Placed
        {
            std::string name;
            Box box;               // screen pixels: the drawn quad and the hit rectangle together
            Vector2<float> centre; // the pane's pixels, where the button is drawn
            CDivButton* node;
            CDivPane* pane;
        };
        std::vector<Placed> buttons;
        std::vector<CRef<CDivPane>> panes;
        for (const char* name : {"hud", "sound"})
        {
            CRef<CDivPane> pane = CDivPane::CreateByName(name);
            LayOut(*pane);
            const Vector4<float> r = pane->GetRect();
            ForEachNode(
                pane.Get(),
                [&](CDiv* node)
                {
                    auto* divButton = dynamic_cast<CDivButton*>(node);
                    if (!divButton)
                        return;
                    const CButton& button = divButton->GetButton();
                    const Vector2<float> centre = node->GetPosition() + button.zoom * button.GetRadius();
                    const float hx = button.zoom * std::max(button.GetRadius().x, button.GetActiveRadius().x);
                    const float hy = button.zoom * std::max(button.GetRadius().y, button.GetActiveRadius().y);
                    buttons.push_back(
                        {std::string(name) + "/" + std::string(button.GetTipText().c_str()),
                         {r.x + centre.x - hx, r.y + centre.y - hy, r.x + centre.x + hx, r.y + centre.y + hy},
                         centre,
                         divButton,
                         pane.Get()});
                });
            panes.push_back(pane);
        }
        ASSERT_GE(buttons.size(), 5u);

        auto framedOffTheBoard = [&](const Box& box, const std::string& where)
        {
            EXPECT_TRUE(box.Inside(framed)) << where << "not inside the frame " << framed;
            for (size_t c = 0; c < cells.size(); ++c)
                EXPECT_FALSE(box.Overlaps(cells[c]))
                    << where << "over the cell (" << c % 8 << ", " << c / 8 << ")";
        };
        for (const Placed& placed : buttons)
        {
            std::ostringstream where;
            where << placed.name << " at " << screen.x << "x" << screen.y << " turned " << rotation << ", "
                  << placed.box << ": ";
            framedOffTheBoard(placed.box, where.str());

            const CButton& button = placed.node->GetButton();
            if (button.GetTipText().empty())
                continue;
            Box tipBox;
            ASSERT_TRUE(TipBox(services, placed.pane->GetRect(), button, placed.centre, tipBox))
                << where.str() << "no tip";
            EXPECT_TRUE(tipBox.Inside(framed))
                << where.str() << "its tip " << tipBox << " not inside the frame " << framed;
            // Every button, its own (and its pair, the other sound button under it) among them.
            for (const Placed& other : buttons)
                EXPECT_FALSE(tipBox.Overlaps(other.box))
                    << where.str() << "its tip " << tipBox << " over " << other.name;
        }

        // The banner that says a tap goes on, once the puzzle is won, at each of its pans: the
        // words its rectangle shows lie inside the frame and off the board.
        CRef<CDivPane> banner = CDivPane::CreateByName("tapon");
        LayOut(*banner);
        const Keyframes pans = KeyframesOf(*banner);
        const Vector4<float> r = banner->GetRect();
        const Box shownBanner{r.x, r.y, r.x + r.z, r.y + r.w};
        int words = 0;
        for (const auto& [name, keyframe] : pans)
        {
            banner->AnimateTo(keyframe.pan, keyframe.zoom, 0.0f);
            ForEachNode(banner.Get(),
                        [&](CDiv* node)
                        {
                            if (!dynamic_cast<CDivWord*>(node))
                                return;
                            const Box box = OnScreen(*banner, BoxOf(node));
                            if (!box.Overlaps(shownBanner))
                                return;
                            std::ostringstream where;
                            where << "tapon/" << NameOf(node) << " at " << screen.x << "x" << screen.y
                                  << " turned " << rotation << ", " << name << ", " << box << ": ";
                            framedOffTheBoard(box, where.str());
                            ++words;
                        });
        }
        EXPECT_GT(words, 0) << "no words of the banner show at " << screen.x << "x" << screen.y;
    }
}

// Every title, pond name and rating the game ships, one at a time in each pane that shows it, on
// every screen, before and after the first move: each word inside its panel, and the words of the
// panel at rest inside the pane. The flow layout puts a word wider than its line on the line
// whole, past the panel's edge, so the panels must be wide enough for the widest word.
TEST_F(ShippedPanesTest, EveryShippedTitlePondAndRatingFitsItsPanel)
{
    const auto texts = GameTexts();
    CDictionary* dictionary = CDictionary::Instance();
    for (const auto& [key, values] : texts)
        dictionary->SetText(key, values.front());
    const ActiveAgain activeAgain;

    int checked = 0;
    for (const auto& entry : fs::directory_iterator(std::string(FROG_DATA_DIR) + "/ui"))
    {
        const std::string name = entry.path().stem().string();
        CView::SetScreenFromRules(kScreens[0], 0.0f);
        CRef<CDivPane> pane = CDivPane::CreateByName(name.c_str());
        for (const char* key : {"puz_title", "puz_pond", "puz_rating"})
        {
            // Only the panes that show it.
            dictionary->SetText(key, "Zzzq");
            LayOut(*pane);
            bool shows = false;
            ForEachNode(pane.Get(),
                        [&](CDiv* node)
                        {
                            if (auto* word = dynamic_cast<CDivWord*>(node))
                                shows = shows || word->GetText() == "Zzzq";
                        });
            for (const std::string& value : shows ? texts.at(key) : std::vector<std::string>{})
            {
                dictionary->SetText(key, value);
                for (const Vector2<int32_t>& screen : kScreens)
                    for (bool before : {true, false})
                    {
                        for (const auto& [id, active] : std::map<const char*, bool>{
                                 {"abandon", before}, {"reset", !before}, {"best", !before}})
                            CDivPane::SetActiveById(id, active);
                        CView::SetScreenFromRules(screen, 0.0f);
                        LayOut(*pane);
                        const Vector4<float> r = pane->GetRect();
                        const Box rest{0.0f, 0.0f, r.z, r.w};
                        bool first = true;
                        for (const CRef<CDiv>& panel : pane->GetChildren())
                        {
                            if (!panel || !panel->IsActive() || panel->GetClassName() == "transform")
                                continue;
                            std::vector<Item> items;
                            CollectItems(panel.Get(), panel.Get(), items);
                            for (const Item& item : items)
                            {
                                const Box box = BoxOf(item.node);
                                std::ostringstream where;
                                where << name << " with " << key << " \"" << value << "\" at " << screen.x
                                      << "x" << screen.y << (before ? ", before" : ", after")
                                      << " the first move: " << item.name << " " << box;
                                EXPECT_TRUE(box.Inside(BoxOf(panel.Get())))
                                    << where.str() << " outside its panel";
                                if (first)
                                {
                                    EXPECT_TRUE(box.Inside(rest)) << where.str() << " outside the pane";
                                }
                            }
                            first = false;
                            ++checked;
                        }
                    }
            }
            dictionary->SetText(key, texts.at(key).front());
        }
    }
    EXPECT_GT(checked, 0);
}

// What a player taps in every pane of data/ui on the phone's screen, at every pan keyframe and
// with either node of each pair that shares a line: every node that takes a tap (a node with an
// onclick, a link, a button by its hit radius) has a target at least 40 pixels high (the usual
// touch target is 44), a button 40 wide as well, inside the pane's rectangle and clear of every
// other target active with it, so that a thumb a few pixels off still takes the line it meant.
TEST_F(ShippedPanesTest, EveryTapTargetIsAThumbHighAndClearOfTheOthersOnThePhone)
{
    constexpr float kLeastPixels = 40.0f;
    const ActiveAgain activeAgain;

    int checked = 0;
    for (const auto& entry : fs::directory_iterator(std::string(FROG_DATA_DIR) + "/ui"))
    {
        const std::string name = entry.path().stem().string();
        CView::SetScreenFromRules(kScreens[0], 0.0f);
        CRef<CDivPane> pane = CDivPane::CreateByName(name.c_str());
        const Keyframes keyframes = KeyframesOf(*pane);

        for (const States& states : kPairStates)
        {
            for (const auto& [id, active] : states)
                CDivPane::SetActiveById(id, active);
            CView::SetScreenFromRules(kScreens[0], 0.0f);
            LayOut(*pane);
            const std::vector<Target> targets = TapTargetsOf(pane.Get());
            for (const auto& [keyframeName, keyframe] : keyframes)
            {
                pane->AnimateTo(keyframe.pan, keyframe.zoom, 0.0f);
                // The pane's rectangle in the tree's pixels, and the screen's pixels to one of them.
                const Vector4<float> r = pane->GetRect();
                const Vector2<float> a = pane->MapToTree(Vector2<float>(r.x, r.y));
                const Vector2<float> b = pane->MapToTree(Vector2<float>(r.x + r.z, r.y + r.w));
                const Box seen{a.x, a.y, b.x, b.y};
                const float pixels = r.z / (b.x - a.x);
                std::ostringstream where;
                where << name << ", " << keyframeName;
                for (const auto& [id, active] : states)
                    where << (active ? ", " : ", no ") << id;
                where << ": ";

                std::vector<const Target*> shown;
                for (const Target& target : targets)
                    if (target.box.Overlaps(seen))
                        shown.push_back(&target);
                for (const Target* target : shown)
                {
                    const Box& box = target->box;
                    EXPECT_GE((box.b - box.t) * pixels, kLeastPixels - kSlack)
                        << where.str() << target->name << " " << box << " is too low a target";
                    if (target->button)
                    {
                        EXPECT_GE((box.r - box.l) * pixels, kLeastPixels - kSlack)
                            << where.str() << target->name << " " << box << " is too narrow a target";
                    }
                    EXPECT_TRUE(box.Inside(seen))
                        << where.str() << target->name << " " << box << " outside the pane " << seen;
                    for (const Target* other : shown)
                        if (other < target && box.Overlaps(other->box))
                            ADD_FAILURE() << where.str() << target->name << " " << box << " over "
                                          << other->name << " " << other->box;
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 0);
}

// The front end's strip (ui/menu) on every screen, at rest and panned to its volumes: each tip of
// a button in view, shown as the game shows it, inside the screen's frame and off every button in
// view, its own (and the other sound button under it) among them. The back button's tip stands
// at the screen's right edge over the frame: the game places a tip by the button's place in the
// strip before its pan, which puts the volumes' buttons past the right edge, and the tip is then
// moved in only as far as the edge.
TEST_F(ShippedPanesTest, TipsOfTheFrontEndsStripShowOffItsButtons)
{
    Tips services;
    for (const Vector2<int32_t>& screen : kScreens)
    {
        CView::SetScreenFromRules(screen, 0.0f);
        const CView& view = CView::GetScreenView();
        const Box shown = ShownOf(view), framed = FramedOf(view);

        CRef<CDivPane> pane = CDivPane::CreateByName("menu");
        LayOut(*pane);
        std::vector<CDivButton*> nodes;
        ForEachNode(pane.Get(),
                    [&](CDiv* node)
                    {
                        if (auto* button = dynamic_cast<CDivButton*>(node))
                            nodes.push_back(button);
                    });
        ASSERT_EQ(nodes.size(), 5u);
        const Keyframes keyframes = KeyframesOf(*pane);
        ASSERT_EQ(keyframes.size(), 3u);

        const Vector4<float> r = pane->GetRect();
        for (const auto& [name, keyframe] : keyframes)
        {
            pane->AnimateTo(keyframe.pan, keyframe.zoom, 0.0f);
            // Where the tree's origin is drawn on the screen, panned.
            const Vector2<float> origin =
                Vector2<float>(r.x, r.y) - pane->MapToTree(Vector2<float>(r.x, r.y));
            struct Placed
            {
                CDivButton* node;
                Box box;               // screen pixels, drawn and hit together
                Vector2<float> centre; // the tree's pixels
            };
            std::vector<Placed> inView;
            for (CDivButton* node : nodes)
            {
                const CButton& button = node->GetButton();
                const Vector2<float> centre = node->GetPosition() + button.zoom * button.GetRadius();
                const float hx = button.zoom * std::max(button.GetRadius().x, button.GetActiveRadius().x);
                const float hy = button.zoom * std::max(button.GetRadius().y, button.GetActiveRadius().y);
                const Vector2<float> c = origin + centre;
                const Box box{c.x - hx, c.y - hy, c.x + hx, c.y + hy};
                if (box.Overlaps(shown))
                    inView.push_back({node, box, centre});
            }
            EXPECT_FALSE(inView.empty()) << name;
            for (const Placed& placed : inView)
            {
                const CButton& button = placed.node->GetButton();
                std::ostringstream where;
                where << button.GetTipText().c_str() << " at " << screen.x << "x" << screen.y << ", " << name
                      << ", " << placed.box << ": ";
                Box tipBox;
                ASSERT_TRUE(TipBox(services, r, button, placed.centre, tipBox)) << where.str() << "no tip";
                if (button.GetTipText() == CDictionary::Instance()->GetText("tip_back"))
                    EXPECT_TRUE(tipBox.Inside(shown))
                        << where.str() << "its tip " << tipBox << " off the screen";
                else
                    EXPECT_TRUE(tipBox.Inside(framed))
                        << where.str() << "its tip " << tipBox << " not inside the frame " << framed;
                for (const Placed& other : inView)
                    EXPECT_FALSE(tipBox.Overlaps(other.box))
                        << where.str() << "its tip over " << other.node->GetButton().GetTipText().c_str();
            }
        }
    }
}

// The menu button opens the in-game menu (the win pane once the puzzle is won) over the whole
// screen, so a second tap in its place (a double tap) lands on the pane. On every screen, upright
// and turned, with either node of each pair and at every pan, only a target that turns back to
// play ("cancel": Resume, Next puzzle) may lie over the menu button's hit rectangle.
TEST_F(ShippedPanesTest, OnlyTheWayBackToPlayLiesOverTheMenuButton)
{
    const ActiveAgain activeAgain;
    int checked = 0;
    for (const auto& [screen, rotation] : ScreensUprightAndTurned())
    {
        CView::SetScreenFromRules(screen, rotation);
        CRef<CDivPane> hud = CDivPane::CreateByName("hud");
        LayOut(*hud);
        std::optional<Box> menuButton;
        for (const Target& target : TapTargetsOf(hud.Get()))
            if (target.does == "ingame")
                menuButton = OnScreen(*hud, target.box);
        ASSERT_TRUE(menuButton) << "no menu button in ui/hud";

        for (const char* name : {"ingame", "wingame"})
        {
            CRef<CDivPane> pane = CDivPane::CreateByName(name);
            for (const States& states : kPairStates)
            {
                for (const auto& [id, active] : states)
                    CDivPane::SetActiveById(id, active);
                LayOut(*pane);
                const std::vector<Target> targets = TapTargetsOf(pane.Get());
                for (const auto& [keyframeName, keyframe] : KeyframesOf(*pane))
                {
                    pane->AnimateTo(keyframe.pan, keyframe.zoom, 0.0f);
                    const Vector4<float> r = pane->GetRect();
                    const Box shown{r.x, r.y, r.x + r.z, r.y + r.w};
                    for (const Target& target : targets)
                    {
                        const Box box = OnScreen(*pane, target.box);
                        if (!box.Overlaps(shown))
                            continue;
                        EXPECT_FALSE(target.does != "cancel" && box.Overlaps(*menuButton))
                            << name << " at " << screen.x << "x" << screen.y << " turned " << rotation << ", "
                            << keyframeName << ": " << target.name << " " << box << " over the menu button "
                            << *menuButton;
                        ++checked;
                    }
                }
            }
        }
    }
    EXPECT_GT(checked, 0);
}
