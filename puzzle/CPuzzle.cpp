#include "puzzle/CPuzzle.h"

#include "core/CClock.h"
#include "core/CDelay.h"
#include "core/CDictionary.h"
#include "core/CFileSystem.h"
#include "core/CPreferences.h"
#include "core/CRule.h"
#include "core/ContentLimits.h"
#include "core/CXmlDocument.h"
#include "core/CXmlReader.h"
#include "core/TextFields.h"
#include "core/Vector3.h"
#include "puzzle/CMoveMap.h"
#include "puzzle/CPlayServices.h"
#include "puzzle/CPlaySkeleton.h"
#include "puzzle/CPuzzleLoader.h"
#include "puzzle/CPuzzles.h"
#include "puzzle/CScore.h"
#include "puzzle/CWinReward.h"
#include "puzzle/PuzzleDescription.h"
#include "puzzle/PuzzleListing.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

REGISTER_SINGLETON(CPuzzle, "maingame", 50);

namespace
{
CRule<float> s_closeEnough("puzzle/closeenough"); // board cell units
CRule<float> s_embossHeight("ui/embossheight");
CRule<Vector3<float>> s_distanceMetric("puzzle/distancemetric");
CRule<float> s_throwDelay("petals/throwdelay", 0.0f, kMaxContentSeconds); // seconds

// Below this many puzzles the collection is new to the player, who is shown each rating.
constexpr int32_t kRatingLabelPuzzles = 20;
constexpr float kRatingLabelSize = 0.4f;
// Ends a drag without landing the limb.
const Vector2<float> kNowhere(FLT_MAX, FLT_MAX);

// The built-in puzzle: hands on (1, 5) and (2, 5), feet below them; the goal is four rows up.
constexpr const char* kFallbackHome = "62615251";
constexpr const char* kFallbackGoal = "22211211";

CString PuzzleDocumentName(const CString& name)
{
    return "puzzle/" + name;
}
} // namespace

void CPuzzle::Init()
{
    m_splash = CPlayServices::Get().CreateParticles("splash");
}

void CPuzzle::Exit()
{
    if (m_reward)
        if (CDelay* delay = CDelay::Peek())
            delay->Cancel(m_reward.Get());
    if (m_pondPosition != Vector2<float>())
        CPlayServices::Get().ApplyBoardView(Vector2<float>());
}

CString CPuzzle::GetPuzzleName(int32_t number)
{
    return CString::Format("puzzle%04d", int(number));
}

CString CPuzzle::GetPuzzlePath(int32_t number)
{
    return CString::Format("%s/puzzle/puzzle%04d.xml", CFileSystem::Instance()->GetDataFolder().c_str(),
                           int(number));
}

bool CPuzzle::Load(const CString& name)
{
    CXmlDocument document;
    const bool read = document.Load(PuzzleDocumentName(name), CFileSystem::kInDataFolder);
    return LoadDocument(name, read ? document.GetRoot() : nullptr);
}

bool CPuzzle::LoadDocument(const CString& name, CXmlNode* root)
{
    Unload();
    m_name = name;
    m_title = name;
    PuzzleDescription description;
    const bool complete = description.Read(root, name);
    CPlayServices& services = CPlayServices::Get();
    if (!description.species.empty())
        services.LoadSpecies(description.species);
    if (complete)
        Apply(description);
    // The pond is made even for a file that did not load, so the built-in puzzle has one.
    SetPondPosition(description.pondPosition.x, description.pondPosition.y);
    m_pond = services.CreatePond(description.pondTemplate);
    if (complete)
    {
        m_instructions = description.instructions;
        m_difficulty = description.difficulty;
        m_par = description.par;
        m_hintSteps = description.hintSteps;
    }
    else
    {
        LoadFallback();
    }
    FinishLoad();
    return complete;
}

void CPuzzle::Apply(const PuzzleDescription& description)
{
    m_title = description.title;
    m_unlocks = description.unlocks;
    m_category = description.category;
    for (const Vector2<int>& cell : description.knobs)
    {
        PuzzleKnob& knob = m_knobs[cell];
        knob.centre = Vector2<float>(cell);
        knob.active = 1;
    }
    m_home = description.home;
    ClearKnobMarks();
    MarkPoseKnobs(description.goal);
    MarkPoseKnobs(m_home);
    SetGoal(description.goal);
    StartAt(m_home);
}

