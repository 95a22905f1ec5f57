#pragma once
// The screen flip's view of a pane: the user-interface tree's panes (CDivPane) made, enabled,
// drawn, embossed and clocked by name, for the program's wiring to install in CScreenFlip.
#include "Graphics/CScreenFlip.h"

struct FlipPaneHooks
{
    static CScreenFlip::PaneHooks Make();
    // The flip's pane as a pane of the tree; null when there is none (or it is not a CDivPane).
    static class CDivPane* CurrentPane();
};
