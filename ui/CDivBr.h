#pragma once
// A line break: what follows starts on a new line below, even when the current line has room.
// The node itself takes no place in the flow.
#include "ui/CDiv.h"

class CDivBr : public CDiv
{
  public:
    CDivBr();
    static CRef<CDiv> Create();

    // A new line below line, with its width; none without a line.
    CRef<CDivLine> Layout(CRef<CDivLine> line) override;
};
