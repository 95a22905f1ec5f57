#pragma once
// The game's start-up sequence and the decision, at shutdown, whether the puzzle in play is
// resumed at the next start. Starts last in the group "global" (priority 100), so every other
// global service exists when its Init runs; holds no state of its own.
#include "core/CBase.h"
#include "core/CShutdown.h"
#include "core/CSingleton.h"

class CStartup : public CBase, public CShutdown, public CSingleton<CStartup>
{
  public:
    // Opens the start pane, enters the front end, then resumes or starts the current puzzle.
    void Init() override;
    // With no puzzle in play, clears the saved puzzle state so that the next start stays in the
    // front end; a puzzle left in play keeps it and is resumed.
    void Shutdown() override;

    // Opens a pane by name over the front end (the screen flip, which the user-interface tree
    // provides). Without one the start pane is skipped. Returns the previous opener.
    using PaneOpener = void (*)(const char* paneName);
    static PaneOpener SetPaneOpener(PaneOpener opener);

  private:
    friend class CSingleton<CStartup>;
    CStartup() = default;
};
