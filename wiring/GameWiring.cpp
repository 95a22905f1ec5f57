#include "wiring/GameWiring.h"

#include "Graphics/CMaterialSet.h"
#include "core/CScheduler.h"
#include "creatures/CFly.h"
#include "creatures/CFrog.h"
#include "platform/CAudio.h"
#include "platform/CControlApp.h"
#include "platform/CGesture.h"
#include "platform/CModeFrontEnd.h"
#include "platform/CPause.h"
#include "platform/CStartup.h"
#include "scene/CKnob.h"
#include "scene/CLayer.h"
#include "scene/CLayerBoard.h"
#include "scene/CPond.h"
#include "scene/CSceneCreatureServices.h"
#include "scene/TrailFeedback.h"
#include "ui/CDivPane.h"
#include "ui/CPaneOverlay.h"
#include "ui/CPaneTransitionPond.h"
#include "wiring/GameButtonServices.h"
#include "wiring/GamePlayServices.h"

namespace
{
// The implementations behind the service interfaces live as long as the program.
GamePlayServices s_play;
CSceneCreatureServices s_creatures;
GameButtonServices s_buttons;
bool s_installed = false;

void ReloadMaterials()
{
    CMaterialSet::Instance()->Reload();
}
} // namespace

void GameWiring::Install()
{
    if (s_installed)
        return;

    // Puzzle play reaches the pond, the frog, the fly, the panes, the modes and the view.
    CPlayServices::Install(&s_play);

    // The front end's menu pond and its music.
    CModeFrontEnd::MenuHooks menu;
    menu.makePond = &CScenePlayServices::MakePond;
    menu.playMusic = &CScenePlayServices::PlayMusicOf;
    CModeFrontEnd::SetMenuHooks(menu);

    // The frog and the fly in the pond: what the frog reads of the pond, its lily-pad spring, its
    // shadow on the board, the board's fly, and the knobs that fizz under its limbs.
    CFrogServices::Install(&s_play);
    CLayer::SetSpringSource(&CFrog::SpringOfFrog);
    CLayerBoard::SetShadowDrawer(&CFrog::DrawShadowOfFrog);
    CLayerBoard::SetFlyLoader(&CFly::LoadOnBoard);
    CKnob::SetLimbProbe(&CFrog::ProbeLimb);

    // The skeleton's target highlights and tips, the entice effect and its particles.
    CSkeletonServices::Install(&s_creatures);
    CEnticeServices::Install(&s_creatures);
    CPond::SetTargetsHook(&CSceneCreatureServices::SendTargetsToEntice);

    // The swipe's particle trail.
    TrailFeedback::Install();

    // Buttons' tips; panes that follow the pond's nudge; the start pane.
    CButtonServices::Install(&s_buttons);
    CPaneTransitionPond::SetNudgeSource(&CPond::NudgeOfCurrent);
    CStartup::SetPaneOpener(&CPaneOverlay::OpenByName);

    // The application's commands: node states by id (also the audio's mute pair) and "_refresh".
    CControlApp::CommandHooks commands = CControlApp::SetCommandHooks(CControlApp::CommandHooks());
    commands.setActiveById = &CDivPane::SetActiveById;
    commands.reloadMaterials = &ReloadMaterials;
    CControlApp::SetCommandHooks(commands);
    CAudio::SetMuteNodesHook(&CDivPane::SetActiveById);

    // Scoped pauses of a mode's scheduler.
    CScheduler::SetPauseFactory(&CPause::Create);

    s_installed = true;
}

void GameWiring::Uninstall()
{
    if (!s_installed)
        return;
    CPlayServices::Install(nullptr);
    CModeFrontEnd::SetMenuHooks(CModeFrontEnd::MenuHooks());
    CFrogServices::Install(nullptr);
    CLayer::SetSpringSource(nullptr);
    CLayerBoard::SetShadowDrawer(nullptr);
    CLayerBoard::SetFlyLoader(nullptr);
    CKnob::SetLimbProbe(nullptr);
    CSkeletonServices::Install(nullptr);
    CEnticeServices::Install(nullptr);
    CPond::SetTargetsHook(nullptr);
    CGesture::FeedbackHooks feedback = CGesture::SetFeedbackHooks(CGesture::FeedbackHooks());
    CGesture::SetFeedbackHooks({nullptr, nullptr, nullptr, feedback.playSound});
    CButtonServices::Install(nullptr);
    CPaneTransitionPond::SetNudgeSource(nullptr);
    CStartup::SetPaneOpener(nullptr);
    CControlApp::SetCommandHooks(CControlApp::CommandHooks());
    CAudio::SetMuteNodesHook(nullptr);
    CScheduler::SetPauseFactory(nullptr);
    s_installed = false;
}
