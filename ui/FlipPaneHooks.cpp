#include "ui/FlipPaneHooks.h"

#include "ui/CDivPane.h"

namespace
{
CRef<CBase> Create(const char* name)
{
    CRef<CDivPane> pane = CDivPane::CreateByName(name);
    // Only a pane whose document loaded is named: an unnamed one has nothing to show.
    if (pane->GetName().empty())
        return CRef<CBase>();
    return pane;
}

void SetEnabled(CBase* pane, bool enabled)
{
    if (CDivPane* div = dynamic_cast<CDivPane*>(pane))
        div->SetEnabled(enabled);
}

void Render(CBase* pane)
{
    if (CDivPane* div = dynamic_cast<CDivPane*>(pane))
        div->Render();
}

void CollectEmboss(CBase* pane, std::vector<float>& spots)
{
    if (CDivPane* div = dynamic_cast<CDivPane*>(pane))
        div->CollectEmboss(spots);
}

void SetClock(CBase* pane, CScheduler* clock)
{
    if (CDivPane* div = dynamic_cast<CDivPane*>(pane))
        div->SetClock(clock);
}
} // namespace

CScreenFlip::PaneHooks FlipPaneHooks::Make()
{
    CScreenFlip::PaneHooks hooks;
    hooks.create = &Create;
    hooks.setEnabled = &SetEnabled;
    hooks.render = &Render;
    hooks.collectEmboss = &CollectEmboss;
    hooks.setClock = &SetClock;
    return hooks;
}

CDivPane* FlipPaneHooks::CurrentPane()
{
    const CScreenFlip* flip = CScreenFlip::Peek();
    return flip ? dynamic_cast<CDivPane*>(flip->GetPane()) : nullptr;
}
