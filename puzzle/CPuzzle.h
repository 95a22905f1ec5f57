#pragma once
// The puzzle being played: the board's knobs, the home and goal poses, the history of poses with
// its redo stack, the counters that go into the result, and the rules of a move. A drag becomes a
// candidate pose in the frog's skeleton; LandSkeleton (or LandPose) decides whether it stands,
// and is, with Undo and Redo, the only way play changes the history.
//
// Invariants while a puzzle is loaded: the history is never empty and starts with the home pose;
// every history and redo pose stands on active knobs; the layout counter moves only when the
// knob marks and hint steps are reset, the history counter whenever the history or redo changes.
//
// The frog, the pond, the buttons and the panes are reached through CPlayServices.
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CResizes.h"
#include "core/CShutdown.h"
#include "core/CSingleton.h"
#include "core/CString.h"
#include "core/CUpdate.h"
#include "core/Vector2.h"
#include "puzzle/CWinReward.h"
#include "puzzle/Pose.h"
#include "puzzle/PuzzleKnob.h"

#include <cstdint>
#include <vector>

class CMoveMap;
class CPlaySkeleton;
class CXmlNode;
struct PuzzleDescription;
struct PuzzleListing;

class CPuzzle : public CBase, public CUpdate, public CShutdown, public CResizes, public CSingleton<CPuzzle>
{
  public:
    // Milliseconds an accepted "_abandon" blocks the next one.
    static constexpr int32_t kAbandonBlockMs = 2000;

    // Creates the "splash" effect that marks a limb landing on its goal cell.
    void Init() override;
    // Cancels a reward still queued, so that it never fires after the puzzle has gone, and gives
    // the view back its standard offset.
    void Exit() override;

    // Loading (files "<data folder>/puzzle/puzzleNNNN.xml").
    // "puzzle%04d".
    static CString GetPuzzleName(int32_t number);
    // "<data folder>/puzzle/puzzle%04d.xml".
    static CString GetPuzzlePath(int32_t number);
    // Reads "puzzle/" + name into play. When the file is missing or lacks the layout or a valid
    // home or goal, plays the built-in puzzle under that name instead and returns false.
    bool Load(const CString& name);
    // As Load, from a document's root (null: no document).
    bool LoadDocument(const CString& name, CXmlNode* root);
    // Empties the puzzle: knobs, hint steps, buttons, the pond position and the frog's catch.
    void Unload();
    // Sets up the built-in puzzle: a 5 x 7 field of knobs without its corners.
    void LoadFallback();
    void SetGoal(Pose goal);
    // Marks the knobs under the pose's limbs, empties the hint steps and moves the layout counter.
    void MarkPoseKnobs(Pose pose);
    // Whether the built-in puzzle stands in for the named one (played, won and saved under that
    // name).
    bool IsFallback() const { return m_fallback; }

    // The chooser's texts. Neither makes the in-game puzzle.
    // Reads the listing of "puzzle/" + name with the pull reader; false when the file is missing.
    static bool ReadListing(const CString& name, PuzzleListing& listing);
    // Sets "puz_title", "puz_par", "puz_best", "puz_rating", "puz_frogname", "puz_species" and
    // "puz_pond" for the named puzzle.
    static void SetListingTexts(const CString& name);
    static CString GetRatingText(float difficulty);

    // The board.
    Pose GetCurrentPose() const;
    // The knob at exactly that cell, or null.
    const PuzzleKnob* GetKnobAt(const Vector2<int>& cell) const;
    // The first active knob, row by row, strictly closer than "puzzle/closeenough" to point
    // (board cell units), or null.
    const PuzzleKnob* FindKnobNear(const Vector2<float>& point) const;
    bool IsPoseOnKnobs(Pose pose) const;
    // Whether the frog may stand in pose: four distinct cells on active knobs, and a pose of the
    // move map unless the map is empty. The skeleton's put-down test.
    bool AcceptsPose(const CMoveMap& map, Pose pose) const;
    // Whether one hop leads from one pose to the other: exactly one limb moves, to one of its
    // landing cells, and the new pose is accepted.
    bool IsLegalMove(const CMoveMap& map, Pose from, Pose to) const;

    // Play.
    // Snaps every limb joint onto the active knob within "puzzle/closeenough" and commits the pose
    // they make; false, taking nothing, when a limb has no knob or two limbs share one. Does not
    // set the skeleton's stored pose.
    bool LandSkeleton(CPlaySkeleton& skeleton);
    // Commits pose as a landed move (history, score, buttons, win, saved state). False, changing
    // nothing, when the pose does not stand on distinct active knobs.
    bool LandPose(Pose pose);
    // Step the history; each returns the pose to show (unchanged when there is nothing to undo or
    // redo). Undo at the goal changes nothing.
    Pose Undo();
    Pose Redo();
    // Undoes back to the home pose (each step counts as an undo) and puts the frog there; a
    // tutorial still running starts again from its first step.
    void Reset();
    // Moves every pose after home onto the redo stack for the replay (no undo counted).
    void RewindForReplay();
    // The moves still needed by a rough measure; never more than the limbs off their goal cells.
    int32_t EstimateRemainingMoves() const;
    // The goal was reached: records the result and queues the reward.
    void Win();
    // Solved: the current pose is the goal, or the goal lies at the bottom of the redo stack.
    bool IsSolved() const;

