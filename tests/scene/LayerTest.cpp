// Scene layers without a context: the kind registry, the common attributes, placement and fit on
// several screens, offsets and wobblers.
#include "SceneFixture.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "platform/CView.h"
#include "puzzle/CPuzzle.h"
#include "scene/CLayerPlane.h"
#include "scene/CWobbler.h"

#include <cmath>

namespace
{

using V4 = Vector4<float>;

void ExpectNear(const V4& expected, const V4& actual, const char* what)
{
    EXPECT_NEAR(expected.x, actual.x, 1e-4f) << what;
    EXPECT_NEAR(expected.y, actual.y, 1e-4f) << what;
    EXPECT_NEAR(expected.z, actual.z, 1e-4f) << what;
    EXPECT_NEAR(expected.w, actual.w, 1e-4f) << what;
}

class LayerTest : public SceneTest
{
  protected:
    ~LayerTest() override
    {
        CSingleton<CPuzzle>::Toggle(false);
        CLayer::SetSpringSource(nullptr);
    }

    // A layer made from one element's text, as a pond would make it (no pond).
    CRef<CLayer> MakeLayer(const char* text)
    {
        CXmlDocument document;
        EXPECT_TRUE(document.Parse(text, false)) << text;
        return CLayer::Create(nullptr, *document.GetRoot());
    }
};

TEST_F(LayerTest, KindsAreFoundWithoutRegardToCaseAndUnknownTypesMakeNothing)
{
    const LayerKindMap::Factory plane = LayerKindMap::Find("Plane");
    ASSERT_NE(plane, nullptr);
    EXPECT_EQ(plane, LayerKindMap::Find("plane"));
    EXPECT_EQ(plane, LayerKindMap::Find("PLANE"));
    EXPECT_EQ(nullptr, LayerKindMap::Find("Plan"));
    EXPECT_EQ(nullptr, LayerKindMap::Find(""));

    CRef<CLayer> layer = MakeLayer(R"(<layer type="pLaNe" name="a"/>)");
    ASSERT_TRUE(layer);
    EXPECT_EQ("CLayerPlane", layer->GetClassName());
    EXPECT_EQ("a", layer->GetName());
    EXPECT_FALSE(MakeLayer(R"(<layer type="NoSuchKind"/>)"));
    EXPECT_FALSE(MakeLayer(R"(<layer name="untyped"/>)"));

    // A second registration replaces the factory; a factory that yields null makes nothing.
    const int32_t count = LayerKindMap::Count();
    LayerKindMap::Register("TestNull", [] { return CRef<CLayer>(); });
    LayerKindMap::Register("TESTNULL", [] { return CRef<CLayer>(); });
    EXPECT_EQ(count + 1, LayerKindMap::Count());
    EXPECT_FALSE(MakeLayer(R"(<layer type="testnull"/>)"));
    EXPECT_TRUE(LayerKindMap::Unregister("testNull"));
    EXPECT_FALSE(LayerKindMap::Unregister("testNull"));
    EXPECT_EQ(count, LayerKindMap::Count());
}

TEST_F(LayerTest, CommonAttributesAreRead)
{
    CRef<CLayer> layer = MakeLayer(R"(<layer type="Recording" name="water" height="0.5" placement="1,2"
        overdraw="0.1" fit="exact" wind="0.5" material="default" colour="#ff0000" order="">
          <wobbler unit="1" uvs="0.5" translate="0.1,2"/><other/><wobbler/></layer>)");
    ASSERT_TRUE(layer);
    EXPECT_EQ(0.5f, layer->GetHeight());
    EXPECT_EQ(V4(1, 2, 2, 2), layer->GetPlacement()); // missing fields repeat the one before
    EXPECT_FLOAT_EQ(0.1f, layer->GetOverdraw());
    EXPECT_EQ(CLayer::kFitExact, layer->GetFit());
    EXPECT_TRUE(layer->IsNudgeable()); // exact fits are nudgeable unless told otherwise
    EXPECT_EQ(Vector2<float>(0.5f, 0.5f), layer->GetWind());
    EXPECT_EQ(Vector2<float>(0, 0), layer->GetSpring());
    EXPECT_FALSE(layer->IsRegistered());
    EXPECT_TRUE(layer->IsShown());

    const QuadBatch& quad = layer->GetQuad();
    ASSERT_TRUE(quad.material);
    EXPECT_EQ(V4(1, 0, 0, 1), quad.GetColour());
    ExpectNear(V4(0.1f, 0.1f, 0.9f, 0.9f), quad.GetQuadUv(0, 0), "overdraw shows the inner texture");
    EXPECT_EQ(V4(1, 2, 3, 4), quad.GetQuadRect(0));

    ASSERT_EQ(2u, layer->GetWobblers().size());
    const CWobbler& first = layer->GetWobblers()[0];
    EXPECT_EQ(1, first.unit);
    EXPECT_EQ(V4(0.5f, 0.5f, 0.5f, 0.5f), first.uvs);
    EXPECT_FLOAT_EQ(0.1f, first.amplitude);
    ASSERT_EQ(1u, first.terms.size());
    EXPECT_EQ(Vector2<float>(2, 2), first.terms[0]); // a missing y repeats its x
    EXPECT_EQ(V4(0, 0, 1, 1), layer->GetWobblers()[1].uvs);
    EXPECT_TRUE(layer->GetWobblers()[1].terms.empty());

    // Defaults, exact "fit" compare and the forms of "nudgeable".
    layer = MakeLayer(R"(<layer type="Recording" fit="Exact" placement="#0a141e28" spring="1,-2"/>)");
    EXPECT_EQ(1.0f, layer->GetHeight());
    EXPECT_EQ(CLayer::kFitNone, layer->GetFit());
    EXPECT_FALSE(layer->IsNudgeable());
    EXPECT_EQ(Vector2<float>(1, -2), layer->GetSpring());
    ExpectNear(V4(10, 20, 30, 40) * (1.0f / 255.0f), layer->GetPlacement(), "hexadecimal placement");
    EXPECT_TRUE(MakeLayer(R"(<layer type="Recording" nudgeable="TRUE"/>)")->IsNudgeable());
    EXPECT_TRUE(MakeLayer(R"(<layer type="Recording" nudgeable="2"/>)")->IsNudgeable());
    EXPECT_FALSE(MakeLayer(R"(<layer type="Recording" fit="exact" nudgeable="no"/>)")->IsNudgeable());
    EXPECT_EQ(CLayer::kFitTiledX, CLayer::ParseFit("tiled-x"));
    EXPECT_EQ(CLayer::kFitBottomRight, CLayer::ParseFit("bottomright"));
    EXPECT_EQ(CLayer::kFitNone, CLayer::ParseFit("TILED"));
}

TEST_F(LayerTest, WithoutMaterialTheQuadStaysEmpty)
{
    CView::SetScreen(Vector2<int32_t>(320, 480), 0.0f, V4(-1, -1, 9, 9), 0.0f, 0.0f);
    CRef<CLayer> layer =
        MakeLayer(R"(<layer type="Recording" placement="1,2,3,4" colour="1,0,0,1" overdraw="0.2"
        fit="tiled"><wobbler translate="0.1,1"/></layer>)");
    ASSERT_TRUE(layer);
    EXPECT_FALSE(layer->GetQuad().material);
    EXPECT_EQ(0u, layer->GetQuad().GetQuadCount());
    EXPECT_EQ(V4(1, 2, 3, 4), layer->GetRect()); // still kept and placed
    layer->Animate();
    layer->SetOffset(Vector2<float>(1, 1));
    EXPECT_EQ(0u, layer->GetQuad().GetQuadCount());
    EXPECT_EQ(V4(1, 1, 1, 1), layer->GetQuad().GetColour());
}

TEST(LayerPlacement, FitsCoverTheViewOnPortraitLandscapeAndSquareScreens)
{
    const V4 none(0, 0, 0, 0);
    const V4 portrait(-1, -3.25f, 9, 13.5f), landscape(-3.25f, -1, 13.5f, 9), square(-1, -1, 9, 9);
    const Vector4<int32_t> pixels(0, 0, 320, 480);

    // No fit: a square covering the view, overhanging equally along the shorter side.
    EXPECT_EQ(V4(-3.25f, -3.25f, 13.5f, 13.5f),
              CLayer::ComputePlacement(CLayer::kFitNone, none, portrait, pixels).rect);
    EXPECT_EQ(V4(-3.25f, -3.25f, 13.5f, 13.5f),
              CLayer::ComputePlacement(CLayer::kFitNone, none, landscape, pixels).rect);
    EXPECT_EQ(square, CLayer::ComputePlacement(CLayer::kFitNone, none, square, pixels).rect);

    // Tiled: the view itself, the texture window stretched along the longer side.
    CLayer::Placement tiled = CLayer::ComputePlacement(CLayer::kFitTiled, none, portrait, pixels);
    EXPECT_TRUE(tiled.tiled);
    EXPECT_EQ(portrait, tiled.rect);
    ExpectNear(V4(0, -0.25f, 1, 1.25f), tiled.window, "portrait window");
    tiled = CLayer::ComputePlacement(CLayer::kFitTiled, none, landscape, pixels);
    ExpectNear(V4(-0.25f, 0, 1.25f, 1), tiled.window, "landscape window");
    tiled = CLayer::ComputePlacement(CLayer::kFitTiled, none, square, pixels);
    EXPECT_EQ(V4(0, 0, 1, 1), tiled.window);
    // Tiled along one axis only: a square across the other.
    tiled = CLayer::ComputePlacement(CLayer::kFitTiledX, none, portrait, pixels);
    EXPECT_EQ(V4(-1, -1, 9, 9), tiled.rect);
    EXPECT_EQ(V4(0, 0, 1, 1), tiled.window);
    ExpectNear(V4(0, -0.25f, 1, 1.25f),
               CLayer::ComputePlacement(CLayer::kFitTiledY, none, portrait, pixels).window,
               "tiled-y still tiles down a portrait view");
    EXPECT_EQ(V4(-1, -1, 9, 9), CLayer::ComputePlacement(CLayer::kFitTiledY, none, landscape, pixels).rect);

    // Exact: the viewport in pixels.
    EXPECT_EQ(V4(0, 0, 320, 480), CLayer::ComputePlacement(CLayer::kFitExact, none, portrait, pixels).rect);

    // A placement stands for fits up to exact; the quad keeps what Load gave it.
    const V4 given(1, 2, 3, 4);
    for (int32_t fit = CLayer::kFitNone; fit <= CLayer::kFitExact; ++fit)
    {
        const CLayer::Placement placed = CLayer::ComputePlacement(fit, given, portrait, pixels);
        EXPECT_EQ(given, placed.rect) << fit;
        EXPECT_FALSE(placed.movesQuad) << fit;
        EXPECT_FALSE(placed.tiled) << fit;
    }

    // Corners: pushed out until the placement reaches that corner of the view.
    EXPECT_EQ(V4(-1, -3.25f, 3, 4),
              CLayer::ComputePlacement(CLayer::kFitTopLeft, given, portrait, pixels).rect);
    EXPECT_EQ(V4(5, -3.25f, 3, 4),
              CLayer::ComputePlacement(CLayer::kFitTopRight, given, portrait, pixels).rect);
    EXPECT_EQ(V4(-1, 6.25f, 3, 4),
              CLayer::ComputePlacement(CLayer::kFitBottomLeft, given, portrait, pixels).rect);
    EXPECT_EQ(V4(5, 6.25f, 3, 4),
              CLayer::ComputePlacement(CLayer::kFitBottomRight, given, portrait, pixels).rect);
    // A placement already beyond the corner stays; without a placement the rectangle is empty.
    EXPECT_EQ(V4(-2, -5, 20, 20),
              CLayer::ComputePlacement(CLayer::kFitTopLeft, V4(-2, -5, 20, 20), portrait, pixels).rect);
    EXPECT_EQ(V4(0, 0, 20, 20),
              CLayer::ComputePlacement(CLayer::kFitBottomRight, V4(0, 0, 20, 20), portrait, pixels).rect);
    const V4 empty = CLayer::ComputePlacement(CLayer::kFitBottomRight, none, portrait, pixels).rect;
    EXPECT_EQ(0.0f, empty.z);
    EXPECT_EQ(0.0f, empty.w);
}

TEST_F(LayerTest, PlaceFollowsTheScreenViewAndThePuzzlesPondPosition)
{
    CView::SetScreen(Vector2<int32_t>(320, 480), 0.0f, V4(-1, -1, 9, 9), 0.0f, 0.0f);
    const V4 view = CView::GetScreenView().GetRect();
    CRef<CLayer> layer = MakeLayer(R"(<layer type="Recording" material="default" fit="tiled"/>)");
    EXPECT_EQ(view, layer->GetRect());
    EXPECT_EQ(V4(view.x, view.y, view.x + view.z, view.y + view.w), layer->GetQuad().GetQuadRect(0));
    ExpectNear(layer->GetTextureWindow(), layer->GetQuad().GetQuadUv(0, 0), "window on uv set 0");

    // The display turns: a resize places the layer again.
    CView::SetScreen(Vector2<int32_t>(480, 320), 0.0f, V4(-1, -1, 9, 9), 0.0f, 0.0f);
    layer->Resize();
    EXPECT_EQ(CView::GetScreenView().GetRect(), layer->GetRect());
    EXPECT_GT(layer->GetTextureWindow().z, 1.0f);

    // A non-nudgeable layer keeps still while the puzzle shifts its view; a nudgeable one moves.
    CRef<CLayer> still = MakeLayer(R"(<layer type="Recording" material="default"/>)");
    CRef<CLayer> moving = MakeLayer(R"(<layer type="Recording" material="default" nudgeable="true"/>)");
    const Vector3<float> untouched = moving->GetQuad().translation;
    CPuzzle::Instance()->SetPondPosition(0.5f, -1.0f);
    still->Place();
    moving->Place();
    EXPECT_EQ(-0.5f, still->GetQuad().translation.x);
    EXPECT_EQ(1.0f, still->GetQuad().translation.y);
    EXPECT_EQ(untouched, moving->GetQuad().translation);
}

TEST_F(LayerTest, OffsetsComeFromNudgeWindAndSpring)
{
    CRef<CPond> pond = MakePond(R"(<layer type="Recording" name="w" wind="2,1" spring="1,0.5"/>)");
    RecordingLayer* layer = Recording(pond->FindLayer("w"));
    ASSERT_NE(nullptr, layer);
    EXPECT_EQ(pond.Get(), layer->GetPond());
    const int placed = layer->places;

    // Setting the offset it already has does not place it again.
    layer->SetOffset(Vector2<float>(0, 0));
    EXPECT_EQ(placed, layer->places);
    layer->SetOffset(Vector2<float>(1, 2));
    EXPECT_EQ(placed + 1, layer->places);
    layer->SetOffset(Vector2<float>(1, 2));
    EXPECT_EQ(placed + 1, layer->places);
    EXPECT_EQ(Vector2<float>(1, 2), layer->GetOffset()); // no sway yet, no frog

    pond->OnSchedule(1.5f);
    const Vector2<float> sway = pond->GetSway();
    ASSERT_NE(Vector2<float>(0, 0), sway);
    EXPECT_EQ(Vector2<float>(1 + 2 * sway.x, 2 + sway.y), layer->GetOffset());

    CLayer::SetSpringSource([] { return Vector2<float>(0.5f, -1.0f); });
    EXPECT_EQ(Vector2<float>(1 + 2 * sway.x + 0.5f, 2 + sway.y - 0.5f), layer->GetOffset());
}

TEST(Wobbler, DriftsTheUvRectangleWithTheGameClock)
{
    CWobbler still;
    still.uvs = V4(0.1f, 0.2f, 0.3f, 0.4f);
    still.amplitude = 1.0f;
    EXPECT_EQ(still.uvs, still.Evaluate(12345)); // no terms

    CWobbler two = still;
    two.amplitude = 0.5f;
    two.terms = {Vector2<float>(1, 1), Vector2<float>(3, 2)};
    ExpectNear(V4(1.1f, 0.2f, 1.3f, 0.4f), two.Evaluate(0), "each term adds (A, 0) at time 0");

    // One frequency: the rectangle circles with the amplitude as radius, size unchanged.
    CWobbler circle = still;
    circle.amplitude = 0.25f;
    circle.terms = {Vector2<float>(1, 1)};
    ExpectNear(V4(0.1f, 0.45f, 0.3f, 0.65f), circle.Evaluate(250), "a quarter turn");
    ExpectNear(V4(-0.15f, 0.2f, 0.05f, 0.4f), circle.Evaluate(500), "half a turn");
    for (int32_t t : {0, 130, 777, 86400000})
    {
        const V4 uv = circle.Evaluate(t);
        EXPECT_NEAR(0.25f, std::hypot(uv.x - 0.1f, uv.y - 0.2f), 1e-4f) << t;
        EXPECT_NEAR(0.2f, uv.z - uv.x, 1e-5f) << t;
    }
}

} // namespace
