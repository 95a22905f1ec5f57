#pragma once
// A box of the class "tip", so that content can mark a hint apart; it lays out as any box.
#include "ui/CDiv.h"

class CDivTip : public CDiv
{
  public:
    CDivTip();
    static CRef<CDiv> Create();
};
