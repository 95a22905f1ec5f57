#pragma once
// A framed panel of the main game that fades in and out over the scene in the pass "statframe".
// Nothing in the game describes or shows it yet, so it stays hidden; a caller reads a
// description with Read and fades it with Show. Invariant: drawn only while shown; a finished
// fade-out hides it.
#include "Graphics/CMaterial.h"
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CSingleton.h"
#include "core/Vector4.h"
#include "platform/CDrawing.h"

#include <cstdint>

class CXmlNode;

class CStatFrame : public CBase, public CDrawing, public CSingleton<CStatFrame>
{
  public:
    ~CStatFrame() override;

    // Reads "material", "colour" (white), "fadein" and "fadeout" (seconds, 1 each) and
    // "placement" (x, y, width, height; 0, 0, 7, 7), and leaves the panel hidden.
    void Read(const CXmlNode* element);
    // Starts fading in (or out) from the next draw.
    void Show(bool fadeIn);

    bool IsShown() const { return m_shown; }
    // The panel's opacity at now (platform milliseconds); a fade-out past its end hides it.
    float AlphaAt(uint32_t now);
    const Vector4<float>& GetPlacement() const { return m_placement; }
    const Vector4<float>& GetColour() const { return m_colour; }

    void Draw() override;

  private:
    friend class CSingleton<CStatFrame>;
    CStatFrame();

    bool m_shown = false;
    bool m_fadingIn = false;
    uint32_t m_start = 0;
    float m_fadeInTime = 1.0f;
    float m_fadeOutTime = 1.0f;
    Vector4<float> m_placement{0.0f, 0.0f, 7.0f, 7.0f};
    Vector4<float> m_colour{1.0f, 1.0f, 1.0f, 1.0f};
    CRef<CMaterial> m_material;
};
