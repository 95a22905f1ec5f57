#pragma once
// A short-lived label over every mode: it fades in, stays, fades out and then dies by itself, on
// the platform tick (so it runs while a mode is paused). Invariant: until its fade-out has ended
// (or Finish), it holds a counted reference to itself, so its creator may drop the one Create
// returns; while anyone else holds a counted reference, every draw keeps it up.
#include "core/CRef.h"
#include "core/CScheduled.h"
#include "core/CString.h"
#include "core/Vector2.h"
#include "platform/CDrawing.h"

#include <cstdint>

class CPrint;

class CFloater : public CScheduled, public CDrawing
{
  public:
    enum State : int32_t
    {
        kFadingIn = 0,
        kSurviving = 1,
        kFadingOut = 2,
        kFinished = 3,
    };

    // A floater with its top left at (x, y) (whole-screen view units), its text size (0 or less:
    // "ui/floatersize") and the "ui/floater..." times; drawn in the "global" pass "floaters".
    static CRef<CFloater> Create(const CString& text, float x, float y, float size);
    // Shared displacement (whole-screen view units) of every floater's drawing; the spiral chooser
    // writes the pond's parallax into it. (0, 0) at start-up.
    static const Vector2<float>& GetOffset();
    static void SetOffset(const Vector2<float>& offset);

    ~CFloater() override;

    // Set before the first tick: the clamp into the screen happens when the text is first laid out.
    void SetKeepOnScreen(bool keep) { m_keepOnScreen = keep; }
    void SetCentred(bool centred) { m_centred = centred; }
    // 0 or less means "ui/floatersize".
    void SetSize(float size);
    // Keeps a shown floater up: surviving starts its survive time again, fading out turns back
    // into fading in at the opacity it had.
    void Refresh();
    // Ends it at once, from any state; it dies when nobody else holds it.
    void Finish();

    // Advances the phases by the platform tick (dt is not used) and places the text.
    void Tick(float dt);
    void OnSchedule(float dt) override { Tick(dt); }
    // Pass "floaters": refreshes while held by others, then draws the text (glow first).
    void Draw() override;
    // The "global" list is going: finish without unregistering from it.
    void OnListDestroyed() override;

    State GetState() const { return m_state; }
    float GetOpacity() const { return m_opacity; }
    float GetSize() const { return m_size; }
    // The stored position; the keep-on-screen clamp changes it once.
    const Vector2<float>& GetPosition() const { return m_position; }
    // The text block, once the text has been shown; null before and after.
    CPrint* GetPrint() const { return m_print.Get(); }
    // Fade-in, survive and fade-out times in seconds.
    float GetFadeIn() const { return m_fadeIn; }
    float GetSurvive() const { return m_survive; }
    float GetFadeOut() const { return m_fadeOut; }

  private:
    CFloater(const CString& text, float x, float y, float size);

    // Progress (0 to 1) of the current phase at now (platform ms).
    float Progress(uint32_t now) const;
    // Builds the text block and applies the keep-on-screen clamp; false without a font.
    bool BuildPrint();

    // Fixed at creation.
    float m_fadeIn = 0.0f; // seconds
    float m_survive = 0.0f;
    float m_fadeOut = 0.0f;
    bool m_keepOnScreen = false;
    bool m_centred = false;
    Vector2<float> m_position; // whole-screen view units
    CString m_text;
    float m_size = 0.0f;
    CString m_fontName;

    // Live state.
    uint32_t m_phaseStart = 0; // platform ms
    CRef<CFloater> m_self;
    State m_state = kFadingIn;
    float m_opacity = 0.0f;
    bool m_listGone = false;

    // Draw cache, built on first need.
    CRef<CPrint> m_print;
    Vector2<float> m_extent; // laid-out text, view units
};
