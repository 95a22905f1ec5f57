#pragma once
// What the skeleton's control asks of the platform and of the layers above it: sounds, the
// cursor, the pointer, the swipe recogniser, the pond's target highlights and floating tips.
// The defaults reach the platform singletons when they exist (and do nothing otherwise); the
// pond and the floating tips do nothing until the scene installs services that reach them.
// Tests install a fake that records the calls.
#include "core/CString.h"
#include "core/Vector2.h"

#include <cstdint>
#include <vector>

class CSkeletonServices
{
  public:
    CSkeletonServices() = default;
    virtual ~CSkeletonServices() = default;
    CSkeletonServices(const CSkeletonServices&) = delete;
    CSkeletonServices& operator=(const CSkeletonServices&) = delete;

    // The installed services, or the defaults; never null.
    static CSkeletonServices& Get();
    // Installs services (null: back to the defaults); the caller keeps ownership and uninstalls
    // them before they die. Returns the previous ones (null when none were installed).
    static CSkeletonServices* Install(CSkeletonServices* services);

    // Plays a named sound effect (CAudio).
    virtual void PlaySound(const char* name);
    // Shows the named cursor ("grab", "disable") for ms milliseconds. No cursor by default.
    virtual void SetCursor(const char* name, int32_t ms) {}
    // Whether any button of the mask is held (1 = left; CInput).
    virtual bool IsButtonDown(uint8_t mask);
    // The pointer in the units of the current view (board cells during play; CInput).
    virtual Vector2<float> GetPointerViewPosition();
    // The pointer in the whole-screen view's units, where floating tips live.
    virtual Vector2<float> GetPointerScreenViewPosition();
    // The whole-screen view's rectangle (x, y, width, height in its units).
    virtual void GetScreenViewRect(float& x, float& y, float& width, float& height);
    // The swipe recogniser (CGesture): forget the current stroke; show the last swipe's trail.
    virtual void CancelGesture();
    virtual void PlayGestureFeedback();
    // Highlights the cells (board cells) the held limb may land on in the puzzle's pond; an
    // empty list clears them. Nothing by default.
    virtual void SetPondTargets(const std::vector<Vector2<float>>& cells) {}
    // A floating tip with its top left at position (whole-screen view units), size in those
    // units, kept on the screen. Nothing by default.
    virtual void ShowTip(const CString& text, const Vector2<float>& position, float size) {}
};