void CPuzzle::FinishLoad()
{
    m_startTime = CClock::Now();
    m_seconds = 0.0f;
    m_undoCount = 0;
    m_hintCount = 0;
    HistoryChanged();
    CDictionary* dictionary = CDictionary::Instance();
    dictionary->SetText("puz_title", m_title);
    dictionary->SetText("puz_rating", GetRatingText(m_difficulty));
    UpdateScore();
}

void CPuzzle::Unload()
{
    m_hintSteps.clear();
    m_hintPosition = 0;
    ++m_changeCounter;
    CPlayServices& services = CPlayServices::Get();
    services.StopReplay();
    services.StopPetals();
    if (m_reward)
        if (CDelay* delay = CDelay::Peek())
            delay->Cancel(m_reward.Get());
    m_reward.Reset();
    CScore::Instance()->Reset();
    services.CancelCatch();
    services.SetButtonEnabled("back", false);
    services.SetButtonEnabled("redo", false);
    m_knobs.clear();
    SetPondPosition(0.0f, 0.0f);
    m_unlocks = 0;
    m_category = 0;
    m_fallback = false;
}

void CPuzzle::LoadFallback()
{
    Unload();
    for (int y = 0; y <= 6; ++y)
        for (int x = 0; x <= 4; ++x)
        {
            PuzzleKnob& knob = m_knobs[Vector2<int>(x, y)];
            knob.centre = Vector2<float>(float(x), float(y));
            knob.active = 1;
        }
    for (const Vector2<int>& corner :
         {Vector2<int>(0, 0), Vector2<int>(4, 0), Vector2<int>(0, 6), Vector2<int>(4, 6)})
        m_knobs[corner].active = 0;
    // The built-in puzzle is played unscored, without hints or a tutorial.
    m_par = 0;
    m_difficulty = PuzzleDescription::kDefaultDifficulty;
    m_instructions.clear();
    m_fallback = true;
    Pose goal;
    Pose::FromText(kFallbackHome, m_home);
    Pose::FromText(kFallbackGoal, goal);
    SetGoal(goal);
    StartAt(m_home);
}

void CPuzzle::SetGoal(Pose goal)
{
    m_goal = goal;
    ClearKnobMarks();
    MarkPoseKnobs(m_goal);
    MarkPoseKnobs(m_home);
    CPlayServices::Get().PlaceFlyForGoal();
}

void CPuzzle::MarkPoseKnobs(Pose pose)
{
    unsigned limbs = 4;
    if (const CPlaySkeleton* skeleton = CPlayServices::Get().GetFrogSkeleton())
        limbs = std::min(limbs, skeleton->GetLimbJointCount());
    for (unsigned limb = 0; limb < limbs; ++limb)
    {
        auto knob = m_knobs.find(Pose::GetCell(pose, int(limb)));
        if (knob != m_knobs.end())
            knob->second.homeOrGoalMark = knob->second.secondMark = 1;
    }
    m_hintSteps.clear();
    m_hintPosition = 0;
    ++m_changeCounter;
}

void CPuzzle::ClearKnobMarks()
{
    for (auto& [cell, knob] : m_knobs)
        knob.homeOrGoalMark = knob.secondMark = knob.thirdMark = 0;
}

void CPuzzle::StartAt(Pose pose)
{
    m_redo.clear();
    m_history.assign(1, pose);
    HistoryChanged();
    PutFrogOn(pose);
}

bool CPuzzle::ReadListing(const CString& name, PuzzleListing& listing)
{
    listing = PuzzleListing();
    CXmlReader reader(PuzzleDocumentName(name));
    if (!reader.Ok())
        return false;
    // The reader's steps fix the order a file must keep for the pond and frog to be found.
    listing.title = reader.GetAttribute("title");
    if (reader.FirstChildNamed("hint"))
    {
        listing.difficulty = float(ParseFloat(reader.GetAttribute("difficulty").c_str()));
        if (reader.EnterElement())
            while (reader.NextElement())
                ++listing.par;
    }
    if (reader.GetName() == "pond")
        listing.pondTemplate = reader.GetAttribute("template");
    if (reader.NextElementNamed("frog"))
        listing.species = reader.GetAttribute("species");
    return true;
}

