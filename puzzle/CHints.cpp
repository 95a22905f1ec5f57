#include "puzzle/CHints.h"

#include "core/CRule.h"
#include "core/ContentLimits.h"
#include "core/CScheduler.h"
#include "core/Vector4.h"
#include "puzzle/CHintServices.h"
#include "puzzle/CMoveMap.h"
#include "puzzle/CPuzzle.h"

#include <algorithm>
#include <cmath>
#include <climits>

REGISTER_SINGLETON(CHints, "maingame", 50);

namespace
{
CRule<Vector2<float>> s_buttonPosition("hints/buttonposition"); // button space
CRule<float> s_buttonRadius("hints/buttonradius");              // button space
CRule<float> s_buttonMax("hints/buttonmax", 0.0f, CHints::kMaxButtonAlpha);
CRule<float> s_buttonFade("hints/buttonfade", 0.0f, kMaxContentSeconds); // seconds from 0 to buttonmax
CRule<bool> s_spoonFeed("hints/spoonfeed");
CRule<bool> s_enabled("hints/enabled");
CRule<float> s_buttonPress("hints/buttonpress");  // read by nothing yet
// Read by nothing here: the screen view reads it from the document itself.
CRule<Vector4<float>> s_criticalView("ui/criticalview");
CRule<int> s_animationInterval("interval/animation", CScheduler::kMinAnimationIntervalMs,
                               CScheduler::kMaxAnimationIntervalMs); // ms

// How many of the four cells differ.
int DifferingLimbs(Pose a, Pose b)
{
    return 4 - Pose::CountEqualCells(a, b);
}

// A landing cell of the move map, rounded to the nearest cell (an off-board -0.6 is -1, never 0).
Vector2<int> NearestCell(const Vector2<float>& point)
{
    return Vector2<int>(int(std::floor(point.x + 0.5f)), int(std::floor(point.y + 0.5f)));
}

// Whether limb can hop from pose to cell.
bool CanLand(const CMoveMap& map, Pose pose, int limb, const Vector2<int>& cell)
{
    std::vector<Vector2<float>> cells;
    map.GetLandingCells(pose, limb, cells);
    // The first entry is the limb's own cell, which is no hop.
    return std::any_of(cells.begin() + std::min<size_t>(1, cells.size()), cells.end(),
                       [&](const Vector2<float>& landing) { return NearestCell(landing) == cell; });
}

// One legal hop: exactly one limb moves, to one of its landing cells, onto a pose of four cells.
bool IsHop(const CMoveMap& map, Pose from, Pose to)
{
    const int limb = Pose::ChangedLimb(from, to);
    return limb >= 0 && Pose::HasDistinctCells(to) && CanLand(map, from, limb, Pose::GetCell(to, limb));
}

bool HoldsPose(const std::vector<Pose>& path, Pose pose)
{
    return std::find(path.begin(), path.end(), pose) != path.end();
}
} // namespace

void CHints::Init()
{
    ScheduleIn("maingame", s_animationInterval.Get());
}

uint64_t CHints::ChangeStamp(const CPuzzle& puzzle)
{
    return (uint64_t(puzzle.GetChangeCounter()) << 32) | puzzle.GetHistoryCounter();
}

void CHints::OnSchedule(float dt)
{
    CPuzzle* puzzle = CPuzzle::Peek();
    if (!s_enabled.Get() || CHintServices::Get().IsTutorialBusy() || !puzzle)
    {
        m_state = kHidden;
        m_hint = kNoHint;
    }
    else if (!s_spoonFeed.Get())
    {
        const uint64_t stamp = ChangeStamp(*puzzle);
        if (m_seen != stamp)
        {
            m_state = kHidden;
            m_hint = kNoHint;
            m_seen = stamp;
        }
        if (m_state == kHidden &&
            IsOffered(puzzle->GetUndoCount(), int32_t(puzzle->GetHistory().size()) - 1, puzzle->GetPar()))
            m_state = kKeyPose;
        if (HasHint() && puzzle->GetCurrentPose() == m_hint)
        {
            m_state = kKeyPose;
            m_hint = kNoHint;
        }
    }
    else
    {
        m_state = kNextPose;
        const uint64_t stamp = ChangeStamp(*puzzle);
        if (m_seen != stamp || puzzle->GetCurrentPose() == m_hint)
        {
            RefreshHint();
            m_seen = stamp;
        }
    }
    Fade(dt);
}

