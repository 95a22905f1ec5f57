#pragma once
// A puzzle's tutorial: a script of timed steps that show panes of text, blur the scene behind a
// pop-out imposter, pause the game, set the frog's pose and move a demonstrating finger. The
// finger feeds real touches into the game (press, motion, release), so the frog is dragged
// exactly as a player drags it. Play starts a script when the puzzle names one; the win aborts
// it; the hints keep quiet while it runs. A singleton of the group "maingame".
// Invariant: busy exactly while a script runs; while busy, the control, the drawing and the
// schedule are registered, and the player's pointer is blocked unless the step may be skipped.
// While a turned-over pane (the in-game menu) is up the script holds: its clock stands still, the
// pane has the player's input, and the pointer's sprite, which follows the finger's touches, is
// not drawn over it; the step goes on where it was once the pane has turned away.
#include "Graphics/CImposter.h"
#include "Graphics/QuadBatch.h"
#include "core/CRef.h"
#include "core/CScheduled.h"
#include "core/CSingleton.h"
#include "core/CString.h"
#include "core/CXmlDocument.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "platform/CControl.h"
#include "platform/CDrawing.h"
#include "ui/CDivPane.h"

#include <cstdint>

class CXmlNode;

class CInstructions : public CScheduled, public CControl, public CDrawing, public CSingleton<CInstructions>
{
  public:
    ~CInstructions() override;

    // Runs the script "<name>.xml" of the data folder; nothing when one is running, or when it
    // has no root. The script "demo" is prepared but never run.
    void Start(const CString& name);
    // Hides the current pane and drops the remaining steps; the script ends when its current
    // step does.
    void Abort();
    // Ends the script at once: the finger lifted, the player's pointer given back.
    void Finish();
    // Ends a running script and runs it again from its first step (held, when a pane is up);
    // nothing when none runs.
    void Restart();
    // The next step (or the end when there is none).
    void ExecuteStep();
    // Places the finger at p (view units; z the height above the glass, pressed at 0 or below)
    // and posts the touch that placement means.
    void MoveFinger(const Vector3<float>& p);

    bool IsBusy() const { return m_busy; }
    bool IsHeld() const { return m_held; }
    bool IsModal() const { return m_modal; }
    const Vector3<float>& GetTarget() const { return m_target; }
    const Vector3<float>& GetFrom() const { return m_from; }
    bool IsFingerVisible() const { return m_finger.GetColour().w > 0.0f; }
    CDivPane* GetPane() const { return m_pane.Get(); }
    CImposter* GetImposter() const { return m_imposter.Get(); }
    // The pop-out's picture: a render target (data/materials.xml holds its blurrable material).
    static constexpr const char* kImposterTexture = "imposter";
    bool IsPausing() const { return bool(m_pause); }
    uint32_t GetStepEnd() const { return m_stepEnd; }
    // The finger's point at fraction t (0..1) of the way from `from` to `target`: eased, and
    // bulging to one side by a tenth of the distance half-way.
    static Vector3<float> FingerAt(const Vector3<float>& from, const Vector3<float>& target, float t);

    void OnSchedule(float dt) override;
    // While a step may be skipped every touch is swallowed; a press after the skip time ends
    // the step. Otherwise touches pass on (the player's real pointer is blocked).
    bool AcceptsPress(const InputEvent& event) override { return m_swallow; }
    bool OnPress(const InputEvent& event) override;
    // The step's "advance" command ends it; never consumed.
    bool OnMessage(const InputEvent& event) override;
    void Draw() override;

  private:
    friend class CSingleton<CInstructions>;
    CInstructions() = default;

    void ReadFinger(const CXmlNode& element);
    void SetSwallow(bool swallow);
    // Blocks the player's pointer or swallows touches, as the current step asks.
    void ApplyStepInput();
    // Whether a screen flip shows (or turns to or from) a pane over the game.
    static bool IsCovered();
    // Stops the script's clock and gives the player the pointer for the pane over it.
    void Hold();
    // Starts the clock again where it stopped, with the step's input as it was.
    void Resume();
    // Shows or hides the pointer's sprite.
    static void ShowCursor(bool show);

    // The running script and the name it was started with.
    CXmlDocument m_document;
    CString m_name;
    CXmlNode* m_step = nullptr;
    bool m_modal = true;
    bool m_busy = false;
    bool m_swallow = false;
    // The current step may be skipped by a touch after the skip time.
    bool m_skippable = false;
    // A flipped pane covers the game; the script's clock stopped at the held time (ms).
    bool m_held = false;
    uint32_t m_heldSince = 0;
    CString m_advance;
    CString m_layer;

    // Step state: times are ms of the platform tick; an end or skip time of 0 means none.
    uint32_t m_stepStart = 0;
    uint32_t m_stepEnd = 0;
    uint32_t m_skipTime = 0;
    CRef<CDivPane> m_pane;
    CRef<CDivPane> m_oldPane;
    CRef<CImposter> m_imposter;
    CRef<CBase> m_pause;

    // The finger.
    QuadBatch m_finger;
    QuadBatch m_shadow;
    float m_scale = 1.0f;
    float m_angle = 0.0f;
    Vector2<float> m_screen2angle;
    Vector3<float> m_from;
    Vector3<float> m_target;
    float m_height = 1.0f;
    // The finger holds the left button (a press it posted and has not let go).
    bool m_fingerDown = false;
};
