#include "wiring/GameWiring.h"

#include "creatures/CFly.h"
#include "creatures/CFrog.h"
#include "platform/CAudio.h"
#include "platform/CControlApp.h"
#include "platform/CGesture.h"
#include "platform/CModeFrontEnd.h"
#include "platform/CStartup.h"
#include "scene/CLayer.h"
#include "scene/CLayerBoard.h"
#include "scene/CPond.h"
#include "scene/CSceneCreatureServices.h"
#include "scene/CSceneFrogServices.h"
#include "scene/TrailFeedback.h"
#include "ui/CDivPane.h"
#include "ui/CPaneOverlay.h"

namespace
{
// The implementations behind the service interfaces live as long as the program.
CSceneFrogServices s_play;
CSceneCreatureServices s_creatures;
bool s_installed = false;
} // namespace

void GameWiring::Install()
{
    if (s_installed)
        return;

    // Puzzle play reaches the pond, the frog, the fly, the panes and the platform.
    CPlayServices::Install(&s_play);

    // The front end's menu pond and its music.
    CModeFrontEnd::MenuHooks menu;
    menu.makePond = &CScenePlayServices::MakePond;
    menu.playMusic = &CScenePlayServices::PlayMusicOf;
    CModeFrontEnd::SetMenuHooks(menu);

    // The frog and the fly in the pond: what the frog reads of the pond, its lily-pad spring, its
    // shadow on the board and the board's fly.
    CFrogServices::Install(&s_play);
    CLayer::SetSpringSource(&CFrog::SpringOfFrog);
    CLayerBoard::SetShadowDrawer(&CFrog::DrawShadowOfFrog);
    CLayerBoard::SetFlyLoader(&CFly::LoadOnBoard);

    // The skeleton's target highlights and tips, the entice effect and its particles.
    CSkeletonServices::Install(&s_creatures);
    CEnticeServices::Install(&s_creatures);
    CPond::SetTargetsHook(&CSceneCreatureServices::SendTargetsToEntice);

    // The swipe's particle trail.
    TrailFeedback::Install();

    // Node states by id from the application's commands and the audio's mute pair; the start pane.
    CControlApp::CommandHooks commands = CControlApp::SetCommandHooks(CControlApp::CommandHooks());
    commands.setActiveById = &CDivPane::SetActiveById;
    CControlApp::SetCommandHooks(commands);
    CAudio::SetMuteNodesHook(&CDivPane::SetActiveById);
    CStartup::SetPaneOpener(&CPaneOverlay::OpenByName);

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
    CSkeletonServices::Install(nullptr);
    CEnticeServices::Install(nullptr);
    CPond::SetTargetsHook(nullptr);
    CGesture::FeedbackHooks feedback = CGesture::SetFeedbackHooks(CGesture::FeedbackHooks());
    CGesture::SetFeedbackHooks({nullptr, nullptr, nullptr, feedback.playSound});
    CControlApp::SetCommandHooks(CControlApp::CommandHooks());
    CAudio::SetMuteNodesHook(nullptr);
    CStartup::SetPaneOpener(nullptr);
    s_installed = false;
}
