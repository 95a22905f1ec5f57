#pragma once
// Grades the play of the current puzzle against its par: one score from 0 (worst) to 2.0
// (best), the star level it reaches, and the statistics texts ("puz_par", "puz_moved",
// "puz_score", "puz_performance"). Lives with the "maingame" group. Invariant: the levels
// are read once, at construction, in the order of rules.xml's "score" element.
//
// The static helpers create nothing, so the front end may call them.
#include "core/CBase.h"
#include "core/CSingleton.h"
#include "core/CString.h"
#include "core/Vector4.h"

#include <cstdint>
#include <vector>

class CScore : public CBase, public CSingleton<CScore>
{
  public:
    // One star level; all but score are for the user interface to show.
    struct Level
    {
        float score = 0.0f; // lowest score that reaches the level
        int32_t stars = 0;
        // Name of the level's material ("null" when absent); the interface resolves it, as
        // this model may not reach the material set.
        CString material;
        Vector4<float> uvs;
        CString tip;
    };

    // Told when an update changed the score: the shadow colour of the open "statcard"
    // pane's node "moves" (red, green, blue, alpha in 0..1). Installed by the interface.
    using ScoreChangedHook = void (*)(const Vector4<float>& shadowColour);

    // The score to "score/default".
    void Reset();
    // Recomputes the score, level and texts. par: the puzzle's par (below 1 when no puzzle
    // is loaded: the default score stands and nothing is published); moves: history length
    // - 1; estimate: CPuzzle::EstimateRemainingMoves, 0 at the goal.
    void Update(int32_t par, int32_t moves, int32_t estimate);

    float GetScore() const { return m_score; }
    // Index of the last level reached, -1 when none.
    int32_t GetLevel() const { return m_level; }
    const std::vector<Level>& GetLevels() const { return m_levels; }

    // The score of a play; defaultScore is "score/default". par must be at least 1.
    static float Compute(int32_t par, int32_t moves, int32_t estimate, float defaultScore);
    // The graded curve alone: 2.0 at ratio <= 0.5, 1.0 at 1, 0 from 2 up; ratio = (moves +
    // estimate) / par.
    static float RawScore(float ratio);
    // The level index a score reaches in levels walked in order, -1 when none.
    static int32_t LevelOf(const std::vector<Level>& levels, float score);
    // Dictionary key of the performance word: "prf_perfect", "prf_high" or "prf_low".
    static const char* PerformanceKey(float score);
    // Dictionary key of a puzzle's difficulty rating, "puz_rating0" to "puz_rating3".
    static const char* RatingKey(float difficulty);
    // The dictionary text of RatingKey; creates neither CScore nor CPuzzle.
    static CString GetRatingText(float difficulty);
    // The "statcard" shadow colour for a score.
    static Vector4<float> ShadowColourOf(float score);
    // The "score/default" tuning value.
    static float GetDefaultScore();

    // Returns the previous hook so a test can put it back; null calls nothing.
    static ScoreChangedHook SetScoreChangedHook(ScoreChangedHook hook);

  private:
    friend class CSingleton<CScore>;
    CScore();

    void ReadLevels();

    float m_score = 0.5f;
    int32_t m_level = 0;
    std::vector<Level> m_levels;
};
