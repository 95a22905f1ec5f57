#pragma once
// The celebration after a win, queued with CDelay for "petals/throwdelay" seconds: the petal
// shower and the named command "puzzlewon".
#include "core/CCallback.h"

class CWinReward : public CCallback
{
  public:
    void Invoke() override;
};
