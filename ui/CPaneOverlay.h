#pragma once
// Shows one pane by name over everything, modal, until a "cancel" command hides it: the opener
// of the start pane until the screen flip takes that role. A member of the group "global", made
// before the start-up sequence asks for the start pane. Invariant: while a pane is held it is
// drawn in the pass "post" of the scope "global" and offered pointer input from the group
// "modal" there; keys always pass on, so that the application's bindings keep working.
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CSingleton.h"
#include "platform/CControl.h"
#include "platform/CDrawing.h"
#include "platform/CStartup.h"
#include "ui/CDivPane.h"

class CPaneOverlay : public CBase, public CSingleton<CPaneOverlay>, public CDrawing, public CControl
{
  public:
    // Joins the pass and the group.
    void Init() override;
    ~CPaneOverlay() override;

    // Shows the pane of that name (see CDivPane::CreateByName) in place of any other; its fades
    // run on the "global" clock, so they go on while a mode is paused.
    void Open(const char* name);
    // Starts hiding the pane; it is let go once it has faded.
    void Close();

    void Draw() override;
    bool HandleEvent(const InputEvent& event) override;

    // The start pane's opener (CStartup), installed by the program's wiring.
    static void OpenByName(const char* name);

    CDivPane* GetPane() const { return m_pane.Get(); }
    bool IsClosing() const { return m_closing; }

  private:
    friend class CSingleton<CPaneOverlay>;
    CPaneOverlay() = default;

    CRef<CDivPane> m_pane;
    bool m_closing = false;
    bool m_installed = false;
};
