#pragma once
// What the hints ask of the frog, the screen flip, the tutorial and the renderer, which puzzle/
// cannot name. Every operation does nothing by default (no tutorial, no frog, no picture), so the
// hints run headless; the program installs the real ones and tests install fakes.
// Button space: a point of the screen relative to the current viewport's corner, divided by the
// viewport's shorter side (1 is the length of that side).
#include "core/Vector2.h"
#include "puzzle/Pose.h"

#include <vector>

class CHintServices
{
  public:
    CHintServices() = default;
    virtual ~CHintServices() = default;
    CHintServices(const CHintServices&) = delete;
    CHintServices& operator=(const CHintServices&) = delete;

    // The installed services, or the do-nothing ones; never null.
    static CHintServices& Get();
    // Installs services (null: back to none); the caller keeps ownership and uninstalls them
    // before they die. Returns the previous ones.
    static CHintServices* Install(CHintServices* services);

    // The tutorial is running its script, which the hints must not disturb.
    virtual bool IsTutorialBusy() { return false; }
    // Starts the screen flip that was prepared (the menu that sent "hint" turns away).
    virtual void StartFlip() {}
    // The frog's four limb joints in button space; left empty without a frog.
    virtual void GetLimbPoints(std::vector<Vector2<float>>& points) {}
    // Renders the ghost of the frog standing in pose, which the board then draws.
    virtual void ShowHint(Pose pose) {}
};
