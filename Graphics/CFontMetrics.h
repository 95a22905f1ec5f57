#pragma once
// What the layout of the user-interface tree needs of a font: the size of a text and the part of
// a line below the baseline, in pixels at a font size in pixels. The font code derives its fonts
// from this and installs its cache as the finder; tests install a deterministic stand-in, so that
// text lays out without a GL context. Invariant: Find never creates anything when no finder is
// installed, and then answers null (a word without a font takes no place).
// The real fonts (CFont) derive from this; the font registry (CFoundry) is the finder while it
// lives.
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CString.h"
#include "core/Vector2.h"

#include <cstdint>

class CPrint;

class CFontMetrics : public CBase
{
  public:
    // The font of a face and style (0 plain, 1 italic, 2 oblique; 3, bold, has no font of its
    // own and is looked up as plain), or null when it cannot be had.
    using Finder = CRef<CFontMetrics> (*)(const CString& face, int32_t style);

    // (width, height) of text at size; (0, 0) when nothing prints.
    virtual Vector2<float> MeasureText(const CString& text, float size) = 0;
    // The part of a line below the baseline at size.
    virtual float GetDescent(float size) const = 0;
    // A block that draws text, kept by the font while it is drawn; null for a font that only
    // measures.
    virtual CRef<CPrint> GetPrint(const CString& text);

    // Through the installed finder; null without one.
    static CRef<CFontMetrics> Find(const CString& face, int32_t style);
    // Installs finder (null: none) and returns the one it replaced.
    static Finder SetFinder(Finder finder);
};
