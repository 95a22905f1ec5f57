#pragma once
// The inline style tags "i" (italic), "b" (bold), "em" (nothing) and "centre" / "center"
// (centred lines): neither a box nor an item, the node lends its style to the words inside it.
// The tag is tested exactly as written, so "I" makes an alias that sets nothing.
#include "ui/CDiv.h"

class CDivAlias : public CDiv
{
  public:
    CDivAlias();
    static CRef<CDiv> Create();

    void Load(CXmlNode* element) override;
};
