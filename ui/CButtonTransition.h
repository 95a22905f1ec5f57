#pragma once
// An animation a button holds: while it runs the button takes no input, and every frame it may
// reshape what the button draws (colour, quad rect, texture rect and shown frame). Phases are
// the looks it moves between; it runs from the current phase towards the target phase, timed on
// the current mode's game clock (ms), which stands still while the mode is paused.
#include "core/CBase.h"
#include "core/Vector4.h"

#include <cstdint>

class CButton;

class CButtonTransition : public CBase
{
  public:
    // Reshapes one frame of the button's drawing: colour (r, g, b, a), rect (x0, y0, x1, y1 about
    // the button's centre, already multiplied by the button's zoom), uvs (left, top, right,
    // bottom) and the index of the frame the button walks towards.
    virtual void Apply(CButton& button, Vector4<float>& colour, Vector4<float>& rect, Vector4<float>& uvs,
                       uint32_t& frame) = 0;
    // Runs towards targetPhase, beginning delay seconds from now on the game clock (a negative
    // delay starts it that far under way). The current phase is left as it is, so starting back
    // towards the phase it came from plays in reverse.
    virtual void Start(int32_t targetPhase, float delay);
    // While true the button ignores input.
    virtual bool IsRunning() const = 0;

    int32_t GetStartTime() const { return m_startTime; }
    uint32_t GetPhase() const { return m_phase; }
    uint32_t GetTargetPhase() const { return m_targetPhase; }

  protected:
    CButtonTransition() = default;

    int32_t m_startTime = 0; // game clock, ms
    uint32_t m_phase = 1;
    uint32_t m_targetPhase = 1;
};