void CHints::Fade(float dt)
{
    const float top = s_buttonMax.Get();
    const float fade = s_buttonFade.Get();
    // A fade time of 0 or less jumps at once.
    const float step = fade > 0.0f ? top * dt / fade : top;
    bool down = m_state == kHidden;
    if (!down)
    {
        // The button keeps out of the way of a limb near it.
        std::vector<Vector2<float>> limbs;
        CHintServices::Get().GetLimbPoints(limbs);
        const Vector2<float> centre = GetButtonPosition();
        const float reach = 2.0f * GetButtonRadius();
        down = std::any_of(limbs.begin(), limbs.end(), [&](const Vector2<float>& limb) {
            const Vector2<float> offset = limb - centre;
            return Dot(offset, offset) < reach * reach;
        });
    }
    m_alpha = down ? std::max(0.0f, m_alpha - step) : std::min(top, m_alpha + step);
}

bool CHints::OnMessage(const char* name)
{
    const std::string command = name ? name : "";
    if (command == "hint")
    {
        if (!s_enabled.Get())
            return false;
        CHintServices::Get().StartFlip();
        if (m_state == kHidden)
            m_state = kKeyPose;
        m_hint = ChooseHint();
        if (HasHint())
            ShowHint(m_hint);
        return true;
    }
    if (command == "_reset")
        m_hint = kNoHint;
    return false;
}

bool CHints::OnClick(const Vector2<float>& point)
{
    if (!(m_alpha > s_buttonMax.Get() * 0.5f) || !IsInsideButton(point, GetButtonPosition(), GetButtonRadius()))
        return false;
    if (m_state == kKeyPose)
    {
        if (HasHint())
            m_state = kNextPose;
        m_hint = ChooseHint();
        if (HasHint())
            ShowHint(m_hint);
    }
    else if (m_state == kNextPose)
    {
        if (HasHint())
        {
            m_state = kKeyPose;
            m_hint = kNoHint;
        }
        else
        {
            RefreshHint();
        }
    }
    return true;
}

Pose CHints::ChooseHint()
{
    CPuzzle* puzzle = CPuzzle::Peek();
    if (!puzzle)
        return kNoHint;
    BuildPath();
    Pose hint = kNoHint;
    if (m_path.empty())
    {
        // Nothing leads on from here: back to the start.
        if (puzzle->GetCurrentPose() != puzzle->GetHome())
            hint = puzzle->GetHome();
    }
    else if (m_state == kKeyPose)
    {
        hint = KeyPose(m_path);
        if (hint == m_path.front())
            m_state = kNextPose;
    }
    else if (m_state == kNextPose)
    {
        hint = m_path.front();
    }
    if (hint != kNoHint)
        puzzle->CountHint();
    return hint;
}

void CHints::ShowHint(Pose pose)
{
    CHintServices::Get().ShowHint(pose);
}

void CHints::RefreshHint()
{
    m_hint = ChooseHint();
    if (HasHint())
        ShowHint(m_hint);
}

void CHints::BuildPath()
{
    m_path.clear();
    const CPuzzle* puzzle = CPuzzle::Peek();
    if (!puzzle)
        return;
    Board board;
    board.steps = &puzzle->GetHintSteps();
    board.history = &puzzle->GetHistory();
    board.map = CMoveMap::Instance();
    board.current = puzzle->GetCurrentPose();
    board.goal = puzzle->GetGoal();
    m_path = BuildPath(board);
}

std::vector<Pose> CHints::BuildPath(const Board& board)
{
    std::vector<Pose> path;
    const Pose current = board.current;
    Pose next = NextStep(board, current);
    if (next == kNoHint)
    {
        // Off the solution: back through the history to the latest pose that rejoins it.
        path.push_back(current);
        const std::vector<Pose>& history = *board.history;
        for (size_t i = history.size(); i-- > 0;)
        {
            const Pose pose = history[i];
            if (pose != current)
                path.push_back(pose);
            if (NextStep(board, pose) != kNoHint)
                break;
        }
        Shorten(*board.map, path);
        if (!path.empty())
        {
            next = NextStep(board, path.back());
            path.erase(path.begin());
        }
    }
    while (next != kNoHint)
    {
        if (HoldsPose(path, next))
            return {}; // a cycle
        path.push_back(next);
        next = NextStep(board, next);
    }
    if (!IsWholeRoute(*board.map, current, path, board.goal))
        path.clear();
    return path;
}

