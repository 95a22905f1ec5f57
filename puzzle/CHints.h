#pragma once
// Helps a stuck player: decides when the round hint button is offered, fades it, and on a press
// (or the "hint" command) finds a pose to aim for and has the board show the frog standing in it
// as a ghost. The route follows the puzzle's authored solution (its hint steps), rejoining it
// through the player's own history when the current pose is off it; each hop is one limb moving
// to one of its landing cells in the move map. Every hint chosen counts in the puzzle's record.
// A singleton of the group "maingame"; the button and the ghost are drawn by the scene through
// CHintServices, which also hands clicks and commands here.
//
// Invariant: a route is shown only when it is whole: it starts one legal hop from the current
// pose, every later pose is one legal hop from the one before, and it ends at the goal; anything
// else is an empty route. Positions of the button are in button space (see CHintServices).
#include "core/CScheduled.h"
#include "core/CSingleton.h"
#include "core/Vector2.h"
#include "puzzle/Pose.h"

#include <cstdint>
#include <vector>

class CMoveMap;
class CPuzzle;

class CHints : public CScheduled, public CSingleton<CHints>
{
  public:
    // No hint shown ("all bits set").
    static constexpr Pose kNoHint = Pose(0xFFFFFFFFu);
    // FindMovableLimb's answer when no limb starts a route.
    static constexpr int kNoLimb = 4;

    enum State : int32_t
    {
        kHidden = 0,  // the button is not offered
        kKeyPose = 1, // offered; a press shows the route's longest hop
        kNextPose = 2 // a press shows (or hides) the next hop
    };

    // The hints' view of a puzzle: the authored solution, the poses played and the move map. The
    // route finder reads nothing else, so tests give it small hand-made boards.
    struct Board
    {
        const std::vector<Pose>* steps = nullptr;   // hint steps, home .. goal
        const std::vector<Pose>* history = nullptr; // oldest first; the last is the current pose
        const CMoveMap* map = nullptr;
        Pose current;
        Pose goal;
    };

    // Scheduled in "maingame" every "interval/animation" ms.
    void Init() override;

    // Availability and fade, every interval; dt in seconds.
    void OnSchedule(float dt) override;
    // The named commands "hint" (consumed while hints are enabled) and "_reset" (clears the ghost,
    // not consumed); false for every other name.
    bool OnMessage(const char* name);
    // A press at point (button space): consumed only when the button is shown above half its
    // highest alpha and the point lies strictly inside it.
    bool OnClick(const Vector2<float>& point);

    // The pose to show for the current state, or kNoHint; counts the hint in the puzzle.
    Pose ChooseHint();
    // Has the ghost of pose rendered.
    void ShowHint(Pose pose);
    // ChooseHint and ShowHint, keeping the result as the hint.
    void RefreshHint();

    // The route finder, on the puzzle in play (nothing without one).
    void BuildPath();

    // The pure route finder.
    // The route from board.current to the goal (board.current itself not included), or empty.
    static std::vector<Pose> BuildPath(const Board& board);
    // The pose one hop from pose towards the cheapest reachable hint step, or kNoHint.
    static Pose NextStep(const Board& board, Pose pose);
    // Replaces detours of path (index 0 kept) by direct hops where fewer hops reach a later pose.
    static void Shorten(const CMoveMap& map, std::vector<Pose>& path);
    // The first limb (0..3) whose hop from a starts a chain of direct hops, one per differing
    // limb, that ends at b; kNoLimb when none does.
    static int FindMovableLimb(const CMoveMap& map, Pose a, Pose b);
    // Whether each pose of path is one legal hop from the one before (from for the first) and
    // the last is goal.
    static bool IsWholeRoute(const CMoveMap& map, Pose from, const std::vector<Pose>& path, Pose goal);
    // The later pose of the hop whose limb travels farthest (the first of equals); path[0] for a
    // one-pose path. path must not be empty.
    static Pose KeyPose(const std::vector<Pose>& path);
    // Whether the button is offered after undos and moves (history length - 1) against par.
    static bool IsOffered(int32_t undos, int32_t moves, int32_t par);
    // Strictly inside the circle of radius around centre.
    static bool IsInsideButton(const Vector2<float>& point, const Vector2<float>& centre, float radius);
    // The colour factors of the button's draws for an alpha: one per started unit, min(a, 1).
    // An alpha above kMaxButtonAlpha draws as kMaxButtonAlpha (the replay button's too).
    static std::vector<float> DrawFactors(float alpha);
    // The button is drawn once per started unit of alpha: a few draws at most.
    static constexpr float kMaxButtonAlpha = 4.0f;

    // The button, as the scene draws it.
    Vector2<float> GetButtonPosition() const;
    float GetButtonRadius() const;
    float GetAlpha() const { return m_alpha; }
    int32_t GetState() const { return m_state; }
    Pose GetHint() const { return m_hint; }
    bool HasHint() const { return m_hint != kNoHint; }
    const std::vector<Pose>& GetPath() const { return m_path; }

  private:
    friend class CSingleton<CHints>;
    CHints() = default;

    // The puzzle's history and layout counters in one value that moves when either does.
    static uint64_t ChangeStamp(const CPuzzle& puzzle);
    void Fade(float dt);

    std::vector<Pose> m_path;
    Pose m_hint = kNoHint;
    float m_alpha = 0.0f;
    int32_t m_state = kHidden;
    // The change stamp last looked at; nothing matches it at first.
    uint64_t m_seen = ~uint64_t(0);
};
