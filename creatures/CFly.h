#pragma once
// The fly that sits on the pond board a short way ahead of where the frog's head will be in the
// goal pose: it flies in when a puzzle starts, lands, plays weighted little actions, shies from
// the frog and is caught by its tongue on a win. A singleton of the group "maingame"; it draws in
// the pass "fly" at the offset of the pond's "board" layer. Positions are board cells, angles
// degrees, times game-clock milliseconds of "maingame" unless named otherwise.
// Invariant: the body and shadow sprites always share translation-independent looks (quad, uv,
// rotation = the heading); the current step, when an action plays, indexes that action's steps.
#include "Graphics/QuadBatch.h"
#include "core/CBase.h"
#include "core/CSingleton.h"
#include "core/CString.h"
#include "core/CUpdate.h"
#include "core/Vector2.h"
#include "core/Vector4.h"
#include "creatures/FlyAction.h"
#include "creatures/FrogSight.h"
#include "platform/CDrawing.h"
#include "puzzle/Pose.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class CXmlNode;
class Random;

class CFly : public CBase, public CDrawing, public CUpdate, public CSingleton<CFly>
{
  public:
    enum State : int32_t
    {
        kLoaded = 0,
        kResting = 1,
        kFlying = 2,
        kCaught = 3,
    };

    // Fixed flight and sprite constants.
    static constexpr float kArrivalDistance = 0.02f; // cells: closer than this the fly lands
    static constexpr float kMaxSpeed = 5.0f;         // cells per second
    static constexpr float kSteeringGain = 4.0f;     // per second
    static constexpr float kDrag = 2.0f;             // per second
    static constexpr float kTurnAcceleration = 3600.0f; // degrees per second squared
    static constexpr float kTurnDamping = 10.0f;     // per second
    static constexpr float kGlowFadeTime = 0.25f;    // seconds
    static constexpr float kNearDistance = 0.5f;     // cells: a frog joint this close scares it
    static constexpr float kAvoidRadius = 0.6f;      // cells: reach of AvoidPoint's push
    static constexpr int32_t kFirstActionDelay = 2000; // ms after a load
    static constexpr float kShadowLodBias = 2.0f;

    // Where the time and the frog come from; tests hand in their own.
    using Clock = int32_t (*)();
    using FrogLook = void (*)(FrogSight& sight);

    // Draws in the pass "fly" and updates every "interval/animation" ms, both in "maingame".
    void Init() override;
    ~CFly() override;

    // Reads the board's "fly" element (sprite, frames, actions, colours), then PlaceForGoal.
    // Walking the children moves only the element's cursors.
    void Load(CXmlNode& element);
    // The board layer's fly hook: Load on the singleton (made on first use).
    static void LoadOnBoard(const CXmlNode& element);

    // The rest point ahead of the current puzzle's goal pose and a start outside the current view
    // behind its home pose.
    void PlaceForGoal();
    // The same from given poses and view rectangle (x, y, width, height in board cells). A pose
    // whose hands-minus-feet vectors cancel faces up the board (0, -1).
    void PlaceForGoal(Pose goal, Pose home, const Vector4<float>& viewRect);
    // At the rest point, on the board, resting: a restored game shows the fly already landed.
    void JumpToRest();
    // false: caught (by the tongue). true: a caught fly flies again; other states stay.
    void SetFree(bool free);

    // The tick, dt in seconds: by state, rest (actions), flight (steering, landing) or the glow
    // fading after a catch.
    void Update(float dt) override;

    // The pass "fly": the fly at the board's offset, (0, 0) without a pond.
    void Draw() override;
    // The fly with the model-view matrix translated by offset (board cells): shadow (blurred),
    // body, glow. Places the sprites even without a GL context.
    void DrawAt(const Vector2<float>& offset);
    // Only the body at point, for the tongue that carries a caught fly in.
    void DrawBodyAt(const Vector2<float>& point);
    // Moves the three sprites to where the next draw shows them, and steps the flight frames
    // when flying; the geometric half of DrawAt.
    void PlaceSprites();

