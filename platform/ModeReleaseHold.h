#pragma once
// Scope guard around one handler (an input record's dispatch, a scheduler run, a frame):
// a mode popped while it lives is destroyed only when the outermost guard ends, so that no
// object is destroyed inside its own handler. Does nothing when there is no game.
#include "core/CLink.h"
#include "platform/CGame.h"

class ModeReleaseHold
{
  public:
    ModeReleaseHold() : m_game(CGame::Peek())
    {
        if (CGame* game = m_game.Get())
            game->HoldModeReleases();
    }
    ~ModeReleaseHold()
    {
        if (CGame* game = m_game.Get())
            game->UnholdModeReleases();
    }
    ModeReleaseHold(const ModeReleaseHold&) = delete;
    ModeReleaseHold& operator=(const ModeReleaseHold&) = delete;

  private:
    CLink<CGame> m_game;
};
