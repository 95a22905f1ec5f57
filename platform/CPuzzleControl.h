#pragma once
// Hands the named commands of the game's menus and keys ("ingame", "_abandon", "_reset",
// "_losefocus") to the puzzle in play. The puzzle itself is model code that knows no controls,
// so this member of the group "maingame" receives them in the group "puzzle" on its behalf.
#include "core/CBase.h"
#include "core/CSingleton.h"
#include "platform/CControl.h"

class CPuzzleControl : public CBase, public CControl, public CSingleton<CPuzzleControl>
{
  public:
    void Init() override;
    bool OnMessage(const InputEvent& event) override;

  private:
    friend class CSingleton<CPuzzleControl>;
    CPuzzleControl() = default;
};
