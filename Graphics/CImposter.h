#pragma once
// A picture standing in for part of a frame. Everything drawn between the pass "preposter" and
// the imposter's own pass goes, once, into a screen-sized render texture; from then on the
// imposter draws that picture back over the whole screen in its own pass, sharp or blurred, and
// declares that it covers what was drawn before it, so the scene behind an overlay (the petal
// shower of a win, the tutorial's pop-out) is not drawn again every frame. It can also copy the
// next frame once into a texture of another name (CaptureTo; the replay's wipe uses it).
//
// Use: hold the CRef that Create returns while the picture should show; dropping it removes the
// imposter from both passes. Times are ms of the platform tick (CClock), sizes logical pixels.
// Textures and materials by name, for the picture's texture name T:
//   T               render target, the size of the screen: the picture (and its material, drawn
//                   while the blur is 0);
//   T + "blur_"     a quarter of T each way, made once per picture by a 3 x 3 binomial filter
//                   (and its material, drawn at full blur);
//   T + "blurrable" material drawn while the blur eases between 0 and its amount, with the
//                   quad's alpha telling how far (data/materials.xml blends T and T + "blur_").
// Invariant: the picture is taken at most once per display generation unless asked again
// (Invalidate, or a rotation with recapture on rotation); a stale imposter draws nothing.
#include "Graphics/CTexture.h"
#include "Graphics/QuadBatch.h"
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CResizes.h"
#include "core/CString.h"
#include "platform/CDrawing.h"

#include <cstdint>

class CImposter : public CBase, public CResizes, public CDrawing
{
  public:
    // What T is followed by in the names of the blurred copy and of the easing material.
    static constexpr const char* kBlurredSuffix = "blur_";
    static constexpr const char* kBlurrableSuffix = "blurrable";

    // The pass in which every imposter begins its capture.
    static constexpr const char* kCapturePass = "preposter";

    // A new imposter drawn back in the pass named pass (scope "global") from the texture named
    // textureName; it takes its picture at the next frame.
    static CRef<CImposter> Create(const CString& pass, const CString& textureName);
    ~CImposter() override;

    // Copies the next frame once into the texture of that name; the picture is left as it is.
    void CaptureTo(const CString& textureName);
    // Eases the blur from where it is now to amount over seconds (0: at the next frame).
    void SetBlur(float amount, float seconds);
    // Take a new picture when the screen has turned (the rotation's end).
    void SetRecaptureOnRotation(bool recapture) { m_recaptureOnRotation = recapture; }
    // Draw nothing from the moment the display changes until the rotation's end.
    void SetStaleOnRotation(bool stale) { m_staleOnRotation = stale; }

    // "preposter": begins a capture; the own pass: ends it, makes the blurred copy when first
    // needed and draws the picture back.
    void Draw() override;
    // True while it holds a picture it may show: opaque, no copy pending, not stale.
    bool CoversBelow() override;
    // The display is going: the textures give up their GL objects; a new picture comes next.
    void Invalidate() override;
    void Resize() override;
    void Rotate() override;

    // The blur at a platform tick: the eased value between the last SetBlur's start and end.
    float GetBlur(uint32_t now) const;
    // The material the picture is drawn with at blur b out of amount, and the alpha of its quad.
    static CString MaterialFor(const CString& textureName, float blur, float amount);
    static float AlphaFor(float blur, float amount);

    bool HasPicture() const { return bool(m_texture); }
    bool IsStale() const { return m_stale; }
    const CString& GetPass() const { return m_name; }
    const CString& GetTextureName() const { return m_textureName; }
    const QuadBatch& GetQuad() const { return m_quad; }

  private:
    CImposter(const CString& pass, const CString& textureName);

    // Makes name a screen-sized render target and draws into it until the own pass.
    CRef<CTexture> BeginCapture(const CString& name);
    // The quarter-size copy through the binomial filter.
    void MakeBlurred();
    // The quad over the logical screen.
    void LayOut();
    void DropPicture();

    CRef<CTexture> m_blurred;
    CRef<CTexture> m_capture; // bound as the render target from "preposter" to the own pass
    CString m_name;
    CString m_textureName;
    CString m_captureRequest;
    CRef<CTexture> m_texture;
    QuadBatch m_quad;
    bool m_opaque = true;
    bool m_recaptureOnRotation = false;
    bool m_staleOnRotation = false;
    bool m_stale = false;
    int32_t m_generation = 0;
    float m_blurAmount = 0.0f;
    uint32_t m_blurStart = 0;
    uint32_t m_blurEnd = 0;
    float m_blurFrom = 0.0f;
    float m_blurTo = 0.0f;
};
