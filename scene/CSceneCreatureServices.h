#pragma once
// The scene's side of the frog's effects: the skeleton's target highlights go to the puzzle's
// pond and its tips become floaters kept on the screen; the pond hands targets to the entice
// effect, whose particles are the scene's "Entice" kind. The program's wiring installs it.
#include "core/CBase.h"
#include "creatures/CEnticeServices.h"
#include "creatures/CSkeletonServices.h"
#include "scene/CPond.h"

class CSceneCreatureServices : public CSkeletonServices, public CEnticeServices
{
  public:
    // CSkeletonServices: CPond::SetTargets on the puzzle's pond, when it has one.
    void SetPondTargets(const std::vector<Vector2<float>>& cells) override;
    // A floater kept on the screen, left to fade by itself.
    void ShowTip(const CString& text, const Vector2<float>& position, float size) override;
    // The game's cursor, when it has one.
    void SetCursor(const char* name, int32_t ms) override;

    // CEnticeServices: particles of the kind "Entice".
    CRef<CBase> MakeParticle(const Vector2<float>& position) override;
    void DrawParticle(CBase& particle, int32_t now) override;

    // The pond's targets hook: the entice effect of a running game, none outside "maingame".
    static void SendTargetsToEntice(const std::vector<Vector2<float>>& cells);
};
