#pragma once
// The mode of a puzzle in play ("maingame"); its group holds the puzzle, the frog, the score
// and the rest of a game's singletons.
#include "platform/CMode.h"

class CModeMainGame : public CMode
{
  public:
    explicit CModeMainGame(const char* name) : CMode(name) {}

    // Sets the platform's frame mark.
    void Activate() override;
};
