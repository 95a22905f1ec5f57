#pragma once
// A deterministic stand-in font for laying out text without GL: every character is half the
// font size wide, a line is one font size high and a fifth of it lies below the baseline. Install
// it for one test with FixedFonts; the face "missing" has no font.
#include "Graphics/CFontMetrics.h"

class FixedFontMetrics : public CFontMetrics
{
  public:
    static constexpr float kCharWidth = 0.5f; // font sizes
    static constexpr float kDescent = 0.2f;   // font sizes

    Vector2<float> MeasureText(const CString& text, float size) override
    {
        if (text.empty())
            return Vector2<float>();
        return Vector2<float>(float(text.size()) * size * kCharWidth, size);
    }
    float GetDescent(float size) const override { return size * kDescent; }
};

class FixedFonts
{
  public:
    FixedFonts() : m_previous(CFontMetrics::SetFinder(&Find)) { s_font = MakeRef<FixedFontMetrics>(); }
    ~FixedFonts()
    {
        CFontMetrics::SetFinder(m_previous);
        s_font.Reset();
    }
    FixedFonts(const FixedFonts&) = delete;
    FixedFonts& operator=(const FixedFonts&) = delete;

  private:
    static CRef<CFontMetrics> Find(const CString& face, int32_t)
    {
        return face == "missing" ? CRef<CFontMetrics>() : CRef<CFontMetrics>(s_font);
    }

    static inline CRef<CFontMetrics> s_font;
    CFontMetrics::Finder m_previous;
};
