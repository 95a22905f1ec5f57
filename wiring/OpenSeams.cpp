#include "wiring/OpenSeams.h"

#include "Graphics/CFontMetrics.h"
#include "Graphics/CScreenFlip.h"
#include "core/CClock.h"
#include "core/CFileSystem.h"
#include "core/CScheduler.h"
#include "creatures/CEnticeServices.h"
#include "creatures/CFrogServices.h"
#include "creatures/CSkeletonServices.h"
#include "platform/CAudio.h"
#include "platform/CControlApp.h"
#include "platform/CGesture.h"
#include "platform/CModeFrontEnd.h"
#include "platform/CStartup.h"
#include "platform/PlatformHooks.h"
#include "puzzle/CHintServices.h"
#include "puzzle/CPlayServices.h"
#include "puzzle/CScore.h"
#include "scene/CKnob.h"
#include "scene/CLayer.h"
#include "scene/CLayerBoard.h"
#include "scene/CPetals.h"
#include "scene/CPond.h"
#include "ui/CButtonServices.h"
#include "ui/CDivPane.h"
#include "ui/CPaneTransitionPond.h"

#include <set>

namespace
{
// Whether the installed services answer operation with something other than the do-nothing
// default. g++ resolves a pointer to a virtual member, bound to an object, to the function that
// object would run; comparing that with what a default-made service runs needs no call.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpmf-conversions"
template <class Service, class Operation>
bool Overrides(Service& installed, Operation operation)
{
    Service defaults;
    return reinterpret_cast<void*>(installed.*operation) != reinterpret_cast<void*>(defaults.*operation);
}
#pragma GCC diagnostic pop

// A hook behind a setter that returns the previous one: read it by swapping it out and back.
template <class Hook>
bool IsSet(Hook (*setter)(Hook))
{
    const Hook hook = setter(nullptr);
    setter(hook);
    return hook != nullptr;
}

// A member of a hook struct behind such a setter.
template <class Hooks, class Member>
bool IsSetIn(Hooks (*setter)(const Hooks&), Member Hooks::*member)
{
    const Hooks hooks = setter(Hooks());
    setter(hooks);
    return hooks.*member != nullptr;
}

bool PetalOverlaySet()
{
    const CPetals::Hooks hooks = CPetals::SetHooks(CPetals::GetDefaultHooks());
    CPetals::SetHooks(hooks);
    return hooks.setOverlay != CPetals::GetDefaultHooks().setOverlay;
}
} // namespace

