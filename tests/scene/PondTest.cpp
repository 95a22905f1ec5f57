// Ponds without a context: loading by treatment and capability, the layer list, the current pond,
// nudge, sway and the frame's animate-draw-afterdraw order, and the hooks that reach the pond from
// the front end and from puzzle play.
#include "SceneFixture.h"
#include "core/CScheduler.h"
#include "core/CXmlDocument.h"
#include "platform/CDrawings.h"
#include "platform/CModeFrontEnd.h"
#include "puzzle/CPlayServices.h"
#include "wiring/GameWiring.h"
#include "support/FakeAudioDevice.h"
#include "support/TempFolder.h"

#include <cmath>

#include <set>

namespace
{

using Log = std::vector<std::string>;

void ExpectNear(const Vector3<float>& expected, const Vector3<float>& actual)
{
    EXPECT_NEAR(expected.x, actual.x, 1e-4f);
    EXPECT_NEAR(expected.y, actual.y, 1e-4f);
    EXPECT_NEAR(expected.z, actual.z, 1e-4f);
}

class PondTest : public SceneTest
{
};

TEST_F(PondTest, TheFirstTreatmentWhoseCapabilitiesHoldGivesTheLayersAndLight)
{
    WritePond("lit", R"(<pond><audio music="pond"/>
        <treatment caps="mt4" lightvector="1,0,0"><layer type="Recording" name="never"/></treatment>
        <treatment caps="mt2,fast" lightvector="1,0,0"><layer type="Recording" name="never"/></treatment>
        <treatment caps="mt2" lightvector="0,1">
          <layer type="Recording" name="a" height="2"/><layer type="NoSuchKind" name="b"/>
          <layer type="recording" name="c"/><layer type="Recording" name="a"/><other type="Recording"/>
        </treatment>
        <treatment caps=""><layer type="Recording" name="later"/></treatment></pond>)");
    CRef<CPond> pond = CPond::Create("lit");
    ASSERT_TRUE(pond);
    EXPECT_EQ("lit", pond->GetName());
    EXPECT_EQ("pond", pond->GetMusic());
    ASSERT_EQ(3u, pond->GetLayers().size());
    EXPECT_EQ(pond->GetLayers()[0].Get(), pond->FindLayer("a")); // the earlier of two
    EXPECT_EQ("c", pond->GetLayers()[1]->GetName());
    EXPECT_EQ(nullptr, pond->FindLayer("b"));
    EXPECT_EQ(nullptr, pond->FindLayer("A"));
    EXPECT_EQ(nullptr, pond->FindLayer(nullptr));
    EXPECT_EQ(pond.Get(), pond->GetLayers()[2]->GetPond());
    ExpectNear(Vector3<float>(0, std::sqrt(0.5f), std::sqrt(0.5f)),
               CPond::GetLightVector()); // "0,1" is (0, 1, 1)
    EXPECT_EQ(pond.Get(), CPond::GetCurrent());

    // The first of two treatments that both hold; an empty light vector is the default, normalised.
    WritePond("plain", R"(<pond><treatment><layer type="Recording" name="first"/></treatment>
        <treatment caps=""><layer type="Recording" name="second"/></treatment></pond>)");
    CRef<CPond> plain = CPond::Create("plain");
    EXPECT_EQ(plain.Get(), CPond::GetCurrent());
    ASSERT_EQ(1u, plain->GetLayers().size());
    EXPECT_EQ("first", plain->GetLayers()[0]->GetName());
    EXPECT_EQ("", plain->GetMusic());
    const Vector3<float> d = CPond::kDefaultLightVector;
    ExpectNear(d * (1.0f / std::sqrt(Dot(d, d))), CPond::GetLightVector());

    // The current pond link empties itself when its pond dies.
    plain.Reset();
    EXPECT_EQ(nullptr, CPond::GetCurrent());
}

TEST_F(PondTest, WithoutAnAcceptedTreatmentThePondIsEmptyAndTheLightUnchanged)
{
    const Vector3<float> light(0.25f, 0.5f, 0.75f);
    CPond::SetLightVector(light);
    WritePond("fancy", R"(<pond><audio music="menu"/><treatment caps="rtt" lightvector="1,0,0">
        <layer type="Recording"/></treatment></pond>)");
    CRef<CPond> pond = CPond::Create("fancy");
    EXPECT_TRUE(pond->GetLayers().empty());
    EXPECT_EQ("menu", pond->GetMusic());
    EXPECT_EQ(light, CPond::GetLightVector());

    // A missing or broken document: no layers, no music, never null.
    CRef<CPond> missing = CPond::Create("nosuchpond");
    ASSERT_TRUE(missing);
    EXPECT_TRUE(missing->GetLayers().empty());
    EXPECT_EQ("", missing->GetMusic());
    WritePond("broken", "<pond><treatment><layer type=\"Recording\"");
    EXPECT_TRUE(CPond::Create("broken")->GetLayers().empty());
    EXPECT_EQ(light, CPond::GetLightVector());

    // A zero light vector is stored as it is, not normalised into NaN.
    WritePond("dark", R"(<pond><treatment lightvector="0,0,0"/></pond>)");
    CPond::Create("dark");
    EXPECT_EQ(Vector3<float>(0, 0, 0), CPond::GetLightVector());

    // Loading again replaces the layers and the music.
    pond->Load("dark");
    EXPECT_EQ("dark", pond->GetName());
    EXPECT_EQ("", pond->GetMusic());
}

TEST_F(PondTest, TheNudgeMovesLayersByTheirHeightAndSettlesAfter90Milliseconds)
{
    CRef<CPond> pond = MakePond(R"(<layer type="Recording" name="near" height="2"/>
        <layer type="Recording" name="far" height="0.25"/>)");
    RecordingLayer* near = Recording(pond->FindLayer("near"));
    RecordingLayer* far = Recording(pond->FindLayer("far"));
    m_clock.Set(1000);
    EXPECT_FALSE(pond->IsNudging());

    pond->SetNudge(Vector2<float>(1, -2));
    EXPECT_EQ(1000u, pond->GetNudgeTime());
    EXPECT_EQ(Vector2<float>(2, -4), near->GetNudgeOffset());
    EXPECT_EQ(Vector2<float>(0.25f, -0.5f), far->GetOffset());
    m_clock.Set(1089);
    EXPECT_TRUE(pond->IsNudging());
    m_clock.Set(1090);
    EXPECT_FALSE(pond->IsNudging());

    // The same value again changes nothing, so the pond is still settled.
    const int places = near->places;
    pond->SetNudge(Vector2<float>(1, -2));
    EXPECT_FALSE(pond->IsNudging());
    EXPECT_EQ(places, near->places);
    pond->SetNudge(Vector2<float>(0, 0));
    EXPECT_TRUE(pond->IsNudging());
    EXPECT_EQ(Vector2<float>(0, 0), near->GetOffset());
}

TEST_F(PondTest, TheTickAdvancesTheSwayAndUpdatesEveryLayer)
{
    CRef<CPond> pond = MakePond(R"(<layer type="Recording" name="a"/><layer type="Recording" name="b"/>)");
    pond->OnSchedule(0.25f);
    pond->OnSchedule(0.5f);
    EXPECT_FLOAT_EQ(0.75f, pond->GetTime());
    const double r = 0.75 * M_PI / 180.0;
    EXPECT_NEAR(std::sin(55 * r) * std::sin(43 * r), pond->GetSway().x, 1e-6);
    EXPECT_NEAR(std::sin(39 * r) * std::sin(51 * r), pond->GetSway().y, 1e-6);
    EXPECT_EQ(Vector2<float>(0, 0), CPond::SwayAt(0.0f));
    EXPECT_EQ((Log{"update a 250", "update b 250", "update a 500", "update b 500"}), RecordingLayer::Log());

    // The pond is on the current scope's scheduler at "interval/animation".
    CScheduler& scheduler = CGame::Instance()->GetCurrentScope().GetScheduler();
    EXPECT_TRUE(scheduler.IsScheduled(pond.Get()));
    EXPECT_EQ(20, pond->GetInterval());
    RecordingLayer::Log().clear();
    for (int frame = 0; frame < 3; ++frame)
    {
        m_clock.Advance(20);
        scheduler.Update();
    }
    EXPECT_FALSE(RecordingLayer::Log().empty());
    EXPECT_GT(pond->GetTime(), 0.75f);
}

TEST_F(PondTest, ADrawAnimatesThenDrawsInDocumentOrderLeavingOrderedLayersToTheirPass)
{
    CRef<CPond> pond =
        MakePond(R"(<layer type="Recording" name="a"/><layer type="Recording" name="b" order="ui"/>
        <layer type="Recording" name="c"/>)");
    CDrawings& drawings = CGame::Instance()->GetCurrentScope().GetDrawings();
    EXPECT_EQ(1, drawings.CountInPass("pond"));
    EXPECT_EQ(1, drawings.CountInPass("ui"));

    CScheduler& scheduler = CGame::Instance()->GetCurrentScope().GetScheduler();
    m_clock.Advance(40);
    scheduler.AdvanceClock();
    const std::string now = std::to_string(scheduler.GetClock());
    CRef<CPond> other = MakePond("");
    ASSERT_EQ(other.Get(), CPond::GetCurrent());
    RecordingLayer::Log().clear();
    pond->Draw();
    EXPECT_EQ(pond.Get(), CPond::GetCurrent());
    EXPECT_EQ((Log{"animate a " + now, "animate b " + now, "animate c " + now, "draw a", "draw c", "after a",
                   "after b", "after c"}),
              RecordingLayer::Log());

    // The pond and its ordered layer leave their passes when they die.
    pond.Reset();
    EXPECT_EQ(1, drawings.CountInPass("pond"));
    EXPECT_EQ(0, drawings.CountInPass("ui"));
}

TEST_F(PondTest, TargetsGoToTheHookThenToBoardLayersOnly)
{
    static Log s_hook;
    s_hook.clear();
    const CPond::TargetsHook previous = CPond::SetTargetsHook(
        [](const std::vector<Vector2<float>>& cells) { s_hook.push_back(std::to_string(cells.size())); });
    CRef<CPond> pond =
        MakePond(R"(<layer type="Recording" name="plain"/><layer type="RecordingBoard" name="board"/>)");
    pond->SetTargets({Vector2<float>(1, 2), Vector2<float>(3, 4)});
    EXPECT_EQ(Log{"2"}, s_hook);
    EXPECT_EQ(Log{"targets board 2"}, RecordingLayer::Log());
    CPond::SetTargetsHook(previous);
}

TEST_F(PondTest, TheWiringGivesTheFrontEndAndPuzzlePlayTheirPonds)
{
    mkdir(m_folder.PathOf("data/sounds").c_str(), 0755);
    m_folder.WriteData("sounds/audio.xml",
                       R"(<audio><musics><menu track="m"/><pond track="p"/></musics></audio>)");
    WritePond(
        "menu",
        R"(<pond><audio music="menu"/><treatment><layer type="Recording" name="x"/></treatment></pond>)");
    FakeAudio audio;

    CPlayServices* const before = &CPlayServices::Get();
    GameWiring::Install();
    CRef<CBase> made = CPlayServices::Get().CreatePond("menu");
    CPond* pond = dynamic_cast<CPond*>(made.Get());
    ASSERT_NE(nullptr, pond);
    EXPECT_EQ(pond, CPond::GetCurrent());
    CPlayServices::Get().PlayPondMusic(pond);
    EXPECT_EQ(CAudio::Instance()->FindMusic("menu"), CAudio::Instance()->GetNextMusic());

    RecordingLayer* layer = Recording(pond->FindLayer("x"));
    const int places = layer->places;
    CPlayServices::Get().PlacePondLayers();
    EXPECT_EQ(places + 1, layer->places);

    // The front end's menu hooks are the same operations.
    const CModeFrontEnd::MenuHooks hooks = CModeFrontEnd::SetMenuHooks({});
    ASSERT_NE(nullptr, hooks.makePond);
    CRef<CBase> menu = hooks.makePond("menu");
    EXPECT_EQ(menu.Get(), CPond::GetCurrent());
    CModeFrontEnd::SetMenuHooks(hooks);

    GameWiring::Uninstall();
    EXPECT_EQ(before, &CPlayServices::Get());
    EXPECT_EQ(nullptr, CModeFrontEnd::SetMenuHooks({}).makePond);
}

TEST_F(PondTest, TheShippedPondsLoadWithTheirMusic)
{
    for (const char* name : {"menu", "fallback"})
    {
        const std::string text =
            TempFolder::ReadFile(std::string(FROG_SOURCE_DIR) + "/data/pond/" + name + ".xml");
        ASSERT_FALSE(text.empty()) << name;
        WritePond(name, text);
        s_heldCaps = {};
        CRef<CPond> pond = CPond::Create(name);
        EXPECT_FALSE(pond->GetLayers().empty()) << name;
        ASSERT_NE(nullptr, pond->FindLayer("deep")) << name;
        EXPECT_EQ("CLayerPlane", pond->FindLayer("deep")->GetClassName());
        EXPECT_TRUE(pond->FindLayer("deep")->GetQuad().material) << name;
        EXPECT_EQ(std::string(name) == "menu" ? "menu" : "pond", pond->GetMusic());
    }
    // Both music names are tracks of the shipped audio document.
    CXmlDocument audio;
    ASSERT_TRUE(
        audio.Parse(TempFolder::ReadFile(std::string(FROG_SOURCE_DIR) + "/data/sounds/audio.xml"), false));
    EXPECT_NE(nullptr, audio.FindNode("musics/menu"));
    EXPECT_NE(nullptr, audio.FindNode("musics/pond"));

    // The collection's ponds each play a track of their own.
    std::set<std::string> tracks;
    for (const char* name : {"morning", "reeds", "blossom", "rain", "dusk", "night"})
    {
        WritePond(name, TempFolder::ReadFile(std::string(FROG_SOURCE_DIR) + "/data/pond/" + name + ".xml"));
        CRef<CPond> pond = CPond::Create(name);
        EXPECT_NE(nullptr, pond->FindLayer("board")) << name;
        EXPECT_NE(nullptr, audio.FindNode("musics/" + pond->GetMusic())) << name;
        tracks.insert(pond->GetMusic());
    }
    EXPECT_EQ(6u, tracks.size());
}

} // namespace
