#include "ProgressFixture.h"

#include <vector>

namespace
{
std::vector<Vector4<float>> s_shadows;

void RecordShadow(const Vector4<float>& colour)
{
    s_shadows.push_back(colour);
}

class ScoreTest : public ProgressFixture
{
  protected:
    void SetUp() override
    {
        ProgressFixture::SetUp();
        s_shadows.clear();
        m_previousHook = CScore::SetScoreChangedHook(&RecordShadow);
    }
    void TearDown() override
    {
        CScore::SetScoreChangedHook(m_previousHook);
        ProgressFixture::TearDown();
    }

    void Start(const std::string& scoreElement)
    {
        m_folder.WriteFile("data/rules.xml", "<rules>\n" + scoreElement + "</rules>\n");
        m_folder.WriteFile("data/text.xml",
                           "<text><strings><prf_perfect>Perfect</prf_perfect>"
                           "<prf_high>Good</prf_high><prf_low>Try again</prf_low>"
                           "<puz_rating0>Tutorial</puz_rating0><puz_rating3>Hard</puz_rating3>"
                           "</strings></text>\n");
        CSingleton<CFileSystem>::Instance();
    }
    static CString Text(const char* key) { return CSingleton<CDictionary>::Instance()->GetText(key); }

    CScore::ScoreChangedHook m_previousHook = nullptr;
};

constexpr const char* kThreeLevels =
    "<score default=\"1.25\">\n"
    "  <bronze score=\"0\" stars=\"1\" material=\"star1\" uvs=\"0,0.5\" tip=\"Solved\"/>\n"
    "  <silver score=\"1\" stars=\"2\" uvs=\"#ff000080\"/>\n"
    "  <gold score=\"2\" stars=\"3\" tip=\"Brilliant\"/>\n"
    "</score>\n";
} // namespace

TEST_F(ScoreTest, CurveAndUnsolvedBlend)
{
    EXPECT_FLOAT_EQ(CScore::RawScore(0.5f), 2.0f);
    EXPECT_FLOAT_EQ(CScore::RawScore(1.0f), 1.0f);
    EXPECT_NEAR(CScore::RawScore(1.5f), 1.0f / 3.0f, 1e-6f);
    EXPECT_FLOAT_EQ(CScore::RawScore(2.0f), 0.0f);

    // At the goal the raw score stands: par moves is 1.0, twice par 0.
    EXPECT_FLOAT_EQ(CScore::Compute(10, 10, 0, 1.25f), 1.0f);
    EXPECT_FLOAT_EQ(CScore::Compute(10, 20, 0, 1.25f), 0.0f);
    // Untouched and unsolved: the default, whatever the ratio.
    EXPECT_FLOAT_EQ(CScore::Compute(10, 0, 4, 1.25f), 1.25f);
    EXPECT_FLOAT_EQ(CScore::Compute(1, 0, 4, 1.25f), 1.25f);
    // Par 10: d = 6, so 3 moves (ratio (3 + 3) / 10) are halfway from the default to the curve.
    EXPECT_FLOAT_EQ(CScore::Compute(10, 3, 3, 1.25f), 1.25f + 0.5f * (CScore::RawScore(0.6f) - 1.25f));
    EXPECT_FLOAT_EQ(CScore::Compute(10, 6, 3, 1.25f), CScore::RawScore(0.9f));
    // Par 5 or less: d = 1, one move gives the curve in full.
    EXPECT_FLOAT_EQ(CScore::Compute(5, 1, 4, 1.25f), 1.0f);
    EXPECT_FLOAT_EQ(CScore::Compute(3, 1, 5, 1.25f), 0.0f);

    EXPECT_STREQ(CScore::PerformanceKey(1.0f), "prf_perfect");
    EXPECT_STREQ(CScore::PerformanceKey(0.5f), "prf_high");
    EXPECT_STREQ(CScore::PerformanceKey(0.49f), "prf_low");
    EXPECT_STREQ(CScore::RatingKey(0.0f), "puz_rating0");
    EXPECT_STREQ(CScore::RatingKey(0.2f), "puz_rating1");
    EXPECT_STREQ(CScore::RatingKey(0.5f), "puz_rating2");
}