void CPuzzle::SetListingTexts(const CString& name)
{
    PuzzleListing listing;
    ReadListing(name, listing);
    CDictionary* dictionary = CDictionary::Instance();
    CString pond, frogName, species;
    if (!listing.pondTemplate.empty())
        pond = dictionary->GetText("pond_" + listing.pondTemplate);
    if (!listing.species.empty())
    {
        frogName = dictionary->GetText("name_" + listing.species);
        species = dictionary->GetText("species_" + listing.species);
    }
    const int32_t best = CPuzzles::Instance()->GetBestMoves(name);
    dictionary->SetText("puz_title", listing.title);
    dictionary->SetText("puz_par", CString::Format("%d", int(listing.par)));
    dictionary->SetText("puz_best", best < 1 ? CString("%puz_unsolved%") : CString::Format("%d", int(best)));
    dictionary->SetText("puz_rating", GetRatingText(listing.difficulty));
    dictionary->SetText("puz_frogname", frogName);
    dictionary->SetText("puz_species", species);
    dictionary->SetText("puz_pond", pond);
}

CString CPuzzle::GetRatingText(float difficulty)
{
    return CScore::GetRatingText(difficulty);
}

Pose CPuzzle::GetCurrentPose() const
{
    return m_history.empty() ? m_home : m_history.back();
}

const PuzzleKnob* CPuzzle::GetKnobAt(const Vector2<int>& cell) const
{
    auto knob = m_knobs.find(cell);
    return knob == m_knobs.end() ? nullptr : &knob->second;
}

const PuzzleKnob* CPuzzle::FindKnobNear(const Vector2<float>& point) const
{
    const float reach = s_closeEnough.Get();
    for (const auto& [cell, knob] : m_knobs)
    {
        const Vector2<float> offset = knob.centre - point;
        if (knob.active && Dot(offset, offset) < reach * reach)
            return &knob;
    }
    return nullptr;
}

bool CPuzzle::IsPoseOnKnobs(Pose pose) const
{
    for (int limb = 0; limb < 4; ++limb)
    {
        const PuzzleKnob* knob = GetKnobAt(Pose::GetCell(pose, limb));
        if (!knob || !knob->active)
            return false;
    }
    return true;
}

bool CPuzzle::AcceptsPose(const CMoveMap& map, Pose pose) const
{
    return Pose::HasDistinctCells(pose) && IsPoseOnKnobs(pose) && (map.IsEmpty() || map.Contains(pose));
}

bool CPuzzle::IsLegalMove(const CMoveMap& map, Pose from, Pose to) const
{
    const int limb = Pose::ChangedLimb(from, to);
    if (limb < 0 || !AcceptsPose(map, to))
        return false;
    std::vector<Vector2<float>> cells;
    map.GetLandingCells(from, limb, cells);
    const Vector2<float> target(Pose::GetCell(to, limb));
    return std::find(cells.begin(), cells.end(), target) != cells.end();
}

bool CPuzzle::LandSkeleton(CPlaySkeleton& skeleton)
{
    const unsigned limbs = std::min(skeleton.GetLimbJointCount(), skeleton.GetJointCount());
    for (unsigned joint = 0; joint < limbs; ++joint)
    {
        const PuzzleKnob* knob = FindKnobNear(skeleton.GetJointPosition(joint));
        if (!knob)
            return false;
        skeleton.SetJointPosition(joint, knob->centre);
        skeleton.SetJointAnchor(joint, knob->centre);
        skeleton.ShiftJointHistory(joint);
    }
    const Pose pose = Pose::FromSkeleton(skeleton);
    // Two limbs on one knob is no pose, whatever the move map says.
    if (!Pose::HasDistinctCells(pose))
        return false;
    RecordPose(pose);

    int limb = -1;
    Vector2<float> position;
    if (m_splash && skeleton.GetLastDraggedLimb(limb, position))
    {
        const Vector2<int> cell(int(position.x + 0.5f), int(position.y + 0.5f));
        if (Pose::GetCell(m_goal, limb) == cell)
            CPlayServices::Get().StartParticlesAt(m_splash.Get(), position);
    }
    SaveState();
    return true;
}

bool CPuzzle::LandPose(Pose pose)
{
    if (!Pose::HasDistinctCells(pose) || !IsPoseOnKnobs(pose))
        return false;
    RecordPose(pose);
    SaveState();
    return true;
}

