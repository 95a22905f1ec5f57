#pragma once
// The single owner of OpenGL ES 1.1 fixed-function state: every change of blend, depth, colour mask,
// alpha test, framebuffer, active unit, texture binding and texture environment goes through here, and
// a copy of what was last sent lets a setter reach GL only when the value changes.
// Invariant: a cached value is either what GL holds or an "unknown" value no GL state takes, so the
// first setter after InvalidateState always reaches GL. GL is called only between InitState (a
// context exists) and ReleaseState.
#include "Graphics/QuadBatch.h"
#include "core/CBase.h"
#include "core/CSingleton.h"
#include "core/CString.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "core/Vector4.h"

#include <GLES/gl.h>
#include <cstdint>
#include <vector>

class CMaterial;
class CTexture;
struct TextureUnit;

class CGraphics : public CBase, public CSingleton<CGraphics>
{
  public:
    // What one texture unit holds, or is wanted to hold (ApplyUnitState). A default UnitState is GL's
    // initial state of a unit: no texture, GL_MODULATE, identity matrix, the default combiner.
    struct UnitState
    {
        CTexture* texture = nullptr;
        bool textureKnown = true; // false: the cache does not know what is bound
        float matrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        GLenum minFilter = GL_NEAREST;
        GLenum wrap = GL_REPEAT;
        GLenum envMode = GL_MODULATE;
        float envColour[4] = {0, 0, 0, 0};
        GLenum combineRgb = GL_MODULATE;
        GLenum sourceRgb[3] = {GL_TEXTURE, GL_PREVIOUS, GL_CONSTANT};
        GLenum operandRgb[2] = {GL_SRC_COLOR, GL_SRC_COLOR};
        float rgbScale = 1.0f;
        GLenum combineAlpha = GL_MODULATE;
        GLenum sourceAlpha[3] = {GL_TEXTURE, GL_PREVIOUS, GL_CONSTANT};
        GLenum operandAlpha[2] = {GL_SRC_ALPHA, GL_SRC_ALPHA};
        float alphaScale = 1.0f;
    };

    // Makes the cache usable (no GL: the context may not exist yet).
    void Init() override;
    bool IsInitialised() const { return m_initialised; }
    // Initialised and a context is current: GL may be called.
    bool IsLive() const { return m_initialised && m_contextReady; }

    // Blending with (GL_ONE, GL_ZERO) turns GL_BLEND off; any other pair turns it on.
    void SetBlend(GLenum source, GLenum destination);
    // GL_ALWAYS turns GL_ALPHA_TEST off; any other function turns it on with the reference (0..1).
    void SetAlphaFunc(GLenum function, float reference);
    // Alpha is never written while drawing to the screen (framebuffer 0), whatever is asked: the
    // screen keeps no alpha. The request is remembered and honoured once a framebuffer is bound.
    void SetColourMask(bool red, bool green, bool blue, bool alpha);
    void SetDepthMask(bool write);
    void SetDepthFunc(GLenum function);
    void ActivateUnit(uint32_t unit);
    // Binding another framebuffer (0 = the screen) drops the whole cache first, since render
    // targets are where state is most often changed behind its back.
    void BindFramebuffer(uint32_t framebuffer);
    // The framebuffer last bound (0 = the screen). Unlike the cache it survives InvalidateState, so a
    // render target can save and restore the real binding.
    uint32_t GetFramebuffer() const { return m_alphaTarget; }
    // Binds texture (null: texture 0) on unit; ignored before InitState or for a unit GL lacks.
    void BindTexture(uint32_t unit, CTexture* texture);
    // Uncached: always reaches GL. x, y, width, height in pixels.
    void SetViewport(int32_t x, int32_t y, int32_t width, int32_t height);

    // The next SetMaterial of material applies it again. A material calls this whenever its blend,
    // colour mask or depth settings change.
    void ForgetMaterial(const CMaterial* material);
    // Every unit record that holds texture forgets it. A texture calls this when it releases its
    // GL objects, because a new texture object may take the same address.
    void ForgetTexture(const CTexture* texture);

    // Brings unit to wanted: texture, then (with a texture) min filter, always sent because it
    // belongs to the texture object, and wrap; environment mode, and the combiner only in GL_COMBINE
    // mode; texture matrix. Only what differs from the record reaches GL.
    void ApplyUnitState(uint32_t unit, const UnitState& wanted);
    // The minification filter of a texture-unit filter setting (1 point, 2 linear, 3 trilinear;
    // anything else point); mipmapped only when the texture has mipmap levels.
    static GLenum ChooseMinFilter(int32_t filter, bool mipmaps);

    // Texture 0 on every unit, then unit 0 active.
    void UnbindTextures();
    // GL_TEXTURE_2D and GL_DEPTH_TEST on, GL_CULL_FACE off, on the active unit.
    void RestoreEnables();

    // The clears turn depth writes on and clear all colour channels (alpha too); afterwards the
    // colour mask is the full mask with the screen rule for alpha. depth is 0..1.
    void ClearDepth(float depth);
    void ClearColour(const Vector4<float>& colour);
    void Clear(const Vector4<float>& colour, float depth);

    // Forgets everything sent to GL; the viewport and the framebuffer last bound are kept. Call at
    // the start of every frame and whenever GL state may have been changed behind the cache.
    void InvalidateState();
    // Call once a context is current, after every video-mode set: sizes the unit records to the
    // context's texture units, turns on texturing and depth test on each, and invalidates.
    void InitState();
    // Call while the context is still current, just before it is torn down: forgets the unit
    // records and the cache, and makes every later call a no-op until the next InitState. Call it
    // last in the context's release hook: it also drops the extension entry points that releasing
    // framebuffers needs.
    void ReleaseState();

