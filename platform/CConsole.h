#pragma once
// A one-line text console for typing, shown and hidden by "_console": while shown it takes every
// key that reaches it and echoes the typed characters near the top-left corner. It carries out
// nothing. Invariant: registered as a control and a drawing exactly while shown; the text only
// grows, and shows again in full when the console reopens.
#include "Graphics/CFont.h"
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CSingleton.h"
#include "core/CString.h"
#include "platform/CControl.h"
#include "platform/CDrawing.h"

class CConsole : public CBase, public CControl, public CDrawing, public CSingleton<CConsole>
{
  public:
    ~CConsole() override;

    // Shows a hidden console, hides a shown one.
    void Toggle();
    bool IsVisible() const { return m_visible; }
    const CString& GetText() const { return m_text; }

    // Appends the key's character (the low 8 bits of its symbol), except return and control
    // keys below 32; every key is consumed.
    bool OnKey(const InputEvent& event) override;
    void Draw() override;

  private:
    friend class CSingleton<CConsole>;
    CConsole() = default;

    bool m_visible = false;
    CString m_text;
    CRef<CFont> m_font;
};
