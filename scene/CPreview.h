#pragma once
// The panel the spiral chooser shows near its centre: two thumbnails of a puzzle ("thm_" + name)
// over a glow (or, for a puzzle that is not open, grey over a shadow) and the puzzle's number at
// their lower right, faded in three staggered stages. New content waits until the old has faded
// out. Invariant: what is drawn was loaded when the fade stood at 0.
#include "Graphics/CMaterial.h"
#include "Graphics/CPrint.h"
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CString.h"
#include "core/Transition.h"
#include "core/Vector4.h"

#include <cstdint>

class CPreview : public CBase
{
  public:
    // The panel over the rectangle (x, y) to (x + w, y + h), view units.
    static CRef<CPreview> Create(float x, float y, float w, float h);

    // What to show next; fades the current content out first. An empty first name leaves the
    // panel hidden.
    void Set(const CString& puzzle, const CString& first, const CString& second, int32_t number);
    // Loads waiting content once faded out, then draws; called every frame by the owner.
    void Draw();

    const Vector4<float>& GetRect() const { return m_rect; }
    const Transition& GetFade() const { return m_fade; }
    const CString& GetText() const { return m_text; }
    const Vector4<float>& GetTint() const { return m_tint; }
    const CString& GetWaiting() const { return m_first; }
    // The stages at fade f: thumbnails over the first half, glow between a quarter and three
    // quarters, number over the second half, each through smoothstep.
    static float ThumbAlpha(float f);
    static float BackAlpha(float f);
    static float TextAlpha(float f);

  private:
    CPreview(float x, float y, float w, float h);
    // The waiting content becomes the shown one (fade at 0).
    void LoadWaiting();

    Transition m_fade;
    CString m_puzzle;
    CString m_first;
    CString m_second;
    int32_t m_number = 0;
    Vector4<float> m_rect;
    CRef<CMaterial> m_thumbnailA;
    CRef<CMaterial> m_thumbnailB;
    CRef<CMaterial> m_backMaterial;
    CRef<CMaterial> m_shadowMaterial;
    CRef<CMaterial> m_glowMaterial;
    Vector4<float> m_tint{1.0f, 1.0f, 1.0f, 1.0f};
    Vector4<float> m_backColour;
    CString m_text;
    CRef<CPrint> m_print;
    CString m_printed;
};