    // The puzzle's named commands ("ingame", "_abandon", "_reset", "_losefocus"); true when
    // consumed. Called by the control that the platform registers under "puzzle".
    bool HandleNamedEvent(const char* name);
    // The in-game menu, or the win pane at the goal.
    void ShowMenu();
    // The first update after RestoreHistory: tutorial or rating label, pond music, start time.
    void BeginPlay();
    // Re-applies the pond position to the board view.
    void OnResize();
    // Board cell units.
    void SetPondPosition(float x, float y);
    // Builds the board's emboss spots (six floats each, screen pixels) for the flip's side list.
    void BuildEmbossSpots(int side);
    // Counts one hint used.
    void CountHint() { ++m_hintCount; }

    // The saved state ("currentpuzzle", "currenthistory"), written to preferences.xml at once.
    void SaveState();
    // flag 1: replays "currenthistory" onto the home pose, keeping the home pose alone when any
    // step does not replay; flag 0: starts from the home pose. Schedules BeginPlay.
    void RestoreHistory(int flag);
    // The history as saved: pose texts joined by ",", oldest first.
    CString GetHistoryText() const;

    // CUpdate, CShutdown, CResizes.
    void Update(float dt) override;
    void Shutdown() override;
    void Invalidate() override;
    void Resize() override;

    // What the board, the hints, the score, the replay and the tests read.
    const CString& GetName() const { return m_name; }
    const CString& GetTitle() const { return m_title; }
    int32_t GetCategory() const { return m_category; }
    int32_t GetUnlocks() const { return m_unlocks; }
    int32_t GetPar() const { return m_par; }
    float GetDifficulty() const { return m_difficulty; }
    const CString& GetInstructions() const { return m_instructions; }
    Pose GetHome() const { return m_home; }
    Pose GetGoal() const { return m_goal; }
    const KnobMap& GetKnobs() const { return m_knobs; }
    KnobMap& EditKnobs() { return m_knobs; }
    const std::vector<Pose>& GetHistory() const { return m_history; }
    // Top last.
    const std::vector<Pose>& GetRedo() const { return m_redo; }
    const std::vector<Pose>& GetHintSteps() const { return m_hintSteps; }
    int32_t GetHintPosition() const { return m_hintPosition; }
    void SetHintPosition(int32_t position) { m_hintPosition = position; }
    int32_t GetUndoCount() const { return m_undoCount; }
    int32_t GetHintCount() const { return m_hintCount; }
    // Seconds of play, set at the win.
    float GetSeconds() const { return m_seconds; }
    // Platform tick (ms) when play started.
    uint32_t GetStartTime() const { return m_startTime; }
    const Vector2<float>& GetPondPosition() const { return m_pondPosition; }
    CBase* GetPond() const { return m_pond.Get(); }
    // Moves when the knob marks and hint steps are reset (the board rebuilds its knobs).
    uint32_t GetChangeCounter() const { return m_changeCounter; }
    // Moves whenever the history or the redo stack changes (the hints refresh).
    uint32_t GetHistoryCounter() const { return m_historyCounter; }

  private:
    friend class CSingleton<CPuzzle>;
    CPuzzle() = default;

    // Copies a complete description into play.
    void Apply(const PuzzleDescription& description);
    // The end of every load: counters, start time, texts, score.
    void FinishLoad();
    // History := [pose], redo empty, frog on pose.
    void StartAt(Pose pose);
    void ClearKnobMarks();
    // History steps 3 to 6 of a landing: history rules, score, buttons, win.
    void RecordPose(Pose pose);
    void UpdateScore();
    void UpdateButtons();
    void PutFrogOn(Pose pose);
    void HistoryChanged() { ++m_historyCounter; }

    // Rules of the puzzle, fixed at load.
    CString m_name;
    CString m_title;
    int32_t m_category = 0;
    int32_t m_unlocks = 0;
    KnobMap m_knobs;
    Pose m_home;
    Pose m_goal;
    std::vector<Pose> m_hintSteps;
    int32_t m_par = 0;
    float m_difficulty = 0.5f;
    CString m_instructions;
    Vector2<float> m_pondPosition;
    CRef<CBase> m_pond;
    bool m_fallback = false;

    // Play state, saved and restored.
    std::vector<Pose> m_history; // oldest first; [0] is home
    std::vector<Pose> m_redo;    // top last

    // Counters of the attempt, reset at load.
    uint32_t m_startTime = 0;
    float m_seconds = 0.0f;
    int32_t m_undoCount = 0;
    int32_t m_hintCount = 0;
    int32_t m_hintPosition = 0;
    uint32_t m_changeCounter = 1;
    uint32_t m_historyCounter = 0;

    // Gesture and effect state.
    // The first "_abandon" always acts; later ones only kAbandonBlockMs after the last accepted.
    uint32_t m_lastAbandonTime = 0; // platform ms
    bool m_abandonedOnce = false;
    CRef<CBase> m_splash;
    // The last reward queued, cancelled when the puzzle goes.
    CRef<CWinReward> m_reward;
};
