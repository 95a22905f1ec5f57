#pragma once
// The player's frog as a whole: the species it loads (the soft-body skeleton and the body pieces
// pinned to it), and what it does on its own while a puzzle is played: blinking, breathing with
// its ribbit, the fidget of its feet and the lily-pad spring that sways the pond's layers while a
// limb is held. A singleton of the group "maingame"; it draws in the pass "body" at the offset of
// the pond's "board" layer, and into the board's soft-shadow passes. Times are game-clock ms of
// the scope "maingame", positions board cells.
// Invariant: once any species load has run, the skeleton is never null (a species that cannot be
// read leaves an empty one); the body pieces are those of the last species document that had them.
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CSingleton.h"
#include "core/CString.h"
#include "core/CUpdate.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "core/Vector4.h"
#include "creatures/CFlap.h"
#include "creatures/CFoot.h"
#include "platform/CControl.h"
#include "platform/CDrawing.h"
#include "puzzle/Pose.h"

#include <cstdint>
#include <vector>

class CSkeleton;

class CFrog : public CBase, public CControl, public CDrawing, public CUpdate, public CSingleton<CFrog>
{
  public:
    // The species of a frog no puzzle has named.
    static constexpr const char* kDefaultSpecies = "d-azureus";
    // Frames without a draw after which the frog counts as off the screen.
    static constexpr int32_t kOffScreenFrames = 3;

    // Draws in the pass "body" and updates every "interval/animation" ms, both in "maingame".
    void Init() override;
    ~CFrog() override;

    // Loads "species/<name>" from the data folder: its skeleton always (empty when the document
    // cannot be read); its body pieces, feet and ribbit sound only when it has "body/flaps",
    // else they stay as they were. Without "body/feet" the feet stay and there is no ribbit.
    void LoadSpecies(const CString& name);
    // The skeleton, loading the current species first when none is loaded; never null.
    CSkeleton* GetSkeleton();
    const CString& GetSpecies() const { return m_species; }

    // Once per tick of "maingame", dt in seconds: nothing while the frog is off the screen and
    // still; else the feet, blinking, the ribbit, then the lily-pad spring, in that order.
    void Update(float dt) override;

    // The pass "body": the whole frog at the pond's "board" offset; nothing without a pond.
    void Draw() override;
    // The frog with the model-view matrix translated by offset (board cells); what Draw does
    // once it has found the board.
    void DrawAt(const Vector2<float>& offset);
    // One soft-shadow pass of the board layer, which has translated the matrix by its offset:
    // offset is the pass's shift (x, y) and depth (z); bounds (may be null) is grown to hold
    // what is drawn. Nothing without a pond.
    void DrawShadow(const Vector3<float>& offset, Vector4<float>* bounds);
    // The ghost of the frog standing in pose, at the board's offset, into whatever target is
    // bound; the frog itself is left as it was. bounds as for DrawShadow.
    void DrawAtPose(Pose pose, Vector4<float>* bounds);
    // The board layer's shadow hook: DrawShadow on the frog when there is one.
    static void DrawShadowOfFrog(const Vector3<float>& offset, Vector4<float>* bounds);

    // The win: every chain throws its tongue and the body lunges at the fly.
    void CatchFly();
    // A reset: the tongues come back (freeing the fly) and the lunge ends; nothing without a
    // skeleton.
    void CancelCatch();

    // What the layers with a "spring" factor add times their factor (board cells).
    const Vector2<float>& GetSpringPosition() const { return m_springPosition; }
    // The pond layers' spring source: the frog's spring position, (0, 0) without a frog.
    static Vector2<float> SpringOfFrog();
    // The knobs' limb probe: the joint of limb (board cells) and whether the player holds that
    // limb; false without that joint. The frog is made on first use.
    static bool ProbeLimb(int32_t limb, Vector2<float>* position, bool* held);

    // 0 to 1: how hard the feet fidget while the held limb hovers over a knob it may not land on
    // (1 right on the knob's centre, 0 half a cell away or more).
    float ComputeFidgetWeight() const;

    const std::vector<CFlap>& GetFlaps() const { return m_flaps; }
    std::vector<CFlap>& GetFlaps() { return m_flaps; }
    const std::vector<CFoot>& GetFeet() const { return m_feet; }
    std::vector<CFoot>& GetFeet() { return m_feet; }
    const CString& GetRibbitSound() const { return m_ribbitSound; }
    int32_t GetBlinkDeadline() const { return m_blinkDeadline; }
    int32_t GetRibbitDeadline() const { return m_ribbitDeadline; }
    const Vector2<float>& GetSpringVelocity() const { return m_springVelocity; }

    // A time drawn from a (minimum, maximum) range in seconds: the minimum when the maximum is
    // not above it, else uniformly between them.
    static float DrawPeriod(const Vector2<float>& range);
    // The game clock of "maingame" (ms); 0 without that scope.
    static int32_t GetGameTime();

  private:
    friend class CSingleton<CFrog>;
    CFrog() = default;

    // The feet and the body pieces in mode at offset (no matrix change).
    void DrawBody(int32_t mode, const Vector3<float>& offset, Vector4<float>* bounds);
    // The feet face the body's direction again after the skeleton took a new pose.
    void ResetFeet();
    void StepSpring();

    // Fixed by the species.
    CString m_species{kDefaultSpecies};
    CRef<CSkeleton> m_skeleton;
    std::vector<CFlap> m_flaps;
    std::vector<CFoot> m_feet;
    CString m_ribbitSound;

    // Live state.
    int32_t m_blinkDeadline = 0;
    int32_t m_ribbitDeadline = 0;
    // The skeleton's change count at the last full update; -1 before the first.
    int64_t m_lastChangeCount = -1;
    Vector2<float> m_springPosition;
    Vector2<float> m_springVelocity;
};
