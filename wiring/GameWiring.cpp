#include "wiring/GameWiring.h"

#include "Graphics/CMaterialSet.h"
#include "Graphics/CScreenFlip.h"
#include "Graphics/CScreenRotate.h"
#include "core/CScheduler.h"
#include "creatures/CFly.h"
#include "creatures/CFrog.h"
#include "platform/CAudio.h"
#include "platform/CConsole.h"
#include "platform/CControlApp.h"
#include "platform/CGesture.h"
#include "platform/CModeFrontEnd.h"
#include "platform/CPause.h"
#include "platform/CStartup.h"
#include "puzzle/CScore.h"
#include "scene/CHintsView.h"
#include "scene/CKnob.h"
#include "scene/CLayer.h"
#include "scene/CLayerBoard.h"
#include "scene/CPetals.h"
#include "scene/CPond.h"
#include "scene/CSceneCreatureServices.h"
#include "scene/TrailFeedback.h"
#include "ui/CBorder.h"
#include "ui/CDivPane.h"
#include "ui/CPaneTransitionPond.h"
#include "ui/FlipPaneHooks.h"
#include "wiring/GameButtonServices.h"
#include "wiring/GamePlayServices.h"

namespace
{
// The implementations behind the service interfaces live as long as the program.
GamePlayServices s_play;
CSceneCreatureServices s_creatures;
CHintsView::Services s_hints;
GameButtonServices s_buttons;
bool s_installed = false;

// The console lives from its first use on.
void ToggleConsole()
{
    CConsole::Instance()->Toggle();
}

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

    // The hints: the frog's limbs near the button, the ghost's picture and the board drawing it.
    CHintServices::Install(&s_hints);
    CLayerBoard::SetHintDrawer(&CHintsView::DrawHintOnBoard);

    // The petal shower of a win over a blurred picture of the scene.
    CPetals::Hooks petals = CPetals::GetDefaultHooks();
    petals.setOverlay = &CPetals::ShowImposter;
    CPetals::SetHooks(petals);

    // The skeleton's target highlights and tips, the entice effect and its particles.
    CSkeletonServices::Install(&s_creatures);
    CEnticeServices::Install(&s_creatures);
    CPond::SetTargetsHook(&CSceneCreatureServices::SendTargetsToEntice);

    // The swipe's particle trail.
    TrailFeedback::Install();

    // Buttons' tips; panes that follow the pond's nudge.
    CButtonServices::Install(&s_buttons);
    CPaneTransitionPond::SetNudgeSource(&CPond::NudgeOfCurrent);

    // The application's commands: node states by id (also the audio's mute pair), "_refresh" and
    // the screen rotation.
    CControlApp::CommandHooks commands = CControlApp::SetCommandHooks(CControlApp::CommandHooks());
    commands.setActiveById = &CDivPane::SetActiveById;
    commands.toggleConsole = &ToggleConsole;
    commands.reloadMaterials = &ReloadMaterials;
    commands.rotateTo = &CScreenRotate::RotateToHook;
    CControlApp::SetCommandHooks(commands);
    CAudio::SetMuteNodesHook(&CDivPane::SetActiveById);

    // Scoped pauses of a mode's scheduler.
    CScheduler::SetPauseFactory(&CPause::Create);

    // The screen flip shows the tree's panes; the start pane comes through it; pane backdrops
    // carry the screen border.
    CScreenFlip::SetPaneHooks(FlipPaneHooks::Make());
    CStartup::SetPaneOpener(&CScreenFlip::OpenStartPane);
    CDivPane::SetBorderDrawer(&CBorder::DrawFrame);
    // The score colours the moves of the open "statcard" pane.
    CScore::SetScoreChangedHook(
        [](const Vector4<float>& shadowColour)
        {
            if (CRef<CDivPane> pane = CDivPane::Find("statcard"))
                if (CDiv* moves = pane->FindById("moves", 0).Get())
                    moves->SetShadowColour(shadowColour);
        });

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
    CHintServices::Install(nullptr);
    CPetals::SetHooks(CPetals::GetDefaultHooks());
    CLayerBoard::SetHintDrawer(nullptr);
    CSkeletonServices::Install(nullptr);
    CEnticeServices::Install(nullptr);
    CPond::SetTargetsHook(nullptr);
    CGesture::FeedbackHooks feedback = CGesture::SetFeedbackHooks(CGesture::FeedbackHooks());
    CGesture::SetFeedbackHooks({nullptr, nullptr, nullptr, feedback.playSound});
    CButtonServices::Install(nullptr);
    CPaneTransitionPond::SetNudgeSource(nullptr);
    CControlApp::SetCommandHooks(CControlApp::CommandHooks());
    CAudio::SetMuteNodesHook(nullptr);
    CScheduler::SetPauseFactory(nullptr);
    CStartup::SetPaneOpener(nullptr);
    CScreenFlip::SetPaneHooks(CScreenFlip::PaneHooks());
    CDivPane::SetBorderDrawer(nullptr);
    CScore::SetScoreChangedHook(nullptr);
    s_installed = false;
}