void CPuzzle::RecordPose(Pose pose)
{
    const size_t length = m_history.size();
    if (length != 0 && m_history.back() == pose)
    {
        // The same pose again changes no history.
    }
    else if (!m_redo.empty() && m_redo.back() == pose)
    {
        // A redo made by hand.
        m_redo.pop_back();
        m_history.push_back(pose);
        HistoryChanged();
    }
    else if (length >= 2 && m_history[length - 2] == pose)
    {
        // An undo made by hand, which the undo count does not count.
        m_redo.push_back(m_history.back());
        m_history.pop_back();
        HistoryChanged();
    }
    else
    {
        m_redo.clear();
        m_history.push_back(pose);
        HistoryChanged();
    }
    UpdateScore();
    UpdateButtons();
    if (pose == m_goal)
        Win();
}

Pose CPuzzle::Undo()
{
    if (m_history.size() < 2)
        return m_home;
    CPlayServices& services = CPlayServices::Get();
    if (m_history.back() == m_goal)
    {
        services.SetButtonEnabled("redo", false);
        services.SetButtonEnabled("back", false);
        return m_history.back();
    }
    m_redo.push_back(m_history.back());
    m_history.pop_back();
    HistoryChanged();
    UpdateScore();
    ++m_undoCount;
    services.SetButtonEnabled("redo", true);
    services.SetButtonEnabled("back", m_history.size() >= 2);
    return m_history.back();
}

Pose CPuzzle::Redo()
{
    if (!m_redo.empty())
    {
        m_history.push_back(m_redo.back());
        m_redo.pop_back();
        HistoryChanged();
        UpdateScore();
    }
    CPlayServices& services = CPlayServices::Get();
    services.SetButtonEnabled("back", true);
    services.SetButtonEnabled("redo", !m_redo.empty());
    return GetCurrentPose();
}

void CPuzzle::Reset()
{
    // Undo refuses at the goal; stop there rather than ask again for ever.
    while (m_history.size() > 1)
    {
        const size_t before = m_history.size();
        Undo();
        if (m_history.size() == before)
            break;
    }
    CPlayServices& services = CPlayServices::Get();
    PutFrogOn(GetCurrentPose());
    if (CPlaySkeleton* skeleton = services.GetFrogSkeleton())
        skeleton->ReleaseJoint(kNowhere);
    UpdateScore();
    services.SetFlipNodeActive("abandon", m_instructions.empty());
    services.SetFlipNodeActive("reset", false);
    services.RearmFlipDaisy();
    // A tutorial still running shows its moves from home, where the frog now stands again: left
    // on its step it would drag limbs that are elsewhere and undo moves that were taken back. (At
    // the goal the frog stays where it is.)
    if (!m_instructions.empty() && GetCurrentPose() == m_home)
        services.RestartTutorial();
}

void CPuzzle::RewindForReplay()
{
    if (m_history.empty())
        m_history.push_back(m_home);
    // The redo stack's top becomes the first move, so redoing replays the game in order.
    for (size_t i = m_history.size(); i-- > 1;)
        m_redo.push_back(m_history[i]);
    m_history.resize(1);
    HistoryChanged();
    CPlayServices& services = CPlayServices::Get();
    PutFrogOn(m_history.front());
    if (CPlaySkeleton* skeleton = services.GetFrogSkeleton())
        skeleton->ReleaseJoint(kNowhere);
    services.CancelCatch();
    services.PlaceFlyForGoal();
    CScore::Instance()->Reset();
}

int32_t CPuzzle::EstimateRemainingMoves() const
{
    if (m_history.empty() || m_history.back() == m_goal)
        return 0;
    const Pose last = m_history.back();
    int32_t count = 0;
    float hands = 0.0f, feet = 0.0f; // cells
    for (int limb = 0; limb < 4; ++limb)
    {
        const Vector2<int> at = Pose::GetCell(last, limb), goal = Pose::GetCell(m_goal, limb);
        if (at == goal)
            continue;
        ++count;
        const float distance = Vector2<float>(at - goal).Length();
        (limb < 2 ? hands : feet) += distance;
    }
    const Vector3<float>& metric = s_distanceMetric.Get();
    const int32_t estimate = int32_t(metric.x + metric.y * hands + metric.z * feet + 0.5f);
    return std::clamp(estimate, 0, count);
}

