#pragma once
// Recognises straight one-finger (left button) swipes anywhere on the screen and posts each as
// the command "_gesture" with "swipeleft", "swiperight", "swipeup" or "swipedown"; the receiver
// decides what a swipe means and may ask for the trail and sound afterwards. It watches touches
// without consuming them, except presses in the border strips of "gesture/modalborder", which it
// swallows. Invariant: with "gesture/swipelength" not above 0 it does nothing at all; the start
// point is unset whenever no swipe is being followed.
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CSingleton.h"
#include "core/CString.h"
#include "core/Vector2.h"
#include "core/Vector4.h"
#include "platform/CControl.h"

#include <cstdint>
#include <vector>

class CGesture : public CBase, public CControl, public CSingleton<CGesture>
{
  public:
    // The particle trail lives above this layer, which installs it; without it the feedback shows
    // nothing. The sound plays through the audio system unless a hook replaces it.
    struct FeedbackHooks
    {
        // Makes the particle system "trail"; null when there is none.
        CRef<CBase> (*makeTrail)() = nullptr;
        // How many particles the trail holds at once.
        int32_t (*capacityOf)(CBase* trail) = nullptr;
        // Emits one particle at position (logical pixels) once delaySeconds have passed.
        void (*emitAt)(CBase* trail, const Vector2<float>& position, float delaySeconds) = nullptr;
        // Plays the named sound.
        void (*playSound)(const char* name) = nullptr;
    };
    // Returns the previous hooks so that a test or a dying installer can put them back.
    static FeedbackHooks SetFeedbackHooks(const FeedbackHooks& hooks);

    // Joins the group "gesture" of the scope "global" when "gesture/swipelength" is above 0 now;
    // otherwise it never receives input.
    void Init() override;

    // Every press is watched (and only border presses consumed).
    bool AcceptsPress(const InputEvent& event) override;
    bool OnPress(const InputEvent& event) override;
    // Motion with the left button held grows the swipe; any other motion abandons it.
    bool OnMove(const InputEvent& event) override;
    // The left button went up: the swipe is recognised or not, and the touch is over.
    bool OnRelease(const InputEvent& event) override;

    // Abandons the swipe in progress (a control that took the touch for itself calls it).
    void Cancel();
    // Shows the last recognised swipe as particles eased along it, and plays its sound.
    void PlayFeedback();

    // The word of the last release ("" when it recognised nothing).
    const CString& GetGesture() const { return m_gesture; }
    // The two ends of the last recognised swipe along its axis, or empty (logical pixels).
    const std::vector<Vector2<float>>& GetTrail() const { return m_trail; }
    // A swipe is being followed (pressed, not yet released, cancelled or abandoned).
    bool IsFollowing() const;

    // A point in a border strip of a screen of size: x < left, y < top, x > width - right or
    // y > height - bottom, strips (left, top, right, bottom) in pixels.
    static bool InBorder(const Vector2<float>& point, const Vector2<float>& size,
                         const Vector4<float>& strips);

  private:
    friend class CSingleton<CGesture>;
    CGesture();

    void Include(const Vector2<float>& point);

    // Per touch.
    Vector2<float> m_boundsMin;
    Vector2<float> m_boundsMax;
    Vector2<float> m_start; // kUnset while no swipe is followed
    Vector2<float> m_last;
    // The last recognised swipe.
    std::vector<Vector2<float>> m_trail;
    CString m_gesture;
    // Made on the first feedback, kept while the recogniser lives.
    CRef<CBase> m_trailParticles;
};
