#include "puzzle/CScore.h"

#include "core/CDictionary.h"
#include "core/CRule.h"
#include "core/CRules.h"
#include "core/CXmlNode.h"
#include "core/ReadColourAttribute.h"
#include "core/TextFields.h"

#include <algorithm>
#include <utility>

REGISTER_SINGLETON(CScore, "maingame", 50);

namespace
{
// The score of a puzzle not played yet.
CRule<float> s_defaultScore("score/default");

CScore::ScoreChangedHook s_scoreChangedHook = nullptr;

constexpr float kBestScore = 2.0f;
} // namespace

CScore::CScore()
{
    ReadLevels();
}

void CScore::Reset()
{
    m_score = GetDefaultScore();
}

void CScore::Update(int32_t par, int32_t moves, int32_t estimate)
{
    const float defaultScore = GetDefaultScore();
    if (par < 1)
    {
        m_score = defaultScore;
        return;
    }
    const float previous = m_score;
    m_score = Compute(par, moves, estimate, defaultScore);
    m_level = LevelOf(m_levels, m_score);

    CDictionary* dictionary = CSingleton<CDictionary>::Instance();
    dictionary->SetText("puz_par", CString::Format("%d", par));
    dictionary->SetText("puz_moved", CString::Format("%d", moves));
    dictionary->SetText("puz_score", CString::Format("%f", double(m_score)));
    dictionary->SetText("puz_performance", dictionary->GetText(PerformanceKey(m_score)));

    if (m_score != previous && s_scoreChangedHook)
        s_scoreChangedHook(ShadowColourOf(m_score));
}

float CScore::Compute(int32_t par, int32_t moves, int32_t estimate, float defaultScore)
{
    const float p = float(par);
    const float m = float(moves);
    const float raw = RawScore((m + float(estimate)) / p);
    if (estimate == 0)
        return raw;
    // An unsolved puzzle starts at the default and hands over to the graded score by the time
    // the moves reach par - 4, so a few opening moves cannot sink it.
    const float d = (p - 4.0f <= 1.0f) ? 1.0f : p - 4.0f;
    const float t = std::clamp(m / d, 0.0f, 1.0f);
    return defaultScore + t * (raw - defaultScore);
}

float CScore::RawScore(float ratio)
{
    if (ratio <= 0.5f)
        return kBestScore;
    if (ratio >= 2.0f)
        return 0.0f;
    return std::max(0.0f, (10.0f - 9.0f * ratio + 2.0f * ratio * ratio) / 3.0f);
}

int32_t CScore::LevelOf(const std::vector<Level>& levels, float score)
{
    int32_t level = -1;
    for (const Level& candidate : levels)
    {
        if (candidate.score > score)
            break;
        ++level;
    }
    return level;
}

const char* CScore::PerformanceKey(float score)
{
    if (score >= 1.0f)
        return "prf_perfect";
    if (score < 0.5f)
        return "prf_low";
    return "prf_high";
}

const char* CScore::RatingKey(float difficulty)
{
    if (difficulty <= 0.0f)
        return "puz_rating0";
    if (difficulty < 1.0f / 3.0f)
        return "puz_rating1";
    if (difficulty < 2.0f / 3.0f)
        return "puz_rating2";
    return "puz_rating3";
}

CString CScore::GetRatingText(float difficulty)
{
    return CSingleton<CDictionary>::Instance()->GetText(RatingKey(difficulty));
}

Vector4<float> CScore::ShadowColourOf(float score)
{
    const float t = std::clamp(score, 0.0f, 1.0f);
    return Vector4<float>(0.2f + 0.55f * t, t, 0.0f, 0.35f);
}

float CScore::GetDefaultScore()
{
    return s_defaultScore.Get();
}

CScore::ScoreChangedHook CScore::SetScoreChangedHook(ScoreChangedHook hook)
{
    return std::exchange(s_scoreChangedHook, hook);
}

void CScore::ReadLevels()
{
    CXmlNode* root = CSingleton<CRules>::Instance()->GetRoot();
    if (!root)
        return;
    CXmlNode* score = root->FindChild("score");
    if (!score)
        return;
    for (CXmlNode* element = score->FirstChild(); element; element = element->NextSibling())
    {
        if (element->GetName() == CXmlNode::kContentName)
            continue;
        Level level;
        level.score = float(ParseFloat(element->GetAttribute("score").c_str()));
        level.stars = ParseInt(element->GetAttribute("stars").c_str());
        const CString& material = element->GetAttribute("material");
        level.material = material.empty() ? CString("null") : material;
        level.uvs = ReadColourAttribute(element, "uvs", Vector4<float>());
        level.tip = element->GetAttribute("tip");
        m_levels.push_back(level);
    }
}
