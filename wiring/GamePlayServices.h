#pragma once
// Everything puzzle play asks of the layers above it, in one object: the scene's and the frog's
// share (CSceneFrogServices) plus the game's modes and commands and the board's view. A feature
// that answers a further play service overrides it here.
#include "scene/CSceneFrogServices.h"

class GamePlayServices : public CSceneFrogServices
{
  public:
    // The current mode of CGame by name; pushing and popping go through CGame.
    bool IsCurrentMode(const char* name) override;
    void PushMode(const char* name) override;
    void PopMode() override;
    void PostCommand(const char* name) override;

    // The board is drawn, and touches are mapped, in the whole-screen view: its view rectangle
    // is the letterboxed critical view moved by minus the pond position, so that the board
    // moves on the screen by the pond position.
    void ApplyBoardView(const Vector2<float>& pondPosition) override;
    Vector2<float> BoardToScreen(const Vector2<float>& point) override;
    // The mean of the current view's view units per pixel.
    float GetViewScale() override;
    // The right edge of the current view's viewport, in logical pixels.
    float GetViewRight() override;

    // The replay and the tutorial of the main game.
    void StopReplay() override;
    void RunTutorial(const CString& name) override;
    void CloseTutorialPane() override;
    void RestartTutorial() override;
};