void CPuzzle::Win()
{
    m_seconds = float(std::max(0, CClock::Since(m_startTime))) * 0.001f;
    UpdateScore();
    CPlayServices& services = CPlayServices::Get();
    services.CatchFly();
    // The built-in puzzle that stands in for a broken file is recorded under the requested name,
    // ungraded: it never replaces a record of the real puzzle.
    CPuzzles::Record record;
    record.moves = int32_t(m_history.size()) - 1;
    record.score = CScore::Instance()->GetScore();
    record.seconds = m_seconds;
    record.undoCount = m_undoCount;
    record.hintCount = m_hintCount;
    CPuzzles::Instance()->RecordResult(m_name, record, m_unlocks, !m_fallback);
    services.SetButtonEnabled("back", false);
    services.SetButtonEnabled("redo", false);
    services.CloseTutorialPane();
    CDelay* delay = CDelay::Instance();
    if (m_reward)
        delay->Cancel(m_reward.Get());
    m_reward = MakeRef<CWinReward>();
    delay->Add(s_throwDelay.Get(), CRef<CCallback>(m_reward));
}

bool CPuzzle::IsSolved() const
{
    return GetCurrentPose() == m_goal || (!m_redo.empty() && m_redo.front() == m_goal);
}

bool CPuzzle::HandleNamedEvent(const char* name)
{
    const CString command = MakeString(name);
    if (command == "ingame")
    {
        ShowMenu();
        return true;
    }
    if (command == "_abandon")
    {
        const uint32_t now = CClock::Now();
        if (m_abandonedOnce && CClock::Difference(m_lastAbandonTime, now) <= kAbandonBlockMs)
            return true;
        m_abandonedOnce = true;
        m_lastAbandonTime = now;
        // Popping the mode may end this puzzle: touch no member after it.
        CPlayServices& services = CPlayServices::Get();
        services.PopMode();
        services.FlipToGame();
        return true;
    }
    if (command == "_reset")
        Reset();
    else if (command == "_losefocus")
        SaveState();
    return false;
}

void CPuzzle::ShowMenu()
{
    UpdateScore();
    CPlayServices& services = CPlayServices::Get();
    if (GetCurrentPose() == m_goal)
    {
        const CString next = CPuzzles::Instance()->NextPuzzle(m_name);
        services.BeginFlip("wingame", MakeRef<CPuzzleLoader>(next));
        if (next.empty())
            services.SetFlipNodeActive("_abandon", false);
        return;
    }
    services.BeginFlip("ingame", CRef<CCallback>());
    services.SetFlipNodeActive("abandon", m_history.size() == 1 && m_instructions.empty());
    services.SetFlipNodeActive("reset", m_history.size() != 1);
    BuildEmbossSpots(0);
}

void CPuzzle::BeginPlay()
{
    CPlayServices& services = CPlayServices::Get();
    if (!m_instructions.empty())
        services.RunTutorial(m_instructions);
    else if (CPuzzles::Instance()->Count() < kRatingLabelPuzzles)
        services.ShowFloatingText(GetRatingText(m_difficulty), kRatingLabelSize);
    if (m_pond)
        services.PlayPondMusic(m_pond.Get());
    m_startTime = CClock::Now();
    CUpdate::Unschedule();
}

void CPuzzle::OnResize()
{
    CPlayServices::Get().ApplyBoardView(m_pondPosition);
}

void CPuzzle::SetPondPosition(float x, float y)
{
    const Vector2<float> position(x, y);
    if (position == m_pondPosition)
        return;
    m_pondPosition = position;
    CPlayServices& services = CPlayServices::Get();
    services.ApplyBoardView(m_pondPosition);
    services.PlacePondLayers();
}

