#pragma once
// A developer's overlay: lines, circles and texts queued from anywhere, each drawn over the game
// in the pass "debug" until its lifetime ends. Positions are in the units of whatever view is
// current in that pass. Invariant: an entry is drawn only while its expiry is after the frame's
// tick; the first draw at or past it removes it.
#include "Graphics/CFont.h"
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CSingleton.h"
#include "core/CString.h"
#include "core/Vector2.h"
#include "core/Vector4.h"
#include "platform/CDrawing.h"

#include <cstdint>
#include <vector>

class CDebug : public CBase, public CDrawing, public CSingleton<CDebug>
{
  public:
    struct Line
    {
        Vector2<float> start;
        Vector2<float> end;
        Vector4<float> colour;
        int64_t expiry; // platform milliseconds
    };
    struct Text
    {
        Vector2<float> position;
        CString text;
        int64_t expiry;
    };

    ~CDebug() override;

    // Lifetimes in seconds from the current frame's tick.
    void AddLine(const Vector2<float>& start, const Vector2<float>& end, const Vector4<float>& colour,
                 float lifetime);
    // 24 lines, one every 15 degrees, starting and ending at centre + (radius, 0).
    void AddCircle(const Vector2<float>& centre, float radius, const Vector4<float>& colour, float lifetime);
    void AddText(const Vector2<float>& position, const CString& text, float lifetime);

    const std::vector<Line>& GetLines() const { return m_lines; }
    const std::vector<Text>& GetTexts() const { return m_texts; }
    // Drops what has expired at now (platform milliseconds); Draw does this before drawing.
    void Expire(int64_t now);

    void Draw() override;

  private:
    friend class CSingleton<CDebug>;
    CDebug();

    std::vector<Line> m_lines;
    std::vector<Text> m_texts;
    CRef<CFont> m_font;
};