Pose CHints::NextStep(const Board& board, Pose pose)
{
    const std::vector<Pose>& steps = *board.steps;
    if (steps.empty() || pose == steps.back())
        return kNoHint;
    Pose best = kNoHint;
    unsigned bestCost = UINT_MAX;
    const size_t count = steps.size();
    for (size_t i = count; i-- > 0;)
    {
        const unsigned fromEnd = unsigned(count - 1 - i);
        const Pose step = steps[i];
        if (step == pose)
            return steps[i + 1];
        const int differing = DifferingLimbs(pose, step);
        if (differing == 4)
            continue;
        // Walk towards the step one limb at a time; the first pose reached is the candidate.
        Pose walker = pose, candidate = kNoHint;
        bool reached = true;
        for (int hop = 0; hop < differing; ++hop)
        {
            const int limb = FindMovableLimb(*board.map, step, walker);
            if (limb == kNoLimb)
            {
                reached = false;
                break;
            }
            walker = Pose::SetCell(walker, limb, Pose::GetCell(step, limb));
            if (hop == 0)
                candidate = walker;
        }
        const unsigned cost = unsigned(differing) + fromEnd;
        if (reached && cost < bestCost)
        {
            best = candidate;
            bestCost = cost;
        }
    }
    return best;
}

void CHints::Shorten(const CMoveMap& map, std::vector<Pose>& path)
{
    for (int j = int(path.size()) - 1; j >= 2; --j)
    {
        for (int i = 0; i < j - 1; ++i)
        {
            const int differing = DifferingLimbs(path[i], path[j]);
            if (differing == 4 || differing >= j - i)
                continue;
            std::vector<Pose> route;
            Pose walker = path[i];
            for (int hop = 0; hop < differing; ++hop)
            {
                const int limb = FindMovableLimb(map, walker, path[j]);
                if (limb == kNoLimb)
                    break;
                walker = Pose::SetCell(walker, limb, Pose::GetCell(path[j], limb));
                route.push_back(walker);
            }
            if (int(route.size()) != differing)
                continue;
            // The route ends on the old path[j] (or, with no hop at all, path[i] is it).
            path.erase(path.begin() + (i + 1), path.begin() + (j + 1));
            path.insert(path.begin() + (i + 1), route.begin(), route.end());
            j = i + differing;
            i = 0; // the next pair tried starts at 1
        }
    }
    for (size_t i = 1; i < path.size(); ++i)
        if (Pose::ChangedLimb(path[i - 1], path[i]) < 0)
        {
            path.clear();
            return;
        }
}

int CHints::FindMovableLimb(const CMoveMap& map, Pose a, Pose b)
{
    for (int limb = 0; limb < 4; ++limb)
    {
        const Vector2<int> target = Pose::GetCell(b, limb);
        if (Pose::GetCell(a, limb) == target || !CanLand(map, a, limb, target))
            continue;
        const Pose moved = Pose::SetCell(a, limb, target);
        if (moved == b || FindMovableLimb(map, moved, b) != kNoLimb)
            return limb;
    }
    return kNoLimb;
}

bool CHints::IsWholeRoute(const CMoveMap& map, Pose from, const std::vector<Pose>& path, Pose goal)
{
    if (path.empty() || path.back() != goal)
        return false;
    for (Pose pose : path)
    {
        if (!IsHop(map, from, pose))
            return false;
        from = pose;
    }
    return true;
}

Pose CHints::KeyPose(const std::vector<Pose>& path)
{
    Pose key = path.front();
    int longest = -1;
    for (size_t i = 1; i < path.size(); ++i)
    {
        const int limb = Pose::ChangedLimb(path[i - 1], path[i]);
        if (limb < 0)
            continue;
        const Vector2<int> hop = Pose::GetCell(path[i], limb) - Pose::GetCell(path[i - 1], limb);
        const int length = Dot(hop, hop);
        if (length > longest)
        {
            longest = length;
            key = path[i];
        }
    }
    return key;
}

bool CHints::IsOffered(int32_t undos, int32_t moves, int32_t par)
{
    return !(undos < par / 2 && float(moves) < 1.5f * float(par));
}

bool CHints::IsInsideButton(const Vector2<float>& point, const Vector2<float>& centre, float radius)
{
    const Vector2<float> offset = point - centre;
    return Dot(offset, offset) < radius * radius;
}

std::vector<float> CHints::DrawFactors(float alpha)
{
    // Bounded as the highest alpha is: at a huge alpha, a -= 1 would never change a.
    std::vector<float> factors;
    for (float a = std::min(alpha, kMaxButtonAlpha); a > 0.0f; a -= 1.0f)
        factors.push_back(std::min(a, 1.0f));
    return factors;
}

Vector2<float> CHints::GetButtonPosition() const
{
    return s_buttonPosition.Get();
}

float CHints::GetButtonRadius() const
{
    return s_buttonRadius.Get();
}
