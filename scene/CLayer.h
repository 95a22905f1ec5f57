#pragma once
// The base of every scene layer of a pond: the attributes all kinds share, where the layer's one
// quad lies on the screen ("placement" and "fit"), and how it moves with the pond's nudge
// (parallax by "height"), the pond's sway ("wind") and the frog's lily-pad spring ("spring").
// A layer is drawn by its pond, or by a draw pass of its own ("order"). Kinds derive from it and
// register a factory in LayerKindMap under their "type" name.
// Invariant: a layer without "material" keeps an empty quad (nothing of it is ever drawn), though
// its rectangle is still read and placed. Rectangles are (x, y, width, height) in view units (fit
// "exact": screen pixels); quad rectangles are (x0, y0, x1, y1); y grows downwards.
#include "Graphics/QuadBatch.h"
#include "core/CBase.h"
#include "core/CLink.h"
#include "core/CRef.h"
#include "core/CResizes.h"
#include "core/CString.h"
#include "core/Vector2.h"
#include "core/Vector4.h"
#include "platform/CDrawing.h"
#include "scene/CWobbler.h"

#include <cstdint>
#include <vector>

class CDivPane;
class CPond;
class CXmlNode;

class CLayer : public CBase, public CResizes, public CDrawing
{
  public:
    enum Fit : int32_t
    {
        kFitNone = 0,
        kFitTiled = 1,
        kFitTiledX = 2,
        kFitTiledY = 3,
        kFitExact = 4,
        kFitTopLeft = 5,
        kFitTopRight = 6,
        kFitBottomLeft = 7,
        kFitBottomRight = 8,
    };

    // The pure half of Place: where the quad lies for a fit and placement on a whole-screen view
    // (view rectangle in view units, viewport in pixels).
    struct Placement
    {
        Vector4<float> rect;                           // x, y, width, height
        Vector4<float> window{0.0f, 0.0f, 1.0f, 1.0f}; // texture window of the tiled fits
        bool tiled = false;                            // the window applies
        bool movesQuad = true;                         // the quad takes the rectangle
    };
    static Placement ComputePlacement(int32_t fit, const Vector4<float>& placement,
                                      const Vector4<float>& viewRect, const Vector4<int32_t>& viewport);
    // "fit" text to a Fit, compared exactly (case matters); anything else is kFitNone.
    static int32_t ParseFit(const char* text);

    // The frog's lily-pad spring displacement, installed by the frog while it lives; without one
    // "spring" moves nothing. Returns the previous source.
    using SpringSource = Vector2<float> (*)();
    static SpringSource SetSpringSource(SpringSource source);

    // A layer of the element's "type" (any case), linked to pond, loaded and placed; null for a
    // type no kind registers (or an empty one).
    static CRef<CLayer> Create(CPond* pond, CXmlNode& element);

    // className names the kind ("CLayerPlane", "CLayerBoard"...): the pond finds boards by it.
    explicit CLayer(const char* className);
    // Leaves the pass of its "order", when it joined one.
    ~CLayer() override;

    // Reads the common attributes; kinds call it first from their own Load.
    virtual void Load(CXmlNode& element);
    // Computes the rectangle again from the whole-screen view (also on every display resize).
    virtual void Place();
    // The pond's tick, dt in seconds.
    virtual void Update(float dt) {}
    // Once a frame before drawing: the wobblers move the quad's uvs (at the pond's layer clock).
    virtual void Animate();
    // Makes the layer react (the board's pulse); nothing in the base.
    virtual void Affect() {}
    // After the whole pond was drawn this frame.
    virtual void AfterDraw() {}
    // The layer's user-interface pane, or null.
    virtual CDivPane* GetPane() { return nullptr; }
    // The target cells of the held limb (board layers dim the knobs out of reach).
    virtual void SetTargets(const std::vector<Vector2<float>>& cells) {}

    void Resize() override { Place(); }

    // Stores the nudge offset (view units) and places the layer again, when it changed.
    void SetOffset(const Vector2<float>& offset);
    // Where the layer draws this frame: the nudge offset, plus wind times the pond's sway, plus
    // spring times the frog's displacement.
    Vector2<float> GetOffset() const;
    // Where kinds that draw sprites of their own (particles, rays) translate them: GetOffset,
    // less the puzzle's pond position for a layer that is not nudgeable, so that it keeps still
    // on the screen while the puzzle shifts its view.
    Vector2<float> GetSpriteOffset() const;

    const CString& GetClassName() const { return m_className; }
    const CString& GetName() const { return m_name; }
    CPond* GetPond() const;
    void SetPond(CPond* pond);
    bool IsNudgeable() const { return m_nudgeable; }
    const Vector2<float>& GetNudgeOffset() const { return m_offset; }
    const Vector2<float>& GetWind() const { return m_wind; }
    const Vector2<float>& GetSpring() const { return m_spring; }
    const Vector4<float>& GetRect() const { return m_rect; }
    const Vector4<float>& GetPlacement() const { return m_placement; }
    const Vector4<float>& GetTextureWindow() const { return m_textureWindow; }
    float GetHeight() const { return m_height; }
    float GetOverdraw() const { return m_overdraw; }
    int32_t GetFit() const { return m_fit; }
    const CString& GetOrder() const { return m_order; }
    // The replay hides the pond's "overlay" layer while it runs.
    bool IsShown() const { return m_shown; }
    void SetShown(bool shown) { m_shown = shown; }
    const std::vector<CWobbler>& GetWobblers() const { return m_wobblers; }
    QuadBatch& GetQuad() { return m_quad; }
    const QuadBatch& GetQuad() const { return m_quad; }

  protected:
    // Non-nudgeable layers keep still on the screen while the puzzle shifts its view.
    void ApplyTranslation();

    // Fixed at construction and load.
    CString m_className;
    CString m_name;
    CString m_order;
    uint32_t m_orderScope = 0;
    // The owning pond, linked through its CBase part (CDrawing keeps back-links of its own).
    CLink<CBase> m_pond;
    bool m_nudgeable = false;
    Vector2<float> m_wind;
    Vector2<float> m_spring;
    Vector4<float> m_placement; // (0, 0, 0, 0): none given
    float m_height = 1.0f;      // parallax factor of the pond's nudge
    float m_overdraw = 0.0f;
    int32_t m_fit = kFitNone;
    std::vector<CWobbler> m_wobblers;

    // Live state.
    Vector2<float> m_offset;
    bool m_shown = true;

    // Rebuilt by Place and Animate.
    Vector4<float> m_rect;
    Vector4<float> m_textureWindow{0.0f, 0.0f, 1.0f, 1.0f};
    QuadBatch m_quad;
};