    // Whether any frog joint lies within kNearDistance of the fly.
    bool IsFrogNear() const;
    // The push away from point: zero beyond kAvoidRadius, rising to 1 (unit length) on it.
    Vector2<float> AvoidPoint(const Vector2<float>& point) const;

    // Seams, for tests: null puts back the game's clock, generator or frog.
    void SetClock(Clock clock) { m_clock = clock; }
    void SetRandom(Random* random) { m_random = random; }
    void SetFrogLook(FrogLook look) { m_frogLook = look; }
    // The game clock of "maingame"; 0 without that scope.
    static int32_t GameTime();
    // What the frog singleton shows (nothing without a frog).
    static void LookAtFrog(FrogSight& sight);

    // Heading of a direction: atan2(x, -y) in degrees, 0 up the board (0, -1), 90 for (1, 0).
    static float HeadingOf(const Vector2<float>& direction);

    State GetState() const { return m_state; }
    const Vector2<float>& GetRestPoint() const { return m_restPoint; }
    float GetHeight() const { return m_height; }
    const Vector2<float>& GetVelocity() const { return m_velocity; }
    float GetHeading() const { return m_heading; }
    float GetRestDistance() const { return m_restDistance; }
    const std::map<std::string, FlyAction>& GetActions() const { return m_actions; }
    // The action playing ("" for none), the index of its next step and when that step is due.
    const std::string& GetCurrentAction() const { return m_currentAction; }
    size_t GetCurrentStep() const { return m_currentStep; }
    int32_t GetNextStepTime() const { return m_nextStepTime; }
    const Vector4<float>& GetRestFrame() const { return m_restFrame; }
    const std::vector<Vector4<float>>& GetFlightFrames() const { return m_flightFrames; }
    const Vector4<float>& GetGlowColour() const { return m_glowColour; }
    const Vector4<float>& GetShadowColour() const { return m_shadowColour; }
    const QuadBatch& GetBody() const { return m_body; }
    const QuadBatch& GetShadow() const { return m_shadow; }
    const QuadBatch& GetGlow() const { return m_glow; }

    // Read by the frog's eyes, which look at the fly, and the puzzle's emboss spot.
    Vector2<float> position;

  private:
    friend class CSingleton<CFly>;
    CFly() = default;

    void UpdateRest(float dt);
    void UpdateFlight(float dt);
    void FadeGlowIn(float dt);
    // Starts the named action when the map holds it; false otherwise.
    bool StartAction(const std::string& name, int32_t now);
    // The weighted choice over every action; false for an empty map.
    bool ChooseAction(int32_t now);
    // Plays the current action's due step, and ends the action after its last.
    void PlayStep(int32_t now, bool headAhead);
    void SetHeading(float degrees);
    void ShowFrame(const Vector4<float>& uv);
    int32_t Now() const;
    Random& Generator() const;
    FrogSight& LookAtFrogNow() const;

    // Fixed at load.
    float m_restDistance = 1.0f;
    Vector4<float> m_restFrame;
    std::vector<Vector4<float>> m_flightFrames;
    std::map<std::string, FlyAction> m_actions; // byte-wise name order
    Vector4<float> m_shadowColour{0.0f, 0.0f, 0.0f, 0.25f};
    Vector4<float> m_glowColour{1.0f, 1.0f, 1.0f, 1.0f};

    // Live state.
    State m_state = kResting;
    Vector2<float> m_restPoint;
    float m_height = 0.0f;
    Vector2<float> m_velocity;
    float m_heading = 0.0f;
    float m_turnRate = 0.0f; // degrees per second
    std::string m_currentAction; // empty: none playing
    size_t m_currentStep = 0;
    int32_t m_nextStepTime = 0;
    size_t m_flightFrame = 0;

    // Draw caches: the three one-quad sprites.
    QuadBatch m_body;
    QuadBatch m_shadow;
    QuadBatch m_glow;

    // Seams.
    Clock m_clock = nullptr;
    Random* m_random = nullptr;
    FrogLook m_frogLook = nullptr;
    // What the frog showed at the last look; reused so that a tick allocates nothing.
    mutable FrogSight m_sight;
};
