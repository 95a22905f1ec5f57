#pragma once
// The front end's own member of the control groups: a place for the puzzle chooser's input, kept
// with every CControl default. It joins no group, so it never receives a record.
#include "core/CBase.h"
#include "core/CSingleton.h"
#include "platform/CControl.h"

class CControlFrontEnd : public CBase, public CControl, public CSingleton<CControlFrontEnd>
{
  private:
    friend class CSingleton<CControlFrontEnd>;
    CControlFrontEnd() = default;
};
