#include "wiring/GamePlayServices.h"

#include "platform/CGame.h"
#include "platform/CMode.h"
#include "platform/CView.h"
#include "scene/CInstructions.h"
#include "scene/CReplay.h"

bool GamePlayServices::IsCurrentMode(const char* name)
{
    const CMode* mode = CGame::Instance()->GetCurrentMode();
    return name && mode && mode->GetName() == name;
}

void GamePlayServices::PushMode(const char* name)
{
    CGame::Instance()->PushMode(name);
}

void GamePlayServices::PopMode()
{
    CGame::Instance()->PopMode();
}

void GamePlayServices::PostCommand(const char* name)
{
    CGame::Instance()->PostCommand(name);
}

void GamePlayServices::ApplyBoardView(const Vector2<float>& pondPosition)
{
    CView::SetScreenFromRules(CView::GetLogicalSize(), CView::GetPlatformRotation());
    CView& screen = CView::GetScreenView();
    Vector4<float> rect = screen.GetRect();
    rect.x -= pondPosition.x;
    rect.y -= pondPosition.y;
    screen.ApplyOrtho(screen.GetViewport(), rect);
}

Vector2<float> GamePlayServices::BoardToScreen(const Vector2<float>& point)
{
    return CView::GetCurrent().ViewToScreen(point);
}

float GamePlayServices::GetViewScale()
{
    const Vector2<float>& unitsPerPixel = CView::GetCurrent().GetUnitsPerPixel();
    return (unitsPerPixel.x + unitsPerPixel.y) * 0.5f;
}

float GamePlayServices::GetViewRight()
{
    const Vector4<int32_t>& viewport = CView::GetCurrent().GetViewport();
    return float(viewport.x + viewport.z);
}

void GamePlayServices::StopReplay()
{
    if (CReplay* replay = CReplay::Peek())
        replay->Reset();
}

void GamePlayServices::RunTutorial(const CString& name)
{
    if (CInstructions* instructions = CInstructions::Peek())
        instructions->Start(name);
}

void GamePlayServices::CloseTutorialPane()
{
    if (CInstructions* instructions = CInstructions::Peek())
        if (instructions->IsBusy())
            instructions->Abort();
}

void GamePlayServices::RestartTutorial()
{
    if (CInstructions* instructions = CInstructions::Peek())
        instructions->Restart();
}
