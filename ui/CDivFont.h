#pragma once
// Colour, glow and size of the words inside it: neither a box nor an item, it only lends its
// style. "size" counts in steps of 1.35 from the default font size at 3.
#include "ui/CDiv.h"

class CDivFont : public CDiv
{
  public:
    CDivFont();
    static CRef<CDiv> Create();

    // The common attributes, then "color" (the colour), "glow" (the shadow colour; whether it is
    // drawn as a glow follows the style) and "size".
    void Load(CXmlNode* element) override;

    // The font size (em) of a "size" step: "default/fontsize" times 1.35 to the power size - 3.
    static float SizeOfStep(float step);
};