    // Texture units GL offers (0 before InitState).
    uint32_t GetUnitCount() const { return static_cast<uint32_t>(m_units.size()); }
    const UnitState& GetUnitState(uint32_t unit) const { return m_units[unit]; }

    // Grows box (min x, min y, max x, max y) so that it holds rect (x0, y0, x1, y1) placed at
    // position under any rotation: by the circle about position that the rect's far corner sweeps.
    static void ExtendBounds(Vector4<float>& box, const Vector2<float>& position, const Vector4<float>& rect);
    // A 0..1 pulse with a period of one second of the frame clock (ticks in milliseconds).
    static float GetPulse(uint32_t frameTicks);

    // Makes material current (null: the material set's default). It is applied only when another
    // material was current or the cache forgot it (an invalidation, ForgetMaterial, a texture bound
    // behind it), so a material changed through its setters shows at its next SetMaterial.
    void SetMaterial(CMaterial* material);
    // Applies units to GL units 0..n-1 and resets every unit beyond them to GL's initial state (no
    // texture, GL_MODULATE, identity matrix); the last unit first, unit 0 active afterwards.
    void SetTextureUnits(const std::vector<TextureUnit>& units);
    // Brings GL unit index to what unit asks: its texture (bound, so loaded, first), the filter
    // for that texture's mip levels, wrap, environment and combiner, and the unit's matrix
    // followed by the texture's uv transform. Null: GL's initial unit state.
    void ApplyTextureUnit(uint32_t index, const TextureUnit* unit);

    // Immediate drawing with the default material and one colour (0..1) for every vertex; view
    // units. The Int forms take whole view units.
    void FillRect(const Vector2<float>& corner0, const Vector2<float>& corner1, const Vector4<float>& colour);
    void FillRectInt(const Vector2<int16_t>& corner0, const Vector2<int16_t>& corner1,
                     const Vector4<float>& colour);
    // width in view units (turned into pixels through the current view); smooth lines blend.
    void DrawLine(const Vector2<float>& from, const Vector2<float>& to, const Vector4<float>& colour,
                  float width, bool smooth);
    // width in pixels, as GL takes it.
    void DrawLineInt(const Vector2<int16_t>& from, const Vector2<int16_t>& to, const Vector4<float>& colour,
                     float width);
    void DrawRectOutline(const Vector2<float>& corner0, const Vector2<float>& corner1,
                         const Vector4<float>& colour, float width, bool smooth);
    void DrawRectOutlineInt(const Vector2<int16_t>& corner0, const Vector2<int16_t>& corner1,
                            const Vector4<float>& colour, float width, bool smooth);
    // A square of half size halfSize about centre, whole texture of the default material.
    void DrawSquare(const Vector2<float>& centre, float halfSize, const Vector4<float>& colour);
    // One quad through a scratch batch: rect (x0, y0, x1, y1) about position, uv rect, rotation
    // in degrees. The 2-D form keeps the z of the last DrawQuad3D (1 at first).
    void DrawQuad(const CRef<CMaterial>& material, const Vector2<float>& position, const Vector4<float>& rect,
                  const Vector4<float>& colour, const Vector4<float>& uv, float rotation);
    void DrawQuad3D(const CRef<CMaterial>& material, const Vector3<float>& position,
                    const Vector4<float>& rect, const Vector4<float>& colour, const Vector4<float>& uv,
                    float rotation);

    // Copies the screen into the texture of name (made when the set lacks it), kept in the
    // channels of the texture's format (GL_ALPHA, GL_RGB, GL_LUMINANCE, GL_LUMINANCE_ALPHA; any
    // other as GL_RGBA), row 0 at the top. Its uv transform turns the picture upright in logical
    // screen coordinates whatever the rotation. GL state is forgotten afterwards, since uploading
    // binds behind the cache. Before InitState it reads nothing.
    CRef<CTexture> ReadScreen(const CString& name);

  private:
    friend class CSingleton<CGraphics>;
    CGraphics() = default;

    // The one place a texture object is bound.
    void BindTextureObject(CTexture* texture);
    void SendColourMask(bool red, bool green, bool blue, bool alpha);
    // Draws count vertices of type (GL_FLOAT or GL_SHORT, three each) in one colour.
    void DrawColoured(GLenum mode, GLenum type, const void* vertices, GLsizei count,
                      const Vector4<float>& colour);
    void SetLineSmooth(bool smooth);
    void DrawScratch(const CRef<CMaterial>& material, const Vector4<float>& rect,
                     const Vector4<float>& colour, const Vector4<float>& uv, float rotation);

    bool m_initialised = false;
    bool m_contextReady = false;
    uint32_t m_activeUnit = 0;
    const CMaterial* m_currentMaterial = nullptr;
    bool m_materialKnown = false;
    std::vector<UnitState> m_units;
    int32_t m_viewport[4] = {0, 0, 0, 0};

    // Draw caches: "unknown" values after InvalidateState.
    GLenum m_blendSource = 0;
    GLenum m_blendDestination = 0;
    GLenum m_depthFunc = 0;
    uint8_t m_depthWrite = 0;
    uint32_t m_colourMask[4] = {0, 0, 0, 0};
    GLenum m_alphaFunc = 0;
    float m_alphaReference = 0.0f;
    uint32_t m_boundFramebuffer = 0;
    uint32_t m_alphaTarget = 0;

    // Scratch storage of the immediate helpers, kept to reuse its memory.
    QuadBatch m_scratch;
    std::vector<int16_t> m_shortVertices;
    std::vector<float> m_floatVertices;
    std::vector<float> m_colours;
};
