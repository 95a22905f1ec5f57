#pragma once
// The pointer drawn as a sprite of the game's own: named looks from the document "cursor", each
// with an optional pressed look "<name>-p" shown while the left button is held, selected by name
// (for a while, after which "default" returns), and a "touch" marker drawn once where a caller
// asks. Invariant: the sprite shows the look chosen at the last rebuild; a name without a look
// leaves the sprite as it was.
#include "Graphics/QuadBatch.h"
#include "core/CBase.h"
#include "core/CSingleton.h"
#include "core/CString.h"
#include "core/Vector4.h"
#include "platform/CControl.h"
#include "platform/CDrawing.h"

#include <cstdint>
#include <map>

class CMaterial;
class CXmlNode;

class CCursor : public CBase, public CControl, public CDrawing, public CSingleton<CCursor>
{
  public:
    struct Look
    {
        CRef<CMaterial> material;
        Vector4<float> colour{1.0f, 1.0f, 1.0f, 1.0f};
        // Relative to the pointer, in the units of the view the cursor is drawn in.
        Vector4<float> rect;
        // Smallest u, smallest v, largest u, largest v.
        Vector4<float> uvs{0.0f, 0.0f, 1.0f, 1.0f};
    };
    static constexpr int32_t kNever = 2147483647;

    // Reads the document "cursor" and registers the control and the drawing it calls for.
    void Init() override;
    ~CCursor() override;

    // Makes name current (rebuilding the sprite when it changes); for ms > 0 "default" returns
    // ms milliseconds of the platform tick from now, otherwise the name stays.
    void SetCursor(const CString& name, int32_t ms);
    // Draws the touch marker at point (logical screen pixels) in the next frame only; the
    // cursor sprite is not drawn in that frame.
    void SetMarkerPosition(const Vector2<float>& point);
    void SetVisible(bool visible) { m_visible = visible; }

    const CString& GetCurrent() const { return m_current; }
    // The look the sprite takes: "<current>-p" while held when there is one, else current;
    // null when neither is defined.
    const Look* ChooseLook(bool held) const;
    bool HasCursors() const { return m_hasCursors; }
    int32_t GetFallbackTime() const { return m_fallbackTime; }
    const QuadBatch& GetSprite() const { return m_sprite; }
    bool IsMarkerPending() const;
    // Whether the last draw found a marker pending: it drew it (or has no touch sprite to draw).
    // Links wait for it, so that a press is seen before it acts.
    bool IsMarkerShown() const { return m_markerShown; }

    // The definition an element of the document gives.
    static Look ReadLook(const CXmlNode* element);

    // Presses and releases rebuild the sprite so that it follows the left button; nothing is
    // consumed.
    bool AcceptsPress(const InputEvent& event) override { return true; }
    bool OnPress(const InputEvent& event) override;
    bool OnRelease(const InputEvent& event) override;

    void Draw() override;

  private:
    friend class CSingleton<CCursor>;
    CCursor() = default;

    void Rebuild();

    CString m_current;
    std::map<CString, Look> m_looks;
    QuadBatch m_sprite;
    QuadBatch m_marker;
    int32_t m_fallbackTime = kNever;
    bool m_markerShown = false;
    bool m_visible = true;
    bool m_hasCursors = false;
};