// A service operation whose default does nothing.
#define SERVICE(Class, Operation) {#Class "::" #Operation, [] { return Overrides(Class::Get(), &Class::Operation); }}
// A hook behind a setter that returns the previous one.
#define HOOK(Class, Setter) {#Class "::" #Setter, [] { return IsSet(&Class::Setter); }}
// A member of a hook struct.
#define HOOK_IN(Class, Setter, Member) \
    {#Class "::" #Setter "." #Member, [] { return IsSetIn(&Class::Setter, &decltype(Class::Setter({}))::Member); }}

namespace
{
const std::vector<OpenSeams::Seam> kSeams = {
    // core: the platform and the documents it reads.
    {"CClock::SetSource", [] { return CClock::GetSource() != nullptr; }},
    HOOK(CScheduler, SetScopeProvider),
    HOOK(CScheduler, SetCurrentProvider),
    HOOK(CScheduler, SetPauseFactory),
    HOOK(CFileSystem, SetCallingPathProvider),
    HOOK(CFileSystem, SetPreferencesLoader),
    HOOK(CFileSystem, SetRulesLoader),
    // platform: the frame, the front end, the application's commands, the swipe trail.
    {"PlatformHooks.beginFrame", [] { return PlatformHooks::Installed().beginFrame != nullptr; }},
    {"PlatformHooks.swapBuffers", [] { return PlatformHooks::Installed().swapBuffers != nullptr; }},
    {"PlatformHooks.setFrameMark", [] { return PlatformHooks::Installed().setFrameMark != nullptr; }},
    {"PlatformHooks.frameCount", [] { return PlatformHooks::Installed().frameCount != nullptr; }},
    HOOK_IN(CModeFrontEnd, SetMenuHooks, makePond),
    HOOK_IN(CModeFrontEnd, SetMenuHooks, playMusic),
    HOOK(CStartup, SetPaneOpener),
    HOOK_IN(CControlApp, SetCommandHooks, toggleConsole),
    HOOK_IN(CControlApp, SetCommandHooks, reloadMaterials),
    HOOK_IN(CControlApp, SetCommandHooks, rotateTo),
    HOOK_IN(CControlApp, SetCommandHooks, setActiveById),
    HOOK(CAudio, SetMuteNodesHook),
    HOOK_IN(CGesture, SetFeedbackHooks, makeTrail),
    HOOK_IN(CGesture, SetFeedbackHooks, capacityOf),
    HOOK_IN(CGesture, SetFeedbackHooks, emitAt),
    // Graphics.
    HOOK(CFontMetrics, SetFinder),
    HOOK_IN(CScreenFlip, SetPaneHooks, create),
    HOOK_IN(CScreenFlip, SetPaneHooks, setEnabled),
    HOOK_IN(CScreenFlip, SetPaneHooks, render),
    HOOK_IN(CScreenFlip, SetPaneHooks, collectEmboss),
    HOOK_IN(CScreenFlip, SetPaneHooks, setClock),
    // puzzle: what play asks of everything above it.
    SERVICE(CPlayServices, GetFrogSkeleton),
    SERVICE(CPlayServices, LoadSpecies),
    SERVICE(CPlayServices, CatchFly),
    SERVICE(CPlayServices, CancelCatch),
    SERVICE(CPlayServices, PlaceFlyForGoal),
    SERVICE(CPlayServices, FlyJumpToRest),
    SERVICE(CPlayServices, GetFlyPosition),
    SERVICE(CPlayServices, ShowFloatingText),
    SERVICE(CPlayServices, CreatePond),
    SERVICE(CPlayServices, PlayPondMusic),
    SERVICE(CPlayServices, PlacePondLayers),
    SERVICE(CPlayServices, CreateParticles),
    SERVICE(CPlayServices, StartParticlesAt),
    SERVICE(CPlayServices, FirePetals),
    SERVICE(CPlayServices, StopPetals),
    SERVICE(CPlayServices, AppendOverlayEmboss),
    SERVICE(CPlayServices, StopReplay),
    SERVICE(CPlayServices, RunTutorial),
    SERVICE(CPlayServices, CloseTutorialPane),
    SERVICE(CPlayServices, RestartTutorial),
    SERVICE(CPlayServices, SetButtonEnabled),
    SERVICE(CPlayServices, BeginFlip),
    SERVICE(CPlayServices, FlipToGame),
    SERVICE(CPlayServices, SetFlipNodeActive),
    SERVICE(CPlayServices, RearmFlipDaisy),
    SERVICE(CPlayServices, SetFlipSideList),
    SERVICE(CPlayServices, IsCurrentMode),
    SERVICE(CPlayServices, PushMode),
    SERVICE(CPlayServices, PopMode),
    SERVICE(CPlayServices, PostCommand),
    SERVICE(CPlayServices, ApplyBoardView),
    SERVICE(CPlayServices, BoardToScreen),
    SERVICE(CPlayServices, GetViewScale),
    SERVICE(CPlayServices, GetViewRight),
    HOOK(CScore, SetScoreChangedHook),
    SERVICE(CHintServices, IsTutorialBusy),
    SERVICE(CHintServices, StartFlip),
    SERVICE(CHintServices, GetLimbPoints),
    SERVICE(CHintServices, ShowHint),
    // creatures: what the frog, its skeleton and the entice effect ask of the scene.
    SERVICE(CFrogServices, GetBoardOffset),
    SERVICE(CFrogServices, GetLightVector),
    SERVICE(CSkeletonServices, SetCursor),
    SERVICE(CSkeletonServices, SetPondTargets),
    SERVICE(CSkeletonServices, ShowTip),
    SERVICE(CEnticeServices, MakeParticle),
    SERVICE(CEnticeServices, DrawParticle),
    // scene: what the pond and its layers ask of the frog, the fly, the hints.
    HOOK(CLayer, SetSpringSource),
    HOOK(CLayerBoard, SetShadowDrawer),
    HOOK(CLayerBoard, SetHintDrawer),
    HOOK(CLayerBoard, SetFlyLoader),
    HOOK(CPond, SetTargetsHook),
    HOOK(CKnob, SetLimbProbe),
    {"CPetals::SetHooks.setOverlay", &PetalOverlaySet},
    // ui: what buttons and panes ask of the layers beside them.
    SERVICE(CButtonServices, SetCursor),
    SERVICE(CButtonServices, SetMarkerPosition),
    SERVICE(CButtonServices, IsMarkerShown),
    SERVICE(CButtonServices, ShowTip),
    SERVICE(CButtonServices, RefreshTip),
    SERVICE(CButtonServices, FinishTip),
    HOOK(CDivPane, SetBorderDrawer),
    HOOK(CPaneTransitionPond, SetNudgeSource),
};
#undef SERVICE
#undef HOOK
#undef HOOK_IN

// Seams that only a later piece of work can fill, each with what it waits for. Whoever builds
// that piece installs the seam in GameWiring and deletes its line here.
const std::vector<OpenSeams::Waiting> kWaiting = {
};
} // namespace

const std::vector<OpenSeams::Seam>& OpenSeams::All()
{
    return kSeams;
}

const std::vector<OpenSeams::Waiting>& OpenSeams::WaitingList()
{
    return kWaiting;
}

std::vector<std::string> OpenSeams::Check()
{
    std::set<std::string> waiting;
    for (const Waiting& entry : WaitingList())
        waiting.insert(entry.name);
    std::vector<std::string> faults;
    for (const Seam& seam : All())
    {
        const bool installed = seam.installed();
        const bool listed = waiting.erase(seam.name) > 0;
        if (!installed && !listed)
            faults.push_back(std::string("open: ") + seam.name);
        else if (installed && listed)
            faults.push_back(std::string("installed but listed as waiting: ") + seam.name);
    }
    for (const std::string& name : waiting)
        faults.push_back("unknown waiting entry: " + name);
    return faults;
}