TEST_F(ScoreTest, LevelsFromTheRules)
{
    Start(kThreeLevels);
    CScore* score = CSingleton<CScore>::Instance();
    EXPECT_FLOAT_EQ(score->GetScore(), 0.5f);
    EXPECT_EQ(score->GetLevel(), 0);
    const std::vector<CScore::Level>& levels = score->GetLevels();
    ASSERT_EQ(levels.size(), 3u);
    EXPECT_EQ(levels[0].stars, 1);
    EXPECT_EQ(levels[0].material, "star1");
    EXPECT_FLOAT_EQ(levels[0].uvs.y, 0.5f);
    EXPECT_FLOAT_EQ(levels[0].uvs.w, 0.5f);
    EXPECT_EQ(levels[1].material, "null");
    EXPECT_NEAR(levels[1].uvs.w, 128.0f / 255.0f, 1e-6f);
    EXPECT_FLOAT_EQ(levels[2].score, 2.0f);
    EXPECT_EQ(levels[2].tip, "Brilliant");

    EXPECT_EQ(CScore::LevelOf(levels, 0.99f), 0);
    EXPECT_EQ(CScore::LevelOf(levels, 1.0f), 1);
    EXPECT_EQ(CScore::LevelOf(levels, 2.0f), 2);
    // Out of order, the count stops at the first threshold above the score.
    std::vector<CScore::Level> shuffled(3);
    shuffled[0].score = 0.0f;
    shuffled[1].score = 1.5f;
    shuffled[2].score = 0.5f;
    EXPECT_EQ(CScore::LevelOf(shuffled, 1.0f), 0);
    EXPECT_EQ(CScore::LevelOf({}, 1.0f), -1);
    // Levels are read from rules.xml once, in document order; element names are free.

    score->Update(10, 10, 0);
    EXPECT_EQ(score->GetLevel(), 1);
    score->Update(10, 20, 0);
    EXPECT_EQ(score->GetLevel(), 0);
}

TEST_F(ScoreTest, UpdatePublishesTextsAndTellsChanges)
{
    Start(kThreeLevels);
    CScore* score = CSingleton<CScore>::Instance();

    // No puzzle loaded: the default stands and nothing is published.
    score->Update(0, 3, 2);
    EXPECT_FLOAT_EQ(score->GetScore(), 1.25f);
    EXPECT_EQ(Text("puz_par"), "puz_par");
    EXPECT_TRUE(s_shadows.empty());

    score->Update(8, 8, 0);
    EXPECT_FLOAT_EQ(score->GetScore(), 1.0f);
    EXPECT_EQ(Text("puz_par"), "8");
    EXPECT_EQ(Text("puz_moved"), "8");
    EXPECT_EQ(Text("puz_score"), "1.000000");
    EXPECT_EQ(Text("puz_performance"), "Perfect");
    ASSERT_EQ(s_shadows.size(), 1u);
    EXPECT_FLOAT_EQ(s_shadows[0].x, 0.75f);
    EXPECT_FLOAT_EQ(s_shadows[0].y, 1.0f);
    EXPECT_FLOAT_EQ(s_shadows[0].w, 0.35f);

    // The same inputs again change nothing on the card.
    score->Update(8, 8, 0);
    EXPECT_EQ(s_shadows.size(), 1u);

    score->Update(8, 16, 0);
    EXPECT_EQ(Text("puz_performance"), "Try again");
    ASSERT_EQ(s_shadows.size(), 2u);
    EXPECT_FLOAT_EQ(s_shadows[1].x, 0.2f);
    EXPECT_FLOAT_EQ(s_shadows[1].y, 0.0f);

    score->Reset();
    EXPECT_FLOAT_EQ(score->GetScore(), 1.25f);
    EXPECT_EQ(CScore::GetRatingText(0.0f), "Tutorial");
    EXPECT_EQ(CScore::GetRatingText(1.0f), "Hard");
}

TEST_F(ScoreTest, ShippedLevelsAscendFromADefaultInRange)
{
    const std::string rules = TempFolder::ReadFile(std::string(FROG_SOURCE_DIR) + "/data/rules.xml");
    ASSERT_FALSE(rules.empty());
    m_folder.WriteFile("data/rules.xml", rules);
    CSingleton<CFileSystem>::Instance();
    const std::vector<CScore::Level>& levels = CSingleton<CScore>::Instance()->GetLevels();
    ASSERT_FALSE(levels.empty());
    for (size_t i = 1; i < levels.size(); ++i)
        EXPECT_LT(levels[i - 1].score, levels[i].score) << "level " << i;
    // A perfect play (1.0) must reach some level, and the default lies on the curve's range.
    EXPECT_LE(levels.front().score, 1.0f);
    EXPECT_GE(CScore::GetDefaultScore(), 0.0f);
    EXPECT_LE(CScore::GetDefaultScore(), 2.0f);
}
