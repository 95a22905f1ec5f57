#pragma once
// A one-shot counted function object, fired later (for example by CDelay) and held in
// a CRef<CCallback> until then.
#include "core/CRefCounted.h"

class CCallback : public CRefCounted
{
  public:
    virtual void Invoke() = 0;
};