void CPuzzle::BuildEmbossSpots(int side)
{
    if (s_embossHeight.Get() <= 0.0f)
        return;
    CPlayServices& services = CPlayServices::Get();
    const float scale = services.GetViewScale();
    if (!(scale > 0.0f))
        return;
    const float unit = (1.0f / 64.0f) / scale;
    std::vector<float> spots;
    services.AppendOverlayEmboss(spots);
    auto add = [&](const Vector2<float>& screen, float outer, float inner) {
        spots.insert(spots.end(), {screen.x, screen.y, outer * unit, 0.0f, 0.0f, inner * unit});
    };
    if (const CPlaySkeleton* skeleton = services.GetFrogSkeleton())
    {
        const Vector2<float> body = services.BoardToScreen(skeleton->GetBodyPoint());
        add(body, 30.0f, 10.0f);
        if (skeleton->GetJointCount() > 4)
        {
            const Vector2<float> joint = services.BoardToScreen(skeleton->GetJointPosition(4));
            add(joint, 30.0f, 10.0f);
            add((body + joint) * 0.5f, 40.0f, 15.0f);
        }
    }
    Vector2<float> fly;
    if (services.GetFlyPosition(fly))
        add(services.BoardToScreen(fly), 20.0f, 10.0f);
    for (const auto& [cell, knob] : m_knobs)
        add(services.BoardToScreen(knob.centre), 20.0f, 8.0f);
    add(Vector2<float>(services.GetViewRight() - 43.0f * unit, 43.0f * unit), 40.0f, 20.0f);
    services.SetFlipSideList(side, spots);
}

void CPuzzle::SaveState()
{
    // Nothing to resume before a load; the built-in stand-in saves under the requested name.
    if (m_name.empty())
        return;
    CPreferences* preferences = CPreferences::Instance();
    if (IsSolved())
    {
        preferences->SetString("currentpuzzle", CPuzzles::Instance()->NextPuzzle(m_name));
        preferences->SetString("currenthistory", "");
    }
    else
    {
        preferences->SetString("currenthistory", GetHistoryText());
        preferences->SetString("currentpuzzle", m_name);
    }
    preferences->Save();
}

void CPuzzle::RestoreHistory(int flag)
{
    CUpdate::ScheduleIn("maingame", 1);
    CPlayServices& services = CPlayServices::Get();
    m_redo.clear();
    m_history.assign(1, m_home);
    bool restored = flag == 1;
    if (restored)
    {
        const CString text = CPuzzles::GetPreferenceText("currenthistory", "");
        // One pass over the fields: a long history restores in time linear in its length.
        const std::vector<std::string_view> fields = SplitFields(text);
        // A history saved for another puzzle, or from another home pose, does not replay here.
        Pose home;
        if (!text.empty() && (CPreferences::Instance()->GetString("currentpuzzle") != m_name ||
                              !Pose::FromText(CString(fields[0]).c_str(), home) || home != m_home))
            restored = false;
        for (size_t n = 1; restored && n < fields.size(); ++n)
        {
            const CString field(fields[n]);
            Pose pose;
            // One limb moved onto a free active knob; the move map is not asked.
            restored = field.size() == 8 && Pose::FromText(field.c_str(), pose) && IsPoseOnKnobs(pose) &&
                       Pose::HasDistinctCells(pose) && Pose::CountEqualCells(pose, m_history.back()) == 3;
            if (restored)
                m_history.push_back(pose);
        }
        services.FlyJumpToRest();
    }
    if (!restored)
        m_history.assign(1, m_home);
    HistoryChanged();
    PutFrogOn(m_history.back());
    UpdateButtons();
    UpdateScore();
    m_startTime = CClock::Now();
}

CString CPuzzle::GetHistoryText() const
{
    CString text;
    for (Pose pose : m_history)
    {
        if (!text.empty())
            text += ",";
        text += Pose::ToText(pose);
    }
    return text;
}

void CPuzzle::Update(float dt)
{
    BeginPlay();
}

void CPuzzle::Shutdown()
{
    SaveState();
}

void CPuzzle::Invalidate()
{
    SaveState();
}

void CPuzzle::Resize()
{
    OnResize();
}

void CPuzzle::UpdateScore()
{
    const int32_t moves = std::max<int32_t>(0, int32_t(m_history.size()) - 1);
    CScore::Instance()->Update(m_par, moves, EstimateRemainingMoves());
}

void CPuzzle::UpdateButtons()
{
    CPlayServices& services = CPlayServices::Get();
    services.SetButtonEnabled("back", m_history.size() >= 2);
    services.SetButtonEnabled("redo", !m_redo.empty());
}

void CPuzzle::PutFrogOn(Pose pose)
{
    if (CPlaySkeleton* skeleton = CPlayServices::Get().GetFrogSkeleton())
        skeleton->SetPose(pose);
}
