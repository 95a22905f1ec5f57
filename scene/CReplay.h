#pragma once
// After a win, a round replay button: pressed, it wipes a picture of the solved scene up over the
// screen, puts the frog back at home underneath, cross-fades the picture away and plays the
// player's solution back move by move (a "stick" as each limb lands, an "unstick" as it lifts)
// until the goal stands again. A singleton of the group "maingame".
// States: 0 idle, 1 button offered, 2 waiting for the picture, 3 wipe, 4 cross-fade, 5 wait
// before replaying, 6 replaying. Invariant: the game's scheduler is paused from the press until
// state 5, and the player's pointer is blocked from the press until the replay ends or resets.
#include "Graphics/CTexture.h"
#include "Graphics/QuadBatch.h"
#include "core/CRef.h"
#include "core/CScheduled.h"
#include "core/CSingleton.h"
#include "core/Vector4.h"
#include "platform/CControl.h"
#include "platform/CDrawing.h"

#include <cstdint>

class CReplay : public CScheduled, public CControl, public CDrawing, public CSingleton<CReplay>
{
  public:
    enum State : int32_t
    {
        kIdle = 0,
        kOffered = 1,
        kWaitingForPicture = 2,
        kWipe = 3,
        kCrossFade = 4,
        kBeginWait = 5,
        kReplaying = 6,
    };

    // Joins the control group "game" of "maingame".
    void Init() override;
    ~CReplay() override;

    // Back to idle at once (the puzzle is unloaded).
    void Reset();

    State GetState() const { return State(m_state); }
    float GetFade() const { return m_fade; }
    float GetProgress() const { return m_progress; }
    // Whether a touch at point (logical pixels) falls on the button, in button space of the
    // viewport (x, y, width, height): from its corner, where the button is drawn, and not from
    // the screen's, which lies apart from it beside the letterbox's bars.
    static bool IsOnButton(const Vector2<float>& point, const Vector4<int32_t>& viewport);

    void OnSchedule(float dt) override;
    // "petalsthrown" at the goal offers the button; never consumed.
    bool OnMessage(const InputEvent& event) override;
    // A click on the offered button starts the replay, and is consumed.
    bool OnClick(const InputEvent& event) override;
    void Draw() override;

  private:
    friend class CSingleton<CReplay>;
    CReplay() = default;

    void Offer();
    void Begin();
    void Stop();
    bool IsPictureLive() const;
    void DropPicture();

    CRef<CTexture> m_pictureTexture;
    QuadBatch m_picture;
    QuadBatch m_lowerEdge;
    QuadBatch m_upperEdge;
    QuadBatch m_button;
    float m_fade = 0.0f;
    int32_t m_state = kIdle;
    float m_progress = 0.0f;
    CRef<CBase> m_pause;
};
